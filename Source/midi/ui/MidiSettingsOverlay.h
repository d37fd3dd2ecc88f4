#pragma once

#include "engine/MidiConnection.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace orvo
{

/** The MIDI settings page: the instrument's input and output, the controller input, the two
    channel choosers, the send and follow switches, and the status of the last port operation. */
class MidiSettingsOverlay final : public juce::Component
{
public:
    MidiSettingsOverlay (MidiConnection& midi, EditorEngine& engine);

    std::function<void()> onClose;
    /** Told after a channel or switch changed, so the settings can be stored. */
    std::function<void()> onSettingsChanged;
    std::function<void (bool)> onSendImmediatelyChanged;
    std::function<void()> onPortsChanged;

    /** Reads the device lists, selections, channels and status again. */
    void refresh();

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void fillDevices (juce::ComboBox& box, const std::vector<MidiDeviceInfo>& list, int selected);
    static void fillChannels (juce::ComboBox& box, int value);

    MidiConnection& midi;
    EditorEngine& engine;
    juce::Label inputLabel { {}, "ORVO MIDI INPUT" }, outputLabel { {}, "ORVO MIDI OUTPUT" },
        controllerLabel { {}, "MIDI CONTROLLER INPUT" }, listenLabel { {}, "INPUT LISTEN CHANNEL" },
        sendLabel { {}, "OUTPUT SEND CHANNEL" };
    juce::ComboBox inputBox, outputBox, controllerBox, listenBox, sendBox;
    juce::TextButton openInput { "OPEN" }, openOutput { "OPEN" }, openController { "OPEN" }, scan { "SCAN" },
        close { "CLOSE" };
    juce::ToggleButton sendImmediately { "SEND CHANGES IMMEDIATELY" }, follow { "FOLLOW INCOMING MIDI" };
    juce::Label status;
};

} // namespace orvo
