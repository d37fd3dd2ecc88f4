#include "LibraryTestSupport.h"
#include "library/FileNaming.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

TEST (FileNameStem, KeepsLettersAndDigitsTurnsSeparatorsIntoSingleHyphensAndDropsTheRest)
{
    const std::string sixtyLetters (60, 'a');
    const std::string wideGap = "a" + std::string (50, ' ') + "b";
    const std::tuple<std::string, std::string, std::string> cases[]{
        { "  Big   Brass!!", "program-000", "Big-Brass" },
        { "!!!@@@###", "program-000", "program-000" },
        { sixtyLetters, "program-000", std::string (48, 'a') },
        { "", "mix-012", "mix-012" },
        { "a_b-c d", "x", "a-b-c-d" },
        { "--Lead--", "x", "Lead" },
        { "Pad  -_ Soft", "x", "Pad-Soft" },
        { "Caf\xc3\xa9 Noir", "x", "Caf-Noir" },
        // the 48-character cut happens before hyphens are merged
        { wideGap, "x", "a" },
        { "!!", "Warm Pad", "Warm Pad" },
    };
    for (const auto& [name, fallback, stem] : cases)
        EXPECT_EQ (fileNameStem (name, fallback), stem) << '"' << name << '"';
}

TEST (NormalizedName, TrimsAndFoldsEveryRunOfWhiteSpaceIntoOneSpace)
{
    const std::pair<std::string, std::string> cases[]{
        { "  Big   Brass!!", "Big Brass!!" }, { "Warm\t\tPad\n", "Warm Pad" }, { "One", "One" }, { " \t ", "" },
        { "A \r\n B  C", "A B C" },
    };
    for (const auto& [name, normalised] : cases)
        EXPECT_EQ (normalizedName (name), normalised) << '"' << name << '"';
}

TEST (DefaultDocumentStem, UsesTheSlotNameOrTheNumberedFallback)
{
    SlotNameTable names;
    names.setName (0, 7, "");
    names.setName (0, 0, "***");
    names.setName (3, 12, " Warm  Pad ");
    names.setName (4, 127, "Last One");

    struct Case
    {
        DocumentKind kind;
        int bank, slot;
        std::string stem;
    };
    const Case cases[]{
        { DocumentKind::program, 0, 7, "program-007" },   { DocumentKind::program, 0, 0, "program-000" },
        { DocumentKind::mix, 3, 12, "Warm-Pad" },         { DocumentKind::mix, 3, 99, "mix-099" },
        { DocumentKind::mix, 9, 127, "Last-One" }, // bank clamped to 4
        { DocumentKind::program, 1, 500, "program-127" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (defaultDocumentStem (c.kind, names, c.bank, c.slot), c.stem) << c.bank << "/" << c.slot;
}

TEST (UniqueFileIn, InsertsACounterBeforeTheExtensionOnAClash)
{
    TemporaryFolder temp;
    EXPECT_EQ (uniqueFileIn (temp.get(), "Bass", ".orvop"), temp / "Bass.orvop");
    (temp / "Bass.orvop").create();
    EXPECT_EQ (uniqueFileIn (temp.get(), "Bass", ".orvop"), temp / "Bass-2.orvop");
    (temp / "Bass-2.orvop").create();
    EXPECT_EQ (uniqueFileIn (temp.get(), "Bass", ".orvop"), temp / "Bass-3.orvop");
    EXPECT_EQ (uniqueFileIn (temp.get(), "Bass", ".orvob"), temp / "Bass.orvob");
}

TEST (BackupBeforeOverwrite, NamesBackupsByTheSecondBeforeTheExtensionsAndCountsClashesWithinOneSecond)
{
    TemporaryFolder temp;
    const auto layout = writeText (temp / "Layouts/Studio.layout.json", "first");
    const juce::Time at (2026, 0, 5, 14, 30, 9, 0, true);
    const juce::Time sameSecond (2026, 0, 5, 14, 30, 9, 800, true);
    const juce::Time nextSecond (2026, 0, 5, 14, 30, 10, 0, true);

    const auto first = backupBeforeOverwrite (layout, at);
    writeText (layout, "second");
    const auto second = backupBeforeOverwrite (layout, sameSecond);
    const auto third = backupBeforeOverwrite (layout, sameSecond);
    const auto later = backupBeforeOverwrite (layout, nextSecond);

    const auto backups = temp.get().getChildFile ("Layouts/Backups");
    ASSERT_TRUE (first && second && third && later);
    EXPECT_EQ (*first, backups.getChildFile ("Studio.backup-20260105-143009.layout.json"));
    EXPECT_EQ (*second, backups.getChildFile ("Studio.backup-20260105-143009-2.layout.json"));
    EXPECT_EQ (*third, backups.getChildFile ("Studio.backup-20260105-143009-3.layout.json"));
    EXPECT_EQ (*later, backups.getChildFile ("Studio.backup-20260105-143010.layout.json"));
    EXPECT_EQ (readText (*first), "first");
    EXPECT_EQ (readText (*second), "second");
    EXPECT_EQ (readText (layout), "second") << "the original stays in place";

    // A plain extension follows the time.
    const auto bank = writeText (temp / "Banks/User.orvob", "{}");
    EXPECT_EQ (backupBeforeOverwrite (bank, juce::Time (2026, 11, 31, 23, 59, 59, 0, true))->getFileName(),
               "User.backup-20261231-235959.orvob");
}

TEST (BackupBeforeOverwrite, MakesNothingForAMissingFileOrAFolder)
{
    TemporaryFolder temp;
    const auto folder = temp / "Layouts";
    folder.createDirectory();
    const juce::Time now (2026, 0, 5, 14, 30, 9, 0, true);

    EXPECT_FALSE (backupBeforeOverwrite (folder.getChildFile ("Missing.layout.json"), now).has_value());
    EXPECT_FALSE (backupBeforeOverwrite (folder, now).has_value());
    EXPECT_FALSE (folder.getChildFile ("Backups").exists());
    EXPECT_FALSE (temp.get().getChildFile ("Backups").exists());
}

TEST (IsBackupFile, PassesOverBackupFoldersAndBackupNamesBelowTheScannedFolder)
{
    TemporaryFolder temp;
    const auto layouts = temp.get().getChildFile ("Backups/Library/Layouts");
    const std::pair<juce::File, bool> cases[]{
        { layouts.getChildFile ("Studio.layout.json"), false },
        { layouts.getChildFile ("Backups/Studio.layout.json"), true },
        { layouts.getChildFile ("Old/Backups/Deep/Studio.layout.json"), true },
        { layouts.getChildFile ("Studio.backup-20260105-143009.layout.json"), true },
        { layouts.getChildFile ("Sub/Studio.layout.json"), false },
    };
    for (const auto& [file, skipped] : cases)
        EXPECT_EQ (isBackupFile (file, layouts), skipped) << file.getFullPathName();
}
