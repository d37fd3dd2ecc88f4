#pragma once

#include "data/ProgramCodec.h"
#include "midi/SysExReceiver.h"
#include "SyncHost.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

namespace orvo
{

/** Reads the instrument: PROGRAM SYNC (Global state and the Program edit buffer), with progress,
    time-outs and cancel. Replies arrive on the MIDI thread and touch only atomics and the locked
    hand-over of a decoded Program; everything visible happens in `onSyncTick` on the message thread. */
class SyncEngine
{
public:
    static constexpr int replyTimeoutMs = 12000;
    static constexpr int overlayCloseDelayMs = 700;

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
    void cancelSync();
    /** The periodic timer's step: progress, time-outs, completion and the decoded Program. */
    void onSyncTick();

    bool isActive() const { return syncActive.load(); }
    int stage() const { return currentStage.load(); }
    int reportedBank() const { return reportedBankValue.load(); }
    int reportedProgram() const { return reportedProgramValue.load(); }
    /** The selection the last Global dump reported, once (both reset to -1): (bank, program). */
    std::optional<std::pair<int, int>> takeReportedSelection();

    /** What the `SyncProgressOverlay` shows. */
    struct Overlay
    {
        bool visible = false;
        bool barVisible = false;
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

    SysExReceiver& receiver() { return sysexReceiver; }

private:
    void showOverlay (const std::string& text, double fraction);
    void globalReceived (const GlobalDumpReport& report);
    void editBufferReceived (const ByteVector& message);
    void queueLog (const std::string& line) { host.queueLogLine (line); }

    SyncHost& host;
    SysExReceiver sysexReceiver;

    std::atomic<bool> syncActive { false }, awaitingGlobal { false }, awaitingEditBuffer { false },
        programModeAsserted { false }, bankComparisonRequested { false }, bankRequestActive { false },
        reportedCompare { false }, reportedFlag2 { false };
    std::atomic<int> currentStage { idle }, editBufferResponses { 0 };
    std::atomic<int> reportedBankValue { -1 }, reportedProgramValue { -1 };
    std::atomic<std::uint32_t> generation { 0 };

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
    };
    std::optional<Decoded> pendingDecoded;
};

} // namespace orvo
