#include "OrvoEditorScaledHost.h"

#include "engine/FitLayout.h"

namespace orvo
{

OrvoEditorScaledHost::OrvoEditorScaledHost (MainComponent::Options options) : editor (options)
{
    setSize (MainComponent::designWidth, MainComponent::designHeight);
    addAndMakeVisible (editor);
    resized();
}

void OrvoEditorScaledHost::receiveHostParameter (const std::string& key, double value, int hostFlags)
{
    editor.receiveHostParameter (key, value, hostFlags);
}

std::string OrvoEditorScaledHost::produceEditorState() { return editor.getEngine().produceEditorState(); }

bool OrvoEditorScaledHost::restoreEditorState (const std::string& document)
{
    return editor.getEngine().restoreEditorState (document);
}

void OrvoEditorScaledHost::paint (juce::Graphics& g) { g.fillAll (juce::Colour (0xff181818)); }

void OrvoEditorScaledHost::resized()
{
    const auto fit = fitEditor (0, 0, getWidth(), getHeight(), MainComponent::designWidth, MainComponent::designHeight);
    editor.setBounds (0, 0, MainComponent::designWidth, MainComponent::designHeight);
    editor.setTransform (juce::AffineTransform::scale ((float) fit.scale).translated ((float) fit.x, (float) fit.y));
    editor.noteWindowSize (getWidth(), getHeight());
}

} // namespace orvo
