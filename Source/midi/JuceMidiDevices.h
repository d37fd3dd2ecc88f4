#pragma once

#include "MidiDevices.h"

namespace orvo
{

/** The platform's MIDI ports through JUCE. Each output gets its own sending thread so that a
    slow port (a long SysEx at wire speed) never stalls the message thread, while everything
    handed to it still leaves in order. */
class JuceMidiDevices final : public MidiDevices
{
public:
    std::vector<MidiDeviceInfo> inputs() override;
    std::vector<MidiDeviceInfo> outputs() override;
    std::unique_ptr<MidiInputConnection> openInput (const std::string& identifier, MidiInputCallback callback) override;
    std::unique_ptr<MidiOutputConnection> openOutput (const std::string& identifier) override;
};

} // namespace orvo
