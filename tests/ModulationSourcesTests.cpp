#include "model/ModulationSources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace orvo;

namespace
{
// The instrument's grouping of its source scale, category by category in numbering order.
const std::vector<std::vector<int>> categoryRaws{
    { 0, 53, 105, 158, 210, 263 },
    { 315, 368, 420, 473, 525, 1470, 1523, 1575, 1628 },
    { 578, 630, 683 },
    { 788, 840, 893 },
    { 735, 1418, 2573 },
    { 945, 998 },
    { 1050, 1103, 1155, 1208, 1260 },
    { 1313, 1365 },
    { 1680, 1733, 1785, 1838, 1890, 1943, 2415 },
    { 1995, 2048, 2100, 2153, 2205, 2258, 2310, 2363 },
    { 2468, 2520, 3728, 3780, 3833, 3885, 3938, 3990, 4043, 4095 },
    { 2625, 2678, 2730, 2783, 2835, 2888, 2940, 2993, 3045, 3098, 3150,
      3203, 3255, 3308, 3360, 3413, 3465, 3518, 3570, 3623, 3675 },
};
} // namespace

TEST (ModulationSources, SeventyNineSourcesSitOnTheScaleRoundedHalfUp)
{
    const auto& sources = ModulationSources::all();
    ASSERT_EQ (sources.size(), 79u);
    for (int k = 0; k < 79; ++k)
    {
        const int expected = (int)std::floor (k * 4095.0 / 78.0 + 0.5);
        EXPECT_EQ (sources[(size_t)k].index, k);
        EXPECT_EQ (sources[(size_t)k].raw, expected) << k;
        EXPECT_EQ (ModulationSources::rawForIndex (k), expected) << k;
    }
    EXPECT_EQ (sources[6].raw, 315);
    EXPECT_EQ (sources[77].raw, 4043);
    EXPECT_EQ (sources[78].raw, 4095);
}

TEST (ModulationSources, TwelveCategoriesHoldEverySourceOnceInTheirNumberingOrder)
{
    std::set<int> seen;
    for (int c = 1; c <= 12; ++c)
    {
        const auto members = ModulationSources::inCategory (c);
        const auto& expected = categoryRaws[(size_t)c - 1];
        ASSERT_EQ (members.size(), expected.size()) << "category " << c;
        for (size_t i = 0; i < members.size(); ++i)
        {
            EXPECT_EQ (members[i]->raw, expected[i]) << "category " << c << " source " << i + 1;
            EXPECT_EQ (members[i]->category, c);
            EXPECT_EQ (members[i]->number, (int)i + 1);
            EXPECT_EQ (ModulationSources::find (c, (int)i + 1), members[i]);
            EXPECT_TRUE (seen.insert (members[i]->index).second) << "raw " << expected[i] << " in two categories";
        }
    }
    EXPECT_EQ (seen.size(), 79u);

    for (const auto& bad : std::vector<std::pair<int, int>>{ { 0, 1 }, { 13, 1 }, { -1, 1 }, { 4, 4 }, { 1, 0 } })
        EXPECT_EQ (ModulationSources::find (bad.first, bad.second), nullptr) << bad.first << "/" << bad.second;
    EXPECT_TRUE (ModulationSources::inCategory (0).empty());
    EXPECT_TRUE (ModulationSources::inCategory (13).empty());
}

TEST (ModulationSources, NamesAreUniqueAndFoundRegardlessOfCaseAndSpaces)
{
    std::set<std::string> names;
    for (const auto& s : ModulationSources::all())
    {
        EXPECT_FALSE (std::string (s.name).empty()) << s.index;
        EXPECT_TRUE (names.insert (s.name).second) << s.name;
        EXPECT_EQ (ModulationSources::findByName (s.name), &s);
    }
    std::set<std::string> categories;
    for (int c = 1; c <= 12; ++c)
    {
        EXPECT_FALSE (ModulationSources::categoryName (c).empty());
        EXPECT_TRUE (categories.insert (ModulationSources::categoryName (c)).second);
    }
    EXPECT_TRUE (ModulationSources::categoryName (0).empty());
    EXPECT_TRUE (ModulationSources::categoryName (13).empty());

    for (const char* noise : { "WHITE NOISE", "PINK NOISE", "RED NOISE" })
    {
        const auto* source = ModulationSources::findByName (noise);
        ASSERT_NE (source, nullptr) << noise;
        EXPECT_EQ (source->category, ModulationSources::findByName ("WHITE NOISE")->category);
    }
    EXPECT_EQ (ModulationSources::findByName ("  pink noise "), ModulationSources::findByName ("PINK NOISE"));
    EXPECT_EQ (ModulationSources::findByName ("BLUE NOISE"), nullptr);
    EXPECT_EQ (ModulationSources::findByName (""), nullptr);
}

TEST (ModulationSources, NearestAgreesWithABruteForceSearchOverTheWholeRange)
{
    for (int code = -60; code <= 4160; ++code)
    {
        int bestDistance = 1 << 30;
        for (const auto& s : ModulationSources::all())
            bestDistance = std::min (bestDistance, std::abs (code - s.raw));
        int firstBest = -1;
        for (const auto& s : ModulationSources::all())
            if (std::abs (code - s.raw) == bestDistance)
            {
                firstBest = s.index;
                break;
            }
        ASSERT_EQ (ModulationSources::nearest (code).index, firstBest) << code;
    }
}
