#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvo
{

/** One algorithm of the digital effects processor; its index is what a Program stores. */
struct EffectAlgorithm
{
    int index = 0;
    const char* name = "";
    const char* key = ""; // ParameterId component
    const char* category = "";
};

namespace effects
{
constexpr int numAlgorithms = 29;
constexpr int lastAlgorithm = numAlgorithms - 1;

constexpr int selectionNrpn = 3603;
constexpr int sendNrpn = 3604;
constexpr int panNrpn = 3605;
constexpr int firstParamNrpn = 3609;
constexpr int lastNrpn = 3638;
constexpr int numNrpns = lastNrpn - selectionNrpn + 1;

constexpr int numPages = 6; // CONFIG and PARAM1..PARAM5
constexpr int slotsPerPage = 6;

constexpr const char* selectionLabel = "DIGITAL EFFECTS SELECTION";
constexpr const char* allCategories = "All";

constexpr bool isEffectNrpn (int nrpn)
{
    return nrpn >= selectionNrpn && nrpn <= lastNrpn;
}
} // namespace effects

/** All 29 algorithms in index order. */
const std::array<EffectAlgorithm, effects::numAlgorithms>& effectAlgorithms();

/** The algorithm at an index clamped to 0..28, so an out-of-range byte still names something. */
const EffectAlgorithm& effectAlgorithm (int index);
std::string effectAlgorithmName (int index);
int clampEffectAlgorithm (int index);

/** The six categories in menu order, without "All". */
const std::array<const char*, 6>& effectCategories();

/** The category a name belongs to; a name in no group is "Single". */
std::string effectCategoryForName (std::string_view name);

/** Does the algorithm show under the category ("All" holds every one)? */
bool effectAlgorithmIsIn (int index, std::string_view category);

/** NRPN 3603 raw value to algorithm index; the raw value is clamped to 0..4095 first. */
int effectAlgorithmForSelectionRaw (int raw);

/** The raw value the editor sends when the user selects an algorithm. */
int effectSelectionRawToSend (int index);

/** The raw value of NRPN 3603 that a decoded Program stands for. */
int effectSelectionRawFromProgram (int index);

} // namespace orvo
