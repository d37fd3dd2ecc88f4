#pragma once

#include "effects/EffectsPageModel.h"
#include "midi/SysExProtocol.h"
#include "model/ModulationRouting.h"
#include "model/ParameterCatalogue.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** Every value of one Program as the editor shows it: the catalogue rows, the digital effect (its
    algorithm and the controls of that algorithm, page by page) and the modulation route fields.
    Undo steps, COMPARE and `orvo-cli diff` all work on these. */
struct ProgramSnapshot
{
    static constexpr int numRows = ParameterCatalogue::numRows;

    /** A value without a catalogue row, keyed as documents key it ("__effect:algorithm",
        "__effect:" + control id, "__mod:" + route + ":" + field). */
    struct Extra
    {
        std::string key;
        int raw = 0;
        std::string text; // effect controls only; routes and the algorithm are named on demand
        int page = -1, slot = -1;
    };

    std::string name;
    std::array<int, numRows> rows{};
    std::bitset<numRows> defined;
    std::vector<Extra> extras; // algorithm, effect controls by page and slot, then route fields
    bool hasRoutes = false;

    const Extra* extra (const std::string& key) const;

    /** The editor's current values. */
    static ProgramSnapshot of (const std::array<int, numRows>& rows, const EffectsPageModel& effects,
                               const ModulationRouting& routes);
    /** A Program dump (stored or edit-buffer form), decoded as a sync would; nothing when it does not decode. */
    static std::optional<ProgramSnapshot> ofDump (const ByteVector& dump);
};

/** One value that differs between two snapshots. A side that lacks the value (a control of the other
    effect algorithm) has no raw value and an empty text. */
struct ValueDifference
{
    int row = -1;    // the catalogue row, or -1 for an extra
    std::string key; // the row's ParameterId or the extra's key
    std::optional<int> a, b;
    std::string aText, bText;
    int page = -1, slot = -1; // effect controls
    std::string name;         // what the player calls it
};

/** Rows both carry, in catalogue order, then the effect algorithm and controls by page and slot, then (when both
    carry them) the route fields. */
std::vector<ValueDifference> differencesBetween (const ProgramSnapshot& a, const ProgramSnapshot& b,
                                                 bool includeRoutes = true);

} // namespace orvo
