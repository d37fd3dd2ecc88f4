#include "ProgramGenerator.h"

#include "GeneratorRandom.h"
#include "effects/EffectAlgorithms.h"
#include "effects/EffectControlTable.h"
#include "model/ModulationRoutes.h"
#include "model/ModulationSources.h"
#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"

#include <juce_core/juce_core.h>

#include <cctype>
#include <cstdio>

namespace orvo
{
namespace
{
/** A range that moves from its SAFE ends to its EXPERIMENTAL ends as GEN RANGE grows. */
struct Span
{
    double safeLo, safeHi, expLo, expHi;
};

using Weights = std::vector<std::pair<int, int>>;

/** The numbers of one bass sub-style. Levels and resonances are display percent, the cutoff is raw
    (its display is a calibration table), envelope times are raw. */
struct BassRecipe
{
    BassRecipeInfo info;
    int edgeChance;                          // experimental chance, percent; 0: the recipe has no edge
    std::array<int, 4> osc1Waves, osc2Waves; // saw, square, triangle, sine chances
    Span osc1Level, osc2Level, sub1Level;
    int sub2Chance;
    Span sub2Level;
    int ringChance, noiseChance; // experimental chances
    Weights osc2Semitone;
    Span cutoff, resonance1, resonance2, envAmount, keytrack;
    Span f1LowPass, f1BandPass, preFilterOut;
    int f2Chance;
    Span f2LowPass;
    Span ampAttack, ampDecay, ampSustain, ampRelease, filterAttack, filterDecay, filterSustain;
    int monoWeight, polyWeight;
    int lfo1Chance; // plain chance; 100 for the moving recipe
    int distortionChance, effectChance, portamentoChance;
    Span detune;
    bool filter2InputOff;
};

// clang-format off
const std::array<BassRecipe, 6> recipes {{
    { { "learned_sub_bass", "learned sub bass with a reinforced low fundamental", 22 }, 0,
      { 70, 35, 18, 35 }, { 0, 0, 18, 65 }, { 70, 90, 55, 100 }, { 35, 60, 25, 80 }, { 40, 70, 30, 90 }, 35, { 20, 45, 10, 70 },
      0, 0, { { -12, 1 } },
      { 1100, 1700, 900, 2400 }, { 0, 18, 0, 40 }, { 0, 12, 0, 30 }, { 5, 25, 0, 45 }, { 20, 50, 0, 80 },
      { 70, 90, 50, 100 }, { 0, 10, 0, 30 }, { 0, 15, 0, 35 }, 0, { 0, 0, 0, 0 },
      { 0, 40, 0, 300 }, { 1800, 2600, 1200, 3000 }, { 75, 95, 50, 100 }, { 700, 1300, 400, 1800 },
      { 0, 60, 0, 400 }, { 1200, 2200, 800, 3000 }, { 20, 50, 0, 80 },
      55, 45, 0, 10, 15, 25, { 0, 6, 0, 25 }, true },
    { { "learned_classic_analog_bass", "learned classic analog bass with controlled two-oscillator weight", 24 }, 14,
      { 80, 45, 10, 10 }, { 60, 30, 10, 10 }, { 60, 85, 40, 100 }, { 45, 75, 25, 100 }, { 20, 50, 0, 80 }, 20, { 10, 35, 0, 60 },
      6, 8, { { -12, 50 }, { -24, 25 }, { 0, 15 }, { -5, 10 } },
      { 1300, 2000, 900, 2800 }, { 8, 28, 0, 55 }, { 0, 20, 0, 45 }, { 25, 55, 10, 85 }, { 30, 60, 0, 90 },
      { 65, 90, 25, 100 }, { 0, 15, 0, 45 }, { 0, 10, 0, 30 }, 30, { 10, 35, 0, 60 },
      { 0, 60, 0, 400 }, { 1500, 2400, 900, 3200 }, { 60, 90, 30, 100 }, { 600, 1200, 300, 2000 },
      { 0, 80, 0, 500 }, { 1000, 2000, 600, 2800 }, { 15, 45, 0, 75 },
      50, 50, 10, 25, 30, 30, { 4, 14, 0, 40 }, false },
    { { "learned_plucked_bass", "learned plucked bass with fast amp and filter movement", 16 }, 0,
      { 75, 40, 15, 10 }, { 50, 35, 15, 20 }, { 45, 80, 0, 100 }, { 30, 60, 0, 90 }, { 15, 45, 0, 60 }, 15, { 5, 25, 0, 50 },
      5, 10, { { -12, 55 }, { 0, 30 }, { -24, 15 } },
      { 1000, 1600, 700, 2400 }, { 10, 30, 0, 50 }, { 0, 15, 0, 35 }, { 45, 75, 25, 100 }, { 30, 60, 10, 90 },
      { 60, 85, 20, 100 }, { 0, 20, 0, 50 }, { 0, 10, 0, 25 }, 20, { 5, 25, 0, 50 },
      { 0, 20, 0, 120 }, { 900, 1700, 500, 2400 }, { 15, 45, 0, 70 }, { 400, 900, 200, 1500 },
      { 0, 20, 0, 150 }, { 700, 1400, 400, 2200 }, { 0, 20, 0, 50 },
      40, 60, 5, 20, 35, 10, { 0, 10, 0, 30 }, true },
    { { "learned_aggressive_resonant_bass", "learned aggressive/resonant bass with guarded gain", 16 }, 8,
      { 85, 55, 5, 5 }, { 70, 45, 5, 5 }, { 65, 90, 45, 100 }, { 55, 85, 30, 100 }, { 20, 45, 0, 80 }, 25, { 10, 35, 0, 70 },
      12, 15, { { -12, 45 }, { 0, 25 }, { 7, 15 }, { -24, 15 } },
      { 1400, 2200, 1000, 3000 }, { 25, 50, 15, 80 }, { 15, 35, 5, 65 }, { 35, 65, 20, 95 }, { 30, 60, 0, 90 },
      { 35, 70, 5, 100 }, { 5, 25, 0, 60 }, { 0, 10, 0, 35 }, 35, { 10, 40, 0, 70 },
      { 0, 40, 0, 250 }, { 1500, 2500, 900, 3200 }, { 60, 90, 30, 100 }, { 500, 1100, 300, 1800 },
      { 0, 60, 0, 300 }, { 900, 1800, 500, 2600 }, { 20, 50, 0, 80 },
      60, 40, 10, 45, 25, 30, { 5, 18, 0, 45 }, false },
    { { "learned_sync_fm_bass", "learned sync/FM-flavored bass with cautious ring/FM edge", 8 }, 0,
      { 70, 35, 15, 15 }, { 65, 40, 10, 15 }, { 55, 80, 35, 100 }, { 45, 75, 25, 95 }, { 25, 55, 10, 80 }, 15, { 5, 30, 0, 55 },
      25, 5, { { 0, 40 }, { 7, 25 }, { 12, 20 }, { -12, 15 } },
      { 1300, 2000, 900, 2700 }, { 5, 25, 0, 50 }, { 0, 15, 0, 40 }, { 25, 55, 10, 85 }, { 30, 60, 0, 90 },
      { 60, 85, 35, 100 }, { 0, 20, 0, 45 }, { 0, 10, 0, 25 }, 20, { 5, 25, 0, 50 },
      { 0, 50, 0, 300 }, { 1400, 2300, 900, 3000 }, { 55, 85, 30, 100 }, { 600, 1200, 300, 1800 },
      { 0, 60, 0, 400 }, { 900, 1900, 600, 2800 }, { 10, 40, 0, 70 },
      55, 45, 10, 20, 25, 20, { 2, 10, 0, 30 }, true },
    { { "learned_moving_modulated_bass", "learned moving/modulated bass with gentle routed motion", 14 }, 18,
      { 75, 45, 15, 15 }, { 60, 35, 15, 20 }, { 55, 80, 35, 100 }, { 40, 70, 20, 95 }, { 20, 50, 0, 80 }, 20, { 5, 30, 0, 60 },
      8, 10, { { -12, 50 }, { 0, 30 }, { -24, 20 } },
      { 1200, 1900, 900, 2700 }, { 10, 30, 0, 55 }, { 0, 20, 0, 45 }, { 25, 50, 10, 80 }, { 30, 60, 0, 90 },
      { 60, 85, 35, 100 }, { 0, 20, 0, 50 }, { 0, 10, 0, 30 }, 25, { 5, 30, 0, 55 },
      { 0, 60, 0, 350 }, { 1500, 2400, 900, 3200 }, { 60, 90, 35, 100 }, { 600, 1300, 300, 2000 },
      { 0, 80, 0, 450 }, { 1000, 2000, 600, 2800 }, { 15, 45, 0, 75 },
      45, 55, 100, 20, 40, 20, { 3, 12, 0, 35 }, false },
}};
// clang-format on

/** The parameter edits in the order they are emitted; `display` says which are given in display units. */
struct EditField
{
    std::string id;
    bool display;
};

enum Field : int
{
    fDetune,
    fUnison,
    fMonovox,
    fTranspose,
    fPortaTime,
    fPortaOffset,
    fOsc1, // semitone, cents, fine, saw, square, triangle, sine, pwm, pitch amount, pitch enable, pitch offset
    fOsc2 = fOsc1 + 11,
    fPre = fOsc2 + 11,    // osc1, subosc1, osc2, subosc2, ringmod, noiseext
    fPost = fPre + 6,     // F1 HP, F1 LP, F1 BP, F2 LP, PRE FILTER, sources
    fFilter1 = fPost + 6, // frequency, resonance, keytrack, env2amount
    fFilter2 = fFilter1 + 4,
    fLfoEnable = fFilter2 + 4, // lfo1, lfo2, lfo3, sh
    fEnv1 = fLfoEnable + 4,    // 10 fields
    fEnv2 = fEnv1 + 10,        // 13 fields
    fEnv3 = fEnv2 + 13,
    fLfo1 = fEnv3 + 13, // rate, level, wavewidth
    fLfo2 = fLfo1 + 3,  // rate, level, offset, wavewidth
    numFields = fLfo2 + 4
};
enum OscField
{
    oSemitone,
    oCents,
    oFine,
    oSaw,
    oSquare,
    oTriangle,
    oSine,
    oPwm,
    oPitchAmount,
    oPitchEnable,
    oPitchOffset
};
enum EnvField
{
    eDelay,
    eAttack,
    eDecay1,
    eDecay2,
    eRelease1,
    eRelease2,
    eDecay2Level,
    eSustain,
    eRelease2Level,
    eOffset,
    eAttackLevel,
    eSmooth,
    ePolarity
};

std::vector<EditField> buildEditFields()
{
    std::vector<EditField> f = { { "performance.detune", true },
                                 { "performance.unisonx", true },
                                 { "performance.monovox", true },
                                 { "performance.transpose", true },
                                 { "performance.lowerportamento.time", true },
                                 { "performance.lowerportamento.offset", true } };
    using Suffixes = std::initializer_list<std::pair<const char*, bool>>;
    for (const char* osc : { "osc1.", "osc2." })
        for (auto [suffix, display] : Suffixes{ { "semitone", true },
                                                { "cents", true },
                                                { "fine", true },
                                                { "saw", false },
                                                { "square", false },
                                                { "triangle", false },
                                                { "sine", false },
                                                { "pwm", true },
                                                { "env1pitch.amount", true },
                                                { "env1pitch.enable", false },
                                                { "env1pitch.offset", true } })
            f.push_back ({ std::string (osc) + suffix, display });
    for (const char* source : { "osc1", "subosc1", "osc2", "subosc2", "ringmod", "noiseext" })
        f.push_back ({ std::string ("prefilter.") + source, true });
    // postfilter.noiseext is the post-filter source selection, not a level.
    for (const char* source : { "osc1", "subosc1", "osc2", "subosc2", "ringmod", "noiseext" })
        f.push_back ({ std::string ("postfilter.") + source, std::string_view (source) != "noiseext" });
    for (const char* filter : { "filter1.", "filter2." })
        for (auto [suffix, display] :
             Suffixes{ { "frequency", false }, { "resonance", true }, { "keytrack", true }, { "env2amount", true } })
            f.push_back ({ std::string (filter) + suffix, display });
    for (const char* id : { "lfo1.enable", "lfo2.enable", "lfo3.enable", "sh.enable" })
        f.push_back ({ id, false });
    auto isLevel = [] (std::string_view s) { return s.find ("level") != std::string_view::npos; };
    for (const char* s : { "delaytime", "attacktime", "decay1time", "decay2time", "release1time", "release2time",
                           "sustainlevel", "offsetlevel", "attacklevel", "polarity" })
        f.push_back ({ std::string ("env1.") + s, isLevel (s) });
    for (const char* env : { "env2.", "env3." })
        for (const char* s :
             { "delaytime", "attacktime", "decay1time", "decay2time", "release1time", "release2time", "decay2level",
               "sustainlevel", "release2level", "offsetlevel", "attacklevel", "smoothtime", "polarity" })
            f.push_back ({ std::string (env) + s, isLevel (s) });
    for (const char* id :
         { "lfo1.rate", "lfo1.level", "lfo1.wavewidth", "lfo2.rate", "lfo2.level", "lfo2.offset", "lfo2.wavewidth" })
        f.push_back ({ id, true });
    return f;
}

const std::vector<EditField>& editFields()
{
    static const std::vector<EditField> fields = buildEditFields();
    return fields;
}

/** Catalogue rows of the fields, looked up once. */
const std::vector<int>& fieldRows()
{
    static const std::vector<int> rows = []
    {
        std::vector<int> r;
        for (const auto& f : editFields())
            r.push_back (ParameterCatalogue::findById (f.id).value_or (-1));
        return r;
    }();
    return rows;
}

/** displayToRaw of a display value already on the row's step grid, remembered per thread: the
    conversion searches the row's whole raw range, and a generation makes dozens of them. */
int rawForDisplay (int row, const OrvoParameterInfo& info, double value)
{
    constexpr double maxCachedSteps = 20000;
    const double lo = std::min (info.displayMin, info.displayMax), hi = std::max (info.displayMin, info.displayMax);
    const double steps = info.displayStep > 0 ? (hi - lo) / info.displayStep : maxCachedSteps + 1;
    const auto convert = [&] { return ValueConversion::displayToRaw (info, value).value_or (info.rawMin); };
    if (steps > maxCachedSteps || value < lo || value > hi)
        return convert();
    thread_local std::array<std::vector<int>, ParameterCatalogue::numRows> memo;
    auto& table = memo[(size_t)row];
    if (table.empty())
        table.assign ((size_t)std::lround (steps) + 1, -1);
    const auto index = (size_t)std::lround ((value - lo) / info.displayStep);
    if (index >= table.size())
        return convert();
    if (table[index] < 0)
        table[index] = convert();
    return table[index];
}

/** Mixer levels live on the panel's 0.01 percent grid. */
double onGrid (double level)
{
    return std::round (level * 100.0) / 100.0;
}

struct RouteUse
{
    const char* route;
    const char* source;
    const char* destination; // nullptr: the route's destination is fixed
    double level;            // percent, -100..100
};

std::string upper (std::string s)
{
    for (auto& c : s)
        c = (char)std::toupper ((unsigned char)c);
    return s;
}

std::string oneDecimal (double v)
{
    char buffer[32];
    std::snprintf (buffer, sizeof buffer, "%.1f", v);
    return buffer;
}

int percentToRaw (double percent)
{
    return std::clamp ((int)std::lround (percent * 40.95), 0, 4095);
}

/** One generation's working state. */
struct Draft
{
    std::array<double, numFields> v{};
    std::vector<RouteUse> routes;
    std::vector<GeneratedInterfaceEdit> distortion, effects;
    std::vector<std::string> notes;
    bool mono = false, portamento = false, noise = false;

    double& osc (int which, OscField f) { return v[(size_t)(which == 0 ? fOsc1 : fOsc2) + f]; }
    /** env2 (filter) or env3 (amp). */
    double& env (int which, EnvField f) { return v[(size_t)(which == 1 ? fEnv2 : fEnv3) + f]; }
    bool hasWaveform (int which)
    {
        return osc (which, oSaw) + osc (which, oSquare) + osc (which, oTriangle) + osc (which, oSine) > 0;
    }
};

double sumOf (const Draft& d, int first, int count)
{
    double s = 0.0;
    for (int i = first; i < first + count; ++i)
        s += std::max (0.0, d.v[(size_t)i]);
    return s;
}

/** Filter 1's outputs and the PRE FILTER path: what is heard without filter 2. */
double mainOutputs (const Draft& d)
{
    return sumOf (d, fPost, 3) + std::max (0.0, d.v[fPost + 4]);
}

void scaleGroup (Draft& d, int first, int count, double cap, const char* group)
{
    const double sum = sumOf (d, first, count);
    if (sum <= cap)
        return;
    // Rounded down onto the grid, so the scaled sum stays within the cap.
    for (int i = first; i < first + count; ++i)
        d.v[(size_t)i] = std::floor (std::max (0.0, d.v[(size_t)i]) * cap / sum * 100.0) / 100.0;
    d.notes.push_back (std::string (group) + " gain scaled from " + oneDecimal (sum) + " to " + oneDecimal (cap));
}

double w (GeneratorRandom& r, const Span& s)
{
    return r.widened (s.safeLo, s.safeHi, s.expLo, s.expHi);
}

void drawOscillators (GeneratorRandom& r, const BassRecipe& recipe, bool subBass, Draft& d)
{
    for (int o = 0; o < 2; ++o)
    {
        const auto& chances = o == 0 ? recipe.osc1Waves : recipe.osc2Waves;
        d.osc (o, oSaw) = r.chance (chances[0]) ? 1 : 0;
        d.osc (o, oSquare) = r.chance (chances[1]) ? 1 : 0;
        d.osc (o, oTriangle) = r.chance (chances[2]) ? 1 : 0;
        d.osc (o, oSine) = r.chance (chances[3]) ? 1 : 0;
        if (o == 0)
            d.osc (0, oSemitone) = r.chance (70) ? -12 : -24;
        else if (subBass)
            d.osc (1, oSemitone) = r.chance (75) ? -12 : -24;
        else
            d.osc (1, oSemitone) = r.weighted (recipe.osc2Semitone);
        d.osc (o, oCents) =
            o == 0 ? 0 : (subBass ? r.integer (-2, 2) : r.integer (-3, 3) + std::lround (r.drift (0, -6, 6)));
        d.osc (o, oPwm) = r.drift (50, 25, 75);
    }
    d.v[fPre] = w (r, recipe.osc1Level);
    d.v[fPre + 1] = w (r, recipe.sub1Level);
    // The sub recipe keeps OSC2 as a pure sine under OSC1: no sine, no OSC2 in the mix.
    d.v[fPre + 2] = (!subBass || d.osc (1, oSine) > 0) ? w (r, recipe.osc2Level) : 0.0;
    d.v[fPre + 3] = r.chance (recipe.sub2Chance) ? w (r, recipe.sub2Level) : 0.0;
    d.v[fPre + 4] = r.experimentalChance (recipe.ringChance) ? r.uniform (5, 30) : 0.0;
    d.noise = r.experimentalChance (recipe.noiseChance);
    d.v[fPre + 5] = d.noise ? r.uniform (3, 15) : 0.0;
}

void addRouteSends (const Draft& d, std::vector<GeneratedInterfaceEdit>& out)
{
    const auto& all = ModulationRoutes::all();
    for (int route = 0; route < ModulationRoutes::numRoutes; ++route)
    {
        const RouteUse* use = nullptr;
        for (const auto& u : d.routes)
            if (std::string_view (u.route) == all[(size_t)route].name)
                use = &u;
        auto send = [&out, route] (ModulationField field, int raw)
        {
            if (const auto info = ModulationRoutes::resolve (route, field))
            {
                const auto s = ModulationRoutes::sendFor (*info, raw);
                out.push_back ({ s.actionLabel, s.nrpn, s.value });
            }
        };
        if (use == nullptr)
        {
            send (ModulationField::enable, 0);
            continue;
        }
        send (ModulationField::enable, all[(size_t)route].enableOnValue);
        if (const auto* source = ModulationSources::findByName (use->source))
            send (ModulationField::source, source->raw);
        if (use->destination != nullptr)
            for (const auto& choice : ModulationRoutes::destinations (route))
                if (std::string_view (choice.name) == use->destination)
                    send (ModulationField::destination, choice.raw);
        send (ModulationField::level,
              ValueConversion::displayToRaw (ModulationRoutes::levelShape(), use->level).value_or (2048));
    }
}

void drawDistortion (GeneratorRandom& r, const BassRecipe& recipe, bool available, Draft& d, GeneratedProgram& out)
{
    if (available && r.chance (recipe.distortionChance))
    {
        const double e = r.experimental();
        static const char* types[] = { "EASY", "LIGHT", "HEAVY", "KILLER" };
        const int type = r.weighted<int> (
            { { 0, 50 }, { 1, 30 }, { 2, (int)std::lround (20 * e) }, { 3, (int)std::lround (10 * e) } });
        out.analogDistortionUsed = true;
        out.analogDistortionType = types[type];
        d.distortion = { { std::string ("ANALOG DISTORTION TYPE ") + types[type], 3333, (type * 4095) / 3 },
                         { "ANALOG DISTORTION SEND", 3331, percentToRaw (r.widened (15, 35, 10, 70)) },
                         { "ANALOG DISTORTION OUTPUT", 3332, percentToRaw (r.widened (40, 60, 30, 80)) } };
        return;
    }
    d.distortion = { { "ANALOG DISTORTION SEND OFF", 3331, 0 }, { "ANALOG DISTORTION OUTPUT OFF", 3332, 0 } };
}

void drawEffects (GeneratorRandom& r, const BassRecipe& recipe, bool available, Draft& d, GeneratedProgram& out)
{
    if (available && r.chance (recipe.effectChance))
    {
        // Room, chorus or delay: the three styles that sit under a bass without smearing it.
        struct Style
        {
            int algorithm;
            const char* paramLabel;
            const char* paramText;
            Span amount;
        };
        static const Style styles[] = { { 3, "DECAY", "ROOM DECAY", { 15, 35, 10, 70 } },
                                        { 16, "RATE", "CHORUS RATE", { 10, 30, 5, 70 } },
                                        { 12, "FDBK", "DELAY FEEDBACK", { 10, 25, 5, 55 } } };
        const auto& style = styles[r.weighted<int> ({ { 0, 40 }, { 1, 30 }, { 2, 30 } })];
        const std::string name = effectAlgorithmName (style.algorithm);
        out.digitalEffectsUsed = true;
        out.digitalEffectName = name;
        d.effects.push_back ({ "DIGITAL EFFECTS SELECTION " + upper (name), effects::selectionNrpn,
                               effectSelectionRawToSend (style.algorithm) });
        d.effects.push_back ({ "DIGITAL EFFECTS SEND", effects::sendNrpn, percentToRaw (r.widened (8, 20, 5, 45)) });
        d.effects.push_back ({ "DIGITAL EFFECTS PAN CENTER", effects::panNrpn, 2048 });
        for (int row : effectRowsOf (style.algorithm))
        {
            const auto& c = effectControlTable()[(size_t)row];
            if (c.pageName != "CONFIG" || c.nrpn == effects::sendNrpn || c.nrpn == effects::panNrpn)
                continue;
            const bool output = c.label.rfind ("OUT", 0) == 0;
            d.effects.push_back (
                { output ? "DIGITAL EFFECTS OUTPUT" : "DIGITAL EFFECTS MIX/BLEND", (int)c.nrpn, output ? 4095 : 2048 });
        }
        const int row = effectRowForLabel (style.algorithm, "PARAM1", style.paramLabel);
        if (row >= 0)
            d.effects.push_back ({ std::string ("DIGITAL EFFECTS ") + style.paramText,
                                   (int)effectControlTable()[(size_t)row].nrpn, percentToRaw (w (r, style.amount)) });
        return;
    }
    d.effects = {
        { "DIGITAL EFFECTS SEND OFF", effects::sendNrpn, 0 }, { "DIGITAL EFFECTS PAN CENTER", effects::panNrpn, 2048 },
        { "DIGITAL EFFECTS MIX/BLEND OFF", 3609, 0 },         { "DIGITAL EFFECTS OUTPUT 1 OFF", 3606, 0 },
        { "DIGITAL EFFECTS OUTPUT 2 OFF", 3607, 0 },          { "DIGITAL EFFECTS OUTPUT 3 OFF", 3608, 0 },
        { "DIGITAL EFFECTS PARAMETER OFF", 3610, 0 }
    };
}

void drawFiltersAndEnvelopes (GeneratorRandom& r, const BassRecipe& recipe, Draft& d)
{
    d.v[fFilter1] = std::lround (w (r, recipe.cutoff));
    d.v[fFilter1 + 1] = w (r, recipe.resonance1);
    d.v[fFilter1 + 2] = w (r, recipe.keytrack);
    d.v[fFilter1 + 3] = w (r, recipe.envAmount);
    d.v[fFilter2] = std::lround (std::min (4095.0, w (r, recipe.cutoff) + 300));
    d.v[fFilter2 + 1] = w (r, recipe.resonance2);
    // Filter 2 tracks the keyboard much as filter 1 does, so the two stay in tune across the range.
    d.v[fFilter2 + 2] = r.pulled (recipe.keytrack.expLo, recipe.keytrack.expHi, d.v[fFilter1 + 2], 0.6);
    d.v[fFilter2 + 3] = w (r, recipe.envAmount) * 0.6;
    d.v[fPost + 1] = w (r, recipe.f1LowPass);
    d.v[fPost + 2] = w (r, recipe.f1BandPass);
    d.v[fPost + 4] = w (r, recipe.preFilterOut);
    d.v[fPost + 3] = (!recipe.filter2InputOff && r.chance (recipe.f2Chance)) ? w (r, recipe.f2LowPass) : 0.0;

    // env1 only shapes pitch, and its route to the oscillators stays off: keep it quiet and short.
    d.v[fEnv1 + 2] = d.v[fEnv1 + 3] = std::lround (r.uniform (800, 1600)); // decay 1 and 2
    d.v[fEnv1 + 4] = d.v[fEnv1 + 5] = std::lround (r.uniform (400, 900));  // release 1 and 2
    d.v[fEnv1 + 8] = 100;                                                  // attack level
    const Span* shapes[2][4] = { { &recipe.filterAttack, &recipe.filterDecay, &recipe.filterSustain,
                                   &recipe.ampRelease },
                                 { &recipe.ampAttack, &recipe.ampDecay, &recipe.ampSustain, &recipe.ampRelease } };
    for (int e = 1; e <= 2; ++e)
    {
        const auto& s = shapes[e - 1];
        d.env (e, eAttack) = std::lround (w (r, *s[0]));
        d.env (e, eDecay1) = std::lround (w (r, *s[1]));
        d.env (e, eDecay2) = d.env (e, eDecay1);
        d.env (e, eSustain) = w (r, *s[2]);
        d.env (e, eDecay2Level) = d.env (e, eSustain);
        d.env (e, eRelease1) = std::lround (w (r, *s[3]));
        d.env (e, eRelease2) = std::lround (d.env (e, eRelease1) / 2);
        d.env (e, eAttackLevel) = 100;
    }
}

void drawMotion (GeneratorRandom& r, const BassRecipe& recipe, bool moving, bool syncFm, double edge,
                 GeneratedProgram& out, Draft& d)
{
    const double e = r.experimental();
    if (r.chance (recipe.lfo1Chance))
    {
        d.v[fLfoEnable] = 1;
        d.v[fLfo1] = r.widened (0.3, 2.0, 0.1, 6.0);
        d.v[fLfo1 + 1] = std::min (100.0, r.widened (10, 25, 5, 60) + edge);
        d.v[fLfo1 + 2] = r.drift (50, 20, 80);
        d.routes.push_back ({ "FILTER 1 MOD 1", "LFO 1", "CUTOFF", r.widened (4, 12, 2, 30) });
        d.routes.push_back ({ "OSC1 PWM", "LFO 1", "PULSE WIDTH", r.widened (3, 10, 0, 25) });
        d.notes.push_back ("enabled gentle LFO1 movement on filter/PWM");
    }
    if (moving && r.experimentalChance (60))
    {
        d.v[fLfoEnable + 1] = 1;
        d.v[fLfo2] = r.widened (0.05, 0.5, 0.02, 3.0);
        d.v[fLfo2 + 1] = r.widened (5, 20, 0, 50);
        d.v[fLfo2 + 2] = r.drift (0, -20, 20);
        d.v[fLfo2 + 3] = r.drift (50, 20, 80);
        d.routes.push_back ({ "LFO 1 MOD", "LFO 2", "RATE", r.widened (5, 15, 0, 40) });
        d.notes.push_back ("safe-to-experimental slider enabled LFO2 cross-motion");
    }
    if (moving && e > 0)
    {
        d.routes.push_back ({ "OSC2 PWM", "LFO 1", "PULSE WIDTH", r.drift (0, 2, 15) });
        if (r.experimentalChance (50))
            d.routes.push_back ({ "OSC1 OSC2FM", "LFO 1", "LIN FM", r.drift (0, 1, 8) });
        if (out.digitalEffectsUsed && d.v[fLfoEnable + 1] > 0)
            d.routes.push_back ({ "DIGITAL EFFECTS MOD", "LFO 2", "EFFECT MIX", r.drift (0, 5, 25) });
        d.notes.push_back ("safe-to-experimental slider routed filter, PWM, FM, optional LFO2, and effects modulation");
    }
    if (syncFm)
    {
        d.routes.push_back ({ "OSC1 OSC2FM", "ENV 2", "LIN FM", r.widened (1, 4, 1, 12) });
        d.routes.push_back ({ "OSC2 MOD1", "ENV 2", "PITCH", r.widened (1, 3, 0, 8) });
        d.notes.push_back ("enabled very low ENV2-to-OSC2/FM motion for sync/FM edge");
    }
}

void applyGuardrails (double e, bool edgeAudition, Draft& d, GenerationTrace& t)
{
    for (int i = fPre; i < fPost + 5; ++i)
        d.v[(size_t)i] = onGrid (d.v[(size_t)i]);
    t.preFilterDrawn = sumOf (d, fPre, 6);
    if (t.preFilterDrawn < ProgramGenerator::audiblePreFilterTotal)
    {
        d.v[fPre] = std::max (d.v[fPre], ProgramGenerator::repairedOsc1Level);
        d.notes.push_back ("audible pre-filter source repaired");
    }
    for (int o = 0; o < 2; ++o)
    {
        const bool silent = d.v[(size_t)fPre + (o == 0 ? 0 : 2)] > 0 && !d.hasWaveform (o);
        (o == 0 ? t.osc1Silent : t.osc2Silent) = silent;
        if (silent)
        {
            d.osc (o, oSaw) = 1;
            d.notes.push_back (o == 0 ? "OSC1 waveform repaired" : "OSC2 waveform repaired");
        }
    }
    t.filter2OutputDrawn = d.v[fPost + 3];
    if (t.filter2OutputDrawn > ProgramGenerator::filter2OutputLimit)
    {
        d.v[fPost + 3] = ProgramGenerator::filter2OutputLimit;
        d.notes.push_back ("Filter 2 output kept secondary until postfilter SUBOSC2 verification is complete");
    }
    t.postFilterDrawn = mainOutputs (d);
    if (t.postFilterDrawn < ProgramGenerator::audiblePostFilterTotal)
    {
        d.v[fPost + 1] = std::max (d.v[fPost + 1], ProgramGenerator::repairedFilter1LowPass);
        d.notes.push_back ("audible post-filter output repaired");
    }
    t.preFilterBeforeScaling = sumOf (d, fPre, 6);
    t.resonantPath = d.v[fFilter1 + 1] > ProgramGenerator::resonantFirstLimit ||
                     d.v[fFilter2 + 1] > ProgramGenerator::resonantSecondLimit || edgeAudition;
    if (t.resonantPath)
        scaleGroup (d, fPre, 6, ProgramGenerator::resonantPreFilterCap, "resonant pre-filter");
    scaleGroup (d, fPre, 6, ProgramGenerator::preFilterCap (e), "pre-filter");
    t.postFilterBeforeScaling = sumOf (d, fPost, 5);
    scaleGroup (d, fPost, 5, ProgramGenerator::postFilterCap (e), "post-filter");
}

void fixedSettings (const BassRecipe& recipe, const Draft& d, std::vector<GeneratedInterfaceEdit>& out)
{
    if (recipe.filter2InputOff)
        out.push_back ({ "FILTER 2 INPUT OFF", 2465, 0 });
    out.push_back ({ "PORTAMENTO MODE NORMAL", 3980, 0 });
    out.push_back ({ "PORTAMENTO SPEED OCTAVE", 3981, 0 });
    out.push_back ({ "PORTAMENTO KEYBOARD LASTKEY", 3983, 0 });
    out.push_back ({ "PORTAMENTO FILTER ENABLE NONE", 3979, 0 });
    out.push_back ({ "VOICE MIX VOICE OUTPUT ON", 3077, 4095 });
    out.push_back ({ "VOICE MIX OUTPUT MAIN", 3078, 1365 });
    out.push_back (d.noise ? GeneratedInterfaceEdit{ "NOISE/EXT SOURCE WHITE", 2182, 1 }
                           : GeneratedInterfaceEdit{ "NOISE/EXT SOURCE OFF", 2182, 0 });
    out.push_back (d.portamento ? GeneratedInterfaceEdit{ "PORTAMENTO ENABLE ON", 3976, 1 }
                                : GeneratedInterfaceEdit{ "PORTAMENTO ENABLE OFF", 3976, 0 });
    out.push_back (d.portamento ? GeneratedInterfaceEdit{ "PORTAMENTO OSC ENABLE OSC 1 + 2", 3978, 4095 }
                                : GeneratedInterfaceEdit{ "PORTAMENTO OSC ENABLE NONE", 3978, 0 });
    out.push_back (d.mono ? GeneratedInterfaceEdit{ "KEYBOARD ASSIGN LOWEST", 3718, 0 }
                          : GeneratedInterfaceEdit{ "KEYBOARD ASSIGN ROTARY", 3718, 4095 });
    // FILTER FEEDBACK, FILTER BYPASS and BP INVERT have no NRPN in the editor's tables, so the
    // generator leaves them as the instrument has them.
}
} // namespace

const std::array<GeneratorCategory, 13>& ProgramGenerator::categories()
{
    static const std::array<GeneratorCategory, 13> table{ {
        { "BASS", "bass", "Bass", true },
        { "LEAD", "lead", "Lead", false },
        { "PAD", "pad", "Pad", false },
        { "PLUCK", "pluck", "Pluck", false },
        { "BELL", "bell", "Bell", false },
        { "FX", "fx", "FX", false },
        { "PERCUSSION", "percussion", "Percussion", false },
        { "STRINGS / CHOIR", "strings-choir", "StringsChoir", false },
        { "BRASS", "brass", "Brass", false },
        { "KEYS", "keys", "Keys", false },
        { "SEQ / ARP", "seq-arp", "SeqArp", false },
        { "ATMOSPHERE", "atmosphere", "Atmosphere", false },
        { "PROGRAM", "program", "Program", false },
    } };
    return table;
}

const std::array<BassRecipeInfo, 6>& ProgramGenerator::bassRecipes()
{
    static const std::array<BassRecipeInfo, 6> infos = []
    {
        std::array<BassRecipeInfo, 6> a{};
        for (size_t i = 0; i < recipes.size(); ++i)
            a[i] = recipes[i].info;
        return a;
    }();
    return infos;
}

double ProgramGenerator::preFilterCap (double e)
{
    return GeneratorRandom::lerp (preFilterCapSafe, preFilterCapExperimental, std::clamp (e, 0.0, 1.0));
}

double ProgramGenerator::postFilterCap (double e)
{
    return GeneratorRandom::lerp (postFilterCapSafe, postFilterCapExperimental, std::clamp (e, 0.0, 1.0));
}

double ProgramGenerator::snapRange (double position)
{
    const double p = std::isfinite (position) ? std::clamp (position, 0.0, 1.0) : 0.0;
    // Close enough to a snap that a hand on a slider means it.
    constexpr double catchWidth = 0.03;
    for (double snap : { 0.25, 0.5, 0.75 })
        if (std::abs (p - snap) <= catchWidth)
            return snap;
    return p;
}

GeneratedProgram ProgramGenerator::generateBass (std::int64_t seed, const GeneratorSettings& settings, int channel,
                                                 GenerationTrace* trace)
{
    GeneratedProgram out;
    GeneratorRandom r (seed, settings.experimentalAmount);
    const double e = r.experimental();
    out.seed = seed;
    out.channel = channel;
    out.experimentalAmount = e;
    out.voiceModePreference = GeneratorSettings::voiceName (settings.voice);
    out.analogDistortionAvailable = settings.analogDistortion;
    out.digitalEffectsAvailable = settings.digitalEffects;

    static const Weights byWeight = []
    {
        Weights w;
        for (int i = 0; i < (int)recipes.size(); ++i)
            w.push_back ({ i, recipes[(size_t)i].info.weight });
        return w;
    }();
    const int recipeIndex = r.weighted (byWeight);
    const auto& recipe = recipes[(size_t)recipeIndex];
    out.recipeId = recipe.info.id;
    out.recipeDescription = recipe.info.description;
    const bool subBass = recipeIndex == 0, aggressive = recipeIndex == 3, syncFm = recipeIndex == 4,
               moving = recipeIndex == 5;

    double edge = 0.0;
    if (recipe.edgeChance > 0 && r.experimentalChance (recipe.edgeChance))
    {
        out.experimentalEdgeAuditionMode = true;
        edge = r.uniform (0, aggressive ? 15.0 : moving ? 20.0 : 12.0);
    }

    Draft d;
    // Voice and unison.
    d.mono = r.weighted<int> ({ { 1, recipe.monoWeight }, { 0, recipe.polyWeight } }) == 1;
    if (settings.voice != GeneratorSettings::Voice::either)
        d.mono = settings.voice == GeneratorSettings::Voice::mono;
    out.voiceModeUsed = d.mono ? "mono" : "poly";
    out.unisonVoices = r.weighted<int> ({ { 1, 21 }, { 0, 13 }, { 2, 7 } });
    d.v[fUnison] = out.unisonVoices;
    d.v[fMonovox] = settings.voice == GeneratorSettings::Voice::mono ? 1 : 16;
    d.v[fDetune] = std::min (100.0, w (r, recipe.detune) + (recipeIndex == 1 ? edge : 0.0));
    d.portamento = r.chance (recipe.portamentoChance);
    d.v[fPortaTime] = d.portamento ? r.widened (0.02, 0.12, 0.01, 0.5) : 0.0;

    drawOscillators (r, recipe, subBass, d);
    drawFiltersAndEnvelopes (r, recipe, d);
    if (aggressive)
        d.v[fFilter1 + 1] = std::min (100.0, d.v[fFilter1 + 1] + edge);
    drawDistortion (r, recipe, settings.analogDistortion, d, out);
    drawEffects (r, recipe, settings.digitalEffects, d, out);
    drawMotion (r, recipe, moving, syncFm, moving ? edge : 0.0, out, d);

    GenerationTrace localTrace;
    applyGuardrails (e, out.experimentalEdgeAuditionMode, d, trace != nullptr ? *trace : localTrace);
    out.preFilterTotal = sumOf (d, fPre, 6);
    out.postFilterTotal = sumOf (d, fPost, 5);
    out.guardrailNotes = std::move (d.notes);

    // Interface edits: voice, noise, distortion, effects, routes, fixed settings.
    out.interfaceEdits.reserve (96);
    out.interfaceEdits.push_back (d.mono ? GeneratedInterfaceEdit{ "KEYBOARD POLYPHONY MONO", 3716, 4095 }
                                         : GeneratedInterfaceEdit{ "KEYBOARD POLYPHONY POLY", 3716, 0 });
    out.interfaceEdits.insert (out.interfaceEdits.end(), d.distortion.begin(), d.distortion.end());
    out.interfaceEdits.insert (out.interfaceEdits.end(), d.effects.begin(), d.effects.end());
    addRouteSends (d, out.interfaceEdits);
    fixedSettings (recipe, d, out.interfaceEdits);

    // Parameter edits in their fixed order; LFO values only for an LFO the recipe switched on.
    const auto& fields = editFields();
    const auto& rows = fieldRows();
    jassert (fields.size() == (size_t)numFields);
    out.parameterEdits.reserve (numFields);
    for (int i = 0; i < numFields; ++i)
    {
        if ((i >= fLfo1 && i < fLfo2 && d.v[fLfoEnable] == 0) || (i >= fLfo2 && d.v[fLfoEnable + 1] == 0))
            continue;
        GeneratedParameterEdit edit{ fields[(size_t)i].id, fields[(size_t)i].display, d.v[(size_t)i], rows[(size_t)i],
                                     -1 };
        if (edit.row >= 0)
        {
            const auto& info = ParameterCatalogue::row (edit.row);
            if (i >= fLfoEnable && i < fLfoEnable + 4)
                edit.value = edit.value > 0 ? info.onValue : info.offValue;
            if (edit.display)
            {
                edit.value = ValueConversion::roundToStep (edit.value, info.displayStep);
                edit.raw = rawForDisplay (edit.row, info, edit.value);
            }
            else
                edit.raw = std::clamp ((int)std::lround (edit.value), info.rawMin, info.rawMax);
        }
        out.parameterEdits.push_back (std::move (edit));
    }
    return out;
}

void ProgramGenerator::stamp (GeneratedProgram& program, std::int64_t wallClockMs)
{
    const juce::Time t (wallClockMs);
    program.generatedAt = t.toISO8601 (true).toStdString();
    program.generationId =
        program.category + "-" + t.formatted ("%Y%m%d-%H%M%S").toStdString() + "-seed-" + std::to_string (program.seed);
}

std::string ProgramGenerator::settingsLine (const GeneratedProgram& p)
{
    char experimental[32];
    std::snprintf (experimental, sizeof experimental, "%.2f", p.experimentalAmount);
    return " channel=" + std::to_string (p.channel) + " experimental=" + experimental +
           " edgeAudition=" + (p.experimentalEdgeAuditionMode ? "yes" : "no") + " voiceMode=" + p.voiceModeUsed +
           " voicePreference=" + p.voiceModePreference + " unison=" + std::to_string (p.unisonVoices) +
           " analogDistortion=" + (p.analogDistortionUsed ? p.analogDistortionType : "off") +
           " digitalEffect=" + (p.digitalEffectsUsed ? p.digitalEffectName : "off") +
           " preTotal=" + oneDecimal (p.preFilterTotal) + " postTotal=" + oneDecimal (p.postFilterTotal) +
           " parameterEdits=" + std::to_string (p.parameterEdits.size()) +
           " interfaceEdits=" + std::to_string (p.interfaceEdits.size());
}

std::string ProgramGenerator::logText (const GeneratedProgram& p, bool midiOutputOpen)
{
    std::string text = "BASS GENERATOR seed=" + std::to_string (p.seed) + " recipe=" + p.recipeId + " (" +
                       p.recipeDescription + ")\n" + settingsLine (p) + "\nBASS GENERATOR guardrails:\n";
    for (const auto& note : p.guardrailNotes)
        text += note + "\n";
    if (!midiOutputOpen)
        text += " MIDI output is not open; UI values will be applied but NRPNs will not be sent.\n";
    return text;
}

} // namespace orvo
