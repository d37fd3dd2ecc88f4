#include "LibraryRoot.h"

#include "AtomicFile.h"
#include "TagTable.h"

namespace orvo
{
namespace
{
juce::String toJuce (const std::string& s)
{
    return juce::String (juce::CharPointer_UTF8 (s.c_str()));
}
} // namespace

const std::array<const char*, LibraryRoot::numGeneratorCategories>& LibraryRoot::generatorCategories()
{
    static const std::array<const char*, numGeneratorCategories> names{ "Bass",  "Lead", "Pad",        "Pluck",
                                                                        "Bell",  "FX",   "Percussion", "StringsChoir",
                                                                        "Brass", "Keys", "SeqArp",     "Atmosphere" };
    return names;
}

LibraryRoot::LibraryRoot (EditorSettingsStore& store, Log logFn) : settings (store), log (std::move (logFn)) {}

void LibraryRoot::logLine (const std::string& text) const
{
    if (log)
        log (text);
}

juce::File LibraryRoot::defaultLibraryRoot() const
{
    const auto folder = settings.settingsFolder();
    if (folder.getFullPathName().isNotEmpty())
        return folder;
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getChildFile ("Orvo Editor");
}

juce::File LibraryRoot::libraryRoot() const
{
    const auto stored = toJuce (settings.readString (SettingsKeys::libraryRootDirectory)).trim();
    if (stored.isNotEmpty() && juce::File::isAbsolutePath (stored))
        return juce::File (stored);
    return defaultLibraryRoot();
}

juce::File LibraryRoot::folder (Folder which) const
{
    const auto root = libraryRoot();
    switch (which)
    {
        case Folder::programs:
            return root.getChildFile ("Programs");
        case Folder::mixes:
            return root.getChildFile ("Mixes");
        case Folder::banks:
            return root.getChildFile ("Banks");
        case Folder::environments:
            return root.getChildFile ("Environments");
        case Folder::layouts:
            return root.getChildFile ("Layouts");
        case Folder::exports:
            return root.getChildFile ("Exports");
        case Folder::tagHashFiles:
            return root.getChildFile ("Exports").getChildFile ("Tag Hash Files");
    }
    return root;
}

juce::File LibraryRoot::tagTableFile() const
{
    return libraryRoot().getChildFile ("KnownProgramTags.json");
}

juce::File LibraryRoot::syncCaptureFolder() const
{
    return captureRoot().getChildFile ("Sync Captures");
}

juce::File LibraryRoot::generatorIntakeFolder() const
{
    return captureRoot().getChildFile ("Generator Intake");
}

juce::File LibraryRoot::latestProgramBankFolder (int bank) const
{
    const int b = juce::jlimit (0, 15, bank);
    return syncCaptureFolder()
        .getChildFile ("LatestProgramBank")
        .getChildFile ("bank-" + juce::String (b).paddedLeft ('0', 2));
}

juce::File LibraryRoot::latestProgramCaptureFile (int bank, int slot) const
{
    const int s = juce::jlimit (0, 127, slot);
    return latestProgramBankFolder (bank).getChildFile ("program-" + juce::String (s).paddedLeft ('0', 3) + ".syx");
}

void LibraryRoot::ensureLibraryFolders() const
{
    // Results are deliberately ignored: a folder that cannot be made shows up as the failure of the
    // write that needs it, with that write's own message.
    for (const auto which : { Folder::programs, Folder::mixes, Folder::banks, Folder::environments })
        (void)folder (which).createDirectory();

    if (ensureTagTableFile)
        ensureTagTableFile (tagTableFile());
    else
        ensureDefaultTagTable (tagTableFile());

    (void)folder (Folder::layouts).createDirectory();
    (void)folder (Folder::tagHashFiles).createDirectory();

    (void)syncCaptureFolder().createDirectory();
    const auto intake = generatorIntakeFolder();
    for (const auto* category : generatorCategories())
        (void)intake.getChildFile (category).createDirectory();
    (void)intake.getChildFile ("BassFeedback").createDirectory();
    for (const auto* category : generatorCategories())
        (void)intake.getChildFile ("GenerationFeedback").getChildFile (category).createDirectory();
    for (const auto* name : { "ProgramDumpVerification", "EffectMappingVerification", "FilterMappingVerification" })
        (void)intake.getChildFile (name).createDirectory();

    // A save killed before its rename leaves a hidden temporary file; nothing else ever removes it.
    for (const auto which :
         { Folder::programs, Folder::mixes, Folder::banks, Folder::environments, Folder::layouts, Folder::exports })
        (void)removeLeftoverTemporaryFiles (folder (which));
}

void LibraryRoot::chooseLibraryRoot (FileDialogs& dialogs, std::function<void()> onChanged)
{
    dialogs.chooseFolder ("Choose Orvo Editor storage folder", libraryRoot().getFullPathName().toStdString(),
                          [this, onChanged] (std::optional<std::string> chosen)
                          {
                              if (chosen.has_value())
                                  setLibraryRoot (*chosen, onChanged);
                          });
}

bool LibraryRoot::setLibraryRoot (const std::string& path, const std::function<void()>& onChanged)
{
    const auto text = toJuce (path).trim();
    if (text.isEmpty())
        return false;

    if (!juce::File::isAbsolutePath (text))
    {
        logLine ("Librarian storage location not changed: " + path + " is not a full folder path.\n");
        return false;
    }
    const juce::File chosen (text);
    if ((!chosen.isDirectory() && chosen.createDirectory().failed()) || !chosen.isDirectory() ||
        !chosen.hasWriteAccess())
    {
        logLine ("Librarian storage location not changed: " + path + " cannot be used as a folder.\n");
        return false;
    }
    if (!settings.isAvailable())
    {
        logLine ("Librarian storage location not changed: the settings file cannot be written.\n");
        return false;
    }

    settings.writeString (SettingsKeys::libraryRootDirectory, chosen.getFullPathName().toStdString());
    settings.save();

    ensureLibraryFolders();
    if (onChanged)
        onChanged();

    logLine ("Librarian storage location changed to " + chosen.getFullPathName().toStdString() +
             ". Programs, Mixes, Banks, Environments, and Layouts folders are ready there.\n");
    return true;
}

std::string LibraryRoot::libraryHelpText()
{
    return std::string ("ORVO EDITOR FILE STRUCTURE:\n\n") +
           "PROGRAMS: (.ORVOP) - Traditional program sysex file that also includes tags, editor values, and "
           "notes.\n\n" +
           "MIXES: (.ORVOM) - One mix program with its mix setup and local editor data.\n\n" +
           "BANKS: (.ORVOB) - Stores an entire bank of .ORVOP or .ORVOM files.\n\n" +
           "SYSEX: (.SYX) - Raw Orvo Program dump data only, with editor metadata removed.\n\n" +
           "LAYOUTS: (.LAYOUT.JSON) - Stores app screen layout changes locally. The newest valid layout file in "
           "this folder is loaded at startup.\n\n" +
           "ENVIRONMENT: - Stores a series of .ORVOB bank files along with various program settings. Layouts are "
           "not embedded in .ORVOX files.";
}

} // namespace orvo
