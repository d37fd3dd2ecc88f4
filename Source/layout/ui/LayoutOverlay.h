#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace orvo
{
class LayoutController;

/** Layout mode's surface over the editor: every item's outline, the selection with its resize
    handle, and the mouse and keys that select, move and resize. */
class LayoutOverlay final : public juce::Component
{
public:
    explicit LayoutOverlay (LayoutController& controller);

    void paint (juce::Graphics&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseDrag (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;
    bool keyPressed (const juce::KeyPress&) override;
    /** The sidebar panes that show the layout tools stay usable under the overlay. */
    bool hitTest (int x, int y) override;

private:
    std::string itemAt (juce::Point<int> p) const;
    bool onHandle (juce::Point<int> p) const;
    /** Where the panes showing the layout tools are, on the editor surface. */
    std::vector<juce::Rectangle<int>> toolPanes() const;

    LayoutController& controller;
    enum class Drag
    {
        none,
        move,
        resize
    } drag = Drag::none;
    juce::Point<int> dragOffset;
};

} // namespace orvo
