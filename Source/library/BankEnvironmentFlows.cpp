#include "BankEnvironmentFlows.h"

#include "FileNaming.h"

namespace orvo
{

BankEnvironmentFlows::BankEnvironmentFlows (LibrarianState& s, const LibraryRoot& lib, WorkingEnvironment& w,
                                            FileDialogs& d, Prompts& p, const Clock& c, LibrarianLog l)
    : state (s), library (lib), working (w), dialogs (d), prompts (p), clock (c), log (std::move (l))
{
}

void BankEnvironmentFlows::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

void BankEnvironmentFlows::saveBank()
{
    const int bank = SlotNameTable::clampBank (state.selectedBank);
    int empty = 0;
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        if (state.names.name (bank, slot).empty() && state.slot (bank, slot).programSysEx.empty() &&
            state.slot (bank, slot).parameters.isVoid())
            ++empty;
    if (empty == 0)
    {
        chooseBankFile();
        return;
    }
    // Say how much of the bank is still unread before writing a mostly empty document.
    prompts.showChoice ("Save Bank",
                        std::to_string (empty) + " of " + std::to_string (LibrarianState::numSlots) + " slots of " +
                            state.bankDisplayName (bank) +
                            " have not been read from the Orvo and will be saved without a name or Program data."
                            "\n\nSync those Programs first, or save the bank as it is.",
                        { "SAVE BANK AS IT IS", "CANCEL" },
                        [this] (int choice)
                        {
                            if (choice == 0)
                                chooseBankFile();
                            else
                                logLine ("Save Bank cancelled: slots of the bank have not been read from the Orvo.\n");
                        });
}

void BankEnvironmentFlows::chooseBankFile()
{
    library.ensureLibraryFolders();
    const auto folder = library.folder (LibraryRoot::Folder::banks);
    const auto proposed =
        folder.getChildFile (fileNameStem (state.bankDisplayName (state.selectedBank), "bank") + ".orvob");
    dialogs.chooseFileToSave ("Save Bank", proposed.getFullPathName().toStdString(), "*.orvob",
                              [this] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      saveBankTo (juce::File (*chosen));
                              });
}

bool BankEnvironmentFlows::saveBankTo (const juce::File& file)
{
    if (refreshCurrentSnapshot)
        refreshCurrentSnapshot();
    const int bank = SlotNameTable::clampBank (state.selectedBank);
    const auto doc = buildBankDocument (state, bank, juce::Time (clock.wallClockMs()));
    if (!writeLibraryDocument (file, doc, "Bank", log))
        return false;
    state.banks[(size_t)bank].documentFile = file;
    return true;
}

void BankEnvironmentFlows::loadBank()
{
    library.ensureLibraryFolders();
    dialogs.chooseFileToOpen ("Load Bank", library.folder (LibraryRoot::Folder::banks).getFullPathName().toStdString(),
                              "*.orvob",
                              [this] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      loadBankFile (juce::File (*chosen));
                              });
}

void BankEnvironmentFlows::loadBankLocallyAndReport (const juce::var& root, const std::string& kind,
                                                     const juce::File& file)
{
    if (loadTagTable)
        loadTagTable();
    auto result = loadBankLocally (state, root, kind, file, library.folder (LibraryRoot::Folder::programs), log);
    pendingDumps = std::move (result.dumps);
    if (refreshViews)
        refreshViews();
    working.save();
    logLine (result.loadedLine);
}

void BankEnvironmentFlows::loadBankFile (const juce::File& file)
{
    const auto root = readJsonDocument (file);
    const auto kind = bankDocumentKind (root);
    if (!kind)
    {
        logLine (bankRefusedLine (file));
        return;
    }

    pendingDumps.clear();
    if (*kind == "program-bank" && midiOutputOpen && midiOutputOpen())
    {
        loadBankLocallyAndReport (root, *kind, file);
        if (pendingDumps.empty())
            return;
        prompts.showChoice ("Transfer Loaded Bank",
                            "Bank File Loaded.  Would you like to transfer this bank to the Kestrine?  (Loading may "
                            "take a couple of minutes).",
                            { "USER", "PRESET 1", "PRESET 2", "CANCEL" },
                            [this] (int choice) { answerTransfer (choice); });
        return;
    }

    prompts.showChoice ("Load Bank", "Bank File Loaded.  Would you like to load this bank locally for editing?",
                        { "LOAD", "CANCEL" },
                        [this, root, k = *kind, file] (int choice)
                        {
                            if (choice == 0)
                                loadBankLocallyAndReport (root, k, file);
                        });
}

void BankEnvironmentFlows::answerTransfer (int choice)
{
    static const char* const targets[] = { "USER (Orvo bank byte 0)", "PRESET 1 (Orvo bank byte 1)",
                                           "PRESET 2 (Orvo bank byte 2)" };
    const auto dumps = std::move (pendingDumps);
    pendingDumps.clear();
    if (choice < 0 || choice > 2)
    {
        logLine ("Loaded Bank transfer to Orvo skipped.\n");
        return;
    }
    logLine (std::string ("Loaded Bank transfer to Orvo: ") + targets[choice] + "\n");
    if (startBankTransfer)
        startBankTransfer (choice, dumps);
    else
        logLine ("Bank transfer to the Orvo is not available yet; the bank was loaded locally only.\n");
}

void BankEnvironmentFlows::saveEnvironment()
{
    library.ensureLibraryFolders();
    const auto proposed = library.folder (LibraryRoot::Folder::environments).getChildFile ("Orvo Environment.orvox");
    dialogs.chooseFileToSave ("Save Environment", proposed.getFullPathName().toStdString(), "*.orvox",
                              [this] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      saveEnvironmentTo (juce::File (*chosen));
                              });
}

bool BankEnvironmentFlows::saveEnvironmentTo (const juce::File& file)
{
    if (refreshCurrentSnapshot)
        refreshCurrentSnapshot();
    return writeLibraryDocument (file, buildEnvironmentDocument (state), "Environment", log);
}

void BankEnvironmentFlows::loadEnvironment()
{
    library.ensureLibraryFolders();
    dialogs.chooseFileToOpen ("Load Environment",
                              library.folder (LibraryRoot::Folder::environments).getFullPathName().toStdString(),
                              "*.orvox",
                              [this] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      loadEnvironmentFile (juce::File (*chosen));
                              });
}

bool BankEnvironmentFlows::loadEnvironmentFile (const juce::File& file)
{
    if (!loadEnvironmentObject (state, readJsonDocument (file), log))
    {
        logLine (environmentRefusedLine (file));
        return false;
    }
    if (refreshViews)
        refreshViews();
    working.save();
    logLine ("Loaded Environment file: " + file.getFullPathName().toStdString() + "\n");
    return true;
}

} // namespace orvo
