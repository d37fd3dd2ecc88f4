#include "LibrarianTestSupport.h"
#include "SysExTestSupport.h"
#include "instrument/FactoryPrograms.h"
#include "library/FileNaming.h"
#include "library/SysExExport.h"
#include "library/SysExImportFlow.h"

#include <filesystem>
#include <random>

using namespace orvo;
using namespace orvo::testing;

namespace
{
ByteVector stored (int bank, int slot)
{
    return buildProgramDump (factory::program (bank, slot).unpacked, 0, bank, slot);
}

ByteVector joined (std::initializer_list<ByteVector> parts)
{
    ByteVector out;
    for (const auto& p : parts)
        out.insert (out.end(), p.begin(), p.end());
    return out;
}

juce::File writeBytes (const juce::File& file, const ByteVector& bytes)
{
    file.replaceWithData (bytes.data(), bytes.size());
    return file;
}

juce::MemoryBlock bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return block;
}

std::string nameOf (int bank, int slot)
{
    return juce::String (factory::program (bank, slot).name).trim().toStdString();
}

/** The import flow on a library in a temporary folder, with scripted answers. */
struct ImportFixture : ::testing::Test
{
    TemporaryFolder temp;
    std::vector<std::string> log;
    EditorSettingsStore store{ temp / "Settings" };
    LibraryRoot library{ store, [this] (const std::string& l) { log.push_back (l); } };
    VirtualTime time;
    ScriptedFileDialogs dialogs;
    ScriptedPrompts prompts;
    SysExImportFlow flow{ library, dialogs, prompts, time, [this] (const std::string& l) { log.push_back (l); } };

    ImportFixture()
    {
        library.ensureLibraryFolders();
        log.clear();
    }
    juce::File source (const ByteVector& bytes) { return writeBytes (temp / "Source Bank.syx", bytes); }
    juce::File programs() const { return library.folder (LibraryRoot::Folder::programs); }
    juce::File banks() const { return library.folder (LibraryRoot::Folder::banks); }
    int documentsWritten() const
    {
        return programs().getNumberOfChildFiles (juce::File::findFiles, "*") +
               banks().getNumberOfChildFiles (juce::File::findFiles, "*");
    }
    void run (const juce::File& file, std::deque<int> answers, std::deque<std::optional<std::string>> paths = {})
    {
        prompts.answers = std::move (answers);
        dialogs.answers = std::move (paths);
        flow.importFile (file);
    }
};
} // namespace

TEST (ClassifyProgramMessage, ChecksInOrderAndReadsWhatTheDumpSays)
{
    const auto good = stored (1, 5);
    const auto editBuffer = buildProgramDump (factory::program (0, 3).unpacked, 2, 0x10);
    auto unsignedPayload = programNamed ("X");
    unsignedPayload[0] = 0;
    const std::string header = "The Program dump does not have the expected Brevant Orvo SysEx header.";
    const std::string layout = "The Orvo Program dump does not match the documented byte layout.";
    const struct
    {
        const char* what;
        ByteVector message;
        std::string error;
    } refused[] = {
        { "nine bytes", framed ({ 0x00, 0x00, 0x05, 0xF7 }), header },
        { "another model", withByte (good, 4, 0x1E), header },
        { "no final F7", withByte (good, good.size() - 1, 0x00), header },
        { "a Mix dump", mixDumpMessage (ByteVector (1024, 0)), "The SysEx message is not an Orvo Program dump." },
        { "stored, 2349 bytes", joined ({ ByteVector (good.begin(), good.end() - 2), { 0xF7 } }), layout },
        { "edit buffer sub 11", withByte (editBuffer, 6, 0x11), layout },
        { "no Program signature", packedMessage ({ 0x00, 0x00, 0x05 }, unsignedPayload),
          "The Orvo Program payload could not be parsed." },
    };
    for (const auto& c : refused)
    {
        const auto r = classifyProgramMessage (c.message);
        EXPECT_FALSE (r.program) << c.what;
        EXPECT_EQ (r.error, c.error) << c.what;
    }

    const auto s = classifyProgramMessage (good);
    ASSERT_TRUE (s.program);
    EXPECT_EQ (s.program->name, nameOf (1, 5));
    EXPECT_EQ (std::vector<int> ({ s.program->opcode, s.program->bank, s.program->program }), std::vector<int> ({ 0, 1, 5 }));
    EXPECT_GT (s.program->mappedParameterCount, 150);
    const auto e = classifyProgramMessage (editBuffer);
    ASSERT_TRUE (e.program);
    EXPECT_EQ (std::vector<int> ({ e.program->opcode, e.program->bank, e.program->program }), std::vector<int> ({ 2, -1, -1 }));
    const auto blank = classifyProgramMessage (buildProgramDump (programNamed (""), 0, 0, 0));
    ASSERT_TRUE (blank.program);
    EXPECT_EQ (blank.program->name, "Imported Program");
}

TEST (AnalyseSysEx, TellsAProgramFromABankAndExplainsTheRest)
{
    std::mt19937 rng (7);
    ByteVector noise (5000);
    for (auto& b : noise)
        b = (std::uint8_t) (rng() % 0xF0); // no F0 at all
    const auto mix = mixDumpMessage (ByteVector (1024, 0));
    const auto a = stored (1, 7);
    const struct
    {
        const char* what;
        ByteVector bytes;
        std::string error, details;
    } cases[] = {
        { "random bytes", noise, "The file does not contain a complete SysEx message.", "" },
        { "F0 without F7", ByteVector (a.begin(), a.end() - 1), "The file does not contain a complete SysEx message.", "" },
        { "only a Mix", mix,
          "The file contains Orvo SysEx data, but not an importable Program dump. It may be a Mix, Global, or "
          "unsupported bank file.",
          "" },
        { "two identical dumps", joined ({ a, a }), "",
          "SysEx messages found: 2\nPrograms found: 2\nFirst Program: " + nameOf (1, 7) + "\nLast Program: " +
              nameOf (1, 7) },
        { "a Program and a Mix", joined ({ mix, noise, a }), "",
          "SysEx messages found: 2\nPrograms found: 1\nFirst Program: " + nameOf (1, 7) + "\nLast Program: " +
              nameOf (1, 7) },
    };
    for (const auto& c : cases)
    {
        const auto r = analyseSysExBytes (c.bytes.data(), c.bytes.size());
        EXPECT_EQ (r.error, c.error) << c.what;
        if (!c.details.empty())
        {
            ASSERT_TRUE (r.analysis) << c.what;
            EXPECT_EQ (r.analysis->type, SysExFileAnalysis::programBank) << c.what;
            EXPECT_EQ (r.analysis->caption, "Orvo Program Bank");
            EXPECT_EQ (r.analysis->details, c.details) << c.what;
        }
    }
    const auto one = analyseSysExBytes (a.data(), a.size());
    ASSERT_TRUE (one.analysis);
    EXPECT_EQ (one.analysis->type, SysExFileAnalysis::singleProgram);
    EXPECT_EQ (one.analysis->details, "SysEx messages found: 1\nProgram name: " + nameOf (1, 7) +
                                          "\nMapped editor values: " +
                                          std::to_string (one.analysis->programs[0].mappedParameterCount));
}

TEST_F (ImportFixture, BadFilesAreExplainedAndNothingIsWritten)
{
    const auto dump = stored (0, 1);
    std::mt19937 rng (3);
    ByteVector random (20000);
    for (auto& b : random)
        b = (std::uint8_t)rng();
    const auto huge = temp / "huge.syx";
    huge.create();
    std::filesystem::resize_file (pathOf (huge), 100u << 20); // sparse: costs no disk
    const struct
    {
        juce::File file;
        std::string message;
    } cases[] = {
        { writeBytes (temp / "noise.syx", { 0x01, 0x02, 0x7F }),
          "Could not import SysEx file. The file does not contain a complete SysEx message." },
        { writeBytes (temp / "random.syx", random),
          "Could not import SysEx file. The file contains Orvo SysEx data, but not an importable Program dump. It may "
          "be a Mix, Global, or unsupported bank file." },
        { writeBytes (temp / "cut.syx", ByteVector (dump.begin(), dump.end() - 1)),
          "Could not import SysEx file. The file does not contain a complete SysEx message." },
        { huge, "Could not import SysEx file. The file could not be read. It holds 104857600 bytes; SysEx files "
                "over 64 MB are not read." },
        { temp / "missing.syx", "Could not import SysEx file. The file could not be read." },
    };
    for (const auto& c : cases)
    {
        const auto before = c.file.getLastModificationTime();
        const auto bytes = bytesOf (c.file);
        run (c.file, {});
        ASSERT_FALSE (prompts.shown.empty());
        EXPECT_EQ (prompts.shown.back().title, "Import SysEx File");
        EXPECT_EQ (prompts.shown.back().message, c.message);
        EXPECT_EQ (log.back(), c.message + " " + pathOf (c.file) + "\n");
        EXPECT_EQ (c.file.getLastModificationTime(), before);
        EXPECT_TRUE (bytesOf (c.file) == bytes);
    }
    EXPECT_TRUE (dialogs.titles.empty());
    EXPECT_EQ (documentsWritten(), 0);
}

TEST_F (ImportFixture, OneProgramBecomesAProgramDocument)
{
    const auto file = writeBytes (temp / "Solo Lead!.syx", stored (2, 9));
    flow.tagsFor = [] (const ImportedProgram&) { return std::vector<std::string>{ "Lead", "nonsense", "bass" }; };
    const auto target = programs().getChildFile ("solo.orvop");
    run (file, { 0 }, { pathOf (target) });

    EXPECT_EQ (prompts.shown[0].message, "Detected: Orvo Program\n\n" +
                                             analyseSysExFile (file).analysis->details +
                                             "\n\nThe editor will save this as a Program file (.orvop).");
    EXPECT_EQ (prompts.shown[0].buttons, (std::vector<std::string>{ "CONTINUE", "CANCEL" }));
    EXPECT_EQ (dialogs.titles, (std::vector<std::string>{ "Save Imported Program" }));
    const auto doc = parseJson (readText (target));
    EXPECT_EQ (keysOf (doc),
               (std::vector<std::string>{ "schema", "type", "extension", "name", "normalizedName", "source", "importedAt",
                                          "originalSysexFile", "originalSysexPath", "orvoProgramDumpOpcode", "dumpType",
                                          "mappedParameterCount", "tags", "notes", "bankNumber", "program",
                                          "rawByteLength", "sysexBase64", "programPayloadSha256",
                                          "nameNeutralPayloadSha256", "packedPayloadSha256", "rawSysExSha256" }));
    EXPECT_EQ (doc["originalSysexFile"].toString(), "Solo Lead!.syx");
    EXPECT_EQ (juce::JSON::toString (doc["tags"], true), "[\"bass\", \"lead\"]");
    EXPECT_EQ ((int)doc["bankNumber"] * 1000 + (int)doc["program"], 2009);
    EXPECT_EQ (log.back(), "Imported SysEx file non-destructively. Original file was not modified: " + pathOf (file) + "\n");
}

TEST_F (ImportFixture, ABankIsSavedWholeAndCancellingWritesNothing)
{
    const auto file = source (factory::bankSysEx (1));
    const auto before = bytesOf (file);
    const auto modified = file.getLastModificationTime();
    run (file, { 2 });
    EXPECT_EQ (log.back(), "SysEx import cancelled after file analysis.\n");
    EXPECT_EQ (prompts.shown[0].buttons,
               (std::vector<std::string>{ "SAVE BANK FILE", "SPLIT INTO PROGRAMS", "CANCEL" }));
    EXPECT_EQ (documentsWritten(), 0);

    const auto target = banks().getChildFile ("Source-Bank.orvob");
    run (file, { 0 }, { pathOf (target) });
    EXPECT_EQ (dialogs.titles.back(), "Save Imported Program Bank");
    const auto doc = parseJson (readText (target));
    EXPECT_EQ (keysOf (doc), (std::vector<std::string>{ "schema", "type", "extension", "name", "displayName",
                                                        "normalizedName", "source", "importedAt", "originalSysexFile",
                                                        "originalSysexPath", "bankNumber", "notes", "slots" }));
    EXPECT_EQ (doc["displayName"].toString(), "Source Bank");
    EXPECT_EQ ((int)doc["bankNumber"], 1);
    ASSERT_EQ (doc["slots"].size(), 128);
    EXPECT_EQ (keysOf (doc["slots"][0]),
               (std::vector<std::string>{ "index", "type", "name", "normalizedName", "tags", "notes", "rawByteLength",
                                          "sysexBase64", "program", "programPayloadSha256",
                                          "nameNeutralPayloadSha256", "packedPayloadSha256", "rawSysExSha256" }));
    EXPECT_EQ (doc["slots"][127]["name"].toString().toStdString(), nameOf (1, 127));
    EXPECT_EQ (log.back(), "Imported SysEx bank non-destructively. Original file was not modified: " + pathOf (file) + "\n");
    EXPECT_TRUE (bytesOf (file) == before);
    EXPECT_EQ (file.getLastModificationTime(), modified);
}

TEST_F (ImportFixture, ASplitNumbersClashingNamesAndExportsBackByteForByte)
{
    auto same = factory::program (0, 4).unpacked;
    const auto twin = [&] (int slot) { return buildProgramDump (same, 0, 0, slot); };
    const auto file = source (joined ({ twin (4), twin (9), twin (12) }));
    const auto folder = temp / "Split Here";
    run (file, { 1 }, { pathOf (folder) });

    EXPECT_EQ (dialogs.titles.back(), "Choose Folder for Imported Programs");
    const auto stem = fileNameStem (nameOf (0, 4), "");
    for (const auto* suffix : { "", "-2", "-3" })
        EXPECT_TRUE (folder.getChildFile (stem + suffix + ".orvop").existsAsFile()) << suffix;
    EXPECT_EQ (log.back(), "Split imported Program Bank into 3 Program files in " + pathOf (folder) + "\n");

    // A whole bank: imported as a bank and as 128 Programs, both give back the file's 128 dumps.
    const auto bank = factory::bankSysEx (2);
    const auto bankFile = writeBytes (temp / "preset2.syx", bank);
    const auto asBank = importSysExIntoLibrary (bankFile, temp / "Lib", false, juce::Time());
    const auto asPrograms = importSysExIntoLibrary (bankFile, temp / "Lib", true, juce::Time());
    ASSERT_EQ (asBank.written.size(), 1u);
    ASSERT_EQ (asPrograms.written.size(), 128u);
    EXPECT_EQ (asPrograms.kind + std::to_string (asPrograms.programs), "split128");
    EXPECT_EQ (bankDocumentSysEx (asBank.written[0]).bytes, bank);
    ByteVector again;
    for (const auto& f : asPrograms.written)
    {
        const auto one = programDocumentSysEx (f);
        again.insert (again.end(), one.bytes.begin(), one.bytes.end());
    }
    EXPECT_EQ (again, bank);
    EXPECT_FALSE (importSysExIntoLibrary (writeBytes (temp / "mix.syx", mixDumpMessage (ByteVector (1024, 0))),
                                          temp / "Lib", false, juce::Time())
                      .error.empty());
}
