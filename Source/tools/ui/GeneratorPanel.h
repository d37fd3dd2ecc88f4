#pragma once

#include "engine/GeneratorController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

namespace orvo
{

/** The "PROGRAM GENERATOR" overlay: the category buttons (BASS generates), GEN RANGE, the voice,
    distortion and effects switches, the latest generation's recipe, settings and guardrail notes,
    the transfer's progress and the rating buttons. Every choice goes to the controller. */
class GeneratorPanel final : public juce::Component
{
public:
    explicit GeneratorPanel (GeneratorController& controller);
    ~GeneratorPanel() override;

    std::function<void()> onClose;

    /** Shows the controller's state; does nothing when it has not changed since the last call. */
    void refresh();
    void visibilityChanged() override;

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    void showState();

    GeneratorController& generator;
    std::uint64_t shownChange = ~0ULL;
    std::vector<std::unique_ptr<juce::TextButton>> categories;
    juce::Slider range;
    juce::Label rangeCaption, safeCaption, experimentalCaption, rangeValue;
    juce::TextButton monoButton{ "MONO" }, polyButton{ "POLY" }, distortionButton{ "ANALOG DIST" },
        effectsButton{ "DIGITAL FX" }, closeButton{ "CLOSE" };
    juce::TextButton safeFeedback{ "SAFE FEEDBACK" }, experimentalFeedback{ "EXPERIMENTAL FEEDBACK" },
        badFeedback{ "BAD FEEDBACK" };
    juce::ComboBox badReason;
    juce::Label status, recipe, settingsLine, notesCaption;
    juce::TextEditor notes;
    double progressValue = 0.0;
    juce::ProgressBar progress{ progressValue };
};

} // namespace orvo
