#pragma once

#include "LayoutController.h"
#include "tools/ui/ToolPanels.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace orvo
{

/** LAYOUT EDIT: layout mode on and off, the file actions and the edits of the selection. */
class LayoutEditPanel final : public ToolPanel
{
public:
    explicit LayoutEditPanel (LayoutController& controller);
    ~LayoutEditPanel() override;
    void refresh() override;
    void resized() override;

private:
    LayoutController& controller;
    juce::TextButton modeButton, save{ "SAVE" }, saveAs{ "SAVE AS" }, load{ "LOAD" }, undo{ "UNDO" }, fit{ "FIT PAGE" },
        group{ "GROUP" }, manualGroup{ "MANUAL GROUP" }, lock{ "LOCK" }, reset{ "RESET" }, resetAll{ "RESET ALL" },
        front{ "FRONT" }, back{ "BACK" };
    juce::Label info;
    size_t listener = 0;
};

/** PARAMETER ATTRIBUTES: the selected item's rectangle and style attributes, edited in place. */
class LayoutAttributesPanel final : public ToolPanel
{
public:
    explicit LayoutAttributesPanel (LayoutController& controller);
    ~LayoutAttributesPanel() override;
    void refresh() override;
    void resized() override;

private:
    void commit();

    LayoutController& controller;
    juce::Label title;
    struct Field
    {
        juce::Label caption;
        juce::TextEditor editor;
    };
    // X, Y, W, H, FONT SIZE, SIZE (DIAM for an LED), LCD SCALE, TEXT SHIFT, LCD INSETS and SHIFT, TEXT
    std::array<Field, 12> fields;
    static constexpr size_t textField = 11;
    juce::ToggleButton bold{ "BOLD" };
    juce::Label buttonStyleCaption{ {}, "BUTTON STYLE" }, ledColorCaption{ {}, "LED COLOR" };
    juce::ComboBox buttonStyle, ledColor;
    size_t listener = 0;
    std::string shownId;
};

/** DIGITAL FX CONFIG: the layout of the current effect algorithm's controls, kept per algorithm. */
class DigitalFxConfigPanel final : public ToolPanel
{
public:
    explicit DigitalFxConfigPanel (LayoutController& controller);
    ~DigitalFxConfigPanel() override;
    void refresh() override;
    void resized() override;

private:
    LayoutController& controller;
    juce::TextButton save{ "SAVE FX LAYOUT" }, reload{ "RELOAD FX LAYOUT" };
    juce::Label info;
    size_t listener = 0;
};

/** PARAMETER PROPERTIES: what the selected item is and the parameter it shows. */
class LayoutPropertiesPanel final : public ToolPanel
{
public:
    explicit LayoutPropertiesPanel (LayoutController& controller);
    ~LayoutPropertiesPanel() override;
    void refresh() override;
    void resized() override;

private:
    LayoutController& controller;
    juce::TextEditor view;
    size_t listener = 0;
};

} // namespace orvo
