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

    EXPECT_EQ (keysOf (doc), words ("format extension version name description createdBy programFileExtension "
                                    "mixFileExtension bankFileExtension notes tags banks lastSelection"));
    EXPECT_EQ (doc["format"].toString(), "OrvoExchange");
    EXPECT_EQ ((int)doc["version"], 1);
    EXPECT_EQ (doc["name"].toString(), "Orvo Editor Factory Default");
    EXPECT_EQ (doc["description"].toString(), "Factory default Orvo editor environment with starter patch tags.");
    EXPECT_EQ (doc["notes"].toString(), "gig notes");
    ASSERT_EQ (doc["tags"].size(), 24);
    EXPECT_EQ (keysOf (doc["tags"][0]), std::vector<std::string>{ "name" });
    EXPECT_EQ (doc["tags"][0]["name"].toString(), "favorite");
    EXPECT_EQ (doc["tags"][23]["name"].toString(), "custom");
    EXPECT_EQ (keysOf (doc["lastSelection"]), words ("bank program"));
    EXPECT_EQ (doc["lastSelection"]["bank"].toString(), "MIX (USER)");
    EXPECT_EQ ((int)doc["lastSelection"]["program"], 42);

    ASSERT_EQ (doc["banks"].size(), 5);
    const char* const ids[] = { "USER", "PRESET1", "PRESET2", "MIX (USER)", "MIX (PRESET)" };
    for (int bank = 0; bank < 5; ++bank)
    {
        const auto b = doc["banks"][bank];
        EXPECT_EQ (keysOf (b), words ("id name displayName kind notes slots"));
        EXPECT_EQ (b["id"].toString(), ids[bank]);
        EXPECT_EQ (b["kind"].toString(), bank < 3 ? "program-bank" : "mix-bank");
        EXPECT_EQ (b["slots"].size(), 128);
    }
    EXPECT_EQ (doc["banks"][2]["displayName"].toString(), "PRESET2");
    EXPECT_EQ (doc["banks"][1]["displayName"].toString(), "B1 Bank");

    struct Case
    {
        juce::var entry;
        std::vector<std::string> keys;
        const char* source;
    };
    const auto plain = words ("index type name tags notes source");
    const auto withSysEx =
        words ("index type name tags notes source wedgePreset parameters rawByteLength sysexBase64 controlPages");
    const auto mix = words ("index type name tags notes source wedgePreset parameters controlPages");
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
        R"(["OrvoExchange"])",
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
    const std::string text = R"js({"format":"OrvoExchange","notes":"n","banks":[
        {"id":"MIX (PRESET)","name":"Second Mixes","slots":[{"index":1,"name":"m"}]},
        {"id":"unknown","displayName":"Presets","name":"ignored","notes":"p","slots":[{"index":2,"name":"p"}]},
        {"id":"USER","slots":[{"index":0,"name":"u","sysexBase64":")js" +
                             base64Of (programDump (0, 0, 5)) + R"js("}]},
        "not a bank"],
        "lastSelection":{"bank":"PRESET1","program":300}})js";
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
    EXPECT_EQ (state.bankDisplayName (3), "MIX (USER)");
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

namespace
{
/** Every optional key of a slot entry somewhere, and text that needs every kind of escape. */
LibrarianState awkwardState()
{
    auto state = filledState();
    const std::string awkward =
        "Qu\"ote\" back\\slash \t tab \n line \x01\x1f\x7f caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d "
        "\xf0\x9f\x8e\xb9";
    state.names.setName (0, 0, awkward);
    state.names.setName (3, 127, "mix " + awkward);
    state.names.setName (4, 0, std::string ("cut\0off", 7));
    state.names.setBankDisplayName (4, "B\xc3\xa4nk \"4\"");
    state.banks[0].notes = "line one\r\nline two";
    state.environmentNotes = awkward;
    state.tagListNames[5] = "Br\303\274ck\\e";
    state.slot (0, 0).tags = { "bass", "we\"ird" };
    state.slot (0, 0).notes = awkward;

    state.slot (0, 0).toolData = parseJson (R"({"version": 1, "morph": {"amount": 0.375}, "midiControl": {},
        "macros": [{"name": "m\u00e4cro \"q\" \\ \t \u0001"}, [], true, null], "big": 1099511627776})");
    state.slot (4, 5).toolData = objectWith ("morph", -3);
    state.slot (4, 5).wedgePreset = objectWith ("preset", juce::String (juce::CharPointer_UTF8 ("W\303\251dge")));
    auto parameters = parameterSnapshot (12);
    parameters[1].getDynamicObject()->setProperty ("section",
                                                   juce::String (juce::CharPointer_UTF8 ("F\xc3\xaflter \\")));
    state.slot (0, 0).parameters = parameters;
    state.slot (1, 1).parameters = juce::Array<juce::var>();         // an empty snapshot is still written
    state.slot (2, 2).programSysEx = ByteVector{ 0xF0, 0x01, 0xF7 }; // Base64 with padding
    state.slot (2, 5).programSysEx = ByteVector{ 0xF0, 0xF7 };
    state.slot (3, 9).wedgePreset = juce::String ("not an object"); // not written
    state.slot (3, 10).toolData = juce::Array<juce::var>{ 1 };      // not written
    state.slot (4, 7).programSysEx = programDump (0, 7, 7);         // a Mix bank never writes SysEx
    state.selectedBank = 4;
    state.selectedSlot = 500;
    return state;
}
} // namespace

TEST (EnvironmentDocument, TheStreamedTextIsTheBuiltDocumentsTextByteForByte)
{
    for (const auto& state : { awkwardState(), filledState(), LibrarianState() })
    {
        const auto built = buildEnvironmentDocument (state);
        std::string text = "stale text from an earlier, longer rewrite";
        for (const bool oneLine : { true, false })
        {
            writeEnvironmentText (state, text, oneLine);
            const auto jucesText = juce::JSON::toString (built, oneLine).toStdString();
            EXPECT_TRUE (text == jucesText) << oneLine;
            EXPECT_TRUE (text == toJsonText (built, oneLine)) << oneLine;
        }
    }

    // What a load makes of the awkward parts.
    const auto state = awkwardState();
    std::string text;
    writeEnvironmentText (state, text, true);
    LibrarianState loaded;
    ASSERT_TRUE (loadEnvironmentObject (loaded, parseJson (text), {}));
    EXPECT_EQ (loaded.names.name (4, 0), "cut");
    EXPECT_EQ (loaded.slot (0, 3).programSysEx, state.slot (0, 3).programSysEx);
    EXPECT_TRUE (loaded.slot (4, 7).programSysEx.empty());
    EXPECT_EQ (loaded.selectedSlot, 127);
    EXPECT_EQ (loaded.bankDisplayName (4), "B\xc3\xa4nk \"4\"");
}
