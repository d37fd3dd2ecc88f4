#include "MidiSettingsOverlay.h"

#include "ui/OrvoLookAndFeel.h"

namespace orvo
{

MidiSettingsOverlay::MidiSettingsOverlay (MidiConnection& m, EditorEngine& e) : midi (m), engine (e)
{
    setComponentID ("overlay.midiSettings");
    for (auto* l : { &inputLabel, &outputLabel, &controllerLabel, &listenLabel, &sendLabel })
    {
        l->setFont (juce::Font (12.5f, juce::Font::bold));
        addAndMakeVisible (*l);
    }
    inputBox.setComponentID ("midi.input");
    outputBox.setComponentID ("midi.output");
    controllerBox.setComponentID ("midi.controllerInput");
    listenBox.setComponentID ("midi.inputListenChannel");
    sendBox.setComponentID ("midi.outputSendChannel");
    for (auto* b : { &inputBox, &outputBox, &controllerBox, &listenBox, &sendBox })
        addAndMakeVisible (*b);

    inputBox.onChange = [this] {
        if (inputBox.getSelectedId() > 0 && inputBox.getSelectedId() != midi.selectedInput())
            midi.chooseInput (inputBox.getSelectedId());
    };
    outputBox.onChange = [this] {
        if (outputBox.getSelectedId() > 0 && outputBox.getSelectedId() != midi.selectedOutput())
            midi.chooseOutput (outputBox.getSelectedId());
    };
    controllerBox.onChange = [this] { midi.chooseController (controllerBox.getSelectedId()); };
    listenBox.onChange = [this] {
        engine.settings().inputListenChannel = listenBox.getSelectedId() - 1;
        if (onSettingsChanged)
            onSettingsChanged();
    };
    sendBox.onChange = [this] {
        engine.settings().outputSendChannel = sendBox.getSelectedId() - 1;
        if (onSettingsChanged)
            onSettingsChanged();
    };

    openInput.onClick = [this] {
        midi.openInput();
        refresh();
        if (onPortsChanged)
            onPortsChanged();
    };
    openOutput.onClick = [this] {
        midi.openOutput();
        refresh();
        if (onPortsChanged)
            onPortsChanged();
    };
    openController.onClick = [this] {
        midi.openControllerInput();
        refresh();
        if (onPortsChanged)
            onPortsChanged();
    };
    scan.onClick = [this] {
        midi.scan();
        refresh();
        if (onPortsChanged)
            onPortsChanged();
    };
    close.onClick = [this] {
        if (onClose)
            onClose();
    };
    for (auto* b : { &openInput, &openOutput, &openController, &scan, &close })
        addAndMakeVisible (*b);

    sendImmediately.onClick = [this] {
        if (onSendImmediatelyChanged)
            onSendImmediatelyChanged (sendImmediately.getToggleState());
    };
    follow.onClick = [this] {
        engine.setFollowIncomingMidi (follow.getToggleState());
        if (onSettingsChanged)
            onSettingsChanged();
    };
    addAndMakeVisible (sendImmediately);
    addAndMakeVisible (follow);

    status.setJustificationType (juce::Justification::topLeft);
    status.setFont (juce::Font (13.0f));
    status.setComponentID ("midi.status");
    addAndMakeVisible (status);
    refresh();
}

void MidiSettingsOverlay::fillDevices (juce::ComboBox& box, const std::vector<MidiDeviceInfo>& list, int selected)
{
    box.clear (juce::dontSendNotification);
    for (size_t i = 0; i < list.size(); ++i)
        box.addItem (list[i].name.empty() ? juce::String ("Unnamed MIDI Device") : juce::String (list[i].name), (int) i + 1);
    box.setTextWhenNoChoicesAvailable ("No devices: press SCAN");
    box.setSelectedId (selected, juce::dontSendNotification);
}

void MidiSettingsOverlay::fillChannels (juce::ComboBox& box, int value)
{
    box.clear (juce::dontSendNotification);
    box.addItem ("OMNI", 1);
    for (int c = 1; c <= 16; ++c)
        box.addItem ("CH " + juce::String (c), c + 1);
    box.setSelectedId (juce::jlimit (0, 16, value) + 1, juce::dontSendNotification);
}

void MidiSettingsOverlay::refresh()
{
    fillDevices (inputBox, midi.inputDevices(), midi.selectedInput());
    fillDevices (outputBox, midi.outputDevices(), midi.selectedOutput());
    fillDevices (controllerBox, midi.inputDevices(), midi.selectedController());
    fillChannels (listenBox, engine.settings().inputListenChannel.load());
    fillChannels (sendBox, engine.settings().outputSendChannel.load());
    sendImmediately.setToggleState (engine.settings().sendChangesImmediately, juce::dontSendNotification);
    follow.setToggleState (engine.settings().followIncomingMidi, juce::dontSendNotification);
    const auto in = midi.isInputOpen() ? "open: " + midi.openInputName() : std::string ("closed");
    const auto out = midi.isOutputOpen() ? "open: " + midi.openOutputName() : std::string ("closed");
    status.setText ("INPUT " + in + "\nOUTPUT " + out + "\n\n" + midi.statusText(), juce::dontSendNotification);
}

void MidiSettingsOverlay::paint (juce::Graphics& g)
{
    g.fillAll (palette::background);
    g.setColour (palette::panelOutline);
    g.drawRect (getLocalBounds(), 1);
    g.setColour (palette::text);
    g.setFont (juce::Font (16.0f, juce::Font::bold));
    g.drawText ("MIDI SETTINGS", 12, 6, 400, 28, juce::Justification::centredLeft);
    for (auto* l : { &inputLabel, &outputLabel, &controllerLabel, &listenLabel, &sendLabel })
        l->setColour (juce::Label::textColourId, palette::dimText);
    for (auto* t : { &sendImmediately, &follow })
        t->setColour (juce::ToggleButton::textColourId, palette::text);
    status.setColour (juce::Label::textColourId, palette::text);
    g.setColour (palette::panel);
    g.fillRoundedRectangle (status.getBounds().toFloat().expanded (6.0f), 5.0f);
}

void MidiSettingsOverlay::resized()
{
    close.setBounds (getWidth() - 100, 8, 88, 26);
    auto area = getLocalBounds().reduced (16).withTrimmedTop (40);
    const auto row = [&area] (juce::Label& label, juce::ComboBox& box, juce::Button* button) {
        auto r = area.removeFromTop (30);
        label.setBounds (r.removeFromLeft (220));
        box.setBounds (r.removeFromLeft (360).reduced (0, 2));
        if (button != nullptr)
            button->setBounds (r.removeFromLeft (100).reduced (8, 2));
        area.removeFromTop (8);
    };
    row (inputLabel, inputBox, &openInput);
    row (outputLabel, outputBox, &openOutput);
    row (controllerLabel, controllerBox, &openController);
    scan.setBounds (area.removeFromTop (30).removeFromLeft (580).removeFromRight (120).reduced (0, 2));
    area.removeFromTop (16);
    row (listenLabel, listenBox, nullptr);
    row (sendLabel, sendBox, nullptr);
    area.removeFromTop (8);
    sendImmediately.setBounds (area.removeFromTop (28).removeFromLeft (400));
    follow.setBounds (area.removeFromTop (28).removeFromLeft (400));
    area.removeFromTop (20);
    status.setBounds (area.removeFromTop (200).removeFromLeft (640));
}

} // namespace orvo
