#include "model/CalibrationTables.h"
#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"
#include "model/ValueCurveShapes.h"
#include "model/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace orvo;

namespace
{
const OrvoParameterInfo& rowById (const char* id)
{
    const auto index = ParameterCatalogue::findById (id);
    EXPECT_TRUE (index.has_value()) << id;
    return ParameterCatalogue::row (index.value_or (0));
}

/** A continuous row that is not in the catalogue, for rules no catalogue row reaches. */
OrvoParameterInfo makeRow (const char* id, int rawMax, double displayMin, double displayMax, double step, int decimals,
                           int format)
{
    OrvoParameterInfo info;
    info.id = id;
    info.rawMax = rawMax;
    info.displayMin = displayMin;
    info.displayMax = displayMax;
    info.displayStep = step;
    info.decimals = decimals;
    info.displayFormat = format;
    info.onValue = rawMax;
    return info;
}

struct ForwardCase
{
    const char* id;
    std::vector<std::tuple<int, double, const char*>> points; // raw, display, text
};

// Expected values worked out by hand from the instrument's formulas and tables.
const ForwardCase forwardCases[]{
    // semitone bands with the dead zone round 0
    { "osc1.semitone", { { 2024, 0, "0" }, { 2103, 0, "0" }, { 2104, 1, "1" }, { 2023, -1, "-1" } } },
    { "osc1.semitone", { { 1992, -1, "-1" }, { 1991, -2, "-2" }, { 4095, 60, "60" }, { 0, -60, "-60" } } },
    // cents and fine
    { "osc1.cents", { { 439, -100, "-100" }, { 440, -99, "-99" }, { 2023, -1, "-1" }, { 2088, 1, "1" } } },
    { "osc1.cents", { { 3671, 99, "99" }, { 3672, 100, "100" } } },
    { "osc2.fine", { { 415, -100, "-100" }, { 1999, -1, "-1" }, { 2000, 0, "0" }, { 2111, 0, "0" } } },
    { "osc2.fine", { { 2112, 1, "1" }, { 3696, 100, "100" } } },
    // unipolar, bipolar percent and modulation level (which divides by 65534)
    { "osc2toosc1.linfm", { { 0, 0, "0.00" }, { 4094, 99.95, "99.95" }, { 4095, 100, "100.00" } } },
    { "env1.sustainlevel", { { 0, -100, "-100.00" }, { 2047, -0.05, "-0.05" }, { 2048, 0, "0.00" } } },
    { "sh.level", { { 4094, 99.91, "99.91" }, { 4095, 100, "100.00" } } },
    // attack level reaches full one step early; resonance
    { "env3.attacklevel", { { 4094, 100, "100.00" }, { 1, 0.02, "0.02" } } },
    { "filter1.resonance", { { 1, 0.05, "0.05" }, { 2048, 50.02, "50.02" } } },
    // the envelope time format of the LFO delays
    { "lfo1.delay", { { 0, 0, "2 ms" }, { 22, 1, "2 ms" } } },
    // calibration tables, between points and on the flat ends
    { "filter1.frequency", { { 0, 0.0218, "0.0218 kHz" }, { 2020, 2.5720, "2.5720 kHz" } } },
    { "filter1.frequency", { { 3745, 22.3482, "22.3482 kHz" }, { 4095, 22.3482, "22.3482 kHz" } } },
    { "filter2.frequency", { { 2045, 4.3971, "4.3971 kHz" }, { 4095, 44.696, "44.6960 kHz" } } },
    { "performance.tempo", { { 2677, 120, "120.000" }, { 4095, 500, "500.000" } } },
    { "performance.arp.localbpm", { { 3416, 600, "600.00" } } },
    { "performance.arp.length", { { 47, 0, "0.00" }, { 4080, 99.21, "99.21" } } },
    // envelope stage times: only delay, decay 1, decay 2 and release 1 can be off
    { "env1.delaytime", { { 0, 0, "OFF" }, { 1, 1, "2 ms" } } },
    { "env1.decay2time", { { 0, 0, "OFF" } } },
    { "env2.decay1time", { { 0, 0, "OFF" }, { 4095, 65535, "131.07 s" } } },
    { "env3.release1time", { { 0, 0, "OFF" } } },
    { "env1.attacktime", { { 0, 1, "2 ms" }, { 1456, 462, "924 ms" }, { 1497, 500, "1.00 s" } } },
    { "env1.release2time", { { 0, 1, "2 ms" } } },
    { "env2.smoothtime", { { 0, 1, "2 ms" } } },
    // linear, with centre snap where the centre is a whole number of steps
    { "performance.detune", { { 2047, 50, "50" }, { 4095, 100, "100" } } },
    { "performance.wheel.scale", { { 2047, 50, "50.00" }, { 2049, 50.04, "50.04" } } },
    { "performance.monovox", { { 2047, 8, "8" }, { 2048, 9, "9" } } },
    { "performance.transpose", { { 2047, 0, "0" } } },
    { "performance.wheel.bottomrange", { { 4095, -48, "-48" } } },
    { "performance.unisonx", { { 4095, 16, "16" } } },
    { "performance.portamento.time", { { 4095, 32.77, "32.77" } } },
    { "sh.rate", { { 0, 0.02, "0.02" } } },
    { "lfo1.rate", { { 0, 0.0076295, "0.01" } } },
    // buttons show their state, enum buttons their label
    { "osc1.saw", { { 2, 2, "Neg" } } },
    { "osc2.sync", { { 1, 1, "Hard" } } },
    { "lfo1.enable", { { 0, 0, "OFF" }, { 2049, 1, "ON" } } },
    { "osc1.env1pitch.enable", { { 4096, 1, "ON" } } },
    // out-of-range raws clamp first
    { "osc1.semitone", { { -50, -60, "-60" } } },
    { "performance.tempo", { { 99999, 500, "500.000" } } },
};
} // namespace

TEST (ValueConversion, ShowsEveryFormatInTheInstrumentsUnits)
{
    for (const auto& c : forwardCases)
        for (const auto& [raw, display, text] : c.points)
        {
            const auto& info = rowById (c.id);
            EXPECT_NEAR (ValueConversion::rawToDisplay (info, raw), display, 1e-9) << c.id << " raw " << raw;
            EXPECT_EQ (ValueText::displayText (info, raw), text) << c.id << " raw " << raw;
        }
}

TEST (ValueConversion, PicksTheFirstRuleThatFitsInItsOrder)
{
    using Rule = ValueConversion::Rule;
    const std::pair<OrvoParameterInfo, Rule> cases[]{
        { rowById ("filter1.frequency"), Rule::calibrationTable },
        { makeRow ("filter1.frequency", 4095, 0, 100, 0.01, 2, 4), Rule::calibrationTable }, // id before format
        { makeRow ("osc9.frequency", 4095, 0, 100, 0.01, 2, 16), Rule::linear },             // code 16 needs the id
        { makeRow ("osc9.tempo", 4095, 0, 100, 0.01, 2, 9), Rule::linear },
        { rowById ("osc2toosc1.pwm"), Rule::unipolarPercent },
        { rowById ("env1.sustainlevel"), Rule::bipolarPercent }, // format before the envelope level rule
        { rowById ("sh.level"), Rule::modulationLevel },
        { rowById ("lfo2.delay"), Rule::envelopeTimeFormula },
        { rowById ("env3.attacklevel"), Rule::attackLevel },
        { rowById ("filter2.resonance"), Rule::resonance },
        { rowById ("env2.release2time"), Rule::envelopeTime },
        { makeRow ("env1.delaytime", 4095, -60, 60, 1, 0, 1), Rule::envelopeTime }, // time before semitone
        { makeRow ("env1.testlevel", 4095, 0, 100, 0.01, 2, 0), Rule::envelopeLevel },
        { makeRow ("env1.testlevel", 4095, -60, 60, 1, 0, 1), Rule::envelopeLevel }, // level before semitone
        { makeRow ("osc1.testlevel", 4095, 0, 100, 0.01, 2, 0), Rule::linear },
        { rowById ("osc2.semitone"), Rule::semitone },
        { rowById ("osc2.cents"), Rule::cents },
        { rowById ("osc1.fine"), Rule::fine },
        { makeRow ("osc9.empty", 0, 3, 3, 1, 0, 0), Rule::unchanged },
    };
    for (const auto& [info, rule] : cases)
        EXPECT_EQ (ValueConversion::ruleFor (info), rule) << info.id << " format " << info.displayFormat;
}

TEST (ValueConversion, NamesEachDisplayFormatCode)
{
    // clang-format off
    const char* names[]{
        "LINEAR",                "SEMITONE DEAD ZONE",   "OSC CENTS LOWER DISPLAY", "OSC FINE LOWER DISPLAY",
        "ORVO UNIPOLAR PERCENT", "ORVO BIPOLAR PERCENT", "ORVO MOD LEVEL",          "ORVO ENVELOPE TIME",
        "ENV 3 ATTACK LEVEL",    "TEMPO",                "TEMPO FIT",               "ARP LENGTH",
        "UNISON X",              "PORTAMENTO TIME",      "SAMPLE/HOLD RATE",        "LFO RATE",
        "FILTER FREQUENCY",      "FILTER RESONANCE",
    };
    // clang-format on
    for (int code = 0; code < 18; ++code)
        EXPECT_EQ (ValueConversion::formatName (code), names[code]) << code;
    EXPECT_EQ (ValueConversion::formatName (-1), "UNKNOWN");
    EXPECT_EQ (ValueConversion::formatName (18), "UNKNOWN");
}

TEST (ValueConversion, EnvelopeLevelsFollowTheTimeCurveAndOnlyLinearRowsSnapToTheirCentre)
{
    const auto wide = makeRow ("env1.testlevel", 4095, 0, 100, 0.01, 2, 0);
    const auto narrow = makeRow ("env2.otherlevel", 127, -100, 100, 0.01, 2, 0);
    const auto linear = makeRow ("osc9.a", 4095, 0, 100, 0.01, 2, 0);
    const auto evenCentre = makeRow ("osc9.b", 4096, -100, 100, 0.01, 2, 0);
    struct Case
    {
        OrvoParameterInfo info;
        int raw;
        double display;
    };
    const Case cases[]{
        { wide, 1497, 0.76 },   // time 500: 499 / 65534 of the way
        { wide, 2070, 2.32 },   // time 1520
        { narrow, 64, -95.41 }, // n = 2064, time 1504.89
        { narrow, 127, 100 },
        { linear, 2047, 50 },    // 49.99 pulled onto the centre
        { linear, 2046, 49.96 }, // not at the raw centre
        { evenCentre, 2048, 0 },
        { evenCentre, 2047, -0.05 },                                              // two raws off an even centre
        { makeRow ("osc9.c", 4095, 0, 10, 0, 0, 0), 2047, 2047.0 / 4095.0 * 10 }, // no step: only exact hits
        { makeRow ("osc9.d", 4095, 1, 16, 1, 0, 0), 2047, 8 },                    // centre 8.5 is not on the step grid
        { makeRow ("osc9.e", 4095, 0, 100, 0.01, 2, 12), 2047, 49.99 },           // other codes never snap
    };
    for (const auto& c : cases)
        EXPECT_NEAR (ValueConversion::rawToDisplay (c.info, c.raw), c.display, 1e-9) << c.info.id << " " << c.raw;

    // An empty raw range keeps what the control shows.
    const auto fixed = makeRow ("osc9.fixed", 0, -5, 5, 1, 0, 0);
    EXPECT_EQ (ValueConversion::rawToDisplay (fixed, 0, {}, 3.0), 3.0);
    EXPECT_EQ (ValueConversion::rawToDisplay (fixed, 0), -5.0);
    EXPECT_EQ (ValueConversion::displayToRaw (fixed, 4.0), 0);
}

TEST (ValueConversion, RoundsToTheStepHalfAwayFromZero)
{
    struct Case
    {
        double value, step, expected;
    };
    const Case cases[]{
        { 2.57201, 0.0001, 2.572 },  { 49.9878, 0.01, 49.99 }, { 12.5, 1, 13 },
        { -12.5, 1, -13 },           { 0.1 + 0.2, 0.1, 0.3 },  { 7.3, 0, 7.3 },
        { 80.70635, 0.001, 80.706 },
    };
    for (const auto& c : cases)
        EXPECT_EQ (ValueConversion::roundToStep (c.value, c.step), c.expected) << c.value << " step " << c.step;
}

TEST (ValueConversion, CustomRangeLimitsTheShownValue)
{
    const auto& detune = rowById ("performance.detune");
    const std::tuple<CustomKnobRange, int, double> cases[]{
        { { 20.0, 80.0, 0 }, 0, 20 },         { { 20.0, 80.0, 0 }, 4095, 80 }, { { std::nullopt, 30.0, 0 }, 4095, 30 },
        { { 90.0, 10.0, 0 }, 0, 0 },          // a window upside down is ignored
        { { -50.0, std::nullopt, 0 }, 0, 0 }, // and one beyond the display range is cut to it
    };
    for (const auto& [range, raw, display] : cases)
        EXPECT_NEAR (ValueConversion::rawToDisplay (detune, raw, range), display, 1e-9) << raw;
}

TEST (CalibrationTables, InterpolateLinearlyBetweenPointsAndHoldTheEnds)
{
    const auto& filter1 = CalibrationTables::filter1Frequency();
    struct Case
    {
        const CalibrationTable& table;
        double x, lowBound, highBound, expected;
    };
    const Case cases[]{
        { filter1, 2020, 0.0218, 22.3482, 2.3038 + 55.0 / 111.0 * (2.8451 - 2.3038) },
        { filter1, -10, 0.0218, 22.3482, 0.0218 },
        { filter1, 5000, 0.0218, 22.3482, 22.3482 },
        { filter1, 2020, 0, 1, 1 }, // bounded by the lookup's bounds
        { filter1, 2020, 1, 0, 1 }, // in either order
        { CalibrationTables::tempo(), 2190, 0, 1000, 80 },
        { CalibrationTables::arpLength(), 64.5, 0, 100, 0.005 },
    };
    for (const auto& c : cases)
        EXPECT_NEAR (CalibrationTables::interpolate (c.table, c.x, c.lowBound, c.highBound), c.expected, 1e-9) << c.x;
}

TEST (CalibrationTables, TwoPointsOnOneRawTakeTheEarlierValue)
{
    const CalibrationPoint points[]{ { 0, 0 }, { 10, 5 }, { 10, 9 }, { 20, 10 } };
    const CalibrationTable table{ points, 4 };
    EXPECT_EQ (CalibrationTables::interpolate (table, 10, 0, 10), 5);
    EXPECT_EQ (CalibrationTables::interpolate (table, 15, 0, 10), 9.5);
    EXPECT_EQ (CalibrationTables::interpolate (CalibrationTable{}, 15, 3, 10), 3);
}

TEST (ValueConversion, SemitoneInverseAimsAtTheMiddleOfEachBand)
{
    const auto& semitone = rowById ("osc1.semitone");
    const std::pair<double, int> cases[]{ { 0, 2048 },  { 1, 2119 },   { -1, 2007 }, { 60, 4007 },
                                          { -60, 119 }, { 5.4, 2247 }, { 70, 4007 }, { -0.4, 2048 } };
    for (const auto& [display, raw] : cases)
        EXPECT_EQ (ValueConversion::displayToRaw (semitone, display), raw) << display;

    for (int s = -60; s <= 60; ++s)
        EXPECT_EQ (ValueConversion::semitoneFromRaw (ValueConversion::semitoneToRaw (s)), s) << s;
}

TEST (ValueConversion, InverseChoosesTheNearestShownValueAndTheEndsOfFlatRuns)
{
    const std::tuple<const char*, double, int> cases[]{
        { "performance.arp.length", 0, 0 },
        { "filter1.frequency", 22.3482, 4095 },
        { "filter1.frequency", 30, 4095 },
        { "osc2toosc1.linfm", 100, 4095 },
        { "osc1.cents", -100, 0 },
        { "performance.wheel.bottomrange", 0, 0 },
        { "performance.wheel.bottomrange", -48, 4095 },
        { "env1.attacktime", 0, 0 },
        { "osc2toosc1.linfm", 50, 2048 },
    };
    for (const auto& [id, display, raw] : cases)
        EXPECT_EQ (ValueConversion::displayToRaw (rowById (id), display), raw) << id << " " << display;

    const auto& detune = rowById ("performance.detune");
    EXPECT_EQ (ValueConversion::rawToDisplay (detune, *ValueConversion::displayToRaw (detune, 49.6)), 50);
    EXPECT_EQ (ValueConversion::rawToDisplay (detune, *ValueConversion::displayToRaw (detune, 10, { 20.0, 80.0, 0 })),
               20);
    const auto& bottom = rowById ("performance.wheel.bottomrange");
    EXPECT_EQ (ValueConversion::rawToDisplay (bottom, *ValueConversion::displayToRaw (bottom, -24)), -24);

    EXPECT_FALSE (ValueConversion::displayToRaw (detune, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE (ValueConversion::displayToRaw (detune, std::numeric_limits<double>::infinity()));
}

TEST (ValueConversion, EveryRowAndRawShowsInRangeAndTypesBackToTheSameDisplay)
{
    for (const auto& info : ParameterCatalogue::rows())
    {
        const double lower = std::min (info.displayMin, info.displayMax);
        const double upper = std::max (info.displayMin, info.displayMax);
        int failures = 0;
        for (int raw = info.rawMin; raw <= info.rawMax && failures < 3; ++raw)
        {
            const double display = ValueConversion::rawToDisplay (info, raw);
            const auto back = ValueConversion::displayToRaw (info, display);
            const bool inRange = display >= lower && display <= upper;
            const bool sameDisplay = back && ValueConversion::rawToDisplay (info, *back) == display;
            if (!inRange || !sameDisplay)
            {
                ++failures;
                ADD_FAILURE() << info.id << " raw " << raw << " shows " << display << " and types back to raw "
                              << back.value_or (-1);
            }
        }
    }
}

TEST (ValueConversion, SixteenBitValuesBecomeTwelveBitRaws)
{
    const std::pair<double, int> cases[]{ { 0, 0 },  { 65535, 4095 }, { 32768, 2048 }, { 16, 1 },
                                          { -5, 0 }, { 70000, 4095 }, { 15, 1 },       { 8, 0 } };
    for (const auto& [value, raw] : cases)
        EXPECT_EQ (ValueConversion::sixteenBitToRaw (value), raw) << value;
}

TEST (ValueText, EnvelopeTimesReadOffMillisecondsOrSeconds)
{
    const std::tuple<double, bool, const char*> cases[]{
        { 0.0001, true, "OFF" }, { 0.0002, true, "2 ms" },   { 0, false, "2 ms" },
        { 1.4, false, "2 ms" },  { 499.5, false, "1.00 s" }, { 70000, false, "131.07 s" },
    };
    for (const auto& [units, zeroIsOff, text] : cases)
        EXPECT_EQ (ValueText::envelopeTimeText (units, zeroIsOff), text) << units;
}

TEST (ValueText, FormatsWithTheRowsDecimalsAndNeverNegativeZero)
{
    EXPECT_EQ (ValueText::formatNumber (-0.001, 2), "0.00");
    EXPECT_EQ (ValueText::formatNumber (-0.0, 0), "0");
    EXPECT_EQ (ValueText::formatNumber (-0.01, 2), "-0.01");
    EXPECT_EQ (ValueText::formatNumber (22.3482, 4), "22.3482");
    EXPECT_EQ (ValueText::formatNumber (7, 3), "7.000");
    EXPECT_EQ (ValueText::formatNumber (std::numeric_limits<double>::quiet_NaN(), 2), "");
}

TEST (ValueText, ReadsOnlyPlainNumbers)
{
    // clang-format off
    const std::pair<const char*, std::optional<double>> cases[]{
        { " -3.5 ", -3.5 },      { "+4", 4.0 },            { ".5", 0.5 },           { "5.", 5.0 },
        { "", std::nullopt },    { "-", std::nullopt },    { ".", std::nullopt },   { "1.2.3", std::nullopt },
        { "1e3", std::nullopt }, { "inf", std::nullopt },  { "0x10", std::nullopt }, { "1 2", std::nullopt },
        { "--1", std::nullopt },
    };
    // clang-format on
    for (const auto& [text, value] : cases)
        EXPECT_EQ (ValueText::parseNumber (text), value) << '"' << text << '"';
}

TEST (ValueText, ReadsTypedDisplayTextOfEachKindOfRow)
{
    const std::tuple<const char*, const char*, std::optional<double>> cases[]{
        { "performance.detune", "50", 50.0 },
        { "performance.detune", "50%", 50.0 },
        { "performance.detune", "fifty", std::nullopt },
        { "osc1.saw", "neg", 2.0 },
        { "lfo1.enable", "On", 1.0 },
        { "env1.attacktime", "998ms", 499.0 },
        { "env1.attacktime", "250", 250.0 },        // a bare number is in the display's own units
        { "env1.attacktime", "OFF", std::nullopt }, // attack cannot be off
        { "env1.delaytime", "off", 0.0 },
        { "env1.delaytime", "x ms", std::nullopt },
    };
    for (const auto& [id, text, value] : cases)
        EXPECT_EQ (ValueText::parseDisplayText (rowById (id), text), value) << id << " \"" << text << '"';
}

TEST (ValueText, TypedValuesBecomeRawValuesOrAreRefused)
{
    using Status = TypedValue::Status;
    struct Case
    {
        const char* id;
        const char* text;
        Status status;
        int raw;
    };
    const Case cases[]{
        { "osc1.semitone", "12", Status::ok, 32 * 12 + 2087 },
        { "osc1.semitone", "60.4", Status::ok, 4007 }, // within what "60" could have rounded away
        { "osc1.semitone", "-61", Status::outOfRange, 0 },
        { "performance.detune", "150", Status::outOfRange, 0 },
        { "performance.detune", "abc", Status::notANumber, 0 },
        { "lfo1.rate", "0.01", Status::ok, 0 }, // the text shown at the bottom end
        { "lfo1.rate", "0.00", Status::outOfRange, 0 },
        { "env1.delaytime", "OFF", Status::ok, 0 },
        { "lfo1.enable", "ON", Status::ok, 2049 },
        { "lfo1.enable", "1", Status::ok, 2049 },
        { "lfo1.enable", "0", Status::ok, 0 },
    };
    for (const auto& c : cases)
    {
        const auto typed = ValueText::rawForTypedText (rowById (c.id), c.text);
        EXPECT_EQ (typed.status, c.status) << c.id << " \"" << c.text << '"';
        if (c.status == Status::ok)
        {
            EXPECT_EQ (typed.raw, c.raw) << c.id << " \"" << c.text << '"';
        }
    }

    const CustomKnobRange window{ 20.0, 80.0, 0 };
    EXPECT_EQ (ValueText::rawForTypedText (rowById ("performance.detune"), "10", window).status, Status::outOfRange);
    EXPECT_EQ (ValueText::rawForTypedText (rowById ("performance.detune"), "30", window).display, 30);
}

TEST (ValueText, EveryShownTextTypesBackToItself)
{
    for (const auto& info : ParameterCatalogue::rows())
    {
        int failures = 0;
        for (int raw = info.rawMin; raw <= info.rawMax && failures < 3; ++raw)
        {
            const auto text = ValueText::displayText (info, raw);
            const auto typed = ValueText::rawForTypedText (info, text);
            const auto back = typed.ok() ? ValueText::displayText (info, typed.raw) : std::string ("refused");
            if (back != text)
            {
                ++failures;
                ADD_FAILURE() << info.id << " raw " << raw << " shows \"" << text << "\" but typing it shows \"" << back
                              << '"';
            }
        }
    }
}

TEST (ValueCurveShapes, ClicksStepThroughTheNineShapesAndWrap)
{
    const std::pair<const char*, int> expected[]{ { "LINEAR", 0 },   { "EXP 1", 457 },      { "EXP 2", 913 },
                                                  { "EXP 3", 1367 }, { "LOG 1", 1820 },     { "LOG 2", 2276 },
                                                  { "LOG 3", 2732 }, { "S-CURVE 1", 3187 }, { "S-CURVE 2", 3641 } };
    int index = 0;
    for (int click = 0; click < 2 * ValueCurveShapes::numShapes; ++click)
    {
        const auto& shape = ValueCurveShapes::shape (index);
        EXPECT_STREQ (shape.name, expected[click % 9].first) << click;
        EXPECT_EQ (shape.raw, expected[click % 9].second) << click;
        index = ValueCurveShapes::next (index);
    }

    EXPECT_EQ (ValueCurveShapes::next (8), 0);
    EXPECT_EQ (ValueCurveShapes::shape (ValueCurveShapes::next (8)).raw, 0);
    EXPECT_EQ (ValueCurveShapes::next (-1), 0);
    EXPECT_EQ (ValueCurveShapes::next (100), 2);

    const std::pair<int, int> nearest[]{ { 3641, 8 }, { 3000, 7 }, { 0, 0 }, { -40, 0 }, { 99999, 8 }, { 685, 1 } };
    for (const auto& [raw, shapeIndex] : nearest)
        EXPECT_EQ (ValueCurveShapes::indexForRaw (raw), shapeIndex) << raw;
}

// Range texts that read "low TO high" are checked against the value texts at both ends with the
// interface value texts; here the texts of their own and which rule wins where two could apply.
TEST (ValueText, InterfaceRangeTextsFollowTheirFirstMatchingRule)
{
    struct Case
    {
        const char* label;
        int nrpn, rawMin, rawMax;
        const char* minText;
        const char* maxText;
        const char* expected;
    };
    const Case cases[]{
        { "PORTAMENTO ENABLE", 3976, 0, 1, "", "", "OFF TO ON" },
        { "PORTAMENTO ENABLE", 3976, 0, 0, "0", "0", "0 TO 0" }, // a switch needs two states
        { "DFX ENABLE LEFT", 3700, 0, 1, "", "", "OFF TO ON" },
        { "LFO INVERT", 3702, 0, 1, "", "", "OFF TO ON" },
        { "FILTER FEEDBACK", 3703, 0, 4095, "", "", "OFF TO ON" },
        { "FILTER FEEDBACK AMOUNT", 3703, 0, 4095, "", "", "0 TO 4095" },
        { "ANALOG DISTORTION DFX2 OUTPUT", 3334, 0, 4095, "", "", "OFF TO ON" },
        { "ARP CURVE SHAPE ENABLE", 999, 0, 1, "", "", "OFF TO ON" },
        { "MOD LEVEL", 997, 0, 4095, "a", "b", "a TO b" },
        { "ANALOG DISTORTION SEND MOD LEVEL", 3335, 0, 4095, "", "", "-100.00 TO 100.00" },
        { "VOICE MIX PAN 3", 3080, 0, 4095, "", "", "L 100.0 TO R 100.0" },
        { "DFX PARAM", 3631, 0, 4095, "", "", "0.0 TO 100.0" },
        { "DFX PARAM", 3632, 0, 4095, "", "", "0 TO 4095" },
        { "VOICE MIX OUTPUT", 3078, 0, 4095, "", "", "MAIN / AUX / OFF" },
        { "ARP OCTAVE", 996, 0, 3, "1", "4", "1 TO 4" },
        { "ARP OCTAVE", 996, 0, 3, "", "4", "0 TO 3" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (ValueText::interfaceRangeText (c.label, c.nrpn, c.rawMin, c.rawMax, c.minText, c.maxText),
                   c.expected)
            << c.label << " " << c.nrpn;
}

TEST (ValueConversion, KnobTravelCoversTheWindowAndFollowsTheResponseCurve)
{
    const auto& detune = rowById ("performance.detune");
    EXPECT_EQ (ValueConversion::rawForKnobPosition (detune, 0.0), 0);
    EXPECT_EQ (ValueConversion::rawForKnobPosition (detune, 0.5), 2048);
    EXPECT_EQ (ValueConversion::rawForKnobPosition (detune, 1.0), 4095);
    EXPECT_EQ (ValueConversion::rawForKnobPosition (detune, 7.0), 4095);
    EXPECT_EQ (ValueConversion::rawForKnobPosition (detune, std::numeric_limits<double>::quiet_NaN()), 0);

    // Share of the window reached at a quarter of the travel, per curve.
    const std::pair<int, double> quarter[]{ { 0, 0.25 }, { 1, 0.0625 }, { 2, 0.4375 }, { 3, 0.15625 } };
    for (const auto& [curve, share] : quarter)
    {
        const CustomKnobRange window{ 20.0, 80.0, curve };
        const int low = ValueConversion::rawForKnobPosition (detune, 0.0, window);
        const int high = ValueConversion::rawForKnobPosition (detune, 1.0, window);
        EXPECT_EQ (ValueConversion::rawToDisplay (detune, low), 20) << curve;
        EXPECT_EQ (ValueConversion::rawToDisplay (detune, high), 80) << curve;
        EXPECT_NEAR (ValueConversion::rawForKnobPosition (detune, 0.25, window), low + share * (high - low), 0.5)
            << curve;

        for (int step = 0; step <= 20; ++step)
        {
            const double position = step / 20.0;
            const int raw = ValueConversion::rawForKnobPosition (detune, position, window);
            const int again = ValueConversion::rawForKnobPosition (
                detune, ValueConversion::knobPositionForRaw (detune, raw, window), window);
            EXPECT_EQ (again, raw) << "curve " << curve << " position " << position;
        }
    }

    // A row that runs downwards keeps the lower raw at the left end of the travel.
    const auto& bottom = rowById ("performance.wheel.bottomrange");
    const CustomKnobRange window{ -40.0, -10.0, 0 };
    EXPECT_EQ (ValueConversion::rawToDisplay (bottom, ValueConversion::rawForKnobPosition (bottom, 0.0, window)), -10);
    EXPECT_EQ (ValueConversion::rawToDisplay (bottom, ValueConversion::rawForKnobPosition (bottom, 1.0, window)), -40);
}
