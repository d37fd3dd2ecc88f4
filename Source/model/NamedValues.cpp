#include "NamedValues.h"

#include "model/ValueCurveShapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace orvo
{
namespace
{
std::vector<NamedValue> sorted (std::vector<NamedValue> v)
{
    std::sort (v.begin(), v.end(), [] (const NamedValue& a, const NamedValue& b) { return a.raw < b.raw; });
    return v;
}

// The raw values are those the Program's codes decode to: shape codes 0-5, polarity codes 0 / 1 / 2-3,
// the trigger-type menu codes 2-6 (any other code reads as 1600), and the 4-bit envelope trigger mode.
const std::vector<NamedValue>& lfoShapes()
{
    static const auto v = sorted ({ { 0, "SINE" },
                                    { 800, "TRIANGLE" },
                                    { 1600, "RAMP UP" },
                                    { 2400, "RAMP DOWN" },
                                    { 3200, "PULSE" },
                                    { 4095, "RANDOM" } });
    return v;
}

const std::vector<NamedValue>& lfoPolarities()
{
    static const auto v = sorted ({ { 0, "NEGATIVE" }, { 2050, "BIPOLAR" }, { 4095, "POSITIVE" } });
    return v;
}

const std::vector<NamedValue>& triggerTypes()
{
    static const auto v = sorted ({ { 0, "FREE RUN" },
                                    { 800, "KEY" },
                                    { 1600, "NORMAL" },
                                    { 2500, "LEGATO" },
                                    { 3200, "ONE SHOT" },
                                    { 4095, "CLOCK" } });
    return v;
}

const std::vector<NamedValue>& envelopeTriggerModes()
{
    static const auto v = []
    {
        static const char* const names[] = { "RETRIGGER", "LEGATO",          "RESET",    "RESET LEGATO",
                                             "ONE SHOT",  "ONE SHOT LEGATO", "FREE RUN", "LOOP" };
        std::vector<NamedValue> out;
        for (int code = 0; code < 16; ++code)
            out.push_back ({ (int)std::lround (code * 4095.0 / 15.0),
                             code < 8 ? std::string (names[code]) : "MODE " + std::to_string (code + 1) });
        return out;
    }();
    return v;
}

// An envelope's shape byte picks one of the nine curve shapes.
const std::vector<NamedValue>& envelopeShapes()
{
    static const auto v = []
    {
        std::vector<NamedValue> out;
        for (const auto& shape : ValueCurveShapes::shapes())
            out.push_back ({ shape.raw, shape.name });
        return out;
    }();
    return v;
}

bool isLfoField (std::string_view id, std::string_view field)
{
    return id.size() == 5 + field.size() && id.substr (0, 3) == "lfo" && id[3] >= '1' && id[3] <= '3' && id[4] == '.' &&
           id.substr (5) == field;
}
} // namespace

bool NamedValues::choosesCurve (const OrvoParameterInfo& info) { return forRow (info) == &envelopeShapes(); }

int NamedValues::nextCurveRaw (int raw)
{
    return ValueCurveShapes::shape (ValueCurveShapes::next (ValueCurveShapes::indexForRaw (raw))).raw;
}

const std::vector<NamedValue>* NamedValues::forRow (const OrvoParameterInfo& info)
{
    const std::string_view id = info.id;
    if (isLfoField (id, "shape"))
        return &lfoShapes();
    if (isLfoField (id, "polarity"))
        return &lfoPolarities();
    if (isLfoField (id, "triggertype") || id == "sh.triggertype")
        return &triggerTypes();
    if (id.size() == 16 && id.substr (0, 3) == "env" && id.substr (4) == ".triggermode")
        return &envelopeTriggerModes();
    if (id.size() == 10 && id.substr (0, 3) == "env" && id.substr (4) == ".shape")
        return &envelopeShapes();
    return nullptr;
}

const NamedValue& NamedValues::nearest (const std::vector<NamedValue>& choices, int raw)
{
    size_t best = 0;
    for (size_t i = 1; i < choices.size(); ++i)
        if (std::abs (choices[i].raw - raw) < std::abs (choices[best].raw - raw))
            best = i;
    return choices[best];
}

} // namespace orvo
