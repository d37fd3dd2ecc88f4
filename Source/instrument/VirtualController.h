#pragma once

#include "midi/MidiDevices.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace orvo
{

/** A simulated MIDI controller: knobs that send 7-bit and 14-bit CCs, NRPNs and RPNs, so controller
    mapping can be tried, demonstrated and tested without hardware. Messages are delivered on the
    caller's thread to the editor's open controller input. */
class VirtualController
{
public:
    static constexpr const char* deviceName = "Virtual Controller";
    static constexpr const char* inputIdentifier = "virtual-controller:midi-out";

    void setListener (MidiInputCallback callback);
    void clearListener();

    void sendCc (int channel, int controller, int value);
    /** The MSB on `controller`, then the LSB on controller + 32. */
    void send14BitCc (int channel, int controller, int value);
    void sendNrpn (int channel, int parameter, int value);
    void sendRpn (int channel, int parameter, int value);

    /** Messages sent so far. */
    std::uint64_t sentCount() const { return sent; }

private:
    void send (int channel, int controller, int value);
    std::mutex lock;
    MidiInputCallback listener;
    std::uint64_t sent = 0;
};

/** The platform's devices with the Virtual Controller added to the inputs. */
class VirtualControllerMidiDevices final : public MidiDevices
{
public:
    VirtualControllerMidiDevices (MidiDevices* platform, VirtualController& controller);
    std::vector<MidiDeviceInfo> inputs() override;
    std::vector<MidiDeviceInfo> outputs() override;
    std::unique_ptr<MidiInputConnection> openInput (const std::string& identifier, MidiInputCallback callback) override;
    std::unique_ptr<MidiOutputConnection> openOutput (const std::string& identifier) override;

private:
    MidiDevices* platform;
    VirtualController& controller;
};

} // namespace orvo
