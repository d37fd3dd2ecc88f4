#include "FactoryPrograms.h"

#include "model/ValueConversion.h"

#include "data/ProgramLayout.h"
#include "effects/EffectControlTable.h"
#include "effects/EffectState.h"
#include "effects/EffectValueFamilies.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <random>

namespace orvo::factory
{

namespace
{
/** A kind of sound: the name it goes by and the ranges that make it sound like one. */
struct Archetype
{
    const char* stem;
    int attack[2], decay[2], sustain[2], release[2];
    int cutoff[2], resonance[2];
    int lfoDepth[2];
    int unison[2];
    int portamentoChance; // percent
    int effectCategory;   // index into the preferred algorithms below
};

// Stems are at most 12 characters so " 01" always fits the 16-byte name.
const Archetype userSounds[] = {
    { "Warm Pad",
      { 1400, 3000 },
      { 800, 2500 },
      { 2600, 3800 },
      { 1800, 3600 },
      { 1200, 2400 },
      { 200, 900 },
      { 300, 1200 },
      { 1, 3 },
      10,
      0 },
    { "Deep Bass",
      { 0, 60 },
      { 300, 1200 },
      { 800, 2200 },
      { 100, 600 },
      { 600, 1600 },
      { 800, 2200 },
      { 0, 300 },
      { 1, 1 },
      30,
      2 },
    { "Solo Lead",
      { 10, 300 },
      { 500, 1500 },
      { 2400, 3600 },
      { 300, 1200 },
      { 2000, 3400 },
      { 900, 2400 },
      { 400, 1400 },
      { 1, 2 },
      70,
      1 },
    { "Glass Keys",
      { 0, 40 },
      { 1200, 2800 },
      { 1200, 2400 },
      { 800, 1800 },
      { 2400, 3600 },
      { 200, 800 },
      { 100, 600 },
      { 1, 1 },
      0,
      0 },
    { "Pluck",
      { 0, 20 },
      { 200, 900 },
      { 0, 600 },
      { 200, 700 },
      { 1400, 3000 },
      { 600, 1800 },
      { 0, 300 },
      { 1, 1 },
      0,
      1 },
    { "Brass Stab",
      { 60, 250 },
      { 400, 1200 },
      { 2000, 3200 },
      { 300, 900 },
      { 1600, 2800 },
      { 300, 1200 },
      { 200, 700 },
      { 1, 2 },
      5,
      0 },
    { "Strings",
      { 800, 2000 },
      { 1000, 2400 },
      { 3000, 4000 },
      { 1200, 2800 },
      { 1800, 3000 },
      { 100, 600 },
      { 300, 900 },
      { 2, 4 },
      0,
      0 },
    { "Sweep FX",
      { 400, 2600 },
      { 1500, 3500 },
      { 1500, 3500 },
      { 2000, 4000 },
      { 300, 3800 },
      { 1500, 3200 },
      { 1200, 3600 },
      { 1, 2 },
      20,
      3 },
};

const Archetype presetSounds[] = {
    { "Bell Tower",
      { 0, 30 },
      { 2000, 3600 },
      { 0, 800 },
      { 1800, 3400 },
      { 2600, 3800 },
      { 300, 1200 },
      { 100, 500 },
      { 1, 1 },
      0,
      0 },
    { "Organ",
      { 0, 30 },
      { 0, 200 },
      { 3600, 4095 },
      { 80, 300 },
      { 2600, 4000 },
      { 0, 400 },
      { 300, 800 },
      { 1, 1 },
      0,
      1 },
    { "Arp Seq",
      { 0, 40 },
      { 300, 1000 },
      { 600, 1800 },
      { 200, 600 },
      { 1600, 3000 },
      { 1000, 2600 },
      { 200, 900 },
      { 1, 1 },
      0,
      2 },
    { "Drone",
      { 2000, 3800 },
      { 2000, 3800 },
      { 3400, 4095 },
      { 2800, 4095 },
      { 800, 2200 },
      { 1200, 2600 },
      { 800, 2400 },
      { 2, 6 },
      0,
      3 },
    { "Sync Lead",
      { 0, 120 },
      { 400, 1400 },
      { 2600, 3800 },
      { 300, 1000 },
      { 2200, 3600 },
      { 600, 1800 },
      { 300, 1000 },
      { 1, 2 },
      60,
      1 },
    { "Sub Bass",
      { 0, 40 },
      { 400, 1400 },
      { 2400, 3600 },
      { 100, 400 },
      { 400, 1200 },
      { 200, 900 },
      { 0, 200 },
      { 1, 1 },
      40,
      2 },
    { "Choir Pad",
      { 1000, 2600 },
      { 1200, 2800 },
      { 2800, 3800 },
      { 1600, 3200 },
      { 1400, 2600 },
      { 300, 1100 },
      { 400, 1100 },
      { 2, 4 },
      0,
      0 },
    { "Noise Hit",
      { 0, 20 },
      { 100, 600 },
      { 0, 300 },
      { 100, 800 },
      { 1000, 3800 },
      { 1800, 3600 },
      { 0, 2000 },
      { 1, 1 },
      0,
      3 },
};

// Algorithms a kind of sound reaches for first: ambience, modulation, drive, anything.
const int preferredAlgorithms[4][4] = { { 2, 3, 5, 9 }, { 12, 14, 16, 20 }, { 22, 24, 26, 1 }, { 7, 11, 18, 28 } };

class Dice
{
public:
    explicit Dice (unsigned seed) : rng (seed) {}
    // mt19937's output is fixed by the standard; the library's distributions are not, so they are avoided.
    int range (int lo, int hi) { return hi <= lo ? lo : lo + (int)(rng() % (unsigned)(hi - lo + 1)); }
    bool chance (int percent) { return range (1, 100) <= percent; }

private:
    std::mt19937 rng;
};

const ProgramField* fieldForRow (int row)
{
    for (const auto& f : programFields())
        if (f.row == row)
            return &f;
    return nullptr;
}

/** What a row may hold: its catalogue range, narrowed to what its place in a Program can carry. */
std::pair<int, int> rangeOf (int row)
{
    const auto& info = ParameterCatalogue::row (row);
    int lo = info.rawMin, hi = info.rawMax;
    if (const auto* f = fieldForRow (row))
    {
        const auto d = fieldDomain (*f);
        lo = std::max (lo, d.lo);
        hi = std::min (hi, d.hi);
    }
    return { lo, std::max (lo, hi) };
}

bool endsWith (const std::string& s, const char* tail)
{
    const std::string t (tail);
    return s.size() >= t.size() && s.compare (s.size() - t.size(), t.size(), t) == 0;
}

bool startsWith (const std::string& s, const char* head)
{
    return s.rfind (head, 0) == 0;
}

int plannedValue (int row, const Archetype& a, Dice& dice)
{
    const auto& info = ParameterCatalogue::row (row);
    const std::string id = info.id;
    const auto range = rangeOf (row); // plain names: a lambda below captures them
    const int lo = range.first, hi = range.second;
    auto within = [lo, hi] (int v) { return std::clamp (v, lo, hi); };
    auto pick = [&] (const int (&r)[2]) { return within (dice.range (r[0], r[1])); };

    if (info.kind == kindEnumButtons && info.labelCount > 0)
        return within (info.labels[(size_t)dice.range (0, info.labelCount - 1)].value);
    if (info.kind != kindContinuous)
        return dice.chance (40) ? within (info.onValue) : within (info.offValue);

    // Envelopes: env1 shapes pitch and is usually gentle, env2 the filter, env3 the amplifier.
    if (startsWith (id, "env"))
    {
        if (endsWith (id, ".attacktime"))
            return pick (a.attack);
        if (endsWith (id, ".decay1time") || endsWith (id, ".decay2time"))
            return pick (a.decay);
        if (endsWith (id, ".sustainlevel") || endsWith (id, ".decay2level"))
            return pick (a.sustain);
        if (endsWith (id, ".release1time") || endsWith (id, ".release2time"))
            return pick (a.release);
        if (endsWith (id, ".attacklevel"))
            return within (dice.range (3600, 4095));
        if (endsWith (id, ".delaytime") || endsWith (id, ".smoothtime"))
            return within (dice.chance (80) ? 0 : dice.range (10, 600));
        if (endsWith (id, ".keybase"))
            return within (dice.range (48, 72));
        // Modest amounts either side of the centre (2048 shows 0.00).
        if (endsWith (id, "track") || endsWith (id, "mod"))
            return within (2048 + dice.range (0, 800));
        if (endsWith (id, ".offsetlevel"))
            return within (2048 + dice.range (-200, 200));
    }
    if (endsWith (id, ".semitone"))
    {
        static const int semitones[] = { 0, 0, 0, 0, 12, -12, 7, 5, -24 };
        const int st = semitones[dice.range (0, 8)];
        return within ((int)std::lround (2047.5 + st * 4095.0 / 120.0));
    }
    if (endsWith (id, ".cents") || endsWith (id, ".fine"))
        return within (2048 + dice.range (-60, 60));
    if (id == "filter1.frequency" || id == "filter2.frequency")
        return pick (a.cutoff);
    if (id == "filter1.resonance" || id == "filter2.resonance")
        return pick (a.resonance);
    if (startsWith (id, "lfo") && (endsWith (id, ".level")))
        return pick (a.lfoDepth);
    // Rates are stored as periods, which only resolve the slower half of their range finely; a
    // factory sound keeps to that half (up to about 3 Hz for the LFOs, 10 Hz for sample and hold).
    if (startsWith (id, "lfo") && endsWith (id, ".rate"))
        return within (dice.range (150, 2750));
    if (id == "sh.rate")
        return within (dice.range (5, 400));
    if (id == "performance.tempo" || id == "performance.arp.localbpm")
        return within (dice.range (1200, 2600));
    if (startsWith (id, "prefilter.osc") || startsWith (id, "postfilter.osc"))
        return within (dice.range (2400, 4000));
    if (startsWith (id, "prefilter.") || startsWith (id, "postfilter."))
        return within (dice.chance (50) ? 0 : dice.range (300, 2200));
    if (endsWith (id, "portamento.time"))
        return within (dice.chance (a.portamentoChance) ? dice.range (1200, 2400) : 0);
    // These rows are planned in the units the player sees, then taken to raw values.
    const auto shown = [&] (int display) { return within (ValueConversion::displayToRaw (info, display).value_or (lo)); };
    if (id == "performance.unisonx")
        return shown (dice.range (a.unison[0], a.unison[1]));
    if (id == "performance.detune")
        return shown (a.unison[1] > 1 ? dice.range (8, 35) : dice.range (1, 8));
    if (id == "performance.monovox")
        return shown (a.portamentoChance >= 30 ? 1 : dice.range (8, 16));
    if (endsWith (id, "portamento.offset") || startsWith (id, "performance.arp.prog"))
        return shown (dice.range (0, 12));
    if (id == "performance.arp.octave")
        return shown (dice.range (0, 3));
    if (id == "performance.wheel.toprange" || id == "performance.wheel.bottomrange")
        return within ((int)std::lround (dice.range (1, 12) * 4095.0 / 48.0));
    return within (dice.range (lo, hi));
}

std::string nameFor (const Archetype& a, int number)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%s %02d", a.stem, number);
    return text;
}

void putWord (UnpackedProgram& p, int at, int word)
{
    if (isWritableWord (at))
    {
        p[(size_t)at] = (std::uint8_t) ((word >> 8) & 0xFF);
        p[(size_t)at + 1] = (std::uint8_t) (word & 0xFF);
    }
}

void putByte (UnpackedProgram& p, int at, int value, std::uint8_t mask = 0xFF)
{
    if (isWritableMask (at, mask))
        p[(size_t)at] = (std::uint8_t) ((p[(size_t)at] & ~mask) | (value & mask));
}

/** The bytes outside the catalogue: output section, effects and the LFO modulation routes. */
void writeVoiceAndEffects (UnpackedProgram& p, FactoryProgram& out, const Archetype& a, Dice& dice)
{
    putWord (p, 660, dice.range (22000, 30000)); // voice level
    putWord (p, 950, 32768 + dice.range (-3000, 3000));
    putWord (p, 956, 32768 + dice.range (-8000, 8000));
    putWord (p, 1896, dice.chance (25) ? dice.range (4000, 20000) : 0); // distortion send
    putWord (p, 1898, dice.range (20000, 40000));
    putWord (p, effectbytes::sendOffset, dice.range (8000, 36000));
    putByte (p, 1906, dice.range (0, 3), 0x03);
    putByte (p, 1907, (dice.range (0, 1) << 4) | dice.range (0, 1));
    putByte (p, 1944, 1);

    const auto& choices = preferredAlgorithms[a.effectCategory];
    out.effectAlgorithm = dice.chance (75) ? choices[dice.range (0, 3)] : dice.range (0, effects::lastAlgorithm);
    putByte (p, effectbytes::algorithmOffset, out.effectAlgorithm);

    const auto& table = effectControlTable();
    out.effectParameters.assign ((size_t)effectbytes::parameterCount, 0);
    for (int k = 0; k < effectbytes::parameterCount; ++k)
    {
        const int r = effectRowForStoredSlot (out.effectAlgorithm, k);
        if (r < 0)
            continue;
        const auto& control = table[(size_t)r];
        const int top =
            effectFamilyStoredTop (effectValueFamily (out.effectAlgorithm, control.label, (int)control.nrpn));
        if (top <= 0)
            continue;
        // Stay away from the extremes most of the time, as a sound designer would.
        const int v = dice.chance (80) ? dice.range (top / 8, top - top / 8) : dice.range (0, top);
        out.effectParameters[(size_t)k] = (std::uint8_t)v;
        putByte (p, effectbytes::parametersOffset + k, v);
    }

    // The filter and post-filter modulation switches: a stored 0 means on, so most read 1.
    for (int i = 0; i < 12; ++i)
        putByte (p, 333 + 16 * i, dice.chance (20) ? 0 : 1, 0x03);

    for (int n = 0; n < 3; ++n)
    {
        const int b = 1116 + 52 * n;
        const bool on = dice.chance (35);
        putWord (p, b + 24, on ? dice.range (4000, 30000) : 0);
        putWord (p, b + 28, 0);
        putByte (p, b + 33, dice.range (1, 6));
        putByte (p, b + 36, dice.range (0, 78));
        putByte (p, b + 37, on ? 1 : 0);
    }
}

FactoryProgram makeProgram (int bank, int slot)
{
    const bool preset = bank > 0;
    const auto& sounds = preset ? presetSounds : userSounds;
    const int kinds = (int)std::size (userSounds);
    // PRESET 2 walks the kinds in another order so the two preset banks do not mirror each other.
    const int kind = bank == 2 ? (slot * 3 + 1) % kinds : slot % kinds;
    const auto& a = sounds[kind];

    Dice dice ((unsigned)(0x0E1D0000u + (unsigned)bank * 1000u + (unsigned)slot));
    FactoryProgram out;
    out.name = nameFor (a, slot / kinds + 1);
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        out.planned[(size_t)r] = plannedValue (r, a, dice);

    auto program = instrumentprogram::blank();
    instrumentprogram::writeName (program, out.name);
    writeVoiceAndEffects (program, out, a, dice);
    ProgramRows all;
    all.set();
    out.stored = instrumentprogram::storeValues (program, out.planned, all);
    out.unpacked = std::move (program);
    return out;
}

} // namespace

const FactoryProgram& program (int b, int slot)
{
    // Each Program has its own seed, so any one can be built without the others.
    static std::array<std::once_flag, numBanks * numPrograms> once;
    static std::array<FactoryProgram, numBanks * numPrograms> programs;
    const auto i = (size_t)(std::clamp (b, 0, numBanks - 1) * numPrograms + std::clamp (slot, 0, numPrograms - 1));
    std::call_once (once[i], [i] { programs[i] = makeProgram ((int)i / numPrograms, (int)i % numPrograms); });
    return programs[i];
}

const std::vector<FactoryProgram>& bank (int b)
{
    static const std::vector<FactoryProgram> none;
    static std::array<std::once_flag, numBanks> once;
    static std::array<std::vector<FactoryProgram>, numBanks> banks;
    if (b < 0 || b >= numBanks)
        return none;
    std::call_once (once[(size_t)b],
                    [b]
                    {
                        for (int slot = 0; slot < numPrograms; ++slot)
                            banks[(size_t)b].push_back (program (b, slot));
                    });
    return banks[(size_t)b];
}

ByteVector bankSysEx (int b)
{
    ByteVector stream;
    const auto& programs = bank (b);
    for (int slot = 0; slot < (int)programs.size(); ++slot)
    {
        const auto dump = buildProgramDump (programs[(size_t)slot].unpacked, sysex::opStoredProgram, b, slot);
        stream.insert (stream.end(), dump.begin(), dump.end());
    }
    return stream;
}

std::string bankName (int b)
{
    static const char* names[] = { "USER", "PRESET 1", "PRESET 2" };
    return b >= 0 && b < numBanks ? names[b] : "";
}

} // namespace orvo::factory
