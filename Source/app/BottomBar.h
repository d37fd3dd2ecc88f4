#pragma once

#include "engine/ProgramSelector.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace orvo
{

/** The strip under the pages: the Program selector (bank arrows, number with its steps, the slot's
    name), the PROGRAM / MIX lights, "MIX SETTINGS" and "CLEAR KNOBS". It shows the selector's state
    and forwards clicks; the rules live in `ProgramSelector`. */
class BottomBar final : public juce::Component
{
public:
    explicit BottomBar (ProgramSelector& selector);

    /** Re-reads the selector; cheap when nothing changed. */
    void refresh (bool diagnosticMode);

    std::function<void()> onMixSettings;
    std::function<void()> onClearKnobs;
    /** A double-click on the Program name. */
    std::function<void()> onRename;
    /** A single click on the Program name (one that does not become a double-click). */
    std::function<void()> onOpenSelection;
    void mouseDoubleClick (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

    /** Every item with its layout id, for the editor's registry. */
    std::vector<std::pair<juce::Component*, juce::String>> items();

    void paint (juce::Graphics&) override;
    void resized() override;
    /** The appearance settings changed the palette. */
    void lookAndFeelChanged() override;

private:
    /** Counts the name field's clicks, so a pending single click knows a double-click replaced it. */
    int nameClicks = 0;
    struct Led final : juce::Component, juce::SettableTooltipClient
    {
        bool on = false;
        void paint (juce::Graphics&) override;
    };

    ProgramSelector& selector;
    juce::TextButton bankLeft { "<" }, bankRight { ">" }, programDown { "-" }, programUp { "+" };
    juce::Label bankLabel { {}, "BANK" }, bankName, programNumber, patchName;
    Led programLed, mixLed;
    juce::Label programLedLabel { {}, "PROGRAM" }, mixLedLabel { {}, "MIX" };
    juce::TextButton mixSettings { "MIX SETTINGS" }, clearKnobs { "CLEAR KNOBS" };
    juce::String shownKey;
};

} // namespace orvo
