#include "SyncEngine.h"

#include "model/TextMatching.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{

SyncEngine::SyncEngine (SyncHost& editorHost)
    : host (editorHost),
      sysexReceiver (
          [this] {
              SysExReceiver::Hooks h;
              h.wantsProgramEditBuffer = [this] { return awaitingEditBuffer.load(); };
              h.syncAwaitsEditBuffer = [this] { return syncActive.load() && awaitingEditBuffer.load(); };
              h.editBufferResponses = [this] { return editBufferResponses.load(); };
              h.diagnosticLogOn = [this] { return host.diagnosticLogOn(); };
              h.midiInputMonitorOn = [this] { return host.midiInputMonitorOn(); };
              h.globalDumpReceived = [this] (const GlobalDumpReport& r) { globalReceived (r); };
              h.programEditBufferReceived = [this] (const ByteVector& m) { editBufferReceived (m); };
              h.takeMixReadPending = [this] { return takeMixReadPending != nullptr && takeMixReadPending(); };
              h.mixDumpReceived = [this] (const MixPayload& p) {
                  if (mixDumpReceived != nullptr)
                      mixDumpReceived (p);
              };
              return h;
          }(),
          [this] (const std::string& line) { queueLog (line); })
{
}

void SyncEngine::attach()
{
    // The receiver claims or logs every SysEx message itself.
    host.addSysExHandler ([this] (const std::uint8_t* data, size_t size) {
        sysexReceiver.handleSysEx (data, size);
        return true;
    });
    host.setSyncRunningQuery ([this] { return syncActive.load(); });
}

void SyncEngine::startProgramSync()
{
    if (! host.hasOutput())
    {
        host.logLine ("No MIDI output is open. Open the Orvo MIDI output first.\n");
        return;
    }
    ++generation;
    reportedFlag2 = false;
    bankComparisonRequested = false;
    editBufferResponses = 0;
    awaitingGlobal = true;
    awaitingEditBuffer = true;
    programModeAsserted = true;
    overlayCloseScheduled = false;
    syncActive = true;
    currentStage = waitingForGlobal;
    lastStageSeen = -1;
    stageStartMs = host.clock().nowMs();
    {
        std::lock_guard<std::mutex> lock (decodedLock);
        pendingDecoded.reset();
    }
    showOverlay ("Waiting for Orvo Global state...", 0.0);

    host.sendSysEx (buildSelectModeMessage (0));
    host.sendSysEx (buildGlobalRequest());
    host.sendSysEx (buildProgramEditBufferRequest());
    host.logLine ("Selected Orvo PROGRAM mode: F0 00 00 0E 1D 0D 00 F7\n"
                         "Requested Orvo Global state: F0 00 00 0E 1D 09 00 F7\n"
                         "Requested Orvo Program edit buffer: F0 00 00 0E 1D 03 10 F7\n"
                         "Skipped Orvo Mix edit-buffer request because that request/response shape is not verified on this hardware path.\n\n"
                         "PROGRAM SYNC: waiting for Orvo Global dump for MIDI select settings. The bottom-bar selector follows Program Change messages, not the Global selected-program field.\n\n");
}

void SyncEngine::globalReceived (const GlobalDumpReport& report)
{
    const bool asserted = programModeAsserted.exchange (false);
    awaitingGlobal = false;
    host.setBankSelectType (report.bankSelectType);

    if (! report.programSelectionValid)
    {
        programModeAsserted = false;
        bankComparisonRequested = false;
        reportedCompare = false;
    }
    else
    {
        const bool compare = bankComparisonRequested.exchange (false);
        const int bank = report.fields.lastProgramBank.value_or (-1);
        const int program = report.fields.lastProgramNumber.value_or (-1);
        if (! asserted || bank > 2)
        {
            reportedCompare = false;
            queueLog ("SYNC: Orvo Global reports last selected Program bank=" + std::to_string (bank) + " program="
                      + text::threeDigits (program) + ". Ignoring this selector field because PROGRAM mode was not asserted for this request.\n");
            if (compare)
                queueLog ("SYNC: skipped Program-bank comparison because the active Orvo mode is not confirmed.\n");
        }
        else
        {
            reportedBankValue = bank;
            reportedProgramValue = program;
            reportedCompare = compare;
            reportedFlag2 = false;
            queueLog ("SYNC: PROGRAM mode was explicitly selected. Applying active Program bank=" + std::to_string (bank)
                      + " program=" + text::threeDigits (program) + " to the editor.\n");
        }
        if (report.fields.lastMixBank && report.fields.lastMixNumber)
            queueLog ("SYNC: Orvo Global also reports last selected Mix bank=" + std::to_string (*report.fields.lastMixBank)
                      + " mix=" + text::threeDigits (*report.fields.lastMixNumber) + ".\n");
    }
    if (awaitingEditBuffer.load())
        currentStage = waitingForEditBuffer;
}

void SyncEngine::editBufferReceived (const ByteVector& message)
{
    const bool forSync = syncActive.load() && awaitingEditBuffer.exchange (false);
    if (forSync)
        currentStage = bankRequestActive.load() ? receivingBank : complete;
    ++editBufferResponses;

    Decoded decoded;
    std::string diagnostic;
    decoded.ok = decodeProgramDump (message, decoded.values, diagnostic);
    if (decoded.ok)
    {
        decoded.unpacked = unpackProgramDump (message.data(), message.size());
        decoded.message = message;
    }
    std::lock_guard<std::mutex> lock (decodedLock);
    pendingDecoded = std::move (decoded);
}

std::optional<std::pair<int, int>> SyncEngine::takeReportedSelection()
{
    const int bank = reportedBankValue.exchange (-1);
    const int program = reportedProgramValue.exchange (-1);
    reportedCompare = false;
    reportedFlag2 = false;
    if (bank < 0 || program < 0 || bank >= 5)
        return std::nullopt;
    return std::make_pair (bank, program);
}

void SyncEngine::showOverlay (const std::string& text, double fraction)
{
    overlayState.visible = true;
    overlayState.barVisible = true;
    overlayState.text = text;
    overlayState.fraction = fraction;
}

void SyncEngine::onSyncTick()
{
    std::optional<Decoded> decoded;
    {
        std::lock_guard<std::mutex> lock (decodedLock);
        decoded.swap (pendingDecoded);
    }
    if (decoded)
    {
        if (decoded->ok)
        {
            host.applyProgramValues (decoded->values.raw, decoded->values.defined);
            // Queued like the reply's own lines from the MIDI thread, so the log keeps their order.
            host.queueLogLine ("Applied mapped OSC/ENV/LFO/S&H controls from Program edit-buffer sync.\n");
            if (onProgramApplied)
                onProgramApplied (decoded->values, decoded->unpacked, decoded->message);
            host.queueLogLine ("SYNC: received Program edit buffer; queued mapped OSC/ENV/LFO/S&H UI refresh.\n");
        }
        else
            host.queueLogLine ("SYNC: received Program edit buffer, but the mapped controls could not be parsed.\n");
    }

    if (! overlayState.visible)
        return;
    const double now = host.clock().nowMs();
    if (syncActive.load())
    {
        const int s = currentStage.load();
        if (s != lastStageSeen)
        {
            lastStageSeen = s;
            stageStartMs = now;
        }
        const double elapsed = now - stageStartMs;
        const double fraction = std::clamp (elapsed / (s == waitingForGlobal ? 10000.0 : 2200.0), 0.0, 0.94);
        switch (s)
        {
            case waitingForGlobal:
                if (awaitingGlobal.load() && elapsed > replyTimeoutMs)
                {
                    awaitingGlobal = false;
                    awaitingEditBuffer = false;
                    bankRequestActive = false;
                    programModeAsserted = false;
                    bankComparisonRequested = false;
                    reportedCompare = false;
                    currentStage = complete;
                    host.logLine ("SYNC: timed out waiting for Orvo Global state. Sync cancelled before requesting Program-bank comparison.\n\n");
                }
                else
                    showOverlay ("Receiving Orvo Global state...", fraction);
                break;
            case waitingForEditBuffer:
                if (awaitingEditBuffer.load() && elapsed > replyTimeoutMs)
                {
                    awaitingEditBuffer = false;
                    currentStage = bankRequestActive.load() ? receivingBank : complete;
                    host.logLine ("SYNC: timed out waiting for Orvo Program edit buffer. Continuing without edit-buffer refresh.\n\n");
                }
                else
                    showOverlay ("Receiving Program edit buffer...", fraction);
                break;
            case finishingEditBuffer: showOverlay ("Finishing edit-buffer sync...", fraction); break;
            case complete:
                showOverlay ("Sync complete.", 1.0);
                overlayState.barVisible = false;
                syncActive = false;
                break;
            default: showOverlay ("Syncing Orvo...", fraction); break;
        }
    }
    if (! syncActive.load() && ! overlayCloseScheduled)
    {
        overlayCloseScheduled = true;
        const auto gen = generation.load();
        host.scheduler().callAfter (overlayCloseDelayMs, [this, gen] {
            if (generation.load() == gen && ! syncActive.load())
                overlayState.visible = false;
        });
    }
}

void SyncEngine::cancelSync()
{
    ++generation;
    awaitingGlobal = false;
    awaitingEditBuffer = false;
    bankRequestActive = false;
    programModeAsserted = false;
    bankComparisonRequested = false;
    reportedBankValue = -1;
    reportedProgramValue = -1;
    editBufferResponses = 0;
    syncActive = false;
    currentStage = idle;
    lastStageSeen = -1;
    overlayCloseScheduled = false;
    overlayState = {};
    {
        std::lock_guard<std::mutex> lock (decodedLock);
        pendingDecoded.reset();
    }
    host.logLine ("PROGRAM SYNC: cancelled by user. Late Orvo responses will be ignored.\n\n");
}

} // namespace orvo
