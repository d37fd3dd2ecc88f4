#include "HeadlessFixture.h"
#include "LibrarianTestSupport.h"
#include "data/ProgramCodec.h"
#include "instrument/FactoryPrograms.h"
#include "library/SysExExport.h"

using namespace orvo;
using namespace orvo::testing;

namespace
{
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

ByteVector bytesOf (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    return ByteVector ((const std::uint8_t*)block.getData(), (const std::uint8_t*)block.getData() + block.getSize());
}

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

TEST (SysExExportBuilders, RefuseWithoutAProgramBankOrACachedDump)
{
    const CachedDumpLookup none = [] (int, int) { return std::optional<ByteVector>(); };
    const std::string select = "The current selection is not a Program bank. Select USER, PRESET 1, or PRESET 2 before exporting ";
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
    const std::string head = "Could not export Current Bank SysEx.\n\nThe current Bank cannot be exported as SysEx because it "
                             "does not contain 128 valid Orvo Program dumps.";
    const std::string tail = "\n\nLoad, import, or sync a complete Program bank with Orvo SysEx data before exporting .syx.";
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
    EXPECT_EQ (lastDialog(), "Could not save Current Bank SysEx file:\n" + pathOf (target.getChildFile ("inside-a-file.syx")));
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
    EXPECT_EQ (lastDialog(),
               "The editor is already waiting for Orvo Program data. Try the export again after that response arrives.");
    editor->settle();
    const auto dump = buildProgramDump (instrument.editBufferProgram(), 2, 0x10);
    EXPECT_EQ (bytesOf (target), dump);
    EXPECT_TRUE (logContains ("Export SysEx: requesting current Orvo Program edit buffer for file edit.syx.\n"));
    EXPECT_TRUE (logContains ("Exported Current Orvo Program Edit Buffer SysEx file: " + pathOf (target) + " (2349 bytes)\n"));

    // A reply whose controls do not decode is still saved as it came.
    target.deleteFile();
    instrument.setFaults ({ false, 1 });
    exportProgram();
    editor->settle();
    EXPECT_EQ (bytesOf (target).size(), 2348u);
    EXPECT_TRUE (logContains ("Export SysEx: saved raw Orvo Program edit-buffer response, but mapped controls could not be parsed.\n"));
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
    EXPECT_EQ (lastDialog(), "Timed out waiting for the Orvo Program edit-buffer response. No Orvo Program SysEx file was saved.");
    EXPECT_FALSE (target.exists());
    EXPECT_FALSE (editor->session().sync().sync().isRefreshPending());
}
