#pragma once

#include "library/BankSyncWriter.h"
#include "midi/MidiDevices.h"
#include "sync/SyncEngine.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** Reads whole Program banks from an instrument into a library folder without an editor around it:
    the same bank requests as BANK SYNC, and the same Program and Bank documents as its bank-result
    writer. The owner feeds incoming MIDI (any thread) and calls `step` from its own loop. */
class InstrumentBackup final : private SyncHost
{
public:
    static constexpr int betweenBanksMs = 350;

    struct Options
    {
        std::vector<int> banks{ 0, 1, 2 };
        juce::File library;
        double timeoutMs = 300000.0; // per bank
    };
    struct BankResult
    {
        int bank = 0;
        std::string label;
        int received = 0;
        double seconds = 0.0;
        std::optional<juce::File> bankFile;
    };
    struct Result
    {
        std::vector<BankResult> banks;
        int programs = 0;
        /** The bank that stayed incomplete past the time-out, when one did. */
        std::optional<int> incompleteBank;
    };

    InstrumentBackup (Clock& clock, Scheduler& scheduler, MidiOutputConnection& output, Options options);

    /** An incoming MIDI message (the input port's thread). */
    void handleIncoming (const std::uint8_t* data, size_t size);
    /** Sends the first bank request. */
    void start();
    /** One turn of the owner's loop: true once every bank is read or one timed out. */
    bool step();

    const Result& result() const { return outcome; }
    /** The engine's log, for a verbose report. */
    std::string logText() const;
    std::string bankLabel (int bank) const { return state.bankLabel (bank); }

    /** Called from `step` while a bank is read: its label and the slots received so far. */
    std::function<void (const std::string& label, int received)> onProgress;

private:
    // SyncHost
    Clock& clock() override { return clockRef; }
    Scheduler& scheduler() override { return schedulerRef; }
    bool hasOutput() const override { return true; }
    void sendSysEx (const std::vector<std::uint8_t>& message) override { output.send (message.data(), message.size()); }
    void addSysExHandler (std::function<bool (const std::uint8_t*, size_t)> handler) override { sysExHandler = std::move (handler); }
    void setSyncRunningQuery (std::function<bool()>) override {}
    void setBankSelectType (int) override {}
    void applyProgramValues (const std::array<int, ParameterCatalogue::numRows>&,
                             const std::bitset<ParameterCatalogue::numRows>&) override {}
    void logLine (const std::string& line) override;
    void queueLogLine (const std::string& line) override { logLine (line); }
    bool diagnosticLogOn() const override { return false; }
    bool midiInputMonitorOn() const override { return false; }

    void requestBank();
    void bankDone();

    Clock& clockRef;
    Scheduler& schedulerRef;
    MidiOutputConnection& output;
    Options options;
    LibrarianState state;
    SyncEngine sync;
    std::function<bool (const std::uint8_t*, size_t)> sysExHandler;
    mutable std::mutex logLock;
    std::string log;
    Result outcome;
    size_t index = 0;
    double bankStartMs = 0.0;
    bool waiting = false, finished = false;
    int lastProgress = -1;
};

} // namespace orvo
