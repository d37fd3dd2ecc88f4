#include "ParameterRangePopup.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

ParameterRangePopup::ParameterRangePopup (const OrvoParameterInfo& info, const CustomKnobRange& current, int raw)
    : rules (info, current), currentRaw (raw)
{
    setComponentID (ParameterRangeRules::popupLayoutId);
    // Stable layout ids, so a layout can place the popup's items.
    juce::Component* const pieces[] = { &normalRange, &minimumLabel, &minimum, &useCurrentMin, &maximumLabel, &maximum,
                                        &useCurrentMax, &curveLabel, &curve, &useDefault, &message, &apply, &clear };
    for (size_t i = 0; i < std::size (pieces); ++i)
        pieces[i]->setComponentID (ParameterRangeRules::popupItemIds()[i]);
    normalRange.setText (rules.normalRangeText(), juce::dontSendNotification);
    normalRange.setFont (juce::Font (13.0f, juce::Font::bold));
    minimumLabel.setText (ParameterRangeRules::minimumCaption, juce::dontSendNotification);
    maximumLabel.setText (ParameterRangeRules::maximumCaption, juce::dontSendNotification);
    curveLabel.setText (ParameterRangeRules::curveCaption, juce::dontSendNotification);
    for (auto* l : { &normalRange, &minimumLabel, &maximumLabel, &curveLabel, &message })
        addAndMakeVisible (*l);
    message.setColour (juce::Label::textColourId, palette::highlight);

    for (auto* field : { &minimum, &maximum })
    {
        field->setInputRestrictions (24, ParameterRangeRules::acceptedCharacters);
        addAndMakeVisible (*field);
    }
    minimum.setText (rules.minimumText(), false);
    maximum.setText (rules.maximumText(), false);
    minimum.onTextChange = [this] { rules.setMinimumText (minimum.getText().toStdString()); };
    maximum.onTextChange = [this] { rules.setMaximumText (maximum.getText().toStdString()); };

    useCurrentMin.onClick = [this] {
        rules.useCurrentAsMinimum (currentRaw);
        minimum.setText (rules.minimumText(), false);
    };
    useCurrentMax.onClick = [this] {
        rules.useCurrentAsMaximum (currentRaw);
        maximum.setText (rules.maximumText(), false);
    };
    const auto& names = ParameterRangeRules::curveNames();
    for (size_t i = 0; i < names.size(); ++i)
        curve.addItem (names[i], (int) i + 1);
    curve.setSelectedId (rules.selectedCurve() + 1, juce::dontSendNotification);
    curve.onChange = [this] { rules.setCurve (curve.getSelectedId() - 1); };
    useDefault.onClick = [this] {
        rules.useDefaultCurve();
        curve.setSelectedId (rules.selectedCurve() + 1, juce::dontSendNotification);
    };
    apply.onClick = [this] { applyResult (rules.apply()); };
    clear.onClick = [this] { applyResult (rules.clear()); };
    for (juce::Component* c : { static_cast<juce::Component*> (&useCurrentMin), static_cast<juce::Component*> (&useCurrentMax),
                                static_cast<juce::Component*> (&useDefault), static_cast<juce::Component*> (&apply),
                                static_cast<juce::Component*> (&clear), static_cast<juce::Component*> (&curve) })
        addAndMakeVisible (*c);
    setSize (420, 230);
}

void ParameterRangePopup::applyResult (const ParameterRangeRules::ApplyResult& result)
{
    message.setText (result.message, juce::dontSendNotification);
    if (result.accepted() && onAccepted)
        onAccepted (result.range);
}

void ParameterRangePopup::paint (juce::Graphics& g)
{
    g.fillAll (palette::panel);
    // Inside the editor (layout mode) nothing frames it as the call-out box does.
    if (findParentComponentOfClass<juce::CallOutBox>() == nullptr)
    {
        g.setColour (palette::accent);
        g.drawRect (getLocalBounds(), 2);
    }
    for (auto* l : { &normalRange, &minimumLabel, &maximumLabel, &curveLabel })
        l->setColour (juce::Label::textColourId, palette::text);
}

void ParameterRangePopup::resized()
{
    auto area = getLocalBounds().reduced (10);
    normalRange.setBounds (area.removeFromTop (24));
    area.removeFromTop (6);
    const auto row = [&area] (juce::Label& label, juce::Component& field, juce::Component& button) {
        auto r = area.removeFromTop (26);
        label.setBounds (r.removeFromLeft (140));
        button.setBounds (r.removeFromRight (110).reduced (2, 1));
        field.setBounds (r.reduced (2, 1));
        area.removeFromTop (6);
    };
    row (minimumLabel, minimum, useCurrentMin);
    row (maximumLabel, maximum, useCurrentMax);
    row (curveLabel, curve, useDefault);
    message.setBounds (area.removeFromTop (28));
    auto buttons = area.removeFromTop (28);
    clear.setBounds (buttons.removeFromRight (100).reduced (2, 0));
    apply.setBounds (buttons.removeFromRight (100).reduced (2, 0));
}

} // namespace orvo
