#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>
#include <vector>

namespace orvo
{

namespace layoutProperty
{
/** A component (a scrolling view) that is not an item: its content is walked as if it were its own. */
inline constexpr const char* passThrough = "layoutPassThrough";
/** An item whose place is its parent's business (a page in its scrolling view): captured, never moved. */
inline constexpr const char* placedByParent = "layoutPlacedByParent";
} // namespace layoutProperty

struct LayoutItemRef
{
    std::string id;
    juce::Component* component = nullptr;
    std::string type;
};

/** Every item of the editor surface under `root`, parents before their children, with its layout
    id: the component's own id ("param." + ParameterId, "bottom.", "editor." ...), with
    "sidebar.top." or "sidebar.bottom." before the items of a sidebar pane's tool, and
    "editor.auto.pageN.K" (or the pane's tool + ".itemK") for what has none. An item whose
    pieces have no ids of their own (a parameter's label, knob and value box) is one item. */
std::vector<LayoutItemRef> collectLayoutItems (juce::Component& root);

/** "Label", "Button", "LED", "Dropdown", "Slider/Knob", "Section Header", "Curve Display", "Text Editor",
    "Text Display" or "Component". */
std::string layoutItemKind (juce::Component& c);

/** True when the component and all its parents up to `root` are visible. */
bool isShownWithin (juce::Component& c, juce::Component& root);

} // namespace orvo
