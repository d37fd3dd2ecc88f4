#include "LibraryTestSupport.h"
#include "library/AutoSaveTools.h"
#include "library/LibrarianAutoSaveHost.h"

#include <gtest/gtest.h>

#include <map>

using namespace orvo;
using namespace orvo::testing;

namespace
{
/** Editor state the way the librarian holds it: names, notes, tags, tool data and document paths. */
struct FakeEditor : AutoSaveToolsHost
{
    bool enabled = true;
    std::map<std::pair<int, int>, SlotToolValues> slots;
    std::map<int, BankToolValues> bankValuesByBank;
    std::map<std::pair<int, int>, juce::File> programFiles;
    std::map<int, juce::File> bankFiles;

    bool autoSaveEnabled() const override { return enabled; }
    SlotToolValues slotValues (int bank, int slot) const override
    {
        const auto it = slots.find ({ bank, slot });
        return it == slots.end() ? SlotToolValues{} : it->second;
    }
    BankToolValues bankValues (int bank) const override
    {
        const auto it = bankValuesByBank.find (bank);
        return it == bankValuesByBank.end() ? BankToolValues{} : it->second;
    }
    std::optional<juce::File> programFileOfSlot (int bank, int slot) const override
    {
        const auto it = programFiles.find ({ bank, slot });
        return it == programFiles.end() ? std::nullopt : std::optional<juce::File> (it->second);
    }
    std::optional<juce::File> bankFileOf (int bank) const override
    {
        const auto it = bankFiles.find (bank);
        return it == bankFiles.end() ? std::nullopt : std::optional<juce::File> (it->second);
    }
};

juce::var toolData (int morphPosition)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("version", 1);
    o->setProperty ("morph", morphPosition);
    return juce::var (o);
}

juce::var readJson (const juce::File& f)
{
    return juce::JSON::parse (f.loadFileAsString());
}

struct AutoSaveFixture : ::testing::Test
{
    TemporaryFolder temp;
    VirtualTime time;
    FakeEditor editor;
    std::vector<std::string> log;
    AutoSaveTools tools{ time, editor, [this] (const std::string& s) { log.push_back (s); } };

    /** Runs the editor's 30 Hz timer for `ms` of virtual time. */
    void runTimerFor (double ms)
    {
        const double end = time.nowMs() + ms;
        while (time.nowMs() + 1000.0 / 30.0 <= end)
        {
            time.advance (1000.0 / 30.0);
            tools.tick();
        }
        time.advance (end - time.nowMs());
        tools.tick();
    }

    juce::File programDocument (const char* fileName, const std::string& name)
    {
        return writeText (
            temp / fileName,
            R"({"schema": "orvo.program.v1", "type": "program", "extension": ".orvop", "name": ")" + name +
                R"(", "normalizedName": "x", "source": "orvo-editor-librarian",)" +
                R"( "bank": "USER", "bankNumber": 0, "program": 0, "notes": "", "tags": [],)" +
                R"( "parameters": [{"id": "osc1.semitone", "rawValue": 12}], "sysexBase64": "8AAADh0=" })");
    }
};
} // namespace

TEST_F (AutoSaveFixture, WritesTheSlotIntoItsProgramFile750msAfterTheLastChange)
{
    const auto file = programDocument ("Bass.orvop", "Old Name");
    editor.programFiles[{ 0, 5 }] = file;
    editor.slots[{ 0, 5 }] = { "  Deep   Bass ", "USER", "played low", { "bass", "mono" }, toolData (40) };
    const auto original = readText (file);

    tools.markSlotDirty (0, 5);
    runTimerFor (500);
    tools.markSlotDirty (0, 5); // typing on: the wait starts again
    runTimerFor (700);
    EXPECT_EQ (readText (file), original) << "not yet: 700 ms since the last change";
    EXPECT_TRUE (tools.isPending());

    runTimerFor (100);
    EXPECT_FALSE (tools.isPending());
    const auto doc = readJson (file);
    EXPECT_EQ (doc["name"].toString(), "  Deep   Bass ");
    EXPECT_EQ (doc["normalizedName"].toString(), "Deep Bass");
    EXPECT_EQ (doc["bank"].toString(), "USER");
    EXPECT_EQ ((int)doc["bankNumber"], 0);
    EXPECT_EQ ((int)doc["program"], 5);
    EXPECT_EQ (doc["notes"].toString(), "played low");
    EXPECT_EQ (juce::JSON::toString (doc["tags"], true), R"(["bass", "mono"])");
    EXPECT_EQ ((int)doc["controlPages"]["morph"], 40);
    EXPECT_EQ ((int)doc["parameters"][0]["rawValue"], 12) << "other keys are kept";
    EXPECT_EQ (doc["sysexBase64"].toString(), "8AAADh0=");
    EXPECT_EQ (keysOf (doc), words ("schema type extension name normalizedName source bank bankNumber program notes "
                                    "tags parameters sysexBase64 controlPages"))
        << "keys keep their places; new ones go last";
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (allChildNames (temp.get()), std::vector<std::string>{ "Bass.orvop" });
}

TEST_F (AutoSaveFixture, FlushesOnTheFirstTickMoreThan749msAfterTheChange)
{
    const auto file = programDocument ("Pad.orvop", "Pad");
    editor.programFiles[{ 1, 3 }] = file;
    editor.slots[{ 1, 3 }] = { "Pad Two", "PRESET1", "", {}, {} };

    const std::pair<double, bool> cases[]{ { 0.0, false }, { 749.0, false }, { 749.5, true }, { 750.0, true } };
    for (const auto& [elapsed, flushed] : cases)
    {
        tools.markSlotDirty (1, 3);
        time.advance (elapsed);
        tools.tick();
        EXPECT_EQ (!tools.isPending(), flushed) << elapsed;
        tools.flush(); // start the next case from a clean list
    }
    EXPECT_EQ (readJson (file)["name"].toString(), "Pad Two");
    EXPECT_FALSE (readJson (file).getDynamicObject()->hasProperty ("controlPages")) << "no tool data, no controlPages";
}

TEST_F (AutoSaveFixture, ListsEachSlotOnceAndIgnoresChangesWhileOffOrWhileApplyingToolData)
{
    tools.markSlotDirty (0, 1);
    tools.markSlotDirty (0, 1);
    tools.markSlotDirty (3, 1);
    tools.markSlotDirty (0, 1);
    tools.markSlotDirty (7, 1);   // no such bank
    tools.markSlotDirty (0, 128); // no such slot
    EXPECT_EQ (tools.dirtySlots(), (std::vector<std::pair<int, int>>{ { 0, 1 }, { 3, 1 } }));

    tools.flush();
    EXPECT_TRUE (tools.dirtySlots().empty());
    EXPECT_FALSE (tools.isPending());

    {
        AutoSaveTools::ScopedApplyingToolData loading (tools);
        tools.markSlotDirty (0, 2);
        tools.markBankDirty (0);
    }
    editor.enabled = false;
    tools.markSlotDirty (0, 3);
    EXPECT_TRUE (tools.dirtySlots().empty());
    EXPECT_FALSE (tools.isPending());

    // Switching off while a write waits drops it.
    editor.enabled = true;
    const auto file = programDocument ("Keys.orvop", "Keys");
    editor.programFiles[{ 0, 4 }] = file;
    editor.slots[{ 0, 4 }] = { "New Keys", "USER", "", {}, {} };
    tools.markSlotDirty (0, 4);
    editor.enabled = false;
    runTimerFor (1000);
    EXPECT_FALSE (tools.isPending());
    EXPECT_EQ (readJson (file)["name"].toString(), "Keys");
}

TEST_F (AutoSaveFixture, UpdatesSlotEntriesOfTheBankFileAndAddsMissingOnes)
{
    const auto bankFile = writeText (
        temp / "Banks/User.orvob",
        R"({"schema": "orvo.bank.v1", "type": "program-bank", "name": "User", "displayName": "User", "bankNumber": 0,)"
        R"( "notes": "bank notes", "slots": [{"index": 0, "type": "program", "name": "Zero"},)"
        R"( {"index": 5, "type": "program", "name": "Old", "normalizedName": "Old", "tags": [], "notes": "",)"
        R"( "programFile": "Old.orvop"}]})");
    editor.bankFiles[0] = bankFile;
    editor.slots[{ 0, 5 }] = { "Fresh  Lead", "USER", "new notes", { "lead" }, toolData (10) };
    editor.slots[{ 0, 9 }] = { "Nine", "USER", "", {}, {} };

    tools.markSlotDirty (0, 5);
    tools.markSlotDirty (0, 9);
    runTimerFor (800);

    const auto doc = readJson (bankFile);
    const auto& slots = *doc["slots"].getArray();
    ASSERT_EQ (slots.size(), 3);
    EXPECT_EQ (slots[0]["name"].toString(), "Zero") << "untouched";
    EXPECT_EQ (slots[1]["name"].toString(), "Fresh  Lead");
    EXPECT_EQ (slots[1]["normalizedName"].toString(), "Fresh Lead");
    EXPECT_EQ (slots[1]["notes"].toString(), "new notes");
    EXPECT_EQ (slots[1]["tags"][0].toString(), "lead");
    EXPECT_EQ ((int)slots[1]["controlPages"]["morph"], 10);
    EXPECT_EQ (slots[1]["programFile"].toString(), "Old.orvop") << "keys it does not own are kept";
    EXPECT_EQ (keysOf (slots[2]), words ("index type name normalizedName tags notes"));
    EXPECT_EQ ((int)slots[2]["index"], 9);
    EXPECT_EQ (slots[2]["type"].toString(), "program");
    EXPECT_EQ (doc["notes"].toString(), "bank notes") << "the bank's own fields only change with its name";
    EXPECT_TRUE (log.empty());
}

TEST_F (AutoSaveFixture, WritesAChangedBankNameAndMarksAddedMixEntriesAsMixes)
{
    const auto bankFile = writeText (
        temp / "Banks/Mixes.orvob",
        R"({"schema": "orvo.bank.v1", "type": "mix-bank", "name": "Mixes", "displayName": "Mixes", "bankNumber": 0, "notes": "", "slots": []})");
    editor.bankFiles[3] = bankFile;
    editor.bankValuesByBank[3] = { "Live Set", "for the tour" };
    editor.slots[{ 3, 2 }] = { "Opener", "MIX (USER)", "", {}, {} };

    tools.markBankDirty (3);
    tools.markSlotDirty (3, 2);
    runTimerFor (800);

    const auto doc = readJson (bankFile);
    EXPECT_EQ (doc["displayName"].toString(), "Live Set");
    EXPECT_EQ (doc["name"].toString(), "Live Set");
    EXPECT_EQ ((int)doc["bankNumber"], 3);
    EXPECT_EQ (doc["notes"].toString(), "for the tour");
    EXPECT_EQ (doc["slots"][0]["type"].toString(), "mix");
    EXPECT_EQ (doc["slots"][0]["name"].toString(), "Opener");
}

TEST_F (AutoSaveFixture, LeavesFilesThatAreNotDocumentsAloneAndSaysSo)
{
    const auto notJson = writeText (temp / "Broken.orvop", "{ \"name\": ");
    const auto anArray = writeText (temp / "Array.orvob", "[1, 2, 3]");
    const auto noSlots = writeText (temp / "NoSlots.orvob", R"({"type": "program-bank", "slots": {}})");
    const auto missing = temp / "Gone.orvop";
    editor.programFiles[{ 0, 1 }] = notJson;
    editor.programFiles[{ 0, 2 }] = missing;
    editor.bankFiles[0] = anArray;
    editor.bankFiles[1] = noSlots;
    editor.slots[{ 0, 1 }] = { "A", "USER", "", {}, {} };

    tools.markSlotDirty (0, 1);
    tools.markSlotDirty (0, 2);
    tools.markSlotDirty (1, 0);
    runTimerFor (800);

    const auto path = [] (const juce::File& f) { return f.getFullPathName().toStdString(); };
    EXPECT_EQ (log,
               (std::vector<std::string>{ "Auto Save Tools skipped invalid Program file: " + path (notJson) + "\n",
                                          "Auto Save Tools skipped invalid Program file: " + path (missing) + "\n",
                                          "Auto Save Tools skipped invalid Bank file: " + path (anArray) + "\n",
                                          "Auto Save Tools skipped invalid Bank file: " + path (noSlots) + "\n" }));
    EXPECT_EQ (readText (notJson), "{ \"name\": ");
    EXPECT_EQ (readText (anArray), "[1, 2, 3]");
    EXPECT_FALSE (missing.exists());
    EXPECT_FALSE (tools.isPending());
}

#if ORVO_HAS_FILE_SIZE_LIMIT
TEST_F (AutoSaveFixture, LogsAWriteThatFailsAndKeepsTheOldFile)
{
    const auto file = writeText (temp / "Small.orvop", R"({"type": "program", "name": "Small"})");
    editor.programFiles[{ 0, 0 }] = file;
    editor.slots[{ 0, 0 }] = { "Small", "USER", std::string (4000, 'n'), {}, {} };

    tools.markSlotDirty (0, 0);
    {
        ScopedFileSizeLimit full (1024);
        runTimerFor (800);
    }
    EXPECT_EQ (log, std::vector<std::string>{ "Auto Save Tools could not update Program file: " +
                                              file.getFullPathName().toStdString() + "\n" });
    EXPECT_EQ (readText (file), R"({"type": "program", "name": "Small"})");
    EXPECT_FALSE (tools.isPending()) << "a failed write is not retried behind the user's back";
}
#endif

TEST (LibrarianAutoSave, WritesASlotBackIntoTheProgramFileItCameFromButNotIntoAMixFile)
{
    TemporaryFolder temp;
    VirtualTime time;
    LibrarianState state;
    bool enabled = true;
    LibrarianAutoSaveHost host (state, [&] { return enabled; });
    std::vector<std::string> log;
    AutoSaveTools tools (time, host, [&] (const std::string& s) { log.push_back (s); });

    const auto program = writeText (temp / "Pad.orvop", R"({"type": "program", "name": "Old", "bank": "X"})");
    const auto mix = writeText (temp / "Stage.orvom", R"({"type": "mix", "name": "Old"})");
    state.slot (1, 5).documentFile = program;
    state.slot (3, 2).documentFile = mix;
    state.names.setName (1, 5, "New Pad");
    state.slot (1, 5).notes = "warm";
    state.names.setName (3, 2, "New Stage");
    tools.markSlotDirty (1, 5);
    tools.markSlotDirty (3, 2);
    time.advance (AutoSaveTools::debounceMs);
    tools.tick();

    const auto written = juce::JSON::parse (program.loadFileAsString());
    EXPECT_EQ (written["name"].toString(), "New Pad");
    EXPECT_EQ (written["bank"].toString(), "PRESET1");
    EXPECT_EQ ((int)written["bankNumber"], 1);
    EXPECT_EQ ((int)written["program"], 5);
    EXPECT_EQ (written["notes"].toString(), "warm");
    EXPECT_EQ (juce::JSON::parse (mix.loadFileAsString())["name"].toString(), "Old")
        << "a Mix document is not a Program file";

    enabled = false;
    state.names.setName (1, 5, "Ignored");
    tools.markSlotDirty (1, 5);
    time.advance (AutoSaveTools::debounceMs);
    tools.tick();
    EXPECT_EQ (juce::JSON::parse (program.loadFileAsString())["name"].toString(), "New Pad") << "auto save is off";
}
