#include "SysExImportFlow.h"

#include "WorkingEnvironment.h"

#include <memory>

namespace orvo
{
namespace
{
constexpr const char* dialogTitle = "Import SysEx File";
constexpr const char* cancelledLine = "SysEx import cancelled after file analysis.\n";
} // namespace

SysExImportFlow::SysExImportFlow (const LibraryRoot& lib, FileDialogs& d, Prompts& p, const Clock& c, Log l)
    : library (lib), dialogs (d), prompts (p), clock (c), log (std::move (l))
{
}

void SysExImportFlow::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

void SysExImportFlow::importSysExFile()
{
    library.ensureLibraryFolders();
    dialogs.chooseFileToOpen (dialogTitle,
                              library.folder (LibraryRoot::Folder::programs).getFullPathName().toStdString(), "*.syx",
                              [this] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      importFile (juce::File (*chosen));
                              });
}

void SysExImportFlow::importFile (const juce::File& source)
{
    auto result = analyseSysExFile (source, sizeLimit);
    if (!result.analysis)
    {
        const auto message = "Could not import SysEx file. " + result.error;
        logLine (message + " " + source.getFullPathName().toStdString() + "\n");
        prompts.showChoice (dialogTitle, message, { "OK" }, nullptr);
        return;
    }
    // Kept until the last dialog of the import closes.
    auto analysis = std::make_shared<const SysExFileAnalysis> (std::move (*result.analysis));
    std::string question = "Detected: " + analysis->caption + "\n\n" + analysis->details + "\n\n";
    std::vector<std::string> buttons;
    switch (analysis->type)
    {
        case SysExFileAnalysis::singleProgram:
            question += "The editor will save this as a Program file (.orvop).";
            buttons = { "CONTINUE", "CANCEL" };
            break;
        case SysExFileAnalysis::programBank:
            question += "You can save this as one Program Bank file (.orvob), or split it into individual Program "
                        "files (.orvop).";
            buttons = { "SAVE BANK FILE", "SPLIT INTO PROGRAMS", "CANCEL" };
            break;
        default:
            question += "This SysEx type cannot be converted yet.";
            buttons = { "CANCEL" };
            break;
    }
    prompts.showChoice (dialogTitle, question, buttons,
                        [this, analysis, source] (int choice) { answer (*analysis, source, choice); });
}

void SysExImportFlow::answer (const SysExFileAnalysis& analysis, const juce::File& source, int choice)
{
    if (analysis.type == SysExFileAnalysis::singleProgram && choice == 0)
        return saveProgram (analysis, source);
    if (analysis.type == SysExFileAnalysis::programBank && choice == 0)
        return saveBank (analysis, source);
    if (analysis.type == SysExFileAnalysis::programBank && choice == 1)
        return split (analysis, source);
    logLine (cancelledLine);
}

void SysExImportFlow::saveProgram (const SysExFileAnalysis& analysis, const juce::File& source)
{
    const auto proposed =
        library.folder (LibraryRoot::Folder::programs).getChildFile (importFileStem (source) + ".orvop");
    auto document =
        buildImportedProgramDocument (analysis.programs.front(), source, juce::Time (clock.wallClockMs()), tagsFor);
    dialogs.chooseFileToSave ("Save Imported Program", proposed.getFullPathName().toStdString(), "*.orvop",
                              [this, document, source] (std::optional<std::string> chosen)
                              {
                                  if (!chosen || chosen->empty())
                                      return logLine (cancelledLine);
                                  const juce::File file (*chosen);
                                  if (!writeLibraryDocument (file, document, "Imported Program", log))
                                      return;
                                  if (programWritten)
                                      programWritten (file);
                                  logLine ("Imported SysEx file non-destructively. Original file was not modified: " +
                                           source.getFullPathName().toStdString() + "\n");
                              });
}

void SysExImportFlow::saveBank (const SysExFileAnalysis& analysis, const juce::File& source)
{
    const auto proposed = library.folder (LibraryRoot::Folder::banks).getChildFile (importFileStem (source) + ".orvob");
    auto document = buildImportedBankDocument (analysis, source, juce::Time (clock.wallClockMs()), tagsFor);
    dialogs.chooseFileToSave (
        "Save Imported Program Bank", proposed.getFullPathName().toStdString(), "*.orvob",
        [this, document, source] (std::optional<std::string> chosen)
        {
            if (!chosen || chosen->empty())
                return logLine (cancelledLine);
            if (!writeLibraryDocument (juce::File (*chosen), document, "Imported Program Bank", log))
                return;
            logLine ("Imported SysEx bank non-destructively. Original file was not modified: " +
                     source.getFullPathName().toStdString() + "\n");
        });
}

void SysExImportFlow::split (const SysExFileAnalysis& analysis, const juce::File& source)
{
    dialogs.chooseFolder ("Choose Folder for Imported Programs",
                          library.folder (LibraryRoot::Folder::programs).getFullPathName().toStdString(),
                          [this, analysis, source] (std::optional<std::string> chosen)
                          {
                              if (!chosen || chosen->empty())
                                  return logLine (cancelledLine);
                              if (loadTagTable)
                                  loadTagTable();
                              const auto result =
                                  splitImportedPrograms (analysis, juce::File (*chosen), source,
                                                         juce::Time (clock.wallClockMs()), tagsFor, log);
                              if (programWritten)
                                  for (const auto& file : result.written)
                                      programWritten (file);
                          });
}

} // namespace orvo
