#include "LayoutStyleLook.h"

#include <algorithm>

namespace orvo::layoutLook
{

const std::vector<const char*>& styleProperties()
{
    static const std::vector<const char*> v{ visualSizeProperty,       buttonStyleProperty,
                                             lcdTextScaleProperty,     lcdHorizontalInsetProperty,
                                             lcdVerticalInsetProperty, lcdVerticalShiftProperty,
                                             textVerticalShiftProperty };
    return v;
}

LayoutRect visualBounds (LayoutRect b, std::optional<int> visualSize, Shape shape)
{
    if (!visualSize || *visualSize <= 0)
        return b;
    int w = b.width, h = b.height;
    switch (shape)
    {
        case Shape::round:
            w = h = std::min ({ *visualSize, b.width, b.height });
            break;
        case Shape::bar:
            w = std::min (*visualSize, b.width);
            break;
        case Shape::box:
            h = std::min (*visualSize, b.height);
            // The same margin all round, so a smaller button keeps its proportions at the edges.
            w = std::max (1, b.width - (b.height - h));
            break;
    }
    return { b.x + (b.width - w) / 2, b.y + (b.height - h) / 2, w, h };
}

LayoutRect lcdTextArea (LayoutRect box, int horizontalInset, int verticalInset, int verticalShift)
{
    const int dx = std::clamp (horizontalInset, 0, std::max (0, (box.width - 1) / 2));
    const int dy = std::clamp (verticalInset, 0, std::max (0, (box.height - 1) / 2));
    return { box.x + dx, box.y + dy + verticalShift, box.width - 2 * dx, box.height - 2 * dy };
}

float lcdFontHeight (float ownHeight, std::optional<double> scale)
{
    return scale ? ownHeight * (float)std::clamp (*scale, 0.25, 4.0) : ownHeight;
}

std::optional<ButtonLook> buttonLook (std::string_view style, const ColourScheme& s)
{
    // Fixed greys and blacks: these styles look the same whatever the layout colour.
    const juce::Colour light (0xffc4c8ce), grey (0xff4a5058), dark (0xff34383f), black (0xff0e0f11);
    const juce::Colour lightInk (0xfff2f2f2), darkInk (0xff15181c);
    const auto look = [&s] (juce::Colour fill, juce::Colour text, juce::Colour outline, float corner, float scale)
    { return ButtonLook{ fill, text, outline, s.buttonOn, s.buttonOnText, corner, scale }; };
    const auto none = juce::Colours::transparentBlack;

    if (style == "lightGrey")
        return look (light, darkInk, light.darker (0.5f), 3.0f, 1.0f);
    if (style == "black")
        return look (black, lightInk, juce::Colour (0xff4a4f57), 3.0f, 1.0f);
    if (style == "darkGrey")
        return look (dark, lightInk, dark.brighter (0.4f), 3.0f, 1.0f);
    if (style == "blackRectangle")
        return look (black, lightInk, juce::Colour (0xff4a4f57), 0.0f, 1.0f);
    if (style == "greyRectangle")
        return look (grey, lightInk, grey.brighter (0.4f), 0.0f, 1.0f);
    if (style == "flat")
        return look (s.panelHeader, s.text, none, 0.0f, 1.0f);
    if (style == "largeBlack")
        return look (black, lightInk, juce::Colour (0xff4a4f57), 4.0f, 1.3f);
    if (style == "largeGrey")
        return look (grey, lightInk, grey.brighter (0.4f), 4.0f, 1.3f);
    if (style == "smallBlack")
        return look (black, lightInk, juce::Colour (0xff4a4f57), 2.0f, 0.8f);
    if (style == "smallGrey")
        return look (grey, lightInk, grey.brighter (0.4f), 2.0f, 0.8f);
    if (style == "topBar")
        return look (s.topBar, s.text, s.accent, 3.0f, 1.0f);
    if (style == "panel")
        return look (s.panel, s.text, s.panelOutline, 3.0f, 1.0f);
    return std::nullopt;
}

} // namespace orvo::layoutLook
