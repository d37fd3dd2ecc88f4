#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

struct MidiDeviceInfo
{
    std::string name;
    std::string identifier;
};

/** Called on the port's own thread for every complete message (SysEx arrives whole). */
using MidiInputCallback = std::function<void (const std::uint8_t* data, size_t size)>;

/** An open input; closing happens when it is destroyed, after which no callback runs. */
class MidiInputConnection
{
public:
    virtual ~MidiInputConnection() = default;
    virtual std::string name() const = 0;
};

/** An open output. Sends never block the caller: messages leave in the order handed in. */
class MidiOutputConnection
{
public:
    virtual ~MidiOutputConnection() = default;
    virtual std::string name() const = 0;
    /** False when the port is known to be closed or failed; the message is dropped then. */
    virtual bool send (const std::uint8_t* data, size_t size) = 0;
};

/** The platform's MIDI devices, as the editor sees them. */
class MidiDevices
{
public:
    virtual ~MidiDevices() = default;
    virtual std::vector<MidiDeviceInfo> inputs() = 0;
    virtual std::vector<MidiDeviceInfo> outputs() = 0;
    virtual std::unique_ptr<MidiInputConnection> openInput (const std::string& identifier, MidiInputCallback callback) = 0;
    virtual std::unique_ptr<MidiOutputConnection> openOutput (const std::string& identifier) = 0;
};

/** Test stand-in for an output: keeps every message handed to it. */
class RecordingMidiOutput final : public MidiOutputConnection
{
public:
    explicit RecordingMidiOutput (std::string nameOfPort = "Recorder") : portName (std::move (nameOfPort)) {}

    std::string name() const override { return portName; }
    bool send (const std::uint8_t* data, size_t size) override
    {
        std::lock_guard<std::mutex> lock (mutex);
        messages.emplace_back (data, data + size);
        return true;
    }

    std::vector<std::vector<std::uint8_t>> take()
    {
        std::lock_guard<std::mutex> lock (mutex);
        return std::exchange (messages, {});
    }

private:
    std::string portName;
    std::mutex mutex;
    std::vector<std::vector<std::uint8_t>> messages;
};

} // namespace orvo
