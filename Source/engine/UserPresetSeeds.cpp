#include "UserPresetController.h"

#include "effects/WedgePresets.h"

#include <algorithm>
#include <map>

namespace orvo
{

namespace
{
using Values = std::map<std::string, int>;

/** A parameter's resting value: the centre of a bipolar range, else its minimum. */
int restingValue (const std::string& id)
{
    const auto row = ParameterCatalogue::findById (id);
    if (!row)
        return 0;
    const auto& info = ParameterCatalogue::row (*row);
    return info.displayMin < 0 && info.displayMax > 0 ? (info.rawMin + info.rawMax + 1) / 2 : info.rawMin;
}

juce::var document (UserPresetKind kind, const char* name, juce::DynamicObject* o, const juce::Array<juce::var>& parameters)
{
    o->setProperty ("schema", UserPresetStore::schemaOf (kind));
    o->setProperty ("type", UserPresetStore::typeOf (kind));
    o->setProperty ("name", name);
    o->setProperty ("parameters", parameters);
    return juce::var (o);
}

juce::var pair (const char* key, const juce::var& k, int value)
{
    auto* e = new juce::DynamicObject();
    e->setProperty (key, k);
    e->setProperty ("value", value);
    return juce::var (e);
}

/** Every id of the list under `prefix`, at its given value or resting. */
juce::Array<juce::var> idValues (const std::vector<const char*>& ids, const std::string& prefix, const Values& given)
{
    juce::Array<juce::var> out;
    for (const char* id : ids)
    {
        const auto row = ParameterCatalogue::findById (prefix + id);
        const auto it = given.find (id);
        int v = it != given.end() ? it->second : restingValue (prefix + id);
        if (row)
            v = std::clamp (v, ParameterCatalogue::row (*row).rawMin, ParameterCatalogue::row (*row).rawMax);
        out.add (pair ("id", id, v));
    }
    return out;
}

/** An effects seed takes a Wedge preset of the same character, with the send at half and the pan centred. */
juce::var effectsSeed (const char* name, int wedgeNumber, int sendRaw)
{
    const auto* preset = findWedgePreset (wedgeNumber);
    auto* o = new juce::DynamicObject();
    o->setProperty ("digitalEffect", preset->algorithm);
    juce::Array<juce::var> parameters;
    std::map<int, int> values (preset->settings.begin(), preset->settings.end());
    values[effects::sendNrpn] = sendRaw;
    values[effects::panNrpn] = 2048;
    std::vector<int> seen;
    for (int r : effectRowsOf (preset->algorithm))
    {
        const int nrpn = (int)effectControlTable()[(size_t)r].nrpn;
        if (std::find (seen.begin(), seen.end(), nrpn) != seen.end())
            continue;
        seen.push_back (nrpn);
        parameters.add (pair ("nrpn", nrpn, values.count (nrpn) != 0 ? values[nrpn] : 0));
    }
    return document (UserPresetKind::effects, name, o, parameters);
}

juce::var envelopeSeed (const char* name, int attack, int decay, int sustain, int release)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("envelope", 1);
    const Values v = { { "attacktime", attack }, { "decay1time", decay }, { "decay2time", decay / 2 },
                       { "sustainlevel", sustain }, { "decay2level", sustain }, { "release1time", release },
                       { "release2time", release / 2 }, { "attacklevel", 4095 }, { "keybase", 64 } };
    return document (UserPresetKind::envelope, name, o, idValues (envelopePresetIds(), "env1.", v));
}

juce::var sectionSeed (const char* key, const char* name, const Values& values, const std::vector<std::pair<int, int>>& interface = {})
{
    const auto* section = findUserPresetSection (key);
    std::string prefix = section->prefix;
    if (const auto at = prefix.find ('#'); at != std::string::npos)
        prefix.replace (at, 1, "1");
    auto* o = new juce::DynamicObject();
    o->setProperty ("section", key);
    juce::Array<juce::var> controls;
    for (const auto& [nrpn, value] : interface)
        controls.add (pair ("nrpn", nrpn, value));
    o->setProperty ("interface", controls);
    return document (UserPresetKind::section, name, o, idValues (section->ids, prefix, values));
}
} // namespace

std::vector<std::pair<UserPresetKind, juce::var>> factoryUserPresets()
{
    using K = UserPresetKind;
    std::vector<std::pair<K, juce::var>> seeds = {
        { K::effects, effectsSeed ("WARM HALL", 8, 1600) },   // "Warm Hall"
        { K::effects, effectsSeed ("TIGHT ROOM", 138, 1400) }, // "Tight Room"
        { K::effects, effectsSeed ("SLAP DELAY", 51, 1200) },  // "Slap Back"
        { K::effects, effectsSeed ("WIDE CHORUS", 189, 2000) }, // "Wide Chorus"
        { K::effects, effectsSeed ("GRIT PLATE", 24, 1800) },  // "VintagePlate"
        { K::envelope, envelopeSeed ("PERCUSSIVE", 0, 900, 0, 700) },
        { K::envelope, envelopeSeed ("SHORT PLUCK", 0, 600, 300, 450) },
        { K::envelope, envelopeSeed ("BRASS SWELL", 1400, 1600, 3000, 1200) },
        { K::envelope, envelopeSeed ("WARM PAD", 2300, 2000, 3300, 2500) },
        { K::envelope, envelopeSeed ("SLOW EVOLVE", 3300, 2900, 2500, 3300) },
        { K::envelope, envelopeSeed ("ORGAN GATE", 0, 0, 4095, 80) },
    };
    const std::vector<std::tuple<const char*, const char*, Values>> sections = {
        { "dynamics-env", "NEUTRAL", {} },
        { "dynamics-env", "VELOCITY EXPRESSIVE", { { "velocitymod", 3500 } } },
        { "dynamics-env", "KEYBOARD TRACKED", { { "keytrack", 3400 }, { "leveltrack", 2800 } } },
        { "dynamics-env", "RELEASE EXPRESSIVE", { { "releasemod", 3400 }, { "velocitymod", 2700 } } },
        { "wave-type-lfo", "SLOW TRIANGLE", { { "shape", 800 }, { "rate", 600 }, { "level", 2400 }, { "enable", 4095 } } },
        { "wave-type-lfo", "GENTLE SINE", { { "shape", 0 }, { "rate", 1200 }, { "level", 1200 }, { "enable", 4095 } } },
        { "wave-type-lfo", "VIBRATO", { { "shape", 0 }, { "rate", 2600 }, { "level", 500 }, { "delay", 1200 }, { "enable", 4095 } } },
        { "wave-type-lfo", "PULSE MOTION", { { "shape", 3200 }, { "rate", 1900 }, { "level", 2000 }, { "wavewidth", 2048 }, { "enable", 4095 } } },
        { "wave-type-lfo", "RAMP SWEEP", { { "shape", 1600 }, { "rate", 700 }, { "level", 3000 }, { "enable", 4095 } } },
        { "pre-filter-mix", "SINGLE OSC", { { "osc1", 3600 } } },
        { "pre-filter-mix", "DUAL OSC", { { "osc1", 3000 }, { "osc2", 3000 } } },
        { "pre-filter-mix", "SUB BASS", { { "osc1", 3000 }, { "subosc1", 3600 }, { "subosc2", 2400 } } },
        { "pre-filter-mix", "METALLIC RING", { { "osc1", 1800 }, { "osc2", 1800 }, { "ringmod", 3600 } } },
        { "pre-filter-mix", "NOISE TEXTURE", { { "osc1", 2400 }, { "noiseext", 2800 } } },
        { "filter-2", "WARM LOW PASS", { { "frequency", 1500 }, { "resonance", 500 }, { "keytrack", 2000 } } },
        { "filter-2", "BRIGHT LOW PASS", { { "frequency", 3300 }, { "resonance", 700 }, { "keytrack", 2000 } } },
        { "filter-2", "RESONANT SWEEP", { { "frequency", 1800 }, { "resonance", 3500 }, { "env2amount", 3200 } } },
        { "filter-2", "ENV PLUCK", { { "frequency", 900 }, { "resonance", 1500 }, { "env2amount", 3700 } } },
        { "filter-2", "KEY TRACKED", { { "frequency", 2000 }, { "resonance", 900 }, { "keytrack", 4095 } } },
        { "post-filter-mix", "FILTER1 LOW PASS", { { "osc1", 3600 } } },
        { "post-filter-mix", "FILTER2 LOW PASS", { { "osc2", 3600 } } },
        { "post-filter-mix", "DUAL FILTER BLEND", { { "osc1", 2800 }, { "osc2", 2800 } } },
        { "post-filter-mix", "BAND PASS EDGE", { { "osc1", 2200 }, { "ringmod", 1800 } } },
        { "post-filter-mix", "DRY FILTER MIX", { { "osc1", 2000 }, { "osc2", 2000 }, { "subosc1", 1200 } } },
        { "sample-and-hold", "SLOW RANDOM", { { "rate", 700 }, { "level", 2400 }, { "enable", 4095 } } },
        { "sample-and-hold", "SUBTLE DRIFT", { { "rate", 400 }, { "level", 700 }, { "enable", 4095 } } },
        { "sample-and-hold", "STEPPED MOTION", { { "rate", 1800 }, { "level", 3000 }, { "enable", 4095 } } },
        { "sample-and-hold", "FAST CHAOS", { { "rate", 3600 }, { "level", 3600 }, { "enable", 4095 } } },
        { "arpeggiator-settings", "UP 16TH", { { "octave", 2252 }, { "length", 0 } } },
        { "arpeggiator-settings", "DOWN 8TH", { { "octave", 2252 }, { "length", 0 } } },
        { "arpeggiator-settings", "UP DOWN 16TH", { { "octave", 2457 } } },
        { "arpeggiator-settings", "RANDOM 8TH", { { "octave", 2457 } } },
        { "arpeggiator-settings", "LATCHED CHORD", { { "octave", 2048 } } },
        { "wheel-assign", "STANDARD 2 SEMI", { { "bottomrange", 171 }, { "toprange", 171 } } },
        { "wheel-assign", "WIDE OCTAVE", { { "bottomrange", 1024 }, { "toprange", 1024 } } },
        { "wheel-assign", "SUBTLE BEND", { { "bottomrange", 85 }, { "toprange", 85 } } },
        { "wheel-assign", "OSC1 ONLY", { { "bottomrange", 171 }, { "toprange", 171 } } },
        { "portamento", "PORTA OFF", { { "time", 0 } } },
        { "portamento", "FAST LEGATO", { { "time", 500 } } },
        { "portamento", "SMOOTH GLIDE", { { "time", 1600 } } },
        { "portamento", "SLOW SLIDE", { { "time", 3000 } } },
        { "portamento", "FILTER GLIDE", { { "time", 1400 } } },
    };
    // The switches that tell the arpeggiator, wheel and portamento presets apart live on interface controls.
    const std::map<std::string, std::vector<std::pair<int, int>>> interface = {
        { "UP 16TH", { { 897, 4095 }, { 903, 0 }, { 908, 2048 } } },
        { "DOWN 8TH", { { 897, 4095 }, { 903, 1365 }, { 908, 1024 } } },
        { "UP DOWN 16TH", { { 897, 4095 }, { 903, 2730 }, { 908, 2048 } } },
        { "RANDOM 8TH", { { 897, 4095 }, { 903, 4095 }, { 908, 1024 } } },
        { "LATCHED CHORD", { { 897, 4095 }, { 899, 4095 }, { 901, 4095 } } },
        { "STANDARD 2 SEMI", { { 3845, 1 }, { 3846, 1 } } },
        { "WIDE OCTAVE", { { 3845, 1 }, { 3846, 1 } } },
        { "SUBTLE BEND", { { 3845, 1 }, { 3846, 1 } } },
        { "OSC1 ONLY", { { 3845, 1 }, { 3846, 0 } } },
        { "PORTA OFF", { { 3976, 0 } } },
        { "FAST LEGATO", { { 3976, 1 }, { 3978, 4095 }, { 3979, 0 } } },
        { "SMOOTH GLIDE", { { 3976, 1 }, { 3978, 4095 }, { 3979, 0 } } },
        { "SLOW SLIDE", { { 3976, 1 }, { 3978, 4095 }, { 3979, 0 } } },
        { "FILTER GLIDE", { { 3976, 1 }, { 3978, 0 }, { 3979, 4095 } } },
    };
    for (const auto& [key, name, values] : sections)
    {
        const auto it = interface.find (name);
        seeds.push_back ({ K::section, sectionSeed (key, name, values, it != interface.end() ? it->second : std::vector<std::pair<int, int>>{}) });
    }
    return seeds;
}

} // namespace orvo
