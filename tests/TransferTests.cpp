#include "HeadlessFixture.h"
#include "data/ProgramLayout.h"
#include "instrument/FactoryPrograms.h"
#include "library/ProgramDigests.h"
#include "midi/SysExStream.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
struct Transfers : test::HeadlessFixture
{
    TransferController& transfers = editor->session().transfers();
    ProgramSelector& selector = editor->session().sync().selector();

    Transfers()
    {
        editor->connect (false);
        editor->settle (2);
    }
    void select (int bank, int slot)
    {
        selector.select (bank, slot, "test");
        editor->settle (3);
    }
    /** Lets `ms` of virtual time pass in timer ticks, the instrument answering between them. */
    void run (double ms)
    {
        for (double t = 0; t < ms; t += 33)
            editor->settle (1);
    }
    std::string neutral (const UnpackedProgram& p) { return nameNeutralDigestOf (p); }
    static std::string nameNeutralDigestOf (const UnpackedProgram& p)
    {
        return computeProgramDigests (buildProgramDump (p, sysex::opStoredProgram, 0, 0)).nameNeutralPayloadSha256;
    }
    std::vector<std::pair<int, ByteVector>> factoryBank (int bank)
    {
        std::vector<std::pair<int, ByteVector>> dumps;
        int slot = 0;
        for (auto& m : splitSysExMessages (factory::bankSysEx (bank)))
            dumps.emplace_back (slot++, std::move (m));
        return dumps;
    }
};
} // namespace

TEST_F (Transfers, RenameReachesTheInstrumentAndReadsBackVerified)
{
    select (0, 7);
    transfers.renameProgram (0, 7, "NEW NAME");
    EXPECT_EQ (editor->librarian().state().names.name (0, 7), "NEW NAME");
    run (3000);
    EXPECT_EQ (readProgramName (instrument.storedProgram (0, 7)), "NEW NAME");
    EXPECT_TRUE (logContains ("Sent renamed Program dump to Orvo USER 007 as NEW NAME. A delayed Program Change refresh will reload the renamed slot on the Orvo.\n"));
    EXPECT_TRUE (logContains ("Activated renamed Program on Orvo USER 007 by briefly selecting 006 and returning to the transferred slot.\n"));
    EXPECT_TRUE (logContains ("VERIFY: USER 007 read back as sent (verified).\n"));

    // Outside USER the name stays local.
    select (1, 3);
    transfers.renameProgram (1, 3, "LOCAL");
    EXPECT_TRUE (logContains ("Program name was saved locally but not sent to Orvo because stored Program name writes are only supported for USER slots.\n"));
}

TEST_F (Transfers, ARenameReplyIsUsedUntilFiveSecondsAfterTheRequest)
{
    select (0, 9);
    instrument.setFaults ({ true, 0, -1, false }); // requests go unanswered; the reply is handed in below
    const auto reply = buildProgramDump (instrument.editBufferProgram(), sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    transfers.renameProgram (0, 9, "LATE");
    editor->time.advance (5001);
    transfers.editBufferArrived (reply);
    EXPECT_TRUE (logContains ("Skipped Program name send to Orvo because the edit-buffer response arrived too late.\n"));
    EXPECT_FALSE (logContains ("Prepared renamed Program dump"));
    transfers.renameProgram (0, 9, "IN TIME");
    editor->time.advance (5000);
    transfers.editBufferArrived (reply);
    EXPECT_TRUE (logContains ("Prepared renamed Program dump for Orvo USER slot: 009.\n"));
}

TEST_F (Transfers, ALoadedProgramGoesToTheSelectedUserSlotOnly)
{
    const auto source = factory::program (1, 5).unpacked;
    editor->librarian().programFlows().setCurrentProgramSysEx (
        buildProgramDump (source, sysex::opProgramEditBuffer, sysex::editBufferSubCode));
    const auto before = instrument.storedProgram (1, 12);

    select (1, 12);
    transfers.sendLoadedProgram();
    EXPECT_EQ (editor->prompts.shown.back().title, "Transfer Loaded Program") << "a preset bank is refused";
    run (3000);
    EXPECT_EQ (instrument.storedProgram (1, 12), before);

    select (0, 12);
    transfers.sendLoadedProgram();
    editor->time.advance (219);
    EXPECT_NE (neutral (instrument.storedProgram (0, 12)), neutral (source)) << "not before 220 ms";
    run (3000);
    EXPECT_EQ (neutral (instrument.storedProgram (0, 12)), neutral (source));
    EXPECT_TRUE (logContains ("Sent loaded Program SysEx dump to Orvo USER 012: 2350 bytes, opcode 00, bank 0."));
    EXPECT_TRUE (logContains ("Activated loaded Program on Orvo USER 012 by briefly selecting 011 and returning to the transferred slot.\n"));
    EXPECT_TRUE (logContains ("VERIFY: USER 012 read back as sent (verified).\n"));

    auto truncated = buildProgramDump (source, sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    truncated.resize (1000);
    editor->librarian().programFlows().setCurrentProgramSysEx (truncated);
    transfers.sendLoadedProgram();
    EXPECT_TRUE (logContains ("Loaded Program SysEx dump was not sent: The Program SysEx dump does not match the documented Orvo Program dump layout.\n"));
}

TEST_F (Transfers, ABankIsPacedVerifiedAndASlotThatDidNotTakeIsNamed)
{
    instrument.setFaults ({ false, 0, -1, false, 17 });
    editor->prompts.answers = { 1 }; // the second send: NOT NOW
    transfers.startBankTransfer (0, factoryBank (2));
    EXPECT_EQ (transfers.overlay().text, "Preparing 128 Program dumps for USER...");
    editor->time.advance (99);
    EXPECT_EQ (transfers.overlay().text, "Preparing 128 Program dumps for USER...");
    editor->time.advance (1);
    EXPECT_EQ (transfers.overlay().text, "Sending Program 1 of 128 to USER...");
    editor->time.advance (899);
    EXPECT_EQ (transfers.overlay().text, "Sending Program 1 of 128 to USER...");
    editor->time.advance (1);
    EXPECT_EQ (transfers.overlay().text, "Sending Program 2 of 128 to USER...");
    for (int i = 0; i < 200 && ! logContains ("VERIFY: loaded Bank"); ++i)
    {
        editor->time.advance (900);
        editor->settle (1);
    }
    EXPECT_TRUE (logContains ("Loaded Bank transfer to Orvo USER: sent 128 Program dumps.\nUSER complete.\n"));
    EXPECT_EQ (neutral (instrument.storedProgram (0, 90)), neutral (factory::program (2, 90).unpacked));
    EXPECT_TRUE (logContains ("VERIFY: loaded Bank on Orvo USER: 1 of 128 Programs differ from what was sent: 017.\n\n"));
    EXPECT_EQ (editor->prompts.shown.back().title, "Transfer Verification");
    EXPECT_NE (editor->prompts.shown.back().message.find ("USER 017"), std::string::npos);
}

TEST_F (Transfers, ABankIsNeverSentInPart)
{
    auto dumps = factoryBank (1);
    dumps.erase (dumps.begin() + 17);
    dumps[39].second.resize (500); // slot 40
    const auto before = instrument.storedProgram (0, 0);
    transfers.startBankTransfer (0, dumps);
    const auto& shown = editor->prompts.shown.back();
    EXPECT_NE (shown.message.find ("\n\nMissing Program dumps: 17"), std::string::npos);
    EXPECT_NE (shown.message.find ("\nInvalid Program dumps: 40"), std::string::npos);
    run (2000);
    EXPECT_EQ (instrument.storedProgram (0, 0), before);

    // Cancelled during Program 60: nothing after it is sent.
    const auto slot61 = instrument.storedProgram (0, 61);
    transfers.startBankTransfer (0, factoryBank (1));
    editor->time.advance (100 + 59 * 900);
    EXPECT_EQ (transfers.overlay().text, "Sending Program 60 of 128 to USER...");
    transfers.cancelBankTransfer();
    EXPECT_EQ (transfers.overlay().text, "Bank transfer cancelled.");
    run (5000);
    EXPECT_EQ (instrument.storedProgram (0, 61), slot61);
    EXPECT_TRUE (logContains ("Loaded Bank transfer to Orvo cancelled by user.\n"));

    // The output closed half way.
    transfers.startBankTransfer (0, factoryBank (1));
    editor->time.advance (100 + 9 * 900);
    engine.setOutput (nullptr);
    editor->time.advance (900);
    EXPECT_EQ (transfers.overlay().text, "Transfer stopped: the MIDI output was closed.");
    EXPECT_TRUE (logContains ("Loaded Bank transfer to Orvo stopped because the MIDI output was closed.\n"));
    EXPECT_FALSE (transfers.isBankTransferRunning());
}
