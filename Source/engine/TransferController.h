#pragma once

#include "EditorEngine.h"
#include "LibrarianController.h"
#include "ProgramSelector.h"
#include "sync/SyncEngine.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** Writes to the instrument: a loaded Program into the selected USER slot, a loaded bank into a Program
    bank (paced, with progress and cancel), a renamed Program, and the activation refresh that makes
    the instrument reload what was written. After a transfer the written slots are read back and their
    name-neutral digests compared with what was sent; a slot that differs is offered again. Message
    thread only; every wait goes through the engine's scheduler. */
class TransferController
{
public:
    static constexpr int selectToSendMs = 220;
    static constexpr int beforeFirstDumpMs = 100;
    static constexpr int betweenDumpsMs = 900;
    static constexpr int activationDelayMs = 1800;
    static constexpr int activationReturnMs = 260;
    static constexpr int activationWindowMs = 4500;
    static constexpr int renameReplyWindowMs = 5000;
    static constexpr int closeAfterStopMs = 2500; // how long a stopped transfer's last words stay on screen

    TransferController (EditorEngine& engine, SyncEngine& sync, ProgramSelector& selector, LibrarianController& librarian);

    /** "SEND TO USER SLOT": the loaded Program's dump into the selected USER slot. */
    void sendLoadedProgram();
    /** A loaded bank's dumps (slot, dump) into Program bank 0..2; all 128 must be valid. */
    void startBankTransfer (int targetBank, const std::vector<std::pair<int, ByteVector>>& dumps);
    void cancelBankTransfer();
    bool isBankTransferRunning() const { return running; }

    /** The bottom bar's rename: local name and cached dump first, then the instrument's USER slot. */
    void renameProgram (int bank, int slot, const std::string& newName);

    /** Read back and compare after each transfer (the "verifyTransfers" setting). */
    bool verifyWrites = true;

    /** How the last bank transfer ended, for tools that run one without a window. */
    struct BankOutcome
    {
        int sent = 0;
        bool stopped = false;   // the output closed, a dump was empty, or it was cancelled
        bool activated = false; // the activation refresh ran (the read-back, if any, has started)
        std::optional<std::vector<int>> differing; // after the read-back: the slots that differ (empty: verified)
    };
    const BankOutcome& lastBank() const { return outcome; }

    /** The progress overlay of a bank transfer ("Sending Bank to Orvo"). */
    const SyncEngine::Overlay& overlay() const { return overlayState; }

    /** An edit buffer arrived (before it is applied): a pending rename or Program check takes it. */
    void editBufferArrived (const ByteVector& dump);
    /** The timer's step: a finished read-back of a bank is compared. */
    void tick();

private:
    struct Entry
    {
        int slot = 0;
        ByteVector dump; // the stored dump as sent
    };
    void scheduleActivationRefresh (const std::string& label, int bank, int slot, bool checkSelection,
                                    std::function<void()> then);
    void sendEntries (int targetBank, std::vector<Entry> entries, const std::string& label);
    void step (std::uint32_t id, size_t index);
    void finishBank (bool cancelled);
    void compareBank();
    void offerResend (const std::vector<Entry>& differing, int bank);
    void show (const std::string& text, double fraction, bool bar = true);
    void log (const std::string& line) { engine.log().append (line); }
    std::string slotLabel (int bank, int slot) const;
    void cacheSent (int bank, int slot, const ByteVector& dump);
    void pace (int ms, std::function<void()> fn);

    EditorEngine& engine;
    SyncEngine& sync;
    ProgramSelector& selector;
    LibrarianController& librarian;
    SyncEngine::Overlay overlayState;

    // The bank transfer.
    std::uint32_t transferId = 0;
    bool running = false;
    int target = 0;
    std::string targetName;
    std::vector<Entry> entries;
    size_t sent = 0;
    bool verifyingBank = false;
    BankOutcome outcome;

    struct PendingRename
    {
        int bank = 0, slot = 0;
        std::string name;
        double requestMs = 0.0;
    };
    std::optional<PendingRename> pendingRename;
    struct PendingCheck
    {
        int slot = 0;
        ByteVector dump;
    };
    std::optional<PendingCheck> pendingCheck;
    std::shared_ptr<int> alive = std::make_shared<int> (0);
};

} // namespace orvo
