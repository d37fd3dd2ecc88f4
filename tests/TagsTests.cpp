#include "HeadlessFixture.h"
#include "LibraryTestSupport.h"
#include "data/ProgramLayout.h"
#include "data/ProgramRebuild.h"
#include "library/JsonText.h"
#include "library/ProgramLibraryIndex.h"
#include "library/TagHashExport.h"
#include "library/TagTable.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
const std::string hexA (64, 'a'), hexB (64, 'b'), hexC (64, 'c');

std::vector<std::string> tagsOf (const char* json)
{
    juce::var v;
    EXPECT_TRUE (parseJson (std::string_view (json), v).wasOk()) << json;
    return normalizeTagKeys (v);
}

using Tags = std::vector<std::string>;
} // namespace

TEST (Tags, NormaliseListsAndDigestTexts)
{
    EXPECT_EQ (tagsOf (R"(["Bass", "LEAD", "lead", "sparkle"])"), (Tags{ "bass", "lead" }));
    EXPECT_EQ (tagsOf (R"(" pad; Dark ,favorite;;")"), (Tags{ "favorite", "pad", "dark" })); // canonical order
    EXPECT_EQ (tagsOf (R"([1, null, "custom"])"), (Tags{ "custom" }));
    EXPECT_EQ (tagsOf ("42"), Tags{});

    const std::string upper (64, 'F');
    const struct
    {
        std::string text, expected;
    } digests[] = {
        { "SHA256:" + upper, std::string (64, 'f') },
        { "  " + hexA + "\t", hexA },
        { hexA.substr (0, 63), "" },
        { hexA + "a", "" },
        { "sha256:" + hexA.substr (0, 32) + "-zz-" + hexA.substr (32), hexA }, // stray characters fall away
    };
    for (const auto& d : digests)
        EXPECT_EQ (normaliseDigestText (d.text), d.expected) << d.text;
}

TEST (Tags, TableReadsEveryShapeAndMatchesByPayloadThenNameNeutralDigest)
{
    const std::string json = R"({"programs": [{"name": "A", "programPayloadSha256": ")" + hexA + R"(", "tags": "bass;mono"}],
        "entries": [{"title": "B", "hashes": {"sha256": "SHA256:)" + hexB + R"("}, "tags": ["Pad"]}],
        "records": [{"programName": "C", "nameNeutralProgramSha256": ")" + hexC + R"(", "tags": ["lead"]},
                    {"hash": ")" + hexA + R"(", "tags": ["dark", "bass"]}],
        "banks": [{"bank": "Factory 1", "programs": [{"name": "D", "payloadSha256": ")" + hexB + R"(", "tags": ["bright"]}]}]})";
    juce::var root;
    ASSERT_TRUE (parseJson (std::string_view (json), root).wasOk());
    const auto table = tagTableFromJson (root);
    ASSERT_EQ (table.records.size(), 5u);
    EXPECT_EQ (table.records[1].programPayloadSha256, hexB);
    EXPECT_EQ (table.records[4].source, "Factory 1");

    const auto digests = [] (const std::string& payload, const std::string& neutral)
    {
        ProgramDigests d;
        d.programPayloadSha256 = payload;
        d.nameNeutralPayloadSha256 = neutral;
        return d;
    };
    EXPECT_EQ (table.tagsFor (digests (hexA, hexC)), (Tags{ "bass", "dark", "mono" })); // both records of A, not C's
    EXPECT_EQ (table.tagsFor (digests (hexB, "")), (Tags{ "pad", "bright" }));
    EXPECT_EQ (table.tagsFor (digests (std::string (64, 'd'), hexC)), (Tags{ "lead" })); // renamed: the name-neutral digest
    EXPECT_EQ (table.tagsFor (digests ("", "")), Tags{});

    juce::var array;
    ASSERT_TRUE (parseJson (std::string_view (R"([{"sha256": ")" + hexA + R"(", "tags": ["fx"]}, 7])"), array).wasOk());
    EXPECT_EQ (tagTableFromJson (array).tagsFor (digests (hexA, "")), (Tags{ "fx" }));
}

TEST (Tags, AnUnusableTableFallsBackToTheDefaultWithItsReason)
{
    TemporaryFolder tmp;
    const auto file = tmp / "KnownProgramTags.json";
    const struct
    {
        const char* content; // nullptr: no file
        const char* error;
    } cases[] = {
        { nullptr, "The tag association table does not exist." },
        { "", "The tag association table is empty or could not be read." },
        { "{\"programs\": [", "The tag association table is not valid JSON." },
        { "\"just text\"", "The tag association table must be a JSON object or array." },
        { "{\"unknown\": 1, \"programs\": []}", "" },
    };
    for (const auto& c : cases)
    {
        file.deleteFile();
        if (c.content != nullptr)
            file.replaceWithText (c.content);
        const auto table = loadTagTable (file);
        EXPECT_EQ (table.error, c.error) << (c.content ? c.content : "(none)");
        EXPECT_TRUE (table.records.empty());
        EXPECT_EQ (table.sourceName == pathOf (file), *c.error == 0);
    }
    ensureDefaultTagTable (file); // an existing table is the player's: never replaced
    EXPECT_EQ (readText (file), "{\"unknown\": 1, \"programs\": []}");
}

TEST (Tags, LibrarySearchFindsNamesTagsAndNotesAndKeepsCountsBeyondItsLimit)
{
    TemporaryFolder tmp;
    const auto programs = tmp / "Programs";
    const auto doc = [&] (const char* file, const char* name, const char* tags, const char* notes)
    {
        writeText (programs.getChildFile (file),
                   std::string ("{\"type\": \"program\", \"name\": \"") + name + "\", \"notes\": \"" + notes + "\", \"tags\": " + tags
                       + ", \"parameters\": [" + std::string (5000, ' ') + "], \"tags\": [\"bell\"]}");
    };
    doc ("a.orvop", "Warm Pad", "[\"pad\", \"dark\"]", "slow attack");
    doc ("b.orvop", "Acid Bass", "\"bass;mono\"", "squelchy");
    doc ("sub/c.orvop", "Glass Bell", "[]", "a Pad for the intro");
    doc ("d.orvop", "Dark Lead", "[\"lead\", \"dark\"]", "");
    writeText (programs.getChildFile ("mix.orvop"), "{\"type\": \"mix\", \"name\": \"Pad Mix\"}");

    ProgramLibraryIndex index ([&] { return programs; });
    const auto names = [&] (const std::string& query, const Tags& tags, size_t limit = 100)
    {
        std::string out;
        const auto r = index.search (query, tags, limit);
        for (const auto& h : r.hits)
            out += h.name + "|";
        return out + std::to_string (r.matches);
    };
    const struct
    {
        std::string query;
        Tags tags;
        std::string expected;
    } cases[] = {
        { "", {}, "Acid Bass|Dark Lead|Glass Bell|Warm Pad|4" }, // by name, ignoring case
        { "pad", {}, "Glass Bell|Warm Pad|2" },                  // a name, a tag or the notes
        { "DARK pad", {}, "Warm Pad|1" },                        // every word
        { "", { "dark" }, "Dark Lead|Warm Pad|2" },
        { "lead", { "dark", "lead" }, "Dark Lead|1" },
        { "", { "mono" }, "Acid Bass|1" },
        { "", { "bell" }, "0" }, // the scan stops at the parameter list: a later key is not the document's head
        { "nothing", {}, "0" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (names (c.query, c.tags), c.expected) << c.query;
    EXPECT_EQ (names ("", {}, 2), "Acid Bass|Dark Lead|4");

    doc ("a.orvop", "Warm Pad", "[\"bass\"]", ""); // retagged by another program
    index.noteFileChanged (programs.getChildFile ("a.orvop"));
    EXPECT_EQ (names ("", { "bass" }), "Acid Bass|Warm Pad|2");
}

namespace
{
struct Finder : test::HeadlessFixture
{
    ProgramFinder& finder = editor->session().finder();
    LibrarianState& state = editor->librarian().state();
    ProgramSelector& selector = editor->session().sync().selector();

    std::string listed()
    {
        std::string out;
        for (const auto& r : finder.rows())
            out += r.label + " " + r.name + (r.selected ? "*" : "") + "|";
        return out;
    }
};
} // namespace

TEST_F (Finder, FiltersTheBankByTagsAndTextAndSelectsAChosenSlot)
{
    for (int slot = 0; slot < 128; ++slot)
        state.names.setName (0, slot, "Slot " + std::to_string (slot));
    state.names.setName (0, 5, "Fat Bass");
    state.slot (0, 5).tags = { "bass", "mono" };
    state.slot (0, 9).tags = { "bass" };
    state.slot (0, 9).notes = "wobbly";
    state.slot (1, 9).tags = { "bass", "mono" }; // another bank
    EXPECT_EQ (finder.rows().size(), 128u);

    finder.toggleFilter ("bass");
    EXPECT_EQ (listed(), "USER 005 Fat Bass|USER 009 Slot 9|");
    finder.toggleFilter ("mono");
    EXPECT_EQ (listed(), "USER 005 Fat Bass|");
    finder.toggleFilter ("mono");
    finder.setQuery ("wobbly");
    EXPECT_EQ (listed(), "USER 009 Slot 9|");
    finder.clearFilters();
    finder.setQuery ("slot 12");
    EXPECT_EQ (finder.rows().size(), 10u) << listed();

    editor->connect (false);
    finder.setQuery ("fat");
    finder.choose (0);
    editor->settle (3);
    EXPECT_EQ (selector.program(), 5);
    EXPECT_EQ (listed(), "USER 005 Fat Bass*|");
    EXPECT_TRUE (logContains ("Selected USER 005.\n"));
}

TEST_F (Finder, TagsOfTheSelectedSlotAreSavedAndAnErasedTagLeavesOtherBanks)
{
    selector.follow (0, 3);
    finder.toggleSelectedSlotTag ("lead");
    finder.toggleSelectedSlotTag ("favorite");
    finder.toggleSelectedSlotTag ("sparkle");
    EXPECT_EQ (state.slot (0, 3).tags, (Tags{ "favorite", "lead" }));
    finder.toggleSelectedSlotTag ("favorite");
    EXPECT_EQ (state.slot (0, 3).tags, (Tags{ "lead" }));
    EXPECT_EQ (finder.tagTooltip ("lead", true), "This tag is assigned to the current Program. Click to remove it.");
    EXPECT_EQ (finder.tagTooltip ("pad", true), "Click to assign this tag to the current Program.");
    juce::var saved;
    ASSERT_TRUE (parseJsonFile (editor->librarian().workingEnvironment().file(), saved).wasOk());
    EXPECT_NE (juce::JSON::toString (saved, true).indexOf ("\"tags\": [\"lead\"]"), -1) << "the working environment holds the tag";

    state.slot (0, 100).tags = { "lead", "pad" };
    state.slot (1, 3).tags = { "lead" };
    finder.eraseFilteredTagsFromBank(); // nothing filtered: nothing to ask
    EXPECT_TRUE (editor->prompts.shown.empty());
    finder.toggleFilter ("lead");
    editor->prompts.answers = { 1 }; // CANCEL
    finder.eraseFilteredTagsFromBank();
    EXPECT_EQ (state.slot (0, 100).tags, (Tags{ "lead", "pad" }));
    editor->prompts.answers = { 0 }; // ERASE
    finder.eraseFilteredTagsFromBank();
    ASSERT_EQ (editor->prompts.shown.size(), 2u);
    EXPECT_EQ (editor->prompts.shown[0].title, "Erase Tags");
    EXPECT_EQ (editor->prompts.shown[0].buttons, (std::vector<std::string>{ "ERASE", "CANCEL" }));
    EXPECT_EQ (state.slot (0, 100).tags, (Tags{ "pad" }));
    EXPECT_TRUE (state.slot (0, 3).tags.empty());
    EXPECT_EQ (state.slot (1, 3).tags, (Tags{ "lead" }));
    EXPECT_TRUE (finder.rows().empty()) << "no slot of the bank carries the filtered tag any more";
}

TEST_F (Finder, BankSyncTagsKnownProgramsInUntaggedSlotsOnly)
{
    const auto digestOf = [&] (int slot)
    {
        return computeProgramDigests (buildProgramDump (instrument.storedProgram (0, slot), sysex::opStoredProgram, 0, slot))
            .programPayloadSha256;
    };
    writeText (editor->librarian().library().tagTableFile(),
               R"({"programs": [{"sha256": ")" + digestOf (2) + R"(", "tags": ["bass", "dark"]},
                               {"sha256": ")" + digestOf (3) + R"(", "tags": ["lead"]}]})");
    state.slot (0, 3).tags = { "pad" };
    editor->connect (false);
    editor->prompts.answers = { 0, 1 };
    editor->session().bankSync().confirmBankSync();
    for (int i = 0; i < 200 && ! logContains ("SYNC: updated"); ++i)
        editor->settle (5);
    ASSERT_TRUE (logContains ("SYNC: updated"));
    EXPECT_EQ (state.slot (0, 2).tags, (Tags{ "bass", "dark" }));
    EXPECT_EQ (state.slot (0, 3).tags, (Tags{ "pad" }));
    EXPECT_TRUE (state.slot (0, 4).tags.empty());
}

TEST (Tags, IdenticalProgramsInTwoSlotsGiveOneRecordWithBothTagSets)
{
    UnpackedProgram program (sysex::programUnpackedLength, 0);
    program[0] = sysex::programSignature[0];
    program[1] = sysex::programSignature[1];
    writeProgramName (program, "Twin");
    LibrarianState state;
    ReceivedBanks received;
    const struct
    {
        int bank, slot;
        Tags tags;
    } slots[] = { { 0, 7, { "favorite", "bass" } }, { 2, 90, { "dark", "custom" } }, { 1, 1, { "favorite" } } };
    for (const auto& s : slots)
    {
        state.names.setName (s.bank, s.slot, "Twin");
        state.slot (s.bank, s.slot).tags = s.tags;
        received[s.bank][s.slot] = buildProgramDump (program, sysex::opStoredProgram, s.bank, s.slot);
    }
    const auto result = buildTagHashExport (state, received, "0.11.0", juce::Time (2026, 11, 6, 12, 0));
    EXPECT_EQ (result.tagged, 2) << "a slot tagged only favorite does not count";
    EXPECT_EQ (result.records, 1);
    EXPECT_EQ (result.duplicates, 1);
    juce::var doc;
    ASSERT_TRUE (parseJson (std::string_view (result.text), doc).wasOk());
    EXPECT_EQ (keysOf (doc), (std::vector<std::string>{ "schema", "version", "createdBy", "appVersion", "createdAt", "hashAlgorithm",
                                                        "hashSpecVersion", "primaryHashTarget", "secondaryHashTarget",
                                                        "nameNeutralByteRange", "nameNeutralReplacement", "eligibleTags",
                                                        "excludedTags", "records", "summary" }));
    EXPECT_EQ (juce::JSON::toString (doc["records"][0]["tags"], true), R"(["bass", "dark"])");
    EXPECT_EQ (doc["records"][0]["programPayloadSha256"].toString().toStdString(),
               computeProgramDigests (received[0][7]).programPayloadSha256);
}
