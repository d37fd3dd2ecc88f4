#include "engine/ColourScheme.h"

#include <algorithm>
#include <cmath>

namespace orvo
{
namespace
{
struct Layout
{
    juce::uint32 background, panel, header, outline, accent, text, dim;
};

// CLASSIC BLUE, LIMITED RED, HECK BLACK.
const Layout layouts[] = {
    { 0xff15213a, 0xff1f3055, 0xff2c4778, 0xff3c5c94, 0xff5fc3ff, 0xffe6ecf5, 0xffb4c0d4 },
    { 0xff2a1315, 0xff3b1b1f, 0xff5e2a31, 0xff84404a, 0xffff6f61, 0xfff5e6e6, 0xffccaaaa },
    { 0xff0b0b0c, 0xff18181a, 0xff28282c, 0xff3e3e44, 0xffd8d8d8, 0xffeeeeee, 0xffa0a0a8 },
};

struct Lcd
{
    juce::uint32 fill, ink, edge;
    float glareAlpha;
};

// YELLOW, BLUE, BLACK. A black screen gets a grey edge and only a faint glare, so that neither
// the box nor its light ink disappears on the dark panels.
const Lcd lcds[] = {
    { 0xfff0d25a, 0xff1b1b10, 0xffc9a83a, 0.18f },
    { 0xff6fb3f2, 0xff04101d, 0xff5b9ad8, 0.18f },
    { 0xff121212, 0xfff0c040, 0xff8c8c8c, 0.06f },
};

const juce::uint32 leds[] = { 0xff52e05a, 0xffffa033, 0xffff3b30, 0xfff4f4f4 };

LcdColours lcdColours (int choice, bool realistic)
{
    const auto& l = lcds[juce::jlimit (1, 3, choice) - 1];
    LcdColours c;
    c.fill = juce::Colour (l.fill);
    c.ink = juce::Colour (l.ink);
    c.edge = juce::Colour (l.edge);
    c.top = realistic ? c.fill.brighter (0.25f) : c.fill;
    c.bottom = realistic ? c.fill.darker (0.25f) : c.fill;
    c.glareAlpha = realistic ? l.glareAlpha : 0.0f;
    return c;
}

double relativeLuminance (juce::Colour c)
{
    const auto channel = [] (juce::uint8 v)
    {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow ((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel (c.getRed()) + 0.7152 * channel (c.getGreen()) + 0.0722 * channel (c.getBlue());
}
} // namespace

std::vector<juce::Colour> LcdColours::inkBackgrounds() const
{
    // The glare covers the top of the gradient, where it is brightest.
    return { fill, top, bottom, top.overlaidWith (juce::Colours::white.withAlpha (glareAlpha)) };
}

ColourScheme ColourScheme::of (const Appearance& a)
{
    const auto& l = layouts[juce::jlimit (1, 3, a.layoutColor) - 1];
    ColourScheme s;
    s.background = juce::Colour (l.background);
    s.panel = juce::Colour (l.panel);
    s.topBar = s.panel.darker (0.3f);
    s.panelHeader = juce::Colour (l.header);
    s.panelOutline = juce::Colour (l.outline);
    s.accent = juce::Colour (l.accent);
    s.text = juce::Colour (l.text);
    s.dimText = juce::Colour (l.dim);
    // Every accent is light, so what stands on it takes the layout's darkest colour.
    s.accentText = s.background;
    s.highlight = juce::Colour (0xffff8a3d);
    s.buttonOn = s.accent.darker (0.2f);
    s.buttonOnText = juce::Colours::black;
    s.textBox = s.background.darker (0.5f);
    s.stripedRow = s.background.overlaidWith (s.panelHeader.withAlpha (0.35f));
    // The tooltip turns the layout's colours round, so it stands out from every panel it covers.
    s.tooltipBackground = s.text;
    s.tooltipText = s.background;
    s.tooltipOutline = s.accent;
    s.ledOn = juce::Colour (leds[juce::jlimit (1, 4, a.ledColor) - 1]);
    s.ledOff = s.ledOn.withMultipliedBrightness (0.25f).withMultipliedSaturation (0.6f);
    s.realisticLcd = a.lcdScreenType != 1;
    s.lcd = lcdColours (a.lcdColor, s.realisticLcd);
    s.valueBox = lcdColours (a.valueBoxColor, s.realisticLcd);
    s.dropdown = lcdColours (a.dropdownColor, false);
    return s;
}

std::vector<ColourScheme::Pair> ColourScheme::textPairs() const
{
    std::vector<Pair> pairs;
    const auto add = [&pairs] (const std::string& what, juce::Colour fg, std::initializer_list<juce::Colour> bgs)
    {
        for (const auto& bg : bgs)
            pairs.push_back ({ what, fg, bg });
    };
    add ("text", text, { background, topBar, panel, panelHeader, textBox, stripedRow });
    add ("dim text", dimText, { background, topBar, panel, panelHeader, stripedRow });
    for (const auto& [fg, bg] : { std::pair (text, panelHeader), std::pair (buttonOnText, buttonOn) })
        add ("button text (up, hovered, down)", fg,
             { bg, bg.brighter (buttonHoverBrightening), bg.brighter (buttonDownBrightening) });
    add ("highlighted menu item", accentText, { accent });
    add ("warning text", highlight, { background, panel });
    add ("tooltip", tooltipText, { tooltipBackground });
    for (const auto* box : { &lcd, &valueBox, &dropdown })
        for (const auto& bg : box->inkBackgrounds())
            pairs.push_back ({ box == &lcd ? "LCD" : (box == &valueBox ? "value box" : "dropdown"), box->ink, bg });
    return pairs;
}

std::vector<ColourScheme::Pair> ColourScheme::boxEdges() const
{
    std::vector<Pair> pairs;
    for (const auto* box : { &lcd, &valueBox, &dropdown })
        for (const auto& surface : { background, topBar, panel, stripedRow })
            pairs.push_back ({ box == &lcd ? "LCD edge" : (box == &valueBox ? "value box edge" : "dropdown edge"),
                               box->edge, surface });
    for (const auto& surface : { background, panel, panelHeader })
        pairs.push_back ({ "tooltip", tooltipBackground, surface });
    return pairs;
}

double contrastRatio (juce::Colour a, juce::Colour b)
{
    const auto la = relativeLuminance (a), lb = relativeLuminance (b);
    return (std::max (la, lb) + 0.05) / (std::min (la, lb) + 0.05);
}

juce::Colour ColourScheme::ledColourNamed (std::string_view name)
{
    // The same lamps as the "Default LED Color" choices (green, orange, red, white).
    const std::pair<std::string_view, int> named[] = { { "green", 0 }, { "orange", 1 }, { "red", 2 }, { "white", 3 } };
    for (const auto& [n, i] : named)
        if (n == name)
            return juce::Colour (leds[i]);
    return juce::Colours::transparentBlack;
}

} // namespace orvo
