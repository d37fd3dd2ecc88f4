#pragma once

#include "effects/EffectsPageModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <functional>
#include <memory>

namespace orvo
{

/** The EFFECTS page: category and algorithm menus, then CONFIG and PARAM1..PARAM5 of the current
    algorithm, six slots each. It shows the page model and hands the user's sends to its owner. */
class EffectsPageView final : public juce::Component
{
public:
    explicit EffectsPageView (EffectsPageModel& model);

    std::function<void (const EffectNrpnSend&)> onSend;

    /** Reads every slot again (after a selection, a Program or incoming values). */
    void refresh();

    void paint (juce::Graphics&) override;
    void resized() override;

private:
    struct Slot final : public juce::Component, public juce::SettableTooltipClient
    {
        Slot();
        juce::Label name, value;
        juce::Slider slider { juce::Slider::LinearHorizontal, juce::Slider::NoTextBox };
        bool filled = false;
        bool updating = false;
        void resized() override;
        void paint (juce::Graphics&) override;
    };

    void fillMenus();
    juce::Rectangle<int> panelBounds (int page) const;

    EffectsPageModel& model;
    juce::Label categoryLabel { {}, "CATEGORY:" }, algorithmLabel { {}, "ALGORITHM:" };
    juce::ComboBox categoryMenu, algorithmMenu;
    std::array<std::array<std::unique_ptr<Slot>, 6>, 6> slots;
};

} // namespace orvo
