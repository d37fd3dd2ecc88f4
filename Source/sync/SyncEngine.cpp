#include "SyncEngine.h"

#include "data/ProgramLayout.h"
#include "model/TextMatching.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{

int BankSlotTable::receivedCount() const
{
    return (int)std::count_if (slots.begin(), slots.end(), [] (const Slot& s) { return s.received; });
}

SyncEngine::SyncEngine (SyncHost& editorHost)
    : host (editorHost),
      sysexReceiver (
          [this] {
              SysExReceiver::Hooks h;
              h.wantsProgramEditBuffer = [this] { return awaitingEditBuffer.load() || editBufferRefreshPending.load(); };
              h.activeBankRequest = [this]() -> std::optional<int> {
                  if (! bankRequestActive.load())
                      return std::nullopt;
                  return requestedBankValue.load();
              };
              h.storedProgramReceived = [this] (int bank, int slot, const ByteVector& m) { storedProgramReceived (bank, slot, m); };
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
    bankModeValue = noBankMode;
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
    bool refresh = false;
    if (forSync)
        currentStage = bankRequestActive.load() ? receivingBank : complete;
    else
        refresh = editBufferRefreshPending.exchange (false);
    ++editBufferResponses;

    Decoded decoded;
    decoded.refresh = refresh;
    decoded.forEffects = refresh && refreshForEffects.exchange (false);
    std::string diagnostic;
    decoded.ok = decodeProgramDump (message, decoded.values, diagnostic);
    decoded.message = message;
    if (decoded.ok)
        decoded.unpacked = unpackProgramDump (message.data(), message.size());
    std::lock_guard<std::mutex> lock (decodedLock);
    pendingDecoded = std::move (decoded);
}

void SyncEngine::storedProgramReceived (int bank, int slot, const ByteVector& message)
{
    // The receiver only hands over dumps for the requested bank and a slot below 128.
    std::string name = readProgramName (unpackProgramDump (message.data(), message.size()));
    int count = 0;
    {
        std::lock_guard<std::mutex> lock (bankLock);
        auto& s = slotTable.slots[(size_t)slot];
        s.dump = message;
        s.name = std::move (name);
        if (! s.received)
        {
            s.received = true;
            count = ++receivedCountValue;
        }
        if (bank <= 2)
            claimedDumps.push_back ({ bank, slot, message });
    }
    if (count != 128)
        return;
    bankRequestActive = false;
    const int mode = bankModeValue.load();
    const auto label = bankLabelOf (bank);
    if (mode == bankSyncMode)
    {
        bankComplete = true;
        currentStage = complete;
        compareNamesPending = true;
        queueLog ("BANK SYNC: received all 128 Program dumps for current bank. Comparing names with the loaded environment.\n\n");
    }
    else if (mode == systemSyncMode)
    {
        bankComplete = true;
        systemBankComplete = true;
        queueLog ("SYSTEM SYNC: received all 128 Program dumps for " + label + ".\n\n");
    }
    else if (mode == tagHashExportMode)
    {
        tagBankComplete = true;
        queueLog ("TAG HASH EXPORT: received all 128 Program dumps for " + label + ".\n\n");
    }
    else if (mode == verifyMode)
    {
        verifyBankComplete = true;
        currentStage = complete;
        queueLog ("VERIFY: received all 128 Program dumps for " + label + ".\n\n");
    }
}

std::string SyncEngine::bankLabelOf (int bank) const
{
    std::string name;
    if (bankDisplayName != nullptr)
        name = bankDisplayName (bank);
    if (name.empty())
        name = bank == 0 ? "USER" : bank == 1 ? "PRESET1" : bank == 2 ? "PRESET2" : "BANK " + std::to_string (bank);
    return name.substr (0, name.find (' '));
}

std::string SyncEngine::bankModeName() const
{
    switch (bankModeValue.load())
    {
        case bankSyncMode: return "BANK SYNC";
        case systemSyncMode: return "SYSTEM SYNC";
        case tagHashExportMode: return "TAG HASH EXPORT";
        case verifyMode: return "VERIFY";
        default: return "PROGRAM SYNC";
    }
}

void SyncEngine::startBankRequest (int bank, int mode)
{
    if (bank < 0 || bank > 15 || mode < bankSyncMode || mode > verifyMode || ! host.hasOutput())
        return;
    ++generation;
    {
        std::lock_guard<std::mutex> lock (bankLock);
        slotTable.clear();
    }
    requestedBankValue = bank;
    receivedCountValue = 0;
    bankModeValue = mode;
    bankRequestActive = true;
    bankRequestStartMs = host.clock().nowMs();
    if (! overlayState.visible)
    {
        lastStageSeen = -1;
        showOverlay (mode == bankSyncMode        ? "Receiving current Program bank: 0 of 128 patches..."
                     : mode == systemSyncMode    ? "System Sync: 0 of 128 patches..."
                     : mode == tagHashExportMode ? "Creating tag hash file: 0 of 128 Programs..."
                                                 : "Reading back " + bankLabelOf (bank) + ": 0 of 128 Programs...",
                     0.0);
    }
    overlayCloseScheduled = false;
    syncActive = true;
    currentStage = receivingBank;

    host.sendSysEx (buildProgramBankRequest (bank));
    const auto bankByte = (std::uint8_t)bank;
    host.logLine (bankModeName() + ": requested Orvo Program bank " + std::to_string (bank) + ": F0 00 00 0E 1D 0A "
                  + hexBytes (&bankByte, 1) + " F7\n\n");
}

BankSlotTable SyncEngine::bankSlots() const
{
    std::lock_guard<std::mutex> lock (bankLock);
    return slotTable;
}

std::vector<ReceivedStoredDump> SyncEngine::takeStoredDumps()
{
    std::lock_guard<std::mutex> lock (bankLock);
    return std::exchange (claimedDumps, {});
}

void SyncEngine::setSystemSync (bool active, int index)
{
    systemSyncIndexValue = index;
    systemSyncActive = active;
}

void SyncEngine::finishBankModes()
{
    systemSyncActive = false;
    bankModeValue = noBankMode;
    bankRequestActive = false;
    syncActive = true;
    currentStage = complete;
}

void SyncEngine::requestEditBufferRefresh (const std::string& reason, int effectSlot)
{
    if (! host.hasOutput())
    {
        effectReadbackSlotValue = -1;
        host.logLine ("No MIDI output is open. Cannot refresh the current Orvo Program edit buffer.\n");
        return;
    }
    effectReadbackSlotValue = effectSlot;
    refreshForEffects = effectSlot >= 0;
    if (effectSlot < 0)
        startQuietWindow();
    editBufferRefreshPending = true;
    host.sendSysEx (buildProgramEditBufferRequest());
    host.logLine ("Requested Orvo Program edit buffer " + reason + ".\n");
}

void SyncEngine::clearEditBufferRefresh()
{
    editBufferRefreshPending = false;
    refreshForEffects = false;
    effectReadbackSlotValue = -1;
}

void SyncEngine::startQuietWindow()
{
    quietCountdown = quietTicks;
    quietUntilMs = std::max (quietUntilMs, host.clock().nowMs() + quietMs);
}

bool SyncEngine::isProgramDataBusy() const
{
    return quietCountdown > 0 || editBufferRefreshPending.load() || host.clock().nowMs() < quietUntilMs;
}

std::optional<SyncEngine::ReportedSelection> SyncEngine::takeReportedSelection()
{
    const int bank = reportedBankValue.exchange (-1);
    const int program = reportedProgramValue.exchange (-1);
    const bool compare = reportedCompare.exchange (false);
    reportedFlag2 = false;
    if (bank < 0 || program < 0 || bank >= 5)
        return std::nullopt;
    return ReportedSelection{ bank, program, compare };
}

void SyncEngine::showOverlay (const std::string& text, double fraction)
{
    overlayState.visible = true;
    overlayState.barVisible = true;
    overlayState.title = bankModeName();
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
    if (quietCountdown > 0)
        --quietCountdown;
    if (decoded)
    {
        const std::string prefix = decoded->refresh ? "REFRESH" : "SYNC";
        if (decoded->ok)
        {
            if (onEditBufferArrived)
                onEditBufferArrived (decoded->message);
            host.applyProgramValues (decoded->values.raw, decoded->values.defined);
            // Queued like the reply's own lines from the MIDI thread, so the log keeps their order.
            host.queueLogLine ("Applied mapped OSC/ENV/LFO/S&H controls from Program edit-buffer sync.\n");
            if (onProgramApplied)
                onProgramApplied (decoded->values, decoded->unpacked, decoded->message);
            if (decoded->forEffects && onEffectsReadback)
                onEffectsReadback (decoded->values, decoded->unpacked, effectReadbackSlotValue.load());
            host.queueLogLine (prefix + ": received Program edit buffer; "
                               + (decoded->forEffects ? "queued Digital Effects parameter readback"
                                                      : "queued mapped OSC/ENV/LFO/S&H UI refresh")
                               + ".\n");
        }
        else
        {
            host.queueLogLine (prefix + ": received Program edit buffer, but the mapped controls could not be parsed.\n");
            if (decoded->forEffects && onEffectsReadback)
                onEffectsReadback (decoded->values, {}, effectReadbackSlotValue.load());
        }
        if (onEditBufferReply)
            onEditBufferReply (decoded->message, decoded->ok);
    }

    // A tag-hash or verification bank that never completes must not stop what waits for it.
    if (const int mode = bankModeValue.load(); (mode == tagHashExportMode || mode == verifyMode) && bankRequestActive.load()
        && host.clock().nowMs() - bankRequestStartMs > tagBankTimeoutMs)
    {
        bankRequestActive = false;
        host.logLine (bankModeName() + ": timed out after receiving " + std::to_string (receivedCountValue.load())
                      + " of 128 Programs from bank " + std::to_string (requestedBankValue.load())
                      + "; continuing automatically.\n");
        if (mode == verifyMode)
        {
            verifyBankComplete = true;
            currentStage = complete;
        }
        else
            tagBankComplete = true;
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
            case receivingBank: showBankProgress (fraction); break;
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

void SyncEngine::showBankProgress (double)
{
    const int count = std::clamp (receivedCountValue.load(), 0, 128);
    const double f = std::min (count / 128.0, 0.99);
    const int mode = bankModeValue.load();
    if (mode == systemSyncMode)
    {
        const int k = std::clamp (systemSyncIndexValue.load(), 0, 2);
        static const char* labels[] = { "USER", "PRESET1", "PRESET2" };
        showOverlay ("System Sync " + std::to_string (k + 1) + " of 3: " + labels[k] + " " + std::to_string (count)
                         + " of 128 patches...",
                     (k + f) / 3.0);
    }
    else if (mode == tagHashExportMode)
    {
        const int n = std::max (tagExportCount, 1);
        const int i = std::clamp (tagExportIndex, 0, n - 1);
        showOverlay ("Creating tag hash file: bank " + std::to_string (i + 1) + " of " + std::to_string (n) + ", "
                         + std::to_string (count) + " of 128 Programs...",
                     std::min ((i + f) / n, 0.99));
    }
    else if (mode == verifyMode)
        showOverlay ("Reading back " + bankLabelOf (requestedBankValue.load()) + ": " + std::to_string (count)
                         + " of 128 Programs...",
                     f);
    else
        showOverlay ("Receiving current Program bank: " + std::to_string (count) + " of 128 patches...", f);
}

void SyncEngine::cancelSync()
{
    const bool systemRunning = systemSyncActive.load() || bankModeValue.load() == systemSyncMode;
    const int mode = systemRunning ? (int)systemSyncMode : bankModeValue.load();
    const int count = receivedCountValue.load();
    ++cancels;
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
    systemSyncActive = false;
    bankComplete = systemBankComplete = tagBankComplete = compareNamesPending = verifyBankComplete = false;
    bankModeValue = noBankMode;
    requestedBankValue = -1;
    receivedCountValue = 0;
    systemSyncIndexValue = 0;
    {
        std::lock_guard<std::mutex> lock (bankLock);
        slotTable.clear();
    }
    static const char* names[] = { "PROGRAM SYNC", "BANK SYNC", "SYSTEM SYNC", "TAG HASH EXPORT", "VERIFY" };
    host.logLine (std::string (names[std::clamp (mode, 0, 4)]) + ": cancelled by user"
                  + (mode != noBankMode ? " after receiving " + std::to_string (count) + " of 128 Programs in the current bank"
                                        : std::string())
                  + ". Late Orvo responses will be ignored.\n\n");
}

} // namespace orvo
