#include "HeadlessFixture.h"
#include "LibrarianTestSupport.h"
#include "SysExTestSupport.h"
#include "data/ProgramCodec.h"
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

ByteVector bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return ByteVector ((const std::uint8_t*)block.getData(), (const std::uint8_t*)block.getData() + block.getSize());
}

ByteVector editBufferOf (int bank, int slot)
{
    return buildProgramDump (factory::program (bank, slot).unpacked, 2, 0x10);
}

DecodedProgramValues decoded (const ByteVector& dump)
{
    DecodedProgramValues v;
    std::string diagnostic;
    EXPECT_TRUE (decodeProgramDump (dump, v, diagnostic));
    return v;
}

/** A document's keys in their order, separated by spaces. */
std::string keyList (const juce::var& object)
{
    std::string out;
    for (const auto& key : keysOf (object))
        out += (out.empty() ? "" : " ") + key;
    return out;
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

struct ExportFixture : ::testing::Test, LibrarianFixture
{
    SysExExportFlow flow{ state, library, dialogs, prompts, time, logFn };
    EditorValues values{};

    ExportFixture()
    {
        library.ensureLibraryFolders();
        flow.cachedProgramSysEx = [this] (int bank, int slot) -> std::optional<ByteVector>
        { return state.slot (bank, slot).programSysEx; };
        flow.editorValue = [this] (int row) { return values[(std::size_t)row]; };
    }
    void fillUserBank (int count)
    {
        for (int slot = 0; slot < count; ++slot)
            state.slot (0, slot).programSysEx = editBufferOf (0, slot);
    }
    std::string lastDialog() const { return prompts.shown.empty() ? "" : prompts.shown.back().message; }
};
} // namespace

TEST (ClassifyProgramMessage, ChecksInOrderAndReadsWhatTheDumpSays)
{
    const auto good = stored (1, 5);
    const auto editBuffer = editBufferOf (0, 3);
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

    const struct
    {
        ByteVector message;
        std::string name;
        std::vector<int> opcodeBankProgram;
    } accepted[] = {
        { good, nameOf (1, 5), { 0, 1, 5 } },
        { editBuffer, nameOf (0, 3), { 2, -1, -1 } },
        { buildProgramDump (programNamed (""), 0, 0, 0), "Imported Program", { 0, 0, 0 } },
    };
    for (const auto& c : accepted)
    {
        const auto p = classifyProgramMessage (c.message).program;
        ASSERT_TRUE (p) << c.name;
        EXPECT_EQ (p->name, c.name);
        EXPECT_EQ (std::vector<int> ({ p->opcode, p->bank, p->program }), c.opcodeBankProgram) << c.name;
    }
    EXPECT_GT (classifyProgramMessage (good).program->mappedParameterCount, 150);
}

TEST (AnalyseSysEx, TellsAProgramFromABankAndExplainsTheRest)
{
    const auto mix = mixDumpMessage (ByteVector (1024, 0));
    const auto a = stored (1, 7);
    const auto bankOf = [] (int messages, int programs)
    {
        return "SysEx messages found: " + std::to_string (messages) + "\nPrograms found: " + std::to_string (programs) +
               "\nFirst Program: " + nameOf (1, 7) + "\nLast Program: " + nameOf (1, 7);
    };
    const struct
    {
        const char* what;
        ByteVector bytes;
        std::string error, caption, details;
    } cases[] = {
        { "only a Mix", mix,
          "The file contains Orvo SysEx data, but not an importable Program dump. It may be a Mix, Global, or "
          "unsupported bank file.",
          "", "" },
        { "two identical dumps", joined ({ a, a }), "", "Orvo Program Bank", bankOf (2, 2) },
        { "a Mix, stray bytes, a Program", joined ({ mix, { 1, 2, 3 }, a }), "", "Orvo Program Bank", bankOf (2, 1) },
        { "one Program", a, "", "Orvo Program",
          "SysEx messages found: 1\nProgram name: " + nameOf (1, 7) +
              "\nMapped editor values: " + std::to_string (classifyProgramMessage (a).program->mappedParameterCount) },
    };
    for (const auto& c : cases)
    {
        const auto r = analyseSysExBytes (c.bytes.data(), c.bytes.size());
        EXPECT_EQ (r.error, c.error) << c.what;
        EXPECT_EQ (r.analysis ? r.analysis->caption + "|" + r.analysis->details : "",
                   c.caption + (c.caption.empty() ? "" : "|") + c.details)
            << c.what;
    }
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
        { writeBytes (temp / "random.syx", random),
          "Could not import SysEx file. The file contains Orvo SysEx data, but not an importable Program dump. It may "
          "be a Mix, Global, or unsupported bank file." },
        { writeBytes (temp / "cut.syx", ByteVector (dump.begin(), dump.end() - 1)),
          "Could not import SysEx file. The file does not contain a complete SysEx message." },
        { huge, "Could not import SysEx file. The file could not be read. It holds 104857600 bytes; SysEx files "
                "over 64 MB are not read." },
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
        EXPECT_EQ (bytesOf (c.file), bytes);
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

    EXPECT_EQ (prompts.shown[0].message, "Detected: Orvo Program\n\n" + analyseSysExFile (file).analysis->details +
                                             "\n\nThe editor will save this as a Program file (.orvop).");
    EXPECT_EQ (prompts.shown[0].buttons, (std::vector<std::string>{ "CONTINUE", "CANCEL" }));
    EXPECT_EQ (dialogs.titles, (std::vector<std::string>{ "Save Imported Program" }));
    const auto doc = parseJson (readText (target));
    EXPECT_EQ (keyList (doc), "schema type extension name normalizedName source importedAt originalSysexFile "
                              "originalSysexPath orvoProgramDumpOpcode dumpType mappedParameterCount tags notes "
                              "bankNumber program rawByteLength sysexBase64 programPayloadSha256 "
                              "nameNeutralPayloadSha256 packedPayloadSha256 rawSysExSha256");
    EXPECT_EQ (doc["originalSysexFile"].toString(), "Solo Lead!.syx");
    EXPECT_EQ (juce::JSON::toString (doc["tags"], true), "[\"bass\", \"lead\"]");
    EXPECT_EQ ((int)doc["bankNumber"] * 1000 + (int)doc["program"], 2009);
    EXPECT_EQ (log.back(),
               "Imported SysEx file non-destructively. Original file was not modified: " + pathOf (file) + "\n");
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
    EXPECT_EQ (keyList (doc), "schema type extension name displayName normalizedName source importedAt "
                              "originalSysexFile originalSysexPath bankNumber notes slots");
    EXPECT_EQ (doc["displayName"].toString(), "Source Bank");
    EXPECT_EQ ((int)doc["bankNumber"], 1);
    ASSERT_EQ (doc["slots"].size(), 128);
    EXPECT_EQ (keyList (doc["slots"][0]), "index type name normalizedName tags notes rawByteLength sysexBase64 program "
                                          "programPayloadSha256 nameNeutralPayloadSha256 packedPayloadSha256 "
                                          "rawSysExSha256");
    EXPECT_EQ (doc["slots"][127]["name"].toString().toStdString(), nameOf (1, 127));
    EXPECT_EQ (log.back(),
               "Imported SysEx bank non-destructively. Original file was not modified: " + pathOf (file) + "\n");
    EXPECT_EQ (bytesOf (file), before);
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
    const auto blocked = folder.getChildFile (stem + ".orvop").getChildFile ("sub");
    run (file, { 1 }, { pathOf (blocked) });
    EXPECT_EQ (log.back(), "Could not create Program import folder: " + pathOf (blocked) + "\n");

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
}

TEST (SysExExportBuilders, RefuseWithoutAProgramBankOrACachedDump)
{
    const CachedDumpLookup none = [] (int, int) { return std::optional<ByteVector>(); };
    const std::string select =
        "The current selection is not a Program bank. Select USER, PRESET 1, or PRESET 2 before exporting ";
    EXPECT_EQ (buildCachedProgramSysEx (3, 0, none).error, select + "Program SysEx.");
    EXPECT_EQ (buildCurrentBankSysEx (4, none).error, select + "Bank SysEx.");
    EXPECT_EQ (buildEditorEnvelopeSysEx (-1, 0, none, {}).error, select + "editor envelope SysEx.");
    EXPECT_EQ (buildCachedProgramSysEx (0, 0, none).error,
               "The current Program does not have a cached Orvo Program SysEx dump yet.\n\nLoad, import, or sync a "
               "Program with Orvo SysEx data before exporting .syx.");
    EXPECT_EQ (buildEditorEnvelopeSysEx (0, 0, none, {}).error,
               "The current Program does not have a cached Orvo Program SysEx dump to use as the export base.\n\nLoad, "
               "import, or sync a Program with Orvo SysEx data before exporting editor envelope values.");
    const CachedDumpLookup broken = [] (int, int) { return std::optional<ByteVector> ({ 0xF0, 0x00, 0xF7 }); };
    EXPECT_EQ (buildEditorEnvelopeSysEx (0, 0, broken, {}).error,
               "The cached Program SysEx dump does not match the documented Orvo Program dump layout.");
    // An edit buffer is addressed to the slot it is exported from.
    const CachedDumpLookup one = [] (int, int) { return std::optional<ByteVector> (editBufferOf (1, 9)); };
    EXPECT_EQ (buildCachedProgramSysEx (1, 9, one).bytes, buildProgramDump (factory::program (1, 9).unpacked, 0, 1, 9));
}

TEST_F (ExportFixture, CurrentBankNeedsAll128DumpsAndWritesThemRebuiltForTheirSlots)
{
    const std::string head =
        "Could not export Current Bank SysEx.\n\nThe current Bank cannot be exported as SysEx because it "
        "does not contain 128 valid Orvo Program dumps.";
    const std::string tail =
        "\n\nLoad, import, or sync a complete Program bank with Orvo SysEx data before exporting .syx.";
    fillUserBank (127);
    flow.exportChoice (SysExExportFlow::currentBank);
    EXPECT_EQ (lastDialog(), head + "\n\nMissing Program dumps: 1" + tail);
    state.slot (0, 127).programSysEx = { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00, 0x00, 0x7F, 0xF7 };
    state.slot (0, 3).programSysEx.clear();
    flow.exportChoice (SysExExportFlow::currentBank);
    EXPECT_EQ (lastDialog(), head + "\n\nMissing Program dumps: 1\nInvalid Program dumps: 1" + tail);
    EXPECT_TRUE (dialogs.titles.empty());
    EXPECT_EQ (banksFolder().getNumberOfChildFiles (juce::File::findFiles), 0);

    fillUserBank (128);
    state.names.setBankDisplayName (0, "My Bank");
    const auto target = banksFolder().getChildFile ("My-Bank.syx");
    dialogs.answers = { pathOf (target), pathOf (target.getChildFile ("inside-a-file.syx")) };
    flow.exportChoice (SysExExportFlow::currentBank);
    EXPECT_EQ (dialogs.titles.back(), "Export Current Bank SysEx");
    EXPECT_EQ (bytesOf (target), factory::bankSysEx (0));
    EXPECT_TRUE (logged ("Exported Current Bank SysEx file: " + pathOf (target) + " (300800 bytes)\n"));
    flow.exportChoice (SysExExportFlow::currentBank);
    EXPECT_EQ (lastDialog(),
               "Could not save Current Bank SysEx file:\n" + pathOf (target.getChildFile ("inside-a-file.syx")));
}

TEST_F (ExportFixture, EditorEnvelopesAreWrittenOntoTheCachedDumpAndNothingElseChanges)
{
    state.selectedSlot = 3;
    state.slot (0, 3).programSysEx = editBufferOf (0, 3);
    const auto base = decoded (editBufferOf (0, 3));
    const auto other = decoded (editBufferOf (1, 60));
    for (int row = 0; row < ParameterCatalogue::numRows; ++row)
        values[(std::size_t)row] = (ParameterCatalogue::row (row).group == 5 ? other : base).raw[(std::size_t)row];

    const auto built = buildEditorEnvelopeSysEx (0, 3, flow.cachedProgramSysEx, values);
    ASSERT_TRUE (built) << built.error;
    ASSERT_EQ (built.bytes.size(), 2350u);
    EXPECT_EQ (std::vector<int> (built.bytes.begin() + 5, built.bytes.begin() + 8), std::vector<int> ({ 0, 0, 3 }));
    const auto result = decoded (built.bytes);
    int envelopeRows = 0;
    for (int row = 0; row < ParameterCatalogue::numRows; ++row)
        if (ParameterCatalogue::row (row).group == 5 && result.defined[(std::size_t)row])
        {
            EXPECT_EQ (result.raw[(std::size_t)row], other.raw[(std::size_t)row]) << ParameterCatalogue::row (row).id;
            ++envelopeRows;
        }
    // The three envelope blocks lie in bytes 1272-1535; nothing outside them moved.
    const auto before = unpackProgramDump (editBufferOf (0, 3)), after = unpackProgramDump (built.bytes);
    ASSERT_EQ (after.size(), 2048u);
    int movedOutside = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        movedOutside += (i < 1272 || i >= 1536) && after[i] != before[i] ? 1 : 0;
    EXPECT_EQ (movedOutside, 0);
    EXPECT_GT (envelopeRows, 60);
    EXPECT_NE (built.logLines.back().find ("Prepared editor envelope SysEx export with "), std::string::npos);
    EXPECT_NE (built.logLines.back().find (" mapped envelope payload writes.\n"), std::string::npos);
}

namespace
{
struct InstrumentExport : test::HeadlessFixture
{
    juce::File target = editor->folder().getChildFile ("edit.syx");

    void exportProgram()
    {
        editor->prompts.answers = { SysExExportFlow::orvoProgram };
        editor->dialogs.answers = { pathOf (target) };
        editor->session().sysExFiles().exportSysEx();
    }
    std::string lastDialog() const { return editor->prompts.shown.back().message; }
};
} // namespace

TEST_F (InstrumentExport, WritesTheInstrumentsEditBufferAsReceived)
{
    exportProgram();
    EXPECT_EQ (lastDialog(), "Open the Orvo MIDI output before exporting the current Orvo Program.");
    EXPECT_TRUE (logContains ("Export SysEx: Open the Orvo MIDI output before exporting the current Orvo Program.\n"));

    editor->connect (false);
    exportProgram();
    exportProgram(); // while the first waits
    EXPECT_EQ (
        lastDialog(),
        "The editor is already waiting for Orvo Program data. Try the export again after that response arrives.");
    editor->settle();
    const auto dump = buildProgramDump (instrument.editBufferProgram(), 2, 0x10);
    EXPECT_EQ (bytesOf (target), dump);
    EXPECT_TRUE (logContains ("Export SysEx: requesting current Orvo Program edit buffer for file edit.syx.\n"));
    EXPECT_TRUE (
        logContains ("Exported Current Orvo Program Edit Buffer SysEx file: " + pathOf (target) + " (2349 bytes)\n"));

    // A reply whose controls do not decode is still saved as it came.
    target.deleteFile();
    instrument.setFaults ({ false, 1 });
    exportProgram();
    editor->settle();
    EXPECT_EQ (bytesOf (target).size(), 2348u);
    EXPECT_TRUE (logContains (
        "Export SysEx: saved raw Orvo Program edit-buffer response, but mapped controls could not be parsed.\n"));
}

TEST_F (InstrumentExport, GivesUpWhenTheInstrumentDoesNotAnswerInTime)
{
    editor->connect (false);
    editor->settle();
    instrument.setFaults ({ true });
    const auto dialogsBefore = editor->prompts.shown.size();
    exportProgram();
    editor->time.advance (11999);
    EXPECT_EQ (editor->prompts.shown.size(), dialogsBefore + 1); // only the choice so far
    editor->time.advance (1);
    EXPECT_EQ (lastDialog(),
               "Timed out waiting for the Orvo Program edit-buffer response. No Orvo Program SysEx file was saved.");
    EXPECT_FALSE (target.exists());
    EXPECT_FALSE (editor->session().sync().sync().isRefreshPending());
}
