#pragma once

#include "ui/OrvoLookAndFeel.h"
#include "engine/EditorEngine.h"
#include "tools/ui/ToolPanels.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace orvo
{

/** A small round lamp beside a switch. */
class Led final : public juce::Component, public juce::SettableTooltipClient
{
public:
    void setOn (bool on)
    {
        if (on != lit)
        {
            lit = on;
            repaint();
        }
    }
    void paint (juce::Graphics& g) override
    {
        const auto r = ledArea (*this, 1.0f);
        g.setColour (ledColour (*this, lit));
        g.fillEllipse (r);
        g.setColour (juce::Colours::black.withAlpha (0.5f));
        g.drawEllipse (r, 1.0f);
    }

private:
    bool lit = false;
};

/** The MONITOR tool: its switches, copy and clear, and the log text. */
class MonitorPanel final : public juce::Component, private MonitorLog::Listener
{
public:
    explicit MonitorPanel (EditorEngine& engine);
    ~MonitorPanel() override;
    /** MIDI IN or MIDI OUT was switched. */
    std::function<void()> onMonitorSwitched;
    void resized() override;

private:
    void logAppended (const std::string& text) override;
    void logReplaced (const std::string& wholeText) override;

    EditorEngine& engine;
    juce::TextButton midiIn { "MIDI IN" }, midiOut { "MIDI OUT" }, diagnostics { "DIAGNOSTICS" };
    Led midiInLed, midiOutLed, diagnosticsLed;
    juce::TextButton copyButton { "COPY" }, clearButton { "CLEAR" };
    juce::TextEditor logView;
};

/** The PARAMETER DETAILS tool. */
class ParameterDetailsPanel final : public juce::Component
{
public:
    ParameterDetailsPanel();
    void setText (const juce::String& text);
    void resized() override;

private:
    juce::TextEditor view;
};

/** One sidebar pane: its tool chooser and the tool it shows. */
class SidebarPane final : public juce::Component
{
public:
    SidebarPane (EditorEngine& engine, int pane, MonitorPanel& monitor, ParameterDetailsPanel& details);

    std::function<void()> onToolChanged;
    /** Builds the view of a tool that is not a shared display (MORPH KNOB, MACROS, ...); null for none. */
    std::function<std::unique_ptr<ToolPanel> (int tool)> makeToolView;
    /** The tools changed: the tool view shows them again. */
    void refreshToolView()
    {
        if (toolView != nullptr)
            toolView->refresh();
    }
    /** Rebuilds the chooser (the list depends on diagnostic mode) and places the tool. */
    void refresh();
    void paint (juce::Graphics&) override;
    void resized() override;

private:
    EditorEngine& engine;
    const int pane;
    MonitorPanel& monitor;
    ParameterDetailsPanel& details;
    juce::ComboBox chooser;
    juce::Label placeholder;
    std::unique_ptr<ToolPanel> toolView;
    int toolViewTool = 0;
};

} // namespace orvo
