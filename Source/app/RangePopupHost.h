#pragma once

#include "layout/ui/LayoutController.h"
#include "model/ui/ParameterControl.h"
#include "model/ui/ParameterRangePopup.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace orvo
{

/** Shows a control's custom range popup. Normally it opens in a call-out box beside the control; in
    layout mode (a right-click on a knob) it opens inside the editor, where the overlay selects, moves
    and resizes its items like any other. Either way the popup takes the places the layout gives
    its items. It closes when layout mode ends. */
class RangePopupHost
{
public:
    RangePopupHost (juce::Component& editor, LayoutController& layout);
    ~RangePopupHost();

    /** In a call-out box, or in layout mode inside the editor. */
    void open (ParameterControl& control);
    void showInEditor (ParameterControl& control);
    bool isOpenInEditor() const { return inEditor != nullptr; }
    void closeInEditor();

private:
    juce::Component& editor;
    LayoutController& layout;
    std::unique_ptr<ParameterRangePopup> inEditor;
    juce::Component::SafePointer<juce::Component> inBox;
    size_t listener = 0;
    bool openedInLayoutMode = false;
};

} // namespace orvo
