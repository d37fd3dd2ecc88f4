#include "EngineFixture.h"

#include <juce_core/juce_core.h>

using namespace orvo;
using orvo::test::EngineFixture;

using CopyAndPaste = EngineFixture;
using WholePageSends = EngineFixture;
using HostTransport = EngineFixture;

TEST_F (CopyAndPaste, PastesOnlyOntoRowsOfTheSameShape)
{
    engine.pasteSelectedValue();
    EXPECT_TRUE (logContains ("Paste parameter value is unavailable. Select a compatible target parameter first.\n"));
    engine.copySelectedValue();
    EXPECT_TRUE (logContains ("Copy parameter value is unavailable. Select a copyable parameter first.\n"));

    engine.userEdit (row ("osc1.cents"), 3000);
    engine.copySelectedValue();
    EXPECT_TRUE (logContains ("Copied Cents value 3000.\n"));
    output->take();

    engine.selectRow (row ("osc2.cents"));
    EXPECT_TRUE (engine.canPasteSelected());
    engine.pasteSelectedValue();
    EXPECT_EQ (engine.value (row ("osc2.cents")), 3000);
    EXPECT_TRUE (logContains ("Pasted Cents value 3000 to Cents.\n"));
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 2049, 3000 } }));

    engine.selectRow (row ("osc1.semitone"));
    EXPECT_FALSE (engine.canPasteSelected());
    engine.pasteSelectedValue();
    EXPECT_TRUE (logContains ("Paste parameter value blocked. Copied Cents is not compatible with Semitone.\n"));
    EXPECT_EQ (engine.value (row ("osc1.semitone")), 0);
}

TEST_F (CopyAndPaste, TellsApartRowsThatOnlyLookAlike)
{
    struct Case
    {
        const char *from, *to;
        bool compatible;
    };
    const Case cases[] = {
        { "performance.wheel.scale", "performance.arp.length", false }, // both 0..100 with two decimals, other formats
        { "lfo1.enable", "lfo2.enable", false },                        // latched buttons with other on values
        { "lfo1.freerun", "lfo2.freerun", true },
        { "osc1.saw", "osc2.saw", true },
        { "osc1.saw", "osc2.sync", false }, // enum buttons with other labels
        { "env1.attacktime", "env3.release2time", true },
    };
    for (const auto& c : cases)
    {
        engine.selectRow (row (c.from));
        engine.copySelectedValue();
        engine.selectRow (row (c.to));
        EXPECT_EQ (engine.canPasteSelected(), c.compatible) << c.from << " -> " << c.to;
    }
}

TEST_F (WholePageSends, TransferEveryWiredRowOrSayWhyNot)
{
    engine.transferCurrentMidi();
    const auto sent = sentNrpns();
    // 231 wired rows; the post-filter sources go out as three source bits.
    EXPECT_EQ (sent.size(), 231u + 2u);
    EXPECT_TRUE (logContains ("Transferred current MIDI editor values to Orvo: 231 parameters.\n"));

    engine.setPage (3);
    const auto [title, text] = engine.sendShownValues();
    EXPECT_EQ (title, "Send Shown Values");
    EXPECT_EQ (sentNrpns().size(), 20u + 2u) << "the FILTERS page has 20 rows";

    engine.setOutput (nullptr);
    engine.transferCurrentMidi();
    EXPECT_TRUE (
        logContains ("No MIDI output is open. Open the Orvo MIDI output before transferring current MIDI values.\n"));
}

TEST_F (HostTransport, SetsRowsAndInterfaceControlsByKey)
{
    engine.receiveHostParameter ("osc1.semitone", 2087.4, 0);
    EXPECT_EQ (engine.value (row ("osc1.semitone")), 2087);
    engine.receiveHostParameter ("__interface:3716", 4095, 0);
    engine.receiveHostParameter ("__interface:99x", 1, 0);
    engine.receiveHostParameter ("no.such.row", 1, 0);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 1920, 2087 }, { 1, 3716, 4095 } }));
    EXPECT_EQ (engine.takeInterfaceValueChanges(), (std::vector<std::pair<int, int>>{ { 3716, 4095 } }));
    EXPECT_FALSE (engine.hostInputActive());
}

TEST_F (HostTransport, RoundTripsTheEditorStateAndClampsTheSelection)
{
    engine.userEdit (row ("lfo1.enable"), 2049);
    engine.userEdit (row ("env3.keybase"), 100);
    engine.setPage (4);
    const auto document = engine.produceEditorState();

    test::EngineRig other;
    ASSERT_TRUE (other.engine.restoreEditorState (document));
    EXPECT_EQ (other.engine.value (row ("lfo1.enable")), 2049)
        << "a latched button restores its value, it does not toggle";
    EXPECT_EQ (other.engine.value (row ("env3.keybase")), 100);
    EXPECT_EQ (other.engine.page(), 4);
    EXPECT_FALSE (other.engine.tick().valueChangedRows.empty());

    auto parsed = juce::JSON::parse (juce::String (document));
    EXPECT_EQ (parsed["schema"].toString(), "orvo.editor.plugin-state.v1");
    EXPECT_EQ (parsed["parameters"].size(), 233);
    EXPECT_EQ (parsed["parameters"][18]["section"].toString(), "OSC 1 TUNING");
    EXPECT_EQ (parsed["parameters"][18]["page"].toString(), "OSC 1");

    other.engine.setDiagnosticMode (true);
    ASSERT_TRUE (other.engine.restoreEditorState (
        R"({"schema": "orvo.editor.plugin-state.v1", "selectedProgramIndex": 200, "selectedBankIndex": -3,
            "selectedPageTabIndex": 12, "parameters": [{"id": "osc1.fine", "rawValue": 99999}, {"id": 5}, "junk"]})"));
    EXPECT_EQ (other.engine.selectedProgram(), 127);
    EXPECT_EQ (other.engine.selectedBank(), 0);
    EXPECT_EQ (other.engine.page(), 5);
    EXPECT_EQ (other.engine.value (row ("osc1.fine")), 4095);
    EXPECT_TRUE (other.logContains ("Restored VST editor state: bank=0 program=127 page=5 parameters=1\n"));

    EXPECT_FALSE (other.engine.restoreEditorState ("{not json"));
    EXPECT_FALSE (other.engine.restoreEditorState (R"({"schema": "something.else"})"));
    EXPECT_EQ (other.engine.value (row ("osc1.fine")), 4095) << "a rejected document changes nothing";
}

TEST_F (WholePageSends, DetailsOfAnInterfaceControlNameItsMappingAndRange)
{
    engine.selectInterface (3078);
    const auto text = engine.parameterDetailsText();
    EXPECT_NE (text.find ("\nMAPPING: INTERFACE NRPN\nCONTROL: DIRECT EDIT\nNRPN 3078\nRANGE: MAIN / AUX / "
                          "OFF\nCOPY/PASTE: NOT AVAILABLE"),
               std::string::npos)
        << text;
    engine.selectRow (row ("osc1.semitone"));
    EXPECT_EQ (engine.parameterDetailsText().find ("INTERFACE NRPN"), std::string::npos);

    // A catalogue row names its display format, its range in the instrument's units and where its value came from.
    engine.userEdit (row ("filter1.frequency"), 4095);
    EXPECT_NE (engine.parameterDetailsText().find (
                   "\nMAPPING: FILTER FREQUENCY\nMIDI: NRPN 2304\nRANGE: 0.0218 kHz TO 22.3482 kHz\n"),
               std::string::npos)
        << engine.parameterDetailsText();
    EXPECT_NE (engine.parameterDetailsText().find ("\nCURRENT CONTROL: EDITOR"), std::string::npos);
    receiveNrpn (1, 2304, 100);
    engine.tick();
    EXPECT_NE (engine.parameterDetailsText().find ("\nCURRENT CONTROL: ORVO/MIDI"), std::string::npos);
}

TEST_F (WholePageSends, TypedValuesThatCannotBeTakenSayWhy)
{
    const int frequency = row ("filter1.frequency"), semitone = row ("osc1.semitone");
    EXPECT_EQ (engine.readTypedValue (semitone, "12"), engine.readTypedValue (semitone, " 12 "));
    ASSERT_TRUE (engine.readTypedValue (frequency, "2.5720 kHz"));
    const struct
    {
        int row;
        const char* text;
        const char* log;
    } refused[] = {
        { frequency, "abc",
          "\"abc\" is not a value of Frequency; type a number from 0.0218 kHz TO 22.3482 kHz; the value was not "
          "changed.\n" },
        { frequency, "-5",
          "\"-5\" is outside the range of Frequency (0.0218 kHz TO 22.3482 kHz); the value was not changed.\n" },
        { semitone, "9999", "\"9999\" is outside the range of Semitone (-60 TO 60); the value was not changed.\n" },
    };
    for (const auto& c : refused)
    {
        EXPECT_FALSE (engine.readTypedValue (c.row, c.text)) << c.text;
        EXPECT_TRUE (logContains (c.log)) << c.text << "\n" << engine.log().text();
    }
}

TEST_F (WholePageSends, IncomingNrpnsWithoutARowAreNamedAndQueuedUpTo256)
{
    engine.setDiagnosticMode (true);
    engine.setMidiInputMonitor (true);
    receiveNrpn (1, 3615, 7);
    engine.tick();
    EXPECT_EQ (engine.lastNrpnText(), "Last NRPN: ch 1 / 3615 = 7 (DIGITAL EFFECT PARAM2 SLOT 1)");
    receiveNrpn (1, 2725, 4095); // ENV 1 Loop Count
    engine.tick();
    EXPECT_TRUE (logContains (
        "Decoded NRPN: ch=1 parameter=2725 name=\"ENV 1 Loop Count\" env-loop=\"ENV 1 Loop Count 255\" value=4095"))
        << engine.log().text();

    // The queue keeps 257 pairs; one more drops the oldest 128 first.
    for (const auto& [count, kept, oldest] : { std::tuple<int, size_t, int>{ 256, 257, 0 }, { 257, 130, 128 } })
    {
        engine.takeUnmappedNrpns();
        for (int i = 0; i <= count; ++i)
            receiveNrpn (1, 9000 + (i % 50), i);
        const auto queued = engine.takeUnmappedNrpns();
        EXPECT_EQ (queued.size(), kept) << count;
        EXPECT_EQ (queued.front().second, oldest) << count;
    }
}
