#include "EngineFixture.h"
#include "SysExTestSupport.h"
#include "engine/HeadlessEditor.h"
#include "library/SlotNameTable.h"
#include "mix/MixSettings.h"

#include <algorithm>

using namespace orvo;
using orvo::testing::withByte;

namespace
{
const std::string emDash = "\xe2\x80\x94";

/** A Mix whose channel n plays USER Program n on MIDI channel n + 1, keys 0..127, MAIN, all off. */
MixPayload blankMix()
{
    MixPayload mix (1024, 0);
    mix[0] = 0xB6;
    mix[1] = 0x0A;
    for (int n = 0; n < 16; ++n)
    {
        auto* r = mix.data() + 32 + 48 * n;
        r[10] = (std::uint8_t)n;
        r[12] = 127;
        r[13] = 1;
        r[16] = (std::uint8_t)n;
    }
    // Bytes nobody interprets must travel unchanged.
    mix[5] = 0x5A;
    mix[1000] = 0xA5;
    return mix;
}

/** Sets bytes of one channel's 48-byte record, given as (offset in the record, value). */
void setChannelBytes (MixPayload& mix, int channel, std::initializer_list<std::pair<int, int>> bytes)
{
    for (const auto& [offset, value] : bytes)
        mix[(size_t)(32 + 48 * channel + offset)] = (std::uint8_t)value;
}

size_t occurrences (const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (auto at = text.find (part); at != std::string::npos; at = text.find (part, at + part.size()))
        ++count;
    return count;
}

/** The Mix settings on an engine with a recording output, in virtual time. */
struct MixSettingsRig : test::EngineFixture
{
    SlotNameTable names;
    int bank = 3, slot = 7;
    std::vector<bool> readEnds;
    std::unique_ptr<MixSettings> mix;

    void SetUp() override
    {
        MixSettings::Link link;
        link.hasOutput = [this] { return engine.hasOutput(); };
        link.sendSysEx = [this] (const ByteVector& m) { engine.sendSysEx (m); };
        link.log = [this] (const std::string& line) { engine.log().queueLine (line); };
        link.currentBank = [this] { return bank; };
        link.currentSlot = [this] { return slot; };
        link.slotName = [this] (int b, int s) { return names.name (b, s); };
        mix = std::make_unique<MixSettings> (time, std::move (link));
        mix->onReadEnded = [this] (bool got) { readEnds.push_back (got); };
    }

    std::string logText()
    {
        engine.log().drain();
        return engine.log().text();
    }
    bool logged (const std::string& text) { return logText().find (text) != std::string::npos; }

    /** A read answered as the MIDI input path would: the mark taken, the payload queued, then the timer. */
    void answer (const MixPayload& payload)
    {
        ASSERT_TRUE (mix->takeMixReadPending());
        mix->mixDumpArrived (payload);
        mix->drain();
    }

    /** The MIDI-edit messages sent, as (parameter, channel, value). */
    std::vector<std::array<int, 3>> sentEdits()
    {
        std::vector<std::array<int, 3>> edits;
        for (const auto& m : output->take())
            if (m.size() == 12 && m[5] == 0x0E && m[6] == 0x01)
                edits.push_back ({ m[7], (m[8] >> 3) & 15, *midiEditValue (m) });
        return edits;
    }

    size_t mixRequestsSent()
    {
        const auto request = buildMixEditBufferRequest();
        const auto sent = output->take();
        return (size_t)std::count (sent.begin(), sent.end(), request);
    }
};
} // namespace

//==============================================================================
TEST (MixCaptions, KeysBanksAndProgramLabels)
{
    for (const auto& [key, text] :
         { std::pair (0, "C -1"), { 11, "B -1" }, { 12, "C0" }, { 60, "C4" }, { 61, "C#4" }, { 127, "G9" } })
        EXPECT_EQ (mixKeyCaption (key), text);
    for (const auto& [bank, text] :
         { std::pair (0, "USER"), { 1, "PRESET1" }, { 2, "PRESET2" }, { 3, "CARD" }, { 5, "BANK 5" } })
        EXPECT_EQ (mixBankCaption (bank), text);

    EXPECT_EQ (mixProgramLabel (5, 0, "ignored"), "BANK 5 000");
    EXPECT_EQ (mixProgramLabel (1, 42, ""), "PRESET1 042");
    EXPECT_EQ (mixProgramLabel (0, 7, "Warm Pad"), "USER 007 " + emDash + " Warm Pad");
    EXPECT_EQ (mixProgramLabel (3, 7, "Card Name"), "CARD 007") << "only Program banks carry names";
}

TEST_F (MixSettingsRig, ReadsDecodesAndCachesTheCurrentMixAndTitlesItByTheSlotName)
{
    names.setName (3, 7, "Live Set");
    names.setName (0, 2, "Bass One");
    auto payload = blankMix();
    setChannelBytes (payload, 15, { { 1, 0x80 }, { 8, 1 }, { 9, 2 }, { 10, 99 }, { 11, 36 }, { 12, 84 }, { 16, 9 } });
    setChannelBytes (payload, 4, { { 13, 7 } }); // an output the instrument never shows
    setChannelBytes (payload, 5, { { 9, 5 }, { 10, 0 } });

    mix->readCurrentMix (true);
    EXPECT_EQ (output->take(), (std::vector<ByteVector>{ { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x07, 0x00, 0xF7 } }));
    EXPECT_EQ (mix->panel().status, "READING CURRENT MIX FROM ORVO...");
    EXPECT_FALSE (mix->panel().holdingData);
    EXPECT_TRUE (mix->isReadPending());
    answer (payload);
    EXPECT_FALSE (mix->takeMixReadPending()) << "the mark is taken once";

    const auto& p = mix->panel();
    EXPECT_TRUE (p.holdingData);
    EXPECT_EQ (p.title, "CURRENT MIX \xe2\x80\x9cLive Set\xe2\x80\x9d LOADED");
    EXPECT_EQ (readEnds, std::vector<bool>{ true });
    EXPECT_TRUE (logged ("Mix Settings: requested the current Orvo Mix edit buffer.\n"
                         "Mix Settings: read and cached all 16 channels from the current Orvo Mix.\n"));

    const auto& r = p.rows[15];
    EXPECT_EQ (
        std::tie (r.channelCaption, r.programLabel, r.lowKeyId, r.highKeyId, r.midiChannelId, r.useKeys, r.enable),
        std::make_tuple ("16", "PRESET2 099", 37, 85, 10, true, true));
    EXPECT_EQ (p.rows[2].programLabel, "USER 002 " + emDash + " Bass One");
    EXPECT_EQ (p.rows[4].outputId, 3) << "output 7 shows as AUX";
    EXPECT_EQ (p.rows[5].programLabel, "BANK 5 000");
    EXPECT_FALSE (p.rows[0].useKeys || p.rows[0].enable);

    EXPECT_TRUE (mix->cachedPayload().isValidFor (3, 7));
    EXPECT_EQ (mix->cachedPayload().payload, payload) << "the cache keeps every byte, output 7 included";

    slot = 8; // without a name the title has no quotes
    mix->readCurrentMix (false);
    answer (blankMix());
    EXPECT_EQ (mix->panel().title, "CURRENT MIX LOADED");
}

TEST_F (MixSettingsRig, DecodingRefusesAnythingButAMixInAMixSlot)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 4, 127, "LOCAL .ORVOM MIX LOADED"));
    const auto before = mix->cachedPayload();
    const auto changes = mix->changeCount();

    auto shortPayload = blankMix();
    shortPayload.pop_back();
    const auto other = withByte (blankMix(), 40, 3);
    // A wrong signature, a short payload, a Program bank, no such bank, no such slot.
    for (const auto& [payload, b, s] : { std::tuple (withByte (blankMix(), 1, 0x0B), 3, 0),
                                         { shortPayload, 3, 0 },
                                         { other, 2, 0 },
                                         { other, 5, 0 },
                                         { other, 3, 128 },
                                         { other, 3, -1 } })
        EXPECT_FALSE (mix->decodeMixPayload (payload, b, s, "X")) << b << "/" << s;

    EXPECT_EQ (mix->cachedPayload().payload, before.payload);
    EXPECT_EQ (mix->cachedPayload().bank, 4);
    EXPECT_EQ (mix->cachedPayload().slot, 127);
    EXPECT_EQ (mix->changeCount(), changes) << "a refusal leaves the panel alone";
    EXPECT_EQ (mix->panel().title, "LOCAL .ORVOM MIX LOADED");
}

TEST_F (MixSettingsRig, AnUnreadableAnswerKeepsTheOldCache)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 3, 7, "OLD"));
    const std::string failure =
        "Mix Settings: received an Orvo Mix edit buffer, but all 16 channels could not be decoded.\n";

    mix->readCurrentMix (true);
    answer ({}); // the dump did not unpack
    mix->readCurrentMix (true);
    answer (withByte (blankMix(), 1, 0x0B));
    bank = 0; // a Program bank is selected while the Mix is read
    mix->readCurrentMix (true);
    answer (blankMix());

    EXPECT_EQ (mix->panel().status, "THE ORVO MIX RESPONSE COULD NOT BE READ.");
    EXPECT_EQ (occurrences (logText(), failure), 3u);
    EXPECT_EQ (readEnds, (std::vector<bool>{ false, false, false }));
    EXPECT_TRUE (mix->cachedPayload().isValidFor (3, 7));
    EXPECT_EQ (mix->cachedPayload().payload, blankMix());
}

TEST_F (MixSettingsRig, WithoutAnOutputNothingIsSentOrCached)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 3, 7, "OLD"));
    engine.setOutput (nullptr);

    mix->readCurrentMix (true);
    EXPECT_EQ (mix->panel().status, "NO MIDI OUTPUT IS OPEN. SELECT THE ORVO OUTPUT AND TRY AGAIN.");
    EXPECT_FALSE (mix->panel().holdingData) << "the panel's read clears the rows first";
    EXPECT_FALSE (mix->isReadPending());
    EXPECT_EQ (readEnds, std::vector<bool>{ false });

    EXPECT_FALSE (mix->sendMixChannelSetting ("OUTPUT", 0, 14, 2));
    const auto changes = mix->changeCount();
    mix->selectOutput (1, 1);
    EXPECT_GT (mix->changeCount(), changes) << "the view is told to put its combo back";
    EXPECT_EQ (mix->panel().rows[1].outputId, 2);
    mix->setEnable (0, true);
    mix->setUseKeys (0, true);
    time.advance (1000);

    const auto log = logText();
    for (const std::string what : { "the current Mix could not be read", "OUTPUT was not sent", "ENABLE was not sent",
                                    "CNTRL PAGE 2 was not sent" })
        EXPECT_TRUE (logged ("Mix Settings: no MIDI output is open, so " + what + ".\n")) << what;
    EXPECT_EQ (log.find ("USE KEYS was not sent"), std::string::npos) << "the key switch stops at its first step";
    EXPECT_EQ (occurrences (log, "could not be read"), 1u) << "a switch that was not sent reads nothing back";
    EXPECT_EQ (mix->cachedPayload().payload, blankMix());
    EXPECT_EQ (readEnds.size(), 1u);
}

TEST_F (MixSettingsRig, AReadTimesOutAfterFiveSecondsAndALateDumpIsIgnored)
{
    mix->readCurrentMix (true);
    time.advance (4999);
    EXPECT_TRUE (mix->isReadPending());
    EXPECT_TRUE (readEnds.empty());
    time.advance (1);
    EXPECT_FALSE (mix->isReadPending());
    EXPECT_EQ (mix->panel().status, "TIMED OUT WAITING FOR THE ORVO MIX RESPONSE.");
    EXPECT_EQ (readEnds, std::vector<bool>{ false });
    EXPECT_TRUE (logged ("Mix Settings: timed out waiting for the current Orvo Mix edit buffer.\n"));

    // The MIDI input path asks for the mark before it claims a dump: after the time-out it is gone.
    EXPECT_FALSE (mix->takeMixReadPending());

    mix->readCurrentMix (false);
    time.advance (5000);
    EXPECT_EQ (mix->panel().status, "TIMED OUT WAITING FOR THE ORVO MIX RESPONSE.")
        << "a hidden read leaves the status";
    EXPECT_TRUE (
        logged ("Mix Settings: timed out waiting for the current Orvo Mix edit buffer after a live switch edit.\n"));
    EXPECT_EQ (readEnds, (std::vector<bool>{ false, false }));
}

TEST_F (MixSettingsRig, OnlyTheLatestReadTimesOutAndADumpTakenInTimeStillEndsIt)
{
    mix->readCurrentMix (true);
    time.advance (3000);
    mix->readCurrentMix (true);
    time.advance (2500); // the first read's timer fires here
    EXPECT_TRUE (mix->isReadPending());
    EXPECT_FALSE (logged ("timed out"));
    time.advance (2500);
    EXPECT_FALSE (mix->isReadPending());
    EXPECT_EQ (occurrences (logText(), "timed out"), 1u);
    EXPECT_EQ (readEnds, std::vector<bool>{ false });

    mix->readCurrentMix (true);
    time.advance (4000);
    ASSERT_TRUE (mix->takeMixReadPending());
    mix->mixDumpArrived (blankMix());
    time.advance (2000); // the timer passes before the message thread drains
    EXPECT_EQ (occurrences (logText(), "timed out"), 1u);
    mix->drain();
    EXPECT_EQ (readEnds, (std::vector<bool>{ false, true }));
    EXPECT_TRUE (mix->panel().holdingData);
}

TEST_F (MixSettingsRig, ChannelSettingsAreSentLoggedAndCached)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 3, 7, "CURRENT MIX LOADED"));
    struct Case
    {
        const char* caption;
        int parameter, channel, value, offset;
        int expectedByte;
        const char* line;
    };
    const Case cases[] = {
        { "KBD HIGH", 7, 0, 96, 12, 96, "Mix Settings: sent KBD HIGH=96 to Mix channel 1.\n" },
        { "OUTPUT", 14, 3, 2, 13, 2, "Mix Settings: sent OUTPUT=2 to Mix channel 4.\n" },
        { "MIDI CHANNEL", 18, 15, 4, 16, 4, "Mix Settings: sent MIDI CHANNEL=4 to Mix channel 16.\n" },
        { "USE KEYS", 29, 6, 1, 1, 0x80, "Mix Settings: sent USE KEYS=1 to Mix channel 7.\n" },
        { "ENABLE", 30, 6, 5, 8, 1, "Mix Settings: sent ENABLE=5 to Mix channel 7.\n" },
        { "KBD HIGH", 7, 40, 70000, 12, 255, "Mix Settings: sent KBD HIGH=65535 to Mix channel 16.\n" },
        { "KBD LOW", 8, 2, -5, 11, 0, "Mix Settings: sent KBD LOW=-5 to Mix channel 3.\n" },
    };
    for (const auto& c : cases)
    {
        auto expected = mix->cachedPayload().payload;
        const int channel = std::clamp (c.channel, 0, 15);
        auto& byte = expected[(size_t)(32 + 48 * channel + c.offset)];
        byte = c.offset == 1 ? (std::uint8_t) ((byte & 0x7F) | c.expectedByte) : (std::uint8_t)c.expectedByte;

        EXPECT_TRUE (mix->sendMixChannelSetting (c.caption, c.channel, c.parameter, c.value)) << c.caption;
        EXPECT_EQ (output->take(), (std::vector<ByteVector>{ buildMidiEditMessage (
                                       1, c.parameter, channel, std::clamp (c.value, -65536, 65535)) }))
            << c.caption;
        EXPECT_EQ (mix->cachedPayload().payload, expected) << c.line;
        EXPECT_TRUE (logged (c.line)) << c.line;
    }

    // A page change touches no byte; nor does anything once another slot is selected.
    const auto before = mix->cachedPayload().payload;
    EXPECT_TRUE (mix->sendMixChannelSetting ("CNTRL PAGE 2", 0, 21, 1));
    slot = 8;
    EXPECT_TRUE (mix->sendMixChannelSetting ("OUTPUT", 0, 14, 0));
    EXPECT_EQ (mix->cachedPayload().payload, before);
    EXPECT_EQ (mix->cachedPayload().slot, 7);
}

TEST_F (MixSettingsRig, ComboSelectionsSendTheItemIdLessOne)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 3, 7, "CURRENT MIX LOADED"));
    mix->selectLowKey (0, 61);
    mix->selectHighKey (1, 128);
    mix->selectMidiChannel (9, 16);
    mix->selectOutput (12, 3);
    mix->selectOutput (12, 4); // no such item
    mix->selectLowKey (0, 0);
    EXPECT_EQ (sentEdits(),
               (std::vector<std::array<int, 3>>{ { 8, 0, 60 }, { 7, 1, 127 }, { 18, 9, 15 }, { 14, 12, 2 } }));

    const auto& rows = mix->panel().rows;
    EXPECT_EQ (rows[0].lowKeyId, 61) << "the row follows what was sent";
    EXPECT_EQ (rows[9].midiChannelId, 16);
    EXPECT_EQ (rows[12].outputId, 3);
    EXPECT_EQ (mix->cachedPayload().payload[32 + 48 * 12 + 13], 2);
}

TEST_F (MixSettingsRig, LiveSwitchesSendInStepsAndReadTheMixBack)
{
    ASSERT_TRUE (mix->decodeMixPayload (blankMix(), 3, 7, "CURRENT MIX LOADED"));

    mix->setUseKeys (2, true);
    EXPECT_EQ (sentEdits(), (std::vector<std::array<int, 3>>{ { 21, 2, 1 } }));
    time.advance (119);
    EXPECT_TRUE (sentEdits().empty());
    time.advance (1);
    EXPECT_EQ (sentEdits(), (std::vector<std::array<int, 3>>{ { 29, 2, 1 } }));
    EXPECT_EQ (mix->cachedPayload().payload[32 + 48 * 2 + 1], 0x80);
    EXPECT_TRUE (mix->panel().rows[2].useKeys);
    time.advance (349);
    EXPECT_EQ (mixRequestsSent(), 0u);
    time.advance (1);
    EXPECT_EQ (mixRequestsSent(), 1u);
    EXPECT_TRUE (mix->isReadPending());
    EXPECT_EQ (mix->panel().status, "") << "the read after a switch does not disturb the panel";
    EXPECT_TRUE (mix->panel().holdingData);
    answer (mix->cachedPayload().payload);

    // Switches in quick succession are read back once, after the last.
    mix->setEnable (4, true);
    EXPECT_EQ (sentEdits(), (std::vector<std::array<int, 3>>{ { 30, 4, 1 } }));
    time.advance (200);
    mix->setEnable (4, false);
    output->take();
    time.advance (349);
    EXPECT_EQ (mixRequestsSent(), 0u);
    time.advance (1);
    EXPECT_EQ (mixRequestsSent(), 1u);
    time.advance (2000);
    EXPECT_EQ (mixRequestsSent(), 0u);
    EXPECT_EQ (mix->cachedPayload().payload[32 + 48 * 4 + 8], 0);
}

TEST_F (MixSettingsRig, TheShiftButtonPagesThroughBothHalves)
{
    EXPECT_EQ (mix->panel().shiftPage, 0);
    EXPECT_EQ (MixSettings::shiftCaption (mix->panel().shiftPage), "SHIFT 1");
    const auto changes = mix->changeCount();
    mix->toggleShift();
    EXPECT_EQ (MixSettings::shiftCaption (mix->panel().shiftPage), "SHIFT 9");
    EXPECT_GT (mix->changeCount(), changes);
    mix->toggleShift();
    EXPECT_EQ (mix->panel().shiftPage, 0);
}

//==============================================================================
namespace
{
/** The whole editor against the Virtual Orvo, with a Mix slot selected. */
struct MixWithInstrument : ::testing::Test
{
    std::unique_ptr<HeadlessEditor> editor = makeHeadlessEditor();
    MixSettings* mix = &editor->session().mix().settings();
    VirtualOrvo& instrument = editor->instrument();
    std::vector<bool> readEnds;

    void SetUp() override
    {
        auto ended = mix->onReadEnded;
        mix->onReadEnded = [this, ended] (bool got)
        {
            readEnds.push_back (got);
            ended (got);
        };
        editor->engine().setSelection (3, 7);
        editor->connect (false);
    }

    void run (double ms) { editor->settle ((int)std::ceil (ms / 33.0)); }

    static int byteOf (const MixPayload& p, int channel, int offset) { return p[(size_t)(32 + 48 * channel + offset)]; }
};
} // namespace

TEST_F (MixWithInstrument, AChangedOutputReachesTheInstrumentAndReadsBackAfterASwitch)
{
    mix->openPanel();
    run (100);
    ASSERT_TRUE (mix->panel().holdingData);
    EXPECT_EQ (mix->cachedPayload().payload, instrument.mixEditBuffer());
    EXPECT_EQ (readEnds, std::vector<bool>{ true });
    const auto& row = mix->panel().rows[5];
    ASSERT_EQ (row.outputId, 2) << "the instrument's Mix starts on MAIN";
    ASSERT_FALSE (row.enable);

    mix->selectOutput (5, 3); // AUX
    run (100);
    EXPECT_EQ (byteOf (instrument.mixEditBuffer(), 5, 13), 2);

    // What the instrument now holds, changed behind the editor's back, shows after the next switch's read.
    auto changed = instrument.mixEditBuffer();
    changed[(size_t)(32 + 48 * 5 + 11)] = 48;
    instrument.setMixEditBuffer (changed);
    mix->setEnable (5, true);
    run (300);
    EXPECT_EQ (mix->panel().rows[5].lowKeyId, 1) << "not read yet";
    run (200);
    EXPECT_EQ (readEnds, (std::vector<bool>{ true, true }));
    EXPECT_EQ (mix->panel().rows[5].outputId, 3);
    EXPECT_TRUE (mix->panel().rows[5].enable);
    EXPECT_EQ (mix->panel().rows[5].lowKeyId, 49);
    EXPECT_EQ (mix->cachedPayload().payload, instrument.mixEditBuffer());
    EXPECT_EQ (byteOf (instrument.mixEditBuffer(), 5, 8), 1);
}
