#pragma once

#include <string_view>

#include <juce_graphics/juce_graphics.h>

#include <string>
#include <vector>

namespace orvo
{

/** The appearance choices of the Settings menu (each 1-based, as stored). */
struct Appearance
{
    int layoutColor = 1, ledColor = 1, lcdColor = 1, lcdScreenType = 2, valueBoxColor = 1, dropdownColor = 1, font = 1;
};

/** How one LCD-style box is drawn: a flat fill, or on a realistic screen a gradient from `top` to
    `bottom` with a white glare over its upper part; the edge keeps a dark box visible on a dark panel. */
struct LcdColours
{
    juce::Colour fill, ink, edge, top, bottom;
    float glareAlpha = 0.0f;

    /** Every colour the ink can stand on. */
    std::vector<juce::Colour> inkBackgrounds() const;
};

/** Every colour the editor paints with, worked out from the appearance choices. Views read it
    through the look and feel; it lives here, without a GUI, so that its contrast can be checked for
    every combination of choices. */
struct ColourScheme
{
    juce::Colour background, topBar, panel, panelHeader, panelOutline, text, dimText, accent, accentText, highlight;
    juce::Colour buttonOn, buttonOnText, textBox, stripedRow;
    juce::Colour tooltipBackground, tooltipText, tooltipOutline;
    juce::Colour ledOn, ledOff;
    /** The LCD-style displays (Program display, header status, "Last NRPN"), the parameters' value
        boxes and the choosers. */
    LcdColours lcd, valueBox, dropdown;
    bool realisticLcd = true;

    static ColourScheme of (const Appearance& appearance);
    /** The lit colour of an LED by the name a layout gives it ("green", "red", "orange", "white");
        transparent for any other name. */
    static juce::Colour ledColourNamed (std::string_view name);

    /** How much lighter a button is drawn under the pointer and while pressed. */
    static constexpr float buttonHoverBrightening = 0.12f, buttonDownBrightening = 0.2f;

    /** A colour drawn on another: text on its background, or a box's edge on what surrounds it. */
    struct Pair
    {
        std::string what;
        juce::Colour foreground, background;
    };

    /** Every text colour with every colour it is drawn on. */
    std::vector<Pair> textPairs() const;

    /** Every box edge with every surface the box sits on. */
    std::vector<Pair> boxEdges() const;
};

/** The WCAG 2 contrast ratio of two opaque colours: 1 (none) to 21 (black on white). */
double contrastRatio (juce::Colour a, juce::Colour b);

} // namespace orvo
