#include "LibraryTestSupport.h"
#include "engine/EditorSettingsBinding.h"
#include "library/EditorSettingsStore.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

using namespace orvo;
using orvo::testing::TemporaryFolder;

namespace
{
/** A settings file as the editor writes it, with the given raw value texts. */
void writeSettingsFile (const juce::File& folder, const std::vector<std::pair<std::string, std::string>>& values)
{
    juce::XmlElement root ("PROPERTIES");
    for (const auto& [key, value] : values)
    {
        auto* e = root.createNewChildElement ("VALUE");
        e->setAttribute ("name", juce::String (key));
        e->setAttribute ("val", juce::String (value));
    }
    folder.createDirectory();
    ASSERT_TRUE (root.writeTo (folder.getChildFile ("Orvo Editor.settings")));
}

/** The (name, value) pairs of the settings file, in file order. */
std::vector<std::pair<std::string, std::string>> storedValues (const juce::File& folder)
{
    std::vector<std::pair<std::string, std::string>> out;
    if (auto xml = juce::parseXML (folder.getChildFile ("Orvo Editor.settings")))
        for (auto* e : xml->getChildWithTagNameIterator ("VALUE"))
            out.emplace_back (e->getStringAttribute ("name").toStdString(),
                              e->getStringAttribute ("val").toStdString());
    return out;
}

std::map<std::string, std::string> storedMap (const juce::File& folder)
{
    const auto v = storedValues (folder);
    return { v.begin(), v.end() };
}

struct LogRecorder
{
    std::vector<std::string> lines;
    EditorSettingsStore::Log fn()
    {
        return [this] (const std::string& s) { lines.push_back (s); };
    }
};

const std::pair<std::string, std::string> marker{ "parameterDetailsModeDefaultsApplied", "1" };
} // namespace

TEST (SettingsStore, UsesTheOptionsFileNameAndFormatOfTheSettingsFile)
{
    const auto o = EditorSettingsStore::fileOptions();
    EXPECT_EQ (o.applicationName, "Orvo Editor");
    EXPECT_EQ (o.filenameSuffix, "settings");
    EXPECT_EQ (o.folderName, "Orvo Editor");
    EXPECT_EQ (o.osxLibrarySubFolder, "Application Support");
    EXPECT_FALSE (o.commonToAllUsers);
    EXPECT_FALSE (o.ignoreCaseOfKeyNames);
    EXPECT_EQ (o.storageFormat, juce::PropertiesFile::storeAsXML);
    EXPECT_EQ (o.processLock, nullptr);
    EXPECT_EQ (o.millisecondsBeforeSaving, 0);
    EXPECT_EQ (EditorSettingsStore::defaultSettingsFolder().getFileName(), "Orvo Editor");

    TemporaryFolder temp;
    EditorSettingsStore store (temp.get());
    ASSERT_TRUE (store.isAvailable());
    EXPECT_EQ (store.settingsFile(), temp / "Orvo Editor.settings");

    // Saved at once, without an explicit save, in XML that a second store reads back.
    store.writeInt (Settings::layoutColor, 2);
    store.writeString (SettingsKeys::inputName, "Orvo MIDI 1");
    auto xml = juce::parseXML (store.settingsFile());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getTagName(), "PROPERTIES");
    EditorSettingsStore again (temp.get());
    EXPECT_EQ (again.readInt (Settings::layoutColor), 2);
    EXPECT_EQ (again.readString (SettingsKeys::inputName), "Orvo MIDI 1");
    EXPECT_FALSE (again.hasKey ("LayoutColor")) << "key names are case-sensitive";
}

TEST (SettingsStore, ClampsEveryRangedValueReadFromTheFile)
{
    struct Case
    {
        IntSetting setting;
        const char* stored;
        int expected;
    };
    const Case cases[]{
        { Settings::defaultPage, "9", 6 },
        { Settings::defaultPage, "0", 1 },
        { Settings::lcdScreenType, "0", 1 },
        { Settings::lcdScreenType, "3", 2 },
        { Settings::envelopeTimeResponsiveness, "-4", 1 },
        { Settings::digitalEffectParameterVisibility, "5", 2 },
        { Settings::layoutColor, "4", 3 },
        { Settings::defaultLedColor, "5", 4 },
        { Settings::lcdColor, "-1", 1 },
        { Settings::programFont, "7", 3 },
        { Settings::inputListenChannel, "17", 16 },
        { Settings::outputSendChannel, "-1", 0 },
        { Settings::controllerListenChannel, "99999999999999", 16 },
        { Settings::controllerDecodeMode, "6", 5 },
        { Settings::diagnosticMode, "5", 1 },
        { Settings::squareWidthFix, " 1 ", 1 },
        { Settings::defaultPage, "+3", 3 },
    };
    for (const auto& c : cases)
    {
        TemporaryFolder temp;
        writeSettingsFile (temp.get(), { { c.setting.key, c.stored } });
        EditorSettingsStore store (temp.get());
        EXPECT_EQ (store.readInt (c.setting), c.expected) << c.setting.key << "=" << c.stored;
    }

    TemporaryFolder temp;
    writeSettingsFile (temp.get(), { marker, { "defaultPage", "9" }, { "lcdScreenType", "0" } });
    EditorSettingsStore store (temp.get());
    const auto s = store.readStartupSettings();
    EXPECT_EQ (s.defaultPage, 6);
    EXPECT_EQ (s.lcdScreenType, 1);
}

TEST (SettingsStore, SavesEveryValueClampedInItsFixedOrder)
{
    TemporaryFolder temp;
    EditorSettingsStore store (temp.get());
    StoredSettings s;
    s.envelopeTimeResponsiveness = 0;
    s.defaultPage = 12;
    s.defaultSidebarTop = 9; // LAYOUT EDIT while diagnostic mode is off
    s.defaultSidebarBottom = 11;
    s.digitalEffectParameterVisibility = -3;
    s.layoutColor = 4;
    s.defaultLedColor = 0;
    s.lcdColor = 9;
    s.lcdScreenType = 5;
    s.valueBoxColor = 0;
    s.dropdownMenuColor = 4;
    s.programFont = -1;
    s.inputListenChannel = 17;
    s.outputSendChannel = -2;
    s.controllerListenChannel = 40;
    s.controllerDecodeMode = 0;
    store.saveAllSettings (s);

    const std::vector<std::pair<std::string, std::string>> expected{
        { "orvo.oscSquareWidthCenter52", "0" },
        { "envelopeTimeResponsiveness", "1" },
        { "defaultPage", "6" },
        { "defaultSidebarTop", "1" },
        { "defaultSidebarBottom", "2" },
        { "digitalEffectParameterVisibility", "1" },
        { "layoutColor", "3" },
        { "defaultLedColor", "1" },
        { "lcdColor", "3" },
        { "lcdScreenType", "2" },
        { "dropdownMenuColor", "3" },
        { "valueBoxColor", "1" },
        { "programFont", "1" },
        { "diagnosticMode", "0" },
        { "warnings.unsavedPrograms.enabled", "1" },
        { "tools.autoSave", "0" },
        { "orvoMidi.inputListenChannel", "16" },
        { "orvoMidi.outputSendChannel", "0" },
        { "midiControl.controllerListenChannel", "16" },
        { "midiControl.controllerDecodeMode", "1" },
    };
    EXPECT_EQ (storedValues (temp.get()), expected);
}

TEST (SettingsStore, GivesEveryDefaultForAnEmptyFileWithTheColourBoxesFollowingTheLcd)
{
    TemporaryFolder temp;
    EditorSettingsStore store (temp.get());
    EXPECT_EQ (store.readStoredSettings(), StoredSettings{});
    EXPECT_FALSE (store.hasKey (SettingsKeys::libraryRootDirectory));
    EXPECT_FALSE (store.readBool (SettingsKeys::bankSyncWarningDismissed, false));

    struct Case
    {
        std::vector<std::pair<std::string, std::string>> file;
        int valueBox, dropdown;
    };
    const Case cases[]{
        { { { "lcdColor", "3" } }, 3, 3 },
        { { { "lcdColor", "7" } }, 3, 3 },
        { { { "lcdColor", "2" }, { "valueBoxColor", "1" } }, 1, 2 },
        { { { "lcdColor", "2" }, { "dropdownMenuColor", "9" } }, 2, 3 },
    };
    for (const auto& c : cases)
    {
        TemporaryFolder t;
        writeSettingsFile (t.get(), c.file);
        EditorSettingsStore s (t.get());
        const auto read = s.readStoredSettings();
        EXPECT_EQ (read.valueBoxColor, c.valueBox) << c.file.size();
        EXPECT_EQ (read.dropdownMenuColor, c.dropdown) << c.file.size();
    }
}

TEST (SettingsStore, FirstStartShowsParameterDetailsOverMonitorAndWritesTheMarkerOnce)
{
    TemporaryFolder temp;
    writeSettingsFile (temp.get(),
                       { { "defaultSidebarTop", "4" }, { "defaultSidebarBottom", "5" }, { "layoutColor", "2" } });

    {
        EditorSettingsStore store (temp.get());
        const auto s = store.readStartupSettings();
        EXPECT_EQ (s.defaultSidebarTop, 1);
        EXPECT_EQ (s.defaultSidebarBottom, 2);
        EXPECT_EQ (s.layoutColor, 2) << "other values are kept";
    }
    auto stored = storedMap (temp.get());
    EXPECT_EQ (stored["parameterDetailsModeDefaultsApplied"], "1");
    EXPECT_EQ (stored["defaultSidebarTop"], "1");
    EXPECT_EQ (stored["defaultSidebarBottom"], "2");
    EXPECT_EQ (stored["layoutColor"], "2");
    EXPECT_EQ (stored.size(), 21u) << "marker plus all twenty settings";

    // Once the marker exists, the user's own choice stands.
    {
        EditorSettingsStore store (temp.get());
        store.writeInt (Settings::defaultSidebarTop, 4);
        store.writeInt (Settings::defaultSidebarBottom, 7);
    }
    EditorSettingsStore store (temp.get());
    const auto s = store.readStartupSettings();
    EXPECT_EQ (s.defaultSidebarTop, 4);
    EXPECT_EQ (s.defaultSidebarBottom, 7);
}

TEST (SettingsStore, FallsBackToTheSidebarDefaultForAPaneThatIsNotOffered)
{
    struct Case
    {
        const char *top, *bottom, *diagnostic;
        int expectedTop, expectedBottom;
    };
    const Case cases[]{
        { "9", "9", "0", 1, 2 }, { "9", "10", "1", 9, 10 }, { "8", "8", "0", 1, 2 }, { "0", "11", "1", 1, 2 },
        { "7", "3", "0", 7, 3 }, { "-5", "6", "0", 1, 6 },  { "x", "2", "0", 1, 2 },
    };
    for (const auto& c : cases)
    {
        TemporaryFolder temp;
        writeSettingsFile (temp.get(), { marker,
                                         { "defaultSidebarTop", c.top },
                                         { "defaultSidebarBottom", c.bottom },
                                         { "diagnosticMode", c.diagnostic } });
        EditorSettingsStore store (temp.get());
        const auto s = store.readStartupSettings();
        EXPECT_EQ (s.defaultSidebarTop, c.expectedTop) << c.top << " diagnostic " << c.diagnostic;
        EXPECT_EQ (s.defaultSidebarBottom, c.expectedBottom) << c.bottom << " diagnostic " << c.diagnostic;
    }

    EXPECT_EQ (sidebarChoices (false).size(), 7u);
    EXPECT_EQ (sidebarChoices (true).size(), 10u);
    EXPECT_EQ (sidebarChoices (false)[2], (std::pair<int, std::string>{ 7, "MIDI CONTROL" }));
}

TEST (SettingsStore, ReadsGarbageValuesAsTheirDefaultsAndSaysSoOncePerKey)
{
    TemporaryFolder temp;
    writeSettingsFile (temp.get(), { marker,
                                     { "defaultPage", "banana" },
                                     { "lcdColor", "" },
                                     { "diagnosticMode", "true" },
                                     { "layoutColor", "2.5" },
                                     { "orvoMidi.inputListenChannel", "0x10" },
                                     { "programFont", "3" } });
    LogRecorder log;
    EditorSettingsStore store (temp.get(), log.fn());
    const auto s = store.readStartupSettings();
    store.readStoredSettings();

    EXPECT_EQ (s.defaultPage, 5);
    EXPECT_EQ (s.lcdColor, 1);
    EXPECT_FALSE (s.diagnosticMode);
    EXPECT_EQ (s.layoutColor, 1);
    EXPECT_EQ (s.inputListenChannel, 0);
    EXPECT_EQ (s.programFont, 3) << "good values next to bad ones still count";
    ASSERT_EQ (log.lines.size(), 5u);
    EXPECT_EQ (log.lines[0], "Settings file value \"banana\" of \"defaultPage\" is not a number; 5 is used.\n");
}

TEST (SettingsStore, AnUnusableSettingsFileGivesDefaultsAndIsNeverWritten)
{
    struct Case
    {
        const char* what;
        std::function<juce::File (const juce::File& temp)> makeFolder;
        const char* expectedLog;
    };
    const Case cases[]{
        { "a settings folder that is a file",
          [] (const juce::File& t)
          { return orvo::testing::writeText (t.getChildFile ("Orvo Editor"), "not a folder"); },
          "Settings folder could not be created: " },
        { "a settings folder under a file",
          [] (const juce::File& t)
          { return orvo::testing::writeText (t.getChildFile ("file"), "x").getChildFile ("Orvo Editor"); },
          "Settings folder could not be created: " },
        { "a settings file that is not XML",
          [] (const juce::File& t)
          {
              orvo::testing::writeText (t.getChildFile ("Orvo Editor/Orvo Editor.settings"), "\x01garbage<<<");
              return t.getChildFile ("Orvo Editor");
          },
          "Settings file could not be read: " },
        { "a settings file that is not UTF-8 text",
          [] (const juce::File& t)
          {
              const char xml[] = "<?xml version=\"1.0\"?>\n<PROPERTIES>\n  <VALUE name=\"layoutColor\" val=\"2\"/>\n</PROPERTIES>\n\xf5";
              t.getChildFile ("Orvo Editor").createDirectory();
              t.getChildFile ("Orvo Editor/Orvo Editor.settings").replaceWithData (xml, sizeof (xml) - 1);
              return t.getChildFile ("Orvo Editor");
          },
          "Settings file could not be read: " },
        { "a settings file with a second XML declaration",
          [] (const juce::File& t)
          {
              orvo::testing::writeText (t.getChildFile ("Orvo Editor/Orvo Editor.settings"),
                                        "<?xml version=\"1.0\"?>\n<PROPERTIES><?xml version=\"1.0\"?></PROPERTIES>\n");
              return t.getChildFile ("Orvo Editor");
          },
          "Settings file could not be read: " },
        { "a settings file whose value holds text before nested elements",
          [] (const juce::File& t)
          {
              orvo::testing::writeText (t.getChildFile ("Orvo Editor/Orvo Editor.settings"),
                                        "<?xml version=\"1.0\"?>\n<PROPERTIES>\n  <VALUE name=\"defaultPage\"><A>t<B><C/></B></A></VALUE>\n</PROPERTIES>\n");
              return t.getChildFile ("Orvo Editor");
          },
          "Settings file could not be read: " },
        { "a settings file that is a folder",
          [] (const juce::File& t)
          {
              t.getChildFile ("Orvo Editor/Orvo Editor.settings").createDirectory();
              return t.getChildFile ("Orvo Editor");
          },
          "Settings file could not be read: " },
    };

    for (const auto& c : cases)
    {
        TemporaryFolder temp;
        const auto folder = c.makeFolder (temp.get());
        const auto before = orvo::testing::allChildNames (temp.get());
        const auto settingsFile = folder.getChildFile ("Orvo Editor.settings");
        const auto contentBefore = settingsFile.existsAsFile() ? orvo::testing::readText (settingsFile) : std::string();

        LogRecorder log;
        EditorSettingsStore store (folder, log.fn());
        EXPECT_FALSE (store.isAvailable()) << c.what;
        ASSERT_EQ (log.lines.size(), 1u) << c.what;
        EXPECT_EQ (log.lines[0].rfind (c.expectedLog, 0), 0u) << log.lines[0];
        EXPECT_NE (log.lines[0].find ("Defaults are used and settings changes will not be saved.\n"),
                   std::string::npos);

        EXPECT_EQ (store.readStartupSettings(), StoredSettings{}) << c.what;
        store.writeInt (Settings::layoutColor, 3);
        store.writeString (SettingsKeys::libraryRootDirectory, "/elsewhere");
        store.saveAllSettings (StoredSettings{});
        EXPECT_EQ (store.readInt (Settings::layoutColor), 1) << c.what;
        EXPECT_EQ (store.readString (SettingsKeys::libraryRootDirectory), "") << c.what;

        EXPECT_EQ (orvo::testing::allChildNames (temp.get()), before) << c.what;
        if (settingsFile.existsAsFile())
        {
            EXPECT_EQ (orvo::testing::readText (settingsFile), contentBefore) << c.what;
        }
    }
}

TEST (SettingsStore, LogsTheLineOfTheSettingThatChanged)
{
    StoredSettings s;
    s.squareWidthFix52 = true;
    s.envelopeTimeResponsiveness = 2;
    s.layoutColor = 3;
    s.defaultLedColor = 4;
    s.unsavedWarnings = false;

    const std::pair<SettingsChange, std::string> cases[]{
        { SettingsChange::squareWidthFix,
          "OSC SQR WIDTH fix changed to 52% (Fixed); received Program and MIDI values remain unchanged.\n" },
        { SettingsChange::envelopeTimeResponsiveness, "Envelope time responsiveness changed to LOGARITHMIC.\n" },
        { SettingsChange::layoutColor, "Layout color changed to HECK BLACK.\n" },
        { SettingsChange::defaultLedColor, "Default LED color changed to WHITE.\n" },
        { SettingsChange::unsavedWarnings, "Unsaved program warnings disabled.\n" },
    };
    for (const auto& [change, line] : cases)
    {
        TemporaryFolder temp;
        LogRecorder log;
        EditorSettingsStore store (temp.get(), log.fn());
        store.settingChanged (s, change);
        EXPECT_EQ (log.lines, std::vector<std::string>{ line });
        EXPECT_EQ (EditorSettingsStore (temp.get()).readStoredSettings(), s) << "and everything was saved";
    }

    StoredSettings other;
    EXPECT_EQ (EditorSettingsStore::changeLine (other, SettingsChange::squareWidthFix),
               "OSC SQR WIDTH fix changed to 50% (Normal); received Program and MIDI values remain unchanged.\n");
    EXPECT_EQ (EditorSettingsStore::changeLine (other, SettingsChange::unsavedWarnings),
               "Unsaved program warnings enabled.\n");
    EXPECT_EQ (EditorSettingsStore::changeLine (other, SettingsChange::other), "");
}

TEST (SettingsStore, ResetWarningsShowsDismissedWarningsAgain)
{
    TemporaryFolder temp;
    writeSettingsFile (temp.get(), { marker, { "warnings.bankSync.dismissed", "1" }, { "layoutColor", "2" } });
    LogRecorder log;
    {
        EditorSettingsStore store (temp.get(), log.fn());
        EXPECT_TRUE (store.readBool (SettingsKeys::bankSyncWarningDismissed, false));
        store.resetWarnings();
    }
    EXPECT_EQ (log.lines, std::vector<std::string>{
                              "Warnings reset. Previously dismissed warning messages will be shown again.\n" });
    const auto stored = storedMap (temp.get());
    EXPECT_EQ (stored.count ("warnings.bankSync.dismissed"), 0u);
    EXPECT_EQ (stored.at ("layoutColor"), "2");
}

TEST (SettingsStore, LoadsIntoTheEditorsSettingsAndSavesThemBackKeepingKeysTheEditorDoesNotHold)
{
    TemporaryFolder temp;
    writeSettingsFile (temp.get(), { marker,
                                     { "defaultPage", "2" },
                                     { "lcdColor", "2" },
                                     { "orvoMidi.outputSendChannel", "5" },
                                     { "midiControl.controllerDecodeMode", "9" },
                                     { "orvoMidi.inputIdentifier", "hw:1,0" },
                                     { "orvoMidi.inputName", "Orvo MIDI 1" },
                                     { "digitalEffectParameterVisibility", "2" } });
    LogRecorder log;
    EditorSettingsStore store (temp.get(), log.fn());
    EditorSettings editor;
    loadEditorSettings (store, editor);
    EXPECT_EQ (editor.defaultPage, 2);
    EXPECT_EQ (editor.valueBoxColor, 2);
    EXPECT_EQ (editor.outputSendChannel.load(), 5);
    EXPECT_EQ (editor.controllerDecodeMode, 5);
    EXPECT_EQ (editor.inputIdentifier, "hw:1,0");
    EXPECT_EQ (editor.inputName, "Orvo MIDI 1");
    EXPECT_EQ (editor.outputName, "") << "absent";

    editor.layoutColor = 2;
    saveEditorSettings (store, editor, SettingsChange::layoutColor);
    EXPECT_EQ (log.lines, std::vector<std::string>{ "Layout color changed to LIMITED RED.\n" });

    const auto stored = storedMap (temp.get());
    EXPECT_EQ (stored.at ("layoutColor"), "2");
    EXPECT_EQ (stored.at ("orvoMidi.outputSendChannel"), "5");
    EXPECT_EQ (stored.at ("midiControl.controllerDecodeMode"), "5");
    EXPECT_EQ (stored.at ("digitalEffectParameterVisibility"), "2") << "a key the editor does not hold keeps its value";

    editor.outputIdentifier = "virtual-orvo-out";
    editor.outputName = "Virtual Orvo";
    saveRememberedPorts (store, editor);
    EditorSettings reloaded;
    EditorSettingsStore reopened (temp.get());
    loadEditorSettings (reopened, reloaded);
    EXPECT_EQ (reloaded.outputIdentifier, "virtual-orvo-out");
    EXPECT_EQ (reloaded.outputName, "Virtual Orvo");
    EXPECT_EQ (reloaded.inputIdentifier, "hw:1,0");
    EXPECT_EQ (reloaded.layoutColor, 2);
}

TEST (SettingsStore, RemembersTheWindowSizeAndTheSwitchesUntilTheNextStart)
{
    TemporaryFolder temp;
    writeSettingsFile (temp.get(), { marker });
    {
        EditorSettingsStore store (temp.get());
        EditorSettings editor;
        loadEditorSettings (store, editor);
        EXPECT_EQ (editor.windowWidth, 0) << "no size remembered yet: the window takes the editor's own";
        editor.windowWidth = 1600;
        editor.windowHeight = 1304;
        editor.midiInputMonitor = editor.midiOutputMonitor = true;
        editor.sendChangesImmediately = editor.followIncomingMidi = false;
        saveSession (store, editor);
    }
    EditorSettingsStore reopened (temp.get());
    EditorSettings next;
    loadEditorSettings (reopened, next);
    EXPECT_EQ (std::make_tuple (next.windowWidth, next.windowHeight, next.midiInputMonitor, next.midiOutputMonitor,
                                next.sendChangesImmediately, next.followIncomingMidi),
               std::make_tuple (1600, 1304, true, true, false, false));

    // A size no window can have is brought into the window's limits.
    writeSettingsFile (temp.get(), { marker, { "window.width", "99999" }, { "window.height", "10" } });
    EditorSettingsStore edited (temp.get());
    loadEditorSettings (edited, next);
    EXPECT_EQ (std::make_pair (next.windowWidth, next.windowHeight), std::make_pair (2560, 600));
}

TEST (SettingsStore, EachSettingsMenuChoiceSetsOnlyItsOwnSetting)
{
    using Field = int EditorSettings::*;
    const Field fields[] = { &EditorSettings::envelopeTimeResponsiveness,
                             &EditorSettings::defaultPage,
                             &EditorSettings::defaultSidebarTop,
                             &EditorSettings::defaultSidebarBottom,
                             &EditorSettings::layoutColor,
                             &EditorSettings::lcdColor,
                             &EditorSettings::lcdScreenType,
                             &EditorSettings::dropdownMenuColor,
                             &EditorSettings::valueBoxColor,
                             &EditorSettings::programFont,
                             &EditorSettings::defaultLedColor };
    const struct
    {
        int menuItem;
        Field field;
        int value;
    } cases[] = {
        { 5102, &EditorSettings::envelopeTimeResponsiveness, 2 },
        { 5206, &EditorSettings::defaultPage, 6 },
        { 5307, &EditorSettings::defaultSidebarTop, 7 },
        { 5405, &EditorSettings::defaultSidebarBottom, 5 },
        { 5503, &EditorSettings::layoutColor, 3 },
        { 5602, &EditorSettings::lcdColor, 2 },
        { 5701, &EditorSettings::lcdScreenType, 1 },
        { 5802, &EditorSettings::dropdownMenuColor, 2 },
        { 5902, &EditorSettings::valueBoxColor, 2 },
        { 6003, &EditorSettings::programFont, 3 },
        { 6104, &EditorSettings::defaultLedColor, 4 },
    };
    for (const auto& c : cases)
    {
        EditorSettings s;
        s.valueBoxColor = 3; // each colour box chosen apart from the LCD colour
        s.dropdownMenuColor = 1;
        std::vector<int> before;
        for (auto f : fields)
            before.push_back (s.*f);
        EXPECT_TRUE (applySettingsMenuChoice (s, c.menuItem).handled) << c.menuItem;
        for (size_t i = 0; i < std::size (fields); ++i)
            EXPECT_EQ (s.*fields[i], fields[i] == c.field ? c.value : before[i]) << "menu item " << c.menuItem;
    }
}
