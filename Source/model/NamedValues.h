#pragma once

#include "model/ParameterCatalogue.h"

#include <string>
#include <vector>

namespace orvo
{

/** Rows whose raw values stand for a handful of named choices (an LFO's shape, polarity and trigger
    type, an envelope's trigger mode): the Program stores a code and the editor holds the raw value of
    that code. Such a row shows the name of the choice nearest its value, and takes a typed name. */
struct NamedValue
{
    int raw = 0;
    std::string name;
};

class NamedValues
{
public:
    /** The row's choices in raw order, or nullptr for a row that shows a number. */
    static const std::vector<NamedValue>* forRow (const OrvoParameterInfo& info);
    /** Rows that choose one of the nine curve shapes (the envelopes' shapes): their control steps
        through the shapes, one per click. */
    static bool choosesCurve (const OrvoParameterInfo& info);
    /** The raw value a click on a curve control sends: the shape after the one nearest `raw`. */
    static int nextCurveRaw (int raw);
    /** The choice nearest `raw` (the lower on a tie). */
    static const NamedValue& nearest (const std::vector<NamedValue>& choices, int raw);
};

} // namespace orvo
