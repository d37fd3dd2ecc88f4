#include "OrvoLookAndFeel.h"

namespace orvo
{

OrvoLookAndFeel::OrvoLookAndFeel()
{
    setColour (juce::ResizableWindow::backgroundColourId, palette::background);
    setColour (juce::Label::textColourId, palette::text);
    setColour (juce::TextButton::buttonColourId, palette::panelHeader);
    setColour (juce::TextButton::buttonOnColourId, palette::accent.darker (0.2f));
    setColour (juce::TextButton::textColourOffId, palette::text);
    setColour (juce::TextButton::textColourOnId, juce::Colours::black);
    setColour (juce::ComboBox::backgroundColourId, palette::lcd);
    setColour (juce::ComboBox::textColourId, palette::lcdText);
    setColour (juce::ComboBox::arrowColourId, palette::lcdText);
    setColour (juce::ComboBox::outlineColourId, palette::panelOutline);
    setColour (juce::PopupMenu::backgroundColourId, palette::panel);
    setColour (juce::PopupMenu::textColourId, palette::text);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, palette::accent);
    setColour (juce::TextEditor::backgroundColourId, juce::Colour (0xff0d1526));
    setColour (juce::TextEditor::textColourId, palette::text);
    setColour (juce::TextEditor::outlineColourId, palette::panelOutline);
    setColour (juce::Slider::trackColourId, palette::accent);
    setColour (juce::Slider::backgroundColourId, juce::Colour (0xff0d1526));
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
