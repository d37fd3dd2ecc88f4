#pragma once

#include "LibraryRoot.h"
#include "SysExImport.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <string>

namespace orvo
{

/** The "IMPORT SYSEX" menu flow: a .syx file is analysed, the player is told what it holds and chooses
    how to keep it: one Program document, one Bank document, or a Program document per Program. The
    source file is only ever read. Dialogs go through the Prompts and FileDialogs seams; every
    outcome is a log line. */
class SysExImportFlow
{
public:
    using Log = std::function<void (const std::string&)>;

    SysExImportFlow (const LibraryRoot& library, FileDialogs& dialogs, Prompts& prompts, const Clock& clock, Log log);

    /** The menu item: asks for the file, then imports it. */
    void importSysExFile();
    /** The steps after the open dialog. */
    void importFile (const juce::File& source);

    /** Loads the tag association table before a split tags its Programs. */
    std::function<void()> loadTagTable;
    /** The tags an imported Program gets; unset, none. */
    TagsForProgram tagsFor;
    /** A Program document was written (the library index hears of it). */
    std::function<void (const juce::File&)> programWritten;
    /** Files above this size are refused unread. */
    std::uintmax_t sizeLimit = maxSysExFileBytes;

private:
    void logLine (const std::string& line) const;
    void answer (const SysExFileAnalysis& analysis, const juce::File& source, int choice);
    void saveProgram (const SysExFileAnalysis& analysis, const juce::File& source);
    void saveBank (const SysExFileAnalysis& analysis, const juce::File& source);
    void split (const SysExFileAnalysis& analysis, const juce::File& source);

    const LibraryRoot& library;
    FileDialogs& dialogs;
    Prompts& prompts;
    const Clock& clock;
    Log log;
};

} // namespace orvo
