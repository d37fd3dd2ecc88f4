#include "HeadlessFixture.h"

#include "model/ModulationRoutes.h"

using namespace orvo;

namespace
{
int rowOf (const char* id)
{
    return *ParameterCatalogue::findById (id);
}

struct History : test::HeadlessFixture
{
    EditorSession& session = editor->session();
    EditHistory& history = session.history();

    History()
    {
        editor->connect (true);
        editor->settle (EditorEngine::selectionSettleTicks + 10); // the instrument's knobs are followed again
    }
    ProgramSnapshot shown()
    {
        std::array<int, ParameterCatalogue::numRows> rows{};
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            rows[(size_t)r] = engine.value (r);
        return ProgramSnapshot::of (rows, session.effects().page(), engine.modulation());
    }
    /** Settles long enough for paced sends (generator, Wedge preset) to finish. */
    void settleLong() { editor->settle (120); }
    /** The instrument's edit buffer holds the editor's value of every row the step changed. */
    void expectInstrumentFollows (const std::vector<ValueDifference>& step, const char* when)
    {
        for (const auto& d : step)
            if (d.row >= 0 && ParameterCatalogue::row (d.row).nrpn >= 0 && d.key != "postfilter.noiseext")
            {
                EXPECT_EQ (instrument.editBufferValue (d.row), engine.value (d.row)) << when << ": " << d.key;
            }
    }
};
} // namespace

TEST_F (History, EveryKindOfEditIsOneStepThatUndoAndRedoReplayToTheInstrument)
{
    const auto programFile = editor->folder().getChildFile ("Saved.orvop").getFullPathName().toStdString();
    editor->dialogs.answers = { programFile };
    editor->librarian().saveProgram();
    editor->settle (2);
    const std::string route = ModulationRoutes::fieldKey (0, ModulationField::level);
    struct Case
    {
        const char* name;
        std::function<void()> edit;
    } cases[] = {
        { "FILTER 1 RESONANCE", [&] { engine.userEdit (rowOf ("filter1.resonance"), 777); } },
        { "PASTE FILTER 2 RESONANCE",
          [&]
          {
              engine.selectRow (rowOf ("filter1.resonance"));
              engine.copySelectedValue();
              engine.selectRow (rowOf ("filter2.resonance"));
              engine.pasteSelectedValue();
          } },
        { "MORPH",
          [&]
          {
              session.tools().morph().fromVar (juce::JSON::parse (R"({"value": 0, "slots": [{"index": 0,
                  "source": "parameter", "parameterId": "filter2.frequency", "lowRaw": 100, "highRaw": 3000}]})"));
              for (double k = 0; k <= 100; k += 10)
              {
                  session.tools().morph().setKnob (k);
                  editor->settle (1);
              }
          } },
        { "MACRO",
          [&]
          {
              auto& macros = session.tools().macros();
              macros.setAssignMode (true);
              macros.selectMacro (2);
              session.tools().controlChosen ("filter1.frequency");
              macros.setAssignMode (false);
              macros.setKnob (2, 80.0);
          } },
        { "WEDGE PRESET", [&] { session.wedge().selectPreset (112); } },
        { "GENERATED PROGRAM", [&] { session.generator().generate (42); } },
        { "LOAD PROGRAM",
          [&]
          {
              editor->dialogs.answers = { programFile };
              editor->prompts.answers = { 1, 2 }; // DISCARD the edits; NOT NOW for the transfer
              editor->librarian().loadProgram();
          } },
        { nullptr,
          [&]
          {
              if (const auto send = engine.modulation().setField (route, 3000))
                  engine.sendInterface (send->nrpn, send->value, send->actionLabel);
          } },
    };
    for (const auto& c : cases)
    {
        settleLong();
        const auto before = shown();
        const auto steps = history.undoCount();
        c.edit();
        settleLong();
        const auto after = shown();
        const auto step = differencesBetween (before, after);
        const char* name = c.name != nullptr ? c.name : "route";
        ASSERT_FALSE (step.empty()) << name;
        ASSERT_EQ (history.undoCount(), steps + 1) << name;
        if (c.name != nullptr)
        {
            EXPECT_EQ (history.undoName().rfind (c.name, 0), 0u) << history.undoName();
        }

        ASSERT_TRUE (history.undo());
        settleLong();
        EXPECT_TRUE (differencesBetween (before, shown()).empty()) << name << " undone";
        expectInstrumentFollows (step, name);
        ASSERT_TRUE (history.redo());
        settleLong();
        EXPECT_TRUE (differencesBetween (after, shown()).empty()) << name << " redone";
        expectInstrumentFollows (step, name);
    }

    // TRANSFER CURRENT MIDI sends what the editor holds and changes none of its values: no step.
    const auto steps = history.undoCount();
    engine.transferCurrentMidi();
    settleLong();
    EXPECT_EQ (history.undoCount(), steps);
}

TEST_F (History, MovesOfOneControlMergeIntoOneStepUntilAPauseOrGestureEnd)
{
    const int row = rowOf ("filter1.frequency");
    struct Case
    {
        bool gesture;
        double gapMs;
        int moves;
        size_t steps;
    } cases[] = { { false, 33, 200, 1 }, { true, 2000, 200, 1 }, { false, 1001 + 33, 20, 20 } };
    for (const auto& c : cases)
    {
        auto fresh = makeHeadlessEditor();
        auto& h = fresh->session().history();
        const int original = fresh->engine().value (row);
        if (c.gesture)
            h.beginGesture();
        for (int i = 1; i <= c.moves; ++i)
        {
            fresh->engine().userEdit (row, 100 + i);
            fresh->time.advance (c.gapMs - 33);
            fresh->settle (1);
        }
        if (c.gesture)
            h.endGesture();
        EXPECT_EQ (h.undoCount(), c.steps) << c.gapMs;
        while (h.canUndo())
            h.undo();
        EXPECT_EQ (fresh->engine().value (row), original);
    }
}

TEST_F (History, ANewEditClearsRedoAndAProgramSyncEndsAStepWithoutOne)
{
    const int row = rowOf ("filter1.resonance");
    const int original = engine.value (row);
    engine.userEdit (row, 100);
    editor->settle (1);
    history.undo();
    EXPECT_TRUE (history.canRedo());
    engine.userEdit (row, 200);
    editor->settle (1);
    EXPECT_FALSE (history.canRedo());

    session.sync().startProgramSync();
    editor->settle (30);
    EXPECT_EQ (history.undoCount(), 1u) << "a synced Program is no step";
    engine.userEdit (row, 300); // within a second of the last move, but after the sync
    editor->settle (1);
    EXPECT_EQ (history.undoCount(), 2u);
    history.undo();
    history.undo();
    editor->settle (3);
    EXPECT_EQ (engine.value (row), original);
    EXPECT_EQ (instrument.editBufferValue (row), original);
}

TEST_F (History, TheInstrumentsChangesAreNoStepsAndUndoRestoresThePlayersValues)
{
    const int mine = rowOf ("filter1.resonance"), theirs = rowOf ("filter2.resonance");
    const int original = engine.value (mine), theirsOriginal = engine.value (theirs);
    engine.userEdit (mine, 1000);
    editor->settle (2);
    instrument.turnKnob (mine, 3000);
    instrument.turnKnob (theirs, theirsOriginal == 50 ? 60 : 50);
    editor->settle (3);
    ASSERT_EQ (engine.value (mine), 3000);
    EXPECT_EQ (history.undoCount(), 1u);
    history.undo();
    editor->settle (2);
    EXPECT_EQ (engine.value (mine), original);
    EXPECT_NE (engine.value (theirs), theirsOriginal) << "undo leaves what only the instrument changed";
    history.redo();
    editor->settle (2);
    EXPECT_EQ (engine.value (mine), 1000);
    EXPECT_EQ (instrument.editBufferValue (mine), 1000);
}

TEST_F (History, ASelectionChangeNeverReplaysOneSlotsValuesIntoAnother)
{
    const int row = rowOf ("filter1.resonance");
    engine.userEdit (row, 1234);
    editor->settle (2);
    const auto slot = std::make_pair (engine.selectedBank(), engine.selectedProgram());
    editor->prompts.answers = { 1 }; // DISCARD
    session.sync().selector().select (0, (slot.second + 1) % 128, "program browser");
    editor->settle (30);
    ASSERT_NE (engine.selectedProgram(), slot.second);
    const int shown = engine.value (row), loaded = instrument.editBufferValue (row);
    EXPECT_FALSE (history.canUndo());
    EXPECT_FALSE (history.undo());
    EXPECT_TRUE (logContains ("UNDO: there is no edit to undo.\n"));
    editor->settle (2);
    EXPECT_EQ (engine.value (row), shown);
    EXPECT_EQ (instrument.editBufferValue (row), loaded);
}
