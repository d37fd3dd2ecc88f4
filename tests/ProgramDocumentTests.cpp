#include "DocumentTestSupport.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
SlotDocumentContent sampleSlot (int bank, int slot)
{
    SlotDocumentContent c;
    c.bank = bank;
    c.slot = slot;
    c.name = "  Big   Brass ";
    c.bankLabel = "PRESET 1";
    c.notes = "warm\nline two";
    c.tags = { "bass", "lead" };
    c.parameters = parameterEntriesToVar (
        { { "osc1.semitone", 2048, "OSCILLATORS", "OSC 1" }, { "filter.cutoff", 1000, "FILTERS", "LPF" } });
    c.toolData = objectWith ("version", 1);
    c.wedgePreset = objectWith ("preset", 7);
    return c;
}
} // namespace

TEST (ProgramDocument, WritesEachFormWithItsKeysInOrder)
{
    const auto dump = makeProgramDump (1, 5);
    const auto t = juce::Time (2026, 0, 2, 3, 4, 5, 678);
    const auto saved = buildProgramDocument (sampleSlot (1, 5), dump, t);
    EXPECT_EQ (keysOf (saved),
               words ("schema type extension name normalizedName source bank bankNumber program capturedAt notes tags "
                      "parameters controlPages wedgePreset rawByteLength sysexBase64 programPayloadSha256 "
                      "nameNeutralPayloadSha256 packedPayloadSha256 rawSysExSha256"));
    EXPECT_EQ (saved["normalizedName"].toString(), "Big Brass");
    EXPECT_EQ ((int)saved["rawByteLength"], (int)dump.size());
    EXPECT_TRUE (saved["capturedAt"].toString().startsWith ("2026-01-02T03:04:05.678"));

    auto noExtras = sampleSlot (0, 0);
    noExtras.wedgePreset = juce::var();
    noExtras.toolData = juce::var();
    const auto bare = buildProgramDocument (noExtras, std::nullopt, t);
    EXPECT_EQ (keysOf (bare).back(), "controlPages");
    EXPECT_TRUE (bare["controlPages"].isObject());

    ImportedProgramInfo info{ "Imported", t, juce::File ("/tmp/x/some.syx"), dump, 12 };
    EXPECT_EQ (keysOf (buildImportedProgramDocument (info)),
               words ("schema type extension name normalizedName source importedAt originalSysexFile originalSysexPath "
                      "orvoProgramDumpOpcode dumpType mappedParameterCount tags notes bankNumber program rawByteLength "
                      "sysexBase64 programPayloadSha256 nameNeutralPayloadSha256 packedPayloadSha256 rawSysExSha256"));
    info.message = makeProgramDump (0, 0, 1, sysex::opProgramEditBuffer);
    const auto editBuffer = buildImportedProgramDocument (info);
    EXPECT_FALSE (editBuffer.hasProperty ("program"));
    EXPECT_EQ (editBuffer["dumpType"].toString(), "program-edit-buffer");

    EXPECT_EQ (
        keysOf (buildBankSyncProgramDocument ("N", "USER", 0, 3, dump, t)),
        words ("schema type name normalizedName source bank bankNumber program capturedAt rawByteLength sysexBase64"));
}

// Saving a Program and loading it into the editor is covered by the Program flows; here what only a
// document written from every kind of slot content brings back.
TEST (ProgramDocument, SavedAndLoadedBackGivesTheSameSlotValuesAndSysEx)
{
    TemporaryFolder tmp;
    const auto dump = makeProgramDump (1, 5, 42);
    const auto file = tmp / "Programs/Big-Brass.orvop";
    ASSERT_TRUE (saveDocumentToFile (file, buildProgramDocument (sampleSlot (1, 5), dump, juce::Time::getCurrentTime()),
                                     DocumentKind::program, {}));

    RecordingLoadHost host;
    host.bank = 1;
    host.slot = 5;
    host.controls = { { "osc1.semitone", 0 } };
    ASSERT_TRUE (loadDocument (file, DocumentKind::program, host).loaded);
    const auto slot = std::make_pair (1, 5);
    EXPECT_EQ (host.names[slot], "Big   Brass");
    EXPECT_EQ (host.notes[slot], "warm\nline two");
    EXPECT_EQ (host.tags[slot], (std::vector<std::string>{ "bass", "lead" }));
    EXPECT_EQ ((int)host.wedges[slot]["preset"], 7);
    EXPECT_EQ (host.appliedDumps, std::vector<ByteVector>{ dump });
    EXPECT_EQ (host.controls["osc1.semitone"], 2048);
    EXPECT_EQ (host.snapshots[slot].size(), 2);
    EXPECT_TRUE (host.editorSnapshots.empty());
    EXPECT_EQ (host.recorded, std::vector<juce::File>{ file });
}

TEST (ProgramDocument, RefusesWhatIsNotAProgramDocumentAndChangesNothing)
{
    TemporaryFolder tmp;
    const std::vector<std::pair<const char*, std::string>> cases = {
        { "corrupt.orvop", "{\"type\": \"program\", " },
        { "array.orvop", "[1, 2]" },
        { "capital.orvop", "{\"type\": \"Program\"}" },
        { "number.orvop", "{\"type\": 5}" },
    };
    for (const auto& [name, text] : cases)
    {
        const auto file = writeText (tmp / name, text);
        RecordingLoadHost host;
        EXPECT_FALSE (loadDocument (file, DocumentKind::program, host).loaded) << name;
        EXPECT_EQ (host.calls, 0) << name;
        EXPECT_EQ (host.lines, (std::vector<std::string>{
                                   "Could not load Program file. The selected file is not an Orvo Editor program "
                                   "document: " +
                                   file.getFullPathName().toStdString() + "\n" }))
            << name;
    }
    RecordingLoadHost host;
    EXPECT_FALSE (loadDocument (tmp / "missing.orvop", DocumentKind::program, host).loaded);
}

TEST (ProgramDocument, SysExProblemsAreLoggedAndTheRestStillLoads)
{
    TemporaryFolder tmp;
    const auto dump = makeProgramDump (0, 4);
    auto damaged = dump;
    damaged.erase (damaged.begin() + 100, damaged.begin() + 300); // cut short: no longer a Program that unpacks
    const std::vector<std::tuple<const char*, juce::var, std::string>> cases = {
        { "bad base64", "@@@@not base64", "Could not decode Program SysEx data from the selected .orvop file.\n" },
        { "wrong type", 12345, "Could not decode Program SysEx data from the selected .orvop file.\n" },
        { "no dump", juce::Base64::toBase64 ("\xF0\x01\x02\xF7", 4),
          "The selected .orvop file does not contain an Orvo Program SysEx dump.\n" },
        { "does not map", juce::Base64::toBase64 (damaged.data(), damaged.size()),
          "Could not map Program SysEx data from the selected .orvop file.\n" },
    };
    for (const auto& [label, base64, line] : cases)
    {
        const auto file = writeText (tmp / "Empty Name.orvop", R"({"type": "program", "name": "", "sysexBase64": )" +
                                                                   juce::JSON::toString (base64).toStdString() + "}");
        RecordingLoadHost host;
        const auto outcome = loadDocument (file, DocumentKind::program, host);
        EXPECT_TRUE (outcome.loaded) << label;
        EXPECT_FALSE (outcome.programSysExMapped) << label;
        EXPECT_EQ (host.names[std::make_pair (0, 0)], "Empty Name") << label;
        EXPECT_EQ (host.lines.front(), line) << label;
        EXPECT_TRUE (host.appliedDumps.empty()) << label;
        const auto check = checkDocument (file, DocumentKind::program);
        EXPECT_FALSE (check.ok) << label;
        EXPECT_EQ (check.message + "\n", line) << label;
    }
}

TEST (ProgramDocument, GoesToAProgramBankWhateverIsSelected)
{
    struct Case
    {
        DocumentKind kind;
        int current;
        juce::var declared;
        int expected;
    };
    const std::vector<Case> cases = {
        { DocumentKind::program, 1, 2, 1 },   { DocumentKind::program, 3, 2, 2 },  { DocumentKind::program, 4, 3, 0 },
        { DocumentKind::program, 3, "2", 0 }, { DocumentKind::program, 3, {}, 0 }, { DocumentKind::mix, 0, 4, 4 },
        { DocumentKind::mix, 4, 3, 4 },       { DocumentKind::mix, 2, 1, 3 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (targetBankForDocument (c.kind, c.current, objectWith ("bankNumber", c.declared)), c.expected)
            << c.current << " " << c.declared.toString();
}
