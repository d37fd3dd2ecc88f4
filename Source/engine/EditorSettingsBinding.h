#pragma once

#include "library/EditorSettingsStore.h"
#include "engine/EditorSettings.h"

namespace orvo
{

/** Copies stored values into the editor's running settings. */
void applyStoredSettings (const StoredSettings& stored, EditorSettings& editor);

/** The editor's settings in stored form; the keys the editor does not hold take `others`' values. */
StoredSettings storedSettingsOf (const EditorSettings& editor, const StoredSettings& others);

/** Start-up: reads the file (with the first-start sidebar rule), the remembered ports and the
    remembered session (see saveSession) into `editor`; returns the settings read. */
StoredSettings loadEditorSettings (EditorSettingsStore& store, EditorSettings& editor);

/** Saves every editor setting and logs the line of the control that changed. Keys the editor does not
    hold keep their stored values. */
void saveEditorSettings (EditorSettingsStore& store, const EditorSettings& editor,
                         SettingsChange change = SettingsChange::other);

/** Stores the chosen instrument and controller ports (identifier and name of each). */
void saveRememberedPorts (EditorSettingsStore& store, const EditorSettings& editor);

/** What a Settings menu choice did. */
struct SettingsMenuChoice
{
    bool handled = false;      // the id is a choice that only sets a value
    bool changesLooks = false; // the palette has to be applied again
    SettingsChange change = SettingsChange::other;
};

/** Sets the value a Settings menu item (5001..6203) chooses, and nothing else. Diagnostic Mode
    (6200) and Reset Warnings (6202) do more than set a value and are left to the editor. */
SettingsMenuChoice applySettingsMenuChoice (EditorSettings& settings, int menuItemId);

/** Stores what the editor remembers between sessions besides the Settings menu's choices: the
    window's size, the MONITOR's MIDI IN / MIDI OUT switches, "SEND CHANGES IMMEDIATELY" and
    "FOLLOW INCOMING MIDI". */
void saveSession (EditorSettingsStore& store, const EditorSettings& editor);

} // namespace orvo
