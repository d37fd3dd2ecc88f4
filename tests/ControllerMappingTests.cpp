#include "HeadlessFixture.h"
#include "tools/ControllerDecoder.h"

using namespace orvo;

namespace
{
MidiControlInput in (ControlInputType type, int channel, int controller, int lsb = -1)
{
    return { (int)type, channel, controller, lsb };
}

std::vector<ControllerMessage> decode (int mode, std::vector<std::array<int, 3>> ccs)
{
    ControllerDecoder d;
    d.setMode (mode);
    std::vector<ControllerMessage> out;
    for (const auto& c : ccs)
    {
        const std::uint8_t m[] = { (std::uint8_t)c[0], (std::uint8_t)c[1], (std::uint8_t)c[2] };
        if (auto msg = d.feed (m, 3))
            out.push_back (*msg);
    }
    return out;
}
} // namespace

TEST (MidiControlInput, NormalisesAndNamesInputs)
{
    struct Case
    {
        MidiControlInput input;
        int channel, lsb;
        std::string text;
    } cases[] = {
        { in (ControlInputType::cc14, 0, 7), 0, 39, "CC 14-BIT / ALL / CC 7+39" },
        { in (ControlInputType::cc14, 3, 40), 3, 0, "CC 14-BIT / CH 3 / CC 40+0" },
        { in (ControlInputType::cc7, 22, 74), 16, 0, "CC 7-BIT / CH 16 / CC 74" },
        { in (ControlInputType::nrpn, 1, 3, 41), 1, 41, "NRPN / CH 1 / MSB 3 LSB 41" },
        { in (ControlInputType::rpn, 0, -7), 0, 0, "NONE" },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (c.input.normalised().channel, c.channel);
        EXPECT_EQ (c.input.normalised().controllerLsb, c.lsb);
        EXPECT_EQ (c.input.text(), c.text);
    }
    for (auto [text, type] :
         { std::pair ("NRPN", 2), { "rpn", 3 }, { "14bitCc", 1 }, { "fourteen", 1 }, { "7bitCc", 0 }, { "", 0 } })
        EXPECT_EQ (MidiControlInput::typeFromText (text), type) << text;
}

TEST (MidiControlMap, OneInputPerTargetAndMatchingRules)
{
    MidiControlMap map;
    EXPECT_FALSE (map.assign ("filter1.frequency", "F", in (ControlInputType::cc7, 0, 128)));
    ASSERT_TRUE (map.assign ("filter1.frequency", "F", in (ControlInputType::cc7, 0, 74)));
    ASSERT_TRUE (map.assign ("filter1.resonance", "R", in (ControlInputType::cc7, 0, 74)));
    EXPECT_EQ (map.find ("filter1.frequency"), nullptr) << "the input moved to the resonance";
    ASSERT_TRUE (map.assign ("__morph", "M", in (ControlInputType::nrpn, 2, 3, 41)));

    struct Case
    {
        ControllerMessage m;
        std::string target;
    } cases[] = {
        { { 0, 1, 74, 0, 64, 0 }, "filter1.resonance" },
        { { 0, 16, 74, 0, 64, 0 }, "filter1.resonance" },
        { { 0, 1, 75, 0, 64, 0 }, "" },
        { { 2, 2, 3, 41, 0, 100 }, "__morph" },
        { { 2, 2, 3, 42, 0, 100 }, "" },
        { { 2, 5, 3, 41, 0, 100 }, "" },
        { { 3, 2, 3, 41, 0, 100 }, "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (map.match (c.m), c.target) << c.m.channel << " " << c.m.controller << " " << c.m.controllerLsb;

    map.fromVar (
        juce::JSON::parse (R"({"assignments": [{"targetId": "a", "cc": 20}, {"targetId": "b", "controller": 300},
        {"cc": 21}, {"targetId": "c", "inputType": "14bitCc", "channel": 0, "controller": 7}]})"),
        {});
    EXPECT_EQ (map.match ({ 0, 9, 20, 0, 1, 0 }), "a") << "a legacy CC entry";
    EXPECT_EQ (map.find ("b"), nullptr);
    ASSERT_NE (map.find ("c"), nullptr);
    EXPECT_EQ (map.find ("c")->input.controllerLsb, 39);
}

TEST (ControllerDecoder, SplitsTrafficByMode)
{
    struct Case
    {
        int mode;
        std::vector<std::array<int, 3>> ccs;
        int type, controller, lsb, value14;
        size_t count;
    } cases[] = {
        { 3, { { 0xB0, 7, 64 }, { 0xB0, 39, 1 } }, 1, 7, 39, 8193, 1 },
        { 2, { { 0xB2, 7, 127 } }, 0, 7, 0, 16383, 1 },
        { 4, { { 0xB0, 99, 3 }, { 0xB0, 98, 41 }, { 0xB0, 6, 10 }, { 0xB0, 38, 5 } }, 2, 3, 41, 1285, 1 },
        { 4, { { 0xB0, 101, 0 }, { 0xB0, 100, 2 }, { 0xB0, 6, 10 }, { 0xB0, 38, 5 } }, 0, 0, 0, 0, 0 },
        { 5, { { 0xB0, 101, 0 }, { 0xB0, 100, 2 }, { 0xB0, 6, 10 }, { 0xB0, 38, 5 } }, 3, 0, 2, 1285, 1 },
        { 1, { { 0xB0, 99, 1 }, { 0xB0, 98, 2 }, { 0xB0, 6, 0 }, { 0xB0, 38, 9 }, { 0xB0, 38, 10 } }, 2, 1, 2, 10, 2 },
        { 3, { { 0xB0, 39, 1 } }, 0, 0, 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        const auto out = decode (c.mode, c.ccs);
        ASSERT_EQ (out.size(), c.count) << "mode " << c.mode;
        if (c.count == 0)
            continue;
        EXPECT_EQ (out.back().inputType, c.type);
        EXPECT_EQ (out.back().controller, c.controller);
        EXPECT_EQ (out.back().controllerLsb, c.lsb);
        EXPECT_EQ (out.back().value14, c.value14);
    }
}

//==============================================================================
struct ControllerSession : test::HeadlessFixture
{
    ToolsController& tools = editor->session().tools();
    VirtualController& knobs = editor->session().virtualController();
    int row (const char* id) { return *ParameterCatalogue::findById (id); }
    void openAll (int decodeMode)
    {
        engine.settings().controllerDecodeMode = decodeMode;
        editor->connect (false);
        editor->session().midi().openVirtualController();
        editor->settle (3);
    }
};

TEST_F (ControllerSession, AMorphSweepLeavesTheHighEndpointsOnTheInstrument)
{
    openAll (1);
    auto& morph = tools.morph();
    const char* ids[] = { "filter1.frequency", "filter1.resonance", "filter2.frequency" };
    for (int slot = 0; slot < 3; ++slot)
    {
        morph.setAssignMode (true);
        morph.selectSlot (slot);
        tools.controlChosen (ids[slot]);
        morph.setEndpoint (slot, 100 + slot);
        morph.setEndpoint (slot + 4, 3000 + slot);
    }
    EXPECT_TRUE (logContains ("Assigned MORPH slot 1 to "));
    for (int knob = 0; knob <= 100; knob += 5)
    {
        morph.setKnob (knob);
        editor->settle (1);
    }
    editor->settle (3);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_EQ (instrument.editBufferValue (row (ids[slot])), 3000 + slot) << ids[slot];
    EXPECT_TRUE (engine.isEdited());
}

TEST_F (ControllerSession, ALearned14BitControllerMovesTheFilterOnTheInstrument)
{
    openAll (3);
    tools.selectTarget ("filter1.frequency");
    tools.setLearning (true);
    knobs.send14BitCc (4, 7, 0);
    editor->settle (1);
    EXPECT_FALSE (tools.learning());
    ASSERT_NE (tools.mapping().find ("filter1.frequency"), nullptr);
    EXPECT_EQ (tools.assignmentText ("filter1.frequency"), "MIDI CONTROL: CC 14-BIT / CH 4 / CC 7+39");

    knobs.send14BitCc (4, 7, 16383);
    knobs.send14BitCc (3, 7, 8000); // another channel: not this assignment
    editor->settle (3);
    EXPECT_EQ (engine.value (row ("filter1.frequency")), 4095);
    EXPECT_EQ (instrument.editBufferValue (row ("filter1.frequency")), 4095);
}

TEST_F (ControllerSession, SidebarSettingsCopyAndPasteWithTheirRefusals)
{
    engine.setSidebarTool (SidebarModel::top, SidebarModel::parameterDetails);
    engine.setSidebarTool (SidebarModel::bottom, SidebarModel::monitor);
    tools.copySidebarSettings();
    EXPECT_TRUE (logContains (
        "Copy sidebar settings is unavailable. Select Morph Knob, Macros, MIDI Control, or Notes first.\n"));

    engine.setSidebarTool (SidebarModel::top, SidebarModel::macros);
    tools.macros().fromVar (
        juce::JSON::parse (R"({"controls": [{"index": 4, "parameterId": "filter1.frequency", "value": 25}]})"));
    EXPECT_FALSE (tools.canPasteSidebarSettings()) << "nothing copied yet";
    tools.copySidebarSettings();
    EXPECT_TRUE (logContains ("Copied Macro settings.\n"));
    const auto copied = editor->clipboard.text;
    EXPECT_TRUE (tools.canPasteSidebarSettings());

    engine.setSidebarTool (SidebarModel::top, SidebarModel::morphKnob);
    const auto morphBefore = juce::JSON::toString (tools.morph().toVar());
    for (const auto& text : { copied, std::string ("{broken"),
                              std::string (R"({"format": "OrvoEditorLayout", "page": "morph", "settings": {}})") })
    {
        editor->clipboard.text = text;
        EXPECT_FALSE (tools.canPasteSidebarSettings()) << "the Edit menu's PASTE waits for Morph Knob settings";
        tools.pasteSidebarSettings();
        EXPECT_TRUE (
            logContains ("Paste Morph Knob settings blocked. The clipboard does not contain matching settings.\n"));
        EXPECT_EQ (juce::JSON::toString (tools.morph().toVar()), morphBefore);
    }
    tools.macros().reset();
    engine.setSidebarTool (SidebarModel::top, SidebarModel::macros);
    editor->clipboard.text = copied;
    tools.pasteSidebarSettings();
    EXPECT_TRUE (logContains ("Pasted Macro settings.\n"));
    EXPECT_EQ (tools.macros().macro (4).parameterId, "filter1.frequency");
    EXPECT_DOUBLE_EQ (tools.macros().macro (4).knob, 25.0);
}

TEST_F (ControllerSession, ToolDataTravelsWithTheEditorStateAndUnknownTargetsAreDropped)
{
    ASSERT_TRUE (tools.assign ("__macro3", in (ControlInputType::cc7, 0, 20)));
    ASSERT_FALSE (tools.assign ("__effect:no.such", in (ControlInputType::cc7, 0, 21)));
    EXPECT_TRUE (logContains ("MIDI CONTROL assigned CC 7-BIT / ALL / CC 20 to MACRO 3.\n"));
    tools.setNotes ("warm pad");
    const auto state = engine.produceEditorState();

    tools.mapping().clearAll();
    auto parsed = juce::JSON::parse (juce::String (state));
    auto list = parsed["controlPages"]["midiControl"]["assignments"];
    list.append (juce::JSON::parse (R"({"targetId": "__nowhere", "inputType": "nrpn", "controller": 1})"));
    parsed.getDynamicObject()->setProperty ("selectedBankIndex", 2); // the state moves the selection too
    ASSERT_TRUE (engine.restoreEditorState (juce::JSON::toString (parsed).toStdString()));
    editor->settle (1);
    ASSERT_NE (tools.mapping().find ("__macro3"), nullptr);
    EXPECT_EQ (tools.mapping().find ("__nowhere"), nullptr);
    EXPECT_EQ (tools.notes(), "") << "notes stay with their slot";
    EXPECT_EQ (editor->librarian().state().slot (0, 0).notes, "warm pad");

    knobs.sendCc (9, 20, 127);
    editor->session().midi().openVirtualController();
    knobs.sendCc (9, 20, 127);
    editor->settle (1);
    EXPECT_DOUBLE_EQ (tools.macros().macro (2).knob, 100.0);
}

TEST (ToolDataDocument, AProgramDocumentBringsBackMorphMacrosAndAssignments)
{
    auto before = makeHeadlessEditor();
    before->connect (true);
    before->settle();
    auto& tools = before->session().tools();
    tools.morph().fromVar (juce::JSON::parse (R"({"value": 30, "slots": [{"index": 2, "source": "parameter",
        "parameterId": "filter1.resonance", "lowRaw": 10, "highRaw": 900}]})"));
    tools.macros().setAssignMode (true);
    tools.macros().selectMacro (5);
    tools.controlChosen ("filter2.frequency");
    ASSERT_TRUE (tools.assign ("__morph", { 2, 0, 3, 41 }));
    const auto path = before->folder().getChildFile ("tools.orvop").getFullPathName().toStdString();
    before->dialogs.answers = { path };
    before->librarian().saveProgram();

    auto after = makeHeadlessEditor();
    after->dialogs.answers = { path };
    after->prompts.answers = { 2 }; // NOT NOW
    after->librarian().loadProgram();
    after->settle (1);
    auto& loaded = after->session().tools();
    EXPECT_EQ (loaded.morph().slots()[2].parameterId, "filter1.resonance");
    EXPECT_EQ (loaded.morph().slots()[2].highRaw, 900);
    EXPECT_DOUBLE_EQ (loaded.morph().knob(), 30.0);
    EXPECT_EQ (loaded.macros().macro (5).parameterId, "filter2.frequency");
    EXPECT_EQ (loaded.assignmentText ("__morph"), "MIDI CONTROL: NRPN / ALL / MSB 3 LSB 41");
}

TEST_F (ControllerSession, AnInterfaceSlotFollowsTheInstrumentAndTheEditorsSends)
{
    editor->settle (1); // the slot's own (empty) tool data is shown first
    tools.morph().fromVar (juce::JSON::parse (R"({"slots": [{"index": 1, "source": "interfaceNrpn",
        "interfaceName": "FX", "interfaceNrpn": 3610, "lowRaw": 0, "highRaw": 4095}]})"));
    for (const auto& m : buildNrpnMessages (1, 3610, 1234))
        engine.handleIncomingMidi (m.data(), m.size());
    editor->settle (1);
    EXPECT_EQ (tools.morph().slots()[1].currentRaw, 1234);
    engine.sendInterface (3610, 9000, "FX");
    EXPECT_EQ (tools.morph().slots()[1].currentRaw, 4095);
}

TEST_F (ControllerSession, WhileLearningTheInstrumentsOwnKnobCanBeLearned)
{
    openAll (1);
    tools.selectTarget ("__macro2");
    tools.setLearning (true);
    const int nrpn = ParameterCatalogue::row (row ("filter2.resonance")).nrpn;
    instrument.turnKnob (row ("filter2.resonance"), 1000);
    editor->settle (2);
    EXPECT_EQ (tools.assignmentText ("__macro2"),
               "MIDI CONTROL: NRPN / CH 1 / MSB " + std::to_string (nrpn >> 7) + " LSB " + std::to_string (nrpn & 127));
    EXPECT_FALSE (engine.forwardNrpnsToControl.load());
}

TEST (ToolDataDocument, NotesTypedIntoASavedSlotAreWrittenBackWithAutoSave)
{
    auto editor = makeHeadlessEditor();
    editor->connect (true);
    editor->settle();
    editor->engine().settings().autoSaveTools = true;
    const auto file = editor->folder().getChildFile ("noted.orvop");
    editor->dialogs.answers = { file.getFullPathName().toStdString() };
    editor->librarian().saveProgram();
    editor->session().tools().setNotes ("brighter in the chorus");
    editor->settle (30); // past the auto save's rest
    EXPECT_EQ (juce::JSON::parse (file)["notes"].toString(), "brighter in the chorus");
}
