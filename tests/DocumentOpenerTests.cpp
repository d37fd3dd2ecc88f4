#include "HeadlessFixture.h"
#include "engine/DocumentOpener.h"
#include "engine/EditorCommandLine.h"
#include "model/ParameterCatalogue.h"

namespace orvo::test
{
namespace
{
struct DocumentOpenerTest : HeadlessFixture
{
    DocumentOpener opener{ editor->librarian(), editor->prompts,
                           [this] (const std::string& line) { engine.logLine (line); } };
    const int cutoff = *ParameterCatalogue::findById ("filter1.frequency");
    juce::File file (const char* name) const { return editor->folder().getChildFile (name); }
};

TEST_F (DocumentOpenerTest, OpensEachDocumentKindByItsExtensionAndRefusesTheRest)
{
    engine.userEdit (cutoff, 1234);
    ASSERT_TRUE (editor->librarian().programFlows().saveProgramTo (file ("Saved.orvop")));
    ASSERT_TRUE (file ("Saved.orvop").copyFileTo (file ("UPPER.ORVOP")));
    file ("notes.txt").replaceWithText ("x");
    file ("broken.orvob").replaceWithText ("{");
    file ("mine.orvopreset").replaceWithText ("{}");

    struct Case
    {
        const char* name;
        int cutoffAfter;
        std::vector<int> answers;
        std::string firstTitle, logged;
    };
    const Case cases[] = {
        // An edit is pending: the unsaved question comes first, and DISCARD lets the load run.
        { "Saved.orvop", 1234, { 1, 1 }, "Unsaved Program", "Program" },
        { "UPPER.ORVOP", 1234, { 1, 1 }, "Unsaved Program", "Program" },
        // CANCEL keeps the edit.
        { "Saved.orvop", 77, { 2 }, "Unsaved Program", "" },
        { "broken.orvob", 77, {}, "", "Could not load" },
        { "notes.txt", 77, {}, "Open Document", "OPEN: Not an Orvo Editor document" },
        { "missing.orvop", 77, {}, "Open Document", "OPEN: There is no such file: " },
        { "mine.orvopreset", 77, {}, "Open Document", "OPEN: A user preset is loaded from the USER PRESETS overlay" },
    };
    for (const auto& c : cases)
    {
        engine.userEdit (cutoff, 77);
        editor->prompts.shown.clear();
        editor->prompts.answers.assign (c.answers.begin(), c.answers.end());
        engine.log().clear();
        opener.open (file (c.name));
        EXPECT_EQ (engine.value (cutoff), c.cutoffAfter) << c.name;
        EXPECT_EQ (editor->prompts.shown.empty() ? "" : editor->prompts.shown[0].title, c.firstTitle) << c.name;
        EXPECT_TRUE (c.logged.empty() || logContains (c.logged)) << c.name << ": " << engine.log().text();
    }
}

TEST_F (DocumentOpenerTest, AnEnvironmentIsLoadedOnlyAfterItsQuestionIsAnsweredLoad)
{
    auto& state = editor->librarian().state();
    state.slot (0, 3).notes = "Kept";
    ASSERT_TRUE (editor->librarian().bankFlows().saveEnvironmentTo (file ("Other.orvox")));
    state.slot (0, 3).notes = "Changed";
    for (const auto& [answer, expected] : { std::pair{ 1, "Changed" }, std::pair{ 0, "Kept" } })
    {
        editor->prompts.answers = { answer };
        opener.open (file ("Other.orvox"));
        EXPECT_EQ (editor->prompts.shown.back().buttons, (std::vector<std::string>{ "LOAD", "CANCEL" }));
        EXPECT_EQ (state.slot (0, 3).notes, expected);
    }
}

TEST (EditorCommandLine, ParsesOptionsDocumentsAndUsageErrors)
{
    const juce::File cwd ("/home/player/sounds");
    struct Case
    {
        std::vector<std::string> args;
        bool help, version, virtualOrvo;
        std::vector<std::string> documents;
        bool error;
    };
    const Case cases[] = {
        { {}, false, false, false, {}, false },
        { { "--help" }, true, false, false, {}, false },
        { { "-h", "--version" }, true, true, false, {}, false },
        { { "--virtual-orvo", "--wire-rate", "Pad.orvop", "/tmp/B.orvob" },
          false,
          false,
          true,
          { "/home/player/sounds/Pad.orvop", "/tmp/B.orvob" },
          false },
        { { "--", "-odd.orvop" }, false, false, false, { "/home/player/sounds/-odd.orvop" }, false },
        { { "--verbose", "x.orvop" }, false, false, false, { "/home/player/sounds/x.orvop" }, true },
        { { "a\nb.orvop" }, false, false, false, {}, true },
    };
    for (const auto& c : cases)
    {
        const auto line = EditorCommandLine::parse (c.args, cwd);
        std::vector<std::string> documents;
        for (const auto& f : line.documents)
            documents.push_back (f.getFullPathName().toStdString());
        EXPECT_EQ (line.showHelp, c.help);
        EXPECT_EQ (line.showVersion, c.version);
        EXPECT_EQ (line.useVirtualOrvo, c.virtualOrvo);
        EXPECT_EQ (line.virtualOrvoAtWireRate, c.virtualOrvo) << "the two go together in this table";
        EXPECT_EQ (documents, c.documents);
        EXPECT_EQ (!line.error.empty(), c.error) << line.error;
        // What a second start hands over names the same files.
        EXPECT_EQ (EditorCommandLine::documentsFromHandOff (line.handOffMessage()), line.documents);
    }
}

} // namespace
} // namespace orvo::test
