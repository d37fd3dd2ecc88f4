#include "TransferController.h"

#include "data/ProgramLayout.h"
#include "data/ProgramRebuild.h"
#include "library/ProgramDigests.h"
#include "model/TextMatching.h"

namespace orvo
{
namespace
{
constexpr std::size_t storedDumpLength = 2350;

std::string nameNeutralDigest (const ByteVector& dump)
{
    return computeProgramDigests (dump).nameNeutralPayloadSha256;
}
} // namespace

TransferController::TransferController (EditorEngine& e, SyncEngine& s, ProgramSelector& p, LibrarianController& l)
    : engine (e), sync (s), selector (p), librarian (l)
{
    overlayState.title = "Sending Bank to Orvo";
}

void TransferController::pace (int ms, std::function<void()> fn)
{
    const std::weak_ptr<int> token = alive;
    engine.services().scheduler.callAfter (ms, [token, fn = std::move (fn)] {
        if (! token.expired())
            fn();
    });
}

std::string TransferController::slotLabel (int bank, int slot) const
{
    return librarian.state().bankDisplayName (bank) + " " + text::threeDigits (slot);
}

void TransferController::show (const std::string& text, double fraction, bool bar)
{
    overlayState.visible = true;
    overlayState.barVisible = bar;
    overlayState.text = text;
    overlayState.fraction = fraction;
}

void TransferController::cacheSent (int bank, int slot, const ByteVector& dump)
{
    if (LibrarianState::isProgramBank (bank) && LibrarianState::isValidSlot (slot))
        librarian.state().slot (bank, slot).programSysEx = dump;
}

//==============================================================================
void TransferController::sendLoadedProgram()
{
    if (! engine.hasOutput())
        return log ("No MIDI output is open. Open the Orvo MIDI output before sending the loaded Program dump.\n");
    if (selector.bank() != 0)
    {
        engine.services().prompts.showChoice (
            "Transfer Loaded Program",
            "Select the USER bank before sending a loaded Program SysEx dump. The Orvo can receive stored Program dumps "
            "into USER locations; this transfer uses the currently selected USER Program number.",
            { "OK" }, nullptr);
        return;
    }
    auto& flows = librarian.programFlows();
    const auto loaded = flows.currentProgramSysEx();
    if (loaded.empty())
        return log ("No loaded Program SysEx dump is available to send to the Orvo.\n");
    const int slot = selector.program();
    const auto rebuilt = rebuildStoredProgramDump (loaded, 0, slot);
    if (! rebuilt)
        return log ("Loaded Program SysEx dump was not sent: " + rebuilt.error + "\n");

    selector.sendSelection ("loaded Program transfer");
    log ("Selected Orvo USER " + text::threeDigits (slot) + " before sending loaded Program SysEx dump.\n");
    pace (selectToSendMs, [this, slot, dump = rebuilt.message] {
        if (! engine.hasOutput())
            return log ("Loaded Program SysEx dump was not sent because the MIDI output was closed.\n");
        if (dump.size() != storedDumpLength)
            return log ("Loaded Program SysEx dump was not sent because the rebuilt transfer message is invalid.\n");
        engine.sendSysEx (dump);
        librarian.programFlows().setCurrentProgramSysEx (dump);
        cacheSent (0, slot, dump);
        log ("Sent loaded Program SysEx dump to Orvo USER " + text::threeDigits (slot)
             + ": 2350 bytes, opcode 00, bank 0. A delayed Program Change refresh will reload the transferred slot on "
               "the Orvo.\n");
        scheduleActivationRefresh ("loaded Program", 0, slot, true, [this, slot, dump] {
            if (! verifyWrites)
                return;
            pendingCheck = PendingCheck{ slot, dump };
            sync.requestEditBufferRefresh ("to verify the transferred Program");
        });
    });
}

//==============================================================================
void TransferController::scheduleActivationRefresh (const std::string& label, int bank, int slot, bool checkSelection,
                                                    std::function<void()> then)
{
    pace (activationDelayMs, [=, then = std::move (then)] {
        if (! engine.hasOutput())
            return log ("Skipped " + label + " activation refresh because the MIDI output was closed.\n");
        if (checkSelection && (selector.bank() != bank || selector.program() != slot))
            return log ("Skipped " + label + " activation refresh because the editor selection changed after transfer.\n");
        const int stepSlot = slot == 0 ? 1 : slot - 1;
        const int b = std::clamp (bank, 0, 2);
        selector.clearReported();
        selector.openActivationWindow (b, stepSlot, slot);
        const int channel = selector.selectChannel (true);
        selector.sendSelectionMessages (channel, true, b, stepSlot);
        pace (activationReturnMs, [=] {
            if (! engine.hasOutput())
                return log (label + " activation refresh could not return to the target slot because the MIDI output was closed.\n");
            engine.sendSysEx ({ (std::uint8_t)(0xC0 + channel - 1), (std::uint8_t)slot });
            log ("Activated " + label + " on Orvo " + slotLabel (b, slot) + " by briefly selecting "
                 + text::threeDigits (stepSlot) + " and returning to the transferred slot.\n");
            if (then)
                then();
        });
    });
}

//==============================================================================
void TransferController::startBankTransfer (int targetBank, const std::vector<std::pair<int, ByteVector>>& dumps)
{
    if (! engine.hasOutput())
        return log ("No MIDI output is open. Open the Orvo MIDI output before transferring a loaded Bank.\n");
    std::vector<Entry> prepared;
    std::string missing, invalid;
    for (int slot = 0; slot < 128; ++slot)
    {
        const auto it = std::find_if (dumps.begin(), dumps.end(), [slot] (const auto& d) { return d.first == slot && ! d.second.empty(); });
        if (it == dumps.end())
        {
            missing += (missing.empty() ? "" : ", ") + std::to_string (slot);
            continue;
        }
        auto rebuilt = rebuildStoredProgramDump (it->second, targetBank, slot);
        if (! rebuilt)
            invalid += (invalid.empty() ? "" : ", ") + std::to_string (slot);
        else
            prepared.push_back ({ slot, std::move (rebuilt.message) });
    }
    if (! missing.empty() || ! invalid.empty())
    {
        // A bank is never sent in part.
        engine.services().prompts.showChoice (
            "Transfer Loaded Bank",
            "Loaded Bank transfer to Orvo cancelled: The loaded Bank cannot be transferred because it does not contain "
            "128 valid Orvo Program SysEx dumps."
                + (missing.empty() ? std::string() : "\n\nMissing Program dumps: " + missing)
                + (invalid.empty() ? std::string() : "\nInvalid Program dumps: " + invalid),
            { "OK" }, nullptr);
        return;
    }
    engine.sendSysEx ({ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0D, 0x00, 0xF7 });
    const auto name = librarian.state().bankDisplayName (targetBank);
    log ("Starting loaded Bank transfer to Orvo " + name
         + ": 128 Program dumps. Keep Orvo SysEx receive enabled; transfer will take about two minutes.\n");
    sendEntries (targetBank, std::move (prepared), "Preparing 128 Program dumps for " + name + "...");
}

void TransferController::sendEntries (int targetBank, std::vector<Entry> list, const std::string& firstText)
{
    target = targetBank;
    targetName = librarian.state().bankDisplayName (targetBank);
    entries = std::move (list);
    sent = 0;
    running = true;
    outcome = {};
    const auto id = ++transferId;
    show (firstText, 0.0);
    pace (beforeFirstDumpMs, [this, id] { step (id, 0); });
}

void TransferController::step (std::uint32_t id, size_t index)
{
    if (id != transferId)
        return;
    if (! engine.hasOutput())
    {
        running = false;
        outcome.stopped = true;
        log ("Loaded Bank transfer to Orvo stopped because the MIDI output was closed.\n");
        show ("Transfer stopped: the MIDI output was closed.", (double)sent / 128.0, false);
        return pace (closeAfterStopMs, [this] { overlayState.visible = running; });
    }
    if (index >= entries.size() || entries[index].dump.empty())
    {
        running = false;
        outcome.stopped = true;
        log ("Loaded Bank transfer to Orvo stopped because a Program dump was empty.\n");
        show ("Transfer stopped: a Program dump was empty.", (double)sent / 128.0, false);
        return pace (closeAfterStopMs, [this] { overlayState.visible = running; });
    }
    engine.sendSysEx (entries[index].dump);
    cacheSent (target, entries[index].slot, entries[index].dump);
    outcome.sent = (int)++sent;
    show ("Sending Program " + std::to_string (index + 1) + " of " + std::to_string (entries.size()) + " to " + targetName
              + "...",
          std::min ((double)(index + 1) / (double)entries.size(), 0.99));
    if (index + 1 < entries.size())
        pace (betweenDumpsMs, [this, id, index] { step (id, index + 1); });
    else
        finishBank (false);
}

void TransferController::cancelBankTransfer()
{
    if (! running)
        return;
    ++transferId;
    outcome.stopped = true;
    show ("Bank transfer cancelled.", (double)sent / 128.0, false);
    pace (closeAfterStopMs, [this] { overlayState.visible = running; });
    log ("Loaded Bank transfer to Orvo cancelled by user.\n");
    finishBank (true);
}

void TransferController::finishBank (bool cancelled)
{
    running = false;
    if (! cancelled)
    {
        log ("Loaded Bank transfer to Orvo " + targetName + ": sent " + std::to_string (sent) + " Program dumps.\n"
             + targetName + " complete.\n");
        show ("Bank transfer complete: sent " + std::to_string (sent) + " of " + std::to_string (entries.size())
                  + " Programs.",
              1.0, false);
    }
    const int slot = selector.bank() == target ? selector.program() : entries.empty() ? 0 : entries.front().slot;
    const bool verify = verifyWrites && ! cancelled;
    scheduleActivationRefresh ("loaded Bank", target, slot, false, [this, verify] {
        overlayState.visible = false;
        outcome.activated = true;
        if (verify)
        {
            verifyingBank = true;
            sync.startBankRequest (target, SyncEngine::verifyMode);
        }
    });
}

void TransferController::tick()
{
    if (verifyingBank && sync.takeVerifyBankComplete())
    {
        verifyingBank = false;
        compareBank();
    }
}

void TransferController::compareBank()
{
    const auto table = sync.bankSlots();
    std::vector<Entry> differing;
    std::string list;
    outcome.differing.emplace();
    for (const auto& e : entries)
    {
        const auto& back = table.slots[(size_t)e.slot];
        if (back.received && nameNeutralDigest (back.dump) == nameNeutralDigest (e.dump))
            continue;
        differing.push_back (e);
        outcome.differing->push_back (e.slot);
        list += (list.empty() ? "" : ", ") + text::threeDigits (e.slot) + (back.received ? "" : " (not read back)");
    }
    if (differing.empty())
        return log ("VERIFY: loaded Bank on Orvo " + targetName + ": all " + std::to_string (entries.size())
                    + " Programs read back as sent (verified).\n\n");
    log ("VERIFY: loaded Bank on Orvo " + targetName + ": " + std::to_string (differing.size()) + " of "
         + std::to_string (entries.size()) + " Programs differ from what was sent: " + list + ".\n\n");
    offerResend (differing, target);
}

void TransferController::offerResend (const std::vector<Entry>& differing, int bank)
{
    std::string slots;
    for (const auto& e : differing)
        slots += (slots.empty() ? "" : ", ") + slotLabel (bank, e.slot);
    engine.services().prompts.showChoice (
        "Transfer Verification",
        std::to_string (differing.size()) + (differing.size() == 1 ? " Program" : " Programs")
            + " on the Orvo did not read back as sent: " + slots
            + ".\n\nSend again to write them a second time, or leave the Orvo as it is.",
        { "SEND AGAIN", "NOT NOW" },
        [this, differing, bank] (int choice)
        {
            if (choice != 0)
                return log ("VERIFY: the differing Programs were not sent again.\n");
            log ("VERIFY: sending " + std::to_string (differing.size()) + " Programs to Orvo "
                 + librarian.state().bankDisplayName (bank) + " again.\n");
            sendEntries (bank, differing, "Sending " + std::to_string (differing.size()) + " Programs again...");
        });
}

//==============================================================================
void TransferController::renameProgram (int bank, int slot, const std::string& newName)
{
    auto& state = librarian.state();
    const auto oldName = state.names.name (bank, slot);
    state.names.setName (bank, slot, newName);
    bool cacheUpdated = false;
    if (auto& cached = state.slot (bank, slot).programSysEx; LibrarianState::isProgramBank (bank) && ! cached.empty())
    {
        auto unpacked = unpackProgramDump (cached);
        if (writeProgramName (unpacked, newName))
            if (auto rebuilt = rebuildWithEdits (cached, unpacked))
            {
                cached = std::move (rebuilt.message);
                cacheUpdated = true;
            }
    }
    if (librarian.refreshViews)
        librarian.refreshViews();
    librarian.workingEnvironment().save();
    log ("Renamed " + oldName + " to " + newName + (cacheUpdated ? " and updated cached Program SysEx name" : "") + ".\n");

    if (bank != 0)
        return log ("Program name was saved locally but not sent to Orvo because stored Program name writes are only "
                    "supported for USER slots.\n");
    if (! engine.hasOutput())
        return log ("Program name was not sent to Orvo because no MIDI output is open.\n");
    pendingRename = PendingRename{ bank, slot, newName, engine.services().clock.nowMs() };
    sync.requestEditBufferRefresh ("before sending renamed Program name");
}

void TransferController::editBufferArrived (const ByteVector& dump)
{
    if (pendingCheck)
    {
        const auto check = *std::exchange (pendingCheck, std::nullopt);
        const auto label = slotLabel (0, check.slot);
        if (nameNeutralDigest (dump) == nameNeutralDigest (check.dump))
            log ("VERIFY: " + label + " read back as sent (verified).\n");
        else
        {
            log ("VERIFY: " + label + " differs from what was sent.\n");
            entries = { { check.slot, check.dump } };
            offerResend (entries, 0);
        }
        return;
    }
    if (! pendingRename)
        return;
    const auto rename = *std::exchange (pendingRename, std::nullopt);
    if (engine.services().clock.nowMs() - rename.requestMs > renameReplyWindowMs)
        return log ("Skipped Program name send to Orvo because the edit-buffer response arrived too late.\n");
    if (rename.bank != 0)
        return log ("Program name was not sent to Orvo because stored Program name writes are only supported for USER slots.\n");
    if (selector.bank() != rename.bank || selector.program() != rename.slot)
        return log ("Skipped Program name send to Orvo because the selected Program changed before the edit buffer arrived.\n");
    auto unpacked = unpackProgramDump (dump);
    if (! writeProgramName (unpacked, rename.name))
        return log ("Program name was not sent to Orvo because the edit-buffer name bytes could not be updated.\n");
    const auto stored = buildProgramDump (unpacked, sysex::opStoredProgram, 0, rename.slot);
    if (stored.size() != storedDumpLength)
        return log ("Program name was not sent to Orvo because the stored Program SysEx could not be rebuilt.\n");
    cacheSent (0, rename.slot, stored);
    const auto slotText = text::threeDigits (rename.slot);
    log ("Prepared renamed Program dump for Orvo USER slot: " + slotText + ".\n");
    if (! engine.hasOutput())
        return log ("Program name was not sent to Orvo because no MIDI output is open.\n");
    selector.sendSelection ("renamed Program");
    log ("Selected Orvo USER " + slotText + " before sending renamed Program dump.\n");
    pace (selectToSendMs, [this, rename, stored, slotText] {
        if (! engine.hasOutput())
            return log ("Renamed Program dump was not sent because the MIDI output was closed.\n");
        engine.sendSysEx (stored);
        log ("Sent renamed Program dump to Orvo USER " + slotText + " as " + rename.name
             + ". A delayed Program Change refresh will reload the renamed slot on the Orvo.\n");
        scheduleActivationRefresh ("renamed Program", 0, rename.slot, true, [this, rename, stored] {
            if (! verifyWrites)
                return;
            pendingCheck = PendingCheck{ rename.slot, stored };
            sync.requestEditBufferRefresh ("to verify the renamed Program");
        });
    });
}

} // namespace orvo
