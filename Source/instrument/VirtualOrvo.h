#pragma once

#include "midi/MidiDevices.h"
#include "midi/NrpnCodec.h"
#include "model/ParameterCatalogue.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace orvo
{

/** A simulated instrument for development, demos and tests. It keeps a Program edit buffer of
    catalogue values, applies the NRPNs it receives and echoes them as the hardware does, follows
    Bank Select and Program Change, and sends what a player does on its panel. Everything it
    sends leaves on its own thread, like a real MIDI input. */
class VirtualOrvo
{
public:
    static constexpr const char* deviceName = "Virtual Orvo";
    /** The editor's input (the instrument's MIDI out) and output (the instrument's MIDI in). */
    static constexpr const char* inputIdentifier = "virtual-orvo:midi-out";
    static constexpr const char* outputIdentifier = "virtual-orvo:midi-in";
    static constexpr int numBanks = 3;
    static constexpr int numPrograms = 128;

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
    void setStoredProgram (int bank, int program, const Values& values);

    std::atomic<bool> echoNrpns { true };
    /** Channel the panel's own NRPNs go out on. */
    std::atomic<int> transmitChannel { 1 };

private:
    void send (std::vector<std::uint8_t> message);
    void sendNrpn (int channel, int parameter, int value);
    void handleControlChange (int channel, int controller, int data);
    void handleNrpn (const NrpnEvent& e);
    void run();

    mutable std::mutex stateLock;
    Values edit {};
    std::vector<Values> stored;
    NrpnAssembler assembler;
    int bank = 0, program = 0, pendingBank = 0;
    std::atomic<int> programChannel { 1 };
    std::atomic<int> bankSelectType { 0 };

    std::mutex queueLock;
    std::condition_variable queueChanged;
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
