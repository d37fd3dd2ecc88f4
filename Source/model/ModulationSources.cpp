#include "ModulationSources.h"

#include "model/TextMatching.h"

#include <cctype>
#include <cstdlib>

namespace orvo
{
using text::trim;
using text::equalsIgnoringCase;
namespace
{
struct CategoryRow
{
    const char* name;
    std::vector<int> raws;          // the instrument's raw values, in numbering order
    std::vector<const char*> names; // one per raw value
};

// Categories group the sources by kind, not by their place on the scale, so several of them
// (envelopes, oscillators, clock, voice) are split across it.
const std::vector<CategoryRow>& categoryRows()
{
    static const std::vector<CategoryRow> rows{
        { "LFOS",
          { 0, 53, 105, 158, 210, 263 },
          { "LFO 1", "LFO 2", "LFO 3", "LFO 1 UNIPOLAR", "LFO 2 UNIPOLAR", "LFO 3 UNIPOLAR" } },
        { "ENVELOPES",
          { 315, 368, 420, 473, 525, 1470, 1523, 1575, 1628 },
          { "ENV 1", "ENV 2", "ENV 3", "ENV 1 INVERTED", "ENV 2 INVERTED", "ENV 3 INVERTED", "ENV 1 END OF CYCLE",
            "ENV 2 END OF CYCLE", "ENV 3 END OF CYCLE" } },
        { "SAMPLE AND HOLD", { 578, 630, 683 }, { "S&H", "S&H SMOOTHED", "S&H TRIGGER" } },
        { "NOISE", { 788, 840, 893 }, { "WHITE NOISE", "PINK NOISE", "RED NOISE" } },
        { "OSCILLATORS", { 735, 1418, 2573 }, { "OSC 1", "OSC 2", "RING MOD" } },
        { "WHEELS", { 945, 998 }, { "PITCH WHEEL", "MOD WHEEL" } },
        { "KEYBOARD",
          { 1050, 1103, 1155, 1208, 1260 },
          { "NOTE NUMBER", "VELOCITY", "RELEASE VELOCITY", "CHANNEL AFTERTOUCH", "POLY AFTERTOUCH" } },
        { "PEDALS", { 1313, 1365 }, { "EXPRESSION PEDAL", "SUSTAIN PEDAL" } },
        { "CLOCK AND ARP",
          { 1680, 1733, 1785, 1838, 1890, 1943, 2415 },
          { "CLOCK", "CLOCK HALF", "CLOCK QUARTER", "ARP GATE", "ARP NOTE", "PORTAMENTO", "CLOCK RAMP" } },
        { "SEQUENCER",
          { 1995, 2048, 2100, 2153, 2205, 2258, 2310, 2363 },
          { "SEQ TRACK 1", "SEQ TRACK 2", "SEQ TRACK 3", "SEQ TRACK 4", "SEQ TRACK 5", "SEQ TRACK 6", "SEQ TRACK 7",
            "SEQ TRACK 8" } },
        { "VOICE",
          { 2468, 2520, 3728, 3780, 3833, 3885, 3938, 3990, 4043, 4095 },
          { "VOICE NUMBER", "UNISON SPREAD", "RANDOM PER NOTE", "ALTERNATE", "GATE", "TRIGGER", "KEY TRACK", "LEGATO",
            "CONSTANT HALF", "CONSTANT FULL" } },
        { "MIDI CONTROLLERS",
          { 2625, 2678, 2730, 2783, 2835, 2888, 2940, 2993, 3045, 3098, 3150,
            3203, 3255, 3308, 3360, 3413, 3465, 3518, 3570, 3623, 3675 },
          { "MIDI CC 2",  "MIDI CC 3",  "MIDI CC 4",  "MIDI CC 5",  "MIDI CC 8",  "MIDI CC 9",  "MIDI CC 12",
            "MIDI CC 13", "MIDI CC 14", "MIDI CC 15", "MIDI CC 16", "MIDI CC 17", "MIDI CC 18", "MIDI CC 19",
            "MIDI CC 20", "MIDI CC 21", "MIDI CC 22", "MIDI CC 23", "MIDI CC 24", "MIDI CC 25", "MIDI CC 26" } },
    };
    return rows;
}

std::array<ModulationSource, ModulationSources::numSources> buildSources()
{
    std::array<ModulationSource, ModulationSources::numSources> sources{};
    for (int k = 0; k < ModulationSources::numSources; ++k)
    {
        sources[(size_t)k].index = k;
        sources[(size_t)k].raw = ModulationSources::rawForIndex (k);
    }
    const auto& rows = categoryRows();
    for (size_t c = 0; c < rows.size(); ++c)
        for (size_t i = 0; i < rows[c].raws.size() && i < rows[c].names.size(); ++i)
            for (auto& s : sources)
                if (s.raw == rows[c].raws[i])
                {
                    s.category = (int)c + 1;
                    s.number = (int)i + 1;
                    s.name = rows[c].names[i];
                }
    return sources;
}

} // namespace

const std::array<ModulationSource, ModulationSources::numSources>& ModulationSources::all()
{
    static const auto sources = buildSources();
    return sources;
}

std::string ModulationSources::categoryName (int category)
{
    if (category < 1 || category > numCategories)
        return {};
    return categoryRows()[(size_t)category - 1].name;
}

std::vector<const ModulationSource*> ModulationSources::inCategory (int category)
{
    std::vector<const ModulationSource*> result;
    if (category < 1 || category > numCategories)
        return result;
    for (const int raw : categoryRows()[(size_t)category - 1].raws)
        result.push_back (&nearest (raw));
    return result;
}

const ModulationSource* ModulationSources::find (int category, int number)
{
    for (const auto& s : all())
        if (s.category == category && s.number == number)
            return &s;
    return nullptr;
}

const ModulationSource* ModulationSources::findByName (std::string_view name)
{
    name = trim (name);
    for (const auto& s : all())
        if (equalsIgnoringCase (s.name, name))
            return &s;
    return nullptr;
}

const ModulationSource& ModulationSources::nearest (int code)
{
    const auto& sources = all();
    size_t best = 0;
    for (size_t k = 1; k < sources.size(); ++k)
        if (std::abs ((long)code - sources[k].raw) < std::abs ((long)code - sources[best].raw))
            best = k;
    return sources[best];
}

} // namespace orvo
