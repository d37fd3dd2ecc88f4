#include "ParameterHelpPanel.h"

#include "engine/HelpLookup.h"

namespace orvo
{

ParameterHelpPanel::ParameterHelpPanel (std::function<std::string()> key) : selectedKey (std::move (key))
{
    setComponentID ("help");
    view.setComponentID ("parameterHelp.display");
    view.setMultiLine (true, true);
    view.setReadOnly (true);
    view.setCaretVisible (false);
    view.setScrollbarsShown (true);
    view.setFont (juce::Font (13.0f));
    addAndMakeVisible (view);
    refresh();
}

void ParameterHelpPanel::refresh()
{
    const auto key = selectedKey ? selectedKey() : std::string();
    if (key == shownKey)
        return;
    shownKey = key;
    std::string text;
    if (key.empty())
        text = "PARAMETER HELP\n\nClick a control to read what it does and how to use it.";
    else if (const auto* help = helpFor (key))
        text = ParameterHelp::paneText (*help);
    else
        text = "PARAMETER HELP\n\nNo help is written for " + key + " yet.";
    view.setText (juce::String::fromUTF8 (text.c_str()), false);
    view.moveCaretToTop (false);
}

void ParameterHelpPanel::resized()
{
    view.setBounds (getLocalBounds());
}

} // namespace orvo
