#pragma once

#include "MainComponent.h"

namespace orvo
{

/** The window's content: shows the editor at its design size, scaled uniformly to fit. */
class OrvoEditorScaledHost final : public juce::Component,
                                   public HostMidiInputSink,
                                   public HostParameterInputSink,
                                   public EditorStateSink
{
public:
    explicit OrvoEditorScaledHost (MainComponent::Options options = {});

    MainComponent& getEditor() { return editor; }

    void receiveHostMidi (const std::uint8_t* data, size_t size) override { editor.receiveHostMidi (data, size); }
    void receiveHostParameter (const std::string& key, double value, int hostFlags) override;
    std::string produceEditorState() override;
    bool restoreEditorState (const std::string& document) override;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    MainComponent editor;
};

} // namespace orvo
