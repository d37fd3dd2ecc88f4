#include "effects/EffectAlgorithms.h"

#include <algorithm>
#include <cmath>

namespace orvo
{

namespace
{
constexpr const char* single = "Single";
constexpr const char* stereo = "Stereo";
constexpr const char* parallel = "Parallel";
constexpr const char* dualMono = "Dual Mono";
constexpr const char* multiChain = "Multi Chain";
constexpr const char* tripleChain = "Triple Chain";
} // namespace

const std::array<EffectAlgorithm, effects::numAlgorithms>& effectAlgorithms()
{
    static const std::array<EffectAlgorithm, effects::numAlgorithms> table{ {
        { 0, "Large Hall", "large_hall", single },
        { 1, "Hall Reverb", "hall_reverb", single },
        { 2, "Stereo Room", "stereo_room", stereo },
        { 3, "Room Reverb", "room_reverb", single },
        { 4, "Chamber", "chamber", single },
        { 5, "Ambience", "ambience", single },
        { 6, "Large Plate", "large_plate", single },
        { 7, "Plate", "plate", single },
        { 8, "Room + Hall", "room_plus_hall", parallel },
        { 9, "Room + Plate", "room_plus_plate", parallel },
        { 10, "Plate + Hall", "plate_plus_hall", parallel },
        { 11, "Nonlinear Reverb", "nonlinear_reverb", single },
        { 12, "Mono Delay", "mono_delay", single },
        { 13, "Ping Pong Delay", "ping_pong_delay", single },
        { 14, "Multi Tap Delay", "multi_tap_delay", single },
        { 15, "Delay:Delay", "delay_delay", dualMono },
        { 16, "Stereo Chorus/Flanger", "stereo_chorus_flanger", stereo },
        { 17, "Quad Chorus", "quad_chorus", stereo },
        { 18, "Chorus:Chorus", "chorus_chorus", dualMono },
        { 19, "Quad Pitch Shifter", "quad_pitch_shifter", stereo },
        { 20, "Lezlie > Room", "lezlie_to_room", multiChain },
        { 21, "Delay > Room", "delay_to_room", multiChain },
        { 22, "Chorus > Room", "chorus_to_room", multiChain },
        { 23, "Room > Flange", "room_to_flange", multiChain },
        { 24, "Flange > Delay > Room", "flange_to_delay_to_room_multi_3", tripleChain },
        { 25, "Room + Delay", "room_plus_delay", parallel },
        { 26, "Room + Chorus", "room_plus_chorus", parallel },
        { 27, "Room + Flange", "room_plus_flange", parallel },
        { 28, "Room > Delay", "room_to_delay", multiChain },
    } };
    return table;
}

int clampEffectAlgorithm (int index)
{
    return std::clamp (index, 0, effects::lastAlgorithm);
}

const EffectAlgorithm& effectAlgorithm (int index)
{
    return effectAlgorithms()[(std::size_t)clampEffectAlgorithm (index)];
}

std::string effectAlgorithmName (int index)
{
    return effectAlgorithm (index).name;
}

const std::array<const char*, 6>& effectCategories()
{
    static const std::array<const char*, 6> names{ single, stereo, parallel, dualMono, multiChain, tripleChain };
    return names;
}

std::string effectCategoryForName (std::string_view name)
{
    for (const auto& a : effectAlgorithms())
        if (name == a.name)
            return a.category;
    return single;
}

bool effectAlgorithmIsIn (int index, std::string_view category)
{
    if (index < 0 || index > effects::lastAlgorithm)
        return false;
    return category == effects::allCategories || category == effectAlgorithms()[(std::size_t)index].category;
}

int effectAlgorithmForSelectionRaw (int raw)
{
    return std::min (std::clamp (raw, 0, 4095) * effects::numAlgorithms / 4095, effects::lastAlgorithm);
}

int effectSelectionRawToSend (int index)
{
    return (clampEffectAlgorithm (index) * 4095 + effects::lastAlgorithm) / effects::numAlgorithms;
}

int effectSelectionRawFromProgram (int index)
{
    return (int)std::lround (clampEffectAlgorithm (index) * 4095.0 / effects::lastAlgorithm);
}

} // namespace orvo
