#include "data/ProgramCodec.h"
#include "effects/EffectAlgorithms.h"
#include "instrument/FactoryPrograms.h"
#include "instrument/VirtualOrvo.h"
#include "midi/SysExStream.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>

using namespace orvo;

namespace
{
int row (const char* id)
{
    const auto r = ParameterCatalogue::findById (id);
    if (!r)
        ADD_FAILURE() << "no catalogue row " << id;
    return r.value_or (0);
}

/** The instrument with the editor's end of the cable: bytes go in, replies are collected. */
struct Instrument : ::testing::Test
{
    VirtualOrvo orvo;
    std::mutex lock;
    std::vector<ByteVector> received;

    void SetUp() override
    {
        orvo.setListener (
            [this] (const std::uint8_t* d, size_t n)
            {
                std::lock_guard<std::mutex> g (lock);
                received.emplace_back (d, d + n);
            });
    }
    void TearDown() override { orvo.clearListener(); }

    void send (const ByteVector& m) { orvo.receive (m.data(), m.size()); }
    void sendNrpn (int channel, int nrpn, int value)
    {
        for (const auto& m : buildNrpnMessages (channel, nrpn, value))
            send ({ m.begin(), m.end() });
    }
    std::vector<ByteVector> replies()
    {
        orvo.flush();
        std::lock_guard<std::mutex> g (lock);
        auto out = std::move (received);
        received.clear();
        return out;
    }
    DecodedProgramValues editBufferFromRequest()
    {
        replies();
        send (buildProgramEditBufferRequest());
        const auto r = replies();
        DecodedProgramValues v;
        std::string diagnostic;
        EXPECT_EQ (r.size(), 1u);
        if (r.size() == 1)
        {
            EXPECT_TRUE (decodeProgramDump (r[0], v, diagnostic));
        }
        return v;
    }
};

} // namespace

//==============================================================================
// The factory banks are what the end-to-end tests sync: valid, told apart by name and varied enough that
// a value landing on the wrong control shows.
TEST (FactoryBanks, EveryProgramIsAValidUniquelyNamedDumpAndTheyVary)
{
    std::set<std::string> names;
    std::set<int> algorithms;
    std::map<int, std::set<int>> valuesPerRow;
    for (int b = 0; b < factory::numBanks; ++b)
    {
        const auto messages = splitSysExMessages (factory::bankSysEx (b));
        ASSERT_EQ (messages.size(), 128u);
        for (int p = 0; p < factory::numPrograms; ++p)
        {
            const auto layout = classifyProgramDump (messages[(size_t)p]);
            EXPECT_TRUE (layout.valid && layout.bank == b && layout.program == p) << b << "/" << p;
            DecodedProgramValues v;
            std::string diagnostic;
            ASSERT_TRUE (decodeProgramDump (messages[(size_t)p], v, diagnostic)) << b << "/" << p;
            EXPECT_EQ (v.name, factory::bank (b)[(size_t)p].name);
            names.insert (factory::bankName (b) + v.name);
            algorithms.insert (v.output.digitalEffect);
            for (int r = 0; r < ParameterCatalogue::numRows; ++r)
                if (v.defined[(size_t)r])
                    valuesPerRow[r].insert (v.raw[(size_t)r]);
        }
    }
    EXPECT_EQ (names.size(), 3u * 128u) << "names are unique within a bank";
    EXPECT_GE (algorithms.size(), 20u);
    for (const char* id : { "env3.attacktime", "filter1.frequency", "osc1.cents", "lfo1.rate" })
        EXPECT_GE (valuesPerRow[row (id)].size(), 8u) << id;
}

//==============================================================================
TEST_F (Instrument, AnswersEachRequestWithAMessageOfTheRightShape)
{
    struct Case
    {
        const char* what;
        ByteVector request;
        size_t count;
        int opcode;
        size_t length; // 0: any
    };
    const Case cases[] = {
        { "edit buffer", buildProgramEditBufferRequest(), 1, sysex::opProgramEditBuffer,
          sysex::editBufferProgramLength },
        { "Mix", buildMixEditBufferRequest(), 1, sysex::opMixEditBuffer, sysex::mixDumpLength },
        { "Global", buildGlobalRequest(), 1, sysex::opGlobalDump, 0 },
        { "bank 2", buildProgramBankRequest (2), 128, sysex::opStoredProgram, sysex::storedProgramLength },
        { "PROGRAM mode", buildSelectModeMessage (0), 0, 0, 0 },
        { "bank 7", buildProgramBankRequest (7), 0, 0, 0 },
    };
    for (const auto& c : cases)
    {
        send (c.request);
        const auto r = replies();
        ASSERT_EQ (r.size(), c.count) << c.what;
        for (size_t i = 0; i < r.size(); ++i)
        {
            ASSERT_TRUE (hasOrvoFrame (r[i].data(), r[i].size())) << c.what;
            EXPECT_EQ (r[i][5], c.opcode) << c.what;
            EXPECT_EQ (r[i].back(), sysex::end) << c.what;
            if (c.length > 0)
            {
                EXPECT_EQ (r[i].size(), c.length) << c.what;
            }
        }
        if (c.opcode == sysex::opProgramEditBuffer)
        {
            EXPECT_EQ (classifyProgramDump (r[0]).kind, "program-edit-buffer");
        }
        if (c.opcode == sysex::opMixEditBuffer)
        {
            EXPECT_TRUE (hasMixSignature (unpackMixDump (r[0])));
        }
        if (c.count == 128)
        {
            ByteVector joined;
            for (const auto& m : r)
                joined.insert (joined.end(), m.begin(), m.end());
            EXPECT_EQ (joined, factory::bankSysEx (2)) << "each slot's dump, in order";
        }
    }
    send (buildSelectModeMessage (1));
    replies();
    EXPECT_EQ (orvo.mode(), 1);
}

TEST_F (Instrument, GlobalDumpCarriesTheSelectSettingsAndTheLastSelection)
{
    orvo.setProgramSelectChannel (3);
    orvo.setMixSelectChannel (9);
    orvo.setBankSelectType (2);
    send ({ 0xB2, 32, 1 }); // bank PRESET 1 on channel 3
    send ({ 0xC2, 45 });
    replies();
    send (buildGlobalRequest());
    const auto r = replies();
    ASSERT_EQ (r.size(), 1u);
    const auto data = unpackGlobalDump (r[0].data(), r[0].size());
    ASSERT_EQ ((int)data.size(), VirtualOrvo::globalDataLength);
    const auto g = readGlobalDumpFields (data);
    EXPECT_EQ (std::make_tuple (g.programChannel, g.mixChannel, g.bankSelectType, g.lastProgramBank,
                                g.lastProgramNumber, g.lastMixBank, g.lastMixNumber),
               std::make_tuple (3, 9, 2, 1, 45, 3, 0));
}

TEST_F (Instrument, TheEditBufferIsTheSelectedSlotWithItsEditsReadBack)
{
    send ({ 0xB0, 32, 2 });
    send ({ 0xC0, 17 });
    auto v = editBufferFromRequest();
    const auto& slot = factory::bank (2)[17];
    EXPECT_EQ (v.name, slot.name);
    EXPECT_EQ (v.raw, decodeUnpackedProgram (slot.unpacked).raw);

    // An editor place, the instrument's own state places and a shared word.
    const std::pair<const char*, int> edits[] = {
        { "env2.attacktime", 3210 }, { "prefilter.osc1", 1500 },      { "lfo1.freerun", 0 },
        { "osc2.saw", 2 },           { "performance.monovox", 1092 }, // MONOVOX 5
    };
    for (const auto& [id, value] : edits)
    {
        const auto& info = ParameterCatalogue::row (row (id));
        ASSERT_GE (info.nrpn, 0) << id;
        sendNrpn (1, info.nrpn, value);
        EXPECT_EQ (orvo.editBufferValue (row (id)), value) << id;
        v = editBufferFromRequest();
        EXPECT_EQ (v.valueFor (id), value) << id;
        EXPECT_EQ (v.name, slot.name) << "the name stays";
    }
    sendNrpn (1, effects::selectionNrpn, effectSelectionRawToSend (11));
    sendNrpn (1, effects::sendNrpn, 4095);
    sendNrpn (1, effects::panNrpn, 0);
    v = editBufferFromRequest();
    EXPECT_EQ (v.output.digitalEffect, 11);
    EXPECT_EQ (v.output.digitalSend, 65535);
    EXPECT_EQ (v.output.digitalPan, 0);

    // Program Change drops the edits.
    send ({ 0xC0, 17 });
    v = editBufferFromRequest();
    EXPECT_EQ (v.raw, decodeUnpackedProgram (slot.unpacked).raw);
}

TEST_F (Instrument, EchoesSelectionsByTheBankSelectTypeOnTheSelectChannel)
{
    struct Case
    {
        int type, channel;
        std::vector<ByteVector> selection; // what the editor sends, and what comes back
    };
    const Case cases[] = {
        { 0, 1, { { 0xB0, 0, 0 }, { 0xB0, 32, 2 }, { 0xC0, 99 } } },
        { 1, 5, { { 0xB4, 0, 1 }, { 0xC4, 3 } } },
        { 2, 16, { { 0xBF, 32, 0 }, { 0xCF, 127 } } },
    };
    for (const auto& c : cases)
    {
        orvo.setBankSelectType (c.type);
        orvo.setProgramSelectChannel (c.channel);
        for (const auto& m : c.selection)
            send (m);
        EXPECT_EQ (replies(), c.selection) << "type " << c.type;
        const int b = orvo.selectedBank(), p = orvo.selectedProgram();
        EXPECT_EQ (p, c.selection.back()[1]);
        EXPECT_EQ (orvo.editBufferProgram(), factory::bank (b)[(size_t)p].unpacked);

        orvo.selectOnPanel (b, p);
        EXPECT_EQ (replies(), c.selection) << "a panel selection goes out the same way";
    }
    send ({ 0xC2, 5 }); // not the select channel
    EXPECT_TRUE (replies().empty());
    EXPECT_EQ (orvo.selectedProgram(), 127);
}

TEST_F (Instrument, EchoesEachNrpnWithTheValueItTook)
{
    const int nrpn = ParameterCatalogue::row (row ("env3.attacktime")).nrpn;
    sendNrpn (4, nrpn, 9999);
    std::vector<ByteVector> expected;
    for (const auto& m : buildNrpnMessages (4, nrpn, 4095))
        expected.emplace_back (m.begin(), m.end());
    EXPECT_EQ (replies(), expected);
}

TEST_F (Instrument, MidiEditsChangeTheMix)
{
    struct Case
    {
        int parameter, channel, value, offset, mask, expected;
    };
    const Case cases[] = {
        { 14, 3, 2, 13, 0xFF, 2 }, { 29, 4, 1, 1, 0x80, 0x80 },  { 29, 4, 0, 1, 0x80, 0 },
        { 30, 6, 1, 8, 0xFF, 1 },  { 7, 1, 999, 12, 0xFF, 255 },
    };
    for (const auto& c : cases)
    {
        const auto before = orvo.mixEditBuffer();
        send (buildMidiEditMessage (sysex::midiEditTargetMixChannel, c.parameter, c.channel, c.value));
        send (buildMixEditBufferRequest());
        const auto r = replies();
        ASSERT_EQ (r.size(), 1u);
        const auto mix = unpackMixDump (r[0]);
        ASSERT_EQ (mix.size(), sysex::mixUnpackedLength);
        const size_t at = (size_t)(32 + 48 * c.channel + c.offset);
        EXPECT_EQ (mix[at] & c.mask, c.expected) << "parameter " << c.parameter;
        for (size_t i = 0; i < mix.size(); ++i)
            if (i != at)
            {
                EXPECT_EQ (mix[i], before[i]) << "parameter " << c.parameter << " touched byte " << i;
            }
    }
    const auto before = orvo.mixEditBuffer();
    send (buildMidiEditMessage (sysex::midiEditTargetMixChannel, 21, 0, 1)); // a page change
    send (buildMidiEditMessage (sysex::midiEditTargetEffectsConfig, 0, 0, 1));
    EXPECT_EQ (orvo.mixEditBuffer(), before);
}

//==============================================================================
TEST_F (Instrument, WireRatePacesEveryByteInVirtualTime)
{
    VirtualTime time;
    orvo.setWireRate (true, &time, &time);
    orvo.setFaults ({ false, 0, 2, false });
    send (buildProgramBankRequest (1));
    EXPECT_TRUE (replies().empty());
    time.advance (751);
    EXPECT_TRUE (replies().empty()) << "2,350 bytes take 752 ms";
    time.advance (1);
    EXPECT_EQ (replies().size(), 1u);
    time.advance (751);
    EXPECT_TRUE (replies().empty());
    time.advance (1);
    EXPECT_EQ (replies().size(), 1u) << "the second dump follows the first on the cable";

    // Three bytes of a controller message: 0.96 ms each, rounded up to the scheduler's millisecond.
    sendNrpn (1, ParameterCatalogue::row (row ("env1.attacktime")).nrpn, 100);
    time.advance (3);
    EXPECT_EQ (replies().size(), 3u);
    time.advance (1);
    EXPECT_EQ (replies().size(), 1u) << "twelve bytes take 3.84 ms";

    orvo.setFaults ({});
    send (buildProgramBankRequest (0));
    time.advance (128 * 752 - 1);
    EXPECT_EQ (replies().size(), 127u);
    time.advance (1);
    EXPECT_EQ (replies().size(), 1u) << "a full bank takes 128 dumps' time";

    orvo.setWireRate (false);
    send (buildProgramEditBufferRequest());
    EXPECT_EQ (replies().size(), 1u) << "fast mode does not wait";
}

TEST_F (Instrument, FaultsSilenceTruncateAndCutBanksShort)
{
    orvo.setFaults ({ true, 0, -1, false });
    for (const auto& request : { buildGlobalRequest(), buildProgramEditBufferRequest(), buildMixEditBufferRequest(),
                                 buildProgramBankRequest (0) })
        send (request);
    EXPECT_TRUE (replies().empty());
    EXPECT_EQ (orvo.requestsAnswered(), 0);

    orvo.setFaults ({ false, 10, -1, false });
    send (buildProgramEditBufferRequest());
    send (buildMixEditBufferRequest());
    auto r = replies();
    ASSERT_EQ (r.size(), 2u);
    EXPECT_EQ (r[0].size(), sysex::editBufferProgramLength - 10);
    EXPECT_EQ (r[0].back(), sysex::end);
    EXPECT_FALSE (classifyProgramDump (r[0]).valid);
    EXPECT_TRUE (unpackMixDump (r[1]).empty());

    orvo.setFaults ({ false, 0, 40, false });
    send (buildProgramBankRequest (1));
    r = replies();
    ASSERT_EQ (r.size(), 40u);
    EXPECT_EQ (r.back()[7], 39);

    orvo.setFaults ({ false, 0, -1, true });
    send (buildGlobalRequest());
    send (buildProgramEditBufferRequest());
    r = replies();
    ASSERT_EQ (r.size(), 1u) << "the Global is held back";
    EXPECT_EQ (r[0][5], sysex::opProgramEditBuffer);
    orvo.releaseHeldReplies();
    r = replies();
    ASSERT_EQ (r.size(), 1u);
    EXPECT_EQ (r[0][5], sysex::opGlobalDump);
}
