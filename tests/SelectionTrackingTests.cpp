#include "HeadlessFixture.h"
#include "data/ProgramCodec.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
struct Selection : test::HeadlessFixture
{
    ProgramSelector& selector = editor->session().sync().selector();
    SyncEngine& sync = editor->session().sync().sync();

    Selection()
    {
        editor->connect (false);
        sync.receiver().setSelectSettings (1, 2, 0); // Program channel 1, Mix channel 2, type 0
        engine.setBankSelectType (0);
    }
    void midi (std::vector<std::uint8_t> bytes)
    {
        engine.handleIncomingMidi (bytes.data(), bytes.size());
        editor->settle (1);
    }
    std::pair<int, int> selection() const { return { engine.selectedBank(), engine.selectedProgram() }; }
    /** The rows the instrument stores for a slot, decoded as a sync would. */
    DecodedProgramValues stored (int bank, int slot)
    {
        DecodedProgramValues v;
        std::string diagnostic;
        EXPECT_TRUE (decodeProgramDump (buildProgramDump (instrument.storedProgram (bank, slot), sysex::opStoredProgram, bank, slot),
                                        v, diagnostic));
        return v;
    }
    bool showsStored (int bank, int slot)
    {
        const auto v = stored (bank, slot);
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        {
            const auto& info = ParameterCatalogue::row (r);
            if (v.defined.test ((size_t)r) && engine.value (r) != std::clamp (v.raw[(size_t)r], info.rawMin, info.rawMax))
                return false;
        }
        return true;
    }
};
} // namespace

TEST_F (Selection, EchoesAreIgnoredAndHardwareSelectionsFollowed)
{
    selector.select (0, 12, "program browser");
    EXPECT_TRUE (logContains ("Selected USER 012.\n"));
    editor->settle (3); // the instrument's echo of the selection
    EXPECT_TRUE (logContains ("Ignored echoed Orvo Program Change for app-selected USER 012.\n"));
    EXPECT_FALSE (selector.guardInForce()) << "the echo ends the guard";
    midi ({ 0xC0, 12 });
    EXPECT_TRUE (logContains ("Queued app Program selection from incoming Orvo Program Change: ch=1 bank=0 program=012"));

    struct Case
    {
        std::vector<std::vector<std::uint8_t>> messages;
        std::pair<int, int> expected;
        const char* why;
    };
    const Case cases[] = {
        { { { 0xC4, 30 } }, { 0, 12 }, "a Program Change on a channel that is no select channel" },
        { { { 0xB4, 32, 1 }, { 0xC4, 30 } }, { 0, 12 }, "a Bank Select on a channel that is no select channel" },
        { { { 0xB1, 32, 2 }, { 0xC1, 9 } }, { 0, 9 }, "Bank Select 2 on the Mix channel is no bank: the selected bank stays" },
        { { { 0xB0, 0, 0 }, { 0xB0, 32, 2 }, { 0xC0, 7 } }, { 2, 7 }, "type 0: CC 32 names the bank" },
        { { { 0xB1, 32, 1 }, { 0xC1, 5 } }, { 4, 5 }, "Mix bank 1" },
    };
    for (const auto& c : cases)
    {
        for (const auto& m : c.messages)
            midi (m);
        EXPECT_EQ (selection(), c.expected) << c.why;
    }
    EXPECT_TRUE (logContains ("Ignored Program Change on ch=5 program=030 because it does not match the Orvo Program or Mix select channel.\n"));
    EXPECT_TRUE (logContains (". No Program dump will be requested because Mix banks do not use the Program edit-buffer refresh"));
    EXPECT_FALSE (logContains ("Requested Orvo Program edit buffer incoming"));
}

TEST_F (Selection, TheEditorEndsOnTheSlotThePlayerPressedDuringItsOwnSelection)
{
    selector.select (0, 12, "program browser");
    instrument.selectOnPanel (0, 40); // before the echo of 12 reached the editor
    editor->settle (5);
    EXPECT_EQ (selection(), std::make_pair (0, 40));
    EXPECT_EQ (instrument.selectedProgram(), 40);
    const auto& log = engine.log().text();
    const auto echo = log.find ("Ignored echoed Orvo Program Change for app-selected USER 012.\n");
    const auto queued = log.find ("Queued app Program selection from incoming Orvo Program Change: ch=1 bank=0 program=040");
    ASSERT_NE (echo, std::string::npos);
    ASSERT_NE (queued, std::string::npos);
    EXPECT_LT (echo, queued);
}

TEST_F (Selection, OneChannelForProgramsAndMixesKeepsAMixSelection)
{
    sync.receiver().setSelectSettings (1, 1, 0);
    selector.select (4, 0, "bank button"); // MIX (PRESET) 000; the instrument echoes it on channel 1
    editor->settle (5);
    EXPECT_EQ (selection(), std::make_pair (4, 0));
    EXPECT_TRUE (logContains ("Ignored echoed Orvo Program Change for app-selected MIX (PRESET) 000.\n"));
}

TEST_F (Selection, AGlobalReportDuringTheGuardDoesNotMoveTheSelector)
{
    instrument.setProgramSelectChannel (3); // the instrument does not hear the selection, so sends no echo
    selector.select (1, 3, "program browser");
    editor->settle (2);
    selector.applyReportedSelection (ProgramSelector::Reported{ 0, 99, false, false });
    editor->settle (1);
    EXPECT_EQ (selection(), std::make_pair (1, 3));
    EXPECT_TRUE (logContains ("SYNC: ignored incoming Orvo selector update USER 099 because the app-selected bottom-bar program is PRESET1 003.\n"));
}

TEST_F (Selection, ThePagesShowTheSelectedSlotsOwnValuesAfterABankSync)
{
    editor->prompts.answers = { 0, 1 };
    editor->session().bankSync().confirmBankSync();
    editor->settle (20);
    const int answered = instrument.requestsAnswered();
    const auto sentBefore = engine.lastSent();
    for (int slot = 1; slot <= 10; ++slot)
    {
        instrument.selectOnPanel (0, slot);
        editor->settle (2);
        EXPECT_EQ (selection(), std::make_pair (0, slot));
        EXPECT_TRUE (showsStored (0, slot)) << "slot " << slot;
        EXPECT_FALSE (engine.isProgramUnread());
    }
    EXPECT_EQ (instrument.requestsAnswered(), answered) << "nothing was asked of the instrument";
    EXPECT_EQ (engine.lastSent(), sentBefore) << "no value was sent";
    EXPECT_TRUE (logContains ("Showing USER 010 from its cached Program dump; nothing was sent to the Orvo.\n"));
    const int row = 0, edited = engine.value (row) == 0 ? 1 : 0;
    engine.setValue (row, edited);
    selector.applySelection (0, 10, false, false); // the same slot reported again
    EXPECT_EQ (engine.value (row), edited) << "the cached Program does not overwrite the player's edit";

    // A slot never read: the pages say so instead of passing the old values off as its own.
    instrument.selectOnPanel (2, 77);
    editor->settle (2);
    EXPECT_TRUE (engine.isProgramUnread());
    EXPECT_NE (engine.headerText().find ("PRESET2 077 NOT READ YET"), std::string::npos);
    EXPECT_NE (selector.patchNameText (false).find ("(NOT READ - PROGRAM SYNC)"), std::string::npos);
    sync.requestEditBufferRefresh ("after a test selection");
    editor->settle (3);
    EXPECT_TRUE (logContains ("REFRESH: received Program edit buffer; queued mapped OSC/ENV/LFO/S&H UI refresh.\n"));
    EXPECT_FALSE (engine.isProgramUnread());
    EXPECT_TRUE (showsStored (2, 77));
}

TEST_F (Selection, ProgramDataStaysBusyForTheQuietWindow)
{
    EXPECT_FALSE (sync.isProgramDataBusy());
    sync.startQuietWindow();
    for (int tick = 0; tick < SyncEngine::quietTicks; ++tick)
    {
        EXPECT_TRUE (sync.isProgramDataBusy());
        sync.onSyncTick();
    }
    editor->time.advance (SyncEngine::quietMs - 1);
    EXPECT_TRUE (sync.isProgramDataBusy()) << "the countdown ran out, the time has not";
    editor->time.advance (1);
    EXPECT_FALSE (sync.isProgramDataBusy());

    instrument.setFaults ({ true, 0, -1, false });
    sync.requestEditBufferRefresh ("for a test", 2);
    EXPECT_EQ (sync.effectReadbackSlot(), 2);
    editor->time.advance (SyncEngine::quietMs);
    EXPECT_TRUE (sync.isProgramDataBusy()) << "an unanswered refresh keeps it busy";
    engine.setOutput (nullptr);
    sync.requestEditBufferRefresh ("for a test");
    EXPECT_TRUE (logContains ("No MIDI output is open. Cannot refresh the current Orvo Program edit buffer.\n"));
    EXPECT_EQ (sync.effectReadbackSlot(), -1);
}
