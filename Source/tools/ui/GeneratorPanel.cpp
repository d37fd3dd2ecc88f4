#include "GeneratorPanel.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
constexpr int pad = 16;
constexpr int rowY[] = { 44, 124, 188, 246, 310 }; // categories, range, switches, status, latest generation

const char* const disabledHelp = "Category recipe button restored for visibility. It remains disabled until its safe "
                                 "generation recipe has been verified.";
const char* const bassHelp =
    "Generates a bass Program, applies it to the editor, and queues the sendable NRPN values for transfer to the Orvo.";
} // namespace

GeneratorPanel::GeneratorPanel (GeneratorController& c) : generator (c)
{
    setComponentID ("overlay.generator");
    for (const auto& category : ProgramGenerator::categories())
    {
        auto b = std::make_unique<juce::TextButton> (category.caption);
        b->setComponentID (juce::String ("overlay.generator.category.") + category.key);
        b->setEnabled (category.generates);
        b->setTooltip (category.generates ? bassHelp : disabledHelp);
        if (category.generates)
            b->onClick = [this] { generator.generate(); };
        addAndMakeVisible (*b);
        categories.push_back (std::move (b));
    }

    range.setSliderStyle (juce::Slider::LinearHorizontal);
    range.setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    range.setRange (0.0, 1.0, 0.0);
    range.setComponentID ("overlay.generator.range");
    range.setTooltip ("Moves generation from the conservative SAFE endpoint toward the more adventurous EXPERIMENTAL "
                      "endpoint. The slider snaps at 25, 50, and 75 percent.");
    range.onValueChange = [this]
    {
        generator.setRange (range.getValue());
        if (range.getValue() != generator.settings.experimentalAmount)
            range.setValue (generator.settings.experimentalAmount, juce::dontSendNotification);
        showState();
    };
    addAndMakeVisible (range);
    rangeCaption.setText ("GEN RANGE", juce::dontSendNotification);
    safeCaption.setText ("SAFE", juce::dontSendNotification);
    experimentalCaption.setText ("EXPERIMENTAL", juce::dontSendNotification);
    experimentalCaption.setJustificationType (juce::Justification::centredRight);
    for (auto* l : { &rangeCaption, &safeCaption, &experimentalCaption, &rangeValue })
    {
        l->setFont (juce::Font (13.0f, juce::Font::bold));
        addAndMakeVisible (*l);
    }

    const char* voiceHelp = "Forces the generated Program toward a mono keyboard/voice assignment. Press again to let "
                            "the generator choose.";
    monoButton.setTooltip (voiceHelp);
    polyButton.setTooltip ("Forces the generated Program toward a poly keyboard/voice assignment. Press again to let "
                           "the generator choose.");
    monoButton.onClick = [this]
    {
        generator.pressVoiceButton (GeneratorSettings::Voice::mono);
        showState();
    };
    polyButton.onClick = [this]
    {
        generator.pressVoiceButton (GeneratorSettings::Voice::poly);
        showState();
    };
    distortionButton.setTooltip ("Lets the recipe use the analog distortion path.");
    distortionButton.onClick = [this]
    {
        generator.settings.analogDistortion = !generator.settings.analogDistortion;
        showState();
    };
    effectsButton.setTooltip ("Lets the recipe use the digital effects.");
    effectsButton.onClick = [this]
    {
        generator.settings.digitalEffects = !generator.settings.digitalEffects;
        showState();
    };

    safeFeedback.onClick = [this] { generator.rate (GeneratorController::Rating::safe); };
    experimentalFeedback.onClick = [this] { generator.rate (GeneratorController::Rating::experimental); };
    badReason.addItem ("NOT BASS", 1);
    badReason.addItem ("DOESNT PLAY", 2);
    badReason.addItem ("TOO EXPERIMENTAL", 3);
    badReason.setSelectedId (1, juce::dontSendNotification);
    badFeedback.onClick = [this]
    {
        const auto reason = badReason.getSelectedId() == 2   ? GeneratorController::BadReason::doesNotPlay
                            : badReason.getSelectedId() == 3 ? GeneratorController::BadReason::tooExperimental
                                                             : GeneratorController::BadReason::notBass;
        generator.rate (GeneratorController::Rating::bad, reason);
    };
    closeButton.onClick = [this]
    {
        if (onClose)
            onClose();
    };
    const std::pair<juce::Component*, const char*> ids[] = { { &monoButton, "mono" },
                                                             { &polyButton, "poly" },
                                                             { &distortionButton, "analogDist" },
                                                             { &effectsButton, "digitalFx" },
                                                             { &safeFeedback, "safeFeedback" },
                                                             { &experimentalFeedback, "experimentalFeedback" },
                                                             { &badFeedback, "badFeedback" },
                                                             { &badReason, "badReason" },
                                                             { &closeButton, "close" },
                                                             { &status, "status" },
                                                             { &recipe, "recipe" },
                                                             { &settingsLine, "settings" },
                                                             { &notes, "notes" } };
    for (auto [component, id] : ids)
    {
        component->setComponentID (juce::String ("overlay.generator.") + id);
        addAndMakeVisible (*component);
    }

    for (auto* l : { &status, &recipe, &settingsLine, &notesCaption })
    {
        l->setFont (juce::Font (14.0f, juce::Font::bold));
        l->setMinimumHorizontalScale (0.5f);
        addAndMakeVisible (*l);
    }
    settingsLine.setFont (juce::Font (12.5f));
    notesCaption.setText ("GUARDRAIL NOTES", juce::dontSendNotification);
    notes.setMultiLine (true);
    notes.setReadOnly (true);
    notes.setFont (juce::Font (13.0f));
    addAndMakeVisible (notes);
    addChildComponent (progress); // shown while generating: a shown bar keeps a 30 ms timer running
    showState();
}

GeneratorPanel::~GeneratorPanel() = default;

void GeneratorPanel::visibilityChanged()
{
    // The bar is refreshed only while the panel shows; hidden, it must not keep its timer running.
    if (!isVisible())
        progress.setVisible (false);
}

void GeneratorPanel::refresh()
{
    if (generator.changeCount() != shownChange)
        showState();
}

void GeneratorPanel::showState()
{
    shownChange = generator.changeCount();
    const auto& s = generator.settings;
    range.setValue (s.experimentalAmount, juce::dontSendNotification);
    rangeValue.setText (juce::String (juce::roundToInt (s.experimentalAmount * 100)) + " %",
                        juce::dontSendNotification);
    monoButton.setToggleState (s.voice == GeneratorSettings::Voice::mono, juce::dontSendNotification);
    polyButton.setToggleState (s.voice == GeneratorSettings::Voice::poly, juce::dontSendNotification);
    distortionButton.setToggleState (s.analogDistortion, juce::dontSendNotification);
    effectsButton.setToggleState (s.digitalEffects, juce::dontSendNotification);

    status.setText (generator.status().empty() ? juce::String ("Choose BASS to generate a Program.")
                                               : juce::String (generator.status()),
                    juce::dontSendNotification);
    progressValue = generator.progress().value_or (0.0);
    progress.setVisible (generator.progress().has_value());
    if (const auto* p = generator.latest())
    {
        recipe.setText (juce::String ("RECIPE: ") + p->recipeId + "  (" + p->recipeDescription +
                            ")  seed=" + juce::String (p->seed),
                        juce::dontSendNotification);
        settingsLine.setText (juce::String (ProgramGenerator::settingsLine (*p)).trim(), juce::dontSendNotification);
        juce::String text;
        for (const auto& n : p->guardrailNotes)
            text << n << "\n";
        notes.setText (text.isEmpty() ? juce::String ("(no repairs were needed)") : text, false);
    }
    else
    {
        recipe.setText ("RECIPE: none yet", juce::dontSendNotification);
        settingsLine.setText ({}, juce::dontSendNotification);
        notes.setText ({}, false);
    }
    repaint();
}

void GeneratorPanel::paint (juce::Graphics& g)
{
    drawPagePanelFrame (g, getLocalBounds(), "PROGRAM GENERATOR", pad);
    // Section bands behind the rows, in the house's panel colours.
    g.setColour (palette::panelHeader.withAlpha (0.45f));
    for (int i = 0; i < 3; ++i)
        g.fillRect (pad - 6, rowY[i] - 6, getWidth() - 2 * pad + 12, (i == 0 ? 76 : 52));
    drawLcd (g, status.getBounds().expanded (6, 2).toFloat(), palette::lcd);
    g.setColour (palette::panel);
    g.fillRect (pad - 6, rowY[4] - 6, getWidth() - 2 * pad + 12, getHeight() - rowY[4] - 64);

    for (auto* l : { &rangeCaption, &safeCaption, &experimentalCaption, &rangeValue, &notesCaption })
        l->setColour (juce::Label::textColourId, palette::dimText);
    status.setColour (juce::Label::textColourId, palette::lcd.ink);
    recipe.setColour (juce::Label::textColourId, palette::highlight);
    settingsLine.setColour (juce::Label::textColourId, palette::text);
    notes.setColour (juce::TextEditor::backgroundColourId, palette::background);
    notes.setColour (juce::TextEditor::textColourId, palette::text);
    notes.setColour (juce::TextEditor::outlineColourId, palette::panelOutline);
    range.setColour (juce::Slider::thumbColourId, palette::accent);
    range.setColour (juce::Slider::trackColourId, palette::accent.withAlpha (0.6f));
    progress.setColour (juce::ProgressBar::foregroundColourId, palette::accent);
    badReason.setColour (juce::ComboBox::backgroundColourId, palette::dropdown.fill);
    badReason.setColour (juce::ComboBox::textColourId, palette::dropdown.ink);
    badReason.setColour (juce::ComboBox::arrowColourId, palette::dropdown.ink);
}

void GeneratorPanel::resized()
{
    const int w = getWidth() - 2 * pad;
    closeButton.setBounds (getWidth() - 100, 8, 88, 26);

    // Thirteen category buttons in two rows of seven and six.
    const int n = (int)categories.size(), perRow = 7;
    for (int i = 0; i < n; ++i)
        categories[(size_t)i]->setBounds (pad + w * (i % perRow) / perRow + 2, rowY[0] + (i / perRow) * 34,
                                          w / perRow - 4, 30);

    rangeCaption.setBounds (pad, rowY[1], 100, 40);
    safeCaption.setBounds (pad + 100, rowY[1], 60, 40);
    range.setBounds (pad + 160, rowY[1], w - 160 - 200, 40);
    experimentalCaption.setBounds (pad + w - 200, rowY[1], 120, 40);
    rangeValue.setBounds (pad + w - 70, rowY[1], 70, 40);

    int x = pad;
    for (auto* b : { &monoButton, &polyButton, &distortionButton, &effectsButton })
    {
        b->setBounds (x, rowY[2], 130, 40);
        x += 140;
    }

    status.setBounds (pad + 6, rowY[3], w - 12, 26);
    progress.setBounds (pad, rowY[3] + 34, w, 10);

    recipe.setBounds (pad, rowY[4], w, 26);
    settingsLine.setBounds (pad, rowY[4] + 28, w, 40);
    notesCaption.setBounds (pad, rowY[4] + 72, w, 22);
    notes.setBounds (pad, rowY[4] + 96, w, getHeight() - rowY[4] - 96 - 74);

    const int by = getHeight() - 52;
    safeFeedback.setBounds (pad, by, 150, 36);
    experimentalFeedback.setBounds (pad + 160, by, 210, 36);
    badFeedback.setBounds (pad + 380, by, 150, 36);
    badReason.setBounds (pad + 540, by + 4, 190, 28);
}

} // namespace orvo
