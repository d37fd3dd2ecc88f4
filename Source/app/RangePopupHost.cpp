#include "RangePopupHost.h"

namespace orvo
{

RangePopupHost::RangePopupHost (juce::Component& e, LayoutController& l) : editor (e), layout (l)
{
    layout.onItemMenu = [this] (const std::string& id)
    {
        if (auto* control = dynamic_cast<ParameterControl*> (layout.component (id));
            control != nullptr && control->getInfo().kind == kindContinuous)
            open (*control);
    };
    layout.onDismissPopup = [this] { closeInEditor(); };
    layout.listeners.push_back (
        [this]
        {
            if (inEditor != nullptr && openedInLayoutMode && !layout.isLayoutMode())
                closeInEditor();
        });
    listener = layout.listeners.size() - 1;
}

RangePopupHost::~RangePopupHost()
{
    layout.listeners[listener] = nullptr;
    layout.onItemMenu = nullptr;
    layout.onDismissPopup = nullptr;
    // A call-out box still open keeps its popup a little longer than the editor's look and feel.
    if (auto* popup = inBox.getComponent())
        popup->setLookAndFeel (nullptr);
    if (inEditor != nullptr)
        editor.removeChildComponent (inEditor.get());
}

void RangePopupHost::open (ParameterControl& control)
{
    if (layout.isLayoutMode())
        return showInEditor (control);
    auto popup = std::make_unique<ParameterRangePopup> (control.getInfo(), control.customRange(), control.shownValue());
    juce::Component::SafePointer<ParameterControl> safeControl (&control);
    popup->setLookAndFeel (&editor.getLookAndFeel());
    layout.applyToPopup (*popup);
    auto* raw = popup.get();
    inBox = raw;
    auto& box = juce::CallOutBox::launchAsynchronously (std::move (popup), control.getScreenBounds(), nullptr);
    juce::Component::SafePointer<juce::CallOutBox> safeBox (&box);
    raw->onAccepted = [safeBox, safeControl] (const CustomKnobRange& range)
    {
        if (safeControl != nullptr)
            safeControl->setCustomRange (range);
        if (safeBox != nullptr)
            safeBox->dismiss();
    };
}

void RangePopupHost::showInEditor (ParameterControl& control)
{
    closeInEditor();
    openedInLayoutMode = layout.isLayoutMode();
    juce::Component::SafePointer<ParameterControl> safeControl (&control);
    inEditor = std::make_unique<ParameterRangePopup> (control.getInfo(), control.customRange(), control.shownValue());
    inEditor->onAccepted = [safeControl] (const CustomKnobRange& range)
    {
        if (safeControl != nullptr)
            safeControl->setCustomRange (range);
    };
    // Under the control (or above it near the foot of the editor), kept inside the editor.
    const auto at = editor.getLocalArea (control.getParentComponent(), control.getBounds());
    auto bounds = inEditor->getBounds().withPosition (at.getX(), at.getBottom() + 4);
    if (bounds.getBottom() > editor.getHeight())
        bounds.setY (at.getY() - bounds.getHeight() - 4);
    inEditor->setBounds (bounds.constrainedWithin (editor.getLocalBounds()));
    editor.addAndMakeVisible (*inEditor);
    layout.forgetItems (ParameterRangeRules::popupLayoutId);
    layout.apply();
    layout.changed();
}

void RangePopupHost::closeInEditor()
{
    if (inEditor == nullptr)
        return;
    editor.removeChildComponent (inEditor.get());
    inEditor.reset();
    // The layout must not keep pointers to the popup's items.
    layout.forgetItems (ParameterRangeRules::popupLayoutId);
    layout.apply();
}

} // namespace orvo
