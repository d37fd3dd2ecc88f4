#pragma once

#include "data/ProgramCodec.h"
#include "midi/SysExReceiver.h"
#include "SyncHost.h"

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** The slots of the bank being read: filled by the MIDI thread under the engine's lock, read by the
    message thread through a copy. */
struct BankSlotTable
{
    struct Slot
    {
        bool received = false;
        std::string name; // the Program name read from the dump
        ByteVector dump;  // the stored Program dump as received
    };
    std::array<Slot, 128> slots;

    void clear() { slots = {}; }
    int receivedCount() const;
};

/** A stored Program dump that a bank request claimed, handed to the message thread for the cache. */
struct ReceivedStoredDump
{
    int bank = 0, slot = 0;
    ByteVector dump;
};

/** Reads the instrument: PROGRAM SYNC (Global state and the Program edit buffer), the bank requests of
    BANK SYNC, SYSTEM SYNC and the tag hash export, and edit-buffer refreshes, with progress, time-outs
    and cancel. Replies arrive on the MIDI thread and touch only atomics and the locked
    hand-over of a decoded Program; everything visible happens in `onSyncTick` on the message thread. */
class SyncEngine
{
public:
    static constexpr int replyTimeoutMs = 12000;
    static constexpr int overlayCloseDelayMs = 700;
    static constexpr int tagBankTimeoutMs = 180000;
    static constexpr int quietTicks = 120;
    static constexpr int quietMs = 4000;

    enum BankMode
    {
        noBankMode = 0,
        bankSyncMode = 1,
        systemSyncMode = 2,
        tagHashExportMode = 3,
        verifyMode = 4 // reading back a bank just sent, to compare it with what was sent
    };

    enum Stage
    {
        idle = 0,
        waitingForGlobal = 1,
        waitingForEditBuffer = 2,
        finishingEditBuffer = 3,
        receivingBank = 4,
        complete = 5
    };

    explicit SyncEngine (SyncHost& host);

    /** Plugs the receive handlers into the engine's SysEx path. */
    void attach();

    void startProgramSync();
    /** Asks for all 128 stored Programs of `bank` (0..15; larger does nothing), for `mode` 1..4. */
    void startBankRequest (int bank, int mode);
    void cancelSync();

    //==== bank requests ====
    bool isBankRequestActive() const { return bankRequestActive.load(); }
    int requestedBank() const { return requestedBankValue.load(); }
    int bankMode() const { return bankModeValue.load(); }
    int receivedCount() const { return receivedCountValue.load(); }
    /** A copy of the bank read so far. */
    BankSlotTable bankSlots() const;
    /** Completion signals, each taken once. */
    bool takeBankComplete() { return bankComplete.exchange (false); }
    bool takeSystemBankComplete() { return systemBankComplete.exchange (false); }
    bool takeTagBankComplete() { return tagBankComplete.exchange (false); }
    bool takeCompareNamesPending() { return compareNamesPending.exchange (false); }
    bool takeVerifyBankComplete() { return verifyBankComplete.exchange (false); }
    /** Every stored dump claimed since the last call (for the Program SysEx cache). */
    std::vector<ReceivedStoredDump> takeStoredDumps();

    /** SYSTEM SYNC's place, for the progress text and cancel. */
    void setSystemSync (bool active, int index);
    bool isSystemSyncActive() const { return systemSyncActive.load(); }
    int systemSyncIndex() const { return systemSyncIndexValue.load(); }
    /** The tag hash export's place in its bank list, for the progress text. */
    void setTagExportProgress (int index, int count) { tagExportIndex = index, tagExportCount = count; }
    /** The bank modes are done (the last bank of SYSTEM SYNC was applied, or the export's list ended). */
    void finishBankModes();

    //==== edit-buffer refresh and the Program-data quiet window ====
    /** Asks for the edit buffer outside a sync; `effectSlot` is -1 for a plain refresh. */
    void requestEditBufferRefresh (const std::string& reason, int effectSlot = -1);
    bool isRefreshPending() const { return editBufferRefreshPending.load(); }
    /** Forgets an outstanding refresh (its asker gave up waiting). */
    void clearEditBufferRefresh();
    int effectReadbackSlot() const { return effectReadbackSlotValue.load(); }
    /** Program data is in flight or about to be: a refresh is outstanding or the quiet window runs. */
    bool isProgramDataBusy() const;
    /** Starts the quiet window: 120 ticks and at least 4,000 ms. */
    void startQuietWindow();
    /** The periodic timer's step: progress, time-outs, completion and the decoded Program. */
    void onSyncTick();

    bool isActive() const { return syncActive.load(); }
    /** How many times the player cancelled; a change abandons whatever a run had scheduled. */
    std::uint32_t cancelCount() const { return cancels; }
    int stage() const { return currentStage.load(); }
    int reportedBank() const { return reportedBankValue.load(); }
    int reportedProgram() const { return reportedProgramValue.load(); }
    /** The selection the last Global dump reported, once (both reset to -1), with whether a bank
        comparison was asked for with it. */
    struct ReportedSelection
    {
        int bank = -1, program = -1;
        bool compare = false;
    };
    std::optional<ReportedSelection> takeReportedSelection();

    /** What the `SyncProgressOverlay` shows. */
    struct Overlay
    {
        bool visible = false;
        bool barVisible = false;
        std::string title = "PROGRAM SYNC"; // the mode that runs
        std::string text;
        double fraction = 0.0;
    };
    const Overlay& overlay() const { return overlayState; }

    /** Message thread: a decoded edit buffer is to be shown (values are already applied to the engine). */
    std::function<void (const DecodedProgramValues&, const UnpackedProgram&, const ByteVector& dump)> onProgramApplied;

    /** MIDI input thread: whether a Mix read is pending (answered once, clearing it), and the Mix
        dump that answered it (empty when it did not unpack). Set both before `attach`. */
    std::function<bool()> takeMixReadPending;
    std::function<void (const MixPayload&)> mixDumpReceived;

    /** Message thread: an edit buffer dump arrived and decoded, before its values are applied. */
    std::function<void (const ByteVector& dump)> onEditBufferArrived;
    /** Message thread: every edit buffer reply, after it was applied; `mapped` is false when its values
        could not be read (the dump is then as received). */
    std::function<void (const ByteVector& dump, bool mapped)> onEditBufferReply;
    /** Message thread: an edit buffer asked for by the effects readback arrived (after onProgramApplied). */
    std::function<void (const DecodedProgramValues&, const UnpackedProgram&, int effectSlot)> onEffectsReadback;

    /** The bank's display name (the label is the part before its first space); unset: the fixed labels. */
    std::function<std::string (int bank)> bankDisplayName;
    /** USER, PRESET1, PRESET2 ... as log lines name a bank. */
    std::string bankLabelOf (int bank) const;

    SysExReceiver& receiver() { return sysexReceiver; }

private:
    void showOverlay (const std::string& text, double fraction);
    void globalReceived (const GlobalDumpReport& report);
    void editBufferReceived (const ByteVector& message);
    void storedProgramReceived (int bank, int slot, const ByteVector& message);
    void showBankProgress (double fraction);
    std::string bankModeName() const;
    void queueLog (const std::string& line) { host.queueLogLine (line); }

    SyncHost& host;
    SysExReceiver sysexReceiver;

    std::atomic<bool> syncActive { false }, awaitingGlobal { false }, awaitingEditBuffer { false },
        programModeAsserted { false }, bankComparisonRequested { false }, bankRequestActive { false },
        reportedCompare { false }, reportedFlag2 { false };
    std::atomic<int> currentStage { idle }, editBufferResponses { 0 };
    std::atomic<int> reportedBankValue { -1 }, reportedProgramValue { -1 };
    std::atomic<std::uint32_t> generation { 0 };

    std::atomic<int> requestedBankValue { -1 }, bankModeValue { noBankMode }, receivedCountValue { 0 },
        systemSyncIndexValue { 0 }, effectReadbackSlotValue { -1 };
    std::atomic<bool> bankComplete { false }, systemBankComplete { false }, tagBankComplete { false },
        compareNamesPending { false }, verifyBankComplete { false }, systemSyncActive { false }, editBufferRefreshPending { false },
        refreshForEffects { false };
    int tagExportIndex = 0, tagExportCount = 1;
    std::uint32_t cancels = 0;
    double bankRequestStartMs = 0.0;
    int quietCountdown = 0;
    double quietUntilMs = 0.0;

    mutable std::mutex bankLock; // the slot table and the claimed-dump queue
    BankSlotTable slotTable;
    std::vector<ReceivedStoredDump> claimedDumps;

    int lastStageSeen = -1;
    double stageStartMs = 0.0;
    bool overlayCloseScheduled = false;
    Overlay overlayState;

    std::mutex decodedLock;
    struct Decoded
    {
        bool ok = false;
        DecodedProgramValues values;
        UnpackedProgram unpacked;
        ByteVector message;
        bool refresh = false;     // asked for by a refresh, not by the sync
        bool forEffects = false;  // the refresh was for the effects readback
    };
    std::optional<Decoded> pendingDecoded;
};

} // namespace orvo
