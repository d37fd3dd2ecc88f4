#include "BankSyncController.h"
#include "library/TagTable.h"

#include "library/AtomicFile.h"
#include "library/BankSyncWriter.h"
#include "library/TagHashExport.h"

namespace orvo
{

BankSyncController::BankSyncController (EditorEngine& e, SyncEngine& s, LibrarianController& l, ProgramSelector& p)
    : engine (e), sync (s), librarian (l), selector (p)
{
}

void BankSyncController::confirmBankSync()
{
    if (!engine.hasOutput())
    {
        log ("No MIDI output is open. Open the Orvo MIDI output before starting Bank Sync.\n");
        return;
    }
    const int bank = selector.bank();
    auto& prompts = engine.services().prompts;
    if (!LibrarianState::isProgramBank (bank))
    {
        prompts.showChoice ("Bank Sync",
                            "Bank Sync reads Orvo Program banks. Select USER, PRESET1, or PRESET2 before starting.",
                            { "OK" }, nullptr);
        return;
    }
    prompts.showChoice ("Bank Sync",
                        "Bank Sync will read all 128 Programs from the currently selected Orvo Program bank. This "
                        "may take a minute or two.",
                        { "START BANK SYNC", "CANCEL" },
                        [this, bank] (int choice)
                        {
                            if (choice == 0)
                                sync.startBankRequest (bank, SyncEngine::bankSyncMode);
                        });
}

void BankSyncController::confirmSystemSync()
{
    if (!engine.hasOutput())
    {
        log ("No MIDI output is open. Open the Orvo MIDI output before starting System Sync.\n");
        return;
    }
    engine.services().prompts.showChoice (
        "System Sync",
        "System Sync will read every Program in USER, PRESET1, and PRESET2 from the Orvo into the editor library. "
        "This may take several minutes.",
        { "START SYSTEM SYNC", "CANCEL" },
        [this] (int choice)
        {
            if (choice == 0)
                startSystemSync();
        });
}

void BankSyncController::startSystemSync()
{
    const auto backup = librarian.workingEnvironment().writeBeforeSyncBackup();
    if (!backup)
    {
        const std::string text = "System Sync could not save a local environment backup, so it was cancelled.";
        engine.services().prompts.showChoice ("System Sync", text, { "OK" }, nullptr);
        log (text + "\n");
        return;
    }
    log ("SYSTEM SYNC: saved current environment backup before syncing: " + backup->getFullPathName().toStdString()
         + "\n");
    runToken = std::make_shared<int> (0);
    systemIndex = 0;
    sync.setSystemSync (true, 0);
    (void)sync.takeSystemBankComplete();
    (void)sync.takeCompareNamesPending();
    log ("SYSTEM SYNC: starting Orvo Program bank sync for USER, PRESET1, and PRESET2.\n");
    sync.startBankRequest (0, SyncEngine::systemSyncMode);
}

void BankSyncController::startTagHashAcquisition (std::vector<int> banks, std::function<void (const BankReads&, bool)> done)
{
    runToken = std::make_shared<int> (0);
    tagBanks = std::move (banks);
    tagIndex = 0;
    tagReads.clear();
    tagDone = std::move (done);
    requestTagBank();
}

void BankSyncController::requestTagBank()
{
    sync.setTagExportProgress (tagIndex, (int)tagBanks.size());
    if (tagIndex < (int)tagBanks.size() && engine.hasOutput())
    {
        sync.startBankRequest (tagBanks[(size_t)tagIndex], SyncEngine::tagHashExportMode);
        return;
    }
    sync.finishBankModes();
    if (auto done = std::exchange (tagDone, nullptr))
        done (tagReads, false);
}

std::vector<ReceivedBankSlot> BankSyncController::receivedSlots() const
{
    const auto table = sync.bankSlots();
    std::vector<ReceivedBankSlot> slots;
    for (int i = 0; i < (int)table.slots.size(); ++i)
        if (const auto& s = table.slots[(size_t)i]; s.received)
            slots.push_back ({ i, s.name, s.dump });
    return slots;
}

void BankSyncController::compareNames()
{
    const int bank = sync.requestedBank();
    if (!LibrarianState::isValidBank (bank))
        return;
    const auto slots = receivedSlots();
    const auto& names = librarian.state().names;
    int differ = 0;
    for (const auto& s : slots)
        differ += s.name != names.name (bank, s.slot) ? 1 : 0;
    auto& prompts = engine.services().prompts;
    if (differ == 0)
    {
        prompts.showChoice ("Orvo Environment Check", "The current Orvo bank matches the loaded environment names.",
                            { "OK" }, nullptr);
        return;
    }
    prompts.showChoice ("Orvo Environment Differences",
                        "The current Orvo bank differs from the loaded environment.\n\n1 bank has differences: "
                            + sync.bankLabelOf (bank) + "\n" + std::to_string (differ) + " of "
                            + std::to_string (slots.size())
                            + " patches have mismatched names.\n\nYou can save a backup of the current environment "
                              "before syncing, sync without a backup, or cancel and leave the loaded environment "
                              "unchanged.",
                        { "SAVE CURRENT ENVIRONMENT AND SYNC", "SYNC WITHOUT SAVING", "CANCEL" },
                        [this] (int choice)
                        {
                            if (choice == 0 || choice == 1)
                                applyReceivedBank (choice == 0);
                        });
}

bool BankSyncController::applyReceivedBank (bool withBackup)
{
    const int bank = sync.requestedBank();
    if (bank < 0 || bank > 4)
        return false;
    auto& working = librarian.workingEnvironment();
    std::optional<juce::File> backup;
    if (withBackup)
    {
        backup = working.writeBeforeSyncBackup();
        if (!backup)
        {
            log ("SYNC: could not save a backup environment. Sync cancelled.\n\n");
            return false;
        }
    }
    auto& state = librarian.state();
    const auto slots = receivedSlots();
    // Known Programs arriving in untagged slots take their tags from the player's table.
    const auto tagTable = librarian.tagTable();
    int changed = 0;
    for (const auto& s : slots)
    {
        if (state.names.name (bank, s.slot) != s.name)
        {
            state.names.setName (bank, s.slot, s.name);
            ++changed;
        }
        if (LibrarianState::isProgramBank (bank))
        {
            auto& slot = state.slot (bank, s.slot);
            slot.programSysEx = s.dump;
            if (slot.tags.empty() && !tagTable.records.empty())
                slot.tags = tagTable.tagsFor (computeProgramDigests (s.dump));
        }
    }
    if (refreshViews)
        refreshViews();
    const auto& root = librarian.library();
    writeBankSyncResult (state, bank, slots, root.folder (LibraryRoot::Folder::programs),
                         root.folder (LibraryRoot::Folder::banks), juce::Time::getCurrentTime(),
                         [this] (const std::string& line) { log (line); });
    working.save();
    if (refreshViews)
        refreshViews();
    if (backup)
        log ("SYNC: saved current environment before syncing: " + backup->getFullPathName().toStdString() + "\n");
    log ("SYNC: updated " + std::to_string (changed) + " names in " + sync.bankLabelOf (bank)
         + " and saved the current environment.\n\n");
    return true;
}

void BankSyncController::systemBankDone()
{
    if (sync.requestedBank() < 3)
        applyReceivedBank (false);
    ++systemIndex;
    if (systemIndex < 3)
    {
        static const char* labels[] = { "USER", "PRESET1", "PRESET2" };
        log (std::string ("SYSTEM SYNC: requesting next Program bank: ") + labels[systemIndex] + ".\n");
        sync.setSystemSync (true, systemIndex);
        const std::weak_ptr<int> token = runToken;
        const int next = systemIndex;
        engine.services().scheduler.callAfter (betweenBanksMs, [this, token, next] {
            if (!token.expired() && sync.isSystemSyncActive())
                sync.startBankRequest (next, SyncEngine::systemSyncMode);
        });
        return;
    }
    sync.finishBankModes();
    log ("SYSTEM SYNC: complete. Synced USER, PRESET1, and PRESET2 Program banks from the Orvo.\n\n");
    if (refreshViews)
        refreshViews();
}

void BankSyncController::tagBankDone()
{
    if (tagIndex < (int)tagBanks.size())
        tagReads.emplace_back (tagBanks[(size_t)tagIndex], sync.bankSlots());
    ++tagIndex;
    if (tagIndex >= (int)tagBanks.size())
    {
        requestTagBank();
        return;
    }
    const std::weak_ptr<int> token = runToken;
    sync.setTagExportProgress (tagIndex, (int)tagBanks.size());
    engine.services().scheduler.callAfter (betweenBanksMs, [this, token] {
        if (!token.expired() && tagDone != nullptr)
            requestTagBank();
    });
}

void BankSyncController::tick()
{
    if (sync.cancelCount() != cancelsSeen)
    {
        // A cancel abandons whatever the run had scheduled.
        cancelsSeen = sync.cancelCount();
        runToken = std::make_shared<int> (0);
        // A cancelled export still writes what it has.
        if (auto done = std::exchange (tagDone, nullptr))
            done (tagReads, true);
    }
    auto& state = librarian.state();
    for (auto& d : sync.takeStoredDumps())
        if (LibrarianState::isProgramBank (d.bank))
            state.slot (d.bank, d.slot).programSysEx = std::move (d.dump);
    (void)sync.takeBankComplete();
    if (sync.takeCompareNamesPending())
        compareNames();
    if (sync.takeSystemBankComplete())
        systemBankDone();
    if (sync.takeTagBankComplete())
        tagBankDone();
}

void BankSyncController::startTagHashExport()
{
    auto& state = librarian.state();
    const int tagged = countExportableTaggedSlots (state);
    if (tagged == 0)
    {
        engine.services().prompts.showChoice ("Tag Hash Export",
                                              "No Programs have exportable tags. Assign one or more fixed tags other "
                                              "than FAVORITE or CUSTOM, then try again.",
                                              { "OK" }, nullptr);
        return;
    }
    log ("TAG HASH EXPORT: processing " + std::to_string (tagged) + " tagged Program slots.\n");
    startTagHashAcquisition (banksWithExportableTags (state),
                             [this] (const BankReads& reads, bool cancelled) { writeTagHashExport (reads, cancelled); });
}

void BankSyncController::writeTagHashExport (const BankReads& reads, bool cancelled)
{
    ReceivedBanks received;
    for (const auto& [bank, table] : reads)
        for (int slot = 0; slot < (int)table.slots.size(); ++slot)
            if (table.slots[(size_t)slot].received)
                received[bank][slot] = table.slots[(size_t)slot].dump;
    const auto now = juce::Time::getCurrentTime();
    const auto result = buildTagHashExport (librarian.state(), received, ORVO_VERSION, now);
    const auto folder = librarian.library().folder (LibraryRoot::Folder::tagHashFiles);
    (void)folder.createDirectory();
    const auto file = folder.getChildFile ("Orvo-Tag-Hashes-" + now.formatted ("%Y%m%d-%H%M%S") + ".json")
                          .getNonexistentSibling();
    const auto path = file.getFullPathName().toStdString();
    auto& prompts = engine.services().prompts;
    if (! writeFileAtomically (file, result.text))
    {
        prompts.showChoice ("Tag Hash Export",
                            "The tag hash file could not be written to the Orvo Editor storage folder.\n\nAttempted "
                            "location:\n" + path,
                            { "OK" }, nullptr);
        log ("TAG HASH EXPORT: could not write " + path + ".\n");
        return;
    }
    log ("TAG HASH EXPORT: saved " + std::to_string (result.records) + " unique Program records to " + path + ".\n");
    prompts.showChoice ("Tag Hash Export", tagHashExportMessage (result, cancelled), { "OK" }, nullptr);
}

} // namespace orvo
