#pragma once

#include "LayoutDocument.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The name a layout is saved under: always ending in ".layout.json" ("Mine", "Mine.layout" and
    "Mine.json" all give "Mine.layout.json"). */
juce::String layoutFileName (const juce::String& name);

/** The name SAVE AS proposes: the current file's base name (or "Layout"), a space, the time as
    "%Y%m%d-%H%M%S", and ".layout.json". */
juce::String proposedLayoutSaveName (const std::optional<juce::File>& currentFile, juce::Time now);

/** The file SAVE writes for a loaded backup: its original in the folder above "Backups". */
juce::File layoutFileForBackup (const juce::File& backup);

/** Where the Digital FX layout of one algorithm lives: "Digital FX/<name as a file name>.layout.json"
    in the layouts folder. */
juce::File digitalFxLayoutFile (const juce::File& layoutsFolder, const std::string& algorithmName);

/** The newest "*.layout.json" in `folder` that reads as a layout document, passing over backups.
    Files that were refused are named in `refused` with the reason. */
std::optional<juce::File> newestLayoutFile (const juce::File& folder, std::vector<std::string>* refused = nullptr);

/** What a save or a load ends with: the alert's title and text and the log line. */
struct LayoutFileOutcome
{
    bool ok = false;
    std::string title, text, logLine;
    std::optional<juce::File> backup;
    std::optional<LayoutDocument> document; // a load's document
};

struct LayoutSaveRequest
{
    /** Everything the file will hold. */
    LayoutDocument document;
    /** The items captured from the screen; each must be found in the written file with its rectangle. */
    std::vector<LayoutTarget> captured;
    int mirroredSidebarItems = 0;
    int popupItems = 0;
    /** The Digital FX layout of this algorithm (its own texts); empty for the editor's layout. */
    std::string digitalFxAlgorithm;
};

/** Test seam: runs between writing the new text and reading it back. */
struct LayoutSaveHooks
{
    std::function<void (const juce::File& written)> afterWrite;
};

/** Saves a layout: a backup of the file it replaces first, then the text written beside the target,
    read back and compared item by item, and only then moved over the target, so a failed save never
    leaves the old layout damaged. */
LayoutFileOutcome saveLayoutFile (const LayoutSaveRequest& request, const juce::File& target, juce::Time now,
                                  const LayoutSaveHooks& hooks = {});

/** Loads a layout file with the checks and texts of LOAD. */
LayoutFileOutcome loadLayoutFile (const juce::File& file);

} // namespace orvo
