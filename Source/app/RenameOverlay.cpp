#include "RenameOverlay.h"

#include "data/ProgramRebuild.h"
#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
constexpr int boxWidth = 460, boxHeight = 250;
}

RenameOverlay::RenameOverlay()
{
    setComponentID ("overlay.renameProgram");
    hint.setText ("Enter a new Orvo Program name using 1 to 16 printable characters.", juce::dontSendNotification);
    hint.setJustificationType (juce::Justification::centred);
    status.setJustificationType (juce::Justification::centred);
    field.setInputRestrictions (16);
    field.onTextChange = [this] { check(); };
    field.onReturnKey = [this] { accept(); };
    field.onEscapeKey = [this] { setVisible (false); };
    rename.onClick = [this] { accept(); };
    cancel.onClick = [this] { setVisible (false); };
    for (auto* c : std::initializer_list<juce::Component*>{ &currentLabel, &currentName, &newLabel, &hint, &status, &field, &rename, &cancel })
        addAndMakeVisible (c);
    setInterceptsMouseClicks (true, true);
    setWantsKeyboardFocus (true);
}

void RenameOverlay::open (const std::string& name)
{
    current = name;
    currentName.setText (juce::String::fromUTF8 (name.c_str()), juce::dontSendNotification);
    field.setText (juce::String::fromUTF8 (name.c_str()), juce::dontSendNotification);
    check();
    setVisible (true);
    toFront (true);
    field.grabKeyboardFocus();
    field.selectAll();
}

void RenameOverlay::check()
{
    const auto result = validateRenameText (field.getText().toStdString(), current);
    candidate = result.valid ? result.candidate : std::string();
    status.setText (result.message, juce::dontSendNotification);
    status.setColour (juce::Label::textColourId, result.valid ? palette::text : juce::Colour (0xffffb347));
    rename.setEnabled (result.valid);
}

void RenameOverlay::accept()
{
    if (candidate.empty())
        return;
    setVisible (false);
    if (onRename)
        onRename (candidate);
}

bool RenameOverlay::keyPressed (const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey)
    {
        setVisible (false);
        return true;
    }
    return false;
}

void RenameOverlay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black.withAlpha (0.55f));
    const auto box = getLocalBounds().withSizeKeepingCentre (boxWidth, boxHeight).toFloat();
    g.setColour (palette::panel);
    g.fillRoundedRectangle (box, 8.0f);
    g.setColour (palette::accent);
    g.drawRoundedRectangle (box.reduced (0.5f), 8.0f, 1.5f);
    g.setColour (palette::text);
    g.setFont (juce::Font (13.0f, juce::Font::bold));
    g.drawText ("RENAME PROGRAM", box.toNearestInt().withHeight (34), juce::Justification::centred);
    for (auto* l : { &currentLabel, &currentName, &newLabel, &hint })
        l->setColour (juce::Label::textColourId, palette::text);
}

void RenameOverlay::resized()
{
    auto box = getLocalBounds().withSizeKeepingCentre (boxWidth, boxHeight).reduced (20);
    box.removeFromTop (24);
    auto row = box.removeFromTop (26);
    currentLabel.setBounds (row.removeFromLeft (120));
    currentName.setBounds (row);
    box.removeFromTop (8);
    row = box.removeFromTop (28);
    newLabel.setBounds (row.removeFromLeft (120));
    field.setBounds (row);
    box.removeFromTop (6);
    hint.setBounds (box.removeFromTop (22));
    status.setBounds (box.removeFromTop (22));
    box.removeFromTop (10);
    auto buttons = box.removeFromTop (28).withSizeKeepingCentre (260, 28);
    rename.setBounds (buttons.removeFromLeft (120));
    cancel.setBounds (buttons.removeFromRight (120));
}

} // namespace orvo
