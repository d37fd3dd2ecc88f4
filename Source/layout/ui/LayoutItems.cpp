#include "LayoutItems.h"

#include "model/ui/InterfaceControlView.h"
#include "model/ui/ParameterControl.h"

namespace orvo
{
namespace
{
bool isComposite (juce::Component& c)
{
    return dynamic_cast<ParameterControl*> (&c) != nullptr || dynamic_cast<InterfaceControlView*> (&c) != nullptr ||
           dynamic_cast<juce::ComboBox*> (&c) != nullptr || dynamic_cast<juce::Slider*> (&c) != nullptr ||
           dynamic_cast<juce::TextEditor*> (&c) != nullptr || dynamic_cast<juce::Button*> (&c) != nullptr ||
           dynamic_cast<juce::Label*> (&c) != nullptr;
}

struct Walker
{
    std::vector<LayoutItemRef> items;

    void walk (juce::Component& c, const std::string& prefix, const std::string& autoBase)
    {
        int autoCount = 0;
        for (auto* child : c.getChildren())
            visit (*child, prefix, autoBase, autoCount);
    }

    void visit (juce::Component& child, const std::string& prefix, const std::string& autoBase, int& autoCount)
    {
        if (child.getProperties()[layoutProperty::passThrough])
        {
            if (auto* view = dynamic_cast<juce::Viewport*> (&child); view != nullptr && view->getViewedComponent() != nullptr)
                visit (*view->getViewedComponent(), prefix, autoBase, autoCount);
            return;
        }
        const auto own = child.getComponentID().toStdString();
        const bool isPane =
            own.rfind ("sidebar.", 0) == 0 && own.size() > 5 && own.compare (own.size() - 5, 5, ".pane") == 0;
        if (isPane)
        {
            // A pane's tool items carry the pane in their ids.
            const auto panePrefix = own.substr (0, own.size() - 4);
            items.push_back ({ own, &child, "Component" });
            walk (child, panePrefix, panePrefix + "pane.item");
            return;
        }
        std::string full;
        if (own.empty())
        {
            if (autoBase.empty())
                return; // a piece of an item that has an id
            // Views made at run time get their id here, once, so it stays the same while they live.
            full = autoBase + std::to_string (autoCount++);
            child.setComponentID (full);
        }
        else
        {
            // A shared display moves between the panes: an id it was given in one takes the other's prefix.
            auto bare = own;
            for (const std::string pane : { "sidebar.top.", "sidebar.bottom." })
                if (!prefix.empty() && bare.rfind (pane, 0) == 0)
                    bare.erase (0, pane.size());
            full = prefix + bare;
        }
        items.push_back ({ full, &child, layoutItemKind (child) });
        if (isComposite (child))
            return;
        std::string childAuto;
        if (full.rfind ("editor.page", 0) == 0 && full.find ('.', 11) == std::string::npos)
            childAuto = "editor.auto.page" + full.substr (11) + ".";
        else if (!prefix.empty())
            childAuto = full + ".item";
        walk (child, prefix, childAuto);
    }
};
} // namespace

std::string layoutItemKind (juce::Component& c)
{
    const auto id = c.getComponentID();
    if (id.endsWith ("Led") || id.endsWith (".led"))
        return "LED";
    if (id.endsWith (".header"))
        return "Section Header";
    if (id.startsWith ("editor.display."))
        return "Curve Display";
    if (dynamic_cast<ParameterControl*> (&c) != nullptr || dynamic_cast<juce::Slider*> (&c) != nullptr)
        return "Slider/Knob";
    if (dynamic_cast<juce::Button*> (&c) != nullptr || dynamic_cast<InterfaceControlView*> (&c) != nullptr)
        return "Button";
    if (dynamic_cast<juce::ComboBox*> (&c) != nullptr)
        return "Dropdown";
    if (auto* e = dynamic_cast<juce::TextEditor*> (&c))
        return e->isReadOnly() ? "Text Display" : "Text Editor";
    if (dynamic_cast<juce::Label*> (&c) != nullptr)
        return "Label";
    return "Component";
}

std::vector<LayoutItemRef> collectLayoutItems (juce::Component& root)
{
    Walker w;
    w.walk (root, {}, {});
    return std::move (w.items);
}

bool isShownWithin (juce::Component& c, juce::Component& root)
{
    for (auto* p = &c; p != nullptr && p != &root; p = p->getParentComponent())
        if (!p->isVisible())
            return false;
    return true;
}

} // namespace orvo
