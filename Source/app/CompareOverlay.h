#pragma once

#include "engine/CompareController.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** COMPARE: which version the editor shows, every value that differs with A's and B's value in the
    instrument's units, the A/B toggle and the way out. It shows what the compare controller says. */
class CompareOverlay final : public juce::Component, private juce::ListBoxModel
{
public:
    explicit CompareOverlay (CompareController& controller);

    /** Re-reads the controller; hides itself when compare has ended. */
    void refresh();

    void paint (juce::Graphics&) override;
    void resized() override;
    bool keyPressed (const juce::KeyPress&) override;

private:
    int getNumRows() override;
    void paintListBoxItem (int row, juce::Graphics&, int width, int height, bool selected) override;

    CompareController& compare;
    juce::Label versions, status;
    juce::ListBox list{ "differences", this };
    juce::TextButton toggle{ "A / B" }, leave{ "LEAVE COMPARE" };
};

} // namespace orvo
