#include "ToolPanels.h"

#include "engine/SidebarModel.h"
#include "ui/OrvoLookAndFeel.h"

namespace orvo
{
namespace
{
void styleLabel (juce::Label& l, float size = 12.0f)
{
    l.setFont (juce::Font (size));
    l.setColour (juce::Label::textColourId, palette::text);
}
} // namespace

//==============================================================================
MorphKnobPanel::MorphKnobPanel (ToolsController& t) : tools (t)
{
    setComponentID ("morph");
    knob.setRange (0.0, 100.0, 0.1);
    knob.setComponentID ("morph.knob");
    knob.onValueChange = [this] { tools.morph().setKnob (knob.getValue()); };
    knob.onDragStart = [this] { tools.selectTarget ("__morph"); };
    addAndMakeVisible (knob);
    assignButton.onClick = [this]
    {
        mode = mode == Mode::assign ? Mode::normal : Mode::assign;
        tools.morph().setAssignMode (mode == Mode::assign);
        refresh();
    };
    flipButton.onClick = [this]
    {
        mode = mode == Mode::flip ? Mode::normal : Mode::flip;
        refresh();
    };
    clearButton.onClick = [this]
    {
        mode = mode == Mode::clear ? Mode::normal : Mode::clear;
        refresh();
    };
    randomButton.onClick = [this]
    {
        mode = Mode::normal;
        tools.randomiseMorph();
        refresh();
    };
    shuffleButton.onClick = [this]
    {
        tools.morph().shuffle();
        refresh();
    };
    for (auto* b : { &assignButton, &flipButton, &clearButton, &randomButton, &shuffleButton })
    {
        b->setComponentID ("morph." + b->getButtonText().toLowerCase());
        addAndMakeVisible (*b);
    }
    for (int i = 0; i < MorphKnob::numSlots; ++i)
    {
        auto& r = rows[(size_t)i];
        const auto slotId = "morph.slot." + juce::String (i);
        r.select.setComponentID (slotId);
        r.name.setComponentID (slotId + ".name");
        r.low.setComponentID (slotId + ".low");
        r.high.setComponentID (slotId + ".high");
        r.select.onClick = [this, i] { slotClicked (i); };
        styleLabel (r.name, 11.0f);
        for (auto* s : { &r.low, &r.high })
        {
            s->setTextBoxStyle (juce::Slider::TextBoxLeft, false, 40, 16);
            addAndMakeVisible (*s);
        }
        r.low.onValueChange = [this, i] { tools.morph().setEndpoint (i, (int)rows[(size_t)i].low.getValue()); };
        r.high.onValueChange = [this, i] { tools.morph().setEndpoint (i + 4, (int)rows[(size_t)i].high.getValue()); };
        addAndMakeVisible (r.select);
        addAndMakeVisible (r.name);
    }
    refresh();
}

void MorphKnobPanel::slotClicked (int index)
{
    auto& morph = tools.morph();
    if (mode == Mode::flip)
        morph.flipSlot (index);
    else if (mode == Mode::clear)
        morph.clearSlot (index);
    else
    {
        morph.selectSlot (index);
        if (mode == Mode::normal)
        {
            mode = Mode::assign;
            morph.setAssignMode (true);
        }
    }
    refresh();
}

void MorphKnobPanel::refresh()
{
    const auto& morph = tools.morph();
    if (mode == Mode::assign && !morph.assignMode())
        mode = Mode::normal; // the slot took its control
    knob.setValue (morph.knob(), juce::dontSendNotification);
    assignButton.setToggleState (mode == Mode::assign, juce::dontSendNotification);
    flipButton.setToggleState (mode == Mode::flip, juce::dontSendNotification);
    clearButton.setToggleState (mode == Mode::clear, juce::dontSendNotification);
    for (int i = 0; i < MorphKnob::numSlots; ++i)
    {
        const auto& s = morph.slots()[(size_t)i];
        auto& r = rows[(size_t)i];
        const juce::String slotText = "SLOT " + juce::String (i + 1);
        r.select.setButtonText (mode == Mode::flip    ? juce::String ("CLICK TO\nFLIP SLOT")
                                : mode == Mode::clear ? juce::String ("CLICK TO\nCLEAR SLOT")
                                : mode == Mode::assign && morph.selectedSlot() != i ? juce::String ("SELECT SLOT")
                                                                                    : slotText);
        r.select.setToggleState (morph.selectedSlot() == i && mode == Mode::assign, juce::dontSendNotification);
        r.name.setText (s.valid() ? juce::String (s.targetName()) + "  " + juce::String (s.currentRaw)
                                  : juce::String ("-"),
                        juce::dontSendNotification);
        const int top = s.source == MorphSlot::fromParameter
                            ? ParameterCatalogue::row (ParameterCatalogue::findById (s.parameterId).value_or (0)).rawMax
                            : 4095;
        for (auto* sl : { &r.low, &r.high })
        {
            sl->setRange (0.0, std::max (1, top), 1.0);
            sl->setEnabled (s.valid());
        }
        r.low.setValue (s.lowRaw, juce::dontSendNotification);
        r.high.setValue (s.highRaw, juce::dontSendNotification);
    }
}

void MorphKnobPanel::paint (juce::Graphics& g)
{
    g.setColour (palette::dimText);
    g.setFont (juce::Font (10.0f));
    g.drawText ("LOW", rows[0].low.getBounds().withY (rows[0].name.getY() - 13).withHeight (12),
                juce::Justification::centredLeft);
    g.drawText ("HIGH", rows[0].high.getBounds().withY (rows[0].name.getY() - 13).withHeight (12),
                juce::Justification::centredLeft);
}

void MorphKnobPanel::resized()
{
    auto area = getLocalBounds();
    auto top = area.removeFromTop (juce::jmin (110, area.getHeight() / 3));
    knob.setBounds (top.removeFromLeft (110));
    auto buttons = top.reduced (4, 2);
    const int h = buttons.getHeight() / 3;
    auto line = buttons.removeFromTop (h);
    assignButton.setBounds (line.removeFromLeft (line.getWidth() / 2).reduced (2));
    flipButton.setBounds (line.reduced (2));
    line = buttons.removeFromTop (h);
    clearButton.setBounds (line.removeFromLeft (line.getWidth() / 2).reduced (2));
    randomButton.setBounds (line.reduced (2));
    shuffleButton.setBounds (buttons.removeFromTop (h).reduced (2));
    area.removeFromTop (14);
    const int rowHeight = juce::jmin (56, area.getHeight() / MorphKnob::numSlots);
    for (auto& r : rows)
    {
        auto row = area.removeFromTop (rowHeight).reduced (0, 2);
        r.select.setBounds (row.removeFromLeft (70));
        row.removeFromLeft (4);
        r.name.setBounds (row.removeFromTop (16));
        r.low.setBounds (row.removeFromLeft (row.getWidth() / 2));
        r.high.setBounds (row);
    }
}

//==============================================================================
MacrosPanel::MacrosPanel (ToolsController& t) : tools (t)
{
    setComponentID ("macros");
    for (int i = 0; i < Macros::count; ++i)
    {
        auto& v = views[(size_t)i];
        v.knob.setRange (0.0, 100.0, 0.1);
        v.knob.setComponentID ("macros.control." + juce::String (i));
        v.name.setComponentID ("macros.label." + juce::String (i));
        v.knob.onValueChange = [this, i] { tools.macros().setKnob (i, views[(size_t)i].knob.getValue()); };
        v.knob.onDragStart = [this, i] { tools.selectTarget ("__macro" + std::to_string (i + 1)); };
        v.name.onClick = [this, i]
        {
            tools.macros().selectMacro (i);
            tools.selectTarget ("__macro" + std::to_string (i + 1));
            refresh();
        };
        addAndMakeVisible (v.knob);
        addAndMakeVisible (v.name);
    }
    assignButton.onClick = [this]
    {
        tools.macros().setAssignMode (!tools.macros().assignMode());
        refresh();
    };
    clearButton.onClick = [this]
    {
        tools.macros().setClearMode (!tools.macros().clearMode());
        refresh();
    };
    assignButton.setComponentID ("macros.assignMode");
    clearButton.setComponentID ("macros.clearMode");
    status.setComponentID ("macros.info");
    addAndMakeVisible (assignButton);
    addAndMakeVisible (clearButton);
    styleLabel (status);
    status.setJustificationType (juce::Justification::centred);
    addAndMakeVisible (status);
    refresh();
}

void MacrosPanel::refresh()
{
    const auto& macros = tools.macros();
    for (int i = 0; i < Macros::count; ++i)
    {
        const auto& m = macros.macro (i);
        auto& v = views[(size_t)i];
        v.knob.setValue (m.knob, juce::dontSendNotification);
        juce::String name = "MACRO " + juce::String (i + 1);
        if (!m.parameterId.empty())
        {
            const auto resolved = tools.resolve (m.parameterId);
            name = resolved.name.empty() ? juce::String (m.parameterId) : juce::String (resolved.name);
        }
        v.name.setButtonText (m.display.empty() ? name : juce::String (m.display));
        v.name.setToggleState (macros.selectedMacro() == i, juce::dontSendNotification);
    }
    assignButton.setToggleState (macros.assignMode(), juce::dontSendNotification);
    clearButton.setToggleState (macros.clearMode(), juce::dontSendNotification);
    status.setText (macros.statusText(), juce::dontSendNotification);
}

void MacrosPanel::resized()
{
    auto area = getLocalBounds();
    auto buttons = area.removeFromTop (26);
    assignButton.setBounds (buttons.removeFromLeft (buttons.getWidth() / 2).reduced (2));
    clearButton.setBounds (buttons.reduced (2));
    status.setBounds (area.removeFromBottom (22));
    const int cellW = area.getWidth() / 4, cellH = juce::jmin (110, area.getHeight() / 2);
    for (int i = 0; i < Macros::count; ++i)
    {
        juce::Rectangle<int> cell (area.getX() + (i % 4) * cellW, area.getY() + (i / 4) * cellH, cellW, cellH);
        auto& v = views[(size_t)i];
        v.name.setBounds (cell.removeFromBottom (24).reduced (1));
        v.knob.setBounds (cell.reduced (4));
    }
}

//==============================================================================
MidiControlPanel::MidiControlPanel (ToolsController& t, MidiConnection& m, EditorEngine& e, VirtualController& v,
                                    std::function<void()> changed)
    : tools (t), midi (m), engine (e), virtualController (v), onSettingsChanged (std::move (changed))
{
    virtualKnob.setRange (0, 16383, 1);
    virtualKnob.setTextBoxStyle (juce::Slider::TextBoxRight, false, 50, 18);
    virtualKnob.onValueChange = [this] { virtualController.send14BitCc (1, 7, (int)virtualKnob.getValue()); };
    styleLabel (virtualCaption, 11.0f);
    virtualCaption.setText ("VIRTUAL CONTROLLER KNOB (CC 7/39, CH 1)", juce::dontSendNotification);
    addChildComponent (virtualKnob);
    addChildComponent (virtualCaption);
    setComponentID ("midiControl");
    for (auto [c, id] : { std::pair<juce::Component*, const char*> { &virtualKnob, "virtualKnob" }, { &virtualCaption, "virtualKnob.label" },
                          { &input, "input" }, { &channel, "channel" }, { &mode, "mode" }, { &openButton, "open" },
                          { &learnButton, "learn" }, { &clearButton, "clear" }, { &target, "target" },
                          { &assignment, "assignment" }, { &list, "list" } })
        c->setComponentID (juce::String ("midiControl.") + id);
    input.setTextWhenNothingSelected ("CONTROLLER INPUT");
    input.onChange = [this] { midi.chooseController (input.getSelectedId()); };
    channel.addItem ("ALL", 1);
    for (int c = 1; c <= 16; ++c)
        channel.addItem ("CH " + juce::String (c), c + 1);
    channel.onChange = [this]
    {
        engine.settings().controllerListenChannel = channel.getSelectedId() - 1;
        if (onSettingsChanged)
            onSettingsChanged();
    };
    int id = 1;
    for (auto* name : { "AUTO", "CC 7-BIT", "CC 14-BIT", "NRPN", "RPN" })
        mode.addItem (name, id++);
    mode.onChange = [this]
    {
        engine.settings().controllerDecodeMode = mode.getSelectedId();
        if (onSettingsChanged)
            onSettingsChanged();
    };
    openButton.onClick = [this]
    {
        midi.openControllerInput();
        refresh();
    };
    learnButton.setClickingTogglesState (true);
    learnButton.onClick = [this]
    {
        tools.setLearning (learnButton.getToggleState());
        refresh();
    };
    clearButton.onClick = [this]
    {
        tools.clearAssignment (tools.selectedTarget());
        refresh();
    };
    for (auto* c : { &input, &channel, &mode })
        addAndMakeVisible (*c);
    for (auto* b : { &openButton, &learnButton, &clearButton })
        addAndMakeVisible (*b);
    styleLabel (target, 13.0f);
    styleLabel (assignment);
    addAndMakeVisible (target);
    addAndMakeVisible (assignment);
    list.setMultiLine (true);
    list.setReadOnly (true);
    list.setCaretVisible (false);
    list.setFont (juce::Font (11.5f));
    addAndMakeVisible (list);
    refresh();
}

void MidiControlPanel::refresh()
{
    input.clear (juce::dontSendNotification);
    const auto& devices = midi.inputDevices();
    for (size_t i = 0; i < devices.size(); ++i)
        input.addItem (devices[i].name, (int)i + 1);
    input.setSelectedId (midi.selectedController(), juce::dontSendNotification);
    const int chosen = midi.selectedController();
    const bool virtualChosen = chosen > 0 && chosen <= (int)devices.size() &&
                               devices[(size_t)chosen - 1].identifier == VirtualController::inputIdentifier;
    virtualKnob.setVisible (virtualChosen);
    virtualCaption.setVisible (virtualChosen);
    channel.setSelectedId (engine.settings().controllerListenChannel + 1, juce::dontSendNotification);
    mode.setSelectedId (juce::jlimit (1, 5, engine.settings().controllerDecodeMode), juce::dontSendNotification);
    const auto& id = tools.selectedTarget();
    target.setText ("TARGET: " +
                        (id.empty() ? juce::String ("select a control") : juce::String (tools.resolve (id).name)),
                    juce::dontSendNotification);
    assignment.setText (id.empty() ? "MIDI CONTROL: -" : tools.assignmentText (id), juce::dontSendNotification);
    learnButton.setToggleState (tools.learning(), juce::dontSendNotification);
    learnButton.setEnabled (!id.empty());
    juce::String text;
    for (const auto& [targetId, a] : tools.mapping().assignments())
        text << a.targetName << "\n    " << a.input.text() << "\n";
    if (text.isEmpty())
        text = "No controller assignments in this Program.";
    if (list.getText() != text)
        list.setText (text, false);
}

void MidiControlPanel::resized()
{
    auto area = getLocalBounds();
    auto line = area.removeFromTop (26);
    openButton.setBounds (line.removeFromRight (60).reduced (2));
    input.setBounds (line.reduced (2));
    line = area.removeFromTop (26);
    channel.setBounds (line.removeFromLeft (line.getWidth() / 2).reduced (2));
    mode.setBounds (line.reduced (2));
    area.removeFromTop (4);
    target.setBounds (area.removeFromTop (20));
    assignment.setBounds (area.removeFromTop (20));
    line = area.removeFromTop (28);
    learnButton.setBounds (line.removeFromLeft (line.getWidth() / 2).reduced (2));
    clearButton.setBounds (line.reduced (2));
    area.removeFromTop (4);
    virtualCaption.setBounds (area.removeFromBottom (18));
    virtualKnob.setBounds (area.removeFromBottom (24).reduced (2, 0));
    area.removeFromBottom (4);
    list.setBounds (area);
}

//==============================================================================
NotesPanel::NotesPanel (ToolsController& t) : tools (t)
{
    setComponentID ("notes");
    title.setComponentID ("notes.header");
    editor.setComponentID ("notes.editor");
    styleLabel (title);
    addAndMakeVisible (title);
    editor.setMultiLine (true, true);
    editor.setReturnKeyStartsNewLine (true);
    editor.setFont (juce::Font (13.0f));
    editor.onTextChange = [this] { tools.setNotes (editor.getText().toStdString()); };
    addAndMakeVisible (editor);
    refresh();
}

void NotesPanel::refresh()
{
    title.setText ("NOTES OF THE SELECTED SLOT", juce::dontSendNotification);
    const juce::String text (tools.notes());
    if (editor.getText() != text)
        editor.setText (text, false);
}

void NotesPanel::resized()
{
    auto area = getLocalBounds();
    title.setBounds (area.removeFromTop (20));
    editor.setBounds (area);
}

std::unique_ptr<ToolPanel> makeToolPanel (int tool, ToolsController& tools, MidiConnection& midi, EditorEngine& engine,
                                          VirtualController& virtualController, std::function<void()> settingsChanged)
{
    switch (tool)
    {
        case SidebarModel::morphKnob:
            return std::make_unique<MorphKnobPanel> (tools);
        case SidebarModel::macros:
            return std::make_unique<MacrosPanel> (tools);
        case SidebarModel::midiControl:
            return std::make_unique<MidiControlPanel> (tools, midi, engine, virtualController,
                                                       std::move (settingsChanged));
        case SidebarModel::notes:
            return std::make_unique<NotesPanel> (tools);
        default:
            return nullptr;
    }
}

} // namespace orvo
