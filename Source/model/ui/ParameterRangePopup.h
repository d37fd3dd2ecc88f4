#pragma once

#include "model/ParameterRangeRules.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace orvo
{

/** The custom knob range of one control: minimum, maximum and response curve. The rules live in
    ParameterRangeRules; this shows them and hands an accepted range back. */
class ParameterRangePopup final : public juce::Component
{
public:
    ParameterRangePopup (const OrvoParameterInfo& info, const CustomKnobRange& current, int currentRaw);

    /** An accepted range (cleared or stored); the owner applies it and closes the popup. */
    std::function<void (const CustomKnobRange&)> onAccepted;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void applyResult (const ParameterRangeRules::ApplyResult& result);

    ParameterRangeRules rules;
    const int currentRaw;
    juce::Label normalRange, minimumLabel, maximumLabel, curveLabel, message;
    juce::TextEditor minimum, maximum;
    juce::TextButton useCurrentMin { ParameterRangeRules::useCurrentCaption },
        useCurrentMax { ParameterRangeRules::useCurrentCaption }, useDefault { ParameterRangeRules::useDefaultCaption },
        apply { ParameterRangeRules::applyCaption }, clear { ParameterRangeRules::clearCaption };
    juce::ComboBox curve;
};

} // namespace orvo
