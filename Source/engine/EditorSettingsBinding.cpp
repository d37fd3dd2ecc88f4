#include "engine/EditorSettingsBinding.h"

namespace orvo
{

void applyStoredSettings (const StoredSettings& s, EditorSettings& e)
{
    e.squareWidthFix52 = s.squareWidthFix52;
    e.envelopeTimeResponsiveness = s.envelopeTimeResponsiveness;
    e.defaultPage = s.defaultPage;
    e.defaultSidebarTop = s.defaultSidebarTop;
    e.defaultSidebarBottom = s.defaultSidebarBottom;
    e.layoutColor = s.layoutColor;
    e.defaultLedColor = s.defaultLedColor;
    e.lcdColor = s.lcdColor;
    e.lcdScreenType = s.lcdScreenType;
    e.valueBoxColor = s.valueBoxColor;
    e.dropdownMenuColor = s.dropdownMenuColor;
    e.programFont = s.programFont;
    e.diagnosticMode = s.diagnosticMode;
    e.unsavedWarnings = s.unsavedWarnings;
    e.autoSaveTools = s.autoSaveTools;
    e.inputListenChannel.store (s.inputListenChannel);
    e.outputSendChannel.store (s.outputSendChannel);
    e.controllerListenChannel = s.controllerListenChannel;
    e.controllerDecodeMode = s.controllerDecodeMode;
}

StoredSettings storedSettingsOf (const EditorSettings& e, const StoredSettings& others)
{
    auto s = others;
    s.squareWidthFix52 = e.squareWidthFix52;
    s.envelopeTimeResponsiveness = e.envelopeTimeResponsiveness;
    s.defaultPage = e.defaultPage;
    s.defaultSidebarTop = e.defaultSidebarTop;
    s.defaultSidebarBottom = e.defaultSidebarBottom;
    s.layoutColor = e.layoutColor;
    s.defaultLedColor = e.defaultLedColor;
    s.lcdColor = e.lcdColor;
    s.lcdScreenType = e.lcdScreenType;
    s.valueBoxColor = e.valueBoxColor;
    s.dropdownMenuColor = e.dropdownMenuColor;
    s.programFont = e.programFont;
    s.diagnosticMode = e.diagnosticMode;
    s.unsavedWarnings = e.unsavedWarnings;
    s.autoSaveTools = e.autoSaveTools;
    s.inputListenChannel = e.inputListenChannel.load();
    s.outputSendChannel = e.outputSendChannel.load();
    s.controllerListenChannel = e.controllerListenChannel;
    s.controllerDecodeMode = e.controllerDecodeMode;
    return s;
}

StoredSettings loadEditorSettings (EditorSettingsStore& store, EditorSettings& editor)
{
    const auto stored = store.readStartupSettings();
    applyStoredSettings (stored, editor);
    editor.inputIdentifier = store.readString (SettingsKeys::inputIdentifier);
    editor.inputName = store.readString (SettingsKeys::inputName);
    editor.outputIdentifier = store.readString (SettingsKeys::outputIdentifier);
    editor.outputName = store.readString (SettingsKeys::outputName);
    editor.controllerInputIdentifier = store.readString (SettingsKeys::controllerInputIdentifier);
    editor.controllerInputName = store.readString (SettingsKeys::controllerInputName);
    editor.sendChangesImmediately = store.readBool (SettingsKeys::sendChangesImmediately, true);
    editor.followIncomingMidi = store.readBool (SettingsKeys::followIncomingMidi, true);
    editor.verifyTransfers = store.readBool (SettingsKeys::verifyTransfers, true);
    editor.midiInputMonitor = store.readBool (SettingsKeys::monitorMidiIn, false);
    editor.midiOutputMonitor = store.readBool (SettingsKeys::monitorMidiOut, false);
    const bool sized = store.hasKey (SettingsKeys::windowWidth) && store.hasKey (SettingsKeys::windowHeight);
    editor.windowWidth = sized ? store.readInt (Settings::windowWidth) : 0;
    editor.windowHeight = sized ? store.readInt (Settings::windowHeight) : 0;
    return stored;
}

void saveRememberedPorts (EditorSettingsStore& store, const EditorSettings& editor)
{
    store.writeString (SettingsKeys::inputIdentifier, editor.inputIdentifier);
    store.writeString (SettingsKeys::inputName, editor.inputName);
    store.writeString (SettingsKeys::outputIdentifier, editor.outputIdentifier);
    store.writeString (SettingsKeys::outputName, editor.outputName);
    store.writeString (SettingsKeys::controllerInputIdentifier, editor.controllerInputIdentifier);
    store.writeString (SettingsKeys::controllerInputName, editor.controllerInputName);
    store.save();
}

SettingsMenuChoice applySettingsMenuChoice (EditorSettings& s, int id)
{
    const auto in = [id] (int first, int last) { return id >= first && id <= last; };
    SettingsMenuChoice c;
    c.handled = true;
    if (in (5001, 5002))
    {
        s.squareWidthFix52 = id == 5002;
        c.change = SettingsChange::squareWidthFix;
    }
    else if (in (5101, 5103))
    {
        s.envelopeTimeResponsiveness = id - 5100;
        c.change = SettingsChange::envelopeTimeResponsiveness;
    }
    else if (in (5201, 5206))
        s.defaultPage = id - 5200;
    else if (in (5301, 5310))
        s.defaultSidebarTop = id - 5300;
    else if (in (5401, 5410))
        s.defaultSidebarBottom = id - 5400;
    else if (in (5501, 5503))
    {
        s.layoutColor = id - 5500;
        c.change = SettingsChange::layoutColor;
    }
    // The value boxes and menus keep their own colours: they follow the LCD colour only in a
    // settings file that holds none for them.
    else if (in (5601, 5603))
        s.lcdColor = id - 5600;
    else if (in (5701, 5702))
        s.lcdScreenType = id - 5700;
    else if (in (5801, 5803))
        s.dropdownMenuColor = id - 5800;
    else if (in (5901, 5903))
        s.valueBoxColor = id - 5900;
    else if (in (6001, 6003))
        s.programFont = id - 6000;
    else if (in (6101, 6104))
    {
        s.defaultLedColor = id - 6100;
        c.change = SettingsChange::defaultLedColor;
    }
    else if (id == 6201)
    {
        s.unsavedWarnings = !s.unsavedWarnings;
        c.change = SettingsChange::unsavedWarnings;
    }
    else if (id == 6203)
        s.autoSaveTools = !s.autoSaveTools;
    else
        c.handled = false;
    c.changesLooks = in (5501, 6104); // the colours, the screen type and the font
    return c;
}

void saveSession (EditorSettingsStore& store, const EditorSettings& editor)
{
    store.writeBool (SettingsKeys::sendChangesImmediately, editor.sendChangesImmediately);
    store.writeBool (SettingsKeys::followIncomingMidi, editor.followIncomingMidi);
    store.writeBool (SettingsKeys::verifyTransfers, editor.verifyTransfers);
    store.writeBool (SettingsKeys::monitorMidiIn, editor.midiInputMonitor);
    store.writeBool (SettingsKeys::monitorMidiOut, editor.midiOutputMonitor);
    if (editor.windowWidth > 0 && editor.windowHeight > 0)
    {
        store.writeInt (Settings::windowWidth, editor.windowWidth);
        store.writeInt (Settings::windowHeight, editor.windowHeight);
    }
    store.save();
}

void saveEditorSettings (EditorSettingsStore& store, const EditorSettings& editor, SettingsChange change)
{
    store.settingChanged (storedSettingsOf (editor, store.readStoredSettings()), change);
}

} // namespace orvo
