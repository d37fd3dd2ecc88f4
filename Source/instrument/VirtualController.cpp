#include "VirtualController.h"

#include <algorithm>

namespace orvo
{

void VirtualController::setListener (MidiInputCallback callback)
{
    std::lock_guard<std::mutex> guard (lock);
    listener = std::move (callback);
}

void VirtualController::clearListener()
{
    std::lock_guard<std::mutex> guard (lock);
    listener = nullptr;
}

void VirtualController::send (int channel, int controller, int value)
{
    const std::uint8_t message[] = { (std::uint8_t) (0xB0 | (std::clamp (channel, 1, 16) - 1)),
                                     (std::uint8_t) (controller & 127), (std::uint8_t) (value & 127) };
    // Held while delivering, so a closed input never hears from it again.
    std::lock_guard<std::mutex> guard (lock);
    ++sent;
    if (listener)
        listener (message, sizeof (message));
}

void VirtualController::sendCc (int channel, int controller, int value)
{
    send (channel, controller, std::clamp (value, 0, 127));
}

void VirtualController::send14BitCc (int channel, int controller, int value)
{
    const int v = std::clamp (value, 0, 16383);
    send (channel, controller, v >> 7);
    send (channel, controller + 32, v & 127);
}

void VirtualController::sendNrpn (int channel, int parameter, int value)
{
    const int v = std::clamp (value, 0, 16383);
    send (channel, 99, parameter >> 7);
    send (channel, 98, parameter & 127);
    send (channel, 6, v >> 7);
    send (channel, 38, v & 127);
}

void VirtualController::sendRpn (int channel, int parameter, int value)
{
    const int v = std::clamp (value, 0, 16383);
    send (channel, 101, parameter >> 7);
    send (channel, 100, parameter & 127);
    send (channel, 6, v >> 7);
    send (channel, 38, v & 127);
}

//==============================================================================
namespace
{
class ControllerInput final : public MidiInputConnection
{
public:
    ControllerInput (VirtualController& c, MidiInputCallback callback) : controller (c)
    {
        controller.setListener (std::move (callback));
    }
    ~ControllerInput() override { controller.clearListener(); }
    std::string name() const override { return VirtualController::deviceName; }

private:
    VirtualController& controller;
};
} // namespace

VirtualControllerMidiDevices::VirtualControllerMidiDevices (MidiDevices* p, VirtualController& c)
    : platform (p), controller (c)
{
}

std::vector<MidiDeviceInfo> VirtualControllerMidiDevices::inputs()
{
    auto list = platform != nullptr ? platform->inputs() : std::vector<MidiDeviceInfo>();
    list.push_back ({ VirtualController::deviceName, VirtualController::inputIdentifier });
    return list;
}

std::vector<MidiDeviceInfo> VirtualControllerMidiDevices::outputs()
{
    return platform != nullptr ? platform->outputs() : std::vector<MidiDeviceInfo>();
}

std::unique_ptr<MidiInputConnection> VirtualControllerMidiDevices::openInput (const std::string& identifier,
                                                                              MidiInputCallback callback)
{
    if (identifier == VirtualController::inputIdentifier)
        return std::make_unique<ControllerInput> (controller, std::move (callback));
    return platform != nullptr ? platform->openInput (identifier, std::move (callback)) : nullptr;
}

std::unique_ptr<MidiOutputConnection> VirtualControllerMidiDevices::openOutput (const std::string& identifier)
{
    return platform != nullptr ? platform->openOutput (identifier) : nullptr;
}

} // namespace orvo
