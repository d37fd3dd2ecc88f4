#include "WorkingEnvironment.h"

#include <utility>

#include "AtomicFile.h"
#include "FileNaming.h"
#include "JsonText.h"

namespace orvo
{

bool writeLibraryDocument (const juce::File& file, const juce::var& document, const std::string& kind,
                           const LibrarianLog& log)
{
    const bool ok = (bool)writeFileAtomically (file, toJsonText (document));
    if (log)
        log ((ok ? "Saved " : "Could not save ") + kind + " file: " + file.getFullPathName().toStdString() + "\n");
    return ok;
}

WorkingEnvironment::WorkingEnvironment (LibrarianState& s, const LibraryRoot& lib, const Clock& c, LibrarianLog l)
    : state (s), library (lib), clock (c), log (std::move (l))
{
}

void WorkingEnvironment::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

juce::File WorkingEnvironment::file() const
{
    if (path != juce::File())
        return path;
    return library.folder (LibraryRoot::Folder::environments).getChildFile ("Default.orvox");
}

const std::string& WorkingEnvironment::textOfState (std::string& into, bool allOnOneLine)
{
    if (refreshCurrentSnapshot)
        refreshCurrentSnapshot();
    writeEnvironmentText (state, into, allOnOneLine);
    return into;
}

bool WorkingEnvironment::saveKeepingSnapshot()
{
    const auto refresh = std::exchange (refreshCurrentSnapshot, nullptr);
    const bool ok = save();
    refreshCurrentSnapshot = refresh;
    return ok;
}

void WorkingEnvironment::saveSelectionSoon()
{
    selectionSaveDue = clock.nowMs() + selectionRestMs;
}

bool WorkingEnvironment::flushSelectionSave()
{
    if (! selectionSaveDue || clock.nowMs() < *selectionSaveDue)
        return false;
    return saveKeepingSnapshot();
}

bool WorkingEnvironment::save()
{
    selectionSaveDue.reset();
    const auto target = file();
    // Written on one line: this file is rewritten after every change, and a full editor's indentation
    // would double its size and its writing time. Readers take any layout.
    if (writeFileAtomically (target, textOfState (text, true)))
        return true;
    logLine ("Could not save Environment file: " + target.getFullPathName().toStdString() + "\n");
    return false;
}

void WorkingEnvironment::loadAtStartup (double msSinceStart)
{
    const auto target = file();
    const bool existed = target.existsAsFile();
    if (existed)
    {
        if (loadEnvironmentObject (state, readJsonDocument (target), log))
        {
            if (refreshViews)
                refreshViews();
            return;
        }
        // The damaged file may still hold the user's names and notes; keep a copy before replacing it.
        backupBeforeOverwrite (target, juce::Time (clock.wallClockMs()));
    }

    state.clear();
    const auto fallback = buildEnvironmentDocument (state);
    if (!writeFileAtomically (target, toJsonText (fallback, true)))
        logLine ("Could not save Environment file: " + target.getFullPathName().toStdString() + "\n");
    // A first start has no environment yet: that is no failure and gets no failure line.
    if (existed)
        logLine ("STARTUP: default exchange parse failed; generated fallback loaded at " +
                 juce::String (msSinceStart, 1).toStdString() + " ms.\n");
    loadEnvironmentObject (state, fallback, log);
    if (refreshViews)
        refreshViews();
}

std::optional<juce::File> WorkingEnvironment::writeBeforeSyncBackup()
{
    library.ensureLibraryFolders();
    const auto folder = library.folder (LibraryRoot::Folder::environments);
    const auto stamped = "Before Orvo Sync " + juce::Time (clock.wallClockMs()).formatted ("%Y%m%d-%H%M%S");
    auto backup = folder.getChildFile (stamped + ".orvox");
    for (int n = 2; backup.exists(); ++n)
        backup = folder.getChildFile (stamped + "-" + juce::String (n) + ".orvox");

    // A backup is rare and laid out in full, so it does not keep its larger buffer around.
    std::string backupText;
    if (!writeFileAtomically (backup, textOfState (backupText, false)))
    {
        logLine ("Could not save Environment file: " + backup.getFullPathName().toStdString() + "\n");
        return std::nullopt;
    }
    return backup;
}

} // namespace orvo
