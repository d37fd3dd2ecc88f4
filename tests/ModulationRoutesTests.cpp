#include "model/ModulationRoutes.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace orvo;

namespace
{
using F = ModulationField;

int nrpnOf (const ModulationRoute& r, F field)
{
    switch (field)
    {
        case F::enable:
            return r.enableNrpn;
        case F::source:
            return r.sourceNrpn;
        case F::destination:
            return r.destinationNrpn;
        case F::level:
            return r.levelNrpn;
        case F::offset:
            return r.offsetNrpn;
    }
    return -1;
}

std::string key (const std::string& route, const std::string& word)
{
    return "__mod:" + route + ":" + word;
}
} // namespace

TEST (ModulationRoutes, TableHoldsFortySevenNamedRoutesWithOneAsTheirEnableValue)
{
    const auto& routes = ModulationRoutes::all();
    ASSERT_EQ (routes.size(), 47u);
    std::set<std::string> names;
    int withDestination = 0;
    for (const auto& r : routes)
    {
        EXPECT_TRUE (names.insert (r.name).second) << r.name;
        EXPECT_EQ (r.enableOnValue, 1) << r.name;
        EXPECT_EQ (r.reserved, 0) << r.name;
        withDestination += r.hasDestination() ? 1 : 0;
    }
    EXPECT_EQ (withDestination, 29);
    EXPECT_STREQ (routes.front().name, "CLOCK MOD");
    EXPECT_STREQ (routes.back().name, "S&H MOD");
}

TEST (ModulationRoutes, RowsCarryTheirFiveNrpns)
{
    struct Row
    {
        const char* name;
        int enable, source, destination, level, offset;
    };
    const Row rows[]{
        { "CLOCK MOD", 648, 649, -1, 651, 650 },
        { "OSC1 OSC2FM", 1956, 1966, 1971, 1981, 1976 },
        { "NOISE/EXTERNAL LEVEL MOD", 2202, 2208, -1, 2214, 2220 },
        { "VOICE MIX MOD", 3076, 3080, 3081, 3083, 3082 },
        { "DIGITAL EFFECTS MOD", 3585, 3594, 3596, 3600, 3598 },
        { "S&H MOD", 1421, 1424, -1, 1426, 1425 },
    };
    for (const auto& row : rows)
    {
        const auto* r = ModulationRoutes::findByName (row.name);
        ASSERT_NE (r, nullptr) << row.name;
        EXPECT_EQ (r->enableNrpn, row.enable) << row.name;
        EXPECT_EQ (r->sourceNrpn, row.source) << row.name;
        EXPECT_EQ (r->destinationNrpn, row.destination) << row.name;
        EXPECT_EQ (r->levelNrpn, row.level) << row.name;
        EXPECT_EQ (r->offsetNrpn, row.offset) << row.name;
    }
}

TEST (ModulationRoutes, EveryFieldNrpnIsUniqueExceptThePortamentoEnableThatSharesItsSource)
{
    std::map<int, std::vector<std::string>> owners;
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto field : ModulationRoutes::fields())
            if (const auto info = ModulationRoutes::resolve (r, field))
            {
                EXPECT_GE (info->nrpn, 0) << info->label;
                EXPECT_LE (info->nrpn, 16383) << info->label;
                owners[info->nrpn].push_back (info->label);
            }
    for (const auto& [nrpn, labels] : owners)
    {
        if (nrpn == 3977)
            EXPECT_EQ (labels, (std::vector<std::string>{ "PORTAMENTO MOD ENABLE", "PORTAMENTO MOD SOURCE" }));
        else
            EXPECT_EQ (labels.size(), 1u) << "NRPN " << nrpn << " is shared by " << labels.front();
    }
    EXPECT_EQ (owners.size(), 47u * 4 + 29 - 1);

    const auto shared = ModulationRoutes::fieldsForNrpn (3977);
    ASSERT_EQ (shared.size(), 2u);
    EXPECT_EQ (shared[0].field, F::enable);
    EXPECT_EQ (shared[1].field, F::source);
    EXPECT_TRUE (ModulationRoutes::fieldsForNrpn (-1).empty());
    EXPECT_TRUE (ModulationRoutes::fieldsForNrpn (0).empty());
    EXPECT_TRUE (ModulationRoutes::fieldsForNrpn (1920).empty());
}

TEST (ModulationRoutes, EveryFieldKeyResolvesToItsRouteAndRoundTrips)
{
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
    {
        const auto& route = ModulationRoutes::all()[(size_t)r];
        for (const auto field : ModulationRoutes::fields())
        {
            const auto fieldKey = ModulationRoutes::fieldKey (r, field);
            EXPECT_EQ (fieldKey, key (route.name, ModulationRoutes::keyWord (field)));
            EXPECT_TRUE (ModulationRoutes::isFieldKey (fieldKey));
            const auto info = ModulationRoutes::resolve (fieldKey);
            if (field == F::destination && !route.hasDestination())
            {
                EXPECT_FALSE (info.has_value()) << fieldKey;
                continue;
            }
            ASSERT_TRUE (info.has_value()) << fieldKey;
            EXPECT_EQ (info->route, r);
            EXPECT_EQ (info->field, field);
            EXPECT_EQ (info->label, std::string (route.name) + ModulationRoutes::fieldText (field));
            EXPECT_EQ (info->nrpn, nrpnOf (route, field));
            EXPECT_EQ (info->rawMin, 0);
            EXPECT_EQ (info->rawMax, field == F::enable ? 1 : 4095) << fieldKey;
            EXPECT_EQ (ModulationRoutes::fieldKey (info->route, info->field), fieldKey);
        }
    }
    EXPECT_TRUE (ModulationRoutes::fieldKey (-1, F::level).empty());
    EXPECT_TRUE (ModulationRoutes::fieldKey (47, F::level).empty());
}

TEST (ModulationRoutes, KeysResolveByExactRouteNameAndTrimmedCaselessKeyWord)
{
    struct Case
    {
        std::string key;
        std::optional<int> nrpn;
        const char* label;
    };
    const Case cases[]{
        { key ("CLOCK MOD", "LEVEL"), 651, "CLOCK MOD LEVEL" },
        { key ("CLOCK MOD", " Level "), 651, "CLOCK MOD LEVEL" },
        { key ("NOISE/EXT LEVEL MOD", "source"), 2208, "NOISE/EXTERNAL LEVEL MOD SOURCE" },
        { key ("LFO 3 MOD", "destination"), 1293, "LFO 3 MOD DESTINATION" },
        // the route has no destination field
        { key ("S&H MOD", "destination"), std::nullopt, "" },
        // key words other than the five
        { key ("CLOCK MOD", "amount"), std::nullopt, "" },
        { key ("CLOCK MOD", "lev el"), std::nullopt, "" },
        { key ("CLOCK MOD", "level:level"), std::nullopt, "" },
        // route names match exactly
        { key ("clock mod", "level"), std::nullopt, "" },
        { key (" CLOCK MOD", "level"), std::nullopt, "" },
        // not a route key at all
        { "__mod:CLOCK MOD", std::nullopt, "" },
        { "__MOD:CLOCK MOD:level", std::nullopt, "" },
        { "osc1.semitone", std::nullopt, "" },
    };
    for (const auto& c : cases)
    {
        const auto info = ModulationRoutes::resolve (c.key);
        ASSERT_EQ (info.has_value(), c.nrpn.has_value()) << c.key;
        if (info)
        {
            EXPECT_EQ (info->nrpn, *c.nrpn) << c.key;
            EXPECT_EQ (info->label, c.label) << c.key;
        }
    }
    EXPECT_FALSE (ModulationRoutes::resolve (-1, F::level).has_value());
    EXPECT_FALSE (ModulationRoutes::resolve (47, F::level).has_value());
    EXPECT_FALSE (ModulationRoutes::resolve (0, static_cast<F> (9)).has_value());

    EXPECT_EQ (ModulationRoutes::findByName ("NOISE/EXT LEVEL MOD"), &ModulationRoutes::all()[18]);
    for (const char* unknown : { "", "osc1 mod1", "OSC1 MOD1 " })
        EXPECT_EQ (ModulationRoutes::findByName (unknown), nullptr) << unknown;
}

TEST (ModulationRoutes, SendingAFieldValueClampsItToTheFieldsRange)
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
        { key ("OSC1 MOD1", "level"), -1, 1983, 0, "OSC1 MOD1 LEVEL" },
        { key ("OSC1 MOD1", "level"), 4096, 1983, 4095, "OSC1 MOD1 LEVEL" },
        { key ("FILTER 2 MOD 2", "source"), 99999, 2451, 4095, "FILTER 2 MOD 2 SOURCE" },
        { key ("VOICE MIX MOD", "destination"), -50, 3081, 0, "VOICE MIX MOD DESTINATION" },
        { key ("ARP MOD", "enable"), 4095, 917, 1, "ARP MOD ENABLE ON" },
        { key ("ARP MOD", "enable"), -3, 917, 0, "ARP MOD ENABLE OFF" },
    };
    for (const auto& c : cases)
    {
        const auto info = ModulationRoutes::resolve (c.key);
        ASSERT_TRUE (info.has_value()) << c.key;
        const auto send = ModulationRoutes::sendFor (*info, c.raw);
        EXPECT_EQ (send.nrpn, c.nrpn) << c.key;
        EXPECT_EQ (send.value, c.value) << c.key << " raw " << c.raw;
        EXPECT_EQ (send.actionLabel, c.actionLabel) << c.key;
    }
    // Every route's enable takes only 0 and 1.
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const int raw : { -1, 0, 1, 2, 4095, 16383 })
            EXPECT_EQ (ModulationRoutes::sendFor (*ModulationRoutes::resolve (r, F::enable), raw).value,
                       raw >= 1 ? 1 : 0)
                << r << " raw " << raw;
}

TEST (ModulationRoutes, DestinationChoicesSpreadOverTheRangeForRoutesThatHaveThem)
{
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
    {
        const auto& route = ModulationRoutes::all()[(size_t)r];
        const auto& choices = ModulationRoutes::destinations (r);
        if (!route.hasDestination())
        {
            EXPECT_TRUE (choices.empty()) << route.name;
            EXPECT_EQ (ModulationRoutes::nearestDestination (r, 0), nullptr) << route.name;
            continue;
        }
        ASSERT_GE (choices.size(), 2u) << route.name;
        EXPECT_EQ (choices.front().raw, 0) << route.name;
        EXPECT_EQ (choices.back().raw, 4095) << route.name;
        std::set<std::string> names;
        for (size_t i = 0; i < choices.size(); ++i)
        {
            EXPECT_TRUE (names.insert (choices[i].name).second) << route.name << " " << choices[i].name;
            if (i > 0)
            {
                EXPECT_GT (choices[i].raw, choices[i - 1].raw) << route.name;
            }
            EXPECT_EQ (ModulationRoutes::nearestDestination (r, choices[i].raw), &choices[i]);
        }
        // Halfway between the first two choices the lower one wins.
        const int gap = choices[1].raw - choices[0].raw;
        EXPECT_EQ (ModulationRoutes::nearestDestination (r, gap / 2), &choices[0]) << route.name;
        EXPECT_EQ (ModulationRoutes::nearestDestination (r, gap / 2 + 1), &choices[1]) << route.name;
        EXPECT_EQ (ModulationRoutes::nearestDestination (r, -100), &choices.front());
        EXPECT_EQ (ModulationRoutes::nearestDestination (r, 20000), &choices.back());
    }
    // The LFO routes' stored type counts through six destinations.
    for (const char* lfo : { "LFO 1 MOD", "LFO 2 MOD", "LFO 3 MOD" })
    {
        const int r = *ModulationRoutes::indexOf (lfo);
        const auto& choices = ModulationRoutes::destinations (r);
        ASSERT_EQ (choices.size(), 6u) << lfo;
        for (int type = 1; type <= 6; ++type)
            EXPECT_EQ (ModulationRoutes::destinationForType (r, type), &choices[(size_t)type - 1]) << lfo;
        EXPECT_EQ (ModulationRoutes::destinationForType (r, 0), &choices.front());
        EXPECT_EQ (ModulationRoutes::destinationForType (r, 99), &choices.back());
    }
    EXPECT_EQ (ModulationRoutes::destinationForType (*ModulationRoutes::indexOf ("S&H MOD"), 1), nullptr);
    EXPECT_TRUE (ModulationRoutes::destinations (-1).empty());
    EXPECT_TRUE (ModulationRoutes::destinations (47).empty());
}
