#pragma once

#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace orvo
{

/** The control bound to one catalogue row: name, a slider or buttons by kind, a value box that
    accepts typed values, and a SEND button. It reports user actions and shows what it is told. */
class ParameterControl final : public juce::Component, public juce::TooltipClient
{
public:
    ParameterControl (int row, const OrvoParameterInfo& info);

    int getRow() const { return row; }
    const OrvoParameterInfo& getInfo() const { return info; }

    std::function<void (int row, int raw)> onUserEdit;
    std::function<void (int row)> onSend;
    std::function<void (int row)> onSelect;
    /** A drag of the knob or slider begins and ends (one undo step). */
    std::function<void()> onGestureBegin, onGestureEnd;
    /** Formats a raw value for the value box. */
    std::function<juce::String (const OrvoParameterInfo&, int raw, const CustomKnobRange&)> formatValue;
    /** Parses typed text into a raw value; nothing when the text is not a value. */
    std::function<std::optional<int> (const OrvoParameterInfo&, const juce::String&, const CustomKnobRange&)> parseValue;

    /** Shows a value that came from code or from the instrument; no callback fires. */
    void showValue (int raw);
    /** A custom knob range: the slider covers only that window, with its response curve. */
    void setCustomRange (const CustomKnobRange& range);
    const CustomKnobRange& customRange() const { return custom; }
    /** Right-click: the owner opens the range popup. */
    std::function<void (ParameterControl&)> onRangeRequested;
    /** Redraws the value box after the formatter changed. */
    void refreshValueText() { refreshWidgets(); }
    int shownValue() const { return value; }
    void setHighlighted (bool on);
    void setSendImmediately (bool on);
    /** The row's name, NRPN and range, for every part of the control without a tooltip of its own. */
    juce::String getTooltip() override;

    void paint (juce::Graphics&) override;
    void lookAndFeelChanged() override { applyColours(); }
    void resized() override;
    void mouseDown (const juce::MouseEvent&) override;

private:
    void userChanged (int raw);
    void refreshWidgets();
    void applyColours();
    std::vector<juce::Button*> buttons();

    const int row;
    const OrvoParameterInfo info;
    int value = 0;
    bool updating = false;
    bool highlighted = false;
    CustomKnobRange custom;

    juce::Label nameLabel;
    std::unique_ptr<juce::Slider> slider;
    std::unique_ptr<juce::TextButton> latch;
    /** A row that chooses a curve shape: one click, the next shape. */
    std::unique_ptr<juce::TextButton> curve;
    std::vector<std::unique_ptr<juce::TextButton>> choices;
    juce::Label valueBox;
    juce::TextButton sendButton { "SEND" };
};

} // namespace orvo
