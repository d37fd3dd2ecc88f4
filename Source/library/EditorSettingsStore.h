#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** Every key of the settings file. */
namespace SettingsKeys
{
inline constexpr const char* libraryRootDirectory = "libraryRootDirectory";
inline constexpr const char* squareWidthFix = "orvo.oscSquareWidthCenter52";
inline constexpr const char* envelopeTimeResponsiveness = "envelopeTimeResponsiveness";
inline constexpr const char* defaultPage = "defaultPage";
inline constexpr const char* defaultSidebarTop = "defaultSidebarTop";
inline constexpr const char* defaultSidebarBottom = "defaultSidebarBottom";
inline constexpr const char* digitalEffectParameterVisibility = "digitalEffectParameterVisibility";
inline constexpr const char* layoutColor = "layoutColor";
inline constexpr const char* defaultLedColor = "defaultLedColor";
inline constexpr const char* lcdColor = "lcdColor";
inline constexpr const char* lcdScreenType = "lcdScreenType";
inline constexpr const char* valueBoxColor = "valueBoxColor";
inline constexpr const char* dropdownMenuColor = "dropdownMenuColor";
inline constexpr const char* programFont = "programFont";
inline constexpr const char* diagnosticMode = "diagnosticMode";
inline constexpr const char* unsavedWarnings = "warnings.unsavedPrograms.enabled";
inline constexpr const char* autoSaveTools = "tools.autoSave";
inline constexpr const char* parameterDetailsModeDefaultsApplied = "parameterDetailsModeDefaultsApplied";
inline constexpr const char* bankSyncWarningDismissed = "warnings.bankSync.dismissed";
inline constexpr const char* inputListenChannel = "orvoMidi.inputListenChannel";
inline constexpr const char* outputSendChannel = "orvoMidi.outputSendChannel";
inline constexpr const char* inputIdentifier = "orvoMidi.inputIdentifier";
inline constexpr const char* inputName = "orvoMidi.inputName";
inline constexpr const char* outputIdentifier = "orvoMidi.outputIdentifier";
inline constexpr const char* outputName = "orvoMidi.outputName";
inline constexpr const char* controllerListenChannel = "midiControl.controllerListenChannel";
inline constexpr const char* controllerDecodeMode = "midiControl.controllerDecodeMode";
inline constexpr const char* controllerInputIdentifier = "midiControl.controllerInputIdentifier";
inline constexpr const char* controllerInputName = "midiControl.controllerInputName";
inline constexpr const char* ccAssignments = "midiControl.ccAssignments";
inline constexpr const char* userPresets = "effects.userPresets";
inline constexpr const char* userPresetsFactorySeedVersion = "userPresets.factorySeedVersion";
// What the editor remembers between sessions besides the Settings menu's choices.
inline constexpr const char* sendChangesImmediately = "orvoMidi.sendChangesImmediately";
inline constexpr const char* followIncomingMidi = "orvoMidi.followIncomingMidi";
inline constexpr const char* verifyTransfers = "orvoMidi.verifyTransfers";
inline constexpr const char* monitorMidiIn = "monitor.midiIn.enabled";
inline constexpr const char* monitorMidiOut = "monitor.midiOut.enabled";
inline constexpr const char* windowWidth = "window.width";
inline constexpr const char* windowHeight = "window.height";
} // namespace SettingsKeys

/** An integer setting (a boolean is 0..1, a choice is its 1-based item id) with its range. */
struct IntSetting
{
    const char* key;
    int defaultValue;
    int minValue;
    int maxValue;

    int clamp (int v) const { return v < minValue ? minValue : (v > maxValue ? maxValue : v); }
};

namespace Settings
{
inline constexpr IntSetting squareWidthFix{ SettingsKeys::squareWidthFix, 0, 0, 1 };
inline constexpr IntSetting envelopeTimeResponsiveness{ SettingsKeys::envelopeTimeResponsiveness, 3, 1, 3 };
inline constexpr IntSetting defaultPage{ SettingsKeys::defaultPage, 5, 1, 6 };
inline constexpr IntSetting defaultSidebarTop{ SettingsKeys::defaultSidebarTop, 1, 1, 10 };
inline constexpr IntSetting defaultSidebarBottom{ SettingsKeys::defaultSidebarBottom, 2, 1, 10 };
inline constexpr IntSetting digitalEffectParameterVisibility{ SettingsKeys::digitalEffectParameterVisibility, 1, 1, 2 };
inline constexpr IntSetting layoutColor{ SettingsKeys::layoutColor, 1, 1, 3 };
inline constexpr IntSetting defaultLedColor{ SettingsKeys::defaultLedColor, 1, 1, 4 };
inline constexpr IntSetting lcdColor{ SettingsKeys::lcdColor, 1, 1, 3 };
inline constexpr IntSetting lcdScreenType{ SettingsKeys::lcdScreenType, 2, 1, 2 };
// The colour boxes follow the LCD colour until chosen on their own; the default here is only a stand-in.
inline constexpr IntSetting valueBoxColor{ SettingsKeys::valueBoxColor, 1, 1, 3 };
inline constexpr IntSetting dropdownMenuColor{ SettingsKeys::dropdownMenuColor, 1, 1, 3 };
inline constexpr IntSetting programFont{ SettingsKeys::programFont, 1, 1, 3 };
inline constexpr IntSetting diagnosticMode{ SettingsKeys::diagnosticMode, 0, 0, 1 };
inline constexpr IntSetting unsavedWarnings{ SettingsKeys::unsavedWarnings, 1, 0, 1 };
inline constexpr IntSetting autoSaveTools{ SettingsKeys::autoSaveTools, 0, 0, 1 };
inline constexpr IntSetting inputListenChannel{ SettingsKeys::inputListenChannel, 0, 0, 16 };
inline constexpr IntSetting outputSendChannel{ SettingsKeys::outputSendChannel, 0, 0, 16 };
inline constexpr IntSetting controllerListenChannel{ SettingsKeys::controllerListenChannel, 0, 0, 16 };
inline constexpr IntSetting controllerDecodeMode{ SettingsKeys::controllerDecodeMode, 1, 1, 5 };
// The main window's size limits.
inline constexpr IntSetting windowWidth{ SettingsKeys::windowWidth, 1280, 750, 2560 };
inline constexpr IntSetting windowHeight{ SettingsKeys::windowHeight, 1024, 600, 2048 };
} // namespace Settings

/** Captions of the choice settings, indexed by item id - 1. */
std::vector<std::string> settingCaptions (const std::string& key);

/** Sidebar panes as the choosers list them: (item id, caption); 8 to 10 only in diagnostic mode. */
std::vector<std::pair<int, std::string>> sidebarChoices (bool diagnosticMode);

/** A stored sidebar pane, or the pane's default (1 top, 2 bottom) when it is not offered. */
int sidebarOrDefault (int stored, bool diagnosticMode, bool topSidebar);

/** The values that saveAllSettings writes, in the form the editor uses them. */
struct StoredSettings
{
    bool squareWidthFix52 = false;
    int envelopeTimeResponsiveness = 3;
    int defaultPage = 5;
    int defaultSidebarTop = 1;
    int defaultSidebarBottom = 2;
    int digitalEffectParameterVisibility = 1;
    int layoutColor = 1;
    int defaultLedColor = 1;
    int lcdColor = 1;
    int lcdScreenType = 2;
    int valueBoxColor = 1;
    int dropdownMenuColor = 1;
    int programFont = 1;
    bool diagnosticMode = false;
    bool unsavedWarnings = true;
    bool autoSaveTools = false;
    int inputListenChannel = 0;
    int outputSendChannel = 0;
    int controllerListenChannel = 0;
    int controllerDecodeMode = 1;

    bool operator== (const StoredSettings& o) const;
    bool operator!= (const StoredSettings& o) const { return !(*this == o); }
};

/** Which settings control changed, for its log line. */
enum class SettingsChange
{
    squareWidthFix,
    envelopeTimeResponsiveness,
    layoutColor,
    defaultLedColor,
    unsavedWarnings,
    other
};

/** The per-user settings file. Every read is clamped into its key's range; every write is clamped the
    same way and reaches the disk at once. When the file cannot be used (its folder cannot be made or
    written, or the file exists but cannot be read) the store says so once in the log, every read
    yields its default and every write is skipped, so a broken file is never overwritten. */
class EditorSettingsStore
{
public:
    using Log = std::function<void (const std::string&)>;

    /** The file's options: "Orvo Editor" / "settings" / "Orvo Editor", per user, XML, no process
        lock, saved at once. */
    static juce::PropertiesFile::Options fileOptions();

    /** The per-user folder that holds the settings file (and, by default, the library). */
    static juce::File defaultSettingsFolder();

    /** The per-user settings file. */
    explicit EditorSettingsStore (Log log = {});

    /** A settings file inside `settingsFolder` (tests, portable installs). */
    explicit EditorSettingsStore (const juce::File& settingsFolder, Log log = {});

    ~EditorSettingsStore();

    bool isAvailable() const { return properties != nullptr; }
    juce::File settingsFolder() const { return folder; }
    juce::File settingsFile() const;

    bool hasKey (const std::string& key) const;
    /** The stored value clamped into range; its default when absent, not a number or unavailable. */
    int readInt (const IntSetting& setting) const;
    /** An integer key without a fixed range. */
    int readInt (const std::string& key, int defaultValue) const;
    bool readBool (const std::string& key, bool defaultValue) const;
    /** The stored text, or `defaultValue` when absent. */
    std::string readString (const std::string& key, const std::string& defaultValue = {}) const;

    void writeInt (const IntSetting& setting, int value);
    void writeInt (const std::string& key, int value);
    void writeBool (const std::string& key, bool value);
    void writeString (const std::string& key, const std::string& value);
    void removeKey (const std::string& key);
    /** Writes anything not yet on disk; logs and returns false when the file cannot be written. */
    bool save();

    /** The twenty editor settings as stored, each clamped, the sidebars through their fallback and
        the colour boxes defaulting to the LCD colour. Changes nothing. */
    StoredSettings readStoredSettings() const;

    /** All settings as start-up reads them, clamped, with the colour boxes following the LCD colour.
        On the first start (no "parameterDetailsModeDefaultsApplied" yet) the sidebars are set to
        PARAMETER DETAILS over MONITOR whatever the file says, the marker is written and everything is
        saved at once. */
    StoredSettings readStartupSettings();

    /** Writes the twenty editor settings in their fixed order, clamped, and saves the file. */
    void saveAllSettings (const StoredSettings& values);

    /** saveAllSettings plus the log line of the control that changed. */
    void settingChanged (const StoredSettings& values, SettingsChange change);

    /** Forgets every dismissed warning, so each shows again. */
    void resetWarnings();

    /** The text of the log line of a settings change; empty for changes that log nothing. */
    static std::string changeLine (const StoredSettings& values, SettingsChange change);

private:
    void open (const juce::File& settingsFolder);
    void logLine (const std::string& text) const;
    int parseStoredInt (const std::string& key, int defaultValue) const;

    Log log;
    juce::File folder;
    std::unique_ptr<juce::PropertiesFile> properties;
    mutable std::set<std::string> reportedGarbage;
};

} // namespace orvo
