#pragma once

#include "model/ParameterCatalogue.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** One fixed modulation slot of a Program. Every field travels on an NRPN of its own. */
struct ModulationRoute
{
    const char* name = "";
    int enableNrpn = -1;
    int enableOnValue = 1;
    int reserved = 0;
    int sourceNrpn = -1;
    int destinationNrpn = -1; // -1: the route's destination is fixed
    int levelNrpn = -1;
    int offsetNrpn = -1;

    bool hasDestination() const { return destinationNrpn >= 0; }
};

/** The fields of a route, numbered as the instrument numbers them. */
enum class ModulationField : int
{
    enable = 1,
    source = 2,
    destination = 3,
    level = 4,
    offset = 5
};

/** A named raw value a selector field can take (sources, destinations). */
struct ModulationChoice
{
    const char* name = "";
    int raw = 0;
};

/** What a field key or a (route, field) pair names. */
struct ModulationFieldInfo
{
    int route = -1; // index into ModulationRoutes::all()
    ModulationField field = ModulationField::enable;
    std::string label; // route name + field text, e.g. "OSC1 MOD1 LEVEL"
    int nrpn = -1;
    int rawMin = 0;
    int rawMax = 4095;
};

/** One interface send: the NRPN, the value (already within the field's range) and the label the log
    shows for it. */
struct ModulationSend
{
    int nrpn = -1;
    int value = 0;
    std::string actionLabel;

    bool operator== (const ModulationSend& other) const
    {
        return nrpn == other.nrpn && value == other.value && actionLabel == other.actionLabel;
    }
};

/** The table of the 47 routes, their field keys and what each field sends. Nothing here keeps state. */
class ModulationRoutes
{
public:
    static constexpr int numRoutes = 47;
    static constexpr int numFields = 5;
    static constexpr const char* keyPrefix = "__mod:";

    /** The routes in lookup order. */
    static const std::array<ModulationRoute, numRoutes>& all();
    static const std::array<ModulationField, numFields>& fields();

    /** Exact name match in table order; "NOISE/EXT LEVEL MOD" is a second name of
        "NOISE/EXTERNAL LEVEL MOD". Nothing for any other name. */
    static const ModulationRoute* findByName (std::string_view name);
    static std::optional<int> indexOf (std::string_view name);

    /** " ENABLE", " SOURCE", " DESTINATION", " LEVEL" or " OFFSET". */
    static const char* fieldText (ModulationField field);
    /** "enable", "source", "destination", "level" or "offset". */
    static const char* keyWord (ModulationField field);
    /** The field a key word names, read trimmed and without regard to letter case. */
    static std::optional<ModulationField> fieldForKeyWord (std::string_view word);

    /** "__mod:" + route name + ":" + key word; empty for a route index out of range. */
    static std::string fieldKey (int route, ModulationField field);
    static bool isFieldKey (std::string_view key);

    /** The field a key names; nothing for a key without the prefix, an unknown route or key word,
        or the destination of a route whose destination is fixed. */
    static std::optional<ModulationFieldInfo> resolve (std::string_view key);
    /** The same for a route index; nothing for an index out of range or a missing destination. */
    static std::optional<ModulationFieldInfo> resolve (int route, ModulationField field);

    /** Every field carried by the NRPN, in table and field order. One NRPN can carry two fields. */
    static std::vector<ModulationFieldInfo> fieldsForNrpn (int nrpn);

    /** The send for `raw` on a field: clamped to the field's range, labelled for the log. An enable
        send says whether it switches the route on or off. */
    static ModulationSend sendFor (const ModulationFieldInfo& field, int raw);
    /** The label the log shows for a send of `raw` (already within the field's range). */
    static std::string actionLabel (const ModulationFieldInfo& field, int raw);

    /** The destinations a route with a destination field can select, in raw order; empty for a route
        with a fixed destination. The raw values spread evenly over 0..4095. */
    static const std::vector<ModulationChoice>& destinations (int route);
    /** The destination nearest to `raw` (the lower on a tie), or nullptr for a route without one. */
    static const ModulationChoice* nearestDestination (int route, int raw);

    /** The destination a stored route type (1-based, as a Program keeps it) selects, the type
        kept within the route's choices; nullptr for a route without a destination field. */
    static const ModulationChoice* destinationForType (int route, int type);

    /** The shape the LEVEL and OFFSET fields share with catalogue rows of the modulation level
        format (-100.00 to 100.00), so the value conversion and value text work on them unchanged. */
    static const OrvoParameterInfo& levelShape();
};

} // namespace orvo
