#include "LibrarianTestSupport.h"
#include "library/EnvironmentDocument.h"
#include "library/JsonText.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
LibrarianState filledState()
{
    LibrarianState state;
    for (int bank = 0; bank < LibrarianState::numBanks; ++bank)
        fillBank (state, bank, "B" + std::to_string (bank));
    state.names.setBankDisplayName (2, ""); // a bank without a name of its own shows its label
    state.environmentNotes = "gig notes";
    state.selectedBank = 3;
    state.selectedSlot = 42;
    return state;
}
} // namespace

TEST (EnvironmentDocument, WritesItsConstantsBanksAndSlotsWithKeysInOrder)
{
    const auto state = filledState();
    const auto doc = buildEnvironmentDocument (state);

    EXPECT_EQ (keysOf (doc),
               (std::vector<std::string>{ "format", "extension", "version", "name", "description", "createdBy",
                                          "programFileExtension", "mixFileExtension", "bankFileExtension", "notes",
                                          "tags", "banks", "lastSelection" }));
    EXPECT_EQ (doc["format"].toString(), "OrvoExchange");
    EXPECT_EQ ((int)doc["version"], 1);
    EXPECT_EQ (doc["name"].toString(), "Orvo Editor Factory Default");
    EXPECT_EQ (doc["description"].toString(), "Factory default Orvo editor environment with starter patch tags.");
    EXPECT_EQ (doc["notes"].toString(), "gig notes");
    ASSERT_EQ (doc["tags"].size(), 24);
    EXPECT_EQ (keysOf (doc["tags"][0]), std::vector<std::string>{ "name" });
    EXPECT_EQ (doc["tags"][0]["name"].toString(), "favorite");
    EXPECT_EQ (doc["tags"][23]["name"].toString(), "custom");
    EXPECT_EQ (keysOf (doc["lastSelection"]), (std::vector<std::string>{ "bank", "program" }));
    EXPECT_EQ (doc["lastSelection"]["bank"].toString(), "MIX 1");
    EXPECT_EQ ((int)doc["lastSelection"]["program"], 42);

    ASSERT_EQ (doc["banks"].size(), 5);
    const char* const ids[] = { "USER", "PRESET 1", "PRESET 2", "MIX 1", "MIX 2" };
    for (int bank = 0; bank < 5; ++bank)
    {
        const auto b = doc["banks"][bank];
        EXPECT_EQ (keysOf (b), (std::vector<std::string>{ "id", "name", "displayName", "kind", "notes", "slots" }));
        EXPECT_EQ (b["id"].toString(), ids[bank]);
        EXPECT_EQ (b["kind"].toString(), bank < 3 ? "program-bank" : "mix-bank");
        EXPECT_EQ (b["slots"].size(), 128);
    }
    EXPECT_EQ (doc["banks"][2]["displayName"].toString(), "PRESET 2");
    EXPECT_EQ (doc["banks"][1]["displayName"].toString(), "B1 Bank");

    struct Case
    {
        juce::var entry;
        std::vector<std::string> keys;
        const char* source;
    };
    const std::vector<std::string> plain{ "index", "type", "name", "tags", "notes", "source" };
    const std::vector<std::string> withSysEx{ "index",         "type",        "name",        "tags",
                                              "notes",         "source",      "wedgePreset", "parameters",
                                              "rawByteLength", "sysexBase64", "controlPages" };
    const std::vector<std::string> mix{ "index",  "type",        "name",       "tags",        "notes",
                                        "source", "wedgePreset", "parameters", "controlPages" };
    for (const auto& c : { Case{ doc["banks"][0]["slots"][1], plain, "factory-default" },
                           Case{ doc["banks"][0]["slots"][3], withSysEx, "cached-program-sysex" },
                           Case{ doc["banks"][4]["slots"][3], mix, "factory-default" } })
    {
        EXPECT_EQ (keysOf (c.entry), c.keys);
        EXPECT_EQ (c.entry["source"].toString(), c.source);
    }
}

TEST (EnvironmentDocument, ALoadedEnvironmentWritesBackExactly)
{
    const auto state = filledState();
    const auto text = juce::JSON::toString (buildEnvironmentDocument (state));

    LibrarianState loaded;
    loaded.names.setName (1, 1, "stale");
    std::vector<std::string> log;
    int slots = 0, dumps = 0;
    ASSERT_TRUE (loadEnvironmentObject (
        loaded, juce::JSON::parse (text), [&] (const std::string& s) { log.push_back (s); }, &slots, &dumps));
    EXPECT_EQ (juce::JSON::toString (buildEnvironmentDocument (loaded)), text);
    EXPECT_EQ (slots, 640);
    EXPECT_EQ (dumps, 3 * 43);
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (loaded.selectedBank, 3);
    EXPECT_EQ (loaded.selectedSlot, 42);
    EXPECT_EQ (loaded.slot (0, 3).programSysEx, state.slot (0, 3).programSysEx);
    EXPECT_EQ (loaded.names.name (1, 1), "B1 1");
}

TEST (EnvironmentDocument, AnythingButTheExactFormatIsRefusedWithoutClearingAnything)
{
    const char* const refused[] = {
        R"({"format":"orvoexchange","banks":[]})",
        R"({"format":"OrvoExchange ","banks":[]})",
        R"({"banks":[]})",
        R"({"format":1})",
        R"(["OrvoExchange"])",
        R"({"format":"OrvoExchange")",
        "",
    };
    for (const auto* text : refused)
    {
        LibrarianFixture f;
        fillBank (f.state, 0, "Kept");
        const auto before = juce::JSON::toString (buildEnvironmentDocument (f.state));
        const auto file = writeText (f.environmentsFolder().getChildFile ("x.orvox"), text);
        EXPECT_FALSE (f.flows.loadEnvironmentFile (file)) << text;
        EXPECT_EQ (juce::JSON::toString (buildEnvironmentDocument (f.state)), before) << text;
        const auto line = "Could not load Environment file. The selected file is not an Orvo Editor Environment "
                          "document: " +
                          file.getFullPathName().toStdString() + "\n";
        EXPECT_EQ (f.log, std::vector<std::string>{ line }) << text;
        EXPECT_FALSE (f.working.file().exists()) << text;

        const auto report = loadEnvironmentDocument (file);
        EXPECT_FALSE (report.ok);
        EXPECT_EQ (report.message + "\n", line);
    }
}

TEST (EnvironmentDocument, BanksAreFoundByLabelElseByPositionAndTheSelectionByLabel)
{
    const std::string text = R"({"format":"OrvoExchange","notes":"n","banks":[
        {"id":"MIX 2","name":"Second Mixes","slots":[{"index":1,"name":"m"}]},
        {"id":"unknown","displayName":"Presets","name":"ignored","notes":"p","slots":[{"index":2,"name":"p"}]},
        {"id":"USER","slots":[{"index":0,"name":"u","sysexBase64":")" +
                             base64Of (programDump (0, 0, 5)) + R"("}]},
        "not a bank"],
        "lastSelection":{"bank":"PRESET 1","program":300}})";
    LibrarianState state;
    fillBank (state, 3, "Old");
    ASSERT_TRUE (loadEnvironmentObject (state, parseJson (text), {}));
    EXPECT_EQ (state.names.name (4, 1), "m");
    EXPECT_EQ (state.bankDisplayName (4), "Second Mixes");
    EXPECT_EQ (state.names.name (1, 2), "p"); // by position
    EXPECT_EQ (state.bankDisplayName (1), "Presets");
    EXPECT_EQ (state.banks[1].notes, "p");
    EXPECT_EQ (state.slot (0, 0).programSysEx, programDump (0, 0, 5));
    EXPECT_EQ (state.names.name (3, 1), ""); // everything else was cleared
    EXPECT_EQ (state.bankDisplayName (3), "MIX 1");
    EXPECT_EQ (state.environmentNotes, "n");
    EXPECT_EQ (state.selectedBank, 1);
    EXPECT_EQ (state.selectedSlot, 127);
}

TEST (EnvironmentDocument, LoadAndSaveEnvironmentGoThroughTheirDialogsAndKeepTheWorkingState)
{
    LibrarianFixture f;
    fillBank (f.state, 0, "Saved");
    const auto chosen = f.environmentsFolder().getChildFile ("Mine.orvox");
    f.dialogs.answers = { chosen.getFullPathName().toStdString() };
    f.flows.saveEnvironment();
    EXPECT_TRUE (f.logged ("Saved Environment file: " + chosen.getFullPathName().toStdString() + "\n"));

    f.state.clear();
    f.dialogs.answers = { chosen.getFullPathName().toStdString() };
    f.flows.loadEnvironment();
    EXPECT_EQ (f.dialogs.titles, (std::vector<std::string>{ "Save Environment", "Load Environment" }));
    EXPECT_EQ (f.state.names.name (0, 7), "Saved 7");
    EXPECT_TRUE (f.logged ("Loaded Environment file: " + chosen.getFullPathName().toStdString() + "\n"));
    // The loaded state is now the working state on disk.
    EXPECT_EQ (toJsonText (readJsonDocument (f.working.file())), readText (chosen));

    const auto report = loadEnvironmentDocument (chosen);
    EXPECT_TRUE (report.ok);
    EXPECT_EQ (report.slots, 640);
    EXPECT_EQ (report.programDumps, 43);
}

TEST (JsonText, WritesWhatJucesJsonWriterWritesInBothLayouts)
{
    auto* inner = new juce::DynamicObject();
    inner->setProperty ("empty object", juce::var (new juce::DynamicObject()));
    inner->setProperty ("empty array", juce::Array<juce::var>());
    inner->setProperty ("numbers", juce::Array<juce::var>{ 0, -17, (juce::int64)1 << 40, 0.5, 1.0e-7, 3.0, 1.0e9 });
    inner->setProperty ("flags", juce::Array<juce::var>{ true, false, juce::var() });
    inner->setProperty (juce::String (juce::CharPointer_UTF8 ("k\xc3\xa9y \"quoted\"")), "v");
    auto* root = new juce::DynamicObject();
    root->setProperty (
        "text", juce::String (juce::CharPointer_UTF8 (
                    "plain \"q\" back\\slash \a\b\f\t\r\n ctl\x01 del\x7f \xc3\xa9 \xe2\x80\x9c \xf0\x9f\x8e\xb9")));
    root->setProperty ("nested", juce::var (inner));
    root->setProperty ("list", juce::Array<juce::var>{ juce::var (new juce::DynamicObject()), "x" });
    const juce::var value (root);

    for (const bool oneLine : { false, true })
        EXPECT_EQ (toJsonText (value, oneLine), juce::JSON::toString (value, oneLine).toStdString()) << oneLine;

    const auto environment = buildEnvironmentDocument (filledState());
    EXPECT_TRUE (toJsonText (environment) == juce::JSON::toString (environment).toStdString());
}

TEST (EnvironmentDocument, WrongTypesInsideAnEnvironmentLeaveAnEmptyState)
{
    const char* const documents[] = {
        R"({"format":"OrvoExchange","banks":"all of them","lastSelection":[1,2]})",
        R"({"format":"OrvoExchange","banks":[{"id":3,"slots":{"index":1}},7,null],"notes":5})",
        R"({"format":"OrvoExchange","banks":[{},{},{},{},{},{"id":"extra","slots":[{"index":0,"name":"x"}]}],
            "lastSelection":{"bank":"NOPE","program":"9"}})",
    };
    for (const auto* text : documents)
    {
        LibrarianState state;
        fillBank (state, 0, "Old");
        state.selectedBank = 2;
        state.selectedSlot = 5;
        ASSERT_TRUE (loadEnvironmentObject (state, parseJson (text), {})) << text;
        const auto empty = buildEnvironmentDocument (
            []
            {
                LibrarianState s;
                s.selectedBank = 2;
                s.selectedSlot = 5;
                return s;
            }());
        EXPECT_TRUE (juce::JSON::toString (buildEnvironmentDocument (state)) == juce::JSON::toString (empty)) << text;
    }
}
