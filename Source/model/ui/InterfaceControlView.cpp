#include "InterfaceControlView.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

InterfaceControlView::InterfaceControlView (const InterfaceControlInfo& i) : info (i)
{
    setComponentID ("param." + juce::String (InterfaceControls::key (info.nrpn)));
    setProperties();
    // One tooltip for the whole row: its caption, slider, button and value box all show it.
    setTooltip (juce::String (info.caption) + "  (NRPN " + juce::String (info.nrpn) + ", " +
                InterfaceControls::rangeText (info) + ")");
    nameLabel.setText (info.caption, juce::dontSendNotification);
    nameLabel.setFont (juce::Font (12.5f, juce::Font::italic));
    nameLabel.setInterceptsMouseClicks (false, false);
    nameLabel.setMinimumHorizontalScale (0.7f);
    addAndMakeVisible (nameLabel);

    if (info.style == InterfaceControlInfo::chosenValue)
    {
        slider = std::make_unique<juce::Slider> (juce::Slider::LinearHorizontal, juce::Slider::NoTextBox);
        slider->setRange (0, info.maxValue, 1.0);
        slider->onValueChange = [this] {
            if (! updating)
                send ((int) slider->getValue());
        };
        addAndMakeVisible (*slider);
    }
    else
    {
        button = std::make_unique<juce::TextButton>();
        button->onClick = [this] {
            if (info.style == InterfaceControlInfo::onOff)
                send (value == info.onValue ? info.offValue : info.onValue);
            else
            {
                cycleState = cycleState % 3 + 1;
                send (InterfaceControls::cycleValue (cycleState));
            }
        };
        addAndMakeVisible (*button);
    }
    if (info.style == InterfaceControlInfo::cycleThree)
        value = InterfaceControls::cycleValue (cycleState);

    valueBox.setJustificationType (juce::Justification::centred);
    valueBox.setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 12.0f, juce::Font::bold));
    addAndMakeVisible (valueBox);
    applyColours();
    refresh();
}

void InterfaceControlView::applyColours()
{
    nameLabel.setColour (juce::Label::textColourId, palette::dimText.brighter (0.2f));
    valueBox.setColour (juce::Label::textColourId, palette::valueBox.ink);
    repaint();
}

void InterfaceControlView::paint (juce::Graphics& g)
{
    g.setOpacity (0.85f);
    drawLcd (g, valueBox.getBounds().toFloat());
}

void InterfaceControlView::setProperties()
{
    getProperties().set ("interfaceNrpn", info.nrpn);
    getProperties().set ("interfaceUsesPanDisplay", InterfaceControls::usesPanDisplay (info));
}

void InterfaceControlView::send (int v)
{
    value = v;
    refresh();
    if (onSelect)
        onSelect (info.nrpn);
    if (onSend)
        onSend (info.nrpn, v, InterfaceControls::actionLabel (info, v));
}

void InterfaceControlView::refresh()
{
    const juce::ScopedValueSetter<bool> guard (updating, true);
    if (slider != nullptr)
    {
        slider->setValue (value, juce::dontSendNotification);
    }
    const juce::String text (InterfaceControls::valueText (info, value));
    if (button != nullptr)
    {
        if (info.style == InterfaceControlInfo::onOff)
        {
            const bool on = value == info.onValue;
            button->setButtonText (on ? "ON" : "OFF");
            button->setToggleState (on, juce::dontSendNotification);
        }
        else
        {
            button->setButtonText (text);
        }
    }
    valueBox.setText (text, juce::dontSendNotification);
}

void InterfaceControlView::resized()
{
    auto area = getLocalBounds().reduced (2, 2);
    const int w = area.getWidth();
    nameLabel.setBounds (area.removeFromLeft (juce::roundToInt (w * 0.36)));
    area.removeFromRight (43);
    valueBox.setBounds (area.removeFromRight (juce::roundToInt (w * 0.19)));
    area.removeFromRight (4);
    if (slider != nullptr)
        slider->setBounds (visualArea (*this, area, layoutLook::Shape::bar));
    if (button != nullptr)
    {
        button->setBounds (area.withSizeKeepingCentre (juce::jmin (area.getWidth(), 56), area.getHeight()));
        passLayoutStyle (*this, *button, { layoutLook::visualSizeProperty, layoutLook::buttonStyleProperty,
                                           layoutLook::textVerticalShiftProperty });
    }
    passLayoutStyle (*this, valueBox, { layoutLook::lcdTextScaleProperty, layoutLook::lcdHorizontalInsetProperty,
                                        layoutLook::lcdVerticalInsetProperty, layoutLook::lcdVerticalShiftProperty });
    passLayoutStyle (*this, nameLabel, { layoutLook::textVerticalShiftProperty });
}

void InterfaceControlView::mouseDown (const juce::MouseEvent&)
{
    if (onSelect)
        onSelect (info.nrpn);
}

} // namespace orvo
