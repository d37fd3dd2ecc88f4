#include "VirtualOrvo.h"

#include "effects/EffectAlgorithms.h"
#include "effects/EffectControlTable.h"
#include "effects/EffectState.h"
#include "effects/EffectValueFamilies.h"
#include "instrument/FactoryPrograms.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace orvo
{

namespace
{
constexpr int mixRecordsOffset = 32;
constexpr int mixRecordLength = 48;

ProgramRows allRows()
{
    ProgramRows rows;
    rows.set();
    return rows;
}

/** A Mix as a player might leave it: four layers on channels 1-4, the other channels ready but off. */
MixPayload factoryMix()
{
    MixPayload mix (sysex::mixUnpackedLength, 0);
    mix[0] = sysex::mixSignature[0];
    mix[1] = sysex::mixSignature[1];
    for (int n = 0; n < 16; ++n)
    {
        auto* r = mix.data() + mixRecordsOffset + mixRecordLength * n;
        r[1] = n == 2 ? 0x80 : 0x00; // channel 3 is a keyboard split
        r[8] = n < 4 ? 1 : 0;
        r[9] = (std::uint8_t) (n % 3);
        r[10] = (std::uint8_t) ((n * 9) % 128);
        r[11] = n == 2 ? 60 : 0;
        r[12] = 127;
        r[13] = 1;
        r[16] = (std::uint8_t)n;
    }
    return mix;
}

std::vector<std::uint8_t> framed (int opcode, std::initializer_list<std::uint8_t> operands, const ByteVector& packed)
{
    std::vector<std::uint8_t> m (sysex::frame, sysex::frame + sysex::frameLength);
    m.push_back ((std::uint8_t)opcode);
    m.insert (m.end(), operands);
    m.insert (m.end(), packed.begin(), packed.end());
    m.push_back (sysex::end);
    return m;
}

std::int64_t wireMicroseconds (size_t bytes)
{
    return (std::int64_t)bytes * 320;
}
} // namespace

VirtualOrvo::VirtualOrvo()
{
    // Slots are filled from the factory on first use, so opening the editor builds one Program, not 384.
    stored.resize ((size_t)(numBanks * numPrograms));
    const auto& first = slotLocked (0, 0);
    editBytes = first.bytes;
    edit = first.values;
    mix = factoryMix();
    worker = std::thread ([this] { run(); });
}

VirtualOrvo::~VirtualOrvo()
{
    {
        std::lock_guard<std::mutex> lock (queueLock);
        stopping = true;
        alive.reset();
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
    queueChanged.wait (lock, [this] { return !delivering; });
    listener = nullptr;
}

void VirtualOrvo::setWireRate (bool enabled, Scheduler* scheduler, const Clock* clock)
{
    std::lock_guard<std::mutex> lock (queueLock);
    paced = enabled;
    pacingScheduler = scheduler;
    pacingClock = clock;
    busyUntilMs = clock != nullptr ? clock->nowMs() : 0.0;
}

bool VirtualOrvo::wireRate() const
{
    std::lock_guard<std::mutex> lock (queueLock);
    return paced;
}

void VirtualOrvo::send (std::vector<std::uint8_t> message)
{
    std::unique_lock<std::mutex> lock (queueLock);
    if (paced && pacingScheduler != nullptr && pacingClock != nullptr)
    {
        // The message is handed over when its last byte would have arrived; whole microseconds keep
        // a long run of dumps from drifting.
        const double now = pacingClock->nowMs();
        const auto nowUs = (std::int64_t)std::llround (now * 1000.0);
        const auto startUs = std::max (nowUs, (std::int64_t)std::llround (busyUntilMs * 1000.0));
        const auto doneUs = startUs + wireMicroseconds (message.size());
        busyUntilMs = (double)doneUs / 1000.0;
        const int delayMs = (int)((doneUs - nowUs + 999) / 1000);
        auto* scheduler = pacingScheduler;
        std::weak_ptr<int> token = alive;
        lock.unlock();
        scheduler->callAfter (delayMs,
                              [this, token, m = std::move (message)]() mutable
                              {
                                  if (token.expired())
                                      return;
                                  {
                                      std::lock_guard<std::mutex> guard (queueLock);
                                      outgoing.push_back (std::move (m));
                                  }
                                  queueChanged.notify_all();
                              });
        return;
    }
    outgoing.push_back (std::move (message));
    lock.unlock();
    queueChanged.notify_all();
}

void VirtualOrvo::sendReply (std::vector<std::uint8_t> message)
{
    answered.fetch_add (1);
    send (std::move (message));
}

void VirtualOrvo::sendNrpn (int channel, int parameter, int value)
{
    for (const auto& m : buildNrpnMessages (channel, parameter, value))
        send ({ m.begin(), m.end() });
}

void VirtualOrvo::run()
{
    auto wireFree = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock (queueLock);
    for (;;)
    {
        queueChanged.wait (lock, [this] { return stopping || !outgoing.empty(); });
        if (stopping)
            return;
        auto message = std::move (outgoing.front());
        outgoing.pop_front();
        delivering = true;
        if (paced && pacingScheduler == nullptr)
        {
            // Real-time pacing for the product: the cable is busy until the last byte is through.
            wireFree = std::max (wireFree, std::chrono::steady_clock::now()) +
                       std::chrono::microseconds (wireMicroseconds (message.size()));
            queueChanged.wait_until (lock, wireFree, [this] { return stopping; });
            if (stopping)
            {
                delivering = false;
                queueChanged.notify_all();
                return;
            }
        }
        auto callback = listener;
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
    queueChanged.wait (lock, [this] { return stopping || (outgoing.empty() && !delivering); });
}

void VirtualOrvo::receive (const std::uint8_t* data, size_t size)
{
    if (data == nullptr || size == 0)
        return;
    const int status = data[0];
    if (status == sysex::start)
    {
        handleSysEx (data, size);
        return;
    }
    const int channel = (status & 15) + 1;
    if ((status & 0xF0) == 0xB0 && size >= 3)
        handleControlChange (channel, data[1] & 127, data[2] & 127);
    else if ((status & 0xF0) == 0xC0 && size >= 2 && channel == programChannel.load())
    {
        int b = 0;
        {
            std::lock_guard<std::mutex> lock (stateLock);
            b = pendingBank;
        }
        loadSlot (b, data[1] & 127);
        sendSelection (b, data[1] & 127);
    }
}

VirtualOrvo::Slot& VirtualOrvo::slotLocked (int b, int p) const
{
    auto& slot = stored[(size_t)(b * numPrograms + p)];
    if (!slot.loaded)
    {
        const auto& f = factory::program (b, p);
        slot.bytes = f.unpacked;
        slot.values = instrumentprogram::readValues (f.unpacked, f.planned);
        slot.loaded = true;
    }
    return slot;
}

void VirtualOrvo::loadSlot (int b, int p)
{
    std::lock_guard<std::mutex> lock (stateLock);
    bank = std::clamp (b, 0, numBanks - 1);
    program = std::clamp (p, 0, numPrograms - 1);
    pendingBank = bank;
    const auto& slot = slotLocked (bank, program);
    edit = slot.values;
    editBytes = slot.bytes;
    editedRows.reset();
}

void VirtualOrvo::sendSelection (int b, int p)
{
    // The selection goes out as the editor would send it: Bank Select by the bank-select type, then
    // Program Change, all on the Program select channel.
    const auto status = (std::uint8_t) (0xB0 | (std::clamp (programChannel.load(), 1, 16) - 1));
    switch (bankSelectType.load())
    {
        case 1:
            send ({ status, 0, (std::uint8_t)b });
            break;
        case 2:
            send ({ status, 32, (std::uint8_t)b });
            break;
        default:
            send ({ status, 0, 0 });
            send ({ status, 32, (std::uint8_t)b });
            break;
    }
    send ({ (std::uint8_t) (0xC0 | (status & 15)), (std::uint8_t)p });
}

void VirtualOrvo::selectOnPanel (int b, int p)
{
    if (b < 0 || b >= numBanks || p < 0 || p >= numPrograms)
        return;
    loadSlot (b, p);
    sendSelection (b, p);
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
    if (rows.empty() && effects::isEffectNrpn (e.parameter))
        echoed = applyEffectNrpn (e.parameter, e.value);
    else
    {
        std::lock_guard<std::mutex> lock (stateLock);
        for (int r : rows)
        {
            const auto& info = ParameterCatalogue::row (r);
            edit[(size_t)r] = std::clamp (e.value, info.rawMin, info.rawMax);
            editedRows.set ((size_t)r);
            echoed = edit[(size_t)r];
        }
    }
    // The hardware answers every edit with the value it took.
    if (echoNrpns.load())
        sendNrpn (e.channel, e.parameter, echoed);
}

int VirtualOrvo::applyEffectNrpn (int parameter, int value)
{
    const int raw = std::clamp (value, 0, 4095);
    auto putWord = [this] (int at, int word)
    {
        editBytes[(size_t)at] = (std::uint8_t) (word >> 8);
        editBytes[(size_t)at + 1] = (std::uint8_t) (word & 0xFF);
    };
    std::lock_guard<std::mutex> lock (stateLock);
    if (effects::isEffectNrpn (parameter))
        effectValues[(size_t)(parameter - effects::selectionNrpn)] = raw;
    if (parameter == effects::selectionNrpn)
        editBytes[(size_t)effectbytes::algorithmOffset] = (std::uint8_t)effectAlgorithmForSelectionRaw (raw);
    else if (parameter == effects::sendNrpn)
        putWord (effectbytes::sendOffset, (int)std::lround (raw * 65535.0 / 4095.0));
    else if (parameter == effects::panNrpn)
        putWord (effectbytes::panOffset, (int)std::lround (raw * 65535.0 / 4095.0));
    else
    {
        // A parameter lands in the stored byte of its control: the byte whose expansion comes nearest.
        const int algorithm = clampEffectAlgorithm (editBytes[(size_t)effectbytes::algorithmOffset]);
        const int row = effectRowForNrpn (algorithm, parameter);
        for (int k = 0; k < effectbytes::parameterCount && row >= 0; ++k)
        {
            if (effectRowForStoredSlot (algorithm, k) != row)
                continue;
            const auto& control = effectControlTable()[(size_t)row];
            const auto family = effectValueFamily (algorithm, control.label, (int)control.nrpn);
            int best = -1, bestError = 0;
            for (int s = 0; s <= effectFamilyStoredTop (family); ++s)
            {
                const auto x = expandEffectValue (family, s);
                if (x.valid && (best < 0 || std::abs (x.raw - raw) < bestError))
                {
                    best = s;
                    bestError = std::abs (x.raw - raw);
                }
            }
            if (best >= 0)
                editBytes[(size_t)(effectbytes::parametersOffset + k)] = (std::uint8_t)best;
            break;
        }
    }
    return value;
}

void VirtualOrvo::handleSysEx (const std::uint8_t* data, size_t size)
{
    if (size < 7 || !hasOrvoFrame (data, size) || data[size - 1] != sysex::end)
        return; // someone else's SysEx, or a broken one: the hardware ignores it too
    const int opcode = data[5];
    const auto faultNow = faults();
    const bool reply = !faultNow.noReply;

    switch (opcode)
    {
        case sysex::opSelectMode:
            if (size == 8 && data[6] <= 1)
                currentMode.store (data[6]);
            break;

        case sysex::opRequestGlobal:
            if (reply)
            {
                auto dump = buildGlobalDump();
                std::unique_lock<std::mutex> lock (stateLock);
                if (faultSettings.holdGlobalReply)
                {
                    held.push_back (std::move (dump));
                    break;
                }
                lock.unlock();
                sendReply (std::move (dump));
            }
            break;

        case sysex::opRequestProgramEditBuffer:
            if (reply && size == 8 && data[6] == sysex::editBufferSubCode)
            {
                const auto current = editBufferProgram();
                sendReply (damaged (buildProgramDump (current, sysex::opProgramEditBuffer, sysex::editBufferSubCode)));
            }
            break;

        case sysex::opRequestProgramBank:
        {
            const int b = data[6];
            if (!reply || size != 8 || b >= numBanks)
                break;
            const int count =
                faultNow.stopBankAfter >= 0 ? std::min (faultNow.stopBankAfter, numPrograms) : numPrograms;
            for (int p = 0; p < count; ++p)
                sendReply (damaged (buildProgramDump (storedProgram (b, p), sysex::opStoredProgram, b, p)));
            break;
        }

        case sysex::opRequestMixEditBuffer:
            if (reply && size == 8)
                sendReply (damaged (framed (sysex::opMixEditBuffer, { 0 }, packSevenBit (mixEditBuffer()))));
            break;

        case sysex::opStoredProgram:
        {
            // A bank transfer may write any of the three Program banks.
            const auto layout = classifyProgramDump (data, size);
            auto bytes = unpackProgramDump (data, size);
            if (!layout.valid || layout.bank < 0 || layout.bank >= numBanks || layout.program < 0 ||
                layout.program >= numPrograms || bytes.empty())
                break;
            std::lock_guard<std::mutex> lock (stateLock);
            if (layout.program == faultSettings.corruptStoredSlot && bytes.size() > 100)
                bytes[100] ^= 0x01; // a write that does not take: what it reads back is not what was sent
            auto& slot = slotLocked (layout.bank, layout.program);
            slot.values = instrumentprogram::readValues (bytes, slot.values);
            slot.bytes = std::move (bytes);
            break;
        }

        case sysex::opProgramEditBuffer:
        {
            auto bytes = unpackProgramDump (data, size);
            if (bytes.empty())
                break;
            std::lock_guard<std::mutex> lock (stateLock);
            edit = instrumentprogram::readValues (bytes, edit);
            editBytes = std::move (bytes);
            editedRows.reset();
            break;
        }

        case sysex::opMidiEdit:
            handleMidiEdit (data, size);
            break;

        default:
            break;
    }
}

void VirtualOrvo::handleMidiEdit (const std::uint8_t* data, size_t size)
{
    if (size != 12 || data[6] != sysex::midiEditTargetMixChannel)
        return;
    const auto value = midiEditValue (ByteVector (data, data + size));
    if (!value)
        return;
    const int parameter = data[7];
    const int channel = (data[8] >> 3) & 15;
    const auto v = (std::uint8_t)std::clamp (*value, 0, 255);

    std::lock_guard<std::mutex> lock (stateLock);
    auto* r = mix.data() + mixRecordsOffset + mixRecordLength * channel;
    switch (parameter)
    {
        case 7:
            r[12] = v;
            break;
        case 8:
            r[11] = v;
            break;
        case 14:
            r[13] = v;
            break;
        case 18:
            r[16] = v;
            break;
        case 29:
            r[1] = (std::uint8_t) ((r[1] & 0x7F) | (v != 0 ? 0x80 : 0));
            break;
        case 30:
            r[8] = v != 0 ? 1 : 0;
            break;
        default:
            break; // page changes and unknown parameters leave the Mix alone
    }
}

std::vector<std::uint8_t> VirtualOrvo::damaged (std::vector<std::uint8_t> dump) const
{
    const int cut = faults().truncateDumpsBy;
    if (cut > 0 && dump.size() > (size_t)cut + 8)
        dump.erase (dump.end() - 1 - cut, dump.end() - 1);
    return dump;
}

ByteVector VirtualOrvo::globalData() const
{
    ByteVector g ((size_t)globalDataLength, 0);
    g[globaldump::mixChannelOffset] = (std::uint8_t)std::clamp (mixChannel.load(), 1, 16);
    g[globaldump::programChannelOffset] = (std::uint8_t)std::clamp (programChannel.load(), 1, 16);
    g[globaldump::bankSelectTypeOffset] = (std::uint8_t)std::clamp (bankSelectType.load(), 0, 2);
    std::lock_guard<std::mutex> lock (stateLock);
    // Two-byte numbers, high byte first.
    g[globaldump::lastProgramNumberOffset + 1] = (std::uint8_t)program;
    g[globaldump::lastProgramBankOffset + 1] = (std::uint8_t)bank;
    g[globaldump::lastMixNumberOffset + 1] = (std::uint8_t)mixNumber;
    g[globaldump::lastMixBankOffset + 1] = (std::uint8_t)mixBank;
    return g;
}

ByteVector VirtualOrvo::buildGlobalDump() const
{
    return framed (sysex::opGlobalDump, {}, packSevenBit (globalData()));
}

void VirtualOrvo::setFaults (const VirtualOrvoFaults& f)
{
    bool release = false;
    {
        std::lock_guard<std::mutex> lock (stateLock);
        release = faultSettings.holdGlobalReply && !f.holdGlobalReply;
        faultSettings = f;
    }
    if (release)
        releaseHeldReplies();
}

VirtualOrvoFaults VirtualOrvo::faults() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return faultSettings;
}

void VirtualOrvo::releaseHeldReplies()
{
    std::vector<std::vector<std::uint8_t>> replies;
    {
        std::lock_guard<std::mutex> lock (stateLock);
        replies.swap (held);
    }
    for (auto& m : replies)
        sendReply (std::move (m));
}

void VirtualOrvo::turnKnob (int row, int raw)
{
    if (row < 0 || row >= ParameterCatalogue::numRows)
        return;
    const auto& info = ParameterCatalogue::row (row);
    const int v = std::clamp (raw, info.rawMin, info.rawMax);
    {
        std::lock_guard<std::mutex> lock (stateLock);
        edit[(size_t)row] = v;
        editedRows.set ((size_t)row);
    }
    if (info.nrpn >= 0)
        sendNrpn (transmitChannel.load(), info.nrpn, v);
}

void VirtualOrvo::selectEffectOnPanel (int algorithm)
{
    const int index = clampEffectAlgorithm (algorithm);
    const int raw = effectSelectionRawFromProgram (index);
    {
        std::lock_guard<std::mutex> lock (stateLock);
        editBytes[(size_t)effectbytes::algorithmOffset] = (std::uint8_t)index;
        effectValues[0] = raw;
    }
    sendNrpn (transmitChannel.load(), effects::selectionNrpn, raw);
}

int VirtualOrvo::effectValue (int nrpn) const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return effects::isEffectNrpn (nrpn) ? effectValues[(size_t)(nrpn - effects::selectionNrpn)] : -1;
}

VirtualOrvo::Values VirtualOrvo::editBuffer() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return edit;
}

int VirtualOrvo::editBufferValue (int row) const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return edit[(size_t)std::clamp (row, 0, ParameterCatalogue::numRows - 1)];
}

UnpackedProgram VirtualOrvo::editProgramLocked() const
{
    auto bytes = editBytes;
    instrumentprogram::storeValues (bytes, edit, editedRows);
    return bytes;
}

UnpackedProgram VirtualOrvo::editBufferProgram() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return editProgramLocked();
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
    auto& slot = slotLocked (b, p);
    instrumentprogram::storeValues (slot.bytes, values, allRows());
    slot.values = values;
}

UnpackedProgram VirtualOrvo::storedProgram (int b, int p) const
{
    if (b < 0 || b >= numBanks || p < 0 || p >= numPrograms)
        return {};
    std::lock_guard<std::mutex> lock (stateLock);
    return slotLocked (b, p).bytes;
}

MixPayload VirtualOrvo::mixEditBuffer() const
{
    std::lock_guard<std::mutex> lock (stateLock);
    return mix;
}

void VirtualOrvo::setMixEditBuffer (const MixPayload& payload)
{
    if (!hasMixSignature (payload))
        return;
    std::lock_guard<std::mutex> lock (stateLock);
    mix = payload;
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

std::unique_ptr<MidiInputConnection> VirtualOrvoMidiDevices::openInput (const std::string& identifier,
                                                                        MidiInputCallback callback)
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
