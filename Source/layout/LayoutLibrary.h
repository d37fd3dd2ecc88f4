#pragma once

#include "LayoutEditSession.h"
#include "LayoutFiles.h"
#include "platform/UserInteraction.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** SAVE, SAVE AS and LOAD of layout files in the library's "Layouts" folder, and the layout the
    editor starts with, for one edit session. Results are shown as alerts and logged. */
class LayoutLibrary
{
public:
    using Log = std::function<void (const std::string&)>;

    LayoutLibrary (LayoutEditSession& session, std::function<juce::File()> layoutsFolder, Prompts& prompts,
                   FileDialogs& dialogs, Log log);

    /** The file SAVE writes: the one last loaded or saved (for a loaded backup, its original),
        else "Default.layout.json" in the folder. */
    juce::File saveTarget() const;
    const std::optional<juce::File>& currentFile() const { return current; }

    /** Loads the newest valid layout of the folder on top of the default; refused files are logged
        and the editor keeps the default layout. */
    void loadAtStartup();
    /** Captures `visibleIds` and saves them to `file` with backup and verification. */
    bool save (const std::vector<std::string>& visibleIds, const juce::File& file, juce::Time now);
    void saveToCurrent (const std::vector<std::string>& visibleIds, juce::Time now)
    {
        save (visibleIds, saveTarget(), now);
    }
    /** Asks for a name (the proposal of SAVE AS), then saves there. */
    void saveAs (std::function<std::vector<std::string>()> visibleIds, juce::Time now);
    /** Asks for a file and loads it; `onLoaded` runs after a good load. */
    void load (std::function<void()> onLoaded);
    bool loadFile (const juce::File& file);

    /** Saves the visible Digital FX items of the algorithm into its own file (page 5 is EFFECTS). */
    bool saveDigitalFx (int page, const std::string& algorithmName, const std::vector<std::string>& visibleIds,
                        juce::Time now);
    /** Puts the algorithm's Digital FX layout, when it has one, over the current layout. */
    bool applyDigitalFx (const std::string& algorithmName);
    juce::File digitalFxFile (const std::string& algorithmName) const
    {
        return digitalFxLayoutFile (folder(), algorithmName);
    }

private:
    LayoutEditSession& session;
    std::function<juce::File()> folder;
    Prompts& prompts;
    FileDialogs& dialogs;
    Log log;
    std::optional<juce::File> current;
};

} // namespace orvo
