#include "HeadlessFixture.h"
#include "data/ProgramLayout.h"
#include "engine/InstrumentBackup.h"
#include "library/ProgramDigests.h"
#include "library/JsonText.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
struct BankSync : test::HeadlessFixture
{
    SyncEngine& sync = editor->session().sync().sync();
    BankSyncController& banks = editor->session().bankSync();
    LibrarianState& state = editor->librarian().state();

    BankSync() { editor->connect (false); }

    juce::File folder (LibraryRoot::Folder f) { return editor->librarian().library().folder (f); }
    int filesIn (LibraryRoot::Folder f, const juce::String& pattern)
    {
        return folder (f).getNumberOfChildFiles (juce::File::findFiles, pattern);
    }
    /** BANK SYNC of the selected bank, the comparison answered with `answer` (-1: no answer queued). */
    void runBankSync (int answer)
    {
        editor->prompts.answers = { 0 };
        if (answer >= 0)
            editor->prompts.answers.push_back (answer);
        editor->prompts.shown.clear();
        banks.confirmBankSync();
        editor->settle (20);
    }
    std::string nameInInstrument (int bank, int slot) { return readProgramName (instrument.storedProgram (bank, slot)); }
    void settleUntil (const std::function<bool()>& done)
    {
        for (int i = 0; i < 20000 && ! done(); ++i)
            editor->settle (1);
        ASSERT_TRUE (done());
    }
};
} // namespace

TEST_F (BankSync, ComparesNamesAndAppliesTheBankWithItsDocuments)
{
    runBankSync (1); // SYNC WITHOUT SAVING: the environment starts empty, so every name differs
    ASSERT_EQ (editor->prompts.shown.size(), 2u);
    EXPECT_EQ (editor->prompts.shown[1].title, "Orvo Environment Differences");
    for (int slot : { 0, 63, 127 })
    {
        EXPECT_EQ (state.names.name (0, slot), nameInInstrument (0, slot));
        EXPECT_FALSE (state.slot (0, slot).programSysEx.empty());
    }
    EXPECT_TRUE (logContains ("BANK SYNC: received all 128 Program dumps for current bank. Comparing names with the loaded environment.\n\n"));
    EXPECT_TRUE (logContains ("SYNC: updated 128 names in USER and saved the current environment.\n\n"));
    EXPECT_FALSE (logContains ("SYNC: saved current environment before syncing"));
    const int programs = filesIn (LibraryRoot::Folder::programs, "*.orvop");
    EXPECT_GT (programs, 100);
    ASSERT_EQ (filesIn (LibraryRoot::Folder::banks, "*.orvob"), 1);

    // The Bank document names a Program document for every slot, and each of those loads.
    const auto bankFile = folder (LibraryRoot::Folder::banks).findChildFiles (juce::File::findFiles, false, "*.orvob")[0];
    juce::var bankDoc;
    ASSERT_TRUE (parseJsonFile (bankFile, bankDoc).wasOk());
    EXPECT_EQ (bankDoc["source"].toString(), "orvo-bank-sync");
    int collisions = 0;
    for (const auto& entry : *bankDoc["slots"].getArray())
    {
        const auto file = folder (LibraryRoot::Folder::programs).getChildFile (entry["programFile"].toString());
        ASSERT_TRUE (file.existsAsFile()) << entry["programFile"].toString();
        collisions += entry.hasProperty ("nameCollision") ? 1 : 0;
    }
    EXPECT_EQ (programs + collisions, 128);
    if (collisions > 0)
    {
        EXPECT_TRUE (logContains ("and skipped " + std::to_string (collisions) + " duplicate incoming Program names.\n"));
    }

    // Every name equal: the check message, and nothing is written.
    runBankSync (-1);
    ASSERT_EQ (editor->prompts.shown.size(), 2u);
    EXPECT_EQ (editor->prompts.shown[1].title, "Orvo Environment Check");
    EXPECT_EQ (filesIn (LibraryRoot::Folder::banks, "*.orvob"), 1);

    // Three renamed slots: the differences, then the bank applied after a backup; a second sync
    // replaces its own Program documents instead of adding numbered copies.
    for (int slot : { 4, 50, 99 })
        state.names.setName (0, slot, "RENAMED " + std::to_string (slot));
    runBankSync (0);
    ASSERT_EQ (editor->prompts.shown.size(), 2u);
    EXPECT_NE (editor->prompts.shown[1].message.find ("1 bank has differences: USER\n3 of 128 patches have mismatched names."),
               std::string::npos);
    EXPECT_EQ (state.names.name (0, 50), nameInInstrument (0, 50));
    EXPECT_EQ (filesIn (LibraryRoot::Folder::environments, "Before Orvo Sync *.orvox"), 1);
    EXPECT_TRUE (logContains ("SYNC: saved current environment before syncing: "));
    EXPECT_TRUE (logContains ("SYNC: updated 3 names in USER and saved the current environment.\n\n"));
    EXPECT_EQ (filesIn (LibraryRoot::Folder::programs, "*.orvop"), programs);
}

TEST_F (BankSync, ApplyingIsRefusedWhenItsBackupCannotBeWritten)
{
    runBankSync (2); // CANCEL: nothing changes
    EXPECT_EQ (state.names.name (0, 0), "");
    EXPECT_EQ (filesIn (LibraryRoot::Folder::programs, "*.orvop"), 0);

    // A file where the Environments folder should be: no backup can be written, even by root.
    const auto environments = folder (LibraryRoot::Folder::environments);
    ASSERT_TRUE (environments.deleteRecursively());
    ASSERT_TRUE (environments.replaceWithText ("in the way"));
    EXPECT_FALSE (banks.applyReceivedBank (true));
    EXPECT_TRUE (logContains ("SYNC: could not save a backup environment. Sync cancelled.\n\n"));
    EXPECT_EQ (state.names.name (0, 0), "");
    editor->prompts.answers = { 0 };
    banks.confirmSystemSync();
    EXPECT_EQ (editor->prompts.shown.back().message, "System Sync could not save a local environment backup, so it was cancelled.");
    EXPECT_FALSE (sync.isActive()) << "no request was sent";
}

TEST_F (BankSync, SystemSyncCancelledInTheSecondBankIgnoresLateDumps)
{
    instrument.setWireRate (true, &editor->time, &editor->time);
    editor->prompts.answers = { 0 };
    banks.confirmSystemSync();
    EXPECT_TRUE (logContains ("SYSTEM SYNC: starting Orvo Program bank sync for USER, PRESET1, and PRESET2.\n"));
    settleUntil ([&] { return sync.requestedBank() == 1 && sync.receivedCount() >= 40; });
    EXPECT_TRUE (logContains ("SYSTEM SYNC: requesting next Program bank: PRESET1.\n"));
    EXPECT_EQ (sync.overlay().text, "System Sync 2 of 3: PRESET1 40 of 128 patches...");
    EXPECT_NEAR (sync.overlay().fraction, (1 + 40 / 128.0) / 3, 1e-9);
    EXPECT_EQ (state.names.name (0, 0), nameInInstrument (0, 0)) << "USER was applied";

    sync.cancelSync();
    EXPECT_TRUE (logContains ("SYSTEM SYNC: cancelled by user after receiving 40 of 128 Programs in the current bank. "
                              "Late Orvo responses will be ignored.\n\n"));
    const int answered = instrument.requestsAnswered();
    editor->time.advance (200000);
    editor->settle (40);
    EXPECT_EQ (state.names.name (1, 0), "") << "late PRESET1 dumps change nothing";
    EXPECT_EQ (instrument.requestsAnswered(), answered) << "no PRESET2 request";
    EXPECT_EQ (filesIn (LibraryRoot::Folder::banks, "*.orvob"), 1);
    EXPECT_FALSE (sync.isActive());
}

TEST_F (BankSync, SystemSyncReadsTheThreeBanks)
{
    editor->prompts.answers = { 0 };
    banks.confirmSystemSync();
    editor->settle (60);
    EXPECT_TRUE (logContains ("SYSTEM SYNC: complete. Synced USER, PRESET1, and PRESET2 Program banks from the Orvo.\n\n"));
    for (int bank = 0; bank < 3; ++bank)
        EXPECT_EQ (state.names.name (bank, 77), nameInInstrument (bank, 77));
    EXPECT_EQ (filesIn (LibraryRoot::Folder::banks, "*.orvob"), 3);
    EXPECT_EQ (filesIn (LibraryRoot::Folder::environments, "Before Orvo Sync *.orvox"), 1);
}

TEST_F (BankSync, IncompleteAndForeignBanksClaimNothingWrongly)
{
    instrument.setFaults ({ false, 0, 100, false });
    editor->prompts.answers = { 0 };
    banks.confirmBankSync();
    editor->settle (20);
    EXPECT_EQ (sync.receivedCount(), 100);
    EXPECT_EQ (sync.overlay().text, "Receiving current Program bank: 100 of 128 patches...");

    // A dump of another bank, and one whose slot byte is out of range, are not claimed.
    engine.setMidiInputMonitor (true);
    auto foreign = buildProgramDump (instrument.storedProgram (1, 110), sysex::opStoredProgram, 1, 110);
    engine.handleIncomingMidi (foreign.data(), foreign.size());
    auto broken = buildProgramDump (instrument.storedProgram (0, 120), sysex::opStoredProgram, 0, 120);
    broken[7] = 0x80 | 120;
    engine.handleIncomingMidi (broken.data(), broken.size());
    editor->settle (2);
    EXPECT_EQ (sync.receivedCount(), 100);
    EXPECT_TRUE (logContains ("Orvo=yes opcode=0x00 sub=0x01"));

    sync.cancelSync();
    EXPECT_TRUE (logContains ("BANK SYNC: cancelled by user after receiving 100 of 128 Programs in the current bank. "
                              "Late Orvo responses will be ignored.\n\n"));
    EXPECT_EQ (state.names.name (0, 0), "");
    EXPECT_EQ (filesIn (LibraryRoot::Folder::programs, "*.orvop"), 0);
}

TEST_F (BankSync, TagHashBankTimesOutAndTheListGoesOn)
{
    instrument.setFaults ({ false, 0, 5, false });
    std::vector<std::pair<int, int>> got;
    banks.startTagHashAcquisition ({ 0, 2 }, [&] (const BankSyncController::BankReads& reads, bool) {
        for (const auto& [bank, table] : reads)
            got.emplace_back (bank, table.receivedCount());
    });
    editor->settle (3);
    EXPECT_EQ (sync.overlay().text, "Creating tag hash file: bank 1 of 2, 5 of 128 Programs...");
    editor->time.advance (SyncEngine::tagBankTimeoutMs - 200);
    editor->settle (1);
    EXPECT_FALSE (logContains ("TAG HASH EXPORT: timed out"));
    editor->time.advance (200);
    editor->settle (20);
    EXPECT_TRUE (logContains ("TAG HASH EXPORT: timed out after receiving 5 of 128 Programs from bank 0; continuing automatically.\n"));
    editor->time.advance (SyncEngine::tagBankTimeoutMs);
    editor->settle (20);
    EXPECT_EQ (got, (std::vector<std::pair<int, int>>{ { 0, 5 }, { 2, 5 } }));
}

TEST_F (BankSync, TagHashExportWritesTheDigestsOfTaggedProgramsThatMatchTheirSlots)
{
    const struct
    {
        int bank, slot;
        std::vector<std::string> tags;
        bool ownName;
    } slots[] = { { 0, 3, { "bass", "favorite" }, true }, { 0, 4, { "favorite" }, true }, { 1, 10, { "pad" }, true },
                  { 2, 5, { "lead" }, false }, { 2, 127, { "lead" }, true } };
    for (const auto& s : slots)
    {
        state.names.setName (s.bank, s.slot, s.ownName ? nameInInstrument (s.bank, s.slot) : "SOMETHING ELSE");
        state.slot (s.bank, s.slot).tags = s.tags;
    }
    instrument.setFaults ({ false, 0, 120, false }); // slot 127 never arrives
    banks.startTagHashExport();
    EXPECT_TRUE (logContains ("TAG HASH EXPORT: processing 4 tagged Program slots.\n"));
    for (int i = 0; i < 20 && ! logContains ("TAG HASH EXPORT: saved"); ++i)
    {
        editor->time.advance (SyncEngine::tagBankTimeoutMs / 4);
        editor->settle (2);
    }
    const auto files = folder (LibraryRoot::Folder::tagHashFiles).findChildFiles (juce::File::findFiles, false, "Orvo-Tag-Hashes-*.json");
    ASSERT_EQ (files.size(), 1);
    const auto text = files[0].loadFileAsString();
    EXPECT_TRUE (text.contains ("\r\n") && ! text.replace ("\r\n", "").contains ("\n")) << "CR LF line ends";
    juce::var doc;
    ASSERT_TRUE (parseJson (text, doc).wasOk());
    const auto digests = [&] (int bank, int slot) {
        return computeProgramDigests (buildProgramDump (instrument.storedProgram (bank, slot), sysex::opStoredProgram, bank, slot));
    };
    std::map<std::string, std::pair<std::string, juce::String>> expected = {
        { digests (0, 3).programPayloadSha256, { digests (0, 3).nameNeutralPayloadSha256, "bass" } },
        { digests (1, 10).programPayloadSha256, { digests (1, 10).nameNeutralPayloadSha256, "pad" } } };
    const auto* records = doc["records"].getArray();
    ASSERT_EQ (records->size(), 2);
    auto it = expected.begin();
    for (const auto& r : *records) // sorted by the payload digest
    {
        EXPECT_EQ (r["programPayloadSha256"].toString().toStdString(), it->first);
        EXPECT_EQ (r["nameNeutralPayloadSha256"].toString().toStdString(), it->second.first);
        EXPECT_EQ (juce::JSON::toString (r["tags"], true), "[\"" + it->second.second + "\"]");
        ++it;
    }
    EXPECT_EQ (juce::JSON::toString (doc["summary"], true),
               R"({"taggedProgramSlots": 4, "exportedProgramRecords": 2, "duplicateProgramSlots": 0, "skippedUnavailable": 1, "skippedMismatched": 1})");
    EXPECT_EQ (editor->prompts.shown.back().title, "Tag Hash Export");
    EXPECT_NE (editor->prompts.shown.back().message.find ("The tag hash file was created successfully."), std::string::npos);
}

TEST (InstrumentBackupTest, WritesEachBankAndStopsAtOneThatStaysIncomplete)
{
    const auto library = juce::File::getSpecialLocation (juce::File::tempDirectory).getNonexistentChildFile ("orvo-backup", {});
    VirtualTime time;
    VirtualOrvo instrument;
    VirtualOrvoMidiDevices devices (nullptr, instrument);
    auto output = devices.openOutput (VirtualOrvo::outputIdentifier);
    InstrumentBackup backup (time, time, *output, { { 0, 1 }, library, 5000.0 });
    auto input = devices.openInput (VirtualOrvo::inputIdentifier,
                                    [&backup] (const std::uint8_t* d, size_t n) { backup.handleIncoming (d, n); });
    backup.start();
    for (int i = 0; i < 1000 && ! backup.step(); ++i)
    {
        instrument.flush();
        time.advance (33);
    }
    ASSERT_EQ (backup.result().banks.size(), 2u);
    EXPECT_FALSE (backup.result().incompleteBank.has_value());
    EXPECT_EQ (backup.result().banks[1].label, "PRESET1");
    EXPECT_TRUE (backup.result().banks[1].bankFile->existsAsFile());
    EXPECT_EQ (backup.result().programs, library.getChildFile ("Programs").getNumberOfChildFiles (juce::File::findFiles));

    instrument.setFaults ({ false, 0, 60, false });
    InstrumentBackup failing (time, time, *output, { { 2 }, library, 5000.0 });
    input.reset(); // one listener at a time
    input = devices.openInput (VirtualOrvo::inputIdentifier,
                               [&failing] (const std::uint8_t* d, size_t n) { failing.handleIncoming (d, n); });
    failing.start();
    for (int i = 0; i < 1000 && ! failing.step(); ++i)
    {
        instrument.flush();
        time.advance (33);
    }
    EXPECT_EQ (failing.result().incompleteBank, 2);
    EXPECT_EQ (failing.result().banks.back().received, 60);
    EXPECT_NEAR (failing.result().banks.back().seconds, 5.0, 0.04) << "it gives up at the time-out";
    input.reset();
    library.deleteRecursively();
}
