#include "LayoutOverlay.h"

#include "LayoutController.h"
#include "ui/OrvoLookAndFeel.h"

#include <algorithm>

namespace orvo
{
namespace
{
constexpr int handleSize = 8;

/** Whole pages, panes and overlays are containers, not items to pick with the mouse. */
bool isContainer (const LayoutItemRef& item)
{
    const auto& id = item.id;
    return (id.rfind ("editor.page", 0) == 0 && id.find ('.', 11) == std::string::npos) ||
           id.rfind ("overlay.", 0) == 0 || (id.size() > 5 && id.compare (id.size() - 5, 5, ".pane") == 0) ||
           id == "bottom.bar" || id == "monitor" || id == "details";
}
bool isLayoutTool (const std::string& id)
{
    for (const std::string tool : { ".layoutEdit", ".parameterAttributes", ".parameterProperties", ".digitalFxConfig" })
        if (id.size() > tool.size() && id.compare (id.size() - tool.size(), tool.size(), tool) == 0 &&
            id.rfind ("sidebar.", 0) == 0)
            return true;
    return false;
}
} // namespace

std::vector<juce::Rectangle<int>> LayoutOverlay::toolPanes() const
{
    std::vector<juce::Rectangle<int>> panes;
    for (const auto& item : controller.currentItems())
        if (isLayoutTool (item.id) && item.component->isShowing())
            if (auto* pane = item.component->getParentComponent())
                panes.push_back (getParentComponent()->getLocalArea (pane->getParentComponent(), pane->getBounds()));
    return panes;
}

bool LayoutOverlay::hitTest (int x, int y)
{
    for (const auto& pane : toolPanes())
        if (pane.contains (x, y))
            return false;
    return true;
}

LayoutOverlay::LayoutOverlay (LayoutController& c) : controller (c)
{
    setWantsKeyboardFocus (true);
    setComponentID ("layout.overlay");
}

void LayoutOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black.withAlpha (0.12f));
    const auto& selected = controller.session().selected();
    const auto panes = toolPanes();
    const auto inToolPane = [&panes] (juce::Rectangle<int> r)
    {
        return std::any_of (panes.begin(), panes.end(),
                            [r] (const juce::Rectangle<int>& p) { return p.contains (r.getCentre()); });
    };
    for (const auto& item : controller.currentItems())
    {
        if (isContainer (item) || !isShownWithin (*item.component, *getParentComponent()))
            continue;
        const auto r = controller.surfaceBounds (item.id);
        if (inToolPane (r))
            continue;
        g.setColour (palette::accent.withAlpha (0.35f));
        g.drawRect (r, 1);
    }
    for (const auto& id : selected)
    {
        auto r = controller.surfaceBounds (id);
        if (drag == Drag::move)
            r += dragOffset;
        else if (drag == Drag::resize)
            r = r.withSize (juce::jmax (2, r.getWidth() + dragOffset.x), juce::jmax (2, r.getHeight() + dragOffset.y));
        g.setColour (palette::highlight.withAlpha (0.18f));
        g.fillRect (r);
        g.setColour (palette::highlight);
        g.drawRect (r, 2);
        g.fillRect (r.getRight() - handleSize, r.getBottom() - handleSize, handleSize, handleSize);
    }
    if (!selected.empty())
    {
        const auto r = controller.surfaceBounds (selected.front());
        const auto local = controller.session().rect (selected.front());
        const auto caption = juce::String (selected.front()) + "  " + juce::String (local.x) + ", " +
                             juce::String (local.y) + "  " + juce::String (local.width) + " x " +
                             juce::String (local.height);
        g.setFont (juce::Font (12.0f, juce::Font::bold));
        const int w = g.getCurrentFont().getStringWidth (caption) + 12;
        juce::Rectangle<int> box (juce::jlimit (0, juce::jmax (0, getWidth() - w), r.getX()),
                                  juce::jmax (0, r.getY() - 20), w, 18);
        g.setColour (juce::Colours::black.withAlpha (0.8f));
        g.fillRoundedRectangle (box.toFloat(), 3.0f);
        g.setColour (palette::highlight);
        g.drawText (caption, box, juce::Justification::centred);
    }
}

std::string LayoutOverlay::itemAt (juce::Point<int> p) const
{
    // Children come after their parents, so the last hit is the one drawn on top.
    std::string found;
    for (const auto& item : controller.currentItems())
        if (!isContainer (item) && isShownWithin (*item.component, *getParentComponent()) &&
            controller.surfaceBounds (item.id).contains (p))
            found = item.id;
    return found;
}

bool LayoutOverlay::onHandle (juce::Point<int> p) const
{
    for (const auto& id : controller.session().selected())
    {
        const auto r = controller.surfaceBounds (id);
        if (juce::Rectangle<int> (r.getRight() - handleSize, r.getBottom() - handleSize, handleSize, handleSize)
                .contains (p))
            return true;
    }
    return false;
}

void LayoutOverlay::mouseDown (const juce::MouseEvent& e)
{
    grabKeyboardFocus();
    dragOffset = {};
    if (e.mods.isPopupMenu())
    {
        if (const auto id = itemAt (e.getPosition()); !id.empty() && controller.onItemMenu)
            controller.onItemMenu (id);
        return;
    }
    if (onHandle (e.getPosition()))
    {
        drag = Drag::resize;
        return;
    }
    const auto id = itemAt (e.getPosition());
    auto& s = controller.session();
    if (id.empty())
        s.clearSelection();
    else if (e.mods.isShiftDown() || e.mods.isCommandDown())
        s.select (id, true);
    else if (std::find (s.selected().begin(), s.selected().end(), id) == s.selected().end())
        s.select (id, false);
    drag = id.empty() ? Drag::none : Drag::move;
    controller.changed();
}

void LayoutOverlay::mouseDrag (const juce::MouseEvent& e)
{
    if (drag == Drag::none)
        return;
    dragOffset = e.getOffsetFromDragStart();
    repaint();
}

void LayoutOverlay::mouseUp (const juce::MouseEvent&)
{
    const auto d = drag;
    const auto offset = dragOffset;
    drag = Drag::none;
    dragOffset = {};
    if (d == Drag::move && offset != juce::Point<int>())
        controller.session().moveSelection (offset.x, offset.y);
    else if (d == Drag::resize && offset != juce::Point<int>())
        controller.session().resizeSelection (offset.x, offset.y);
    controller.apply();
    controller.changed();
}

bool LayoutOverlay::keyPressed (const juce::KeyPress& key)
{
    auto& s = controller.session();
    const int step = key.getModifiers().isShiftDown() ? 10 : LayoutEditSession::grid;
    const int code = key.getKeyCode();
    if (key == juce::KeyPress ('z', juce::ModifierKeys::commandModifier, 0))
        s.undo();
    else if (code == juce::KeyPress::leftKey)
        s.moveSelection (-step, 0);
    else if (code == juce::KeyPress::rightKey)
        s.moveSelection (step, 0);
    else if (code == juce::KeyPress::upKey)
        s.moveSelection (0, -step);
    else if (code == juce::KeyPress::downKey)
        s.moveSelection (0, step);
    else if (code == juce::KeyPress::escapeKey)
    {
        // Escape first drops the selection, then closes a popup opened for arranging.
        if (s.selected().empty() && controller.onDismissPopup)
            controller.onDismissPopup();
        s.clearSelection();
    }
    else
        return false;
    controller.apply();
    controller.changed();
    return true;
}

} // namespace orvo
