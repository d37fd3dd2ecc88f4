#pragma once

#include "LayoutDocument.h"
#include "engine/ColourScheme.h"

#include <optional>
#include <string_view>

namespace orvo
{

/** How a layout's style attributes change the drawing of an item, without any component: where a
    knob, button or LED is drawn inside its bounds, where LCD text goes, and the colours and shape
    of each button style. Views read the attributes from the properties below and ask here. */
namespace layoutLook
{
// The component properties that carry a layout's style attributes to the drawing code; an absent
// property means the item's own drawing.
constexpr const char* visualSizeProperty = "layoutEditorVisualSize";
constexpr const char* buttonStyleProperty = "layoutEditorButtonStyle";
constexpr const char* lcdTextScaleProperty = "layoutEditorLcdTextScale";
constexpr const char* lcdHorizontalInsetProperty = "layoutEditorLcdHorizontalInset";
constexpr const char* lcdVerticalInsetProperty = "layoutEditorLcdVerticalInset";
constexpr const char* lcdVerticalShiftProperty = "layoutEditorLcdVerticalShift";
constexpr const char* textVerticalShiftProperty = "layoutEditorTextVerticalShift";

/** The properties above, in one list, for passing them on to the pieces of a composite item. */
const std::vector<const char*>& styleProperties();

enum class Shape
{
    round, // an LED or a round knob: a circle of the size
    bar,   // a slider: its track is the size long, at the full height
    box    // a button: the size high, and as much narrower as it is lower
};

/** Where the item is drawn inside `bounds` (relative to them) at `visualSize`, centred and never
    larger than the bounds; no size, or one of 0 or less, draws it over the whole bounds. */
LayoutRect visualBounds (LayoutRect bounds, std::optional<int> visualSize, Shape shape);

/** Where the text of an LCD-style box goes: the box less the insets on each side (never below one
    pixel), moved down by the shift. */
LayoutRect lcdTextArea (LayoutRect box, int horizontalInset, int verticalInset, int verticalShift);

/** The font height of scaled LCD text; scales outside 0.25 to 4 are held there. */
float lcdFontHeight (float ownHeight, std::optional<double> scale);

/** How a button of one style is drawn. */
struct ButtonLook
{
    juce::Colour fill, text, outline; // a transparent outline draws no border
    juce::Colour fillOn, textOn;      // while the button is on
    float cornerRadius = 3.0f;
    float captionScale = 1.0f; // of the button's own caption height
};

/** The look of a button style in the colours of `scheme`; nothing for "default" or an unknown name,
    which keep the button's own drawing. */
std::optional<ButtonLook> buttonLook (std::string_view style, const ColourScheme& scheme);
} // namespace layoutLook

} // namespace orvo
