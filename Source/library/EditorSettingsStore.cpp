#include "EditorSettingsStore.h"

#include <string_view>

#include <climits>
#include <map>

namespace orvo
{
namespace
{
const std::vector<std::string> sidebarNames{ "PARAMETER DETAILS",
                                             "MONITOR",
                                             "MORPH KNOB",
                                             "MACROS",
                                             "NOTES",
                                             "PARAMETER HELP",
                                             "MIDI CONTROL",
                                             "LAYOUT EDIT",
                                             "PARAMETER ATTRIBUTES",
                                             "PARAMETER PROPERTIES" };

juce::String toJuce (const std::string& s)
{
    return juce::String (juce::CharPointer_UTF8 (s.c_str()));
}

/** A whole number, with an optional sign and surrounding blanks; anything else is not one. Numbers
    beyond the int range saturate, which the clamp of every ranged key then handles. */
bool parseWholeNumber (const juce::String& text, int& out)
{
    const auto s = text.trim();
    int pos = 0;
    bool negative = false;
    if (s[pos] == '+' || s[pos] == '-')
        negative = s[pos++] == '-';
    if (pos >= s.length())
        return false;

    long long value = 0;
    for (; pos < s.length(); ++pos)
    {
        const auto c = s[pos];
        if (c < '0' || c > '9')
            return false;
        if (value < (long long)INT_MAX + 1)
            value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    out = (int)std::max ((long long)INT_MIN, std::min ((long long)INT_MAX, value));
    return true;
}

std::string captionOf (const std::string& key, int value, int firstValue = 1)
{
    const auto captions = settingCaptions (key);
    const auto index = value - firstValue;
    return index >= 0 && index < (int)captions.size() ? captions[(size_t)index] : std::string();
}
} // namespace

std::vector<std::string> settingCaptions (const std::string& key)
{
    static const std::map<std::string, std::vector<std::string>> table{
        { SettingsKeys::squareWidthFix, { "50% (Normal)", "52% (Fixed)" } },
        { SettingsKeys::envelopeTimeResponsiveness, { "LINEAR", "LOGARITHMIC", "LOGARITHMIC+" } },
        { SettingsKeys::defaultPage, { "LFOs", "OSCILLATORS", "FILTERS", "ENVELOPES", "EFFECTS", "PERFORMANCE" } },
        { SettingsKeys::defaultSidebarTop, sidebarNames },
        { SettingsKeys::defaultSidebarBottom, sidebarNames },
        { SettingsKeys::digitalEffectParameterVisibility, { "REMOVAL", "GREYED OUT" } },
        { SettingsKeys::layoutColor, { "CLASSIC BLUE", "LIMITED RED", "HECK BLACK" } },
        { SettingsKeys::defaultLedColor, { "GREEN", "ORANGE", "RED", "WHITE" } },
        { SettingsKeys::lcdColor, { "YELLOW", "BLUE", "BLACK" } },
        { SettingsKeys::lcdScreenType, { "FLAT", "REALISTIC" } },
        { SettingsKeys::valueBoxColor, { "YELLOW", "BLUE", "BLACK" } },
        { SettingsKeys::dropdownMenuColor, { "YELLOW", "BLUE", "BLACK" } },
        { SettingsKeys::programFont, { "ORVO (ORIGINAL)", "ORVO (NORMALIZED)", "COMPUTER FONT" } },
        { SettingsKeys::controllerDecodeMode, { "AUTO", "7-BIT CC", "14-BIT CC", "NRPN", "RPN" } },
    };
    const auto it = table.find (key);
    return it == table.end() ? std::vector<std::string>() : it->second;
}

std::vector<std::pair<int, std::string>> sidebarChoices (bool diagnosticMode)
{
    std::vector<std::pair<int, std::string>> out;
    for (const int id : { 1, 2, 7, 3, 4, 5, 6, 8, 9, 10 })
        if (id < 8 || diagnosticMode)
            out.emplace_back (id, sidebarNames[(size_t)id - 1]);
    return out;
}

int sidebarOrDefault (int stored, bool diagnosticMode, bool topSidebar)
{
    const bool offered = stored >= 1 && (stored <= 7 || (diagnosticMode && stored <= 10));
    return offered ? stored : (topSidebar ? 1 : 2);
}

bool StoredSettings::operator== (const StoredSettings& o) const
{
    return squareWidthFix52 == o.squareWidthFix52 && envelopeTimeResponsiveness == o.envelopeTimeResponsiveness &&
           defaultPage == o.defaultPage && defaultSidebarTop == o.defaultSidebarTop &&
           defaultSidebarBottom == o.defaultSidebarBottom &&
           digitalEffectParameterVisibility == o.digitalEffectParameterVisibility && layoutColor == o.layoutColor &&
           defaultLedColor == o.defaultLedColor && lcdColor == o.lcdColor && lcdScreenType == o.lcdScreenType &&
           valueBoxColor == o.valueBoxColor && dropdownMenuColor == o.dropdownMenuColor &&
           programFont == o.programFont && diagnosticMode == o.diagnosticMode && unsavedWarnings == o.unsavedWarnings &&
           autoSaveTools == o.autoSaveTools && inputListenChannel == o.inputListenChannel &&
           outputSendChannel == o.outputSendChannel && controllerListenChannel == o.controllerListenChannel &&
           controllerDecodeMode == o.controllerDecodeMode;
}

//==============================================================================
juce::PropertiesFile::Options EditorSettingsStore::fileOptions()
{
    juce::PropertiesFile::Options o;
    o.applicationName = "Orvo Editor";
    o.filenameSuffix = "settings";
    o.folderName = "Orvo Editor";
    o.osxLibrarySubFolder = "Application Support";
    o.commonToAllUsers = false;
    o.ignoreCaseOfKeyNames = false;
    o.doNotSave = false;
    o.millisecondsBeforeSaving = 0;
    o.storageFormat = juce::PropertiesFile::storeAsXML;
    o.processLock = nullptr;
    return o;
}

juce::File EditorSettingsStore::defaultSettingsFolder()
{
    return fileOptions().getDefaultFile().getParentDirectory();
}

EditorSettingsStore::EditorSettingsStore (Log logFn) : log (std::move (logFn))
{
    open (defaultSettingsFolder());
}

EditorSettingsStore::EditorSettingsStore (const juce::File& settingsFolder, Log logFn) : log (std::move (logFn))
{
    open (settingsFolder);
}

EditorSettingsStore::~EditorSettingsStore() = default;

juce::File EditorSettingsStore::settingsFile() const
{
    const auto o = fileOptions();
    return folder.getChildFile (o.applicationName + "." + o.filenameSuffix);
}

namespace
{
/** Only what a settings file holds is handed to JUCE's properties reader: well-formed UTF-8 of a
    sensible size, no control characters, at most the one XML declaration at the start, no comments,
    CDATA or DOCTYPE, and values that are plain attributes. The XML reader steps past the end of a
    text that ends in a broken UTF-8 sequence, some misplaced declarations make it loop for ever, and
    a value holding text before nested elements makes the properties reader write a missing line
    ending (a null pointer); each would stop the editor at start. The editor writes none of these. */
bool isReadableSettingsText (const juce::File& file)
{
    constexpr juce::int64 maxSettingsBytes = 4 * 1024 * 1024;
    juce::MemoryBlock bytes;
    if (file.getSize() > maxSettingsBytes || !file.loadFileAsData (bytes))
        return false;
    const std::string_view text (static_cast<const char*> (bytes.getData()), bytes.getSize());
    if (text.empty())
        return true;
    for (const char c : text)
        if ((unsigned char)c < 0x20 && c != '\t' && c != '\r' && c != '\n')
            return false;
    if (!juce::CharPointer_UTF8::isValidString (text.data(), (int)text.size()))
        return false;
    const auto declaration = text.find ("<?");
    if (declaration != std::string_view::npos && (declaration != 0 || text.find ("<?", 2) != std::string_view::npos))
        return false;
    if (text.find ("<!") != std::string_view::npos)
        return false;
    if (const auto xml = juce::parseXML (juce::String::fromUTF8 (text.data(), (int) text.size())))
        for (const auto* value : xml->getChildIterator())
            if (value->getFirstChildElement() != nullptr)
                return false;
    return true;
}
} // namespace

void EditorSettingsStore::open (const juce::File& settingsFolder)
{
    folder = settingsFolder;
    const auto path = settingsFile().getFullPathName().toStdString();
    const std::string consequence = " Defaults are used and settings changes will not be saved.\n";

    if (folder.getFullPathName().isEmpty() || (!folder.isDirectory() && folder.createDirectory().failed()) ||
        !folder.isDirectory())
    {
        logLine ("Settings folder could not be created: " + folder.getFullPathName().toStdString() + "." + consequence);
        return;
    }
    if (!folder.hasWriteAccess() || !folder.hasReadAccess())
    {
        logLine ("Settings folder is not accessible: " + folder.getFullPathName().toStdString() + "." + consequence);
        return;
    }

    const auto file = settingsFile();
    if (file.exists() && (file.isDirectory() || !file.hasReadAccess()))
    {
        logLine ("Settings file could not be read: " + path + "." + consequence);
        return;
    }

    if (file.existsAsFile() && !isReadableSettingsText (file))
    {
        logLine ("Settings file could not be read: " + path + "." + consequence);
        return;
    }
    auto candidate = std::make_unique<juce::PropertiesFile> (file, fileOptions());
    if (!candidate->isValidFile())
    {
        // Keep the unreadable file as it is for the user to inspect or repair.
        logLine ("Settings file could not be read: " + path + "." + consequence);
        return;
    }
    properties = std::move (candidate);
}

void EditorSettingsStore::logLine (const std::string& text) const
{
    if (log)
        log (text);
}

bool EditorSettingsStore::hasKey (const std::string& key) const
{
    return properties != nullptr && properties->containsKey (toJuce (key));
}

int EditorSettingsStore::parseStoredInt (const std::string& key, int defaultValue) const
{
    if (!hasKey (key))
        return defaultValue;
    const auto text = properties->getValue (toJuce (key));
    int value = 0;
    if (parseWholeNumber (text, value))
        return value;

    if (reportedGarbage.insert (key).second)
        logLine ("Settings file value \"" + text.toStdString() + "\" of \"" + key + "\" is not a number; " +
                 std::to_string (defaultValue) + " is used.\n");
    return defaultValue;
}

int EditorSettingsStore::readInt (const IntSetting& setting) const
{
    return setting.clamp (parseStoredInt (setting.key, setting.defaultValue));
}

int EditorSettingsStore::readInt (const std::string& key, int defaultValue) const
{
    return parseStoredInt (key, defaultValue);
}

bool EditorSettingsStore::readBool (const std::string& key, bool defaultValue) const
{
    return parseStoredInt (key, defaultValue ? 1 : 0) != 0;
}

std::string EditorSettingsStore::readString (const std::string& key, const std::string& defaultValue) const
{
    if (!hasKey (key))
        return defaultValue;
    return properties->getValue (toJuce (key)).toStdString();
}

void EditorSettingsStore::writeInt (const IntSetting& setting, int value)
{
    writeInt (setting.key, setting.clamp (value));
}

void EditorSettingsStore::writeInt (const std::string& key, int value)
{
    if (properties != nullptr)
        properties->setValue (toJuce (key), value);
}

void EditorSettingsStore::writeBool (const std::string& key, bool value)
{
    writeInt (key, value ? 1 : 0);
}

void EditorSettingsStore::writeString (const std::string& key, const std::string& value)
{
    if (properties != nullptr)
        properties->setValue (toJuce (key), toJuce (value));
}

void EditorSettingsStore::removeKey (const std::string& key)
{
    if (properties != nullptr)
        properties->removeValue (toJuce (key));
}

bool EditorSettingsStore::save()
{
    if (properties == nullptr)
        return false;
    if (properties->saveIfNeeded())
        return true;
    logLine ("Could not save settings file: " + settingsFile().getFullPathName().toStdString() + "\n");
    return false;
}

StoredSettings EditorSettingsStore::readStoredSettings() const
{
    StoredSettings s;
    s.squareWidthFix52 = readInt (Settings::squareWidthFix) != 0;
    s.envelopeTimeResponsiveness = readInt (Settings::envelopeTimeResponsiveness);
    s.defaultPage = readInt (Settings::defaultPage);
    s.digitalEffectParameterVisibility = readInt (Settings::digitalEffectParameterVisibility);
    s.layoutColor = readInt (Settings::layoutColor);
    s.defaultLedColor = readInt (Settings::defaultLedColor);
    s.lcdColor = readInt (Settings::lcdColor);
    s.lcdScreenType = readInt (Settings::lcdScreenType);
    s.valueBoxColor = Settings::valueBoxColor.clamp (parseStoredInt (SettingsKeys::valueBoxColor, s.lcdColor));
    s.dropdownMenuColor =
        Settings::dropdownMenuColor.clamp (parseStoredInt (SettingsKeys::dropdownMenuColor, s.lcdColor));
    s.programFont = readInt (Settings::programFont);
    s.diagnosticMode = readInt (Settings::diagnosticMode) != 0;
    s.unsavedWarnings = readInt (Settings::unsavedWarnings) != 0;
    s.autoSaveTools = readInt (Settings::autoSaveTools) != 0;
    s.inputListenChannel = readInt (Settings::inputListenChannel);
    s.outputSendChannel = readInt (Settings::outputSendChannel);
    s.controllerListenChannel = readInt (Settings::controllerListenChannel);
    s.controllerDecodeMode = readInt (Settings::controllerDecodeMode);
    s.defaultSidebarTop =
        sidebarOrDefault (parseStoredInt (SettingsKeys::defaultSidebarTop, 1), s.diagnosticMode, true);
    s.defaultSidebarBottom =
        sidebarOrDefault (parseStoredInt (SettingsKeys::defaultSidebarBottom, 2), s.diagnosticMode, false);
    return s;
}

StoredSettings EditorSettingsStore::readStartupSettings()
{
    auto s = readStoredSettings();
    if (!hasKey (SettingsKeys::parameterDetailsModeDefaultsApplied))
    {
        // A first start (or a file from before the sidebars could be chosen) opens on the two panes
        // that explain the editor best, whatever the file holds.
        s.defaultSidebarTop = 1;
        s.defaultSidebarBottom = 2;
        if (isAvailable())
        {
            writeBool (SettingsKeys::parameterDetailsModeDefaultsApplied, true);
            saveAllSettings (s);
        }
    }
    return s;
}

void EditorSettingsStore::saveAllSettings (const StoredSettings& s)
{
    if (!isAvailable())
        return;

    writeInt (Settings::squareWidthFix, s.squareWidthFix52 ? 1 : 0);
    writeInt (Settings::envelopeTimeResponsiveness, s.envelopeTimeResponsiveness);
    writeInt (Settings::defaultPage, s.defaultPage);
    writeInt (Settings::defaultSidebarTop, sidebarOrDefault (s.defaultSidebarTop, s.diagnosticMode, true));
    writeInt (Settings::defaultSidebarBottom, sidebarOrDefault (s.defaultSidebarBottom, s.diagnosticMode, false));
    writeInt (Settings::digitalEffectParameterVisibility, s.digitalEffectParameterVisibility);
    writeInt (Settings::layoutColor, s.layoutColor);
    writeInt (Settings::defaultLedColor, s.defaultLedColor);
    writeInt (Settings::lcdColor, s.lcdColor);
    writeInt (Settings::lcdScreenType, s.lcdScreenType);
    writeInt (Settings::dropdownMenuColor, s.dropdownMenuColor);
    writeInt (Settings::valueBoxColor, s.valueBoxColor);
    writeInt (Settings::programFont, s.programFont);
    writeInt (Settings::diagnosticMode, s.diagnosticMode ? 1 : 0);
    writeInt (Settings::unsavedWarnings, s.unsavedWarnings ? 1 : 0);
    writeInt (Settings::autoSaveTools, s.autoSaveTools ? 1 : 0);
    writeInt (Settings::inputListenChannel, s.inputListenChannel);
    writeInt (Settings::outputSendChannel, s.outputSendChannel);
    writeInt (Settings::controllerListenChannel, s.controllerListenChannel);
    writeInt (Settings::controllerDecodeMode, s.controllerDecodeMode);
    save();
}

std::string EditorSettingsStore::changeLine (const StoredSettings& s, SettingsChange change)
{
    switch (change)
    {
        case SettingsChange::squareWidthFix:
            return "OSC SQR WIDTH fix changed to " +
                   captionOf (SettingsKeys::squareWidthFix, s.squareWidthFix52 ? 1 : 0, 0) +
                   "; received Program and MIDI values remain unchanged.\n";
        case SettingsChange::envelopeTimeResponsiveness:
            return "Envelope time responsiveness changed to " +
                   captionOf (SettingsKeys::envelopeTimeResponsiveness,
                              Settings::envelopeTimeResponsiveness.clamp (s.envelopeTimeResponsiveness)) +
                   ".\n";
        case SettingsChange::layoutColor:
            return "Layout color changed to " +
                   captionOf (SettingsKeys::layoutColor, Settings::layoutColor.clamp (s.layoutColor)) + ".\n";
        case SettingsChange::defaultLedColor:
            return "Default LED color changed to " +
                   captionOf (SettingsKeys::defaultLedColor, Settings::defaultLedColor.clamp (s.defaultLedColor)) +
                   ".\n";
        case SettingsChange::unsavedWarnings:
            return std::string ("Unsaved program warnings ") + (s.unsavedWarnings ? "enabled" : "disabled") + ".\n";
        case SettingsChange::other:
            break;
    }
    return {};
}

void EditorSettingsStore::settingChanged (const StoredSettings& values, SettingsChange change)
{
    saveAllSettings (values);
    const auto line = changeLine (values, change);
    if (!line.empty())
        logLine (line);
}

void EditorSettingsStore::resetWarnings()
{
    if (isAvailable())
    {
        removeKey (SettingsKeys::bankSyncWarningDismissed);
        save();
    }
    logLine ("Warnings reset. Previously dismissed warning messages will be shown again.\n");
}

} // namespace orvo
