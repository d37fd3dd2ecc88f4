#include "HeadlessFixture.h"
#include "model/DisplayShapes.h"
#include "model/ModulationRouting.h"
#include "model/ValueCurveShapes.h"

#include <algorithm>
#include <map>

namespace orvo
{
namespace
{
/** Raw values by id; every other row reads 0. */
DisplayShapes::RawOf rawFrom (std::map<std::string, int> values)
{
    return [values = std::move (values)] (std::string_view id)
    {
        const auto it = values.find (std::string (id));
        return it == values.end() ? 0 : it->second;
    };
}

int row (const char* id)
{
    return *ParameterCatalogue::findById (id);
}
} // namespace

TEST (DisplayShapes, TheNineCurvesRunFromZeroToOneWithTheirOwnBend)
{
    // Values at t = 0.5 and t = 0.25, worked out by hand: EXP k is t^(k+1), LOG k its mirror,
    // S-CURVE 1 is 3t^2 - 2t^3, S-CURVE 2 is 6t^5 - 15t^4 + 10t^3.
    const double atHalf[] = { 0.5, 0.25, 0.125, 0.0625, 0.75, 0.875, 0.9375, 0.5, 0.5 };
    const double atQuarter[] = {
        0.25, 0.0625, 0.015625, 0.00390625, 0.4375, 0.578125, 0.68359375, 0.15625, 0.103515625
    };
    for (int i = 0; i < ValueCurveShapes::numShapes; ++i)
    {
        SCOPED_TRACE (ValueCurveShapes::shape (i).name);
        EXPECT_DOUBLE_EQ (DisplayShapes::curve (i, 0.0), 0.0);
        EXPECT_DOUBLE_EQ (DisplayShapes::curve (i, 1.0), 1.0);
        EXPECT_DOUBLE_EQ (DisplayShapes::curve (i, 0.5), atHalf[i]);
        EXPECT_DOUBLE_EQ (DisplayShapes::curve (i, 0.25), atQuarter[i]);
    }
}

TEST (DisplayShapes, OscillatorDrawsTheWavesThatAreOn)
{
    const auto saw = DisplayShapes::oscillator (rawFrom ({ { "osc1.saw", 1 } }), 1);
    EXPECT_EQ (saw.caption, "SAW +");
    EXPECT_FLOAT_EQ (saw.points.front().y, -1.0f) << "a rising ramp starts at the bottom";
    EXPECT_FLOAT_EQ (saw.points[79].y, 1.0f - 2.0f / 80.0f) << "and climbs to the top within the cycle";

    // A 25 % square at full level: high for a quarter of each cycle.
    const auto square = DisplayShapes::oscillator (
        rawFrom ({ { "osc2.square", 1 }, { "osc2.pwm", 1024 }, { "osc2.env1level", 4095 } }), 2);
    EXPECT_EQ (square.caption, "SQR 25% LEVEL 100%");
    const auto high =
        std::count_if (square.points.begin(), square.points.end(), [] (const auto& p) { return p.y > 0.0f; });
    EXPECT_NEAR ((double)high / (double)square.points.size(), 0.25, 0.01);

    const auto none = DisplayShapes::oscillator (rawFrom ({ { "osc2.sync", 1 } }), 2);
    EXPECT_EQ (none.caption, "HARD SYNC");
    EXPECT_TRUE (std::all_of (none.points.begin(), none.points.end(), [] (const auto& p) { return p.y == 0.0f; }));
    EXPECT_EQ (DisplayShapes::oscillator (rawFrom ({}), 1).caption, "NO WAVE ON");
}

TEST (DisplayShapes, LfoAppliesPolarityLevelAndOffset)
{
    // A positive pulse at full level swings between 0 and 1; a bipolar sine at half level, offset
    // down by a quarter, between -0.75 and 0.25.
    const auto pulse = DisplayShapes::lfo (rawFrom ({ { "lfo2.shape", 3200 },
                                                      { "lfo2.polarity", 4095 },
                                                      { "lfo2.level", 4095 },
                                                      { "lfo2.wavewidth", 2048 },
                                                      { "lfo2.offset", 2048 } }),
                                           2);
    EXPECT_EQ (pulse.caption, "PULSE  POSITIVE  LEVEL 100%  OFFSET 0%");
    for (const auto& p : pulse.points)
        EXPECT_TRUE (p.y == 0.0f || p.y == 1.0f) << p.y;

    const auto sine = DisplayShapes::lfo (
        rawFrom ({ { "lfo1.polarity", 2050 }, { "lfo1.level", 2048 }, { "lfo1.offset", 1536 } }), 1);
    const auto [low, high] = std::minmax_element (sine.points.begin(), sine.points.end(),
                                                  [] (const auto& a, const auto& b) { return a.y < b.y; });
    EXPECT_NEAR (low->y, -0.75, 0.01);
    EXPECT_NEAR (high->y, 0.25, 0.01);
}

TEST (DisplayShapes, EnvelopeRisesHoldsTheSustainAndReturnsWithItsCurve)
{
    std::map<std::string, int> values{ { "env3.attacktime", 1000 },   { "env3.decay1time", 1000 },
                                       { "env3.release1time", 1000 }, { "env3.release2time", 1000 },
                                       { "env3.attacklevel", 4095 },  { "env3.decay2level", 4095 },
                                       { "env3.sustainlevel", 2048 }, { "env3.offsetlevel", 2048 } };
    const auto linear = DisplayShapes::envelope (rawFrom (values), 3);
    EXPECT_EQ (linear.caption, "LINEAR");
    EXPECT_FLOAT_EQ (linear.points.front().y, 0.0f);
    EXPECT_FLOAT_EQ (linear.points.back().y, 0.0f);
    EXPECT_FLOAT_EQ (linear.points.back().x, 1.0f);
    float peak = 0.0f, sustainFrom = 2.0f, sustainTo = -1.0f;
    for (const auto& p : linear.points)
    {
        peak = std::max (peak, p.y);
        if (p.y == 0.5f)
            sustainFrom = std::min (sustainFrom, p.x), sustainTo = std::max (sustainTo, p.x);
    }
    EXPECT_FLOAT_EQ (peak, 1.0f);
    EXPECT_GT (sustainTo - sustainFrom, 0.15f) << "the held key is drawn at a width of its own";
    // Point 8 lies half way through the attack: the curve decides how far it has risen.
    EXPECT_NEAR (linear.points[8].y, 0.5, 1e-6);
    values["env3.shape"] = 457;
    const auto exp1 = DisplayShapes::envelope (rawFrom (values), 3);
    EXPECT_EQ (exp1.caption, "EXP 1");
    EXPECT_NEAR (exp1.points[8].y, 0.25, 1e-6);
}

TEST (DisplayShapes, RoutingSummaryListsOnlyTheRoutesSwitchedOn)
{
    ModulationRouting routing;
    EXPECT_TRUE (DisplayShapes::routingSummary (routing).empty());
    routing.setField ("__mod:LFO 2 MOD:enable", 1);
    routing.setField ("__mod:LFO 2 MOD:level", 4095);
    const auto lines = DisplayShapes::routingSummary (routing);
    ASSERT_EQ (lines.size(), 1u);
    EXPECT_EQ (lines[0].rfind ("LFO 2 MOD: ", 0), 0u) << lines[0];
    EXPECT_NE (lines[0].find (" > "), std::string::npos) << "the route has a destination: " << lines[0];
    EXPECT_NE (lines[0].find ("100.00"), std::string::npos) << lines[0];
}

using DependentDisplaysInTheTick = test::HeadlessFixture;

TEST_F (DependentDisplaysInTheTick, AValueFromTheInstrumentRedrawsOnlyItsDisplayInThatTick)
{
    editor->connect (false);
    editor->settle (3);
    EXPECT_EQ (editor->session().tick().displaysChanged, 0u) << "nothing changed, nothing to repaint";
    instrument.turnKnob (row ("lfo3.shape"), 3200);
    instrument.flush();
    const auto report = editor->session().tick();
    EXPECT_EQ (report.displaysChanged, 1u << DependentDisplays::lfo3);
    EXPECT_EQ (editor->session().displays().drawing (DependentDisplays::lfo3).caption.rfind ("PULSE", 0), 0u);

    engine.userEdit (row ("env1.attacktime"), 3000);
    EXPECT_EQ (editor->session().displays().takeChanged(), 1u << DependentDisplays::env1)
        << "a player's edit redraws at once";
}

} // namespace orvo
