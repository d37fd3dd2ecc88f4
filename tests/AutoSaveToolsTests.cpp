#include "LibraryTestSupport.h"
#include "library/AutoSaveTools.h"
#include "library/LibrarianAutoSaveHost.h"

#include <gtest/gtest.h>

#include <map>

using namespace orvo;
using namespace orvo::testing;

namespace
{
template <typename Map, typename Key> std::optional<typename Map::mapped_type> lookUp (const Map& map, const Key& key)
{
    const auto it = map.find (key);
    return it == map.end() ? std::nullopt : std::optional<typename Map::mapped_type> (it->second);
}

/** Editor state the way the librarian holds it: names, notes, tags, tool data and document paths. */
struct FakeEditor : AutoSaveToolsHost
{
    bool enabled = true;
    std::map<std::pair<int, int>, SlotToolValues> slots;
    std::map<int, BankToolValues> bankValuesByBank;
    std::map<std::pair<int, int>, juce::File> programFiles;
    std::map<int, juce::File> bankFiles;

    bool autoSaveEnabled() const override { return enabled; }
    SlotToolValues slotValues (int b, int s) const override
    {
        return lookUp (slots, std::pair (b, s)).value_or (SlotToolValues{});
    }
    BankToolValues bankValues (int b) const override
    {
        return lookUp (bankValuesByBank, b).value_or (BankToolValues{});
    }
    std::optional<juce::File> programFileOfSlot (int b, int s) const override
    {
        return lookUp (programFiles, std::pair (b, s));
    }
    std::optional<juce::File> bankFileOf (int b) const override { return lookUp (bankFiles, b); }
};

juce::var toolData (int morphPosition)
{
    return juce::JSON::parse ("{\"version\": 1, \"morph\": " + juce::String (morphPosition) + "}");
}

/** A document as one line of JSON, keys in their order. */
std::string oneLine (const juce::File& f)
{
    return juce::JSON::toString (juce::JSON::parse (f.loadFileAsString()), true).toStdString();
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
    // Keys keep their places, keys it does not own are kept, new ones go last.
    EXPECT_EQ (oneLine (file),
               R"({"schema": "orvo.program.v1", "type": "program", "extension": ".orvop", "name": "  Deep   Bass ", )"
               R"("normalizedName": "Deep Bass", "source": "orvo-editor-librarian", "bank": "USER", "bankNumber": 0, )"
               R"("program": 5, "notes": "played low", "tags": ["bass", "mono"], )"
               R"("parameters": [{"id": "osc1.semitone", "rawValue": 12}], "sysexBase64": "8AAADh0=", )"
               R"("controlPages": {"version": 1, "morph": 40}})");
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

    // Slot 0 is untouched, keys it does not own are kept, and the bank's own fields change only with its name.
    EXPECT_EQ (
        oneLine (bankFile),
        R"({"schema": "orvo.bank.v1", "type": "program-bank", "name": "User", "displayName": "User", )"
        R"("bankNumber": 0, "notes": "bank notes", "slots": [{"index": 0, "type": "program", "name": "Zero"}, )"
        R"({"index": 5, "type": "program", "name": "Fresh  Lead", "normalizedName": "Fresh Lead", )"
        R"("tags": ["lead"], "notes": "new notes", "programFile": "Old.orvop", )"
        R"("controlPages": {"version": 1, "morph": 10}}, )"
        R"({"index": 9, "type": "program", "name": "Nine", "normalizedName": "Nine", "tags": [], "notes": ""}]})");
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

    EXPECT_EQ (oneLine (bankFile),
               R"({"schema": "orvo.bank.v1", "type": "mix-bank", "name": "Live Set", "displayName": "Live Set", )"
               R"("bankNumber": 3, "notes": "for the tour", "slots": [{"index": 2, "type": "mix", "name": "Opener", )"
               R"("normalizedName": "Opener", "tags": [], "notes": ""}]})");
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

    EXPECT_EQ (log,
               (std::vector<std::string>{ "Auto Save Tools skipped invalid Program file: " + pathOf (notJson) + "\n",
                                          "Auto Save Tools skipped invalid Program file: " + pathOf (missing) + "\n",
                                          "Auto Save Tools skipped invalid Bank file: " + pathOf (anArray) + "\n",
                                          "Auto Save Tools skipped invalid Bank file: " + pathOf (noSlots) + "\n" }));
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
    EXPECT_EQ (log,
               std::vector<std::string>{ "Auto Save Tools could not update Program file: " + pathOf (file) + "\n" });
    EXPECT_EQ (readText (file), R"({"type": "program", "name": "Small"})");
    EXPECT_FALSE (tools.isPending()) << "a failed write is not retried behind the user's back";
}
#endif

TEST (LibrarianAutoSave, WritesASlotBackIntoTheProgramFileItCameFromButNotIntoAMixFile)
{
    TemporaryFolder temp;
    VirtualTime time;
    LibrarianState state;
    LibrarianAutoSaveHost host (state, [] { return true; });
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
}
