#include "SysExExport.h"

#include "AtomicFile.h"
#include "BankDocument.h"
#include "FileNaming.h"
#include "ProgramDocument.h"
#include "SysExMessageScan.h"
#include "data/ProgramCodec.h"
#include "data/ProgramRebuild.h"

namespace orvo
{
namespace
{
constexpr const char* dialogTitle = "Export SysEx";
constexpr int envelopesPageGroup = 5;

std::string notProgramBank (const std::string& what)
{
    return "The current selection is not a Program bank. Select USER, PRESET 1, or PRESET 2 before exporting " + what +
           ".";
}

std::optional<ByteVector> lookUp (const CachedDumpLookup& cached, int bank, int slot)
{
    auto dump = cached ? cached (bank, slot) : std::nullopt;
    if (dump && dump->empty())
        return std::nullopt;
    return dump;
}

ExportBytes failed (std::string error)
{
    ExportBytes e;
    e.error = std::move (error);
    return e;
}
} // namespace

ExportBytes buildCachedProgramSysEx (int bank, int slot, const CachedDumpLookup& cached)
{
    if (!LibrarianState::isProgramBank (bank))
        return failed (notProgramBank ("Program SysEx"));
    const auto dump = lookUp (cached, bank, slot);
    if (!dump)
        return failed ("The current Program does not have a cached Orvo Program SysEx dump yet.\n\nLoad, import, or "
                       "sync a Program with Orvo SysEx data before exporting .syx.");
    auto rebuilt = rebuildStoredProgramDump (*dump, bank, slot);
    if (!rebuilt)
        return failed ("The current Program SysEx dump could not be rebuilt as a stored Orvo Program dump.");
    ExportBytes out;
    out.bytes = std::move (rebuilt.message);
    return out;
}

ExportBytes buildCurrentBankSysEx (int bank, const CachedDumpLookup& cached)
{
    if (!LibrarianState::isProgramBank (bank))
        return failed (notProgramBank ("Bank SysEx"));
    ExportBytes out;
    int missing = 0, invalid = 0;
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
    {
        const auto dump = lookUp (cached, bank, slot);
        if (!dump)
        {
            ++missing;
            continue;
        }
        const auto rebuilt = rebuildStoredProgramDump (*dump, bank, slot);
        if (!rebuilt)
        {
            ++invalid;
            continue;
        }
        out.bytes.insert (out.bytes.end(), rebuilt.message.begin(), rebuilt.message.end());
    }
    if (missing > 0 || invalid > 0)
    {
        std::string error = "The current Bank cannot be exported as SysEx because it does not contain 128 valid "
                            "Orvo Program dumps.";
        if (missing > 0)
            error += "\n\nMissing Program dumps: " + std::to_string (missing);
        if (invalid > 0)
            error += "\nInvalid Program dumps: " + std::to_string (invalid);
        return failed (error +
                       "\n\nLoad, import, or sync a complete Program bank with Orvo SysEx data before exporting .syx.");
    }
    if (out.bytes.empty())
        return failed ("The current Bank SysEx export was empty.");
    return out;
}

ExportBytes buildEditorEnvelopeSysEx (int bank, int slot, const CachedDumpLookup& cached, const EditorValues& values)
{
    if (!LibrarianState::isProgramBank (bank))
        return failed (notProgramBank ("editor envelope SysEx"));
    const auto dump = lookUp (cached, bank, slot);
    if (!dump)
        return failed ("The current Program does not have a cached Orvo Program SysEx dump to use as the export "
                       "base.\n\nLoad, import, or sync a Program with Orvo SysEx data before exporting editor "
                       "envelope values.");
    if (!classifyProgramDump (*dump).valid)
        return failed ("The cached Program SysEx dump does not match the documented Orvo Program dump layout.");
    auto unpacked = unpackProgramDump (*dump);
    if (unpacked.empty())
        return failed ("The cached Program SysEx payload could not be unpacked.");

    std::bitset<ParameterCatalogue::numRows> envelopeRows;
    for (int row = 0; row < ParameterCatalogue::numRows; ++row)
        envelopeRows[(std::size_t)row] = ParameterCatalogue::row (row).group == envelopesPageGroup;
    const auto report = writeProgramValues (unpacked, values, envelopeRows);

    ExportBytes out;
    std::string unwritten;
    for (int row = 0; row < ParameterCatalogue::numRows; ++row)
    {
        const auto r = (std::size_t)row;
        if (envelopeRows[r] && !report.written[r] && !report.overlaid[r])
            unwritten += std::string (unwritten.empty() ? "" : ", ") + ParameterCatalogue::row (row).name;
    }
    if (!unwritten.empty())
        out.logLines.push_back ("Some editor envelope values could not be written into the documented Orvo Program "
                                "payload:\n" +
                                unwritten + "\n");
    out.logLines.push_back ("Prepared editor envelope SysEx export with " + std::to_string (report.written.count()) +
                            " mapped envelope payload writes.\n");
    out.bytes = buildProgramDump (unpacked, sysex::opStoredProgram, bank, slot);
    if (out.bytes.size() != sysex::storedProgramLength)
    {
        out.bytes.clear();
        out.error = "The edited envelope payload could not be rebuilt as an Orvo stored Program dump.";
    }
    return out;
}

ExportBytes programDocumentSysEx (const juce::File& document)
{
    const auto read = readProgramDocument (document);
    if (!read.ok)
        return failed ("The file is not an Orvo Editor Program document.");
    const auto slot = read.root["program"];
    auto decoded = decodeDocumentSysEx (read.root, slot.isInt() || slot.isInt64() ? (int)slot : -1);
    if (!decoded.dump)
        return failed ("The Program document does not carry an Orvo Program SysEx dump.");
    ExportBytes out;
    out.bytes = std::move (*decoded.dump);
    return out;
}

ExportBytes bankDocumentSysEx (const juce::File& document, const juce::File& programsFolder)
{
    const auto root = readJsonDocument (document);
    const auto kind = bankDocumentKind (root);
    if (!kind)
        return failed ("The file is not an Orvo Editor Bank document.");
    if (*kind != "program-bank")
        return failed ("The Bank document holds Mixes, not Programs.");
    LibrarianState state;
    state.selectedBank = -1; // the document's own bank decides where it goes
    const auto loaded = loadBankLocally (state, root, *kind, document, programsFolder, {});
    return buildCurrentBankSysEx (loaded.targetBank,
                                  [&state] (int bank, int slot) -> std::optional<ByteVector>
                                  { return state.slot (bank, slot).programSysEx; });
}

//==============================================================================
SysExExportFlow::SysExExportFlow (const LibrarianState& s, const LibraryRoot& lib, FileDialogs& d, Prompts& p,
                                  Scheduler& sch, Log l)
    : state (s), library (lib), dialogs (d), prompts (p), scheduler (sch), log (std::move (l))
{
}

void SysExExportFlow::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

void SysExExportFlow::exportSysEx()
{
    prompts.showChoice (dialogTitle,
                        "Choose which SysEx source to save.\n\nEDITOR ENVELOPES writes the current editor envelope "
                        "values onto the cached Program dump. ORVO PROGRAM requests the current Program edit buffer "
                        "from the Orvo. CACHED PROGRAM saves the last imported or synced Program dump. BANK exports "
                        "the current cached Bank.",
                        { "EDITOR ENVELOPES", "ORVO PROGRAM", "CACHED PROGRAM", "CURRENT BANK", "CANCEL" },
                        [this] (int choice) { exportChoice (choice); });
}

std::string SysExExportFlow::programStem() const
{
    return defaultDocumentStem (DocumentKind::program, state.names, state.selectedBank, state.selectedSlot);
}

void SysExExportFlow::exportChoice (int choice)
{
    const int bank = state.selectedBank, slot = state.selectedSlot;
    switch (choice)
    {
        case cachedProgram:
            return saveBuilt ("Cached Program SysEx", LibraryRoot::Folder::programs, programStem() + ".syx",
                              buildCachedProgramSysEx (bank, slot, cachedProgramSysEx));
        case currentBank:
            return saveBuilt ("Current Bank SysEx", LibraryRoot::Folder::banks,
                              fileNameStem (state.bankDisplayName (bank), "bank") + ".syx",
                              buildCurrentBankSysEx (bank, cachedProgramSysEx));
        case editorEnvelopes:
        {
            EditorValues values{};
            for (int row = 0; row < ParameterCatalogue::numRows; ++row)
                values[(std::size_t)row] = editorValue ? editorValue (row) : 0;
            return saveBuilt ("Current Editor Envelope SysEx", LibraryRoot::Folder::programs,
                              programStem() + "-editor-envelope.syx",
                              buildEditorEnvelopeSysEx (bank, slot, cachedProgramSysEx, values));
        }
        case orvoProgram:
            return exportInstrumentProgram();
        default:
            return;
    }
}

void SysExExportFlow::refuse (const std::string& title, const std::string& error)
{
    const auto message = "Could not export " + title + ".\n\n" + error;
    logLine (message + "\n");
    prompts.showChoice (dialogTitle, message, { "OK" }, nullptr);
}

void SysExExportFlow::saveBuilt (const std::string& title, LibraryRoot::Folder folder, const std::string& proposedName,
                                 const ExportBytes& built)
{
    for (const auto& line : built.logLines)
        logLine (line);
    if (!built)
        return refuse (title, built.error);
    library.ensureLibraryFolders();
    dialogs.chooseFileToSave (
        "Export " + title, library.folder (folder).getChildFile (proposedName).getFullPathName().toStdString(), "*.syx",
        [this, title, bytes = built.bytes] (std::optional<std::string> chosen)
        {
            if (chosen && !chosen->empty())
                writeExport (title, juce::File (*chosen), bytes);
        });
}

bool SysExExportFlow::writeExport (const std::string& title, const juce::File& file, const ByteVector& bytes)
{
    const auto path = file.getFullPathName().toStdString();
    if (!writeFileAtomically (file, std::string (bytes.begin(), bytes.end())))
    {
        const auto message = "Could not save " + title + " file:\n" + path;
        logLine (message + "\n");
        prompts.showChoice (dialogTitle, message, { "OK" }, nullptr);
        return false;
    }
    logLine ("Exported " + title + " file: " + path + " (" + std::to_string (bytes.size()) + " bytes)\n");
    return true;
}

void SysExExportFlow::exportInstrumentProgram()
{
    const auto refusal = [this]() -> std::string
    {
        if (!midiOutputOpen || !midiOutputOpen())
            return "Open the Orvo MIDI output before exporting the current Orvo Program.";
        if (pending || (programRequestInFlight && programRequestInFlight()))
            return "The editor is already waiting for Orvo Program data. Try the export again after that response "
                   "arrives.";
        return {};
    };
    const auto refuseNow = [this] (const std::string& reason)
    {
        logLine ("Export SysEx: " + reason + "\n");
        prompts.showChoice (dialogTitle, reason, { "OK" }, nullptr);
    };
    if (const auto reason = refusal(); !reason.empty())
        return refuseNow (reason);

    const std::string title = "Current Orvo Program Edit Buffer SysEx";
    library.ensureLibraryFolders();
    const auto proposed =
        library.folder (LibraryRoot::Folder::programs).getChildFile (programStem() + "-orvo-edit-buffer.syx");
    dialogs.chooseFileToSave ("Export " + title, proposed.getFullPathName().toStdString(), "*.syx",
                              [this, refusal, refuseNow, title] (std::optional<std::string> chosen)
                              {
                                  if (!chosen || chosen->empty())
                                      return;
                                  // The dialog may have stayed open while the port closed or another request went out.
                                  if (const auto reason = refusal(); !reason.empty())
                                      return refuseNow (reason);
                                  const juce::File file (*chosen);
                                  pending = Pending{ file, ++generation };
                                  logLine ("Export SysEx: requesting current Orvo Program edit buffer for file " +
                                           file.getFileName().toStdString() + ".\n");
                                  if (requestEditBuffer)
                                      requestEditBuffer();
                                  scheduler.callAfter (replyTimeoutMs,
                                                       [this, gen = generation]
                                                       {
                                                           if (!pending || pending->generation != gen)
                                                               return;
                                                           pending.reset();
                                                           if (abandonEditBufferRequest)
                                                               abandonEditBufferRequest();
                                                           const std::string message =
                                                               "Timed out waiting for the Orvo Program edit-buffer "
                                                               "response. No Orvo Program SysEx file was saved.";
                                                           logLine ("Export SysEx: " + message + "\n");
                                                           prompts.showChoice (dialogTitle, message, { "OK" }, nullptr);
                                                       });
                              });
}

void SysExExportFlow::editBufferReplied (const ByteVector& dump, bool mapped)
{
    if (!pending)
        return;
    const auto file = pending->file;
    pending.reset();
    if (!writeExport ("Current Orvo Program Edit Buffer SysEx", file, dump))
        return;
    if (!mapped)
        logLine ("Export SysEx: saved raw Orvo Program edit-buffer response, but mapped controls could not be "
                 "parsed.\n");
}

} // namespace orvo
