#include "ProgramSelector.h"

#include "model/TextMatching.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{
namespace
{
int channelOrOne (const std::function<int()>& f)
{
    const int c = f != nullptr ? f() : 1;
    return c >= 1 && c <= 16 ? c : 1;
}
} // namespace

ProgramSelector::ProgramSelector (EditorEngine& e, Settings s)
    : engine (e), clock (e.services().clock), settings (std::move (s))
{
    refreshBankNames();
}

void ProgramSelector::whenAllowed (std::function<void()> change)
{
    if (confirmChange != nullptr)
        confirmChange (std::move (change));
    else
        change();
}

void ProgramSelector::stepBank (int delta)
{
    const int b = ((bank() + delta) % numBanks + numBanks) % numBanks;
    whenAllowed (
        [this, b]
        {
            engine.setSelection (b, program());
            engine.log().append ("Bank button selected " + bankText() + ".\n");
            sendSelection ("bank button");
            changed();
        });
}

void ProgramSelector::stepProgram (int delta)
{
    const int p = ((program() + delta) % 128 + 128) % 128;
    whenAllowed (
        [this, p]
        {
            engine.setSelection (bank(), p);
            playerSelectedSlot();
            sendSelection ("program browser");
            changed();
        });
}

void ProgramSelector::select (int b, int p, const std::string& source)
{
    whenAllowed (
        [this, b, p, source]
        {
            engine.setSelection (b, p);
            playerSelectedSlot();
            sendSelection (source);
            changed();
        });
}

void ProgramSelector::playerSelectedSlot()
{
    engine.log().append ("Selected " + label (bank(), program()) + ".\n");
    // The instrument is about to load the slot: Program data asked for now could be the old Program.
    if (startQuietWindow != nullptr)
        startQuietWindow();
}

void ProgramSelector::follow (int b, int p)
{
    if (b < 0 || b >= numBanks || p < 0 || p > 127)
        return;
    engine.setSelection (b, p);
    modeKnown = true;
    changed();
}

std::string ProgramSelector::bankName (int b) const
{
    std::lock_guard<std::mutex> lock (namesLock);
    return b >= 0 && b < numBanks && ! bankNames[(size_t)b].empty() ? bankNames[(size_t)b] : std::to_string (b);
}

void ProgramSelector::refreshBankNames()
{
    if (settings.bankDisplayName == nullptr)
        return;
    for (int b = 0; b < numBanks; ++b)
    {
        auto name = settings.bankDisplayName (b);
        std::lock_guard<std::mutex> lock (namesLock);
        if (bankNames[(size_t)b] != name)
            bankNames[(size_t)b] = std::move (name);
    }
}

std::string ProgramSelector::label (int b, int p) const
{
    return bankName (b) + " " + text::threeDigits (p);
}

int ProgramSelector::programChannel() const
{
    return channelOrOne (settings.programChannel);
}

bool ProgramSelector::isProgramSelectChannel (int channel) const
{
    // With one channel for both, the bank kind selected last tells Program from Mix selections.
    return channel == programChannel() && ! (channel == mixChannel() && bank() >= 3);
}

int ProgramSelector::mixChannel() const
{
    return channelOrOne (settings.mixChannel);
}

void ProgramSelector::onBankSelect (int channel, int value)
{
    if (value < 0)
        return;
    int index = -1;
    if (isProgramSelectChannel (channel) && value <= 2)
        index = value;
    else if (channel == mixChannel() && ! isProgramSelectChannel (channel) && value <= 1)
        index = value + 3;
    if (index < 0)
        return;
    if (guardInForce() && index != appBank.load())
    {
        queueLog ("Accepted incoming Orvo Bank Select as a hardware selection override.\n");
        appGuardActive = false;
    }
    const auto name = bankName (index);
    queueLog ("Received Orvo Bank Select: ch=" + std::to_string (channel) + " bank=" + std::to_string (value) + " -> "
              + name + ". Waiting for Program Change before moving the bottom-bar selector.\n");
}

void ProgramSelector::onProgramChange (int channel, int p)
{
    const bool onProgramChannel = isProgramSelectChannel (channel);
    if (! onProgramChannel && channel != mixChannel())
    {
        queueLog ("Ignored Program Change on ch=" + std::to_string (channel) + " program=" + text::threeDigits (p)
                  + " because it does not match the Orvo Program or Mix select channel.\n");
        return;
    }
    int b = bank();
    if (const auto seen = engine.takeBankSelect (channel))
    {
        const int type = engine.bankSelectType.load();
        const int value = type == 1 ? seen->cc0 : type == 2 ? seen->cc32 : (seen->cc32 >= 0 ? seen->cc32 : seen->cc0);
        if (onProgramChannel && value >= 0 && value <= 2)
            b = value;
        else if (! onProgramChannel && value >= 0 && value <= 1)
            b = value + 3;
    }

    const double now = clock.nowMs();
    if (now < activationExpiryMs.load())
    {
        if (b == activationBank.load() && (p == activationStepSlot.load() || p == activationTargetSlot.load()))
        {
            queueLog ("Ignored echoed Orvo Program Change from loaded Program activation refresh: " + label (b, p) + ".\n");
            if (p == activationTargetSlot.load())
                activationExpiryMs = 0.0;
            return;
        }
    }
    else
        activationBank = -1;

    if (guardInForce())
    {
        appGuardActive = false;
        if (b == appBank.load() && p == appProgram.load())
        {
            queueLog ("Ignored echoed Orvo Program Change for app-selected " + label (b, p) + ".\n");
            return;
        }
        queueLog ("Accepted incoming Orvo Program Change as a hardware selection override: " + label (b, p) + ".\n");
    }
    reportedRefresh = b < 3;
    reportedBank = b;
    reportedProgram = p;
    queueLog ("Queued app Program selection from incoming Orvo Program Change: ch=" + std::to_string (channel)
              + " bank=" + std::to_string (b) + " program=" + text::threeDigits (p)
              + (b >= 3 ? ". No Program dump will be requested because Mix banks do not use the Program edit-buffer refresh"
                        : "")
              + "\n");
}

void ProgramSelector::applyReportedSelection (std::optional<Reported> fromGlobal)
{
    refreshBankNames(); // a loaded bank may have brought a new display name
    Reported fromChange;
    fromChange.bank = reportedBank.exchange (-1);
    fromChange.program = reportedProgram.exchange (-1);
    fromChange.refresh = reportedRefresh.exchange (false);
    for (const auto& r : { fromGlobal.value_or (Reported{}), fromChange })
    {
        if (r.bank < 0 || r.program < 0 || r.bank >= numBanks || r.program > 127)
            continue;
        if (guardInForce() && (r.bank != appBank.load() || r.program != appProgram.load()))
        {
            queueLog ("SYNC: ignored incoming Orvo selector update " + label (r.bank, r.program)
                                 + " because the app-selected bottom-bar program is "
                                 + label (appBank.load(), appProgram.load()) + ".\n");
            continue;
        }
        applySelection (r.bank, r.program, r.compare, r.refresh);
    }
}

void ProgramSelector::applySelection (int b, int p, bool compare, bool refresh)
{
    follow (b, p);
    queueLog ("SYNC: matched app to Orvo Global state: " + label (b, p) + ".\n\n");
    if (compare && startBankSync != nullptr)
        startBankSync (b);
    if (! refresh)
        return;
    if (b >= 3)
    {
        queueLog ("Skipped Orvo Program edit-buffer refresh for " + label (b, p)
                             + ": Mix banks do not use the Program edit-buffer refresh.\n");
        return;
    }
    const auto& log = engine.log();
    if (log.isMonitorVisible() && (log.midiInputMonitor.load() || log.midiOutputMonitor.load())
        && requestEditBufferRefresh != nullptr)
        engine.services().scheduler.callAfter (refreshDelayMs, [this] {
            if (requestEditBufferRefresh != nullptr)
                requestEditBufferRefresh ("incoming bank/program selection");
        });
}

void ProgramSelector::restoreAppSelection (const std::string& reason)
{
    const int b = appBank.load(), p = appProgram.load();
    if (! guardInForce() || b < 0 || b >= numBanks || p < 0 || p > 127 || (b == bank() && p == program()))
        return;
    engine.setSelection (b, p);
    changed();
    queueLog ("Restored bottom-bar Program selector to app-selected " + label (b, p) + " during " + reason
                         + ".\n");
}

void ProgramSelector::openActivationWindow (int b, int stepSlot, int targetSlot)
{
    activationBank = b;
    activationStepSlot = stepSlot;
    activationTargetSlot = targetSlot;
    activationExpiryMs = clock.nowMs() + activationWindowMs;
}

void ProgramSelector::sendSelection (const std::string& source)
{
    const int b = bank();
    const bool programBank = b < 3;
    const int channel = channelOrOne (programBank ? settings.programChannel : settings.mixChannel);
    const int bankByte = programBank ? b : b - 3;
    const int p = std::clamp (program(), 0, 127);

    // A selection of the editor's own replaces whatever the instrument reported before it.
    reportedBank = -1;
    reportedProgram = -1;
    reportedRefresh = false;
    appBank = b;
    appProgram = p;
    appGuardExpiryMs = clock.nowMs() + echoGuardMs;
    appGuardActive = true;

    if (!engine.hasOutput())
    {
        engine.log().append ("No MIDI output is open. Cannot send Orvo bank/program selection from " + source + ".\n");
        return;
    }
    sendSelectionMessages (channel, programBank, bankByte, p);
    const int type = engine.bankSelectType.load();
    modeKnown = true;
    engine.log().append (std::string ("Sent Orvo ") + (programBank ? "Program" : "Mix") + " select from " + source +
                         ": ch=" + std::to_string (channel) + " bank=" + std::to_string (bankByte) + " program=" +
                         text::threeDigits (p) + " bank-select-type=" + std::to_string (std::max (type, 0)) + ".\n");
}

void ProgramSelector::sendSelectionMessages (int channel, bool programBank, int bankByte, int p)
{
    const auto status = [channel] (int base) { return (std::uint8_t) (base + channel - 1); };
    const auto cc = [&] (int controller, int value) {
        engine.sendSysEx ({ status (0xB0), (std::uint8_t)controller, (std::uint8_t)std::clamp (value, 0, 127) });
    };
    engine.sendSysEx ({ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0D, (std::uint8_t) (programBank ? 0 : 1), 0xF7 });
    const int type = engine.bankSelectType.load();
    if (type == 1)
        cc (0, bankByte);
    else if (type == 2)
        cc (32, bankByte);
    else
    {
        cc (0, 0);
        cc (32, bankByte);
    }
    engine.sendSysEx ({ status (0xC0), (std::uint8_t)std::clamp (p, 0, 127) });
}

void ProgramSelector::clearReported()
{
    reportedBank = -1;
    reportedProgram = -1;
    reportedRefresh = false;
}

bool ProgramSelector::guardInForce() const
{
    return appGuardActive.load() && clock.nowMs() < appGuardExpiryMs.load();
}

std::string ProgramSelector::programNumberText() const
{
    return text::threeDigits (program());
}

std::string ProgramSelector::bankText() const
{
    return settings.bankDisplayName != nullptr ? settings.bankDisplayName (bank()) : std::to_string (bank());
}

std::string ProgramSelector::patchNameText (bool diagnosticMode) const
{
    if (!diagnosticMode && !modeKnown)
        return "MODE UNKNOWN - PLEASE SYNC";
    auto name = settings.slotName != nullptr ? settings.slotName (bank(), program()) : std::string();
    if (engine.isProgramUnread())
        name += (name.empty() ? "" : "  ") + std::string ("(NOT READ - PROGRAM SYNC)");
    return name;
}

std::optional<std::string> ProgramSelector::renameRefusal (bool diagnosticMode) const
{
    if (!diagnosticMode && !modeKnown.load())
        return "Initial Sync is required before renaming an Orvo Program.";
    if (bank() != 0)
        return "Only Programs in the USER bank can be renamed.";
    return std::nullopt;
}

std::string ProgramSelector::nameFieldTooltip (bool diagnosticMode) const
{
    if (!diagnosticMode && !modeKnown.load())
        return "Single-click to open Program Selection. Initial Sync is required before renaming.";
    return bank() == 0 ? "Single-click to open Program Selection. Double-click to rename this USER Program slot."
                       : "Single-click to open Program Selection. Only USER Program slots can be renamed.";
}

void ProgramSelector::changed()
{
    // Values the instrument sends while it loads the new Program are not the player's edits.
    engine.setSelectionSettle (EditorEngine::selectionSettleTicks);
    if (onSelectionChanged != nullptr)
        onSelectionChanged (bank(), program());
}

} // namespace orvo
