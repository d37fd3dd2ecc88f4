#pragma once

#include "engine/MidiConnection.h"
#include "engine/ToolsController.h"
#include "instrument/VirtualController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace orvo
{

/** A sidebar tool's view: it shows the tools' state and forwards the player's actions. */
class ToolPanel : public juce::Component
{
public:
    /** The tools changed (tick, controller input, another pane). */
    virtual void refresh() = 0;
};

/** MORPH KNOB: the knob, four slots with their endpoints, and the slot actions. */
class MorphKnobPanel final : public ToolPanel
{
public:
    explicit MorphKnobPanel (ToolsController& tools);
    void refresh() override;
    void resized() override;
    void paint (juce::Graphics&) override;

private:
    enum class Mode
    {
        normal,
        assign,
        flip,
        clear
    };
    void slotClicked (int index);
    ToolsController& tools;
    Mode mode = Mode::normal;
    juce::Slider knob{ juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::TextBoxBelow };
    juce::TextButton assignButton{ "ASSIGN" }, flipButton{ "FLIP" }, clearButton{ "CLEAR" }, randomButton{ "RANDOM" },
        shuffleButton{ "SHUFFLE" };
    struct SlotRow
    {
        juce::TextButton select;
        juce::Label name;
        juce::Slider low{ juce::Slider::LinearHorizontal, juce::Slider::TextBoxLeft };
        juce::Slider high{ juce::Slider::LinearHorizontal, juce::Slider::TextBoxLeft };
    };
    std::array<SlotRow, MorphKnob::numSlots> rows;
};

/** MACROS: eight knobs with their targets, ASSIGN and CLEAR, and the status line. */
class MacrosPanel final : public ToolPanel
{
public:
    explicit MacrosPanel (ToolsController& tools);
    void refresh() override;
    void resized() override;

private:
    ToolsController& tools;
    struct MacroView
    {
        juce::Slider knob{ juce::Slider::RotaryHorizontalVerticalDrag, juce::Slider::NoTextBox };
        juce::TextButton name;
    };
    std::array<MacroView, Macros::count> views;
    juce::TextButton assignButton{ "ASSIGN" }, clearButton{ "CLEAR" };
    juce::Label status;
};

/** MIDI CONTROL: the controller input, the target, LEARN and CLEAR, and the assignments. */
class MidiControlPanel final : public ToolPanel
{
public:
    /** `settingsChanged` stores the listen channel or decode mode the player chose. */
    MidiControlPanel (ToolsController& tools, MidiConnection& midi, EditorEngine& engine,
                      VirtualController& virtualController, std::function<void()> settingsChanged);
    void refresh() override;
    void resized() override;

private:
    ToolsController& tools;
    MidiConnection& midi;
    EditorEngine& engine;
    VirtualController& virtualController;
    std::function<void()> onSettingsChanged;
    /** With the Virtual Controller chosen: a knob that sends a 14-bit CC 7 on channel 1, to try mapping. */
    juce::Slider virtualKnob{ juce::Slider::LinearHorizontal, juce::Slider::TextBoxRight };
    juce::Label virtualCaption;
    juce::ComboBox input, channel, mode;
    juce::TextButton openButton{ "OPEN" }, learnButton{ "LEARN" }, clearButton{ "CLEAR" };
    juce::Label target, assignment;
    juce::TextEditor list;
};

/** NOTES: the selected slot's notes, saved with the slot as they are typed. */
class NotesPanel final : public ToolPanel
{
public:
    explicit NotesPanel (ToolsController& tools);
    void refresh() override;
    void resized() override;

private:
    ToolsController& tools;
    juce::Label title;
    juce::TextEditor editor;
};

/** The view of a sidebar tool that is not a shared display, or null. */
std::unique_ptr<ToolPanel> makeToolPanel (int tool, ToolsController& tools, MidiConnection& midi, EditorEngine& engine,
                                          VirtualController& virtualController, std::function<void()> settingsChanged);

} // namespace orvo
