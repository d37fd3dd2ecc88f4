#pragma once

#include "effects/EffectAlgorithms.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** One control of one algorithm: where it sits on the effects page and which NRPN carries it. */
struct DigitalEffectParameterMapping
{
    int algorithm = 0;
    std::string effectName;
    std::string pageName; // "CONFIG", "PARAM1" ... "PARAM5"
    std::string label;    // as the instrument's display abbreviates it
    unsigned nrpn = 0;
    unsigned page = 0; // 0 CONFIG, 1..5 PARAM1..PARAM5
    unsigned slot = 0; // 0..5, left to right
    std::string id;    // ParameterId
    std::string pageKey;
};

namespace effects
{
constexpr int numControls = 567;
constexpr int placeholderRow = -2; // the unused byte in a stored order
} // namespace effects

/** All 567 controls, grouped by algorithm in the instrument's own order, CONFIG first, then page
    by page, slot by slot. Lookups below scan in this order and take the first match. */
const std::vector<DigitalEffectParameterMapping>& effectControlTable();

/** Row indices into the table of one algorithm, in table order; empty for a bad index. */
const std::vector<int>& effectRowsOf (int algorithm);

/** Row index or -1. */
int effectRowForNrpn (int algorithm, int nrpn);
int effectRowAt (int algorithm, int page, int slot);
int effectRowForLabel (int algorithm, std::string_view pageName, std::string_view label);

/** "effects.digital." + key + "." + page key + "." + label key. */
std::string effectParameterId (std::string_view algorithmKey, std::string_view pageKey, std::string_view label);

/** The order in which the algorithm keeps its controls in the 30 stored bytes: row indices, with
    effects::placeholderRow for an unused byte. Built on first use and kept. Empty for a bad index. */
const std::vector<int>& effectStoredOrder (int algorithm);

/** The row for stored slot k, or -1 beyond the order, for a bad algorithm and for the placeholder. */
int effectRowForStoredSlot (int algorithm, int k);

/** A label in upper case with blanks and dashes removed: the form families and names are keyed by. */
std::string normaliseEffectLabel (std::string_view label);

/** The long name used in help and details texts; an unknown label is its own long name. */
std::string effectLongName (std::string_view label);

/** The display abbreviation of a sub-effect page ("room_2" gives "ROOM"); empty for numbered pages. */
std::string effectPageAbbreviation (std::string_view pageKey);
/** Its long form with the trailing blank ("Room "); empty for numbered pages. */
std::string effectPageLongPrefix (std::string_view pageKey);

} // namespace orvo
