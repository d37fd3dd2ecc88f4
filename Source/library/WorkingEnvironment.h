#pragma once

#include "EnvironmentDocument.h"
#include "LibraryRoot.h"
#include "platform/Clock.h"

#include <functional>
#include <optional>
#include <string>

namespace orvo
{

/** Writes a document whole through the atomic writer and logs "Saved <kind> file: <path>" or
    "Could not save <kind> file: <path>"; a failed write leaves the old file as it was. */
bool writeLibraryDocument (const juce::File& file, const juce::var& document, const std::string& kind,
                           const LibrarianLog& log);

/** The working environment "Default.orvox": the editor's librarian state kept on disk so that names,
    tags, notes, snapshots and cached SysEx survive a restart, plus the dated copies made before a sync. */
class WorkingEnvironment
{
public:
    WorkingEnvironment (LibrarianState& state, const LibraryRoot& library, const Clock& clock, LibrarianLog log);

    /** The file in use: the one set, else "Default.orvox" in "Environments" of the library. */
    juce::File file() const;
    /** An empty file goes back to the default place. */
    void setFile (const juce::File& newFile) { path = newFile; }

    /** Rewrites the working environment from the current state; call after every librarian change.
        Written compactly, on one line; only a failure is logged ("Could not save Environment file: ..."). */
    bool save();
    /** The same without first taking the editor's values as the selected slot's snapshot: for a
        selection change, when the editor still shows the Program it had before. */
    bool saveKeepingSnapshot();
    /** Asks for saveKeepingSnapshot once the selection has rested `selectionRestMs`: stepping through
        Programs rewrites a large environment once, not on every step. A full save meanwhile takes it. */
    void saveSelectionSoon();
    /** The timer's step: writes a selection that has rested; true when it wrote. */
    bool flushSelectionSave();
    static constexpr int selectionRestMs = 300;

    /** Loads the working environment into the state. A missing, unreadable or foreign file is replaced
        by a fresh one built from an empty state (a damaged one is first copied into "Backups" beside
        it), and the STARTUP line gives `msSinceStart`. Never fails. */
    void loadAtStartup (double msSinceStart);

    /** Writes the whole state to "Before Orvo Sync <yyyymmdd-hhmmss>[-n].orvox" in "Environments" and
        returns that file, or nothing when it could not be written. */
    std::optional<juce::File> writeBeforeSyncBackup();

    /** Called before a document is built so the current slot's parameter snapshot is up to date. */
    std::function<void()> refreshCurrentSnapshot;
    /** Called after the state was replaced by a loaded environment, so the views show it. */
    std::function<void()> refreshViews;

private:
    void logLine (const std::string& line) const;
    /** The environment text of the current state (snapshot refreshed first), written into `into`. */
    const std::string& textOfState (std::string& into, bool allOnOneLine);

    LibrarianState& state;
    const LibraryRoot& library;
    const Clock& clock;
    LibrarianLog log;
    std::optional<double> selectionSaveDue;
    juce::File path;
    /** Reused by every rewrite: a full environment is megabytes of text, and fresh memory for it
        each time cost more than writing it. */
    std::string text;
};

} // namespace orvo
