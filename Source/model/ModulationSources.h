#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** One of the instrument's modulation sources. `index` is its place on the selector's scale,
    which fixes its raw value; `category` and `number` are how the instrument groups it. */
struct ModulationSource
{
    int index = 0;    // 0..78
    int raw = 0;      // index x 4095 / 78, halves up
    int category = 0; // 1..12
    int number = 0;   // 1-based within the category
    const char* name = "";
};

/** The table of modulation sources a route's SOURCE field selects from. */
class ModulationSources
{
public:
    static constexpr int numSources = 79;
    static constexpr int numCategories = 12;

    /** The raw value of source `index` (0..78), index x 4095 / 78 rounded half up. */
    static constexpr int rawForIndex (int index) { return (index * 4095 + 39) / 78; }

    /** Every source in index (raw) order. */
    static const std::array<ModulationSource, numSources>& all();

    /** The name of category 1..12; empty for any other number. */
    static std::string categoryName (int category);
    /** The sources of category 1..12 in their numbering order; empty for any other number. */
    static std::vector<const ModulationSource*> inCategory (int category);
    /** Source `number` of `category`, or nullptr. */
    static const ModulationSource* find (int category, int number);
    /** The source with this name, letter case ignored and surrounding spaces trimmed; or nullptr. */
    static const ModulationSource* findByName (std::string_view name);

    /** The source whose raw value lies nearest to `code` (the lower index on a tie). Stored
        codes and values from the instrument that fall between two sources land on one of them. */
    static const ModulationSource& nearest (int code);
};

} // namespace orvo
