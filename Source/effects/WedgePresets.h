#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** One captured effect setting the user can pick from the Wedge menu. */
struct WedgePreset
{
    int number = 0; // 0..227, shown as three digits
    std::string name;
    std::string group; // the menu heading it sits under
    int algorithm = 0;
    /** (NRPN, raw 0..4095) for the algorithm's CONFIG outputs and PARAM controls, in page and slot
        order; SEND and PAN belong to the Program and are never part of a preset. */
    std::vector<std::pair<int, int>> settings;
};

namespace wedge
{
constexpr int numPresets = 228;
constexpr int noPreset = -1;
constexpr const char* assignmentSchema = "orvo.wedge-preset-assignment.v1";
constexpr const char* assignmentGroup = "Brevant Wedge";
constexpr const char* documentKey = "wedgePreset";
} // namespace wedge

/** The table, read from the built-in resource on first use and kept; empty only if that resource is
    broken, which the table test guards against. */
const std::vector<WedgePreset>& wedgePresets();
const WedgePreset* findWedgePreset (int number);

/** The heading the menu inserts before this number, or empty. */
std::string wedgeMenuHeading (int number);

/** "000 Concert Hall". */
std::string wedgeMenuItemText (const WedgePreset& preset);

/** The assignment object a Program document keeps under "wedgePreset". */
juce::var wedgeAssignmentObject (const WedgePreset& preset);
/** The preset number of an assignment object, or of a Program document holding one; noPreset when
    absent, not a number, negative or 228 and above. */
int wedgeAssignmentNumber (const juce::var& assignmentOrDocument);

} // namespace orvo
