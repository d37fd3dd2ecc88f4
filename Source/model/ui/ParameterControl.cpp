#include "ParameterControl.h"

#include "model/NamedValues.h"
#include "model/ValueCurveShapes.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
/** A slider that leaves right-clicks to its control (they open the range popup, not a drag). */
struct ControlSlider final : juce::Slider
{
    ControlSlider() : juce::Slider (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox) {}

    void mouseDown (const juce::MouseEvent& e) override
    {
        if (e.mods.isPopupMenu())
        {
            if (auto* parent = getParentComponent())
                parent->mouseDown (e.getEventRelativeTo (parent));
            return;
        }
        juce::Slider::mouseDown (e);
    }
    void mouseDrag (const juce::MouseEvent& e) override
    {
        if (! e.mods.isPopupMenu())
            juce::Slider::mouseDrag (e);
    }
    void mouseUp (const juce::MouseEvent& e) override
    {
        if (! e.mods.isPopupMenu())
            juce::Slider::mouseUp (e);
    }
};
} // namespace

ParameterControl::ParameterControl (int rowIndex, const OrvoParameterInfo& rowInfo) : row (rowIndex), info (rowInfo)
{
    setComponentID ("param." + juce::String (info.id));
    value = info.rawMin;

    nameLabel.setText (info.name, juce::dontSendNotification);
    nameLabel.setFont (juce::Font (12.5f));
    nameLabel.setInterceptsMouseClicks (false, false);
    nameLabel.setMinimumHorizontalScale (0.7f);
    addAndMakeVisible (nameLabel);

    if (info.kind == kindLatchedButton || info.kind == kindToggle || info.kind == kindMomentaryButton)
    {
        latch = std::make_unique<juce::TextButton>();
        latch->setClickingTogglesState (false);
        latch->onClick = [this] { userChanged (ParameterCatalogue::toggledSwitchValue (info, value)); };
        addAndMakeVisible (*latch);
    }
    else if (info.kind == kindEnumButtons)
    {
        for (int i = 0; i < info.labelCount; ++i)
        {
            auto b = std::make_unique<juce::TextButton> (info.labels[(size_t) i].text);
            const int choice = info.labels[(size_t) i].value;
            b->onClick = [this, choice] { userChanged (choice); };
            addAndMakeVisible (*b);
            choices.push_back (std::move (b));
        }
    }
    else if (NamedValues::choosesCurve (info))
    {
        curve = std::make_unique<juce::TextButton>();
        curve->setTooltip ("Click for the next curve shape.");
        curve->onClick = [this] { userChanged (NamedValues::nextCurveRaw (value)); };
        addAndMakeVisible (*curve);
    }
    else
    {
        slider = std::make_unique<ControlSlider>();
        slider->setRange (info.rawMin, info.rawMax, 1.0);
        slider->setDoubleClickReturnValue (false, 0);
        slider->setScrollWheelEnabled (true);

        slider->onValueChange = [this] {
            if (updating)
                return;
            // With a custom range the slider runs over knob positions 0..1 of that window.
            userChanged (custom.isDefault() ? (int) slider->getValue()
                                            : ValueConversion::rawForKnobPosition (info, slider->getValue(), custom));
        };
        slider->onDragStart = [this] {
            if (onGestureBegin)
                onGestureBegin();
        };
        slider->onDragEnd = [this] {
            if (onGestureEnd)
                onGestureEnd();
        };
        addAndMakeVisible (*slider);
    }

    valueBox.setEditable (false, true, false);
    valueBox.setJustificationType (juce::Justification::centred);
    valueBox.setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 12.0f, juce::Font::bold));
    valueBox.setTooltip ("Double-click to type a value.");
    valueBox.onTextChange = [this] {
        std::optional<int> raw;
        if (parseValue)
            raw = parseValue (info, valueBox.getText(), custom);
        else if (valueBox.getText().trim().containsOnly ("-0123456789") && valueBox.getText().trim().isNotEmpty())
            raw = valueBox.getText().getIntValue();
        if (raw)
            userChanged (*raw);
        else
            refreshWidgets();
    };
    addAndMakeVisible (valueBox);

    sendButton.onClick = [this] {
        if (onSelect)
            onSelect (row);
        if (onSend)
            onSend (row);
    };
    sendButton.setComponentID ("param." + juce::String (info.id) + ".send");
    addAndMakeVisible (sendButton);
    setSendImmediately (true);
    applyColours();
    refreshWidgets();
}

void ParameterControl::applyColours()
{
    nameLabel.setColour (juce::Label::textColourId, palette::text);
    valueBox.setColour (juce::Label::backgroundColourId, juce::Colours::transparentBlack);
    valueBox.setColour (juce::Label::textColourId, palette::valueBox.ink);
    valueBox.setColour (juce::Label::outlineColourId, juce::Colours::transparentBlack);
    repaint();
}

void ParameterControl::userChanged (int raw)
{
    value = juce::jlimit (info.rawMin, info.rawMax, raw);
    refreshWidgets();
    if (onSelect)
        onSelect (row);
    if (onUserEdit)
        onUserEdit (row, value);
}

void ParameterControl::showValue (int raw)
{
    if (raw == value)
        return;
    value = raw;
    refreshWidgets();
}

void ParameterControl::refreshWidgets()
{
    const juce::ScopedValueSetter<bool> guard (updating, true);
    if (slider != nullptr)
        slider->setValue (custom.isDefault() ? (double) value : ValueConversion::knobPositionForRaw (info, value, custom),
                          juce::dontSendNotification);
    if (latch != nullptr)
    {
        const bool on = ParameterCatalogue::isSwitchOn (info, value);
        latch->setButtonText (on ? "ON" : "OFF");
        latch->setToggleState (on, juce::dontSendNotification);
    }
    for (size_t i = 0; i < choices.size(); ++i)
        choices[i]->setToggleState (info.labels[i].value == value, juce::dontSendNotification);
    if (curve != nullptr)
        curve->setButtonText (ValueCurveShapes::shape (ValueCurveShapes::indexForRaw (value)).name);
    valueBox.setText (formatValue ? formatValue (info, value, custom) : juce::String (value), juce::dontSendNotification);
    slider != nullptr ? slider->setTooltip (custom.isDefault() ? juce::String() : juce::String ("Custom knob range (right-click to change)")) : void();
}

void ParameterControl::setHighlighted (bool on)
{
    if (on == highlighted)
        return;
    highlighted = on;
    repaint();
}

void ParameterControl::setSendImmediately (bool on)
{
    sendButton.setTooltip (on ? "Re-send this parameter's current value to the Orvo."
                              : "Send this parameter's current value to the Orvo.");
}

juce::String ParameterControl::getTooltip()
{
    const auto shown = [this] (int raw) { return formatValue ? formatValue (info, raw, {}) : juce::String (raw); };
    const auto mapping = info.nrpn >= 0 ? "NRPN " + juce::String (info.nrpn) : juce::String ("no NRPN");
    return juce::String (info.name) + "  (" + mapping + ", " + shown (info.rawMin) + " to " + shown (info.rawMax) +
           ")" + (slider != nullptr ? "\nRight-click for a custom knob range." : "");
}

void ParameterControl::paint (juce::Graphics& g)
{
    if (highlighted)
    {
        g.setColour (palette::highlight.withAlpha (0.35f));
        g.fillRoundedRectangle (getLocalBounds().toFloat(), 3.0f);
    }
    drawLcd (g, valueBox.getBounds().toFloat());
    if (! custom.isDefault() && slider != nullptr)
    {
        g.setColour (palette::highlight);
        g.fillRect (slider->getBounds().withTop (slider->getBottom() - 2));
    }
}

void ParameterControl::resized()
{
    auto area = getLocalBounds().reduced (2, 2);
    const int w = area.getWidth();
    nameLabel.setBounds (area.removeFromLeft (juce::roundToInt (w * 0.36)));
    sendButton.setBounds (area.removeFromRight (40));
    area.removeFromRight (3);
    valueBox.setBounds (area.removeFromRight (juce::roundToInt (w * 0.19)));
    area.removeFromRight (4);
    // The layout's visual size shortens the slider; its button style and text attributes reach the pieces.
    if (slider != nullptr)
        slider->setBounds (visualArea (*this, area, layoutLook::Shape::bar));
    if (latch != nullptr)
        latch->setBounds (area.withSizeKeepingCentre (juce::jmin (area.getWidth(), 56), area.getHeight()));
    if (curve != nullptr)
        curve->setBounds (area.withSizeKeepingCentre (juce::jmin (area.getWidth(), 96), area.getHeight()));
    if (! choices.empty())
    {
        const int each = area.getWidth() / (int) choices.size();
        for (auto& c : choices)
            c->setBounds (area.removeFromLeft (each).reduced (1, 0));
    }
    for (auto* b : buttons())
    {
        passLayoutStyle (*this, *b, { layoutLook::buttonStyleProperty, layoutLook::textVerticalShiftProperty });
        if (b != &sendButton)
            passLayoutStyle (*this, *b, { layoutLook::visualSizeProperty });
    }
    passLayoutStyle (*this, valueBox, { layoutLook::lcdTextScaleProperty, layoutLook::lcdHorizontalInsetProperty,
                                        layoutLook::lcdVerticalInsetProperty, layoutLook::lcdVerticalShiftProperty });
    passLayoutStyle (*this, nameLabel, { layoutLook::textVerticalShiftProperty });
}

std::vector<juce::Button*> ParameterControl::buttons()
{
    std::vector<juce::Button*> all { &sendButton };
    if (latch != nullptr)
        all.push_back (latch.get());
    if (curve != nullptr)
        all.push_back (curve.get());
    for (auto& c : choices)
        all.push_back (c.get());
    return all;
}

void ParameterControl::setCustomRange (const CustomKnobRange& range)
{
    custom = range;
    if (slider != nullptr)
    {
        const juce::ScopedValueSetter<bool> guard (updating, true);
        if (custom.isDefault())
            slider->setRange (info.rawMin, info.rawMax, 1.0);
        else
            slider->setRange (0.0, 1.0, 0.0);
    }
    refreshWidgets();
    repaint();
}

void ParameterControl::mouseDown (const juce::MouseEvent& e)
{
    if (e.mods.isPopupMenu() && slider != nullptr && onRangeRequested)
    {
        onRangeRequested (*this);
        return;
    }
    if (onSelect)
        onSelect (row);
}

} // namespace orvo
