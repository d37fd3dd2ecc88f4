#include "model/ModulationRouting.h"
#include "model/ModulationSources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace orvo;

namespace
{
using F = ModulationField;

int routeIndex (const char* name)
{
    const auto index = ModulationRoutes::indexOf (name);
    EXPECT_TRUE (index.has_value()) << name;
    return index.value_or (0);
}

std::string key (const std::string& route, const char* word)
{
    return "__mod:" + route + ":" + word;
}

// The modulation level as the instrument shows it, worked out here on its own.
std::string levelText (int raw)
{
    const double percent = raw == 4095 ? 100.0 : std::round ((raw - 2048) * 320000.0 / 65534.0) / 100.0;
    char buffer[32];
    std::snprintf (buffer, sizeof (buffer), "%.2f", percent);
    return std::string (buffer) == "-0.00" ? "0.00" : buffer;
}
} // namespace

TEST (ModulationRouting, OverlayShowsEveryRouteWithItsFieldsAtRest)
{
    const ModulationRouting routing;
    size_t fieldCount = 0;
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
    {
        const auto& route = ModulationRoutes::all()[(size_t)r];
        const auto views = routing.fieldViews (r);
        ASSERT_EQ (views.size(), route.hasDestination() ? 5u : 4u) << route.name;
        fieldCount += views.size();
        for (const auto& v : views)
        {
            const auto resolved = ModulationRoutes::resolve (v.key);
            ASSERT_TRUE (resolved.has_value()) << v.key;
            EXPECT_EQ (resolved->nrpn, v.info.nrpn);
            EXPECT_EQ (resolved->label, v.info.label);
            EXPECT_EQ (v.raw, ModulationRouting::defaultValue (v.info.field));
        }
        EXPECT_EQ (views[0].text, "OFF");
        EXPECT_EQ (views[0].actionLabel, std::string (route.name) + " ENABLE OFF");
        EXPECT_EQ (views[1].text, ModulationSources::all().front().name);
        EXPECT_EQ (views[views.size() - 2].text, "0.00") << route.name;
        EXPECT_EQ (views.back().text, "0.00") << route.name;
        if (route.hasDestination())
        {
            EXPECT_EQ (views[2].text, ModulationRoutes::destinations (r).front().name);
        }
    }
    EXPECT_EQ (fieldCount, 217u);
    EXPECT_TRUE (routing.fieldViews (-1).empty());
    EXPECT_TRUE (routing.fieldViews (47).empty());
}

TEST (ModulationRouting, SettingAFieldByKeyStoresTheClampedValueAndGivesTheSend)
{
    struct Case
    {
        std::string key;
        int raw;
        int nrpn;
        int value;
        const char* actionLabel;
    };
    const Case cases[]{
        { key ("OSC1 MOD1", "LEVEL"), 5000, 1983, 4095, "OSC1 MOD1 LEVEL" },
        { key ("OSC1 MOD1", "enable"), 7, 1958, 1, "OSC1 MOD1 ENABLE ON" },
        { key ("NOISE/EXT LEVEL MOD", "offset"), -9, 2220, 0, "NOISE/EXTERNAL LEVEL MOD OFFSET" },
        { key ("DIGITAL EFFECTS MOD", "destination"), 4095, 3596, 4095, "DIGITAL EFFECTS MOD DESTINATION" },
        { key ("S&H MOD", "source"), 840, 1424, 840, "S&H MOD SOURCE" },
    };
    ModulationRouting routing;
    for (const auto& c : cases)
    {
        const auto send = routing.setField (c.key, c.raw);
        ASSERT_TRUE (send.has_value()) << c.key;
        EXPECT_EQ (*send, (ModulationSend{ c.nrpn, c.value, c.actionLabel })) << c.key << " raw " << c.raw;
        EXPECT_EQ (routing.value (c.key), c.value) << c.key;

        const auto info = ModulationRoutes::resolve (c.key);
        const auto view = routing.fieldView (info->route, info->field);
        ASSERT_TRUE (view.has_value());
        EXPECT_EQ (view->raw, c.value);
        EXPECT_EQ (view->actionLabel, c.actionLabel);
        EXPECT_EQ (routing.currentSend (info->route, info->field), send);
    }
    EXPECT_EQ (routing.fieldView (routeIndex ("S&H MOD"), F::source)->text, "PINK NOISE");
}

TEST (ModulationRouting, UnknownKeysAndMissingFieldsChangeNothing)
{
    ModulationRouting routing;
    routing.setField (key ("CLOCK MOD", "level"), 100);
    const auto before = routing.allSends();

    for (const std::string& bad : { key ("S&H MOD", "destination"), key ("CLOCK MOD", "depth"), std::string ("__mod:"),
                                    std::string ("osc1.semitone") })
    {
        EXPECT_FALSE (routing.setField (bad, 1).has_value()) << bad;
        EXPECT_FALSE (routing.value (bad).has_value()) << bad;
    }
    EXPECT_FALSE (routing.setField (-1, F::level, 1).has_value());
    EXPECT_FALSE (routing.setField (47, F::level, 1).has_value());
    EXPECT_FALSE (routing.setField (routeIndex ("CLOCK MOD"), F::destination, 1).has_value());
    EXPECT_FALSE (routing.setField (0, static_cast<F> (0), 1).has_value());
    EXPECT_FALSE (routing.currentSend (routeIndex ("S&H MOD"), F::destination).has_value());
    EXPECT_EQ (routing.allSends(), before);
}

TEST (ModulationRouting, ValueTextsFollowTheFieldKind)
{
    const auto level = *ModulationRoutes::resolve (key ("FILTER 1 MOD 1", "level"));
    for (const int raw : { 0, 1, 1024, 2047, 2048, 2049, 3071, 4094, 4095 })
        EXPECT_EQ (ModulationRouting::valueText (level, raw), levelText (raw)) << raw;
    EXPECT_EQ (ModulationRouting::valueText (level, -5), levelText (0));
    EXPECT_EQ (ModulationRouting::valueText (level, 9999), "100.00");

    const auto source = *ModulationRoutes::resolve (key ("CLOCK MOD", "source"));
    for (const auto& s : ModulationSources::all())
    {
        EXPECT_EQ (ModulationRouting::valueText (source, s.raw), s.name);
        // A value between two sources reads as the nearer one.
        EXPECT_EQ (ModulationRouting::valueText (source, s.raw + 20), s.name);
    }

    const auto enable = *ModulationRoutes::resolve (key ("CLOCK MOD", "enable"));
    EXPECT_EQ (ModulationRouting::valueText (enable, 0), "OFF");
    EXPECT_EQ (ModulationRouting::valueText (enable, 1), "ON");

    const int lfo = routeIndex ("LFO 1 MOD");
    const auto destination = *ModulationRoutes::resolve (lfo, F::destination);
    for (const auto& choice : ModulationRoutes::destinations (lfo))
        EXPECT_EQ (ModulationRouting::valueText (destination, choice.raw), choice.name);
}

TEST (ModulationRouting, RangeTextsFollowTheRulesOfControlsWithoutACatalogueRow)
{
    const auto rangeOf = [] (const char* route, F field)
    { return ModulationRouting::rangeText (*ModulationRoutes::resolve (routeIndex (route), field)); };
    EXPECT_EQ (rangeOf ("CLOCK MOD", F::enable), "OFF TO ON");
    EXPECT_EQ (rangeOf ("FILTER 2 MOD 3", F::level), "-100.00 TO 100.00");
    EXPECT_EQ (rangeOf ("S&H MOD", F::offset), "-100.00 TO 100.00");
    // no " MOD " in the label: the texts of the two ends say the same
    EXPECT_EQ (rangeOf ("OSC1 PWM", F::level), "-100.00 TO 100.00");
    EXPECT_EQ (rangeOf ("ARP MOD", F::source),
               std::string (ModulationSources::all().front().name) + " TO " + ModulationSources::all().back().name);
}

TEST (ModulationRouting, IncomingNrpnsUpdateTheFieldsThatListenWithoutEchoingBadValues)
{
    ModulationRouting routing;
    const int osc1Mod1 = routeIndex ("OSC1 MOD1");
    const int portamento = routeIndex ("PORTAMENTO MOD");

    struct Step
    {
        int nrpn;
        int value;
        std::vector<ModulationFieldRef> changed;
        int route;
        F field;
        int stored;
    };
    const Step steps[]{
        { 1983, 4095, { { osc1Mod1, F::level } }, osc1Mod1, F::level, 4095 },
        { 1983, 4095, {}, osc1Mod1, F::level, 4095 },  // the same value again changes nothing
        { 1983, 16383, {}, osc1Mod1, F::level, 4095 }, // the wire's range is clamped to the field's
        { 1978, 0, { { osc1Mod1, F::offset } }, osc1Mod1, F::offset, 0 },
        { 1958, 5, { { osc1Mod1, F::enable } }, osc1Mod1, F::enable, 1 },
        // one NRPN, two fields
        { 3977, 840, { { portamento, F::enable }, { portamento, F::source } }, portamento, F::source, 840 },
        { 3977, 0, { { portamento, F::enable }, { portamento, F::source } }, portamento, F::enable, 0 },
        // nobody listens
        { 1920, 100, {}, osc1Mod1, F::offset, 0 },
    };
    for (const auto& s : steps)
    {
        EXPECT_EQ (ModulationRouting::takesNrpn (s.nrpn),
                   s.nrpn == 1983 || s.nrpn == 1978 || s.nrpn == 1958 || s.nrpn == 3977)
            << s.nrpn;
        EXPECT_EQ (routing.applyIncoming (s.nrpn, s.value), s.changed) << s.nrpn << "=" << s.value;
        EXPECT_EQ (routing.value (s.route, s.field), s.stored) << s.nrpn << "=" << s.value;
    }
    EXPECT_EQ (routing.fieldView (osc1Mod1, F::level)->text, "100.00");
    EXPECT_EQ (routing.fieldView (osc1Mod1, F::offset)->text, "-100.00");
}

TEST (ModulationRouting, TypedTextBecomesARawValueOrNothing)
{
    const ModulationRouting routing;
    const int route = routeIndex ("FILTER 1 MOD 2");
    const auto& destinations = ModulationRoutes::destinations (route);
    struct Case
    {
        F field;
        const char* text;
        std::optional<int> raw;
    };
    const Case cases[]{
        { F::enable, "ON", 1 },
        { F::enable, " off ", 0 },
        { F::enable, "1", 1 },
        { F::enable, "maybe", std::nullopt },
        { F::source, "pink noise", ModulationSources::findByName ("PINK NOISE")->raw },
        { F::source, "GREEN NOISE", std::nullopt },
        { F::source, "840", std::nullopt },
        { F::destination, destinations.back().name, destinations.back().raw },
        { F::destination, "NOT A DESTINATION", std::nullopt },
        { F::level, "-100", 0 },
        { F::level, "100", 4095 },
        { F::level, "150", std::nullopt },
        { F::level, "-100.5", std::nullopt },
    };
    for (const auto& c : cases)
        EXPECT_EQ (routing.rawForTypedText (route, c.field, c.text), c.raw)
            << ModulationRoutes::fieldText (c.field) << " '" << c.text << "'";

    // A typed level lands on the raw value whose shown level is nearest to it; no neighbour is closer.
    for (const char* typed : { "0", "-33.33", "12.5%", "99.99", "-0.05" })
    {
        const auto raw = routing.rawForTypedText (route, F::level, typed);
        ASSERT_TRUE (raw.has_value()) << typed;
        std::string number (typed);
        if (number.back() == '%')
            number.pop_back();
        const double wanted = std::stod (number);
        const double miss = std::abs (std::stod (levelText (*raw)) - wanted);
        EXPECT_LT (miss, 200.0 / 4095.0) << typed;
        for (const int neighbour : { *raw - 1, *raw + 1 })
            if (neighbour >= 0 && neighbour <= 4095)
            {
                EXPECT_LE (miss, std::abs (std::stod (levelText (neighbour)) - wanted) + 1e-9) << typed;
            }
    }
    EXPECT_FALSE (routing.rawForTypedText (routeIndex ("S&H MOD"), F::destination, "RATE").has_value());
    EXPECT_FALSE (routing.rawForTypedText (-1, F::level, "0").has_value());
}

TEST (ModulationRouting, AllSendsCoverEveryFieldAndResetRestoresTheRestingValues)
{
    ModulationRouting routing;
    routing.setField (key ("ENV 2 MOD 1", "level"), 100);
    routing.setField (key ("ENV 2 MOD 1", "enable"), 1);

    const auto sends = routing.allSends();
    ASSERT_EQ (sends.size(), 217u);
    size_t i = 0;
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto& view : routing.fieldViews (r))
        {
            EXPECT_EQ (sends[i], (ModulationSend{ view.info.nrpn, view.raw, view.actionLabel }));
            ++i;
        }

    // Values from code are stored clamped and say whether anything changed.
    const int env = routeIndex ("ENV 2 MOD 1");
    EXPECT_TRUE (routing.applyValue (env, F::offset, 9000));
    EXPECT_FALSE (routing.applyValue (env, F::offset, 4095));
    EXPECT_EQ (routing.value (env, F::offset), 4095);
    EXPECT_FALSE (routing.applyValue (routeIndex ("S&H MOD"), F::destination, 1));
    EXPECT_FALSE (routing.applyValue (-1, F::level, 1));

    routing.reset();
    EXPECT_EQ (routing.value (key ("ENV 2 MOD 1", "level")), 2048);
    EXPECT_EQ (routing.value (key ("ENV 2 MOD 1", "enable")), 0);
    EXPECT_EQ (ModulationRouting().allSends(), routing.allSends());
}
