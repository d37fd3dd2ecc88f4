#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>

namespace orvo
{
struct LayoutStyle;

/** The item's own look as the layout editor's defaults ("layoutEditorDefaultFontSize",
    "layoutEditorDefaultText" ...), taken the first time it is seen, before any layout style touches it. */
void noteLayoutDefaults (juce::Component& item);

/** The named properties an item carries for the layout editor besides its defaults: what it shows now ("layoutEditorFontSize",
    "layoutEditorLedColor", "layoutEditorButtonTextVerticalOffset", "layoutEditorResizeFromBottom")
    and the palette it is drawn with ("orvoDropdownPaletteCombo", "orvoLcdPaletteLabel",
    "orvoValueBoxPaletteLabel", "orvoCustomRangeActive" ...). The attributes panel shows the defaults
    beside empty fields, and PARAMETER PROPERTIES lists them all. */
void describeLayoutItem (juce::Component& item, const std::string& id, const LayoutStyle* style);

/** "name: value" lines of every layout-editor and palette property of the item, by name. */
juce::String layoutItemPropertyText (const juce::Component& item);

} // namespace orvo
