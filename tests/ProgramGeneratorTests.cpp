#include "model/ParameterCatalogue.h"
#include "tools/GeneratorRandom.h"
#include "tools/ProgramGenerator.h"

#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <set>

using namespace orvo;

namespace
{
bool hasNote (const GeneratedProgram& p, const std::string& prefix)
{
    for (const auto& n : p.guardrailNotes)
        if (n.rfind (prefix, 0) == 0)
            return true;
    return false;
}

double editValue (const GeneratedProgram& p, const std::string& id)
{
    for (const auto& e : p.parameterEdits)
        if (e.parameterId == id)
            return e.value;
    return -1.0;
}
} // namespace

TEST (GeneratorRandom, DrawsWhatJuceRandomDrawsFromTheSameSeed)
{
    for (std::int64_t seed : { 0LL, 1LL, 42LL, 1'800'000'123'456LL, -7LL, 0x7FFF'FFFF'FFFFLL })
    {
        GeneratorRandom ours (seed), ints (seed);
        juce::Random theirs (seed), theirInts (seed);
        for (int i = 0; i < 8; ++i)
        {
            EXPECT_EQ (ours.next(), (std::uint32_t)theirs.nextInt()) << seed;
            EXPECT_EQ (ints.integer (0, 96), theirInts.nextInt (97)) << seed;
        }
    }
}

TEST (GeneratorRandom, ChancesAndWeightsKeepTheirEdges)
{
    GeneratorRandom r (99, 0.0);
    for (int i = 0; i < 500; ++i)
    {
        EXPECT_FALSE (r.chance (0));
        EXPECT_FALSE (r.chance (-5));
        EXPECT_TRUE (r.chance (100));
        EXPECT_FALSE (r.experimentalChance (100)); // e = 0
        EXPECT_EQ (r.weighted<int> ({ { 7, 0 }, { 8, -3 } }), 7);
        EXPECT_EQ (r.weighted<int> ({ { 7, 0 }, { 8, 5 }, { 9, 0 } }), 8);
        const int n = r.integer (-2, 2);
        EXPECT_TRUE (n >= -2 && n <= 2);
    }
    // At SAFE a widened range is its safe range, draw for draw, and a drift stays on its safe value.
    GeneratorRandom widened (5, 0.0), plain (5, 0.0), half (5, 0.5);
    EXPECT_DOUBLE_EQ (widened.widened (10, 20, -500, 900), plain.uniform (10, 20));
    EXPECT_DOUBLE_EQ (widened.drift (7, -100, 100), 7.0);
    EXPECT_NE (half.widened (10, 20, -500, 900), GeneratorRandom (5, 0.0).uniform (10, 20));
}

TEST (ProgramGenerator, RangeSnapsAtTheQuarters)
{
    const std::pair<double, double> cases[] = { { 0.22, 0.25 }, { 0.21, 0.21 }, { 0.52, 0.5 }, { 0.54, 0.54 },
                                                { 0.79, 0.79 }, { 0.77, 0.75 }, { -1, 0 },     { 2, 1 } };
    for (auto [position, expected] : cases)
        EXPECT_DOUBLE_EQ (ProgramGenerator::snapRange (position), expected) << position;
}

TEST (ProgramGenerator, OneSeedAndSettingsGiveOneProgram)
{
    GeneratorSettings s{ 0.6, GeneratorSettings::Voice::mono, true, true };
    const auto a = ProgramGenerator::generateBass (123456789, s, 1),
               b = ProgramGenerator::generateBass (123456789, s, 1);
    ASSERT_EQ (a.parameterEdits.size(), b.parameterEdits.size());
    for (size_t i = 0; i < a.parameterEdits.size(); ++i)
        EXPECT_EQ (a.parameterEdits[i].raw, b.parameterEdits[i].raw) << a.parameterEdits[i].parameterId;
    ASSERT_EQ (a.interfaceEdits.size(), b.interfaceEdits.size());
    for (size_t i = 0; i < a.interfaceEdits.size(); ++i)
        EXPECT_EQ (a.interfaceEdits[i].raw, b.interfaceEdits[i].raw) << a.interfaceEdits[i].label;
    EXPECT_EQ (a.guardrailNotes, b.guardrailNotes);
    EXPECT_NE (ProgramGenerator::generateBass (123456790, s, 1).parameterEdits[0].value, -1.0);
}

TEST (ProgramGenerator, RecipesFollowTheirWeightsOverTenThousandSeeds)
{
    std::map<std::string, int> counts;
    for (int seed = 0; seed < 10000; ++seed)
        ++counts[ProgramGenerator::generateBass (seed * 7919LL + 1'765'000'000'000LL, {}, 1).recipeId];
    // Weights sum to 100; four standard deviations of a binomial count.
    const std::map<std::string, int> weights = {
        { "learned_sub_bass", 22 },     { "learned_classic_analog_bass", 24 },
        { "learned_plucked_bass", 16 }, { "learned_aggressive_resonant_bass", 16 },
        { "learned_sync_fm_bass", 8 },  { "learned_moving_modulated_bass", 14 }
    };
    for (const auto& [id, weight] : weights)
    {
        const double p = weight / 100.0, expected = 10000 * p, sigma = std::sqrt (10000 * p * (1 - p));
        EXPECT_NEAR (counts[id], expected, 4 * sigma) << id;
    }
}

TEST (ProgramGenerator, SafeEndHitsNoExperimentalChance)
{
    for (int seed = 0; seed < 3000; ++seed)
    {
        const auto p = ProgramGenerator::generateBass (seed, { 0.0, GeneratorSettings::Voice::either, true, true }, 1);
        EXPECT_FALSE (p.experimentalEdgeAuditionMode);
        EXPECT_EQ (editValue (p, "prefilter.ringmod"), 0.0);
        EXPECT_EQ (editValue (p, "prefilter.noiseext"), 0.0);
        EXPECT_EQ (editValue (p, "lfo2.enable"), 0.0);
        EXPECT_FALSE (hasNote (p, "safe-to-experimental"));
        EXPECT_TRUE (p.analogDistortionType != "HEAVY" && p.analogDistortionType != "KILLER");
    }
}

TEST (ProgramGenerator, DigitalEffectsOffSendsTheEffectSilent)
{
    int used = 0;
    for (int seed = 0; seed < 400; ++seed)
    {
        const auto off =
            ProgramGenerator::generateBass (seed, { 1.0, GeneratorSettings::Voice::either, true, false }, 1);
        for (const auto& e : off.interfaceEdits)
        {
            if (e.nrpn >= 3603 && e.nrpn <= 3638)
            {
                EXPECT_EQ (e.raw, e.nrpn == 3605 ? 2048 : 0) << e.label;
            }
        }
        used += ProgramGenerator::generateBass (seed, { 1.0, GeneratorSettings::Voice::either, true, true }, 1)
                    .digitalEffectsUsed;
    }
    EXPECT_GT (used, 40);
}

// Every value in its row's range, every fed oscillator sounding, both mixers audible and under
// their caps, and a note for every repair that was due.
TEST (ProgramGenerator, TenThousandSeedsAtFiveRangesMakePlayablePrograms)
{
    std::set<std::string> repairsSeen;
    const char* repairs[] = { "audible pre-filter source repaired",
                              "OSC1 waveform repaired",
                              "OSC2 waveform repaired",
                              "audible post-filter output repaired",
                              "Filter 2 output kept secondary",
                              "resonant pre-filter gain scaled",
                              "pre-filter gain scaled",
                              "post-filter gain scaled" };
    auto rows = [] (std::initializer_list<const char*> ids)
    {
        std::vector<size_t> out;
        for (const char* id : ids)
            out.push_back ((size_t)*ParameterCatalogue::findById (id));
        return out;
    };
    const auto osc1Waves = rows ({ "osc1.saw", "osc1.square", "osc1.triangle", "osc1.sine" }),
               osc2Waves = rows ({ "osc2.saw", "osc2.square", "osc2.triangle", "osc2.sine" }),
               preLevels = rows ({ "prefilter.osc1", "prefilter.subosc1", "prefilter.osc2", "prefilter.subosc2",
                                   "prefilter.ringmod", "prefilter.noiseext" }),
               heardOutputs =
                   rows ({ "postfilter.osc1", "postfilter.subosc1", "postfilter.osc2", "postfilter.ringmod" });
    const size_t osc1Level = preLevels[0], osc2Level = preLevels[2], filter2Output = rows ({ "postfilter.subosc2" })[0];
    for (double e : { 0.0, 0.25, 0.5, 0.75, 1.0 })
        for (int seed = 0; seed < 10000; ++seed)
        {
            GeneratorSettings s{ e, GeneratorSettings::Voice (seed % 3), seed % 2 == 0, seed % 4 < 2 };
            GenerationTrace t;
            const auto p = ProgramGenerator::generateBass (1'765'000'000'000LL + seed * 104729LL, s, 1, &t);
            std::array<double, ParameterCatalogue::numRows> v{};
            for (const auto& edit : p.parameterEdits)
            {
                ASSERT_GE (edit.row, 0) << edit.parameterId;
                const auto& info = ParameterCatalogue::row (edit.row);
                const double lo = edit.display ? std::min (info.displayMin, info.displayMax) : info.rawMin;
                const double hi = edit.display ? std::max (info.displayMin, info.displayMax) : info.rawMax;
                ASSERT_TRUE (edit.value >= lo - 1e-9 && edit.value <= hi + 1e-9)
                    << edit.parameterId << " " << edit.value;
                ASSERT_TRUE (edit.raw >= info.rawMin && edit.raw <= info.rawMax) << edit.parameterId;
                v[(size_t)edit.row] = edit.value;
            }
            for (const auto& edit : p.interfaceEdits)
                ASSERT_TRUE (edit.nrpn >= 0 && edit.raw >= 0 && edit.raw <= 4095) << edit.label;
            auto sum = [&v] (const std::vector<size_t>& which)
            {
                double total = 0;
                for (auto r : which)
                    total += v[r];
                return total;
            };
            ASSERT_TRUE (v[osc1Level] <= 0 || sum (osc1Waves) > 0);
            ASSERT_TRUE (v[osc2Level] <= 0 || sum (osc2Waves) > 0);
            const double pre = sum (preLevels), heard = sum (heardOutputs), filter2 = v[filter2Output];
            ASSERT_GE (pre, ProgramGenerator::audiblePreFilterTotal - 1e-6);
            ASSERT_LE (pre, ProgramGenerator::preFilterCap (e) + 1e-6);
            ASSERT_LE (pre, t.resonantPath ? ProgramGenerator::resonantPreFilterCap + 1e-6 : 1e9);
            ASSERT_GE (heard, ProgramGenerator::audiblePostFilterTotal - 1e-6);
            ASSERT_LE (heard + filter2, ProgramGenerator::postFilterCap (e) + 1e-6);
            ASSERT_LE (filter2, ProgramGenerator::filter2OutputLimit + 1e-6);

            const bool due[] = { (t.preFilterDrawn < ProgramGenerator::audiblePreFilterTotal),
                                 t.osc1Silent,
                                 t.osc2Silent,
                                 (t.postFilterDrawn < ProgramGenerator::audiblePostFilterTotal),
                                 (t.filter2OutputDrawn > ProgramGenerator::filter2OutputLimit),
                                 (t.resonantPath && t.preFilterBeforeScaling > ProgramGenerator::resonantPreFilterCap),
                                 (std::min (t.preFilterBeforeScaling, t.resonantPath ? 150.0 : 1e9) >
                                  ProgramGenerator::preFilterCap (e)),
                                 (t.postFilterBeforeScaling > ProgramGenerator::postFilterCap (e)) };
            for (size_t i = 0; i < std::size (repairs); ++i)
            {
                ASSERT_EQ (hasNote (p, repairs[i]), due[i]) << repairs[i] << " seed " << seed << " e " << e;
                if (due[i])
                    repairsSeen.insert (repairs[i]);
            }
        }
    EXPECT_EQ (repairsSeen.size(), std::size (repairs)); // every repair was exercised
}
