#pragma once

#include "EditorEngine.h"
#include "LibrarianController.h"
#include "ProgramSelector.h"
#include "library/BankSyncWriter.h"
#include "sync/SyncEngine.h"

#include <functional>
#include <vector>

namespace orvo
{

/** BANK SYNC, SYSTEM SYNC and the tag hash export's acquisition: the questions before they start, the
    name comparison after a bank, applying a received bank to the librarian (backup, names, Program
    and Bank documents) and the pacing between banks. The sync engine does the requests and the
    receiving; this class runs on the message thread from the timer tick. */
class BankSyncController
{
public:
    static constexpr int betweenBanksMs = 350;

    BankSyncController (EditorEngine& engine, SyncEngine& sync, LibrarianController& librarian,
                        ProgramSelector& selector);

    /** The Sync menu's commands. */
    void confirmBankSync();
    void confirmSystemSync();
    /** SYSTEM SYNC after its question: the backup, then USER, PRESET1 and PRESET2 in turn. */
    void startSystemSync();

    /** The tag hash export's reading of `banks`; `done` gets every bank's slots read (a bank that
        timed out has only what arrived) once the list is finished, or the banks finished before a
        cancel (with `cancelled` set). */
    using BankReads = std::vector<std::pair<int, BankSlotTable>>;
    void startTagHashAcquisition (std::vector<int> banks, std::function<void (const BankReads&, bool cancelled)> done);

    /** "CREATE TAG HASH FILE": reads the banks that hold tagged slots and writes the export file. */
    void startTagHashExport();

    /** Applies the bank just read to the librarian; false when the backup asked for failed. */
    bool applyReceivedBank (bool withBackup);

    /** The timer's step: caches claimed dumps, compares names, moves SYSTEM SYNC and the export on. */
    void tick();

    /** The name displays and pages need a refresh (names changed, a bank was applied). */
    std::function<void()> refreshViews;

private:
    void compareNames();
    void systemBankDone();
    void tagBankDone();
    void requestTagBank();
    void log (const std::string& line) { engine.log().append (line); }
    std::vector<ReceivedBankSlot> receivedSlots() const;

    EditorEngine& engine;
    SyncEngine& sync;
    LibrarianController& librarian;
    ProgramSelector& selector;

    int systemIndex = 0;
    std::vector<int> tagBanks;
    int tagIndex = 0;
    BankReads tagReads;
    std::function<void (const BankReads&, bool)> tagDone;
    void writeTagHashExport (const BankReads& reads, bool cancelled);
    /** Bumped by a new start or a cancel, so a delayed request of an abandoned run does nothing. */
    std::uint32_t cancelsSeen = 0;
    std::shared_ptr<int> runToken = std::make_shared<int> (0);
};

} // namespace orvo
