#include "SyncProgressOverlay.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

SyncProgressOverlay::SyncProgressOverlay()
{
    setComponentID ("overlay.syncProgress");
    text.setJustificationType (juce::Justification::centred);
    text.setFont (juce::Font (16.0f, juce::Font::bold));
    cancel.onClick = [this] {
        if (onCancel)
            onCancel();
    };
    addAndMakeVisible (text);
    // A shown progress bar runs a 30 ms timer even inside a hidden overlay: it is shown only with it.
    addChildComponent (bar);
    addAndMakeVisible (cancel);
    setInterceptsMouseClicks (true, true);
}

void SyncProgressOverlay::show (const SyncEngine::Overlay& state)
{
    if (state.visible != isVisible())
        setVisible (state.visible);
    if (! state.visible)
    {
        bar.setVisible (false);
        return;
    }
    if (text.getText() != juce::String (state.text))
        text.setText (state.text, juce::dontSendNotification);
    if (title != state.title)
    {
        title = state.title;
        repaint();
    }
    progress = state.fraction;
    bar.setVisible (state.barVisible);
    cancel.setVisible (state.barVisible);
}

void SyncProgressOverlay::paint (juce::Graphics& g)
{
    drawOverlayPanel (g, getLocalBounds(), 460, 170, juce::String (title));
    text.setColour (juce::Label::textColourId, palette::text);
}

void SyncProgressOverlay::resized()
{
    auto box = getLocalBounds().withSizeKeepingCentre (460, 170).reduced (20);
    box.removeFromTop (20);
    text.setBounds (box.removeFromTop (34));
    bar.setBounds (box.removeFromTop (22));
    box.removeFromTop (14);
    cancel.setBounds (box.removeFromTop (28).withSizeKeepingCentre (120, 28));
}

} // namespace orvo
