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
    addAndMakeVisible (bar);
    addAndMakeVisible (cancel);
    setInterceptsMouseClicks (true, true);
}

void SyncProgressOverlay::show (const SyncEngine::Overlay& state)
{
    if (state.visible != isVisible())
        setVisible (state.visible);
    if (! state.visible)
        return;
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
    g.fillAll (juce::Colours::black.withAlpha (0.55f));
    const auto box = getLocalBounds().withSizeKeepingCentre (460, 170).toFloat();
    g.setColour (palette::panel);
    g.fillRoundedRectangle (box, 8.0f);
    g.setColour (palette::accent);
    g.drawRoundedRectangle (box.reduced (0.5f), 8.0f, 1.5f);
    g.setColour (palette::text);
    g.setFont (juce::Font (13.0f, juce::Font::bold));
    g.drawText (juce::String (title), box.toNearestInt().withHeight (34), juce::Justification::centred);
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
