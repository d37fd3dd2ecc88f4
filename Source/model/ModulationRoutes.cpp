#include "ModulationRoutes.h"

#include "model/TextMatching.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace orvo
{
using text::trim;
namespace
{
ModulationRoute route (const char* name, int enable, int source, int destination, int level, int offset)
{
    return { name, enable, 1, 0, source, destination, level, offset };
}

std::vector<ModulationChoice> spread (std::initializer_list<const char*> names)
{
    std::vector<ModulationChoice> choices;
    const int last = (int)names.size() - 1;
    int i = 0;
    for (const char* name : names)
    {
        // Evenly over the 12-bit range, halves up, like the source scale.
        const int raw = last > 0 ? (i * 4095 + last / 2) / last : 0;
        choices.push_back ({ name, raw });
        ++i;
    }
    return choices;
}

enum class DestinationFamily
{
    none,
    oscillator,
    filter,
    envelope,
    voiceMix,
    digitalEffects,
    lfo
};

const std::vector<ModulationChoice>& destinationsOf (DestinationFamily family)
{
    static const std::vector<ModulationChoice> none;
    static const auto oscillator =
        spread ({ "PITCH", "FINE PITCH", "PULSE WIDTH", "LIN FM", "EXP FM", "WAVE SHAPE", "SYNC", "LEVEL" });
    static const auto filter = spread ({ "CUTOFF", "RESONANCE", "DRIVE", "KEY TRACK", "ENV AMOUNT", "LOW PASS LEVEL",
                                         "HIGH PASS LEVEL", "BAND PASS LEVEL" });
    static const auto envelope =
        spread ({ "DELAY", "ATTACK", "DECAY 1", "DECAY 2", "SUSTAIN", "RELEASE 1", "RELEASE 2", "AMOUNT" });
    static const auto voiceMix =
        spread ({ "VOICE LEVEL", "VOICE PAN", "DIGITAL PAN", "DISTORTION SEND", "DIGITAL SEND" });
    static const auto digitalEffects = spread (
        { "EFFECT MIX", "EFFECT PARAMETER 1", "EFFECT PARAMETER 2", "EFFECT PARAMETER 3", "EFFECT PARAMETER 4" });
    // Six, in the order of the LFO's own settings; the stored route type 1-6 counts through them.
    static const auto lfo = spread ({ "RATE", "LEVEL", "PHASE", "OFFSET", "WAVE WIDTH", "SHAPE" });

    switch (family)
    {
        case DestinationFamily::oscillator:
            return oscillator;
        case DestinationFamily::filter:
            return filter;
        case DestinationFamily::envelope:
            return envelope;
        case DestinationFamily::voiceMix:
            return voiceMix;
        case DestinationFamily::digitalEffects:
            return digitalEffects;
        case DestinationFamily::lfo:
            return lfo;
        case DestinationFamily::none:
            break;
    }
    return none;
}

bool startsWith (std::string_view text, std::string_view prefix)
{
    return text.substr (0, prefix.size()) == prefix;
}

DestinationFamily familyOf (const ModulationRoute& r)
{
    if (!r.hasDestination())
        return DestinationFamily::none;
    const std::string_view name = r.name;
    if (startsWith (name, "OSC"))
        return DestinationFamily::oscillator;
    if (startsWith (name, "FILTER"))
        return DestinationFamily::filter;
    if (startsWith (name, "ENV"))
        return DestinationFamily::envelope;
    if (startsWith (name, "VOICE MIX"))
        return DestinationFamily::voiceMix;
    if (startsWith (name, "DIGITAL EFFECTS"))
        return DestinationFamily::digitalEffects;
    if (startsWith (name, "LFO"))
        return DestinationFamily::lfo;
    return DestinationFamily::none;
}

bool validRoute (int route)
{
    return route >= 0 && route < ModulationRoutes::numRoutes;
}
} // namespace

const std::array<ModulationRoute, ModulationRoutes::numRoutes>& ModulationRoutes::all()
{
    static const std::array<ModulationRoute, numRoutes> routes{ {
        route ("CLOCK MOD", 648, 649, -1, 651, 650),
        route ("PORTAMENTO MOD", 3977, 3977, -1, 3973, 3972),
        route ("SEQUENCER MOD", 824, 825, -1, 827, 826),
        route ("ARP MOD", 917, 918, -1, 920, 919),
        route ("OSC1 OSC2FM", 1956, 1966, 1971, 1981, 1976),
        route ("OSC1 PWM", 1957, 1967, 1972, 1982, 1977),
        route ("OSC1 MOD1", 1958, 1968, 1973, 1983, 1978),
        route ("OSC1 MOD2", 1959, 1969, 1974, 1984, 1979),
        route ("OSC1 MOD3", 1960, 1970, 1975, 1985, 1980),
        route ("OSC2 PWM", 2073, 2081, 2085, 2093, 2089),
        route ("OSC2 MOD1", 2074, 2082, 2086, 2094, 2090),
        route ("OSC2 MOD2", 2075, 2083, 2087, 2095, 2091),
        route ("OSC2 MOD3", 2076, 2084, 2088, 2096, 2092),
        route ("OSC 1 LEVEL MOD", 2197, 2203, -1, 2209, 2215),
        route ("OSC 2 LEVEL MOD", 2198, 2204, -1, 2210, 2216),
        route ("SUB OSC 1 LEVEL MOD", 2199, 2205, -1, 2211, 2217),
        route ("SUB OSC 2 LEVEL MOD", 2200, 2206, -1, 2212, 2218),
        route ("RING MOD LEVEL MOD", 2201, 2207, -1, 2213, 2219),
        route ("NOISE/EXTERNAL LEVEL MOD", 2202, 2208, -1, 2214, 2220),
        route ("FILTER 1 MOD 1", 2319, 2322, 2325, 2331, 2328),
        route ("FILTER 1 MOD 2", 2318, 2323, 2326, 2332, 2329),
        route ("FILTER 1 MOD 3", 2317, 2324, 2327, 2333, 2330),
        route ("FILTER 2 MOD 1", 2447, 2450, 2453, 2459, 2456),
        route ("FILTER 2 MOD 2", 2446, 2451, 2454, 2460, 2457),
        route ("FILTER 2 MOD 3", 2445, 2452, 2455, 2461, 2458),
        route ("FILTER 1 LOW PASS MOD", 2579, 2585, -1, 2591, 2597),
        route ("FILTER 1 HIGH PASS MOD", 2580, 2586, -1, 2592, 2598),
        route ("FILTER 1 BAND PASS MOD", 2581, 2587, -1, 2593, 2599),
        route ("FILTER 1 MIX LEVEL MOD", 2584, 2590, -1, 2596, 2602),
        route ("FILTER 2 LOW PASS MOD", 2583, 2589, -1, 2595, 2601),
        route ("PRE FILTER MOD", 2582, 2588, -1, 2594, 2600),
        route ("ENV 1 MOD 1", 2707, 2740, 2743, 2749, 2746),
        route ("ENV 1 MOD 2", 2708, 2741, 2744, 2750, 2747),
        route ("ENV 1 MOD 3", 2709, 2742, 2745, 2751, 2748),
        route ("ENV 2 MOD 1", 2835, 2868, 2871, 2877, 2874),
        route ("ENV 2 MOD 2", 2836, 2869, 2872, 2878, 2875),
        route ("ENV 2 MOD 3", 2837, 2870, 2873, 2879, 2876),
        route ("ENV 3 MOD 1", 2963, 2996, 2999, 3005, 3002),
        route ("ENV 3 MOD 2", 2964, 2997, 3000, 3006, 3003),
        route ("ENV 3 MOD 3", 2965, 2998, 3001, 3007, 3004),
        route ("VOICE MIX MOD", 3076, 3080, 3081, 3083, 3082),
        route ("ANALOG DISTORTION MOD", 3330, 3338, -1, 3340, 3339),
        route ("DIGITAL EFFECTS MOD", 3585, 3594, 3596, 3600, 3598),
        route ("LFO 1 MOD", 1033, 1036, 1037, 1039, 1038),
        route ("LFO 2 MOD", 1161, 1164, 1165, 1167, 1166),
        route ("LFO 3 MOD", 1289, 1292, 1293, 1295, 1294),
        route ("S&H MOD", 1421, 1424, -1, 1426, 1425),
    } };
    return routes;
}

const std::array<ModulationField, ModulationRoutes::numFields>& ModulationRoutes::fields()
{
    static constexpr std::array<ModulationField, numFields> all{ ModulationField::enable, ModulationField::source,
                                                                 ModulationField::destination, ModulationField::level,
                                                                 ModulationField::offset };
    return all;
}

std::optional<int> ModulationRoutes::indexOf (std::string_view name)
{
    // The noise route answers to its short name as well.
    if (name == "NOISE/EXT LEVEL MOD")
        name = "NOISE/EXTERNAL LEVEL MOD";
    const auto& routes = all();
    for (size_t i = 0; i < routes.size(); ++i)
        if (name == routes[i].name)
            return (int)i;
    return std::nullopt;
}

const ModulationRoute* ModulationRoutes::findByName (std::string_view name)
{
    const auto index = indexOf (name);
    return index ? &all()[(size_t)*index] : nullptr;
}

const char* ModulationRoutes::fieldText (ModulationField field)
{
    switch (field)
    {
        case ModulationField::enable:
            return " ENABLE";
        case ModulationField::source:
            return " SOURCE";
        case ModulationField::destination:
            return " DESTINATION";
        case ModulationField::level:
            return " LEVEL";
        case ModulationField::offset:
            return " OFFSET";
    }
    return "";
}

const char* ModulationRoutes::keyWord (ModulationField field)
{
    switch (field)
    {
        case ModulationField::enable:
            return "enable";
        case ModulationField::source:
            return "source";
        case ModulationField::destination:
            return "destination";
        case ModulationField::level:
            return "level";
        case ModulationField::offset:
            return "offset";
    }
    return "";
}

std::optional<ModulationField> ModulationRoutes::fieldForKeyWord (std::string_view word)
{
    word = trim (word);
    for (const auto field : fields())
    {
        const std::string_view candidate = keyWord (field);
        if (candidate.size() == word.size() &&
            std::equal (word.begin(), word.end(), candidate.begin(),
                        [] (char a, char b) { return std::tolower ((unsigned char)a) == b; }))
            return field;
    }
    return std::nullopt;
}

std::string ModulationRoutes::fieldKey (int route, ModulationField field)
{
    if (!validRoute (route))
        return {};
    return std::string (keyPrefix) + all()[(size_t)route].name + ":" + keyWord (field);
}

bool ModulationRoutes::isFieldKey (std::string_view key)
{
    return startsWith (key, keyPrefix);
}

std::optional<ModulationFieldInfo> ModulationRoutes::resolve (std::string_view key)
{
    if (!isFieldKey (key))
        return std::nullopt;
    key.remove_prefix (std::string_view (keyPrefix).size());
    // Route names hold no colon, so the last one separates the key word.
    const auto colon = key.rfind (':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto index = indexOf (key.substr (0, colon));
    const auto field = fieldForKeyWord (key.substr (colon + 1));
    if (!index || !field)
        return std::nullopt;
    return resolve (*index, *field);
}

std::optional<ModulationFieldInfo> ModulationRoutes::resolve (int route, ModulationField field)
{
    if (!validRoute (route))
        return std::nullopt;
    const auto& r = all()[(size_t)route];
    ModulationFieldInfo info;
    info.route = route;
    info.field = field;
    info.label = std::string (r.name) + fieldText (field);
    switch (field)
    {
        case ModulationField::enable:
            info.nrpn = r.enableNrpn;
            info.rawMax = std::max (1, r.enableOnValue);
            break;
        case ModulationField::source:
            info.nrpn = r.sourceNrpn;
            break;
        case ModulationField::destination:
            if (!r.hasDestination())
                return std::nullopt;
            info.nrpn = r.destinationNrpn;
            break;
        case ModulationField::level:
            info.nrpn = r.levelNrpn;
            break;
        case ModulationField::offset:
            info.nrpn = r.offsetNrpn;
            break;
        default:
            return std::nullopt;
    }
    return info;
}

std::vector<ModulationFieldInfo> ModulationRoutes::fieldsForNrpn (int nrpn)
{
    // Incoming NRPNs are looked up one by one; resolve every field once.
    static const std::vector<ModulationFieldInfo> everyField = []
    {
        std::vector<ModulationFieldInfo> list;
        for (int r = 0; r < numRoutes; ++r)
            for (const auto field : fields())
                if (auto info = resolve (r, field))
                    list.push_back (std::move (*info));
        return list;
    }();
    std::vector<ModulationFieldInfo> found;
    if (nrpn < 0)
        return found;
    for (const auto& info : everyField)
        if (info.nrpn == nrpn)
            found.push_back (info);
    return found;
}

std::string ModulationRoutes::actionLabel (const ModulationFieldInfo& field, int raw)
{
    if (field.field == ModulationField::enable)
        return field.label + (raw > field.rawMin ? " ON" : " OFF");
    return field.label;
}

ModulationSend ModulationRoutes::sendFor (const ModulationFieldInfo& field, int raw)
{
    const int value = std::clamp (raw, field.rawMin, std::max (field.rawMin, field.rawMax));
    return { field.nrpn, value, actionLabel (field, value) };
}

const std::vector<ModulationChoice>& ModulationRoutes::destinations (int route)
{
    if (!validRoute (route))
        return destinationsOf (DestinationFamily::none);
    return destinationsOf (familyOf (all()[(size_t)route]));
}

const ModulationChoice* ModulationRoutes::nearestDestination (int route, int raw)
{
    const auto& choices = destinations (route);
    if (choices.empty())
        return nullptr;
    size_t best = 0;
    for (size_t i = 1; i < choices.size(); ++i)
        if (std::abs ((long)raw - choices[i].raw) < std::abs ((long)raw - choices[best].raw))
            best = i;
    return &choices[best];
}

const ModulationChoice* ModulationRoutes::destinationForType (int route, int type)
{
    const auto& choices = destinations (route);
    if (choices.empty())
        return nullptr;
    return &choices[(size_t)std::clamp (type - 1, 0, (int)choices.size() - 1)];
}

const OrvoParameterInfo& ModulationRoutes::levelShape()
{
    static const OrvoParameterInfo shape = []
    {
        OrvoParameterInfo info;
        info.id = "mod.level";
        info.name = "MOD LEVEL";
        info.section = "MODULATION ROUTING";
        info.kind = kindContinuous;
        info.rawMin = 0;
        info.rawMax = 4095;
        info.displayMin = -100.0;
        info.displayMax = 100.0;
        info.displayStep = 0.01;
        info.decimals = 2;
        info.displayFormat = 6;
        return info;
    }();
    return shape;
}

} // namespace orvo
