#include "BankSyncWriter.h"

#include "AtomicFile.h"
#include "FileNaming.h"
#include "JsonText.h"
#include "ProgramDocument.h"

#include <map>

namespace orvo
{
namespace
{
/** True when `file` is the bank-sync document of this bank and slot (a re-sync may replace it). */
bool isOwnEarlierDocument (const juce::File& file, const std::string& bankLabel, int slot)
{
    const auto read = readProgramDocument (file);
    if (!read.ok)
        return false;
    const auto& root = read.root;
    return root.getProperty ("source", {}).toString() == documentkeys::sourceBankSync
           && root.getProperty ("bank", {}).toString().toStdString() == bankLabel
           && root.getProperty ("program", {}).isInt() && (int)root.getProperty ("program", {}) == slot;
}

juce::File programFileFor (const juce::File& folder, const std::string& stem, const std::string& bankLabel, int slot)
{
    for (int n = 1;; ++n)
    {
        const auto candidate = folder.getChildFile (stem + (n == 1 ? std::string() : "-" + std::to_string (n))
                                                    + documentkeys::programExtension);
        if (!candidate.exists() || isOwnEarlierDocument (candidate, bankLabel, slot))
            return candidate;
    }
}
} // namespace

BankSyncWriteResult writeBankSyncResult (const LibrarianState& state, int bank,
                                         const std::vector<ReceivedBankSlot>& received,
                                         const juce::File& programsFolder, const juce::File& banksFolder,
                                         juce::Time now, const LibrarianLog& log)
{
    BankSyncWriteResult result;
    const auto label = state.bankLabel (bank);
    const auto say = [&log] (const std::string& line) { if (log) log (line); };

    struct Written
    {
        std::string fileName;
        bool collision = false;
    };
    std::map<int, Written> bySlot;
    std::map<std::string, std::string> fileOfStem; // stems taken in this read
    (void)programsFolder.createDirectory();
    for (const auto& r : received)
    {
        const auto stem = fileNameStem (r.name, defaultStemFallback (DocumentKind::program, r.slot));
        if (const auto taken = fileOfStem.find (stem); taken != fileOfStem.end())
        {
            bySlot[r.slot] = { taken->second, true };
            ++result.duplicatesSkipped;
            continue;
        }
        const auto file = programFileFor (programsFolder, stem, label, r.slot);
        const auto doc = buildBankSyncProgramDocument (r.name, label, bank, r.slot, r.dump, now);
        if (!writeTextFileAtomically (file, juce::JSON::toString (doc)))
            continue;
        const auto name = file.getFileName().toStdString();
        fileOfStem[stem] = name;
        bySlot[r.slot] = { name, false };
        ++result.programsSaved;
    }
    say ("SYNC: saved " + std::to_string (result.programsSaved) + " Program files"
         + (result.duplicatesSkipped > 0
                ? " and skipped " + std::to_string (result.duplicatesSkipped) + " duplicate incoming Program names"
                : std::string())
         + ".\n");

    auto doc = buildBankDocument (state, bank, now);
    if (auto* o = doc.getDynamicObject())
    {
        o->setProperty ("source", documentkeys::sourceBankSync);
        if (auto* slots = o->getProperty ("slots").getArray())
            for (const auto& [slot, written] : bySlot)
                if (auto* entry = (*slots)[slot].getDynamicObject())
                {
                    entry->setProperty ("programFile", juce::String (written.fileName));
                    if (written.collision)
                        entry->setProperty ("nameCollision", true);
                }
    }
    (void)banksFolder.createDirectory();
    const auto stem = fileNameStem (label + " Orvo Sync " + now.formatted ("%Y%m%d-%H%M%S").toStdString(), "Bank");
    const auto bankFile = uniqueFileIn (banksFolder, stem, ".orvob");
    if (writeTextFileAtomically (bankFile, juce::JSON::toString (doc)))
    {
        result.bankFile = bankFile;
        say ("SYNC: saved Program bank file: " + bankFile.getFullPathName().toStdString() + "\n\n");
    }
    else
        say ("SYNC: could not save Program bank file.\n\n");
    return result;
}

} // namespace orvo
