#pragma once

#include "EditorSettingsStore.h"
#include "platform/UserInteraction.h"

#include <juce_core/juce_core.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace orvo
{

/** The library folder and its tree. Nothing is cached: every call asks the settings afresh, so a new
    storage folder takes effect at once for every reader and writer. */
class LibraryRoot
{
public:
    using Log = std::function<void (const std::string&)>;

    enum class Folder
    {
        programs,
        mixes,
        banks,
        environments,
        layouts,
        exports,
        tagHashFiles
    };

    static constexpr int numGeneratorCategories = 12;
    static const std::array<const char*, numGeneratorCategories>& generatorCategories();

    LibraryRoot (EditorSettingsStore& settings, Log log);

    /** "libraryRootDirectory" when set, else the default folder. */
    juce::File libraryRoot() const;
    /** "Orvo Editor" in the per-user application-data folder: the folder of the settings file. */
    juce::File defaultLibraryRoot() const;

    juce::File folder (Folder which) const;
    juce::File tagTableFile() const;

    /** Where the capture folders live: the library root, wherever the program runs from, so that
        nothing is ever written into the current folder or the source tree. */
    juce::File captureRoot() const { return libraryRoot(); }
    juce::File syncCaptureFolder() const;
    juce::File generatorIntakeFolder() const;
    /** "LatestProgramBank/bank-NN" (bank clamped to 0..15). */
    juce::File latestProgramBankFolder (int bank) const;
    /** ".../bank-NN/program-NNN.syx" (slot clamped to 0..127). */
    juce::File latestProgramCaptureFile (int bank, int slot) const;

    /** Creates every folder of the tree that is missing and the tag table file. Folders that cannot
        be made are passed over; the write that needs one reports it. */
    void ensureLibraryFolders() const;

    /** Creates the tag association table when missing; unset, the default table is written. */
    std::function<void (const juce::File& tagTableFile)> ensureTagTableFile;

    /** "SET STORAGE": asks for a folder and makes it the library root. `onChanged` runs after the
        folders exist and before the log line, to reload what lives in the library. */
    void chooseLibraryRoot (FileDialogs& dialogs, std::function<void()> onChanged = {});

    /** Applies a chosen folder as "SET STORAGE" does; false (with a log line) when it is not usable. */
    bool setLibraryRoot (const std::string& path, const std::function<void()>& onChanged = {});

    /** The "ORVO EDITOR FILES" help text. */
    static std::string libraryHelpText();

private:
    void logLine (const std::string& text) const;

    EditorSettingsStore& settings;
    Log log;
};

} // namespace orvo
