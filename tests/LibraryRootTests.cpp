#include "LibraryTestSupport.h"
#include "library/LibraryRoot.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
/** A settings folder, a store on it and a library root whose program does not sit in a source tree. */
struct Library
{
    TemporaryFolder temp;
    std::vector<std::string> log;
    EditorSettingsStore store{ temp / "Settings" };
    LibraryRoot root{ store, [this] (const std::string& s) { log.push_back (s); } };
};

juce::File makeSourceProject (const juce::File& project, const char* mainPath)
{
    writeText (project.getChildFile ("CMakeLists.txt"), "project(x)");
    writeText (project.getChildFile (mainPath), "int main() {}");
    return project;
}
} // namespace

TEST (LibraryRoot, DefaultsToTheSettingsFolderAndFollowsTheStoredFolderAtOnce)
{
    Library lib;
    EXPECT_EQ (lib.root.libraryRoot(), lib.temp / "Settings");
    EXPECT_EQ (lib.root.folder (LibraryRoot::Folder::programs), lib.temp.get().getChildFile ("Settings/Programs"));

    const auto elsewhere = lib.temp / "Elsewhere";
    lib.store.writeString (SettingsKeys::libraryRootDirectory, elsewhere.getFullPathName().toStdString());
    EXPECT_EQ (lib.root.libraryRoot(), elsewhere);
    EXPECT_EQ (lib.root.folder (LibraryRoot::Folder::tagHashFiles), elsewhere.getChildFile ("Exports/Tag Hash Files"));
    EXPECT_EQ (lib.root.tagTableFile(), elsewhere.getChildFile ("KnownProgramTags.json"));

    for (const char* unusable : { "", "   ", "relative/folder" })
    {
        lib.store.writeString (SettingsKeys::libraryRootDirectory, unusable);
        EXPECT_EQ (lib.root.libraryRoot(), lib.temp / "Settings") << '"' << unusable << '"';
    }
}

TEST (LibraryRoot, EnsureLibraryFoldersCreatesTheWholeTreeAndAsksForTheTagTable)
{
    Library lib;
    std::vector<juce::File> tagTables;
    lib.root.ensureTagTableFile = [&] (const juce::File& f) { tagTables.push_back (f); };

    lib.root.ensureLibraryFolders();
    const auto root = lib.root.libraryRoot();
    const auto documentFolders = words ("Programs Mixes Banks Environments Layouts Exports");
    for (const auto& name : documentFolders)
        writeText (root.getChildFile (name).getChildFile (".A.orvop.3f.tmp"), "left by a killed save");
    lib.root.ensureLibraryFolders(); // a second run finds everything in place and clears the leftovers

    for (const auto& name : documentFolders)
        EXPECT_FALSE (root.getChildFile (name).getChildFile (".A.orvop.3f.tmp").exists()) << name;
    // clang-format off
    std::vector<std::string> expected{
        "Programs", "Mixes", "Banks", "Environments", "Layouts", "Exports/Tag Hash Files", "Sync Captures",
        "Generator Intake/BassFeedback", "Generator Intake/ProgramDumpVerification",
        "Generator Intake/EffectMappingVerification", "Generator Intake/FilterMappingVerification",
    };
    // clang-format on
    for (const auto* category : LibraryRoot::generatorCategories())
    {
        expected.push_back (std::string ("Generator Intake/") + category);
        expected.push_back (std::string ("Generator Intake/GenerationFeedback/") + category);
    }
    for (const auto& path : expected)
        EXPECT_TRUE (root.getChildFile (path).isDirectory()) << path;

    EXPECT_EQ (LibraryRoot::generatorCategories().size(), 12u);
    EXPECT_EQ (std::string (LibraryRoot::generatorCategories()[7]), "StringsChoir");
    EXPECT_EQ (childNames (root.getChildFile ("Generator Intake/GenerationFeedback")).size(), 12u);
    EXPECT_EQ (childNames (root.getChildFile ("Generator Intake")).size(), 12u + 5u);
    EXPECT_EQ (tagTables, (std::vector<juce::File>{ root.getChildFile ("KnownProgramTags.json"),
                                                    root.getChildFile ("KnownProgramTags.json") }));
}

TEST (LibraryRoot, WritesNothingIntoTheCurrentFolderEvenInsideASourceProject)
{
    TemporaryFolder temp;
    const auto project = makeSourceProject (temp / "Project", "Source/app/Main.cpp");
    const auto bin = project.getChildFile ("build/bin");
    ASSERT_TRUE (bin.createDirectory());
    const auto before = juce::File::getCurrentWorkingDirectory();
    bin.setAsCurrentWorkingDirectory();
    {
        EditorSettingsStore store (temp / "Settings");
        LibraryRoot root (store, {});
        root.ensureLibraryFolders();
        EXPECT_EQ (root.syncCaptureFolder(), temp / "Settings/Sync Captures");
        EXPECT_EQ (root.generatorIntakeFolder(), temp / "Settings/Generator Intake");
        EXPECT_TRUE (root.syncCaptureFolder().isDirectory());
    }
    before.setAsCurrentWorkingDirectory();
    EXPECT_EQ (bin.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
    EXPECT_EQ (project.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 3); // CMakeLists.txt, Source, build
}

TEST (LibraryRoot, NamesTheLatestBankCaptureFilesWithClampedNumbers)
{
    Library lib;
    const auto latest = lib.root.syncCaptureFolder().getChildFile ("LatestProgramBank");
    const std::tuple<int, int, const char*> cases[]{
        { 0, 0, "bank-00/program-000.syx" },    { 3, 7, "bank-03/program-007.syx" },
        { 15, 127, "bank-15/program-127.syx" }, { 20, 200, "bank-15/program-127.syx" },
        { -1, -5, "bank-00/program-000.syx" },
    };
    for (const auto& [bank, slot, path] : cases)
        EXPECT_EQ (lib.root.latestProgramCaptureFile (bank, slot), latest.getChildFile (path)) << path;
}

TEST (LibraryRoot, SetStorageMakesTheChosenFolderTheRootAndLeavesTheOldOneUntouched)
{
    Library lib;
    lib.root.ensureLibraryFolders();
    const auto oldRoot = lib.root.libraryRoot();
    writeText (oldRoot.getChildFile ("Programs/Bass.orvop"), "{}");
    const auto oldTree = childNames (oldRoot);

    const auto chosen = lib.temp / "New Library";
    ScriptedFileDialogs dialogs;
    dialogs.answers.push_back (chosen.getFullPathName().toStdString());
    int reloads = 0;
    lib.root.chooseLibraryRoot (dialogs, [&] { ++reloads; });

    EXPECT_EQ (dialogs.titles, std::vector<std::string>{ "Choose Orvo Editor storage folder" });
    EXPECT_EQ (lib.root.libraryRoot(), chosen);
    EXPECT_EQ (reloads, 1);
    for (const char* folder : { "Programs", "Mixes", "Banks", "Environments", "Layouts" })
        EXPECT_TRUE (chosen.getChildFile (folder).isDirectory()) << folder;
    EXPECT_FALSE (chosen.getChildFile ("Programs/Bass.orvop").exists()) << "documents are neither moved nor copied";
    auto treeAfter = childNames (oldRoot);
    treeAfter.erase (std::remove (treeAfter.begin(), treeAfter.end(), "Orvo Editor.settings"), treeAfter.end());
    EXPECT_EQ (treeAfter, oldTree) << "the settings file lives here too; nothing else changes";
    EXPECT_EQ (childNames (oldRoot.getChildFile ("Programs")), std::vector<std::string>{ "Bass.orvop" });
    EXPECT_TRUE (oldRoot.getChildFile ("Programs/Bass.orvop").existsAsFile());
    EXPECT_EQ (lib.log, std::vector<std::string>{
                            "Librarian storage location changed to " + chosen.getFullPathName().toStdString() +
                            ". Programs, Mixes, Banks, Environments, and Layouts folders are ready there.\n" });

    // The choice is in the settings file, so the next start finds it.
    EditorSettingsStore reopened (lib.temp / "Settings");
    EXPECT_EQ (reopened.readString (SettingsKeys::libraryRootDirectory), chosen.getFullPathName().toStdString());
}

TEST (LibraryRoot, SetStorageChangesNothingWhenCancelledOrGivenAnUnusableFolder)
{
    Library lib;
    const auto aFile = writeText (lib.temp / "a file", "x");
    struct Case
    {
        std::optional<std::string> answer;
        std::string logStart; // empty: nothing is logged
    };
    const Case cases[]{
        { std::nullopt, "" },
        { std::string ("relative/place"),
          "Librarian storage location not changed: relative/place is not a full folder path.\n" },
        { aFile.getFullPathName().toStdString(), "Librarian storage location not changed: " },
    };
    for (const auto& c : cases)
    {
        lib.log.clear();
        ScriptedFileDialogs dialogs;
        dialogs.answers.push_back (c.answer);
        int reloads = 0;
        lib.root.chooseLibraryRoot (dialogs, [&] { ++reloads; });

        EXPECT_EQ (lib.root.libraryRoot(), lib.temp / "Settings") << c.answer.value_or ("(cancelled)");
        EXPECT_EQ (reloads, 0);
        EXPECT_FALSE (lib.store.hasKey (SettingsKeys::libraryRootDirectory));
        if (c.logStart.empty())
        {
            EXPECT_TRUE (lib.log.empty()) << c.answer.value_or ("(cancelled)");
        }
        else
        {
            ASSERT_EQ (lib.log.size(), 1u);
            EXPECT_EQ (lib.log[0].rfind (c.logStart, 0), 0u) << lib.log[0];
        }
    }
}

TEST (LibraryRoot, SetStorageIsRefusedWhenTheSettingsCannotBeKept)
{
    TemporaryFolder temp;
    std::vector<std::string> log;
    EditorSettingsStore broken (writeText (temp / "Settings", "a file, not a folder"));
    LibraryRoot root (broken, [&] (const std::string& s) { log.push_back (s); });

    EXPECT_FALSE (root.setLibraryRoot ((temp / "Library").getFullPathName().toStdString()));
    EXPECT_EQ (log, std::vector<std::string>{
                        "Librarian storage location not changed: the settings file cannot be written.\n" });
    EXPECT_EQ (root.libraryRoot(), temp / "Settings");
}

TEST (LibraryRoot, StartsTheTagTableFromItsDefaultAndNeverOverwritesIt)
{
    TemporaryFolder temp;
    EditorSettingsStore store (temp / "Settings");
    LibraryRoot root (store, {});
    root.ensureLibraryFolders();
    const auto table = root.tagTableFile();
    const auto text = table.loadFileAsString();
    EXPECT_TRUE (text.contains ("\r\n  \"schema\": \"orvo.program-tag-associations.v1\",\r\n")) << text;
    EXPECT_EQ (juce::JSON::parse (text)["exampleProgram"]["tags"][1].toString(), "mono");

    ASSERT_TRUE (table.replaceWithText ("{\"programs\": []}"));
    root.ensureLibraryFolders();
    EXPECT_EQ (table.loadFileAsString(), "{\"programs\": []}");
}
