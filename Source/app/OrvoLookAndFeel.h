#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** Colours of the editor's panel, in the classic blue scheme. */
namespace palette
{
inline const juce::Colour background { 0xff15213a };
inline const juce::Colour panel { 0xff1f3055 };
inline const juce::Colour panelHeader { 0xff2c4778 };
inline const juce::Colour panelOutline { 0xff3c5c94 };
inline const juce::Colour text { 0xffe6ecf5 };
inline const juce::Colour dimText { 0xffa9b6cc };
inline const juce::Colour accent { 0xff5fc3ff };
inline const juce::Colour lcd { 0xfff0d25a };
inline const juce::Colour lcdText { 0xff1b1b10 };
inline const juce::Colour highlight { 0xffff8a3d };
inline const juce::Colour ledOn { 0xff52e05a };
inline const juce::Colour ledOff { 0xff20402a };
} // namespace palette

class OrvoLookAndFeel final : public juce::LookAndFeel_V4
{
public:
    OrvoLookAndFeel();

    void drawLinearSlider (juce::Graphics&, int x, int y, int width, int height, float sliderPos, float minSliderPos,
                           float maxSliderPos, juce::Slider::SliderStyle, juce::Slider&) override;
    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
};

} // namespace orvo
