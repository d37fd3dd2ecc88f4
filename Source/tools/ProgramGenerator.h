#pragma once

#include "GeneratedProgram.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvo
{

/** One generator category as the panel shows it; only BASS has a recipe that generates. */
struct GeneratorCategory
{
    const char* caption;
    const char* key;
    const char* label;
    bool generates;
};

struct BassRecipeInfo
{
    const char* id;
    const char* description;
    int weight;
};

/** What a generation drew before its guardrails acted, so a check can tell which repairs were due. */
struct GenerationTrace
{
    double preFilterDrawn = 0.0;  // the six pre-filter levels, percent
    double postFilterDrawn = 0.0; // the outputs that are heard without filter 2, percent
    double filter2OutputDrawn = 0.0;
    bool osc1Silent = false, osc2Silent = false; // fed to the pre-filter without a waveform
    bool resonantPath = false;
    double preFilterBeforeScaling = 0.0, postFilterBeforeScaling = 0.0;
};

/** Builds new Programs by recipe: a seeded random walk through the bass sub-styles whose ranges move
    from SAFE toward EXPERIMENTAL with GEN RANGE, finished by guardrails that keep the result audible.
    Pure: the same seed and settings always give the same Program. */
class ProgramGenerator
{
public:
    static const std::array<GeneratorCategory, 13>& categories();
    static const std::array<BassRecipeInfo, 6>& bassRecipes();

    // The levels below are in the mixers' display percent. They are what we call audible: a bass
    // needs at least one full-ish source into the filters and one full-ish filter output.
    static constexpr double audiblePreFilterTotal = 40.0;
    /** Filter 1's three outputs plus the PRE FILTER path; filter 2's output is not counted (kept secondary). */
    static constexpr double audiblePostFilterTotal = 40.0;
    /** Where a silent mix is brought back to. */
    static constexpr double repairedOsc1Level = 62.0;
    static constexpr double repairedFilter1LowPass = 70.0;
    /** Filter 2's low pass output may add colour but never carry the sound. */
    static constexpr double filter2OutputLimit = 25.0;
    // Gain caps (sum of a mixer's levels). Past these the filters clip hard on the hardware.
    static constexpr double resonantPreFilterCap = 150.0;
    static constexpr double resonantFirstLimit = 32.0;  // filter 1 resonance, percent
    static constexpr double resonantSecondLimit = 24.0; // filter 2 resonance, percent
    static constexpr double preFilterCapSafe = 170.0, preFilterCapExperimental = 235.0;
    static constexpr double postFilterCapSafe = 130.0, postFilterCapExperimental = 190.0;
    static double preFilterCap (double e);
    static double postFilterCap (double e);

    /** GEN RANGE from a slider position: clamped to 0..1 and caught by the 25, 50 and 75 percent snaps. */
    static double snapRange (double position);

    /** A bass Program drawn from `seed`; the caller stamps generationId and generatedAt. */
    static GeneratedProgram generateBass (std::int64_t seed, const GeneratorSettings& settings, int channel,
                                          GenerationTrace* trace = nullptr);

    /** "bass-20261206-031500-seed-N" for a generation at `wallClockMs`; also sets generatedAt. */
    static void stamp (GeneratedProgram& program, std::int64_t wallClockMs);

    /** " channel=... interfaceEdits=...": the decisions of a generation on one line. */
    static std::string settingsLine (const GeneratedProgram& program);

    /** The log lines of a generation: header, settings line, guardrail notes and, without an output,
        the note that nothing will be sent. */
    static std::string logText (const GeneratedProgram& program, bool midiOutputOpen);
};

} // namespace orvo
