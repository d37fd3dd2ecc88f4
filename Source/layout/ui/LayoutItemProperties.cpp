#include "LayoutItemProperties.h"

#include "layout/LayoutDocument.h"
#include "model/ui/ParameterControl.h"
#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
void setOnce (juce::NamedValueSet& props, const char* name, const juce::var& value)
{
    if (!props.contains (name))
        props.set (name, value);
}

/** Labels showing LCD text (the status screen, the last NRPN) are drawn in the LCD's ink. */
bool isLcdLabel (const juce::Label* label)
{
    return label != nullptr && label->findColour (juce::Label::textColourId) == palette::lcd.ink;
}

void setFlag (juce::NamedValueSet& props, const char* name, bool on)
{
    if (on)
        props.set (name, true);
    else
        props.remove (name);
}
} // namespace

void noteLayoutDefaults (juce::Component& item)
{
    auto& props = item.getProperties();
    auto* label = dynamic_cast<juce::Label*> (&item);
    auto* button = dynamic_cast<juce::Button*> (&item);
    auto* display = dynamic_cast<juce::TextEditor*> (&item);
    if (label != nullptr)
    {
        setOnce (props, "layoutEditorDefaultText", label->getText());
        setOnce (props, "layoutEditorDefaultFontSize", (double) label->getFont().getHeight());
        setOnce (props, "layoutEditorDefaultBold", label->getFont().isBold());
    }
    if (button != nullptr)
        setOnce (props, "layoutEditorDefaultText", button->getButtonText());
    if (display != nullptr || isLcdLabel (label))
    {
        setOnce (props, "layoutEditorDefaultLcdTextScale", 1.0);
        setOnce (props, "layoutEditorDefaultLcdHorizontalInset", display != nullptr ? display->getLeftIndent() : 0);
        setOnce (props, "layoutEditorDefaultLcdVerticalInset", display != nullptr ? display->getTopIndent() : 0);
        setOnce (props, "layoutEditorDefaultLcdVerticalShift", 0);
    }
    if (label != nullptr || button != nullptr || dynamic_cast<ParameterControl*> (&item) != nullptr)
        setOnce (props, "layoutEditorDefaultTextVerticalShift", 0);
}

void describeLayoutItem (juce::Component& item, const std::string& id, const LayoutStyle* style)
{
    auto& props = item.getProperties();
    auto* label = dynamic_cast<juce::Label*> (&item);
    auto* button = dynamic_cast<juce::Button*> (&item);
    auto* display = dynamic_cast<juce::TextEditor*> (&item);
    auto* control = dynamic_cast<ParameterControl*> (&item);
    const bool lcdLabel = isLcdLabel (label);
    if (label != nullptr)
        props.set ("layoutEditorFontSize", (double) label->getFont().getHeight());
    if (button != nullptr)
        props.set ("layoutEditorButtonTextVerticalOffset", style != nullptr && style->textVerticalShift ? *style->textVerticalShift : 0);
    if (item.getComponentID().endsWith ("Led") || item.getComponentID().endsWith (".led"))
        props.set ("layoutEditorLedColor", juce::String (style != nullptr && style->ledColor ? *style->ledColor : "green"));
    // The bottom bar's items keep their foot where it is when they grow.
    setFlag (props, "layoutEditorResizeFromBottom", id.rfind ("bottom.", 0) == 0);

    setFlag (props, "orvoDropdownPaletteCombo", dynamic_cast<juce::ComboBox*> (&item) != nullptr);
    setFlag (props, "orvoDropdownPaletteActive", dynamic_cast<juce::ComboBox*> (&item) != nullptr);
    setFlag (props, "orvoLcdPaletteLabel", lcdLabel);
    setFlag (props, "orvoLcdPaletteTextEditor", display != nullptr && display->isReadOnly());
    setFlag (props, "orvoLcdPaletteActive", lcdLabel || (display != nullptr && display->isReadOnly()));
    setFlag (props, "orvoValueBoxPaletteLabel", control != nullptr);
    setFlag (props, "orvoValueBoxPaletteActive", control != nullptr);
    setFlag (props, "orvoCustomRangeActive", control != nullptr && !control->customRange().isDefault());
    setFlag (props, "orvoLayoutTextLabel", label != nullptr && !lcdLabel);
    setFlag (props, "orvoUseDirectButtonColours",
             button != nullptr && (button->isColourSpecified (juce::TextButton::buttonColourId)
                                   || button->isColourSpecified (juce::TextButton::buttonOnColourId)));
    // Items made at run time (numbered ids) have no place in an order written before they existed.
    setFlag (props, "orvoLayoutExcludeFromLegacyOrder",
             id.rfind ("editor.auto.", 0) == 0 || id.find (".item") != std::string::npos || id.rfind ("popup.", 0) == 0);
}

juce::String layoutItemPropertyText (const juce::Component& item)
{
    juce::StringArray lines;
    const auto& props = item.getProperties();
    for (int i = 0; i < props.size(); ++i)
    {
        const auto name = props.getName (i).toString();
        if (name.startsWith ("layoutEditor") || name.startsWith ("orvo"))
        {
            const auto& v = props.getValueAt (i);
            lines.add (name + ": " + (v.isBool() ? juce::String ((bool) v ? "true" : "false") : v.toString()));
        }
    }
    lines.sort (true);
    return lines.joinIntoString ("\n");
}

} // namespace orvo
