#include "data/ProgramCodec.h"
#include "data/ProgramLayout.h"
#include "effects/EffectAlgorithms.h"
#include "effects/EffectControlTable.h"
#include "effects/EffectState.h"
#include "effects/EffectValueFamilies.h"
#include "instrument/FactoryPrograms.h"
#include "instrument/VirtualOrvo.h"
#include "midi/SysExStream.h"

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <random>
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

/** Which rows share stored bits with an earlier field, so their value follows that field's bytes. */
std::set<int> rowsOnSharedPlaces()
{
    std::set<int> shared;
    std::vector<std::uint8_t> taken (2048, 0);
    for (const auto& f : programFields())
    {
        const auto place = placeOfField (f);
        const int at = place.at, width = place.width;
        const std::uint8_t mask = place.mask;
        if (f.row < 0)
            continue; // values without a row give way to the rows
        bool clash = false;
        for (int i = 0; i < width; ++i)
        {
            clash = clash || (taken[(size_t)(at + i)] & mask) != 0;
            taken[(size_t)(at + i)] |= mask;
        }
        if (clash)
            shared.insert (f.row);
    }
    return shared;
}
} // namespace

//==============================================================================
TEST (FactoryBanks, EveryProgramIsAValidUniquelyNamedDumpOfTheValuesItWasBuiltFrom)
{
    const auto shared = rowsOnSharedPlaces();
    std::bitset<ParameterCatalogue::numRows> placed;
    for (const auto& f : programFields())
        if (f.row >= 0)
            placed.set ((size_t)f.row);
    // Values on a continuous scale stored through a table or a period: close to the plan, not equal.
    // clang-format off
    const std::pair<const char*, int> tolerances[] = {
        { "lfo1.rate", 12 },   { "lfo2.rate", 12 },            { "lfo3.rate", 12 },
        { "sh.rate", 130 },    { "performance.tempo", 40 },    { "performance.lowerportamento.time", 3 },
        { "env1.shape", 230 }, { "env3.retriggerstage", 345 }, { "performance.arp.localbpm", 40 },
    };
    // clang-format on

    int exactChecks = 0, lossyChecks = 0;
    std::set<std::string> names;
    std::set<int> algorithms;
    std::map<int, std::set<int>> valuesPerRow;
    for (int b = 0; b < factory::numBanks; ++b)
    {
        const auto& bank = factory::bank (b);
        const auto messages = splitSysExMessages (factory::bankSysEx (b));
        ASSERT_EQ ((int)bank.size(), factory::numPrograms);
        ASSERT_EQ (messages.size(), 128u);
        for (int p = 0; p < factory::numPrograms; ++p)
        {
            const auto& program = bank[(size_t)p];
            const auto& dump = messages[(size_t)p];
            EXPECT_EQ (dump, buildProgramDump (program.unpacked, sysex::opStoredProgram, b, p));
            const auto layout = classifyProgramDump (dump);
            EXPECT_TRUE (layout.valid && layout.bank == b && layout.program == p) << b << "/" << p;
            DecodedProgramValues v;
            std::string diagnostic;
            ASSERT_TRUE (decodeProgramDump (dump, v, diagnostic)) << b << "/" << p;
            EXPECT_EQ (v.name, program.name);
            EXPECT_FALSE (v.name.empty());
            EXPECT_LE (v.name.size(), 16u);
            names.insert (factory::bankName (b) + v.name);
            algorithms.insert (v.output.digitalEffect);
            EXPECT_EQ (v.output.digitalEffect, program.effectAlgorithm);
            EXPECT_EQ (ByteVector (v.output.effectBytes.begin(), v.output.effectBytes.begin() + 30),
                       program.effectParameters);
            for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            {
                EXPECT_EQ (program.stored[(size_t)r], placed[(size_t)r] && shared.count (r) == 0)
                    << ParameterCatalogue::row (r).id << ": every row with a place of its own is stored";
                EXPECT_EQ (v.defined[(size_t)r], placed[(size_t)r]) << ParameterCatalogue::row (r).id;
                if (v.defined[(size_t)r])
                    valuesPerRow[r].insert (v.raw[(size_t)r]);
            }
            for (const auto& f : programFields())
            {
                if (f.row < 0 || shared.count (f.row) > 0)
                    continue;
                const auto r = (size_t)f.row;
                if (fieldDomain (f).exact)
                {
                    EXPECT_EQ (v.raw[r], program.planned[r]) << f.id << " in " << program.name;
                    ++exactChecks;
                    continue;
                }
                // A lossy place holds the nearest value it can: storing what came back changes nothing.
                auto again = program.unpacked;
                instrumentprogram::storeValues (again, v.raw, ProgramRows().set (r));
                EXPECT_EQ (decodeUnpackedProgram (again).raw[r], v.raw[r]) << f.id << " in " << program.name;
                ++lossyChecks;
            }
            for (const auto& [id, tolerance] : tolerances)
            {
                const auto r = (size_t)row (id);
                EXPECT_LE (std::abs (v.raw[r] - program.planned[r]), tolerance) << id << " in " << program.name;
            }
        }
    }
    EXPECT_GT (exactChecks, 3 * 128 * 90);
    EXPECT_GT (lossyChecks, 3 * 128 * 30);
    EXPECT_EQ (names.size(), 3u * 128u) << "names are unique within a bank";
    EXPECT_GE (algorithms.size(), 20u);
    for (const char* id : { "env3.attacktime", "filter1.frequency", "osc1.cents", "lfo1.rate", "env2.sustainlevel" })
        EXPECT_GE (valuesPerRow[row (id)].size(), 8u) << id;
    EXPECT_EQ (factory::bankSysEx (3), ByteVector());
    EXPECT_EQ (factory::bankSysEx (1), factory::bankSysEx (1)) << "deterministic";
}

TEST (FactoryBanks, TheInstrumentWritesItsOwnStatePlacesButTheEditorCannot)
{
    // prefilter.osc1 lives in the captured control values, osc1.sine in the captured switches.
    auto program = instrumentprogram::blank();
    ProgramValues values{};
    values[(size_t)row ("prefilter.osc1")] = 3000;
    values[(size_t)row ("osc1.sine")] = 1;
    values[(size_t)row ("lfo2.freerun")] = 4095;
    ProgramRows rows;
    for (const char* id : { "prefilter.osc1", "osc1.sine", "lfo2.freerun" })
        rows.set ((size_t)row (id));

    auto editorCopy = program;
    EXPECT_TRUE (writeProgramValues (editorCopy, values, rows).written.none());
    const auto stored = instrumentprogram::storeValues (program, values, rows);
    EXPECT_EQ (stored, rows);
    const auto v = decodeUnpackedProgram (program);
    EXPECT_EQ (v.valueFor ("prefilter.osc1"), 3000);
    EXPECT_EQ (v.valueFor ("osc1.sine"), 1);
    EXPECT_EQ (v.valueFor ("lfo2.freerun"), 4095);

    EXPECT_TRUE (instrumentprogram::writeName (program, "Sixteen Chars 16"));
    EXPECT_FALSE (instrumentprogram::writeName (program, "Seventeen Chars17"));
    EXPECT_FALSE (instrumentprogram::writeName (program, "Tab\there"));
    EXPECT_EQ (readProgramName (program), "Sixteen Chars 16");
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
            for (size_t i = 0; i < r.size(); ++i)
            {
                const auto layout = classifyProgramDump (r[i]);
                EXPECT_TRUE (layout.valid);
                EXPECT_EQ (layout.bank, 2);
                EXPECT_EQ (layout.program, (int)i);
                joined.insert (joined.end(), r[i].begin(), r[i].end());
            }
            EXPECT_EQ (joined, factory::bankSysEx (2));
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

    // Editor places, the instrument's own state places, a shared word and an effect selection.
    const std::pair<const char*, int> edits[] = {
        { "env2.attacktime", 3210 },
        { "filter1.frequency", 1234 },
        { "osc1.semitone", 2400 },
        { "prefilter.osc1", 1500 },
        { "lfo1.freerun", 0 },
        { "lfo1.freerun", 4095 },
        { "osc1.sine", 1 },
        { "osc2.saw", 2 },
        { "env1.sustainpedal", 4095 },
        { "performance.monovox", 1092 }, // MONOVOX 5
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
    v = editBufferFromRequest();
    EXPECT_EQ (v.output.digitalEffect, 11);

    // Program Change drops the edits.
    send ({ 0xC0, 17 });
    v = editBufferFromRequest();
    EXPECT_EQ (v.raw, decodeUnpackedProgram (slot.unpacked).raw);
}

TEST_F (Instrument, EffectNrpnsLandInTheEditBuffersEffectBytes)
{
    int checked = 0;
    for (int algorithm = 0; algorithm < effects::numAlgorithms; ++algorithm)
    {
        sendNrpn (1, effects::selectionNrpn, effectSelectionRawToSend (algorithm));
        for (int k = 0; k < effectbytes::parameterCount; ++k)
        {
            const int r = effectRowForStoredSlot (algorithm, k);
            if (r < 0)
                continue;
            const auto& control = effectControlTable()[(size_t)r];
            const auto family = effectValueFamily (algorithm, control.label, (int)control.nrpn);
            const int top = effectFamilyStoredTop (family);
            if (top <= 0 || effectRowForNrpn (algorithm, (int)control.nrpn) != r)
                continue;
            const int raw = expandEffectValue (family, top / 2).raw;
            sendNrpn (1, (int)control.nrpn, raw);
            const auto bytes = storedEffectBytesOf (orvo.editBufferProgram());
            ASSERT_EQ (bytes.algorithmByte, algorithm);
            EXPECT_EQ (expandEffectValue (family, bytes.parameters[(size_t)k]).raw, raw)
                << "algorithm " << algorithm << " " << control.label;
            ++checked;
            break;
        }
    }
    EXPECT_GE (checked, 25);

    sendNrpn (1, effects::sendNrpn, 4095);
    sendNrpn (1, effects::panNrpn, 0);
    const auto v = editBufferFromRequest();
    EXPECT_EQ (v.output.digitalSend, 65535);
    EXPECT_EQ (v.output.digitalPan, 0);
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

TEST_F (Instrument, StoresProgramsSentToUserSlotsOnly)
{
    auto incoming = factory::bank (1)[5].unpacked;
    ASSERT_TRUE (instrumentprogram::writeName (incoming, "Sent Patch"));
    send (buildProgramDump (incoming, sysex::opStoredProgram, 0, 7));
    send (buildProgramDump (incoming, sysex::opStoredProgram, 1, 8)); // presets cannot be written
    EXPECT_EQ (orvo.storedProgram (0, 7), incoming);
    EXPECT_EQ (orvo.storedProgram (1, 8), factory::bank (1)[8].unpacked);
    EXPECT_TRUE (replies().empty()) << "storing answers nothing";

    send (buildProgramBankRequest (0));
    const auto r = replies();
    ASSERT_EQ (r.size(), 128u);
    EXPECT_EQ (unpackProgramDump (r[7]), incoming);
    EXPECT_EQ (r[7][7], 7);

    send ({ 0xB0, 32, 0 });
    send ({ 0xC0, 7 });
    const auto v = editBufferFromRequest();
    EXPECT_EQ (v.name, "Sent Patch");
    EXPECT_EQ (orvo.editBufferValue (row ("env1.attacktime")), *v.valueFor ("env1.attacktime"));
}

TEST_F (Instrument, MidiEditsChangeTheMix)
{
    struct Case
    {
        int parameter, channel, value, offset, mask, expected;
    };
    const Case cases[] = {
        { 7, 0, 96, 12, 0xFF, 96 },  { 8, 15, 36, 11, 0xFF, 36 }, { 14, 3, 2, 13, 0xFF, 2 },
        { 18, 9, 12, 16, 0xFF, 12 }, { 29, 4, 1, 1, 0x80, 0x80 }, { 29, 2, 0, 1, 0x80, 0 },
        { 30, 6, 1, 8, 0xFF, 1 },    { 30, 0, 0, 8, 0xFF, 0 },    { 7, 1, 999, 12, 0xFF, 255 },
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

TEST_F (Instrument, IgnoresForeignBrokenAndUnknownMessages)
{
    const auto before = orvo.editBufferProgram();
    const auto userBefore = orvo.storedProgram (0, 0);
    auto truncatedStore = buildProgramDump (factory::bank (2)[1].unpacked, sysex::opStoredProgram, 0, 0);
    truncatedStore.erase (truncatedStore.begin() + 100, truncatedStore.end() - 1);
    const ByteVector cases[] = {
        { 0xF0 },
        { 0xF0, 0xF7 },
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D },
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x03, 0x10 },             // no F7
        { 0xF0, 0x00, 0x00, 0x0E, 0x1E, 0x03, 0x10, 0xF7 },       // another model
        { 0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7 }, // another maker
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x03, 0x11, 0xF7 },       // wrong sub-code
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x7F, 0x00, 0xF7 },       // unknown opcode
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0E, 0x01, 0x07, 0xF7 }, // short MIDI-edit
        { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x02, 0x10, 0x00, 0xF7 }, // empty edit buffer dump
        truncatedStore,
        { 0xB0 },
        { 0xC0 },
        { 0x90, 60 },
    };
    for (const auto& m : cases)
        send (m);
    std::mt19937 rng (77);
    for (int i = 0; i < 2000; ++i)
    {
        ByteVector m (sysex::frame, sysex::frame + 5);
        const int n = (int)(rng() % 40);
        for (int k = 0; k < n; ++k)
            m.push_back ((std::uint8_t) (k == 0 ? rng() % 16 : rng() % 128));
        if ((m.size() > 5 && m[5] == sysex::opRequestProgramBank) || rng() % 2 == 0)
            continue; // bank requests answer with 300 KB; they are covered above
        m.push_back (sysex::end);
        send (m);
    }
    replies();
    EXPECT_EQ (orvo.storedProgram (0, 0), userBefore);
    EXPECT_EQ (decodeUnpackedProgram (orvo.editBufferProgram()).name, decodeUnpackedProgram (before).name);
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
