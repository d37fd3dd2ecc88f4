#include "data/ProgramCodec.h"
#include "model/ValueConversion.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvo;

namespace
{
/** Fields stored as the number the player sees (signed percentages and bytes, counts, numbered choices)
    come back as raw values of their row; the tables below speak of what the player sees, so those are
    read back through the row's display. */
std::optional<int> shown (const std::string& id, std::optional<int> decoded)
{
    if (!decoded)
        return decoded;
    for (const auto& f : programFields())
        if (f.id == id && f.row >= 0 &&
            (f.kind == ProgramFieldKind::signedPercent || f.kind == ProgramFieldKind::signedByte ||
             f.kind == ProgramFieldKind::byteKeepZero || f.kind == ProgramFieldKind::monovox ||
             f.kind == ProgramFieldKind::bitsNumber))
            return (int)std::lround (ValueConversion::rawToDisplay (ParameterCatalogue::row (f.row), *decoded));
    return decoded;
}

/** A blank signed Program that tests fill byte by byte. */
struct ProgramBytes
{
    UnpackedProgram bytes = []
    {
        UnpackedProgram p (2048, 0);
        p[0] = 166;
        p[1] = 10;
        for (int i = 2; i < 18; ++i)
            p[(std::size_t)i] = ' ';
        return p;
    }();

    ProgramBytes& put (int offset, std::initializer_list<int> values)
    {
        for (int v : values)
            bytes[(std::size_t)offset++] = (std::uint8_t)v;
        return *this;
    }
    ProgramBytes& word (int offset, int value) { return put (offset, { (value >> 8) & 0xFF, value & 0xFF }); }
    ProgramBytes& name (const std::string& text)
    {
        for (std::size_t i = 0; i < 16; ++i)
            bytes[2 + i] = i < text.size() ? (std::uint8_t)text[i] : (std::uint8_t)' ';
        return *this;
    }
};

int switchByte (int index)
{
    return 398 + 2 * (index - 1024);
}

std::optional<int> decodeOne (const UnpackedProgram& program, const char* id)
{
    return decodeUnpackedProgram (program).valueFor (id);
}

} // namespace

//==============================================================================
TEST (ProgramFieldKinds, DecodeEachStoredFormToItsRawValue)
{
    struct Case
    {
        const char* id;
        int offset;
        std::vector<int> bytes;
        std::optional<int> raw;
    };
    const std::optional<int> unchanged;
    // clang-format off
    const Case cases[] = {
        // word, unsigned, signed, unsigned14, asic word, value
        { "osc1.semitone", 958, { 0x08, 0x00 }, 2048 },            { "filter1.frequency", 22, { 0x80, 0x00 }, 2048 },
        { "osc1.env1pitch.amount", 596, { 0x7F, 0xFF }, 100 }, { "osc1.env1pitch.amount", 596, { 0x80, 0x00 }, -100 },
        { "osc1.env1level", 86, { 0xFF, 0xFF }, 4095 },            { "osc1.env1level", 86, { 0x20, 0x00 }, 2048 },
        { "prefilter.noiseext", 18, { 0x9C, 0x40 }, 4095 },        { "prefilter.noiseext", 18, { 0x40, 0x00 }, 2048 },
        { "lfo1.triggerlevel", 1138, { 0x80, 0x00 }, 0 },          { "lfo1.triggerlevel", 1138, { 0x00, 0x00 }, 2048 },
        // switch index, stored, flags
        { "lfo1.enable", switchByte (1035), { 0x00, 0x01 }, 4095 },
        { "lfo2.startson", switchByte (1159), { 0x01, 0x00 }, 4095 },
        { "filter1.mod1.enable", 333, { 0 }, 4095 },               { "filter1.mod1.enable", 333, { 1 }, 0 },
        { "lfo1.freerun", 1124, { 0x00, 0x02 }, 4095 },            { "lfo1.freerun", 1124, { 0x00, 0x01 }, 0 },
        // bits and single bits
        { "osc.nzext.source", 111, { 0x02 }, 2 },                  { "env1.triggermode", 1333, { 0x05 }, 1365 },
        { "osc1.env1pitch.enable", 605, { 0x01 }, 4096 },          { "osc1.sine", 115, { 0x10 }, 1 },
        { "osc1.saw", 115, { 0x40 }, 1 },                          { "osc1.saw", 115, { 0x80 }, 2 },
        { "osc1.saw", 115, { 0xC0 }, 1 },                          { "osc2.sine", 114, { 0x04 }, 1 },
        { "osc2.sync", 114, { 0x03 }, 2 },                         { "osc2.saw", 114, { 0x40 }, 2 },
        { "osc1.square", 86, { 0x00, 0x01 }, 1 },                  { "performance.monovox", 1939, { 0x1F }, 16 },
        { "performance.monovox", 1939, { 0x00 }, 1 },
        // tables of a bit field
        { "filter2.input", 124, { 0x03 }, 3074 },                  { "noiseext.source", 123, { 0x04 }, 3277 },
        { "noiseext.source", 123, { 0x06 }, unchanged },           { "lfo1.shape", 1148, { 0x02 }, 1600 },
        { "lfo2.polarity", 1200, { 0x00 }, 2050 },                 { "lfo2.polarity", 1200, { 0x08 }, 4095 },
        { "lfo2.polarity", 1200, { 0x18 }, 0 },
        // bytes
        { "env1.shape", 1327, { 12 }, 4095 },                      { "env1.shape", 1327, { 3 }, 1365 },
        { "env1.keybase", 1344, { 60 }, 60 },                      { "performance.arp.progressor", 1751, { 0xFD }, -3 },
        { "performance.portamento.offset", 1785, { 0x80 }, -127 }, // the row shows -127..127
        { "performance.unisonx", 1941, { 0 }, unchanged },         { "performance.unisonx", 1941, { 20 }, 16 },
        { "performance.detune", 1942, { 150 }, 100 },
        // codes through the byte-order rule, each menu position, and words that are no code
        { "lfo1.triggertype", switchByte (1030), { 0x00, 0x02 }, 800 },
        { "lfo1.triggertype", switchByte (1030), { 0x03, 0x00 }, 0 },
        { "lfo1.triggertype", switchByte (1030), { 0x00, 0x04 }, 4095 },
        { "lfo1.triggertype", switchByte (1030), { 0x00, 0x05 }, 3200 },
        { "lfo1.triggertype", switchByte (1030), { 0x00, 0x06 }, 2500 },
        { "lfo1.triggertype", switchByte (1030), { 0x00, 0x09 }, 1600 },
        { "lfo1.triggertype", switchByte (1030), { 0x41, 0x41 }, 2088 },
        { "sh.triggertype", switchByte (1418), { 0x80, 0x80 }, 4095 },
        { "lfo1.periodsize", switchByte (1049), { 0x00, 0x05 }, 703 },
        { "lfo1.periodsize", switchByte (1049), { 0x05, 0x00 }, 703 },
        { "lfo1.periodsize", switchByte (1049), { 0x00, 0x33 }, 4059 },
        { "lfo1.periodsize", switchByte (1049), { 0x00, 0x34 }, 52 },
        { "lfo1.periodsize", switchByte (1049), { 0x01, 0x01 }, 257 },
        { "lfo1.triggersource", switchByte (1028), { 0x00, 0x4E }, 4095 },
        { "lfo1.triggersource", switchByte (1028), { 0x01, 0x00 }, 53 },
        { "lfo1.triggersource", switchByte (1028), { 0x00, 0x4F }, unchanged },
        { "sh.samplesource", 1378, { 0x00, 0x05 }, 1418 },         { "sh.samplesource", 1378, { 0x06, 0x00 }, 2573 },
        { "sh.samplesource", 1378, { 0x00, 0x07 }, 0 },
        // periods, gate, milliseconds, cents, curves
        { "lfo1.rate", 1132, { 0x00, 0x00 }, 4095 },               { "lfo1.rate", 1132, { 0x00, 125 }, 2970 },
        { "lfo1.rate", 1132, { 0xFF, 0xFF }, 20 },                 { "sh.rate", 1536, { 0x61, 0xA8 }, 0 },
        { "sh.rate", 1536, { 0x00, 0x00 }, 4095 },                 { "performance.tempo", 1568, { 0x00, 0x00 }, 4095 },
        { "performance.tempo", 1568, { 0x00, 250 }, 2677 },        { "performance.tempo", 1568, { 0x00, 60 }, 3654 },
        { "performance.arp.length", 1746, { 0x00, 0 }, 0 }, { "performance.arp.length", 1746, { 0x00, 150 }, 4095 },
        { "performance.portamento.time", 1776, { 0x00, 10 }, 1 },
        { "performance.portamento.time", 1776, { 0x03, 0xE8 }, 2330 },
        { "performance.wheel.bottomrange", 1810, { 0xF6, 0xA0 }, 2048 },
        { "performance.wheel.bottomrange", 1810, { 0x27, 0x0F }, 4095 },
        { "performance.wheel.topcurve", 1813, { 12 }, 3641 },
    };
    // clang-format on
    for (const auto& c : cases)
    {
        ProgramBytes p;
        for (std::size_t i = 0; i < c.bytes.size(); ++i)
            p.bytes[(std::size_t)c.offset + i] = (std::uint8_t)c.bytes[i];
        EXPECT_EQ (shown (c.id, decodeOne (p.bytes, c.id)), c.raw) << c.id << " at " << c.offset;
    }
}

TEST (ProgramFieldKinds, SharedPlacesFeedEveryIdThatReadsThem)
{
    ProgramBytes p;
    p.word (20, 0x8000).word (1776, 1000).put (1785, { 0xF6 });
    const auto values = decodeUnpackedProgram (p.bytes);
    EXPECT_EQ (values.valueFor ("osc2toosc1.linfm"), 4095);
    EXPECT_EQ (values.valueFor ("osc.nzext.osc1linfm"), 4095);
    EXPECT_EQ (values.valueFor ("performance.portamento.time"), values.valueFor ("performance.lowerportamento.time"));
    EXPECT_EQ (shown ("performance.portamento.offset", values.valueFor ("performance.portamento.offset")), -10);
    EXPECT_EQ (shown ("performance.lowerportamento.offset", values.valueFor ("performance.lowerportamento.offset")),
               -10);
    EXPECT_FALSE (values.valueFor ("performance.transpose").has_value()) << "no place for it in the Program";
    EXPECT_FALSE (values.valueFor ("no.such.id").has_value());
}

//==============================================================================
TEST (ProgramDecoding, DecodesAWholeProgramBuiltByteByByte)
{
    ProgramBytes p;
    p.name ("\x01"
            "Deep Bass 07  ");
    p.word (958, 0x0840).word (960, 0xFFF6).word (962, 0x0005); // osc 1 tuning
    p.word (964, 0x0800).word (966, 0x0000).word (968, 0xFFFF); // osc 2 tuning
    p.put (115, { 0x30 });                                      // osc1 sine and triangle
    p.word (94, 0x2000);                                        // prefilter.osc1
    p.put (114, { 0x21 });                                      // osc2 saw positive, hard sync
    p.word (76, 0xFFFF);                                        // osc1.pwm
    p.word (596, 0x4000);                                       // osc1 env1 pitch amount +50 %
    p.put (605, { 0x01 });
    p.word (22, 0x1000);   // filter1 frequency
    p.word (1796, 0xE000); // filter1 keytrack -25 %
    p.put (124, { 0x02 });
    p.word (1568, 300).word (1736, 250).word (1746, 100);
    p.put (1751, { 0x05, 0xFB, 0x80, 0x00, 0xFE });
    p.word (1776, 32770).put (1785, { 0x0C });
    p.word (1808, 2400).word (1810, 0xFB50).put (1812, { 0x03, 0x02 }).put (1834, { 0x07 });
    p.put (1939, { 0x03 }).put (1941, { 4, 50 });
    const int env2 = 1360;
    p.word (env2 + 0, 0).word (env2 + 2, 700).word (env2 + 10, 0xFFFF).word (env2 + 34, 0x8000);
    p.put (env2 + 52, { 0x40 }).put (env2 + 55, { 3 }).put (env2 + 61, { 0x1F }).put (env2 + 64, { 6 });
    p.put (env2 + 72, { 48 });
    const int lfo3 = 1220;
    p.word (lfo3 + 12, 0x8000).word (lfo3 + 14, 0xFFFF).word (lfo3 + 16, 125).word (lfo3 + 20, 0x0000);
    p.word (lfo3 + 24, 0x1234).word (lfo3 + 28, 0x0567).word (lfo3 + 30, 0x0000);
    p.put (lfo3 + 32, { 0x0B, 0x09, 0, 0, 105, 1 }); // shape 3, polarity 1; type 9; source 105; enabled
    p.word (switchByte (1291), 1).word (switchByte (1284), 0x0002);
    p.word (660, 0x8000).word (950, 0xFFFF).word (1896, 0x0102);
    p.put (1906, { 0x71, 0x5A, 17, 1, 2, 3 }).put (1944, { 1 });

    auto message = ByteVector{ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00, 0x00, 0x2A };
    const auto packed = packSevenBit (p.bytes);
    message.insert (message.end(), packed.begin(), packed.end());
    message.push_back (0xF7);

    DecodedProgramValues v;
    std::string diagnostic;
    ASSERT_TRUE (decodeProgramDump (message, v, diagnostic));

    EXPECT_EQ (v.name, "Deep Bass 07");
    // clang-format off
    const std::pair<const char*, int> expected[] = {
        { "osc1.semitone", 0x0840 },           { "osc1.cents", 0xFFF6 },               { "osc1.saw", 0 },
        { "prefilter.osc1", 1024 },            { "osc2.saw", 1 },                      { "osc2.sync", 1 },
        { "osc1.env1pitch.amount", 50 },       { "osc1.env1pitch.enable", 4096 },      { "osc2.env1pitch.enable", 0 },
        { "filter1.frequency", 256 },          { "filter2.input", 2051 },
        { "filter1.keytrack", 0 }, // stored -25 %, but the row runs 0..100
        { "performance.tempo", 2469 },         { "performance.arp.localbpm", 2066 }, { "performance.arp.length", 4095 },
        { "performance.arp.progressor", 5 },   { "performance.arp.progmax", -5 },      { "performance.arp.octave", -2 },
        { "performance.arp.progmin", -127 }, // stored -128; the row stops at -127
        { "performance.portamento.time", 4095 }, { "performance.lowerportamento.time", 4095 },
        { "performance.portamento.offset", 12 }, { "performance.wheel.toprange", 2048 },
        { "performance.wheel.bottomrange", 1024 }, { "performance.wheel.osc2", 1 },
        { "performance.wheel.topcurve", 913 }, { "performance.monovox", 4 },           { "performance.unisonx", 4 },
        { "performance.detune", 50 },
        { "env2.attacktime", 700 },            { "env2.sustainlevel", 4095 },          { "env2.offsetlevel", -100 },
        { "env2.sustainpedal", 4095 },         { "env2.shape", 1365 },                 { "env2.triggermode", 4095 },
        { "env2.reset", 1365 },                { "env2.retriggerstage", 4095 },        { "env2.keybase", 48 },
        { "lfo3.level", 4095 },                { "lfo3.rate", 2970 },                  { "lfo3.shape", 2400 },
        { "lfo3.polarity", 4095 },             { "lfo3.enable", 4095 },                { "lfo3.triggersource", 105 },
    };
    // clang-format on
    for (const auto& [id, raw] : expected)
        EXPECT_EQ (shown (id, v.valueFor (id)), raw) << id;

    EXPECT_EQ (v.tuning[0].semitone, 0x0840);
    EXPECT_EQ (v.tuning[0].cents, -10);
    EXPECT_EQ (v.tuning[0].fine, 5);
    EXPECT_EQ (v.tuning[1].fine, -1);

    EXPECT_EQ (v.envelopes[1].shapeCode, 3);
    EXPECT_EQ (v.envelopes[1].triggerModeBits, 0x1F);

    const auto& route = v.lfoModRoutes[2];
    EXPECT_STREQ (route.name, "LFO 3 MOD");
    EXPECT_TRUE (route.enabled);
    EXPECT_EQ (route.level, 0x1234);
    EXPECT_EQ (route.offset, 0x0567);
    EXPECT_EQ (route.type, 6) << "type is taken as 1-6";
    EXPECT_EQ (route.sourceRaw, 105);
    EXPECT_EQ (route.sourceCategory, 1);
    EXPECT_EQ (route.sourceNumber, 3);
    EXPECT_FALSE (v.lfoModRoutes[0].enabled);

    EXPECT_EQ (v.output.voiceLevel, 4095);
    EXPECT_EQ (v.output.voicePan, 4095);
    EXPECT_EQ (v.output.distortionSend, 0x0102);
    EXPECT_EQ (v.output.distortionTypeBits, 0x71);
    EXPECT_EQ (v.output.oscillatorEngine, 0x0A);
    EXPECT_EQ (v.output.filterEngine, 0x05);
    EXPECT_EQ (v.output.digitalEffect, 17);
    ASSERT_EQ (v.output.effectBytes.size(), 35u);
    EXPECT_EQ (v.output.effectBytes[0], 1);
    EXPECT_EQ (v.output.effectBytes[2], 3);
    EXPECT_EQ (v.output.voiceOutputSwitch, 1);

    EXPECT_NE (diagnostic.find (" osc1.semitone=2112(word 2112 offset 958)\n"), std::string::npos);
    EXPECT_NE (diagnostic.find (" prefilter.osc1=1024(asic 8192 offset 94)\n"), std::string::npos);
    EXPECT_NE (diagnostic.find (" osc2.sine=0(switch 114:2/3)\n"), std::string::npos);
    EXPECT_NE (diagnostic.find (" osc.nzext.source=0(bits 111:0-1 = 0)\n"), std::string::npos);
    EXPECT_NE (diagnostic.find (" osc1.env1pitch.enable=4096(bit 605:0)\n"), std::string::npos);
}

TEST (ProgramDecoding, RefusesMessagesThatAreNotProgramDumpsAndKeepsTheOldValues)
{
    ProgramBytes p;
    const auto good = buildProgramDump (p.bytes, 0, 0, 1);
    ASSERT_FALSE (good.empty());

    auto noStart = good;
    noStart[0] = 0xF1;
    auto noEnd = good;
    noEnd.back() = 0x00;
    auto badSignature = good;
    badSignature[8] = 0x00;
    auto truncated = ByteVector (good.begin(), good.begin() + 1200);
    truncated.push_back (0xF7);
    const ByteVector bad[] = { {},       ByteVector{ 0xF0, 0xF7 }, ByteVector (9, 0xF0), noStart, noEnd, badSignature,
                               truncated };

    for (const auto& message : bad)
    {
        DecodedProgramValues v;
        v.name = "kept";
        v.raw[0] = 77;
        std::string diagnostic = "before";
        EXPECT_FALSE (decodeProgramDump (message, v, diagnostic)) << message.size();
        EXPECT_EQ (v.name, "kept");
        EXPECT_EQ (v.raw[0], 77);
        EXPECT_EQ (diagnostic, "before");
    }
}

TEST (ProgramDecoding, ReadsOnlyWhatLiesInsideAShortProgram)
{
    ProgramBytes p;
    p.word (958, 0x0800).word (1776, 1000);
    UnpackedProgram shortProgram (p.bytes.begin(), p.bytes.begin() + 1000);
    std::string diagnostic;
    const auto v = decodeUnpackedProgram (shortProgram, &diagnostic);
    EXPECT_EQ (v.valueFor ("osc1.semitone"), 2048);
    EXPECT_FALSE (v.valueFor ("performance.portamento.time").has_value());
    EXPECT_EQ (diagnostic.find ("performance.portamento.time"), std::string::npos);
    EXPECT_TRUE (v.output.effectBytes.empty());

    const auto empty = decodeUnpackedProgram ({});
    EXPECT_TRUE (empty.defined.none());
}

//==============================================================================
TEST (ProgramWriting, TouchesOnlyWritableBitsAndReportsWhatItCouldNotWrite)
{
    UnpackedProgram program (2048, 0xFF);
    program[0] = 166;
    program[1] = 10;
    const auto before = program;

    std::array<int, ParameterCatalogue::numRows> raw{};
    std::bitset<ParameterCatalogue::numRows> all;
    all.set();
    const auto report = writeProgramValues (program, raw, all);

    for (int i = 0; i < 2048; ++i)
    {
        const auto changed = (std::uint8_t) (before[(std::size_t)i] ^ program[(std::size_t)i]);
        EXPECT_TRUE (changed == 0 || isWritableMask (i, changed)) << "byte " << i << " bits " << (int)changed;
    }
    EXPECT_EQ (program[1939] & 0x10, 0x10) << "reserved bit of the monovox byte kept";

    auto row = [] (const char* id) { return (std::size_t)*ParameterCatalogue::findById (id); };
    for (const char* id : { "prefilter.osc1", "osc1.sine", "lfo1.freerun", "osc1.pwm" })
        EXPECT_TRUE (report.readOnly[row (id)]) << id;
    for (const char* id : { "env1.attacktime", "performance.monovox", "lfo1.rate", "performance.lowerportamento.time" })
        EXPECT_TRUE (report.written[row (id)]) << id;
    EXPECT_TRUE (report.overlaid[row ("performance.portamento.time")]) << "shares its word with the lower one";
    EXPECT_TRUE (report.written[row ("osc1.semitone")]) << "the first id of a shared place keeps it";
    EXPECT_TRUE (report.overlaid[row ("lfo3.syncsource")]);
    EXPECT_TRUE (report.written[row ("env2.smoothtime")]);
    EXPECT_TRUE (report.overlaid[row ("sh.samplesource")]);
    EXPECT_FALSE (report.written[row ("performance.transpose")]);
    EXPECT_FALSE (report.readOnly[row ("performance.transpose")]);

    UnpackedProgram unsignedProgram (2048, 0);
    EXPECT_TRUE (writeProgramValues (unsignedProgram, raw, all).written.none());
    EXPECT_EQ (unsignedProgram, UnpackedProgram (2048, 0));
}

TEST (ProgramWriting, RoundTripsManyRandomValueSets)
{
    std::mt19937 rng (20240611);
    std::bitset<ParameterCatalogue::numRows> all;
    all.set();
    int checkedExact = 0, checkedStable = 0;

    for (int iteration = 0; iteration < 200; ++iteration)
    {
        UnpackedProgram program (2048);
        for (auto& b : program)
            b = (std::uint8_t) (rng() & 0xFF);
        program[0] = 166;
        program[1] = 10;
        const auto before = program;

        std::array<int, ParameterCatalogue::numRows> wanted{};
        for (const auto& f : programFields())
            if (f.row >= 0)
            {
                const auto d = fieldDomain (f);
                wanted[(std::size_t)f.row] = std::uniform_int_distribution<int> (d.lo, d.hi) (rng);
            }

        const auto report = writeProgramValues (program, wanted, all);
        for (int i = 0; i < 2048; ++i)
        {
            const auto changed = (std::uint8_t) (before[(std::size_t)i] ^ program[(std::size_t)i]);
            ASSERT_TRUE (changed == 0 || isWritableMask (i, changed)) << "byte " << i;
        }

        const auto decoded = decodeUnpackedProgram (program);
        auto again = program;
        writeProgramValues (again, decoded.raw, report.written);
        const auto redecoded = decodeUnpackedProgram (again);

        for (const auto& f : programFields())
        {
            if (f.row < 0 || !report.written[(std::size_t)f.row])
                continue;
            const auto r = (std::size_t)f.row;
            ASSERT_TRUE (decoded.defined[r]) << f.id;
            if (fieldDomain (f).exact)
            {
                EXPECT_EQ (decoded.raw[r], wanted[r]) << f.id << " iteration " << iteration;
                ++checkedExact;
            }
            EXPECT_EQ (redecoded.raw[r], decoded.raw[r]) << f.id << " is not stable, iteration " << iteration;
            ++checkedStable;
        }
    }
    EXPECT_GT (checkedExact, 200 * 60);
    EXPECT_GT (checkedStable, 200 * 100);
}

TEST (ProgramWriting, LossyFieldsLandOnTheNearestStoredValue)
{
    struct Case
    {
        const char* id;
        int wanted;
        int tolerance;
    };
    const Case cases[] = {
        { "lfo2.rate", 1000, 2 },         { "performance.tempo", 1500, 6 }, { "performance.arp.length", 3000, 30 },
        { "sh.rate", 2000, 100 },         { "env1.shape", 2000, 250 },      { "lfo3.periodsize", 1100, 30 },
        { "lfo1.triggertype", 900, 100 }, { "lfo1.polarity", 1900, 150 },
    };
    for (const auto& c : cases)
    {
        ProgramBytes p;
        std::array<int, ParameterCatalogue::numRows> raw{};
        std::bitset<ParameterCatalogue::numRows> rows;
        const auto row = ParameterCatalogue::findById (c.id);
        ASSERT_TRUE (row.has_value()) << c.id;
        raw[(std::size_t)*row] = c.wanted;
        rows.set ((std::size_t)*row);
        const auto report = writeProgramValues (p.bytes, raw, rows);
        ASSERT_TRUE (report.written[(std::size_t)*row]) << c.id;
        const auto back = decodeOne (p.bytes, c.id);
        ASSERT_TRUE (back.has_value()) << c.id;
        EXPECT_LE (std::abs (*back - c.wanted), c.tolerance) << c.id << " gave " << *back;
    }
}
