#pragma once

#include "model/ModulationRoutes.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** What the routing overlay shows for one field of one route. */
struct ModulationFieldView
{
    ModulationFieldInfo info;
    std::string key;         // "__mod:" + route + ":" + key word
    int raw = 0;             // the editor's current value
    std::string text;        // the value text beside the control
    std::string actionLabel; // what the log calls a send of the current value
    std::string rangeText;   // for the parameter details
};

/** A field whose value changed, as the overlay needs to repaint it. */
struct ModulationFieldRef
{
    int route = -1;
    ModulationField field = ModulationField::enable;

    bool operator== (const ModulationFieldRef& other) const { return route == other.route && field == other.field; }
};

/** The editor's values of every route field, as the routing overlay edits them. It never sends: each
    edit gives back the NRPN and value for the caller to hand to the engine's interface send. */
class ModulationRouting
{
public:
    ModulationRouting();

    /** Every field back to the values a fresh Program shows: off, first source and destination,
        level and offset at their centre (0.00). */
    void reset();
    static int defaultValue (ModulationField field);

    /** The current raw value; nothing for a route out of range or a missing destination. */
    std::optional<int> value (int route, ModulationField field) const;
    std::optional<int> value (std::string_view key) const;

    /** The fields of a route in field order, the destination only where the route has one. */
    std::vector<ModulationFieldView> fieldViews (int route) const;
    std::optional<ModulationFieldView> fieldView (int route, ModulationField field) const;

    /** Value texts: "ON"/"OFF", the source or destination name, the level as -100.00..100.00. */
    static std::string valueText (const ModulationFieldInfo& field, int raw);
    /** The range text of the parameter details, by the rules of controls without a catalogue row. */
    static std::string rangeText (const ModulationFieldInfo& field);

    /** An edit from the overlay, a tool or the host: the field named by `key` takes `raw` (clamped
        to its range) and the send is returned. Nothing for a key that names no field; then nothing
        changes. */
    std::optional<ModulationSend> setField (std::string_view key, int raw);
    std::optional<ModulationSend> setField (int route, ModulationField field, int raw);

    /** The send of a field's current value (its SEND button, "send everything shown"). */
    std::optional<ModulationSend> currentSend (int route, ModulationField field) const;
    /** The sends of every field of every route, in table and field order. */
    std::vector<ModulationSend> allSends() const;

    /** Reads text typed into a field's value box: "ON"/"OFF" (or 1/0) for enable, a source or
        destination name (letter case ignored), a level or offset in -100..100 with an optional "%".
        Nothing when the text is none of these; the caller then changes nothing. */
    std::optional<int> rawForTypedText (int route, ModulationField field, std::string_view text) const;

    /** A value from code (a decoded Program, a restored state): stored clamped, nothing sent.
        False when the field does not exist or already held the value. */
    bool applyValue (int route, ModulationField field, int raw);

    /** True when some field listens on the NRPN. */
    static bool takesNrpn (int nrpn);
    /** A value from the instrument: every field on the NRPN takes it, clamped to its range, without
        a send. Returns the fields whose value changed. */
    std::vector<ModulationFieldRef> applyIncoming (int nrpn, int value);

private:
    static size_t slot (int route, ModulationField field);

    std::array<int, (size_t)ModulationRoutes::numRoutes * ModulationRoutes::numFields> values{};
};

} // namespace orvo
