#include "BottomBar.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

BottomBar::BottomBar (ProgramSelector& s) : selector (s)
{
    bankLeft.setTooltip ("Previous bank");
    bankRight.setTooltip ("Next bank");
    programDown.setTooltip ("Previous Program (wraps from 000 to 127)");
    programUp.setTooltip ("Next Program (wraps from 127 to 000)");
    bankLeft.onClick = [this] { selector.stepBank (-1); };
    bankRight.onClick = [this] { selector.stepBank (1); };
    programDown.onClick = [this] { selector.stepProgram (-1); };
    programUp.onClick = [this] { selector.stepProgram (1); };
    mixSettings.setTooltip ("Read the current Orvo Mix and edit its 16 channels.");
    mixSettings.onClick = [this] {
        if (onMixSettings != nullptr)
            onMixSettings();
    };
    clearKnobs.setTooltip ("Clear the custom ranges of every knob.");
    for (auto* c : std::initializer_list<juce::SettableTooltipClient*> { &bankLabel, &bankName })
        c->setTooltip ("The selected bank; the arrows beside it step through the banks.");
    programNumber.setTooltip ("The selected Program number; - and + step through them.");
    patchName.addMouseListener (this, false);
    for (auto* c : std::initializer_list<juce::SettableTooltipClient*> { &programLed, &programLedLabel })
        c->setTooltip ("Lit while the Orvo plays a Program.");
    for (auto* c : std::initializer_list<juce::SettableTooltipClient*> { &mixLed, &mixLedLabel })
        c->setTooltip ("Lit while the Orvo plays a Mix.");
    clearKnobs.onClick = [this] {
        if (onClearKnobs != nullptr)
            onClearKnobs();
    };
    for (auto* l : { &bankLabel, &programLedLabel, &mixLedLabel })
    {
        l->setFont (juce::Font (11.0f, juce::Font::bold));
        l->setJustificationType (juce::Justification::centredRight);
    }
    for (auto* l : { &bankName, &programNumber, &patchName })
    {
        l->setFont (juce::Font (juce::Font::getDefaultMonospacedFontName(), 14.0f, juce::Font::bold));
        l->setJustificationType (juce::Justification::centred);
        l->setMinimumHorizontalScale (0.6f);
    }
    lookAndFeelChanged();
    patchName.setJustificationType (juce::Justification::centredLeft);
    for (auto* c : std::initializer_list<juce::Component*> { &bankLeft, &bankLabel, &bankName, &bankRight, &programDown, &programNumber,
                                                             &programUp, &patchName, &programLed, &programLedLabel, &mixLed,
                                                             &mixLedLabel, &mixSettings, &clearKnobs })
        addAndMakeVisible (c);
}

std::vector<std::pair<juce::Component*, juce::String>> BottomBar::items()
{
    return { { &bankLeft, "bottom.bankLeft" },       { &bankRight, "bottom.bankRight" },
             { &bankName, "bottom.bankName" },       { &bankLabel, "bottom.bankLabel" },
             { &programDown, "bottom.programDown" }, { &programUp, "bottom.programUp" },
             { &programNumber, "bottom.programNumber" }, { &patchName, "bottom.patchName" },
             { &programLed, "bottom.programLed" },   { &mixLed, "bottom.mixLed" },
             { &mixSettings, "bottom.mixSettings" }, { &clearKnobs, "bottom.clearKnobs" } };
}

void BottomBar::refresh (bool diagnosticMode)
{
    const auto name = selector.patchNameText (diagnosticMode);
    const auto bank = selector.bankText();
    // A loaded bank may bring a new display name for the same bank, so the texts are part of the key.
    const auto key = juce::String::fromUTF8 (bank.c_str()) + "/" + juce::String (selector.program()) + "/"
                     + juce::String::fromUTF8 (name.c_str()) + (selector.isModeKnown() ? "/k" : "/u") + juce::String (selector.bank());
    if (key == shownKey)
        return;
    shownKey = key;
    bankName.setText (juce::String::fromUTF8 (bank.c_str()), juce::dontSendNotification);
    programNumber.setText (selector.programNumberText(), juce::dontSendNotification);
    patchName.setText (juce::String::fromUTF8 (name.c_str()), juce::dontSendNotification);
    patchName.setTooltip (selector.nameFieldTooltip (diagnosticMode));
    const bool mix = selector.bank() >= 3;
    programLed.on = selector.isModeKnown() && ! mix;
    mixLed.on = selector.isModeKnown() && mix;
    programLed.repaint();
    mixLed.repaint();
}

void BottomBar::lookAndFeelChanged()
{
    for (auto* l : { &bankLabel, &programLedLabel, &mixLedLabel })
        l->setColour (juce::Label::textColourId, palette::dimText);
    for (auto* l : { &bankName, &programNumber, &patchName })
    {
        l->setColour (juce::Label::textColourId, palette::lcd.ink);
    }
    repaint();
}

void BottomBar::Led::paint (juce::Graphics& g)
{
    const auto r = ledArea (*this, 2.0f);
    const float d = std::min (r.getWidth(), r.getHeight());
    const auto circle = juce::Rectangle<float> (d, d).withCentre (r.getCentre());
    g.setColour (ledColour (*this, on));
    g.fillEllipse (circle);
    g.setColour (juce::Colours::black.withAlpha (0.5f));
    g.drawEllipse (circle, 1.0f);
}

void BottomBar::paint (juce::Graphics& g)
{
    g.setColour (palette::panel);
    g.fillRoundedRectangle (getLocalBounds().toFloat(), 4.0f);
    g.setColour (palette::panelOutline);
    g.drawRoundedRectangle (getLocalBounds().toFloat().reduced (0.5f), 4.0f, 1.0f);
    // The Program display is the editor's LCD: it takes the LCD colour, not the value boxes'.
    for (auto* l : { &bankName, &programNumber, &patchName })
        drawLcd (g, l->getBounds().toFloat(), palette::lcd);
}

void BottomBar::resized()
{
    auto r = getLocalBounds().reduced (6, 5);
    bankLabel.setBounds (r.removeFromLeft (40));
    bankLeft.setBounds (r.removeFromLeft (26));
    r.removeFromLeft (2);
    bankName.setBounds (r.removeFromLeft (108));
    r.removeFromLeft (2);
    bankRight.setBounds (r.removeFromLeft (26));
    r.removeFromLeft (12);
    programDown.setBounds (r.removeFromLeft (26));
    r.removeFromLeft (2);
    programNumber.setBounds (r.removeFromLeft (46));
    r.removeFromLeft (2);
    programUp.setBounds (r.removeFromLeft (26));
    r.removeFromLeft (8);
    clearKnobs.setBounds (r.removeFromRight (104));
    r.removeFromRight (6);
    mixSettings.setBounds (r.removeFromRight (112));
    r.removeFromRight (10);
    mixLed.setBounds (r.removeFromRight (16));
    mixLedLabel.setBounds (r.removeFromRight (30));
    programLed.setBounds (r.removeFromRight (16));
    programLedLabel.setBounds (r.removeFromRight (62));
    r.removeFromRight (8);
    patchName.setBounds (r);
}

void BottomBar::mouseDoubleClick (const juce::MouseEvent& e)
{
    if (e.eventComponent != &patchName)
        return;
    ++nameClicks;
    if (onRename)
        onRename();
}

void BottomBar::mouseUp (const juce::MouseEvent& e)
{
    if (e.eventComponent != &patchName || e.getNumberOfClicks() != 1 || !e.mouseWasClicked())
        return;
    // Waits out the double-click time: a double-click renames and must not also open the selection.
    const int click = ++nameClicks;
    juce::Timer::callAfterDelay (juce::MouseEvent::getDoubleClickTimeout() + 20,
                                 [safe = juce::Component::SafePointer<BottomBar> (this), click]
                                 {
                                     if (safe != nullptr && safe->nameClicks == click && safe->onOpenSelection)
                                         safe->onOpenSelection();
                                 });
}

} // namespace orvo
