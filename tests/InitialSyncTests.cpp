#include "HeadlessFixture.h"
#include "library/EnvironmentDocument.h"
#include "library/JsonText.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
struct InitialSync : test::HeadlessFixture
{
    ByteVector editBufferDump()
    {
        return buildProgramDump (instrument.editBufferProgram(), sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    }
};
} // namespace

TEST_F (InitialSync, FillsTheEditorWithTheInstrumentsEditBuffer)
{
    editor->connect (true);
    ASSERT_EQ (editor->prompts.shown.size(), 1u);
    editor->settle();

    EXPECT_FALSE (editor->session().sync().sync().isActive());
    DecodedProgramValues expected;
    std::string diagnostic;
    ASSERT_TRUE (decodeProgramDump (editBufferDump(), expected, diagnostic));
    int compared = 0;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        if (expected.defined.test ((size_t)r))
        {
            const auto& info = ParameterCatalogue::row (r);
            EXPECT_EQ (engine.value (r), std::clamp (expected.raw[(size_t)r], info.rawMin, info.rawMax)) << info.id;
            ++compared;
        }
    EXPECT_GT (compared, 150);
    // The reply's lines in the order things happened: the Global before the Program applied from the edit buffer.
    const auto& log = engine.log().text();
    const auto global = log.find ("SYNC: received Orvo Global dump"),
               applied = log.find ("Applied mapped OSC/ENV/LFO/S&H controls from Program edit-buffer sync.\n");
    ASSERT_NE (applied, std::string::npos);
    EXPECT_LT (global, applied);
    EXPECT_TRUE (logContains ("SYNC: received Program edit buffer; queued mapped OSC/ENV/LFO/S&H UI refresh.\n"));
}

TEST_F (InitialSync, StoresTheEditBufferUnderTheSelectionTheInstrumentReports)
{
    instrument.selectOnPanel (1, 5); // PRESET1 005, while the editor still shows USER 000
    ASSERT_EQ (engine.selectedBank(), 0);
    ASSERT_EQ (engine.selectedProgram(), 0);
    editor->connect (true);
    editor->settle();

    const auto dump = editBufferDump();
    const auto name = readProgramName (instrument.editBufferProgram());
    ASSERT_FALSE (name.empty());
    EXPECT_EQ (engine.selectedBank(), 1);
    EXPECT_EQ (engine.selectedProgram(), 5);
    auto& state = editor->librarian().state();
    EXPECT_EQ (state.slot (1, 5).programSysEx, dump);
    EXPECT_EQ (state.names.name (1, 5), name);
    EXPECT_TRUE (state.slot (0, 0).programSysEx.empty());
    EXPECT_EQ (state.names.name (0, 0), "");

    // What a restart would find in the working environment.
    LibrarianState restarted;
    ASSERT_TRUE (
        loadEnvironmentObject (restarted, readJsonDocument (editor->librarian().workingEnvironment().file()), {}));
    EXPECT_EQ (restarted.names.name (1, 5), name);
    EXPECT_EQ (restarted.slot (1, 5).programSysEx, dump);
    EXPECT_EQ (restarted.names.name (0, 0), "");
    EXPECT_TRUE (restarted.slot (0, 0).programSysEx.empty());
}

TEST_F (InitialSync, AnEditReadsBackThroughTheNextProgramSync)
{
    editor->connect (false);
    editor->settle();
    const int cutoff = *ParameterCatalogue::findById ("filter1.frequency");
    engine.userEdit (cutoff, 1234);
    editor->settle();
    engine.applyValue (cutoff, 0); // forget it locally, as if the editor had been restarted
    editor->settle();

    editor->session().sync().startProgramSync();
    editor->settle();
    EXPECT_EQ (engine.value (cutoff), 1234);
}

TEST_F (InitialSync, ASilentInstrumentTimesOutAtTwelveSeconds)
{
    VirtualOrvoFaults faults;
    faults.noReply = true;
    instrument.setFaults (faults);
    editor->connect (true);
    editor->session().tick();
    const auto timedOut =
        "SYNC: timed out waiting for Orvo Global state. Sync cancelled before requesting Program-bank comparison.\n\n";
    editor->time.advance (SyncEngine::replyTimeoutMs);
    editor->session().tick();
    EXPECT_FALSE (logContains (timedOut));
    editor->time.advance (1.0);
    editor->session().tick();
    EXPECT_TRUE (logContains (timedOut));
}
