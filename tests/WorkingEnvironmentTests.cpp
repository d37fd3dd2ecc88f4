#include "LibrarianTestSupport.h"
#include "library/JsonText.h"
#include "library/WorkingEnvironment.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
const std::string startupPrefix = "STARTUP: default exchange parse failed; generated fallback loaded at ";

std::vector<std::string> startupLines (const std::vector<std::string>& log)
{
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.rfind ("STARTUP: ", 0) == 0)
            out.push_back (line);
    return out;
}
} // namespace

TEST (WorkingEnvironment, AMissingOrDamagedFileIsReplacedAndTheEditorStartsEmpty)
{
    struct Case
    {
        const char* name;
        const char* existing; // nullptr: no file
        bool keepsACopy;
    };
    const Case cases[] = {
        { "missing", nullptr, false },
        { "truncated", R"({"format":"OrvoExchange","banks":[)", true },
        { "foreign", R"({"format":"SomethingElse","banks":[]})", true },
    };
    for (const auto& c : cases)
    {
        LibrarianFixture f;
        const auto file = f.working.file();
        EXPECT_EQ (file, f.environmentsFolder().getChildFile ("Default.orvox"));
        if (c.existing != nullptr)
            writeText (file, c.existing);
        fillBank (f.state, 0, "Before start");
        int refreshed = 0;
        f.working.refreshViews = [&] { ++refreshed; };

        f.working.loadAtStartup (123.456);

        // A first start is no failure; a damaged file is.
        EXPECT_EQ (startupLines (f.log), c.existing == nullptr ? std::vector<std::string>{}
                                                               : std::vector<std::string>{ startupPrefix + "123.5 ms.\n" })
            << c.name;
        EXPECT_EQ (f.state.names.name (0, 1), "") << c.name;
        EXPECT_TRUE (f.state.slot (0, 3).programSysEx.empty()) << c.name;
        EXPECT_EQ (refreshed, 1);
        // The replacement is a valid, empty environment that the next start loads without complaint.
        LibrarianState next;
        ASSERT_TRUE (loadEnvironmentObject (next, readJsonDocument (file), {})) << c.name;
        EXPECT_EQ (next.names.name (0, 1), "");

        const auto backups = f.environmentsFolder().getChildFile ("Backups");
        const auto copies = backups.findChildFiles (juce::File::findFiles, false, "Default.backup-*.orvox");
        EXPECT_EQ (copies.size(), c.keepsACopy ? 1 : 0) << c.name;
        if (c.keepsACopy && copies.size() == 1)
        {
            EXPECT_EQ (readText (copies[0]), c.existing);
        }
    }
}

TEST (WorkingEnvironment, ASavedStateComesBackAtTheNextStart)
{
    LibrarianFixture f;
    fillBank (f.state, 2, "Kept");
    f.state.selectedBank = 2;
    f.state.selectedSlot = 9;
    int snapshots = 0;
    f.working.refreshCurrentSnapshot = [&] { ++snapshots; };
    ASSERT_TRUE (f.working.save());
    EXPECT_EQ (snapshots, 1);
    EXPECT_TRUE (f.log.empty()); // a routine rewrite is silent

    LibrarianFixture restart;
    restart.working.setFile (f.working.file());
    restart.working.loadAtStartup (10.0);
    EXPECT_TRUE (startupLines (restart.log).empty());
    EXPECT_EQ (restart.state.names.name (2, 5), "Kept 5");
    EXPECT_EQ (restart.state.slot (2, 6).programSysEx, f.state.slot (2, 6).programSysEx);
    EXPECT_EQ (restart.state.selectedBank, 2);
    EXPECT_EQ (restart.state.selectedSlot, 9);

    // Setting an empty path goes back to the default place.
    restart.working.setFile ({});
    EXPECT_EQ (restart.working.file(), restart.environmentsFolder().getChildFile ("Default.orvox"));
}

TEST (WorkingEnvironment, EachRewriteHoldsExactlyTheCurrentStateInJucesLayout)
{
    LibrarianFixture f;
    for (int bank = 0; bank < LibrarianState::numBanks; ++bank)
        fillBank (f.state, bank, "Full " + std::to_string (bank));
    f.state.names.setName (1, 4, "T\xc3\xa4g \"4\" \\ \x01");
    int snapshots = 0;
    f.working.refreshCurrentSnapshot = [&]
    {
        // What the editor does before a rewrite: the current slot's snapshot is taken afresh.
        f.state.slot (f.state.selectedBank, f.state.selectedSlot).parameters = parameterSnapshot (100 + ++snapshots);
    };
    const auto expectedText = [&f] { return toJsonText (buildEnvironmentDocument (f.state), true); };

    ASSERT_TRUE (f.working.save());
    const auto full = readText (f.working.file());
    EXPECT_TRUE (full == expectedText());

    // A much smaller state afterwards: nothing of the longer text before is left at the end.
    f.state.clear();
    f.state.names.setName (0, 1, "Alone");
    f.state.selectedSlot = 1;
    ASSERT_TRUE (f.working.save());
    const auto small = readText (f.working.file());
    EXPECT_TRUE (small == expectedText());
    EXPECT_LT (small.size() * 4, full.size());
    EXPECT_NE (small.find ("\"rawValue\": 102"), std::string::npos); // the refreshed snapshot is in it

    // A backup is laid out in full, as JUCE's writer lays it out, and does not disturb the next rewrite.
    const auto backup = f.working.writeBeforeSyncBackup();
    ASSERT_TRUE (backup.has_value());
    EXPECT_TRUE (readText (*backup) == toJsonText (buildEnvironmentDocument (f.state), false));
    EXPECT_NE (readText (*backup).find ("\r\n"), std::string::npos);
    ASSERT_TRUE (f.working.save());
    EXPECT_TRUE (readText (f.working.file()) == expectedText());
    EXPECT_EQ (snapshots, 4);
}

TEST (WorkingEnvironment, BeforeSyncBackupsInOneSecondGetACounter)
{
    LibrarianFixture f;
    fillBank (f.state, 0, "Synced");
    const auto stamp = [&f]
    { return "Before Orvo Sync " + juce::Time (f.time.wallClockMs()).formatted ("%Y%m%d-%H%M%S").toStdString(); };

    // Start on a whole second so the three quick backups share one.
    f.time.advance (1000.0 - (double)(f.time.wallClockMs() % 1000));
    const auto firstStamp = stamp();
    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i)
    {
        const auto written = f.working.writeBeforeSyncBackup();
        ASSERT_TRUE (written.has_value());
        names.push_back (written->getFileName().toStdString());
        f.time.advance (300.0);
    }
    EXPECT_EQ (names,
               (std::vector<std::string>{ firstStamp + ".orvox", firstStamp + "-2.orvox", firstStamp + "-3.orvox" }));
    f.time.advance (1000.0);
    const auto later = f.working.writeBeforeSyncBackup();
    ASSERT_TRUE (later.has_value());
    EXPECT_EQ (later->getFileName().toStdString(), stamp() + ".orvox");
    EXPECT_EQ (later->getParentDirectory(), f.environmentsFolder());
}

#if ORVO_HAS_FILE_SIZE_LIMIT
TEST (WorkingEnvironment, AFailedRewriteLeavesThePreviousFileLoadable)
{
    LibrarianFixture f;
    f.state.names.setName (0, 0, "Previous");
    ASSERT_TRUE (f.working.save());
    const auto before = readText (f.working.file());

    fillBank (f.state, 0, "Too big");
    {
        ScopedFileSizeLimit limit ((rlim_t)before.size() + 100);
        EXPECT_FALSE (f.working.save());
        EXPECT_FALSE (f.working.writeBeforeSyncBackup().has_value());
    }
    EXPECT_EQ (readText (f.working.file()), before);
    EXPECT_TRUE (
        f.logged ("Could not save Environment file: " + f.working.file().getFullPathName().toStdString() + "\n"));
    auto names = childNames (f.environmentsFolder());
    EXPECT_EQ (names, std::vector<std::string>{ "Default.orvox" }); // no half-written backup or temporary file

    LibrarianFixture restart;
    restart.working.setFile (f.working.file());
    restart.working.loadAtStartup (1.0);
    EXPECT_EQ (restart.state.names.name (0, 0), "Previous");
}
#endif
