#pragma once

#include "instrument/InstrumentProgram.h"
#include "midi/MidiDevices.h"
#include "midi/NrpnCodec.h"
#include "midi/SysExProtocol.h"
#include "model/ParameterCatalogue.h"
#include "platform/Clock.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace orvo
{

/** Ways the simulated instrument can misbehave, for tests of the editor's time-outs and checks. */
struct VirtualOrvoFaults
{
    bool noReply = false;         // requests are heard and never answered
    int truncateDumpsBy = 0;      // Program and Mix dumps lose this many bytes before their F7
    int stopBankAfter = -1;       // a bank request is answered with only this many dumps (-1: all 128)
    bool holdGlobalReply = false; // the Global dump waits for releaseHeldReplies()
    int corruptStoredSlot = -1;   // a stored dump received for this slot is kept with one bit flipped
};

/** A simulated instrument for development, demos and tests. It holds three banks of factory
    Programs, a Program edit buffer, its Global settings and a Mix; it answers the SysEx requests,
    stores Programs sent to USER, applies the NRPNs it receives and echoes them as the hardware
    does, follows Bank Select and Program Change, and sends what a player does on its panel.
    Everything it sends leaves on its own thread, like a real MIDI input. */
class VirtualOrvo
{
public:
    static constexpr const char* deviceName = "Virtual Orvo";
    /** The editor's input (the instrument's MIDI out) and output (the instrument's MIDI in). */
    static constexpr const char* inputIdentifier = "virtual-orvo:midi-out";
    static constexpr const char* outputIdentifier = "virtual-orvo:midi-in";
    static constexpr int numBanks = 3;
    static constexpr int numPrograms = 128;
    /** 31,250 baud, ten bits a byte. */
    static constexpr double wireMsPerByte = 0.32;
    /** The unpacked Global data reaches just past the last field the editor reads. */
    static constexpr int globalDataLength = 15876;

    using Values = std::array<int, ParameterCatalogue::numRows>;

    VirtualOrvo();
    ~VirtualOrvo();

    /** A message from the editor's output. */
    void receive (const std::uint8_t* data, size_t size);

    /** Where the instrument's MIDI out goes; one listener at a time (the editor's open input). */
    void setListener (MidiInputCallback callback);
    void clearListener();

    /** A player turns a knob or presses a button on the panel: the edit buffer changes and the NRPN goes out. */
    void turnKnob (int row, int raw);

    /** A player selects a Program on the panel: the slot is loaded and Bank Select and Program Change go out. */
    void selectOnPanel (int bank, int program);

    /** A player picks another digital-effect algorithm on the panel: the edit buffer's effect switches
        (its parameter bytes stay) and NRPN 3603 goes out, as the hardware reports it. */
    void selectEffectOnPanel (int algorithm);
    /** The value the effects processor holds for an effect NRPN as it last arrived; -1 before any. */
    int effectValue (int nrpn) const;

    /** Blocks until everything queued for sending has been delivered. */
    void flush();

    Values editBuffer() const;
    int editBufferValue (int row) const;
    int selectedBank() const;
    int selectedProgram() const;
    int programSelectChannel() const { return programChannel.load(); }
    void setProgramSelectChannel (int channel) { programChannel.store (channel); }
    /** 0 and 2: the bank comes in CC 32; 1: in CC 0. */
    void setBankSelectType (int type) { bankSelectType.store (type); }
    /** Stores catalogue values into a slot (the slot keeps its name, effects and other bytes). */
    void setStoredProgram (int bank, int program, const Values& values);
    /** The slot's Program as the instrument holds it; empty for a bad slot. */
    UnpackedProgram storedProgram (int bank, int program) const;
    /** The edit buffer as an edit-buffer request would return it, unpacked. */
    UnpackedProgram editBufferProgram() const;

    int mixSelectChannel() const { return mixChannel.load(); }
    void setMixSelectChannel (int channel) { mixChannel.store (channel); }
    int bankSelectTypeSetting() const { return bankSelectType.load(); }
    /** 0 PROGRAM, 1 MIX, as the last mode select asked. */
    int mode() const { return currentMode.load(); }
    /** The 1,024-byte Mix edit buffer. */
    MixPayload mixEditBuffer() const;
    void setMixEditBuffer (const MixPayload& payload);
    /** The unpacked Global data a Global request answers with. */
    ByteVector globalData() const;

    /** Wire-rate pacing: each message leaves when it and everything before it would have crossed a
        31,250-baud cable. With a scheduler and clock the waiting happens in their time (tests pass
        VirtualTime, whose calls must come from the thread that advances it); without them the
        delivery thread waits in real time. Off: messages leave as fast as they are made. The
        scheduler and clock must stay alive while pacing is on. */
    void setWireRate (bool enabled, Scheduler* scheduler = nullptr, const Clock* clock = nullptr);
    bool wireRate() const;

    void setFaults (const VirtualOrvoFaults& faults);
    VirtualOrvoFaults faults() const;
    /** Sends the replies a fault held back. */
    void releaseHeldReplies();

    /** Reply messages sent since construction (a bank counts 128), for tests. */
    int requestsAnswered() const { return answered.load(); }

    std::atomic<bool> echoNrpns{ true };
    /** Channel the panel's own NRPNs go out on. */
    std::atomic<int> transmitChannel{ 1 };

private:
    struct Slot
    {
        UnpackedProgram bytes;
        Values values{};
        bool loaded = false;
    };

    void send (std::vector<std::uint8_t> message);
    void sendReply (std::vector<std::uint8_t> message);
    /** The slot, filled from the factory on first use; stateLock must be held. */
    Slot& slotLocked (int bank, int program) const;
    void loadSlot (int bank, int program);
    void sendSelection (int bank, int program);
    void sendNrpn (int channel, int parameter, int value);
    void handleControlChange (int channel, int controller, int data);
    void handleNrpn (const NrpnEvent& e);
    void handleSysEx (const std::uint8_t* data, size_t size);
    void handleMidiEdit (const std::uint8_t* data, size_t size);
    int applyEffectNrpn (int parameter, int value);
    std::vector<std::uint8_t> damaged (std::vector<std::uint8_t> dump) const;
    ByteVector buildGlobalDump() const;
    UnpackedProgram editProgramLocked() const;
    void run();

    mutable std::mutex stateLock;
    Values edit{};
    std::array<int, 36> effectValues = [] { std::array<int, 36> a{}; a.fill (-1); return a; }(); // NRPN 3603..3638
    UnpackedProgram editBytes; // the loaded Program's bytes; edits are stored over them on request
    ProgramRows editedRows;    // rows changed since the Program was loaded
    mutable std::vector<Slot> stored;
    MixPayload mix;
    NrpnAssembler assembler;
    int bank = 0, program = 0, pendingBank = 0;
    int mixBank = 3, mixNumber = 0;
    VirtualOrvoFaults faultSettings;
    std::vector<std::vector<std::uint8_t>> held;
    std::atomic<int> programChannel{ 1 };
    std::atomic<int> mixChannel{ 1 };
    std::atomic<int> bankSelectType{ 0 };
    std::atomic<int> currentMode{ 0 };
    std::atomic<int> answered{ 0 };

    // Pacing; guarded by queueLock.
    bool paced = false;
    Scheduler* pacingScheduler = nullptr;
    const Clock* pacingClock = nullptr;
    double busyUntilMs = 0.0;

    mutable std::mutex queueLock;
    std::condition_variable queueChanged;
    std::shared_ptr<int> alive = std::make_shared<int> (0); // scheduled sends check it before touching this
    std::deque<std::vector<std::uint8_t>> outgoing;
    bool delivering = false;
    bool stopping = false;
    MidiInputCallback listener;
    std::thread worker;
};

/** The platform's MIDI devices plus the Virtual Orvo's input and output pair. */
class VirtualOrvoMidiDevices final : public MidiDevices
{
public:
    VirtualOrvoMidiDevices (MidiDevices* platform, VirtualOrvo& instrument);

    std::vector<MidiDeviceInfo> inputs() override;
    std::vector<MidiDeviceInfo> outputs() override;
    std::unique_ptr<MidiInputConnection> openInput (const std::string& identifier, MidiInputCallback callback) override;
    std::unique_ptr<MidiOutputConnection> openOutput (const std::string& identifier) override;

private:
    MidiDevices* platform;
    VirtualOrvo& instrument;
};

} // namespace orvo
