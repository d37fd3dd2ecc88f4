#include "effects/EffectState.h"
#include "effects/EffectValueFamilies.h"
#include "effects/EffectsJson.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{

/** A Program of zeros with the effect bytes a test sets. */
struct EffectProgram
{
    UnpackedProgram bytes = UnpackedProgram (2048, 0);

    EffectProgram& algorithm (int index)
    {
        bytes[1908] = (std::uint8_t)index;
        return *this;
    }
    EffectProgram& word (int offset, int value)
    {
        bytes[(std::size_t)offset] = (std::uint8_t) (value >> 8);
        bytes[(std::size_t)offset + 1] = (std::uint8_t) (value & 0xFF);
        return *this;
    }
    EffectProgram& stored (int k, int value)
    {
        bytes[(std::size_t) (1909 + k)] = (std::uint8_t)value;
        return *this;
    }
};

struct Decoded
{
    EffectState state;
    std::string log;
};

Decoded decode (const UnpackedProgram& program)
{
    Decoded d;
    d.log = applyProgramEffects (d.state, storedEffectBytesOf (program));
    return d;
}

int slotOf (const EffectState& state, const char* pageName, const char* label)
{
    const int r = effectRowForLabel (state.algorithm(), pageName, label);
    if (r < 0)
        return -1;
    const auto& row = effectControlTable()[(std::size_t)r];
    return state.slotValue ((int)row.page, (int)row.slot);
}

} // namespace

//==============================================================================
TEST (EffectsDecode, ReadsTheAlgorithmAndCountsAnythingAbove28As28)
{
    const std::tuple<int, int, int> cases[] = { { 12, 12, 1755 }, { 28, 28, 4095 }, { 255, 28, 4095 } };
    for (const auto& [byte, algorithm, selectionRaw] : cases)
    {
        const auto d = decode (EffectProgram().algorithm (byte).bytes);
        EXPECT_EQ (d.state.algorithm(), algorithm) << byte;
        EXPECT_EQ (d.state.nrpnValue (3603), selectionRaw) << byte;
        EXPECT_EQ (d.log, "");
    }
}

TEST (EffectsDecode, SendAndPanWordsBecomeRawValuesOnTheConfigPage)
{
    const auto d = decode (EffectProgram().algorithm (2).word (1900, 65535).word (956, 32768).bytes);
    EXPECT_EQ (d.state.nrpnValue (3604), 4095);
    EXPECT_EQ (d.state.nrpnValue (3605), 2048);
    EXPECT_EQ (slotOf (d.state, "CONFIG", "SEND"), 4095);
    EXPECT_EQ (slotOf (d.state, "CONFIG", "PAN"), 2048);

    // Without a pan control the value is still kept for its NRPN.
    const auto noPan = decode (EffectProgram().algorithm (0).word (956, 65535).bytes);
    EXPECT_EQ (noPan.state.nrpnValue (3605), 4095);
    EXPECT_EQ (noPan.state.slotValue (0, 1), 0);
}

TEST (EffectsDecode, ExpandsEachStoredByteOntoTheControlOfTheStoredOrder)
{
    // Mono Delay: 100MS, 10MS, 1MS, FDBK, LOCUT, HICUT, DENS, RATE, DEPTH, TREMR, TREMD, PANR, PAND, OUT.
    EffectProgram p;
    p.algorithm (12).stored (0, 54).stored (1, 9).stored (3, 198).stored (5, 0).stored (6, 255).stored (13, 100);
    p.stored (14, 77).stored (29, 77); // beyond the order
    const auto d = decode (p.bytes);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "100MS"), 4050);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "10MS"), 3690);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "FDBK"), 4076);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "HICUT"), 0);
    EXPECT_EQ (slotOf (d.state, "PARAM2", "DENS"), 4000);
    EXPECT_EQ (slotOf (d.state, "CONFIG", "OUT"), 4000);
    EXPECT_EQ (d.state.nrpnValue (3609), 4050);
    EXPECT_EQ (d.state.nrpnValue (3607), 4000);
    EXPECT_FALSE (d.state.hasNrpnValue (3638)) << "bytes beyond the order are unused";
    EXPECT_EQ (d.log, "");
}

TEST (EffectsDecode, RoomPlusHallDecay61IsTheCapturedRawValue)
{
    // The hall's DECAY is stored slot 9, after the room's eight controls and RM OUT.
    const auto d = decode (EffectProgram().algorithm (8).stored (9, 61).stored (0, 61).bytes);
    EXPECT_EQ (slotOf (d.state, "PARAM3", "DECAY"), 2520);
    EXPECT_EQ (d.state.nrpnValue (3621), 2520);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "DECAY"), 2440) << "the room's DECAY expands as usual";
    EXPECT_EQ (effectValueText (effectfamily::hallReverbDecay, 2520), "4.856s");
}

TEST (EffectsDecode, EveryCapturedExceptionMatchesByTheControlsOwnNrpn)
{
    // (algorithm, label, own NRPN, stored value, raw): every captured row takes effect.
    const std::tuple<int, const char*, int, int, int> captured[] = {
        { 6, "DECAY", 3609, 50, 2760 },  { 8, "DECAY", 3621, 61, 2520 },  { 28, "PDTIME", 3612, 50, 1600 },
        { 28, "PDMIX", 3613, 50, 400 },  { 28, "DENS", 3615, 0, 2000 },   { 28, "DIFF", 3616, 0, 2000 },
        { 28, "HOLD", 3619, 80, 0 },     { 28, "RELEAS", 3620, 100, 0 }, { 23, "FDBK", 3623, 20, 433 },
        { 23, "FBHPF", 3630, 9, 0 },
    };
    for (const auto& [algorithm, label, nrpn, stored, raw] : captured)
    {
        int slot = -1;
        for (int k = 0; k < 30 && slot < 0; ++k)
            if (const int r = effectRowForStoredSlot (algorithm, k); r >= 0 && effectControlTable()[(size_t)r].label == label
                                                                      && (int)effectControlTable()[(size_t)r].nrpn == nrpn)
                slot = k;
        ASSERT_GE (slot, 0) << algorithm << " " << label;
        const auto d = decode (EffectProgram().algorithm (algorithm).stored (slot, stored).bytes);
        EXPECT_EQ (d.state.nrpnValue (nrpn), raw) << algorithm << " " << label;
    }
}

TEST (EffectsDecode, RoomToFlangeIgnoresItsPlaceholderByteAndReadsMixNext)
{
    const auto d = decode (EffectProgram().algorithm (23).stored (6, 99).stored (7, 50).bytes);
    EXPECT_EQ (slotOf (d.state, "CONFIG", "MIX"), 2000);
    EXPECT_EQ (d.state.nrpnValue (3606), 2000);
    for (int page = 1; page < 6; ++page)
        for (int slot = 0; slot < 6; ++slot)
            EXPECT_EQ (d.state.slotValue (page, slot), 0) << page << "/" << slot;
    EXPECT_EQ (d.log, "");

    EffectState state;
    state.selectAlgorithm (23);
    std::string log;
    EXPECT_FALSE (applyStoredEffectParameter (state, 23, 6, 99, log));
    EXPECT_FALSE (applyStoredEffectParameter (state, 23, 30, 99, log));
    EXPECT_FALSE (applyStoredEffectParameter (state, 23, -1, 99, log));
    EXPECT_FALSE (applyStoredEffectParameter (state, 41, 0, 99, log));
    EXPECT_TRUE (applyStoredEffectParameter (state, 23, 7, 99, log));
    EXPECT_EQ (log, "");
}

TEST (EffectsDecode, DualAlgorithmsKeepOutRAndTheFirstParameterApart)
{
    // Delay:Delay: left 100MS is stored slot 0, OUT R the last of twenty.
    const auto d = decode (EffectProgram().algorithm (15).stored (0, 10).stored (19, 50).bytes);
    EXPECT_EQ (slotOf (d.state, "PARAM1", "100MS"), 1640);
    EXPECT_EQ (slotOf (d.state, "CONFIG", "OUT R"), 2000);
    EXPECT_EQ (d.state.nrpnValue (3609), 2000) << "the later write of the shared NRPN stands";
}

TEST (EffectsDecode, FamiliesWithoutAStoredFormAreSkippedWithALogLine)
{
    EffectState state;
    state.selectAlgorithm (2);
    DigitalEffectParameterMapping pan;
    pan.label = "PAN";
    pan.nrpn = 3605;
    pan.page = 0;
    pan.slot = 1;
    DigitalEffectParameterMapping unknown = pan;
    unknown.label = "WOBBLE";
    unknown.nrpn = 3611;
    unknown.page = 1;
    unknown.slot = 2;
    DigitalEffectParameterMapping offPage = pan;
    offPage.label = "DECAY";
    offPage.page = 6;

    std::string log;
    EXPECT_FALSE (applyStoredEffectParameterTo (state, 2, pan, 40, log));
    EXPECT_FALSE (applyStoredEffectParameterTo (state, 2, unknown, 40, log));
    EXPECT_FALSE (applyStoredEffectParameterTo (state, 2, offPage, 40, log));
    EXPECT_EQ (log, "PROGRAM DIGITAL EFFECT: skipped unsupported stored parameter PAN (effect 2, NRPN 3605, curve "
                    "family 'config-pan').\n"
                    "PROGRAM DIGITAL EFFECT: skipped unsupported stored parameter WOBBLE (effect 2, NRPN 3611, curve "
                    "family '').\n");
    EXPECT_EQ (state.slotValue (0, 1), 0);
    EXPECT_EQ (state.slotValue (1, 2), 0);
}

TEST (EffectsDecode, ShortProgramsLackTheItemsPastTheirEnd)
{
    struct Case
    {
        std::size_t length;
        bool pan, send, algorithm;
        std::size_t parameters;
    };
    const Case cases[] = { { 0, false, false, false, 0 },  { 957, false, false, false, 0 },
                           { 958, true, false, false, 0 }, { 1908, true, true, false, 0 },
                           { 1915, true, true, true, 6 },  { 2048, true, true, true, 30 } };
    for (const auto& c : cases)
    {
        UnpackedProgram program (c.length, 7);
        const auto bytes = storedEffectBytesOf (program);
        EXPECT_EQ (bytes.panWord.has_value(), c.pan) << c.length;
        EXPECT_EQ (bytes.sendWord.has_value(), c.send) << c.length;
        EXPECT_EQ (bytes.algorithmByte.has_value(), c.algorithm) << c.length;
        EXPECT_EQ (bytes.parameters.size(), c.parameters) << c.length;

        EffectState state;
        state.selectAlgorithm (5);
        applyProgramEffects (state, bytes);
        EXPECT_EQ (state.algorithm(), c.algorithm ? 7 : 5) << c.length;
    }
}

TEST (EffectsDecode, RandomProgramsNeverLeaveTheRawRange)
{
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 24; };
    for (int n = 0; n < 200; ++n)
    {
        EffectProgram p;
        p.algorithm ((int)next()).word (956, (int)(next() << 8 | next())).word (1900, (int)(next() << 8 | next()));
        for (int k = 0; k < 30; ++k)
            p.stored (k, (int)next());
        const auto d = decode (p.bytes);
        EXPECT_LE (d.state.algorithm(), 28);
        EXPECT_EQ (d.log, "");
        for (int page = 0; page < 6; ++page)
            for (int slot = 0; slot < 6; ++slot)
            {
                EXPECT_GE (d.state.slotValue (page, slot), 0);
                EXPECT_LE (d.state.slotValue (page, slot), 4095);
            }
    }
}

//==============================================================================
TEST (EffectsJson, ListsSendPanAndEveryStoredControlWithItsRawValue)
{
    EffectProgram p;
    p.algorithm (13).word (1900, 65535).stored (0, 24).stored (7, 100);
    const std::string json = effectsJsonFor (p.bytes);
    EXPECT_EQ (json.rfind ("{\"algorithm\": 13, \"controls\": [{\"page\": 0, \"slot\": 0, \"label\": \"SEND\", "
                           "\"nrpn\": 3604, \"raw\": 4095}, {\"page\": 1, \"slot\": 0, \"label\": \"100MS\", "
                           "\"nrpn\": 3609, \"raw\": 3936}, ",
                           0),
               0u)
        << json;
    EXPECT_NE (json.find ("{\"page\": 0, \"slot\": 3, \"label\": \"OUT\", \"nrpn\": 3607, \"raw\": 4000}]}"),
               std::string::npos)
        << json;

    EffectState state;
    applyProgramEffects (state, storedEffectBytesOf (EffectProgram().algorithm (23).bytes));
    const auto summary = effectsSummaryOf (state);
    EXPECT_EQ (summary.algorithm, 23);
    EXPECT_EQ (summary.controls.size(), 1u + 19u) << "SEND and the order without its placeholder";

    const auto withPan = effectsSummaryOf (decode (EffectProgram().algorithm (18).bytes).state);
    ASSERT_GE (withPan.controls.size(), 2u);
    EXPECT_EQ (withPan.controls[1].label, "PAN");
    EXPECT_EQ (withPan.controls.size(), 2u + 20u);
}
