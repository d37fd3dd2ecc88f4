#include "OrvoEditorScaledHost.h"

#include "shell/FitLayout.h"

namespace orvo
{

OrvoEditorScaledHost::OrvoEditorScaledHost (MainComponent::Options options) : editor (options)
{
    setSize (MainComponent::designWidth, MainComponent::designHeight);
    addAndMakeVisible (editor);
    resized();
}

void OrvoEditorScaledHost::receiveHostParameter (const std::string&, double, int)
{
    // Changes caused by host input must not be reported back to the host.
    const juce::ScopedValueSetter<bool> reentry (editor.hostInputActive, true);
    editor.getEngine().log().append ("Host parameter input is not available in this version yet.\n");
}

std::string OrvoEditorScaledHost::produceEditorState() { return {}; }

bool OrvoEditorScaledHost::restoreEditorState (const std::string&) { return false; }

void OrvoEditorScaledHost::paint (juce::Graphics& g) { g.fillAll (juce::Colour (0xff181818)); }

void OrvoEditorScaledHost::resized()
{
    const auto fit = fitEditor (0, 0, getWidth(), getHeight(), MainComponent::designWidth, MainComponent::designHeight);
    editor.setBounds (0, 0, MainComponent::designWidth, MainComponent::designHeight);
    editor.setTransform (juce::AffineTransform::scale ((float) fit.scale).translated ((float) fit.x, (float) fit.y));
    editor.noteWindowSize (getWidth(), getHeight());
}

} // namespace orvo
