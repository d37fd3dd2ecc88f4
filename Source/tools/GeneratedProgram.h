#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvo
{

/** What the player set on the generator panel; kept while the program runs. */
struct GeneratorSettings
{
    enum class Voice
    {
        either,
        mono,
        poly
    };

    double experimentalAmount = 0.0; // GEN RANGE, 0 (SAFE) .. 1 (EXPERIMENTAL)
    Voice voice = Voice::either;
    bool analogDistortion = false;
    bool digitalEffects = false;

    static const char* voiceName (Voice v) { return v == Voice::mono ? "mono" : v == Voice::poly ? "poly" : "either"; }
};

/** One generated catalogue value. `value` is raw or in the row's display units, as `display` says;
    `raw` is what the editor applies (-1 when the id has no row). */
struct GeneratedParameterEdit
{
    std::string parameterId;
    bool display = false;
    double value = 0.0;
    int row = -1;
    int raw = -1;
};

/** One generated value for a control without a catalogue row: page buttons, routes, effects. */
struct GeneratedInterfaceEdit
{
    std::string label;
    int nrpn = -1;
    int raw = 0;
};

/** The result of one generation, kept as the latest generated Program until the next one. */
struct GeneratedProgram
{
    std::string generationId, generatedAt;
    std::int64_t seed = 0;
    std::string category = "bass", categoryLabel = "Bass";
    std::string recipeId, recipeDescription;
    int channel = 1;
    int unisonVoices = 1;
    std::string voiceModePreference = "either", voiceModeUsed = "poly";
    double experimentalAmount = 0.0;
    bool experimentalEdgeAuditionMode = false;
    double preFilterTotal = 0.0, postFilterTotal = 0.0;
    bool analogDistortionAvailable = false, analogDistortionUsed = false;
    std::string analogDistortionType;
    bool digitalEffectsAvailable = false, digitalEffectsUsed = false;
    std::string digitalEffectName;
    std::vector<std::string> guardrailNotes;
    std::vector<GeneratedParameterEdit> parameterEdits;
    std::vector<GeneratedInterfaceEdit> interfaceEdits;
};

} // namespace orvo
