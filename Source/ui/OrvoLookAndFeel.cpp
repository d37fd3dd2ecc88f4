#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

OrvoLookAndFeel::OrvoLookAndFeel() { apply ({}); }

void OrvoLookAndFeel::apply (const Appearance& a)
{
    scheme = orvo::ColourScheme::of (a);
    palette::background = scheme.background;
    palette::topBar = scheme.topBar;
    palette::panel = scheme.panel;
    palette::panelHeader = scheme.panelHeader;
    palette::panelOutline = scheme.panelOutline;
    palette::accent = scheme.accent;
    palette::text = scheme.text;
    palette::dimText = scheme.dimText;
    palette::highlight = scheme.highlight;
    palette::lcd = scheme.lcd;
    palette::valueBox = scheme.valueBox;
    palette::dropdown = scheme.dropdown;
    palette::ledOn = scheme.ledOn;
    palette::ledOff = scheme.ledOff;
    palette::realisticLcd = scheme.realisticLcd;

    switch (juce::jlimit (1, 3, a.font))
    {
        case 2: setDefaultSansSerifTypefaceName ("DejaVu Sans Condensed"); break;
        case 3: setDefaultSansSerifTypefaceName (juce::Font::getDefaultMonospacedFontName()); break;
        default: setDefaultSansSerifTypefaceName ("DejaVu Sans"); break;
    }

    setColour (juce::ResizableWindow::backgroundColourId, scheme.background);
    setColour (juce::Label::textColourId, scheme.text);
    setColour (juce::TextButton::buttonColourId, scheme.panelHeader);
    setColour (juce::TextButton::buttonOnColourId, scheme.buttonOn);
    setColour (juce::TextButton::textColourOffId, scheme.text);
    setColour (juce::TextButton::textColourOnId, scheme.buttonOnText);
    setColour (juce::ComboBox::backgroundColourId, scheme.dropdown.fill);
    setColour (juce::ComboBox::textColourId, scheme.dropdown.ink);
    setColour (juce::ComboBox::arrowColourId, scheme.dropdown.ink);
    setColour (juce::ComboBox::outlineColourId, scheme.dropdown.edge);
    setColour (juce::PopupMenu::backgroundColourId, scheme.panel);
    setColour (juce::PopupMenu::textColourId, scheme.text);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, scheme.accent);
    setColour (juce::PopupMenu::highlightedTextColourId, scheme.accentText);
    setColour (juce::TextEditor::backgroundColourId, scheme.textBox);
    setColour (juce::TextEditor::textColourId, scheme.text);
    setColour (juce::TextEditor::outlineColourId, scheme.panelOutline);
    setColour (juce::Slider::trackColourId, scheme.accent);
    setColour (juce::Slider::backgroundColourId, scheme.textBox);
    setColour (juce::Slider::thumbColourId, juce::Colours::white);
    setColour (juce::TooltipWindow::backgroundColourId, scheme.tooltipBackground);
    setColour (juce::TooltipWindow::textColourId, scheme.tooltipText);
    setColour (juce::TooltipWindow::outlineColourId, scheme.tooltipOutline);
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

void OrvoLookAndFeel::drawRotarySlider (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                        float startAngle, float endAngle, juce::Slider& slider)
{
    const auto r = visualArea (slider, { x, y, width, height }, layoutLook::Shape::round);
    LookAndFeel_V4::drawRotarySlider (g, r.getX(), r.getY(), r.getWidth(), r.getHeight(), sliderPos, startAngle, endAngle,
                                      slider);
}

void OrvoLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                                            bool isMouseOverButton, bool isButtonDown)
{
    const auto look = styledLook (button);
    auto colour = look ? (button.getToggleState() ? look->fillOn : look->fill) : backgroundColour;
    if (isButtonDown)
        colour = colour.brighter (orvo::ColourScheme::buttonDownBrightening);
    else if (isMouseOverButton)
        colour = colour.brighter (orvo::ColourScheme::buttonHoverBrightening);
    const auto r = visualArea (button, button.getLocalBounds(), layoutLook::Shape::box).toFloat().reduced (0.5f);
    const float corner = look ? look->cornerRadius : 3.0f;
    g.setColour (colour);
    g.fillRoundedRectangle (r, corner);
    g.setColour (look ? look->outline : palette::panelOutline.brighter (0.2f));
    g.drawRoundedRectangle (r, corner, 1.0f);
}

std::optional<layoutLook::ButtonLook> OrvoLookAndFeel::styledLook (const juce::Button& button) const
{
    const auto& style = button.getProperties()[layoutLook::buttonStyleProperty];
    return style.isVoid() ? std::nullopt : layoutLook::buttonLook (style.toString().toStdString(), scheme);
}

void OrvoLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    const auto look = styledLook (button);
    const auto area = visualArea (button, button.getLocalBounds(), layoutLook::Shape::box)
                          .translated (0, layoutInt (button, layoutLook::textVerticalShiftProperty).value_or (0));
    auto font = getTextButtonFont (button, area.getHeight());
    if (look)
        font.setHeight (font.getHeight() * look->captionScale);
    g.setFont (font);
    const auto ink = look ? (button.getToggleState() ? look->textOn : look->text)
                          : button.findColour (button.getToggleState() ? juce::TextButton::textColourOnId
                                                                       : juce::TextButton::textColourOffId);
    g.setColour (ink.withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    const int yIndent = juce::jmin (4, juce::roundToInt ((float) area.getHeight() * 0.3f));
    const int xIndent = juce::jmin (juce::roundToInt (font.getHeight() * 0.6f), 2 + juce::jmin (area.getWidth(), area.getHeight()) / 4);
    if (area.getWidth() > 2 * xIndent)
        g.drawFittedText (button.getButtonText(), area.reduced (xIndent, yIndent), juce::Justification::centred, 2);
}

void OrvoLookAndFeel::drawLabel (juce::Graphics& g, juce::Label& label)
{
    const auto& props = label.getProperties();
    const auto scale = props[layoutLook::lcdTextScaleProperty];
    const auto number = [&label] (const char* name) { return layoutInt (label, name).value_or (0); };
    const int shift = number (layoutLook::lcdVerticalShiftProperty) + number (layoutLook::textVerticalShiftProperty);
    if (scale.isVoid() && shift == 0 && number (layoutLook::lcdHorizontalInsetProperty) == 0
        && number (layoutLook::lcdVerticalInsetProperty) == 0)
        return LookAndFeel_V4::drawLabel (g, label);

    g.fillAll (label.findColour (juce::Label::backgroundColourId));
    if (!label.isBeingEdited())
    {
        auto font = getLabelFont (label);
        font.setHeight (layoutLook::lcdFontHeight (font.getHeight(),
                                                   scale.isVoid() ? std::nullopt : std::optional<double> ((double) scale)));
        const auto own = getLabelBorderSize (label).subtractedFrom (label.getLocalBounds());
        const auto r = layoutLook::lcdTextArea ({ own.getX(), own.getY(), own.getWidth(), own.getHeight() },
                                                number (layoutLook::lcdHorizontalInsetProperty),
                                                number (layoutLook::lcdVerticalInsetProperty), shift);
        const juce::Rectangle<int> area (r.x, r.y, r.width, r.height);
        g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (label.isEnabled() ? 1.0f : 0.5f));
        g.setFont (font);
        g.drawFittedText (label.getText(), area, label.getJustificationType(),
                          juce::jmax (1, (int) ((float) area.getHeight() / font.getHeight())),
                          label.getMinimumHorizontalScale());
    }
    g.setColour (label.findColour (juce::Label::outlineColourId));
    g.drawRect (label.getLocalBounds());
}

namespace
{
juce::TextLayout tooltipLayout (const juce::String& text, juce::Colour colour)
{
    juce::AttributedString s;
    s.setJustification (juce::Justification::centredLeft);
    s.append (text, juce::Font (14.0f), colour);
    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths (s, 420.0f);
    return layout;
}
constexpr int tooltipPadX = 8, tooltipPadY = 5;
} // namespace

juce::String OrvoTooltipWindow::getTipFor (juce::Component& c)
{
    for (auto* p = &c; p != nullptr && p != getParentComponent(); p = p->getParentComponent())
        if (auto tip = juce::TooltipWindow::getTipFor (*p); tip.isNotEmpty())
            return tip;
    return {};
}

juce::Rectangle<int> OrvoLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> pos,
                                                        juce::Rectangle<int> parentArea)
{
    const auto layout = tooltipLayout (tipText, juce::Colours::black);
    const int w = (int) std::ceil (layout.getWidth()) + tooltipPadX * 2;
    const int h = (int) std::ceil (layout.getHeight()) + tooltipPadY * 2;
    // Beside the pointer, on the side with more room, never under it.
    return juce::Rectangle<int> (pos.x > parentArea.getCentreX() ? pos.x - (w + 12) : pos.x + 18,
                                 pos.y > parentArea.getCentreY() ? pos.y - (h + 8) : pos.y + 20, w, h)
        .constrainedWithin (parentArea);
}

void OrvoLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    // The window is opaque: fill every pixel, corners included.
    const auto r = juce::Rectangle<int> (width, height).toFloat();
    g.fillAll (findColour (juce::TooltipWindow::backgroundColourId));
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    g.drawRect (r, 1.5f);
    tooltipLayout (text, findColour (juce::TooltipWindow::textColourId))
        .draw (g, r.reduced ((float) tooltipPadX, (float) tooltipPadY));
}

juce::Font OrvoLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return juce::Font (juce::jmin (13.0f, (float) buttonHeight * 0.6f), juce::Font::bold);
}

} // namespace orvo
