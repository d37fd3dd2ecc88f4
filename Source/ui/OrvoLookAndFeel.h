#pragma once

#include "engine/ColourScheme.h"
#include "layout/LayoutStyleLook.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** Colours of the editor's panel. They change with the appearance settings, which is why they
    are read when painting rather than copied into components. */
namespace palette
{
inline juce::Colour background { 0xff15213a };
inline juce::Colour topBar { 0xff15213a };
inline juce::Colour panel { 0xff1f3055 };
inline juce::Colour panelHeader { 0xff2c4778 };
inline juce::Colour panelOutline { 0xff3c5c94 };
inline juce::Colour text { 0xffe6ecf5 };
inline juce::Colour dimText { 0xffa9b6cc };
inline juce::Colour accent { 0xff5fc3ff };
inline juce::Colour highlight { 0xffff8a3d };
inline juce::Colour ledOn { 0xff52e05a };
inline juce::Colour ledOff { 0xff20402a };
/** LCD-style displays, the parameters' value boxes and the choosers. */
inline LcdColours lcd, valueBox, dropdown;
inline bool realisticLcd = true;
} // namespace palette

/** An LED's lit or dark colour: its own when the layout gives it one ("ledColour"), else the default. */
inline juce::Colour ledColour (const juce::Component& led, bool lit)
{
    const auto& own = led.getProperties()["ledColour"];
    if (own.isVoid())
        return lit ? palette::ledOn : palette::ledOff;
    const auto on = juce::Colour ((juce::uint32) (juce::int64) own);
    return lit ? on : on.withMultipliedBrightness (0.25f).withMultipliedSaturation (0.6f);
}

/** An integer style attribute the layout put on the component, if any. */
inline std::optional<int> layoutInt (const juce::Component& c, const char* property)
{
    const auto& v = c.getProperties()[property];
    return v.isVoid() ? std::nullopt : std::optional<int> ((int) v);
}

/** Where an item draws itself inside `area` (its own bounds unless told) at the layout's visual size. */
inline juce::Rectangle<int> visualArea (const juce::Component& c, juce::Rectangle<int> area, layoutLook::Shape shape)
{
    const auto r = layoutLook::visualBounds ({ area.getX(), area.getY(), area.getWidth(), area.getHeight() },
                                             layoutInt (c, layoutLook::visualSizeProperty), shape);
    return { r.x, r.y, r.width, r.height };
}

/** An LED's lamp: its bounds less its own margin, or a circle of the layout's diameter. */
inline juce::Rectangle<float> ledArea (const juce::Component& led, float ownMargin)
{
    if (!layoutInt (led, layoutLook::visualSizeProperty))
        return led.getLocalBounds().toFloat().reduced (ownMargin);
    return visualArea (led, led.getLocalBounds(), layoutLook::Shape::round).toFloat();
}

/** Hands the layout's style attributes of a composite item on to one of its pieces (a control's
    buttons, value box or caption), so the look and feel draws the piece with them. */
inline void passLayoutStyle (const juce::Component& from, juce::Component& to,
                             std::initializer_list<const char*> properties)
{
    for (const auto* name : properties)
    {
        const auto& v = from.getProperties()[name];
        if (v.isVoid())
            to.getProperties().remove (name);
        else
            to.getProperties().set (name, v);
    }
}

/** An LCD-style box: flat, or with the glass and shade of a real screen; value boxes unless told. */
inline void drawLcd (juce::Graphics& g, juce::Rectangle<float> r, const LcdColours& c = palette::valueBox)
{
    if (palette::realisticLcd)
    {
        g.setGradientFill (juce::ColourGradient (c.top, r.getX(), r.getY(), c.bottom, r.getX(), r.getBottom(), false));
        g.fillRoundedRectangle (r, 3.0f);
        g.setColour (juce::Colours::white.withAlpha (c.glareAlpha));
        g.fillRoundedRectangle (r.reduced (2.0f).withHeight (r.getHeight() * 0.35f), 2.0f);
        g.setColour (c.edge);
        g.drawRoundedRectangle (r.reduced (0.5f), 3.0f, 1.2f);
    }
    else
    {
        g.setColour (c.fill);
        g.fillRect (r);
        g.setColour (c.edge);
        g.drawRect (r, 1.0f);
    }
}

/** A panel laid over the page (generator, library): the page background, an outline and the title
    at the top left, `inset` from the edge. */
inline void drawPagePanelFrame (juce::Graphics& g, juce::Rectangle<int> area, const juce::String& title, int inset)
{
    g.fillAll (palette::background);
    g.setColour (palette::panelOutline);
    g.drawRect (area, 1);
    g.setColour (palette::text);
    g.setFont (juce::Font (16.0f, juce::Font::bold));
    g.drawText (title, inset, 8, area.getWidth() - 2 * inset, 28, juce::Justification::centredLeft);
}

/** The house's modal panel: the view dimmed, a rounded box of `boxSize` centred on it with the title
    across its top. Returns the box. */
inline juce::Rectangle<float> drawOverlayPanel (juce::Graphics& g, juce::Rectangle<int> area, int width, int height,
                                                const juce::String& title, float titleSize = 13.0f,
                                                int titleHeight = 34, float dim = 0.55f)
{
    g.fillAll (juce::Colours::black.withAlpha (dim));
    const auto box = area.withSizeKeepingCentre (width, height).toFloat();
    g.setColour (palette::panel);
    g.fillRoundedRectangle (box, 8.0f);
    g.setColour (palette::accent);
    g.drawRoundedRectangle (box.reduced (0.5f), 8.0f, 1.5f);
    g.setColour (palette::text);
    g.setFont (juce::Font (titleSize, juce::Font::bold));
    g.drawText (title, box.toNearestInt().withHeight (titleHeight), juce::Justification::centred);
    return box;
}

/** Finds a component's tooltip on the component under the pointer or, when that has none, on the
    nearest of its parents that has one: a control's slider, value box or caption all show the
    control's tooltip, where JUCE's window would only ask the child. */
class OrvoTooltipWindow final : public juce::TooltipWindow
{
public:
    using juce::TooltipWindow::TooltipWindow;
    juce::String getTipFor (juce::Component& c) override;
};

class OrvoLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    OrvoLookAndFeel();

    /** Sets the palette and this look's colours and typeface from the appearance settings. */
    void apply (const Appearance& appearance);

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    /** A knob with a visual size from the layout is drawn at that diameter inside its bounds. */
    void drawRotarySlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos,
                           float rotaryStartAngle, float rotaryEndAngle, juce::Slider&) override;
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool isMouseOverButton, bool isButtonDown) override;
    /** Labels with LCD attributes or a text shift from the layout draw their text scaled, inset and moved. */
    void drawLabel (juce::Graphics&, juce::Label&) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;

private:
    std::optional<layoutLook::ButtonLook> styledLook (const juce::Button&) const;
    orvo::ColourScheme scheme; // not LookAndFeel_V4::ColourScheme
};

} // namespace orvo
