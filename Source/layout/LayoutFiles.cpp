#include "LayoutFiles.h"

#include "library/AtomicFile.h"
#include "library/FileNaming.h"
#include "library/JsonText.h"

#include <map>

namespace orvo
{
namespace
{
const juce::String extension (".layout.json");

juce::String baseName (const juce::File& file)
{
    const auto name = file.getFileName();
    return name.endsWithIgnoreCase (extension) ? name.dropLastCharacters (extension.length())
                                               : file.getFileNameWithoutExtension();
}

std::string path (const juce::File& f)
{
    return f.getFullPathName().toStdString();
}
} // namespace

juce::String layoutFileName (const juce::String& name)
{
    const auto trimmed = name.trim();
    if (trimmed.endsWithIgnoreCase (extension))
        return trimmed;
    if (trimmed.endsWithIgnoreCase (".layout"))
        return trimmed + ".json";
    if (trimmed.endsWithIgnoreCase (".json"))
        return trimmed.dropLastCharacters (5) + extension;
    return trimmed + extension;
}

juce::String proposedLayoutSaveName (const std::optional<juce::File>& currentFile, juce::Time now)
{
    const auto base = currentFile ? baseName (*currentFile) : juce::String ("Layout");
    return base + " " + now.formatted ("%Y%m%d-%H%M%S") + extension;
}

juce::File digitalFxLayoutFile (const juce::File& layoutsFolder, const std::string& algorithmName)
{
    return layoutsFolder.getChildFile ("Digital FX")
        .getChildFile (juce::String (fileNameStem (algorithmName, "effect")) + extension);
}

juce::File layoutFileForBackup (const juce::File& backup)
{
    const auto name = backup.getFileName();
    const int at = name.indexOf (".backup-");
    if (at < 0)
        return backup;
    auto folder = backup.getParentDirectory();
    if (folder.getFileName() == "Backups")
        folder = folder.getParentDirectory();
    return folder.getChildFile (name.substring (0, at) + extension);
}

std::optional<juce::File> newestLayoutFile (const juce::File& folder, std::vector<std::string>* refused)
{
    std::optional<juce::File> newest;
    for (const auto& f : folder.findChildFiles (juce::File::findFiles, false, "*" + extension))
    {
        if (isBackupFile (f, folder))
            continue;
        if (newest && f.getLastModificationTime() <= newest->getLastModificationTime())
        {
            // Only a file that would win needs reading.
            continue;
        }
        if (f.getSize() > 64 * 1024 * 1024)
        {
            if (refused != nullptr)
                refused->push_back (path (f) + ": the file is too large to be a layout");
            continue;
        }
        juce::var json;
        const auto parsed = parseJsonFile (f, json);
        const auto read = parsed.wasOk() ? readLayoutDocument (json)
                                         : LayoutReadResult{ {}, parsed.getErrorMessage().toStdString(), {} };
        if (!read.document)
        {
            if (refused != nullptr)
                refused->push_back (path (f) + ": " + read.error);
            continue;
        }
        newest = f;
    }
    return newest;
}

LayoutFileOutcome saveLayoutFile (const LayoutSaveRequest& request, const juce::File& target, juce::Time now,
                                  const LayoutSaveHooks& hooks)
{
    const bool fx = !request.digitalFxAlgorithm.empty();
    LayoutFileOutcome out;
    const auto fail = [&out, fx] (const std::string& reason, bool restored)
    {
        out.ok = false;
        out.title = fx ? "Digital FX Layout Save Failed" : "Layout Save Failed";
        out.text =
            restored
                ? (fx ? "The Digital FX layout file could not be written. The previous layout was restored from backup."
                      : "The layout file could not be written. The previous layout was restored from backup.")
                : reason;
        out.logLine = "LAYOUT SAVE FAILED: " + reason + "\n";
        return out;
    };

    if (request.captured.empty())
        return fail (fx ? "No visible Digital FX controls were captured for " + request.digitalFxAlgorithm
                        : "No visible layout items were captured, so the layout was not written.",
                     false);
    if (target.existsAsFile())
    {
        out.backup = backupBeforeOverwrite (target, now);
        if (!out.backup)
            return fail (fx ? "Could not create a backup, so the Digital FX layout was not written."
                            : "Could not create a backup, so the layout was not written.",
                         false);
    }

    // The new text goes beside the target and is checked there; the old file stays until it passed.
    const auto pending = target.getSiblingFile (target.getFileName() + ".pending");
    const auto text = layoutDocumentText (request.document);
    if (const auto written = writeFileAtomically (pending, text); !written)
        return fail ("The layout file was not created. " + written.error, true);
    if (hooks.afterWrite)
        hooks.afterWrite (pending);

    const auto verify = [&]() -> std::string
    {
        if (!pending.existsAsFile())
            return "The layout file was not created.";
        juce::var json;
        if (parseJsonFile (pending, json).failed())
            return "The saved layout file could not be parsed.";
        const auto read = readLayoutDocument (json);
        if (!read.document)
            return "The saved layout file could not be parsed.";
        std::map<std::string, LayoutRect> saved;
        for (const auto& t : read.document->targets)
            saved[t.id] = t.rect;
        for (const auto& c : request.captured)
        {
            const auto found = saved.find (c.id);
            if (found == saved.end())
                return "Missing saved layout target: " + c.id;
            if (found->second != c.rect)
                return "Saved bounds did not match for " + c.id;
        }
        return {};
    };
    if (const auto problem = verify(); !problem.empty())
    {
        pending.deleteFile();
        return fail (problem, true);
    }
    if (!pending.moveFileTo (target))
    {
        pending.deleteFile();
        return fail ("The layout file was not created.", true);
    }

    out.ok = true;
    const auto count = std::to_string (request.captured.size());
    if (fx)
    {
        out.title = "Digital FX Layout Saved";
        out.text = "Digital FX layout saved for " + request.digitalFxAlgorithm + ". Verified " + count +
                   " visible Digital FX items.";
    }
    else
    {
        out.title = "Layout Saved";
        out.text = " Verified " + count + " visible layout items in " + path (target);
        if (out.backup)
            out.text += " Backup: " + path (*out.backup);
        if (request.mirroredSidebarItems > 0)
            out.text += " Mirrored " + std::to_string (request.mirroredSidebarItems) +
                        " sidebar items to the other sidebar pane.";
        if (request.popupItems > 0)
            out.text += " Included " + std::to_string (request.popupItems) + " edited popup items.";
        out.text = juce::String (out.text).trim().toStdString();
    }
    out.logLine = "Layout saved as " + path (target) + "\n";
    return out;
}

LayoutFileOutcome loadLayoutFile (const juce::File& file)
{
    LayoutFileOutcome out;
    const auto fail = [&out] (const std::string& reason)
    {
        out.title = "Layout Load Failed";
        out.text = reason;
        out.logLine = "LAYOUT LOAD FAILED: " + reason + "\n";
        return out;
    };
    if (!file.existsAsFile())
        return fail ("The selected layout file does not exist: " + path (file));
    juce::var json;
    if (file.getSize() > 64 * 1024 * 1024 || parseJsonFile (file, json).failed())
        return fail ("The selected layout file could not be read: " + path (file));
    auto read = readLayoutDocument (json);
    if (!read.document)
        return fail ("The selected file is not an Orvo layout file: " + path (file));

    const auto& doc = *read.document;
    out.ok = true;
    out.title = "Layout Loaded";
    out.text = "Loaded layout file: " + path (file) + ". Read " + std::to_string (doc.targets.size()) +
               " saved positions, " + std::to_string (doc.styles.size()) + " style overrides, and " +
               std::to_string (doc.pageHeights.size()) + " page height overrides.";
    if (file.getFileName().contains (".backup-"))
        out.text += " Loaded backup for testing; SAVE writes to " + path (layoutFileForBackup (file));
    for (const auto& note : read.notes)
        out.text += " " + note;
    out.logLine = "Layout loaded from " + path (file) + "\n";
    out.document = std::move (read.document);
    return out;
}

} // namespace orvo
