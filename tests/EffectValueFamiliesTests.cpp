#include "effects/EffectControlTable.h"
#include "effects/EffectValueFamilies.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace orvo;
namespace ef = effectfamily;

namespace
{
bool hasStoredForm (const std::string& family)
{
    return family != ef::configPan && family != ef::send;
}

/** The leading number of a display text such as "-12" or "250ms". */
int leadingNumber (const std::string& text)
{
    return std::atoi (text.c_str());
}
} // namespace

//==============================================================================
TEST (EffectValueFamilies, StoredZeroExpandsToRawZeroInEveryFamilyWithAStoredForm)
{
    for (const char* family : ef::all())
    {
        const auto e = expandEffectValue (family, 0);
        EXPECT_EQ (e.valid, hasStoredForm (family)) << family;
        EXPECT_EQ (e.raw, 0) << family;
    }
}

TEST (EffectValueFamilies, ExpandStoredBytesClampedToTheFamilysTop)
{
    // clang-format off
    const std::tuple<const char*, int, int> cases[] = {
        { ef::percent, 100, 4000 },        { ef::percent, 101, 4000 },        { ef::positive99, 1, 41 },
        { ef::bipolar99, 198, 4076 },      { ef::bipolar99, 255, 4076 },      { ef::bipolar12, 24, 3933 },
        { ef::selector2, 1, 2048 },        { ef::selector2, 7, 2048 },        { ef::selector4, 3, 3072 },
        { ef::positive255, 300, 4080 },    { ef::positive4, 9, 3280 },        { ef::positive54, 200, 4050 },
        { ef::largePlateDecay, 50, 2760 }, { ef::largePlateDecay, 49, 1960 }, { ef::largePlateDecay, 51, 2040 },
        { ef::plateDecay, 50, 2000 },      { ef::time100To600, -7, 0 },       { ef::output, 100, 4000 },
    };
    // clang-format on
    for (const auto& [family, stored, raw] : cases)
    {
        const auto e = expandEffectValue (family, stored);
        EXPECT_TRUE (e.valid) << family << " " << stored;
        EXPECT_EQ (e.raw, raw) << family << " " << stored;
    }
}

TEST (EffectValueFamilies, FamiliesWithoutAStoredFormOrAKnownNameDoNotExpand)
{
    for (const char* family : { ef::configPan, ef::send, "", "positive-100", "PERCENT-0-100" })
    {
        EXPECT_FALSE (expandEffectValue (family, 10).valid) << family;
        EXPECT_EQ (effectFamilyStoredTop (family) < 0, true) << family;
    }
}

TEST (EffectValueFamilies, CeilingFamiliesPutEachStepAtTheBottomOfItsShare)
{
    const std::pair<const char*, int> cases[] = {
        { ef::positive99, 0 }, { ef::bipolar12, 12 }, { ef::bipolar50, 50 }, { ef::bipolar99, 99 }
    };
    for (const auto& [family, offset] : cases)
    {
        const int top = effectFamilyStoredTop (family);
        for (int b = 0; b <= top; ++b)
        {
            const int raw = expandEffectValue (family, b).raw;
            EXPECT_EQ (leadingNumber (effectValueText (family, raw)), b - offset) << family << " " << b;
            if (b > 0)
            {
                EXPECT_EQ (leadingNumber (effectValueText (family, raw - 1)), b - 1 - offset) << family << " " << b;
            }
        }
        EXPECT_LT (expandEffectValue (family, top).raw, 4095) << family;
        EXPECT_EQ (leadingNumber (effectValueText (family, 4095)), top - offset) << family;
    }
}

TEST (EffectValueFamilies, StepFamiliesShowTheStoredStepTheyExpandFrom)
{
    for (const char* family : { ef::positive255, ef::positive4, ef::positive50, ef::positive54, ef::positive24,
                                ef::positive9, ef::stereoRoomWidth })
    {
        const int top = effectFamilyStoredTop (family);
        for (int b = 0; b <= top; ++b)
            EXPECT_EQ (leadingNumber (effectValueText (family, expandEffectValue (family, b).raw)), b)
                << family << " " << b;
    }
}

//==============================================================================
TEST (EffectValueFamilies, ShowRawValuesInTheInstrumentsUnits)
{
    struct Case
    {
        const char* family;
        int raw;
        const char* label;
        const char* text;
    };
    // clang-format off
    const Case cases[] = {
        { ef::frequencyTopOff, 4079, "LPF", "41.3K" },   { ef::frequencyTopOff, 4080, "LPF", "OFF" },
        { ef::frequencyBottomOff, 15, "HPF", "OFF" },    { ef::frequencyBottomOff, 16, "HPF", "29 Hz" },
        { ef::rate, 4079, "RATE", "6.452Hz" },           { ef::rate, 4080, "RATE", "6.470Hz" },
        { ef::time250, 160, "PDTIME", "10ms" },          { ef::percent, 2000, "DEPTH", "50%" },
        { ef::gatedPercent, 39, "GATE", "OFF" },         { ef::gatedPercent, 40, "GATE", "1%" },
        { ef::output, 4095, "OUT", "100.00" },           { ef::time100To600, 4095, "TIME", "600ms" },
        { ef::gatedTime500, 80, "GATE", "OFF" },         { ef::gatedTime500, 81, "GATE", "10ms" },
        { ef::bipolar12, 2048, "1SEMI", "0" },           { ef::selector2, 2047, "DIR", "REVERSE" },
        { ef::selector2, 2048, "DIR", "FORWARD" },       { ef::selector2, 4095, "SPEED", "FAST" },
        { ef::selector2, 2048, "3WAVE", "TRIANGLE" },    { ef::selector4, 1024, "TRIG", "L" },
        { ef::configPan, 0, "PAN", "L100.00" },          { ef::configPan, 2048, "PAN", "0.00" },
        { ef::configPan, 3072, "PAN", "R50.00" },        { ef::largeHallDecay, 4095, "DECAY", "242.42s" },
        { ef::plateDecay, 3960, "DECAY", "54.41s" },     { ef::plateDecay, 4000, "DECAY", "81.309s" },
        { ef::roomFamilyDecay, 0, "DECAY", "1s" },       { "no-such-family", 1234, "X", "1234" },
        { ef::positive255, -50, "BOOST", "0" },          { ef::positive255, 20000, "BOOST", "255" },
    };
    // clang-format on

    for (const auto& c : cases)
        EXPECT_EQ (effectValueText (c.family, c.raw, c.label), c.text) << c.family << " " << c.raw;
}

TEST (EffectValueFamilies, FormatFrequenciesAndDecayTimes)
{
    const std::tuple<double, const char*, const char*> cases[] = {
        { 0.029, "29 Hz", "0.029s" }, { 1.0, "1000 Hz", "1s" },          { 1.2, "1.2K", "1.2s" },
        { 2.0, "2K", "2s" },          { 12.3456, "12.346K", "12.346s" }, { 41.3, "41.3K", "41.3s" }
    };
    for (const auto& [value, frequency, decay] : cases)
    {
        EXPECT_EQ (effectFrequencyText (value), frequency);
        EXPECT_EQ (effectDecayText (value), decay);
    }
}

TEST (EffectValueFamilies, RangeTextsFollowTheFamilyAndWhereNeededTheControl)
{
    struct Case
    {
        const char* family;
        const char* label;
        const char* text;
    };
    const Case cases[] = {
        { ef::frequencyTopOff, "LPF", "29 HZ TO 41.3 KHZ, THEN OFF" },
        { ef::frequencyBottomOff, "HPF", "OFF, THEN 29 HZ TO 41.3K" },
        { ef::percent, "DEPTH", "0% TO 100%" },
        { ef::percent, "DENS", "0 TO 100" },
        { ef::selector2, "DIR", "REVERSE OR FORWARD" },
        { ef::selector2, "MOTOR", "OFF OR ON" },
        { ef::selector2, "SPEED", "SLOW OR FAST" },
        { ef::selector2, "2WAVE", "SINE OR TRIANGLE" },
        { ef::selector4, "TRIG", "OFF, L, R, OR LR" },
        { ef::ambienceDecay, "DECAY", "0.650s TO 22.364s" },
        { ef::configPan, "PAN", "L100.00 TO R100.00" },
        { ef::time500, "HOLD", "0ms TO 500ms (10ms STEPS)" },
        { "", "X", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (effectRangeText (c.family, c.label), c.text) << c.family;
    for (const char* family : ef::all())
        EXPECT_FALSE (effectRangeText (family, "X").empty()) << family;
}

//==============================================================================
TEST (EffectTables, FrequenciesRiseFrom29HzTo41Point3K)
{
    const auto& t = effectFrequencyTable();
    EXPECT_DOUBLE_EQ (t.front(), 0.029);
    EXPECT_DOUBLE_EQ (t.back(), 41.3);
    for (std::size_t i = 1; i < t.size(); ++i)
        EXPECT_GT (t[i], t[i - 1]) << i;
}

TEST (EffectTables, EachDecayTableRisesBetweenTheBoundsOfItsRangeText)
{
    for (const char* family : { ef::largeHallDecay, ef::hallReverbDecay, ef::ambienceDecay, ef::largePlateDecay,
                                ef::plateDecay, ef::roomFamilyDecay })
    {
        const auto* table = effectDecayTable (family);
        ASSERT_NE (table, nullptr) << family;
        const std::string range = effectRangeText (family);
        const double first = std::atof (range.c_str());
        const double last = std::atof (range.substr (range.find (" TO ") + 4).c_str());
        EXPECT_DOUBLE_EQ (table->front(), first) << family;
        EXPECT_DOUBLE_EQ (table->back(), last) << family;
        for (std::size_t i = 1; i < table->size(); ++i)
            EXPECT_GT ((*table)[i], (*table)[i - 1]) << family << " " << i;
    }
    EXPECT_EQ (effectDecayTable (ef::percent), nullptr);
}

//==============================================================================
TEST (EffectValueFamilies, FollowTheAlgorithmLabelAndNrpnOfAControl)
{
    struct Case
    {
        int algorithm;
        const char* label;
        int nrpn;
        const char* family;
    };
    // clang-format off
    const Case cases[] = {
        { 0, "DECAY", 3609, ef::largeHallDecay },      { 8, "DECAY", 3609, ef::roomFamilyDecay },
        { 8, "DECAY", 3621, ef::hallReverbDecay },     { 10, "DECAY", 3621, ef::hallReverbDecay },
        { 10, "DECAY", 3609, ef::plateDecay },         { 9, "DECAY", 3621, ef::plateDecay },
        { 5, "DECAY", 3609, ef::ambienceDecay },       { 6, "DECAY", 3609, ef::largePlateDecay },
        { 12, "100MS", 3609, ef::positive54 },         { 13, "100MS", 3609, ef::positive24 },
        { 12, "HICUT", 3614, ef::frequencyBottomOff }, { 14, "HICUT", 3633, ef::frequencyTopOff },
        { 25, "HICUT", 3628, ef::frequencyTopOff },    { 24, "HICUT", 3623, ef::frequencyTopOff },
        { 12, "LOCUT", 3613, ef::frequencyTopOff },    { 14, "LOCUT", 3626, ef::frequencyBottomOff },
        { 6, "HDAMP", 3619, ef::frequencyBottomOff },  { 7, "HDAMP", 3619, ef::frequencyTopOff },
        { 1, "PDTIME", 3615, ef::time500Fine },        { 4, "PDTIME", 3611, ef::time500 },
        { 3, "PDTIME", 3611, ef::time250 },            { 2, "GATE", 3624, ef::percent },
        { 20, "GATE", 3626, ef::gatedTime500 },        { 3, "GATE", 3624, ef::gatedPercent },
        { 0, "DEPTH", 3622, ef::percent },             { 12, "DEPTH", 3617, ef::time250 },
        { 14, "1FDBK", 3612, ef::positive99 },         { 17, "1FDBK", 3611, ef::bipolar99 },
        { 17, "WIDTH", 3639, ef::bipolar99 },          { 2, "WIDTH", 3622, ef::stereoRoomWidth },
        { 27, "TRIG", 3630, ef::selector2 },           { 16, "TRIG", 3621, ef::selector4 },
        { 16, "RELEAS", 3623, ef::positive255 },       { 3, "RELEAS", 3626, ef::time500 },
        { 1, "ELEVEL", 3623, ef::percent },            { 3, "ELEVEL", 3620, ef::positive99 },
        { 5, "SWIRL", 3621, ef::positive99 },          { 3, "SWIRL", 3621, ef::positive50 },
        { 2, "PAN", 3605, ef::configPan },             { 14, "1PAN", 3611, ef::bipolar50 },
        { 19, "2SEMI", 3615, ef::bipolar12 },          { 11, "TIME", 3609, ef::time100To600 },
        { 15, "out l", 3608, ef::output },             { 24, "MIX 1", 3606, ef::percent },
        { 0, "SEND", 3604, ef::send },                 { 0, "WOBBLE", 3609, "" },
        { 0, "", 3609, "" },
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ (effectValueFamily (c.algorithm, c.label, c.nrpn), c.family)
            << effectAlgorithmName (c.algorithm) << " " << c.label;
}

TEST (EffectValueFamilies, EveryControlOfTheTableHasAFamilyAndEveryStoredControlExpands)
{
    for (const auto& row : effectControlTable())
        EXPECT_FALSE (effectValueFamily (row.algorithm, row.label, (int)row.nrpn).empty()) << row.id;
    for (int a = 0; a < effects::numAlgorithms; ++a)
        for (int r : effectStoredOrder (a))
            if (r >= 0)
            {
                const auto& row = effectControlTable()[(std::size_t)r];
                EXPECT_TRUE (expandEffectValue (effectValueFamily (a, row.label, (int)row.nrpn), 1).valid) << row.id;
            }
}

TEST (EffectCapturedExceptions, AreFoundByAlgorithmLabelNumberAndStoredValue)
{
    const auto* largePlate = findEffectCapturedException (6, "DECAY", 3609, 50);
    ASSERT_NE (largePlate, nullptr);
    EXPECT_EQ (largePlate->raw, 2760);
    EXPECT_STREQ (largePlate->display, "1.467s");

    const auto* flangeFeedback = findEffectCapturedException (23, "FDBK", 3623, 20);
    ASSERT_NE (flangeFeedback, nullptr);
    EXPECT_EQ (flangeFeedback->raw, 433);
    EXPECT_STREQ (flangeFeedback->display, "");

    EXPECT_EQ (findEffectCapturedException (6, "DECAY", 3609, 49), nullptr);
    EXPECT_EQ (findEffectCapturedException (7, "DECAY", 3609, 50), nullptr);
    EXPECT_EQ (findEffectCapturedException (6, "LPF", 3609, 50), nullptr);
    EXPECT_EQ (findEffectCapturedException (6, "DECAY", 3610, 50), nullptr);
}
