#include "model/InterfaceControls.h"
#include "model/NamedValues.h"
#include "model/ValueText.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST (InterfaceValueText, ShowsEachKindOfControlInItsOwnFormAtBothEndsAndTheCentre)
{
    struct Case
    {
        const char* label;
        int nrpn, raw, rawMin, rawMax;
        const char* expected;
    };
    const Case cases[] = {
        // switches
        { "ARP TRIGGER ENABLE", 910, 1, 0, 4095, "ON" },
        { "PRE-FILTER SOURCE OSC 2 SINE", 2611, 1, 0, 1, "ON" },
        { "ROUTE 4 BYPASS", 999, -3, 0, 4095, "OFF" },
        { "ANALOG DISTORTION DFX1 OUTPUT", 999, 9000, 0, 4095, "ON" },
        // curve shapes, the nearer shape and the lower one on a tie
        { "MOD WHEEL CURVE SHAPE", 998, 685, 0, 4095, "EXP 1" },
        { "MOD WHEEL CURVE SHAPE", 998, 2100, 0, 4095, "LOG 2" },
        { "MOD WHEEL CURVE SHAPE", 998, 2048, 0, 4095, "LOG 1" }, // halfway between LOG 1 and LOG 2
        { "ARP CURVE SHAPE ENABLE", 999, 1, 1, 1, "LINEAR" },     // an empty range is no switch
        // modulation amounts
        { "ROUTE 1 MOD LEVEL", 997, 2047, 0, 4095, "-0.05" },
        { "ROUTE 1 MOD OFFSET", 997, 2048, 0, 4095, "0.00" },
        { "ANALOG DISTORTION SEND MOD LEVEL", 3335, 4095, 0, 4095, "100.00" },
        { "MOD LEVEL", 997, 4095, 0, 4095, "4095" }, // no " MOD " inside
        // percentages
        { "VOICE MIX LEVEL 3", 3081, 41, 0, 4095, "1.0" },
        { "VOICE MIX LEVEL 3", 3081, 2047, 0, 4095, "50.0" },
        { "OUTPUT", 3072, 4095, 0, 4095, "100.0" },
        { "DFX PARAM", 3631, 1, 0, 1, "100.0" },
        { "DFX PARAM", 3632, 4095, 0, 4095, "4095" },
        // pans
        { "VOICE MIX PAN 3", 3080, 1024, 0, 4095, "L 50.0" },
        { "VOICE MIX PAN 3", 3080, 2047, 0, 4095, "C" },
        { "VOICE MIX PAN 3", 3080, 2048, 0, 4095, "C" },
        { "VOICE MIX PAN 3", 3080, 3071, 0, 4095, "R 50.0" },
        { "PAN OUT", 3073, 4095, 0, 4095, "R 100.0" },
        // named choices
        { "ARP TRIGGER TYPE", 913, 682, 0, 4095, "NEGATIVE" },
        { "ARP TRIGGER TYPE", 913, 683, 0, 4095, "POSITIVE" },
        { "OTHER SOURCE", 2227, 2, 0, 4095, "PINK" },
        { "NOISE/EXT SOURCE", 2182, 4095, 0, 4095, "EXTERNAL" },
        { "FILTER 2 INPUT", 2465, 1365, 0, 4095, "LOWPASS" },
        { "VOICE MIX OUTPUT", 3078, 1365, 1365, 4095, "MAIN" },
        { "VOICE MIX OUTPUT", 3078, 4095, 1365, 4095, "OFF" },
        { "ANALOG DISTORTION TYPE", 3333, 2048, 0, 4095, "HEAVY" },
        // everything else by number, kept in range
        { "ARP OCTAVE", 996, 9, 0, 3, "3" },
        { "ARP OCTAVE", 996, -5, 0, 3, "0" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (ValueText::interfaceValueText (c.label, c.nrpn, c.raw, c.rawMin, c.rawMax), c.expected)
            << c.label << " " << c.nrpn << " raw " << c.raw;
}

TEST (InterfaceValueText, ReadsTheSameAsTheRangeTextAtBothEnds)
{
    struct Case
    {
        const char* label;
        int nrpn, rawMin, rawMax;
    };
    const Case cases[] = {
        { "ARP TRIGGER ENABLE", 910, 0, 4095 }, { "MOD WHEEL CURVE SHAPE", 998, 0, 4095 },
        { "ROUTE 1 MOD OFFSET", 997, 0, 4095 }, { "VOICE MIX PAN 2", 3082, 0, 4095 },
        { "ARP TRIGGER TYPE", 913, 0, 4095 },   { "NOISE/EXT SOURCE", 2182, 0, 4095 },
        { "ARP TYPE", 903, 0, 4095 },
    };
    for (const auto& c : cases)
    {
        const auto low = ValueText::interfaceValueText (c.label, c.nrpn, c.rawMin, c.rawMin, c.rawMax);
        const auto high = ValueText::interfaceValueText (c.label, c.nrpn, c.rawMax, c.rawMin, c.rawMax);
        EXPECT_EQ (ValueText::interfaceRangeText (c.label, c.nrpn, c.rawMin, c.rawMax, low, high), low + " TO " + high)
            << c.label;
    }
}

TEST (InterfaceControlTexts, NameTheStatesOfThePageControls)
{
    struct Case
    {
        int nrpn, value;
        const char* valueText;
    };
    const Case cases[] = {
        { 3716, 4095, "MONO" },   { 3716, 0, "POLY" },  { 3718, 4095, "ROTARY" }, { 3981, 0, "OCTAVE" },
        { 652, 4095, "KEYDOWN" }, { 3845, 1, "ON" },    { 914, 0, "OFF" },        { 3078, 2730, "AUX" },
        { 910, 2000, "ON" },      { 2182, 1, "WHITE" }, { 3333, 1365, "LIGHT" },  { 903, 1234, "1234" },
        { 1793, 5000, "4095" },
    };
    for (const auto& c : cases)
    {
        const auto* info = InterfaceControls::find (c.nrpn);
        ASSERT_NE (info, nullptr) << c.nrpn;
        EXPECT_EQ (InterfaceControls::valueText (*info, c.value), c.valueText) << c.nrpn << " value " << c.value;
    }

    const std::pair<int, const char*> ranges[] = {
        { 3716, "POLY TO MONO" },
        { 914, "OFF TO ON" },
        { 903, "0 TO 4095" },
        { 3333, "EASY / LIGHT / HEAVY / KILLER" },
    };
    for (const auto& [nrpn, text] : ranges)
        EXPECT_EQ (InterfaceControls::rangeText (*InterfaceControls::find (nrpn)), text) << nrpn;

    for (const auto& info : InterfaceControls::all())
    {
        EXPECT_FALSE (InterfaceControls::valueText (info, InterfaceControls::rawMin (info)).empty()) << info.nrpn;
        EXPECT_FALSE (InterfaceControls::valueText (info, InterfaceControls::rawMax (info)).empty()) << info.nrpn;
        EXPECT_FALSE (InterfaceControls::usesPanDisplay (info)) << info.nrpn << " has no pan in its label";
    }
    EXPECT_TRUE (ValueText::interfaceUsesPanDisplay ("VOICE MIX PAN 1", 3074));
    EXPECT_FALSE (ValueText::interfaceUsesPanDisplay ("VOICE MIX LEVEL 1", 3075));
}

TEST (NamedValues, EnvelopeShapesAreCurveControlsThatStepFromTheNearestShape)
{
    for (const char* id : { "env1.shape", "env2.shape", "env3.shape" })
        EXPECT_TRUE (NamedValues::choosesCurve (ParameterCatalogue::row (*ParameterCatalogue::findById (id)))) << id;
    for (const char* id : { "lfo1.shape", "env1.triggermode", "env1.smoothslope" })
        EXPECT_FALSE (NamedValues::choosesCurve (ParameterCatalogue::row (*ParameterCatalogue::findById (id)))) << id;
    // S-CURVE 2 wraps to LINEAR; a value between shapes steps on from the nearest one.
    const std::pair<int, int> clicks[]{ { 3641, 0 }, { 0, 457 }, { 500, 913 }, { 4095, 0 }, { 3187, 3641 } };
    for (const auto& [from, to] : clicks)
        EXPECT_EQ (NamedValues::nextCurveRaw (from), to) << from;
}

TEST (NamedValues, ShowTheChoiceNearestTheValueAndTakeItsNameTyped)
{
    const struct
    {
        const char* id;
        int raw;
        const char* text;
    } cases[] = {
        { "lfo1.shape", 2400, "RAMP DOWN" },     { "lfo3.shape", 1234, "RAMP UP" },
        { "lfo2.polarity", 2050, "BIPOLAR" },    { "lfo1.triggertype", 2500, "LEGATO" },
        { "sh.triggertype", 1600, "NORMAL" },    { "env1.triggermode", 546, "RESET" },
        { "env3.triggermode", 4095, "MODE 16" },
    };
    for (const auto& c : cases)
    {
        const auto& info = ParameterCatalogue::row (*ParameterCatalogue::findById (c.id));
        EXPECT_EQ (ValueText::displayText (info, c.raw), c.text) << c.id;
        const auto typed = ValueText::rawForTypedText (info, c.text);
        ASSERT_TRUE (typed.ok()) << c.id;
        EXPECT_EQ (ValueText::displayText (info, typed.raw), c.text) << c.id;
    }
    const auto& frequency = ParameterCatalogue::row (*ParameterCatalogue::findById ("filter1.frequency"));
    EXPECT_TRUE (ValueText::rawForTypedText (frequency, "2.5720 kHz").ok());
}
