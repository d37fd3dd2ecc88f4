#include "EngineFixture.h"
#include "engine/HeadlessEditor.h"
#include "engine/ProgramSelector.h"
#include "library/LibrarianState.h"

using namespace orvo;

namespace
{
struct Selector : test::EngineFixture
{
    int programChannel = 1, mixChannel = 1;
    std::vector<std::pair<int, int>> changes;
    ProgramSelector selector{ engine,
                              { [this] { return programChannel; }, [this] { return mixChannel; },
                                [] (int bank)
                                {
                                    static const LibrarianState labels;
                                    return labels.bankLabel (bank);
                                },
                                [] (int bank, int slot)
                                { return "B" + std::to_string (bank) + "S" + std::to_string (slot); } } };

    void SetUp() override
    {
        selector.onSelectionChanged = [this] (int b, int p) { changes.emplace_back (b, p); };
    }
};
} // namespace

TEST_F (Selector, SendsModeBankSelectAndProgramChangeByTheBankSelectType)
{
    programChannel = 3;
    engine.bankSelectType = 0;
    selector.select (2, 45, "test");
    auto sent = output->take();
    ASSERT_EQ (sent.size(), 4u);
    EXPECT_EQ (sent[0], (ByteVector{ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0D, 0x00, 0xF7 }));
    EXPECT_EQ (sent[1], (ByteVector{ 0xB2, 0, 0 })) << "type 0: CC 0 = 0 first";
    EXPECT_EQ (sent[2], (ByteVector{ 0xB2, 32, 2 }));
    EXPECT_EQ (sent[3], (ByteVector{ 0xC2, 45 }));
    EXPECT_TRUE (logContains ("Sent Orvo Program select from test: ch=3 bank=2 program=045 bank-select-type=0.\n"));

    mixChannel = 17; // out of range: channel 1
    engine.bankSelectType = 2;
    selector.select (4, 7, "test");
    sent = output->take();
    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[0][6], 0x01) << "Mix mode";
    EXPECT_EQ (sent[1], (ByteVector{ 0xB0, 32, 1 })) << "Mix bank byte is bank - 3";
    EXPECT_EQ (sent[2], (ByteVector{ 0xC0, 7 }));
    EXPECT_TRUE (logContains ("Sent Orvo Mix select from test: ch=1 bank=1 program=007 bank-select-type=2.\n"));

    engine.bankSelectType = 1;
    selector.select (1, 0, "test");
    sent = output->take();
    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[1], (ByteVector{ 0xB2, 0, 1 }));
}

TEST_F (Selector, StepsWrapAndEveryChangeIsReported)
{
    selector.select (0, 127, "test");
    selector.stepProgram (1);
    EXPECT_EQ (selector.program(), 0);
    selector.stepProgram (-1);
    EXPECT_EQ (selector.program(), 127);
    EXPECT_TRUE (logContains ("from program browser: ch=1 bank=0 program=127"));

    selector.stepBank (-1);
    EXPECT_EQ (selector.bank(), 4);
    EXPECT_TRUE (logContains ("Bank button selected MIX (PRESET).\n"));
    selector.stepBank (1);
    EXPECT_EQ (selector.bank(), 0);
    EXPECT_EQ (changes.size(), 5u);
    EXPECT_EQ (changes.back(), std::make_pair (0, 127));
    EXPECT_EQ (selector.programNumberText(), "127");
}

TEST_F (Selector, WithoutAnOutputNothingIsSentButTheSelectionAndGuardHold)
{
    engine.setOutput (nullptr);
    selector.select (1, 12, "program browser");
    EXPECT_TRUE (
        logContains ("No MIDI output is open. Cannot send Orvo bank/program selection from program browser.\n"));
    EXPECT_EQ (selector.bank(), 1);
    EXPECT_EQ (engine.selectedProgram(), 12);
    EXPECT_FALSE (selector.isModeKnown()) << "nothing reached the instrument";
    EXPECT_EQ (selector.patchNameText (false), "MODE UNKNOWN - PLEASE SYNC");
    EXPECT_EQ (selector.patchNameText (true), "B1S12");
    EXPECT_TRUE (selector.guardInForce());
    time.advance (ProgramSelector::echoGuardMs + 1);
    EXPECT_FALSE (selector.guardInForce());
}

TEST_F (Selector, FollowsAReportedSelectionWithoutSending)
{
    selector.follow (2, 99);
    EXPECT_TRUE (output->take().empty());
    EXPECT_TRUE (selector.isModeKnown());
    EXPECT_EQ (selector.patchNameText (false), "B2S99");
    selector.follow (5, 0);
    selector.follow (0, 128);
    EXPECT_EQ (selector.bank(), 2) << "out-of-range reports are ignored";
    EXPECT_EQ (changes.size(), 1u);
}

TEST_F (Selector, ASelectionStartsTheSettleWindowForIncomingValues)
{
    selector.stepProgram (1);
    receiveNrpn (1, 1920, 10);
    engine.tick();
    EXPECT_EQ (engine.value (18), 0) << "inside the settle window";
    for (int t = 0; t < EditorEngine::selectionSettleTicks; ++t)
        engine.tick();
    receiveNrpn (1, 1920, 10);
    engine.tick();
    EXPECT_EQ (engine.value (18), 10);
}

TEST (UnsavedEdits, AreAskedAboutBeforeTheProgramChangesOrIsLoadedOver)
{
    auto editor = makeHeadlessEditor();
    auto& engine = editor->engine();
    auto& selector = editor->session().sync().selector();
    auto& prompts = editor->prompts;
    editor->librarian().state().names.setName (0, 0, "Mine");
    engine.userEdit (*ParameterCatalogue::findById ("filter1.frequency"), 1234);

    prompts.answers = { 2 }; // CANCEL
    selector.stepProgram (1);
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].title, "Unsaved Program");
    EXPECT_EQ (prompts.shown[0].buttons, (std::vector<std::string>{ "SAVE", "DISCARD", "CANCEL" }));
    EXPECT_EQ (engine.selectedProgram(), 0);

    // SAVE with the dialog cancelled goes nowhere; SAVE with a file saves, then changes the Program.
    prompts.answers = { 0, 0 };
    editor->dialogs.answers = { std::nullopt };
    selector.stepProgram (1);
    EXPECT_EQ (engine.selectedProgram(), 0);
    const auto saved = editor->folder().getChildFile ("saved.orvop");
    editor->dialogs.answers = { saved.getFullPathName().toStdString() };
    prompts.answers = { 0 };
    selector.stepProgram (1);
    EXPECT_TRUE (saved.existsAsFile());
    EXPECT_EQ (engine.selectedProgram(), 1);
    EXPECT_FALSE (engine.isEdited());

    // DISCARD goes ahead at once; with the warnings off nothing is asked.
    engine.userEdit (*ParameterCatalogue::findById ("filter1.frequency"), 99);
    prompts.answers = { 1 };
    editor->dialogs.answers = { std::nullopt }; // the LOAD PROGRAM dialog, after the question
    const auto asked = prompts.shown.size();
    editor->librarian().loadProgram();
    EXPECT_EQ (prompts.shown.size(), asked + 1);
    EXPECT_EQ (editor->dialogs.titles.back(), "Load Program");
    engine.userEdit (*ParameterCatalogue::findById ("filter1.frequency"), 98);
    engine.settings().unsavedWarnings = false;
    selector.stepProgram (1);
    EXPECT_EQ (prompts.shown.size(), asked + 1);
    EXPECT_EQ (engine.selectedProgram(), 2);
}
