#include "VirtualOrvo.h"

#include <algorithm>

namespace orvo
{

VirtualOrvo::VirtualOrvo()
{
    // A calm starting sound: bipolar rows at their centre, everything else at its minimum.
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        const bool bipolar = info.kind == kindContinuous && info.displayMin < 0.0 && info.displayMax > 0.0;
        edit[(size_t) r] = bipolar ? (info.rawMax + 1) / 2 : info.rawMin;
    }
    stored.assign ((size_t) (numBanks * numPrograms), edit);
    worker = std::thread ([this] { run(); });
}

VirtualOrvo::~VirtualOrvo()
{
    {
        std::lock_guard<std::mutex> lock (queueLock);
        stopping = true;
    }
    queueChanged.notify_all();
    worker.join();
}

void VirtualOrvo::setListener (MidiInputCallback callback)
{
    std::lock_guard<std::mutex> lock (queueLock);
    listener = std::move (callback);
}

void VirtualOrvo::clearListener()
{
    // Waits for a delivery in progress so no callback runs after the listener has gone.
    std::unique_lock<std::mutex> lock (queueLock);
    queueChanged.wait (lock, [this] { return ! delivering; });
    listener = nullptr;
}

void VirtualOrvo::send (std::vector<std::uint8_t> message)
{
    {
        std::lock_guard<std::mutex> lock (queueLock);
        outgoing.push_back (std::move (message));
    }
    queueChanged.notify_all();
}

void VirtualOrvo::sendNrpn (int channel, int parameter, int value)
{
    for (const auto& m : buildNrpnMessages (channel, parameter, value))
        send ({ m.begin(), m.end() });
}

void VirtualOrvo::run()
{
    std::unique_lock<std::mutex> lock (queueLock);
    for (;;)
    {
        queueChanged.wait (lock, [this] { return stopping || ! outgoing.empty(); });
        if (stopping)
            return;
        auto message = std::move (outgoing.front());
        outgoing.pop_front();
        auto callback = listener;
        delivering = true;
        lock.unlock();
        if (callback)
            callback (message.data(), message.size());
        lock.lock();
        delivering = false;
        queueChanged.notify_all();
    }
}

void VirtualOrvo::flush()
{
    std::unique_lock<std::mutex> lock (queueLock);
    queueChanged.wait (lock, [this] { return stopping || (outgoing.empty() && ! delivering); });
}

void VirtualOrvo::receive (const std::uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;
    const int status = data[0];
    const int channel = (status & 15) + 1;
    if ((status & 0xF0) == 0xB0 && size >= 3)
        handleControlChange (channel, data[1] & 127, data[2] & 127);
    else if ((status & 0xF0) == 0xC0 && size >= 2 && channel == programChannel.load())
    {
        const int p = data[1] & 127;
        {
            std::lock_guard<std::mutex> lock (stateLock);
            bank = pendingBank;
            program = p;
            edit = stored[(size_t) (bank * numPrograms + program)];
        }
        send ({ (std::uint8_t) (0xC0 | (channel - 1)), (std::uint8_t) p });
    }
}

void VirtualOrvo::handleControlChange (int channel, int controller, int data)
{
    if (channel == programChannel.load())
    {
        const int type = bankSelectType.load();
        if ((controller == 0 && type == 1) || (controller == 32 && (type == 0 || type == 2)))
        {
            std::lock_guard<std::mutex> lock (stateLock);
            pendingBank = std::clamp (data, 0, numBanks - 1);
        }
    }
    NrpnEvent e;
    {
        std::lock_guard<std::mutex> lock (stateLock);
        e = assembler.feed (channel, controller, data);
    }
    if (e.complete)
        handleNrpn (e);
}

void VirtualOrvo::handleNrpn (const NrpnEvent& e)
{
    const auto rows = ParameterCatalogue::rowsForNrpn (e.parameter);
    int echoed = e.value;
    {
        std::lock_guard<std::mutex> lock (stateLock);
        for (int r : rows)
        {
            const auto& info = ParameterCatalogue::row (r);
            edit[(size_t) r] = std::clamp (e.value, info.rawMin, info.rawMax);
            echoed = edit[(size_t) r];
        }
    }
    // The hardware answers every edit with the value it took.
    if (echoNrpns.load())
        sendNrpn (e.channel, e.parameter, echoed);
}

void VirtualOrvo::turnKnob (int row, int raw)
{
    if (row < 0 || row >= ParameterCatalogue::numRows)
        return;
    const auto& info = ParameterCatalogue::row (row);
    const int v = std::clamp (raw, info.rawMin, info.rawMax);
    {
        std::lock_guard<std::mutex> lock (stateLock);
        edit[(size_t) row] = v;
    }
    if (info.nrpn >= 0)
        sendNrpn (transmitChannel.load(), info.nrpn, v);
}

VirtualOrvo::Values VirtualOrvo::editBuffer() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return edit;
}

int VirtualOrvo::editBufferValue (int row) const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return edit[(size_t) std::clamp (row, 0, ParameterCatalogue::numRows - 1)];
}

int VirtualOrvo::selectedBank() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return bank;
}

int VirtualOrvo::selectedProgram() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return program;
}

void VirtualOrvo::setStoredProgram (int b, int p, const Values& values)
{
    if (b < 0 || b >= numBanks || p < 0 || p >= numPrograms)
        return;
    std::lock_guard<std::mutex> lock (stateLock);
    stored[(size_t) (b * numPrograms + p)] = values;
}

//==============================================================================
namespace
{
class VirtualInput final : public MidiInputConnection
{
public:
    VirtualInput (VirtualOrvo& o, MidiInputCallback cb) : instrument (o) { instrument.setListener (std::move (cb)); }
    ~VirtualInput() override { instrument.clearListener(); }
    std::string name() const override { return VirtualOrvo::deviceName; }

private:
    VirtualOrvo& instrument;
};

class VirtualOutput final : public MidiOutputConnection
{
public:
    explicit VirtualOutput (VirtualOrvo& o) : instrument (o) {}
    std::string name() const override { return VirtualOrvo::deviceName; }
    bool send (const std::uint8_t* data, size_t size) override
    {
        instrument.receive (data, size);
        return true;
    }

private:
    VirtualOrvo& instrument;
};
} // namespace

VirtualOrvoMidiDevices::VirtualOrvoMidiDevices (MidiDevices* p, VirtualOrvo& o) : platform (p), instrument (o) {}

std::vector<MidiDeviceInfo> VirtualOrvoMidiDevices::inputs()
{
    auto list = platform != nullptr ? platform->inputs() : std::vector<MidiDeviceInfo>();
    list.push_back ({ VirtualOrvo::deviceName, VirtualOrvo::inputIdentifier });
    return list;
}

std::vector<MidiDeviceInfo> VirtualOrvoMidiDevices::outputs()
{
    auto list = platform != nullptr ? platform->outputs() : std::vector<MidiDeviceInfo>();
    list.push_back ({ VirtualOrvo::deviceName, VirtualOrvo::outputIdentifier });
    return list;
}

std::unique_ptr<MidiInputConnection> VirtualOrvoMidiDevices::openInput (const std::string& identifier, MidiInputCallback callback)
{
    if (identifier == VirtualOrvo::inputIdentifier)
        return std::make_unique<VirtualInput> (instrument, std::move (callback));
    return platform != nullptr ? platform->openInput (identifier, std::move (callback)) : nullptr;
}

std::unique_ptr<MidiOutputConnection> VirtualOrvoMidiDevices::openOutput (const std::string& identifier)
{
    if (identifier == VirtualOrvo::outputIdentifier)
        return std::make_unique<VirtualOutput> (instrument);
    return platform != nullptr ? platform->openOutput (identifier) : nullptr;
}

} // namespace orvo
