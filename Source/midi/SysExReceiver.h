#pragma once

#include "midi/SysExProtocol.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace orvo
{

/** What a Global dump said, handed to the sync once the receiver has taken the MIDI settings from it. */
struct GlobalDumpReport
{
    std::size_t rawLength = 0;
    std::size_t unpackedLength = 0;
    GlobalDumpFields fields;
    /** True when both the last selected Program bank and number could be read; when false the receiver
        has already logged the parse failure. */
    bool programSelectionValid = false;
    /** The settings in force after this dump. */
    int programChannel = 1, mixChannel = 1, bankSelectType = 0;
};

/** Offers each received SysEx message to the Global, bank Program, Mix and Program edit buffer handlers
    in that order, and logs what none of them claimed. Runs on the MIDI input thread: the hooks it calls
    must only touch atomics or lock-guarded queues, and post anything else to the message thread. */
class SysExReceiver
{
public:
    using LogFn = std::function<void (const std::string&)>;

    struct Hooks
    {
        // Questions about the sync's state (each unset hook answers "no").
        std::function<std::optional<int>()> activeBankRequest; ///< the bank being read, while a bank request runs
        std::function<bool()> takeMixReadPending;              ///< true once per pending Mix read, clearing it
        std::function<bool()> wantsProgramEditBuffer;          ///< sync awaits it or a refresh asked for it
        std::function<bool()> syncAwaitsEditBuffer;            ///< the sync itself awaits the edit buffer
        std::function<int()> editBufferResponses;              ///< edit-buffer dumps received in this sync
        std::function<bool()> diagnosticLogOn;
        std::function<bool()> midiInputMonitorOn;

        // What the handlers hand over.
        std::function<void (const GlobalDumpReport&)> globalDumpReceived;
        std::function<void (int bank, int program, const ByteVector& message)> storedProgramReceived;
        std::function<void (const MixPayload& payload)> mixDumpReceived; ///< empty when the dump did not unpack
        std::function<void (const ByteVector& message)> programEditBufferReceived;
    };

    enum class Claim
    {
        globalDump,
        bankProgramDump,
        mixDump,
        programEditBuffer,
        unclaimed
    };

    SysExReceiver (Hooks hooks, LogFn log);

    /** Takes one complete message (F0 ... F7 as received; a malformed one is simply not claimed). */
    Claim handleSysEx (const std::uint8_t* message, std::size_t length);
    Claim handleSysEx (const ByteVector& message) { return handleSysEx (message.data(), message.size()); }

    /** MIDI select settings, updated by each Global dump with in-range values. */
    int programChannel() const { return programChannelValue.load(); }
    int mixChannel() const { return mixChannelValue.load(); }
    int bankSelectType() const { return bankSelectTypeValue.load(); }
    void setSelectSettings (int programChannel, int mixChannel, int bankSelectType);

    /** The log line for a message nobody claimed (without the sync note that may follow it). */
    static std::string unclaimedLine (const std::uint8_t* message, std::size_t length,
                                      std::optional<int> editBufferResponses);

private:
    bool handleGlobalDump (const std::uint8_t* message, std::size_t length);
    bool handleBankProgramDump (const std::uint8_t* message, std::size_t length);
    bool handleMixDump (const std::uint8_t* message, std::size_t length);
    bool handleProgramEditBuffer (const std::uint8_t* message, std::size_t length);
    void logUnclaimed (const std::uint8_t* message, std::size_t length);
    void log (const std::string& line) const;

    Hooks hooks;
    LogFn logFn;
    std::atomic<int> programChannelValue{ 1 }, mixChannelValue{ 1 }, bankSelectTypeValue{ 0 };
};

} // namespace orvo
