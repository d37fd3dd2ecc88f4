#include "SidebarViews.h"

namespace orvo
{

MonitorPanel::MonitorPanel (EditorEngine& e) : engine (e)
{
    setComponentID ("monitor");
    const auto setUp = [this] (juce::TextButton& b, Led& led, const char* id, const char* tooltip, bool on,
                               std::function<void (bool)> action) {
        b.setComponentID (id);
        b.setClickingTogglesState (true);
        b.setToggleState (on, juce::dontSendNotification);
        led.setOn (on);
        b.setTooltip (tooltip);
        led.setTooltip (tooltip);
        b.onClick = [&b, &led, action] {
            led.setOn (b.getToggleState());
            action (b.getToggleState());
        };
        addAndMakeVisible (b);
    };
    setUp (midiIn, midiInLed, "monitor.midiIn", "Show the MIDI the editor receives in the log.",
           engine.log().midiInputMonitor.load(), [this] (bool on) {
               engine.setMidiInputMonitor (on);
               if (onMonitorSwitched)
                   onMonitorSwitched();
           });
    setUp (midiOut, midiOutLed, "monitor.midiOut", "Show the MIDI the editor sends in the log.",
           engine.log().midiOutputMonitor.load(), [this] (bool on) {
               engine.setMidiOutputMonitor (on);
               if (onMonitorSwitched)
                   onMonitorSwitched();
           });
    setUp (diagnostics, diagnosticsLed, "monitor.diagnostics",
           "In Diagnostic Mode, flash each control whose value changes from outside the editor.",
           engine.log().diagnosticHighlight.load(), [this] (bool on) { engine.setDiagnosticHighlight (on); });
    midiInLed.setComponentID ("monitor.midiInLed");
    midiOutLed.setComponentID ("monitor.midiOutLed");
    diagnosticsLed.setComponentID ("monitor.diagnosticsLed");
    for (auto* led : { &midiInLed, &midiOutLed, &diagnosticsLed })
        addAndMakeVisible (*led);

    copyButton.setComponentID ("monitor.copy");
    copyButton.setTooltip ("Copy the whole log to the clipboard.");
    clearButton.setTooltip ("Empty the log.");
    copyButton.onClick = [this] { engine.copyLog(); };
    clearButton.setComponentID ("monitor.clear");
    clearButton.onClick = [this] { engine.log().clear(); };
    addAndMakeVisible (copyButton);
    addAndMakeVisible (clearButton);

    logView.setComponentID ("monitor.log");
    logView.setMultiLine (true, true);
    logView.setReadOnly (true);
    logView.setCaretVisible (false);
    logView.setScrollbarsShown (true);
    logView.setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 11.5f, juce::Font::plain));
    logView.setText (engine.log().text(), false);
    addAndMakeVisible (logView);
    engine.log().setListener (this);
}

MonitorPanel::~MonitorPanel() { engine.log().setListener (nullptr); }

void MonitorPanel::logAppended (const std::string& text)
{
    logView.setReadOnly (false);
    logView.moveCaretToEnd();
    logView.insertTextAtCaret (juce::String::fromUTF8 (text.data(), (int) text.size()));
    logView.setReadOnly (true);
}

void MonitorPanel::logReplaced (const std::string& wholeText)
{
    logView.setText (juce::String::fromUTF8 (wholeText.data(), (int) wholeText.size()), false);
    logView.moveCaretToEnd();
}

void MonitorPanel::resized()
{
    auto area = getLocalBounds();
    auto row = area.removeFromTop (24);
    const int each = row.getWidth() / 3;
    for (auto [b, led] : { std::pair<juce::Button*, Led*> { &midiIn, &midiInLed }, { &midiOut, &midiOutLed },
                           { &diagnostics, &diagnosticsLed } })
    {
        auto cell = row.removeFromLeft (each).reduced (2, 1);
        led->setBounds (cell.removeFromLeft (12).withSizeKeepingCentre (12, 12));
        cell.removeFromLeft (3);
        b->setBounds (cell);
    }
    area.removeFromTop (4);
    auto buttons = area.removeFromTop (22);
    copyButton.setBounds (buttons.removeFromLeft (buttons.getWidth() / 2).reduced (2, 0));
    clearButton.setBounds (buttons.reduced (2, 0));
    area.removeFromTop (4);
    logView.setBounds (area);
}

ParameterDetailsPanel::ParameterDetailsPanel()
{
    setComponentID ("details");
    view.setComponentID ("parameterDetails.display");
    view.setMultiLine (true, true);
    view.setReadOnly (true);
    view.setCaretVisible (false);
    view.setFont (juce::Font (13.0f));
    addAndMakeVisible (view);
}

void ParameterDetailsPanel::setText (const juce::String& text)
{
    if (view.getText() != text)
        view.setText (text, false);
}

void ParameterDetailsPanel::resized() { view.setBounds (getLocalBounds()); }

SidebarPane::SidebarPane (EditorEngine& e, int paneIndex, MonitorPanel& m, ParameterDetailsPanel& d)
    : engine (e), pane (paneIndex), monitor (m), details (d)
{
    const juce::String prefix = pane == SidebarModel::top ? "sidebar.top." : "sidebar.bottom.";
    setComponentID (prefix + "pane");
    chooser.setComponentID (prefix + "tool");
    chooser.setTooltip ("Choose the tool this sidebar shows.");
    chooser.onChange = [this] {
        const int tool = chooser.getSelectedId();
        if (tool > 0 && tool != engine.sidebars().tool (pane))
        {
            engine.setSidebarTool (pane, tool);
            if (onToolChanged)
                onToolChanged();
        }
    };
    addAndMakeVisible (chooser);
    placeholder.setJustificationType (juce::Justification::centredTop);
    placeholder.setFont (juce::Font (14.0f));
    placeholder.setComponentID ("placeholder");
    addChildComponent (placeholder);
}

void SidebarPane::refresh()
{
    chooser.clear (juce::dontSendNotification);
    for (int tool : SidebarModel::toolList (engine.settings().diagnosticMode, engine.sidebars().isDigitalFxLayoutEditing()))
        chooser.addItem (SidebarModel::toolName (tool), tool);
    chooser.setSelectedId (engine.sidebars().tool (pane), juce::dontSendNotification);
    resized();
}

void SidebarPane::paint (juce::Graphics& g)
{
    placeholder.setColour (juce::Label::textColourId, palette::dimText);
    g.setColour (palette::panel);
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 5.0f);
    g.setColour (palette::panelOutline);
    g.drawRoundedRectangle (getLocalBounds().toFloat().reduced (0.5f), 5.0f, 1.0f);
}

void SidebarPane::resized()
{
    auto area = getLocalBounds().reduced (6);
    chooser.setBounds (area.removeFromTop (26));
    area.removeFromTop (6);

    const int tool = engine.sidebars().tool (pane);
    const bool shared = tool == SidebarModel::monitor || tool == SidebarModel::parameterDetails;
    if (shared || toolViewTool != tool)
    {
        toolView.reset();
        toolViewTool = 0;
    }
    if (shared && ! engine.sidebars().showsPlaceholder (pane))
    {
        placeholder.setVisible (false);
        juce::Component& view = tool == SidebarModel::monitor ? static_cast<juce::Component&> (monitor) : details;
        addAndMakeVisible (view);
        view.setBounds (area);
        return;
    }
    // Let go of a shared display this pane no longer shows.
    for (juce::Component* view : { static_cast<juce::Component*> (&monitor), static_cast<juce::Component*> (&details) })
        if (view->getParentComponent() == this)
            removeChildComponent (view);

    if (!shared && makeToolView)
    {
        if (toolViewTool != tool || toolView == nullptr)
        {
            toolView = makeToolView (tool);
            toolViewTool = tool;
            if (toolView != nullptr)
                addAndMakeVisible (*toolView);
        }
        if (toolView != nullptr)
        {
            placeholder.setVisible (false);
            toolView->setBounds (area);
            return;
        }
    }
    if (shared)
        placeholder.setText (juce::String (SidebarModel::placeholderTitle (tool)) + "\n\n" + SidebarModel::placeholderText (tool),
                             juce::dontSendNotification);
    else
        placeholder.setText (juce::String (SidebarModel::toolName (tool))
                                 + "\n\nThis tool is not available in this version of the editor yet.",
                             juce::dontSendNotification);
    placeholder.setBounds (area);
    placeholder.setVisible (true);
}

} // namespace orvo
