#include "EngineFixture.h"

using namespace orvo;
using orvo::test::EngineFixture;

using NrpnSending = EngineFixture;
using IncomingNrpn = EngineFixture;
using EditorTimer = EngineFixture;
using DiagnosticNudges = EngineFixture;

TEST_F (NrpnSending, SendsACatalogueRowOnChannelOneWhenNothingWasReceived)
{
    engine.userEdit (row ("osc1.semitone"), 2048);
    EXPECT_EQ (output->take(),
               (std::vector<std::vector<std::uint8_t>>{
                   { 0xb0, 0x63, 0x0f }, { 0xb0, 0x62, 0x00 }, { 0xb0, 0x06, 0x10 }, { 0xb0, 0x26, 0x00 } }));
    EXPECT_EQ (engine.lastSent(), std::make_pair (1920, 2048));
}

TEST_F (NrpnSending, FollowsTheChannelSettingOrTheLastReceivedNrpn)
{
    receiveNrpn (5, 1921, 100);
    engine.sendRow (row ("performance.detune"));
    EXPECT_EQ (sentNrpns().at (0)[0], 5);

    engine.settings().outputSendChannel = 9;
    engine.sendRow (row ("performance.detune"));
    EXPECT_EQ (sentNrpns().at (0)[0], 9);

    engine.settings().outputSendChannel = 40;
    engine.sendRow (row ("performance.detune"));
    EXPECT_EQ (sentNrpns().at (0)[0], 16);
}

TEST_F (NrpnSending, ClampsToTheRowAndRefusesUnwiredRowsAndAMissingOutput)
{
    engine.sendCatalogue (row ("osc1.env1pitch.enable"), 4096);
    engine.sendCatalogue (row ("env1.keybase"), 500);
    const auto sent = sentNrpns();
    ASSERT_EQ (sent.size(), 2u);
    EXPECT_EQ (sent[0][2], 4096);
    EXPECT_EQ (sent[1][2], 127);

    engine.sendCatalogue (row ("performance.portamento.time"), 10);
    EXPECT_TRUE (sentNrpns().empty());
    EXPECT_TRUE (logContains ("Time is present for layout testing but is not wired to an Orvo NRPN yet.\n"));

    engine.setOutput (nullptr);
    engine.userEdit (row ("osc1.cents"), 100);
    EXPECT_TRUE (logContains ("No MIDI output is open. Open the Orvo MIDI output first.\n"));
    EXPECT_EQ (engine.value (row ("osc1.cents")), 100) << "the edit itself stands";
}

TEST_F (NrpnSending, SplitsPostFilterSourcesIntoThreeSourceBits)
{
    engine.sendCatalogue (row ("postfilter.noiseext"), 5);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 2610, 1 }, { 1, 2611, 0 }, { 1, 2612, 1 } }));
    engine.sendCatalogue (row ("postfilter.noiseext"), 99);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 2610, 1 }, { 1, 2611, 1 }, { 1, 2612, 1 } }));
}

TEST_F (NrpnSending, ResendsASettledTuningValueOnceAfter220Ms)
{
    const int semitone = row ("osc1.semitone");
    engine.userEdit (semitone, 2000);
    time.advance (100);
    engine.userEdit (semitone, 2100);
    EXPECT_EQ (sentNrpns().size(), 2u);
    time.advance (219);
    EXPECT_TRUE (sentNrpns().empty());
    time.advance (2);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 1920, 2100 } }));
    time.advance (1000);
    EXPECT_TRUE (sentNrpns().empty()) << "a settle re-send does not post another one forever";
}

TEST_F (NrpnSending, LogsWireLinesAndDiagnosticsWhenAskedTo)
{
    engine.setMidiOutputMonitor (true);
    engine.settings().diagnosticMode = true;
    engine.userEdit (row ("osc1.semitone"), 2048);
    engine.tick();
    EXPECT_TRUE (logContains (
        "Sent NRPN to Orvo: ch=1 parameter=1920 name=\"Semitone\" value=2048 cc=[99:15 98:0 6:16 38:0]\n"));
    EXPECT_TRUE (logContains ("MIDI Output: CC ch=1 cc=99 value=15 bytes=b0 63 0f\n"));
    EXPECT_TRUE (logContains ("MIDI Output NRPN: ch=1 parameter=1920 [15*128+0] raw=2048 [16*128+0]\n"));

    engine.sendInterface (3716, 99999, "KEYBOARD POLYPHONY MONO");
    EXPECT_TRUE (logContains (
        "Sent interface NRPN to Orvo: ch=1 action=\"KEYBOARD POLYPHONY MONO\" parameter=3716 value=16383"));
}

TEST_F (NrpnSending, StaysQuietWhenSendingIsOffUntilSendIsPressed)
{
    engine.setSendChangesImmediately (false);
    engine.userEdit (row ("filter1.resonance"), 1000);
    EXPECT_TRUE (sentNrpns().empty());
    EXPECT_TRUE (engine.isEdited());
    engine.sendRow (row ("filter1.resonance"));
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 2305, 1000 } }));
}

TEST_F (IncomingNrpn, MovesTheRightControlOnTheNextTickWithoutSendingBack)
{
    receiveNrpn (1, 1920, 3000);
    EXPECT_EQ (engine.value (18), 0) << "the MIDI thread never touches the value itself";
    const auto report = engine.tick();
    EXPECT_EQ (engine.value (18), 3000);
    EXPECT_EQ (report.valueChangedRows, std::vector<int>{ 18 });
    EXPECT_TRUE (sentNrpns().empty());
    EXPECT_FALSE (engine.isEdited());
}

TEST_F (IncomingNrpn, IgnoresTheEnvelopeEchoFor900MsOnly)
{
    const int attack = row ("env1.attacktime");
    engine.userEdit (attack, 1000);
    output->take();
    time.advance (500);
    receiveNrpn (1, 2689, 1234);
    engine.tick();
    EXPECT_EQ (engine.value (attack), 1000);
    EXPECT_TRUE (engine.lastReceived().taken.load());

    time.advance (500);
    receiveNrpn (1, 2689, 1234);
    engine.tick();
    EXPECT_EQ (engine.value (attack), 1234);

    const int detune = row ("performance.detune");
    engine.userEdit (detune, 50);
    receiveNrpn (1, 3712, 60);
    engine.tick();
    EXPECT_EQ (engine.value (detune), 60) << "only envelope rows have an echo guard";
}

TEST_F (IncomingNrpn, ScalesFullRangeKeyBaseValuesAndClampsTheArpLength)
{
    receiveNrpn (1, 2989, 2048);
    receiveNrpn (1, 2733, 16383);
    receiveNrpn (1, 2861, 100);
    receiveNrpn (1, 902, 9000);
    engine.tick();
    EXPECT_EQ (engine.value (row ("env3.keybase")), 64);
    EXPECT_EQ (engine.value (row ("env1.keybase")), 127);
    EXPECT_EQ (engine.value (row ("env2.keybase")), 100);
    EXPECT_EQ (engine.value (row ("performance.arp.length")), 4095);
}

TEST_F (IncomingNrpn, HonoursTheListenChannelAndQueuesUnmappedNrpns)
{
    engine.settings().inputListenChannel = 2;
    receiveNrpn (1, 1920, 100);
    engine.tick();
    EXPECT_EQ (engine.value (18), 0);
    receiveNrpn (2, 1920, 100);
    receiveNrpn (2, 3610, 7);
    engine.tick();
    EXPECT_EQ (engine.value (18), 100);
    EXPECT_EQ (engine.takeUnmappedNrpns(), (std::vector<std::pair<int, int>>{ { 3610, 7 } }));
}

TEST_F (IncomingNrpn, HandsSysExProgramChangeAndBankSelectToTheirHooks)
{
    std::vector<std::string> seen;
    engine.addSysExHandler (
        [&] (const std::uint8_t*, size_t size)
        {
            seen.push_back ("first " + std::to_string (size));
            return false;
        });
    engine.addSysExHandler (
        [&] (const std::uint8_t* d, size_t)
        {
            seen.push_back ("second");
            return d[1] == 0x01;
        });
    engine.onProgramChange = [&] (int ch, int p)
    { seen.push_back ("pc " + std::to_string (ch) + " " + std::to_string (p)); };
    engine.onBankSelect = [&] (int ch, int v)
    { seen.push_back ("bank " + std::to_string (ch) + " " + std::to_string (v)); };
    engine.bankSelectType = 1;

    receive ({ 0xf0, 0x01, 0xf7 });
    receive ({ 0xc3, 0x05 });
    receive ({ 0xb0, 0x00, 0x02 });
    receive ({ 0xb0, 0x20, 0x01 });
    engine.bankSelectType = 2;
    receive ({ 0xb0, 0x20, 0x01 });
    receive ({ 0x90, 60, 100 });
    EXPECT_EQ (seen, (std::vector<std::string>{ "first 3", "second", "pc 4 5", "bank 1 2", "bank 1 1" }));
}

TEST_F (IncomingNrpn, LogsDecodedLinesAndConfirmationsWithTheInputMonitorOn)
{
    engine.setMidiInputMonitor (true);
    engine.userEdit (row ("osc1.semitone"), 2048);
    receiveNrpn (1, 1920, 2048);
    receiveNrpn (1, 3603, 4);
    engine.tick();
    EXPECT_TRUE (logContains ("MIDI Input: CC ch=1 cc=99 value=15 bytes=b0 63 0f\n"));
    EXPECT_TRUE (logContains (
        "Decoded NRPN: ch=1 parameter=1920 name=\"Semitone\" value=2048 msb=16 lsb=0  confirmation-of-last-send\n"));
    EXPECT_TRUE (
        logContains ("Decoded NRPN: ch=1 parameter=3603 name=\"DIGITAL EFFECTS SELECTION\" value=4 msb=0 lsb=4\n"));
}

TEST_F (EditorTimer, ShowsOnlyTheLastOfManyValuesForARowWithinOneTick)
{
    for (int v = 1; v <= 50; ++v)
        receiveNrpn (1, 1940, v % 2);
    receiveNrpn (1, 2304, 10);
    for (int v = 0; v < 50; ++v)
        receiveNrpn (1, 2304, 1000 + v);
    const auto report = engine.tick();
    EXPECT_EQ (engine.value (row ("filter1.frequency")), 1049);
    EXPECT_EQ (report.valueChangedRows.size(), 2u);
    EXPECT_TRUE (engine.tick().valueChangedRows.empty()) << "a pending value is taken once";
}

TEST_F (EditorTimer, SkipsIncomingValuesWhenNotFollowingAndDuringTheSelectionSettle)
{
    engine.setFollowIncomingMidi (false);
    receiveNrpn (1, 1920, 10);
    engine.tick();
    EXPECT_EQ (engine.value (18), 0);

    engine.setFollowIncomingMidi (true);
    engine.setSelectionSettle (2);
    receiveNrpn (1, 1920, 10);
    receiveNrpn (1, 2723, 5); // env1.loopstart passes the settle window
    engine.tick();
    EXPECT_EQ (engine.value (18), 0);
    EXPECT_EQ (engine.value (row ("env1.loopstart")), 5);
    engine.tick();
    receiveNrpn (1, 1920, 10);
    engine.tick();
    EXPECT_EQ (engine.value (18), 10);
}

TEST_F (EditorTimer, FlashesChangedRowsForEightTicksInDiagnosticHighlightMode)
{
    engine.setDiagnosticMode (true);
    engine.setDiagnosticHighlight (true);
    receiveNrpn (1, 1920, 10);
    auto report = engine.tick();
    EXPECT_TRUE (engine.isHighlighted (18));
    EXPECT_EQ (report.highlightChangedRows, std::vector<int>{ 18 });
    for (int i = 0; i < 7; ++i)
        engine.tick();
    EXPECT_FALSE (engine.isHighlighted (18));
}

TEST_F (EditorTimer, ReportsTheWindowSizeOnceItSettles)
{
    engine.noteWindowSize (1000, 800);
    engine.tick();
    EXPECT_FALSE (logContains ("Window size"));
    engine.noteWindowSize (1600, 1280);
    time.advance (EditorEngine::windowSizeReportDelayMs);
    engine.tick();
    engine.noteWindowSize (1600, 1280);
    time.advance (EditorEngine::windowSizeReportDelayMs);
    engine.tick();
    const auto& text = engine.log().text();
    EXPECT_EQ (text.find ("Window size: width=1600 height=1280.\n"), text.rfind ("Window size"));
    EXPECT_FALSE (logContains ("width=1000"));
}

TEST_F (EditorTimer, ChangesPagesWithClampingAndALogLine)
{
    engine.setPage (9);
    EXPECT_EQ (engine.page(), 5);
    EXPECT_EQ (engine.headerText(), "Brevant Kestrine Orvo Editor - EFFECTS");
    engine.setPage (-1);
    EXPECT_EQ (engine.page(), 0);
    EXPECT_TRUE (logContains ("Page changed to PERFORMANCE.\n"));
}

TEST_F (DiagnosticNudges, StepTheLastReceivedNrpnAndStopAtTheBoundaries)
{
    engine.diagnosticNudge (1);
    EXPECT_TRUE (logContains ("Diagnostic NRPN nudge skipped: no last NRPN value is available.\n"));

    receiveNrpn (3, 2304, 16383);
    engine.diagnosticNudge (1);
    EXPECT_TRUE (logContains ("Diagnostic NRPN nudge stopped at raw boundary: parameter=2304\n"));
    EXPECT_TRUE (sentNrpns().empty());

    engine.diagnosticNudge (-1);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 3, 2304, 16382 } }));
    EXPECT_TRUE (
        logContains ("Diagnostic NRPN nudge sent: ch=3 parameter=2304 value=16382 cc=[99:18 98:0 6:127 38:126]\n"));
    EXPECT_EQ (engine.lastNrpnText(), "Last NRPN: ch 3 / 2304 = 16382 (Frequency)");

    receiveNrpn (3, 5000, 1);
    EXPECT_EQ (engine.lastNrpnText(), "Last NRPN: ch 3 / 5000 = 1 (unmapped)");

    engine.setOutput (nullptr);
    engine.diagnosticNudge (1);
    EXPECT_TRUE (
        logContains ("No MIDI output is open. Open the Orvo MIDI output before using diagnostic NRPN nudges.\n"));
}

TEST_F (EngineFixture, CopiesTheLogToTheClipboard)
{
    engine.log().clear();
    engine.copyLog();
    EXPECT_EQ (clipboard.text, "");
    EXPECT_TRUE (logContains ("Log is empty; copied blank text to clipboard.\n"));
    engine.copyLog();
    EXPECT_EQ (clipboard.text, "Log is empty; copied blank text to clipboard.\n");
    EXPECT_TRUE (logContains ("Copied log to clipboard.\n"));
}

TEST_F (NrpnSending, ResendsASettledDigitalEffectValueOnceAndTakesItsAnswerAsAnEcho)
{
    engine.sendInterface (3610, 100, "DIGITAL EFFECTS DECAY");
    time.advance (100);
    engine.sendInterface (3610, 120, "DIGITAL EFFECTS DECAY");
    engine.sendInterface (3603, 5, "DIGITAL EFFECTS SELECTION");
    EXPECT_EQ (sentNrpns().size(), 3u);
    time.advance (EditorEngine::effectSettleMs);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 3610, 120 }, { 1, 3603, 5 } }))
        << "each NRPN re-sends only its last value";
    EXPECT_TRUE (logContains ("Re-sent settled Digital Effects NRPN: parameter=3610 value=120\n"));

    receiveNrpn (1, 3603, 5); // the answer to the re-send
    receiveNrpn (1, 3610, 121);
    EXPECT_EQ (engine.takeUnmappedNrpns(), (std::vector<std::pair<int, int>>{ { 3610, 121 } }));
    time.advance (EditorEngine::effectEchoWindowMs);
    receiveNrpn (1, 3603, 5);
    EXPECT_EQ (engine.takeUnmappedNrpns(), (std::vector<std::pair<int, int>>{ { 3603, 5 } }))
        << "the echo window has closed";
}

TEST_F (NrpnSending, ReportsAPortThatVanishedInsteadOfFailingSilently)
{
    struct ClosedPort final : MidiOutputConnection
    {
        std::string name() const override { return "USB MIDI"; }
        bool send (const std::uint8_t*, size_t) override { return false; }
    };
    engine.setOutput (std::make_unique<ClosedPort>());
    engine.userEdit (row ("osc1.fine"), 10);
    EXPECT_TRUE (
        logContains ("Could not send to MIDI output USB MIDI: the port is closed. Reopen the Orvo MIDI output.\n"));
    EXPECT_EQ (engine.value (row ("osc1.fine")), 10);
}
