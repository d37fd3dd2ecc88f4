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

void saveEditorSettings (EditorSettingsStore& store, const EditorSettings& editor, SettingsChange change)
{
    store.settingChanged (storedSettingsOf (editor, store.readStoredSettings()), change);
}

} // namespace orvo
