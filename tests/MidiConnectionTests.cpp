#include "EngineFixture.h"
#include "engine/HeadlessEditor.h"
#include "engine/MidiConnection.h"
#include "instrument/VirtualOrvo.h"

using namespace orvo;

namespace
{
/** A platform with devices that come and go as the test says. */
struct FakeDevices final : MidiDevices
{
    std::vector<MidiDeviceInfo> ins, outs;
    std::vector<std::string> opened;
    std::vector<MidiDeviceInfo> inputs() override { return ins; }
    std::vector<MidiDeviceInfo> outputs() override { return outs; }
    std::unique_ptr<MidiInputConnection> openInput (const std::string& id, MidiInputCallback) override
    {
        struct In final : MidiInputConnection
        {
            std::string name() const override { return "in"; }
        };
        opened.push_back ("in:" + id);
        return id == "broken" ? nullptr : std::make_unique<In>();
    }
    std::unique_ptr<MidiOutputConnection> openOutput (const std::string& id) override
    {
        opened.push_back ("out:" + id);
        return std::make_unique<RecordingMidiOutput> (id);
    }
};

struct MidiPorts : test::EngineFixture
{
    FakeDevices devices;
    std::unique_ptr<MidiConnection> connection;

    void SetUp() override
    {
        engine.setOutput (nullptr);
        connection = std::make_unique<MidiConnection> (engine, devices);
    }
    void TearDown() override { connection.reset(); }
};

/** The whole editor connected to the Virtual Orvo. */
struct VirtualOrvoLink : ::testing::Test
{
    std::unique_ptr<HeadlessEditor> editor = makeHeadlessEditor();
    EditorEngine& engine = editor->engine();
    VirtualOrvo& instrument = editor->instrument();
    MidiConnection* connection = &editor->session().midi();

    void SetUp() override { editor->connect (false); }
};
} // namespace

TEST (RememberedDevices, MatchByIdentifierFirstThenByName)
{
    const std::vector<MidiDeviceInfo> list{ { "USB MIDI", "hw:1" }, { "USB MIDI", "hw:2" }, { "Other", "hw:3" } };
    EXPECT_EQ (MidiConnection::matchRemembered (list, "hw:2", "USB MIDI"), 2);
    EXPECT_EQ (MidiConnection::matchRemembered (list, "hw:9", "USB MIDI"), 1) << "identifier gone: first of that name";
    EXPECT_EQ (MidiConnection::matchRemembered (list, "", "Other"), 3);
    EXPECT_EQ (MidiConnection::matchRemembered (list, "hw:9", "usb midi"), 0) << "names match exactly";
    EXPECT_EQ (MidiConnection::matchRemembered (list, "", ""), 0);
}

TEST_F (MidiPorts, ReportsAnEmptyScanAndAsksForPorts)
{
    connection->scan();
    EXPECT_TRUE (logContains ("MIDI Inputs:\n  No MIDI input devices found.\n\nMIDI Outputs:\n  No MIDI output devices "
                              "found.\n\nInstructions:\n"));
    EXPECT_TRUE (
        logContains ("  9. Move a software knob, slider, toggle, or button to transmit NRPN back to the Orvo.\n\n"));
    EXPECT_TRUE (logContains ("No saved Orvo MIDI ports. Select the MIDI input and output connected to your Orvo, then "
                              "open both ports.\n\n"));
    EXPECT_EQ (connection->selectedInput(), 0);
    EXPECT_EQ (connection->statusText(),
               "MIDI DEVICE SCAN\nDevice list refreshed.\n\nInputs found: 0\nOutputs found: 0\n\n"
               "Select the Orvo input and output above, then open each port when you are ready.");
}

TEST_F (MidiPorts, AutoConnectsOnceAndReportsAMissingHalfWithANotice)
{
    devices.ins = { { "Orvo", "hw:1" } };
    devices.outs = { { "Other", "hw:7" } };
    auto& s = engine.settings();
    s.inputIdentifier = "hw:1";
    s.inputName = "Orvo";
    s.outputIdentifier = "hw:2";
    s.outputName = "Orvo";
    connection->scan();
    EXPECT_TRUE (logContains ("  [1] Orvo\n      ID: hw:1\n\n"));
    EXPECT_TRUE (logContains (
        "Auto-connecting saved Orvo MIDI ports...\nOpened MIDI input: Orvo\nMove a mapped Orvo control.\n\n"
        "Previously opened Orvo MIDI output was not found.\n\n"));
    EXPECT_TRUE (connection->isInputOpen());
    EXPECT_FALSE (connection->isOutputOpen());
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].title, "Orvo MIDI Setup");
    EXPECT_EQ (prompts.shown[0].message, "One previously opened Orvo MIDI port was found, but the matching "
                                         "input/output pair is incomplete. Check the MIDI selections.");

    devices.opened.clear();
    connection->scan();
    EXPECT_TRUE (devices.opened.empty()) << "auto-connect runs once";
}

TEST_F (MidiPorts, SaysWhenNeitherRememberedPortIsThere)
{
    devices.ins = { { "Other", "hw:5" } };
    engine.settings().inputName = "Orvo";
    engine.settings().outputName = "Orvo";
    connection->scan();
    EXPECT_TRUE (logContains ("Previously opened Orvo MIDI ports were not found for auto-connect.\n\n"));
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].message, "The previously opened Orvo MIDI ports were not found. Select the correct "
                                         "MIDI input and output, then open both ports.");
}

TEST_F (MidiPorts, PromptsForInitialSyncOnceBothPortsAreOpenAndRemembersThemOnClose)
{
    devices.ins = { { "Orvo", "hw:1" } };
    devices.outs = { { "Orvo", "hw:2" } };
    connection->scan();
    connection->chooseInput (1);
    connection->chooseOutput (1);
    EXPECT_TRUE (logContains ("Selected MIDI input: Orvo.\n"));
    int syncs = 0;
    connection->onInitialSync = [&] { ++syncs; };
    prompts.answers = { 0 };
    connection->openInput();
    EXPECT_TRUE (prompts.shown.empty()) << "nothing until both ports are open";
    connection->openOutput();
    ASSERT_EQ (prompts.shown.size(), 1u);
    EXPECT_EQ (prompts.shown[0].title, "Initial Orvo Sync");
    EXPECT_EQ (prompts.shown[0].buttons, (std::vector<std::string>{ "INITIAL SYNC", "NOT NOW" }));
    EXPECT_EQ (prompts.shown[0].message.rfind ("The Orvo MIDI connection is different from the last opened "
                                               "ports.\n\nPrevious input: \nCurrent input: Orvo",
                                               0),
               0u);
    EXPECT_TRUE (logContains (
        "Orvo MIDI connection changed. Initial sync is required to establish Program mode and bank state.\n"));
    EXPECT_EQ (syncs, 1);
    EXPECT_EQ (engine.settings().inputIdentifier, "hw:1");
    EXPECT_EQ (engine.settings().outputName, "Orvo");

    // The same ports next time: the prompt is shown once more, in its "ready" form.
    connection.reset();
    MidiConnection again (engine, devices);
    prompts.answers = { 1 };
    again.scan();
    ASSERT_EQ (prompts.shown.size(), 2u);
    EXPECT_EQ (prompts.shown[1].message.rfind ("Initial Sync will switch the Orvo to PROGRAM mode", 0), 0u);
    EXPECT_TRUE (logContains (
        "Orvo MIDI ports are ready. Initial sync is required to establish Program mode and bank state.\n"));
    EXPECT_TRUE (logContains ("Initial Orvo sync deferred. Orvo mode remains unknown until sync or an editor "
                              "bank/program selection establishes it.\n"));

    // Opening the same pair again asks nothing; another pair is asked about, and every open forgets the mode.
    int unknown = 0;
    again.onModeUnknown = [&] { ++unknown; };
    again.openInput();
    again.openOutput();
    EXPECT_EQ (prompts.shown.size(), 2u);
    devices.outs.push_back ({ "Other", "hw:3" });
    again.scan (false);
    again.chooseOutput (2);
    again.openOutput();
    EXPECT_EQ (prompts.shown.size(), 3u);
    EXPECT_GE (unknown, 2);
}

TEST_F (MidiPorts, ShowsNoInitialSyncPromptInDiagnosticMode)
{
    devices.ins = { { "Orvo", "hw:1" } };
    devices.outs = { { "Orvo", "hw:2" } };
    engine.setDiagnosticMode (true);
    connection->scan();
    connection->chooseInput (1);
    connection->chooseOutput (1);
    connection->openInput();
    connection->openOutput();
    EXPECT_TRUE (prompts.shown.empty());
}

TEST_F (MidiPorts, ReportsAFailedOpenAndLeavesThePortClosed)
{
    devices.ins = { { "Flaky", "broken" } };
    connection->scan();
    connection->openInput();
    EXPECT_TRUE (logContains ("No MIDI input selected.\n"));
    connection->openOutput();
    EXPECT_TRUE (logContains ("No MIDI output selected.\n"));
    connection->chooseInput (1);
    connection->openInput();
    EXPECT_TRUE (logContains ("Could not open MIDI input: Flaky"));
    EXPECT_FALSE (connection->isInputOpen());
    EXPECT_EQ (connection->statusText(),
               "MIDI INPUT\nCould not open the selected Orvo input.\n\nCheck the selected device and try again.");
}

TEST_F (VirtualOrvoLink, AnEditorEditReachesTheInstrumentAndItsEchoIsNotSentBack)
{
    ASSERT_TRUE (connection->isInputOpen());
    ASSERT_TRUE (connection->isOutputOpen());
    const int attack = *ParameterCatalogue::findById ("env2.attacktime");
    engine.userEdit (attack, 3000);
    EXPECT_EQ (instrument.editBufferValue (attack), 3000);
    instrument.flush(); // the echo has arrived on the instrument's own thread
    engine.tick();
    EXPECT_EQ (engine.value (attack), 3000);
    EXPECT_EQ (engine.lastReceived().parameter.load(), 2817) << "the echo did arrive";
}
