#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

OrvoLookAndFeel::OrvoLookAndFeel() { apply ({}); }

void OrvoLookAndFeel::apply (const Appearance& a)
{
    struct Layout
    {
        juce::uint32 background, panel, header, outline, accent, text, dim;
    };
    static const Layout layouts[] = {
        { 0xff15213a, 0xff1f3055, 0xff2c4778, 0xff3c5c94, 0xff5fc3ff, 0xffe6ecf5, 0xffa9b6cc }, // CLASSIC BLUE
        { 0xff2a1315, 0xff3b1b1f, 0xff5e2a31, 0xff84404a, 0xffff6f61, 0xfff5e6e6, 0xffccaaaa }, // LIMITED RED
        { 0xff0b0b0c, 0xff18181a, 0xff28282c, 0xff3e3e44, 0xffd8d8d8, 0xffeeeeee, 0xffa0a0a8 }, // HECK BLACK
    };
    struct Lcd
    {
        juce::uint32 fill, ink;
    };
    static const Lcd lcds[] = { { 0xfff0d25a, 0xff1b1b10 }, { 0xff6fb3f2, 0xff04101d }, { 0xff121212, 0xfff0c040 } };
    static const juce::uint32 leds[] = { 0xff52e05a, 0xffffa033, 0xffff3b30, 0xfff4f4f4 };

    const auto& l = layouts[juce::jlimit (1, 3, a.layoutColor) - 1];
    palette::background = juce::Colour (l.background);
    palette::panel = juce::Colour (l.panel);
    palette::panelHeader = juce::Colour (l.header);
    palette::panelOutline = juce::Colour (l.outline);
    palette::accent = juce::Colour (l.accent);
    palette::text = juce::Colour (l.text);
    palette::dimText = juce::Colour (l.dim);
    const auto& box = lcds[juce::jlimit (1, 3, a.valueBoxColor) - 1];
    palette::lcd = juce::Colour (box.fill);
    palette::lcdText = juce::Colour (box.ink);
    const auto& drop = lcds[juce::jlimit (1, 3, a.dropdownColor) - 1];
    palette::dropdown = juce::Colour (drop.fill);
    palette::dropdownText = juce::Colour (drop.ink);
    palette::ledOn = juce::Colour (leds[juce::jlimit (1, 4, a.ledColor) - 1]);
    palette::ledOff = palette::ledOn.withMultipliedBrightness (0.25f).withMultipliedSaturation (0.6f);
    palette::realisticLcd = a.lcdScreenType != 1;

    switch (juce::jlimit (1, 3, a.font))
    {
        case 2: setDefaultSansSerifTypefaceName ("DejaVu Sans Condensed"); break;
        case 3: setDefaultSansSerifTypefaceName (juce::Font::getDefaultMonospacedFontName()); break;
        default: setDefaultSansSerifTypefaceName ("DejaVu Sans"); break;
    }

    setColour (juce::ResizableWindow::backgroundColourId, palette::background);
    setColour (juce::Label::textColourId, palette::text);
    setColour (juce::TextButton::buttonColourId, palette::panelHeader);
    setColour (juce::TextButton::buttonOnColourId, palette::accent.darker (0.2f));
    setColour (juce::TextButton::textColourOffId, palette::text);
    setColour (juce::TextButton::textColourOnId, juce::Colours::black);
    setColour (juce::ComboBox::backgroundColourId, palette::dropdown);
    setColour (juce::ComboBox::textColourId, palette::dropdownText);
    setColour (juce::ComboBox::arrowColourId, palette::dropdownText);
    setColour (juce::ComboBox::outlineColourId, palette::panelOutline);
    setColour (juce::PopupMenu::backgroundColourId, palette::panel);
    setColour (juce::PopupMenu::textColourId, palette::text);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, palette::accent);
    setColour (juce::TextEditor::backgroundColourId, palette::background.darker (0.5f));
    setColour (juce::TextEditor::textColourId, palette::text);
    setColour (juce::TextEditor::outlineColourId, palette::panelOutline);
    setColour (juce::Slider::trackColourId, palette::accent);
    setColour (juce::Slider::backgroundColourId, palette::background.darker (0.5f));
    setColour (juce::Slider::thumbColourId, juce::Colours::white);
    setColour (juce::TooltipWindow::backgroundColourId, palette::panel);
}

void OrvoLookAndFeel::drawLinearSlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos, float,
                                        float, juce::Slider::SliderStyle, juce::Slider& slider)
{
    const auto bounds = juce::Rectangle<float> ((float) x, (float) y, (float) width, (float) height);
    const auto track = bounds.withSizeKeepingCentre (bounds.getWidth(), 6.0f);
    g.setColour (slider.findColour (juce::Slider::backgroundColourId));
    g.fillRoundedRectangle (track, 3.0f);
    g.setColour (slider.findColour (juce::Slider::trackColourId));
    g.fillRoundedRectangle (track.withRight (sliderPos), 3.0f);
    g.setColour (slider.findColour (juce::Slider::thumbColourId));
    g.fillRoundedRectangle (juce::Rectangle<float> (6.0f, (float) height - 4.0f).withCentre ({ sliderPos, bounds.getCentreY() }), 2.0f);
}

void OrvoLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                            bool isMouseOverButton, bool isButtonDown)
{
    auto colour = backgroundColour;
    if (isButtonDown)
        colour = colour.brighter (0.3f);
    else if (isMouseOverButton)
        colour = colour.brighter (0.12f);
    const auto r = button.getLocalBounds().toFloat().reduced (0.5f);
    g.setColour (colour);
    g.fillRoundedRectangle (r, 3.0f);
    g.setColour (palette::panelOutline.brighter (0.2f));
    g.drawRoundedRectangle (r, 3.0f, 1.0f);
}

juce::Font OrvoLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return juce::Font (juce::jmin (13.0f, (float) buttonHeight * 0.6f), juce::Font::bold);
}

} // namespace orvo
