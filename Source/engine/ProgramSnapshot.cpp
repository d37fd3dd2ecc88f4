#include "ProgramSnapshot.h"
#include "EditNames.h"

#include "data/ProgramCodec.h"
#include "effects/EffectAlgorithms.h"
#include "effects/EffectState.h"
#include "model/ModulationRoutes.h"
#include "model/ValueText.h"

#include <algorithm>
#include <cctype>
#include <tuple>
#include <unordered_map>

namespace orvo
{
namespace
{
constexpr const char* algorithmKey = "__effect:algorithm";

std::string extraText (const ProgramSnapshot::Extra& e)
{
    if (e.key == algorithmKey)
        return effectAlgorithmName (e.raw);
    if (const auto field = ModulationRoutes::resolve (e.key))
        return ModulationRouting::valueText (*field, e.raw);
    return e.text;
}

std::string extraName (const std::string& key)
{
    if (key == algorithmKey)
        return "DIGITAL EFFECT ALGORITHM";
    if (const auto field = ModulationRoutes::resolve (key))
        return field->label;
    return key;
}
} // namespace

const ProgramSnapshot::Extra* ProgramSnapshot::extra (const std::string& key) const
{
    for (const auto& e : extras)
        if (e.key == key)
            return &e;
    return nullptr;
}

ProgramSnapshot ProgramSnapshot::of (const std::array<int, numRows>& values, const EffectsPageModel& effects,
                                     const ModulationRouting& routes)
{
    ProgramSnapshot s;
    s.rows = values;
    s.defined.set();
    s.hasRoutes = true;
    s.extras.push_back ({ algorithmKey, effects.algorithm(), {}, -1, -1 });
    for (int page = 0; page < 6; ++page)
        for (int slot = 0; slot < 6; ++slot)
            if (const auto c = effects.control (page, slot); c.filled)
                s.extras.push_back ({ "__effect:" + c.id, c.raw, c.valueText, page, slot });
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto field : ModulationRoutes::fields())
            if (const auto v = routes.value (r, field))
                s.extras.push_back ({ ModulationRoutes::fieldKey (r, field), *v, {}, -1, -1 });
    return s;
}

std::optional<ProgramSnapshot> ProgramSnapshot::ofDump (const ByteVector& dump)
{
    DecodedProgramValues values;
    std::string diagnostic;
    if (!decodeProgramDump (dump, values, diagnostic))
        return std::nullopt;
    EffectsPageModel effects;
    (void)effects.applyProgram (storedEffectBytesOf (unpackProgramDump (dump.data(), dump.size())));
    auto s = of (values.raw, effects, ModulationRouting());
    // Only the route fields the Program carries; the others are the editor's business.
    s.extras.erase (std::remove_if (s.extras.begin(), s.extras.end(),
                                    [] (const Extra& e) { return ModulationRoutes::isFieldKey (e.key); }),
                    s.extras.end());
    for (const auto& f : values.routeFields)
        s.extras.push_back ({ ModulationRoutes::fieldKey (f.route, f.field), f.raw, {}, -1, -1 });
    s.defined = values.defined;
    s.name = values.name;
    return s;
}

std::string editNameOfRow (int row)
{
    const auto& info = ParameterCatalogue::row (row);
    // Most names are short ("Frequency") and only their section says which; the bridge rows carry it.
    std::string section = info.section;
    section = section.substr (0, section.find (" ("));
    std::string name = section.find ("Bridge") != std::string::npos ? info.name : section + " " + info.name;
    for (auto& c : name)
        c = (char)std::toupper ((unsigned char)c);
    return name;
}

std::vector<ValueDifference> differencesBetween (const ProgramSnapshot& a, const ProgramSnapshot& b, bool includeRoutes)
{
    std::vector<ValueDifference> out;
    for (int r = 0; r < ProgramSnapshot::numRows; ++r)
    {
        // A row one Program does not carry has nothing to compare.
        if (!a.defined.test ((size_t)r) || !b.defined.test ((size_t)r) || a.rows[(size_t)r] == b.rows[(size_t)r])
            continue;
        const auto& info = ParameterCatalogue::row (r);
        ValueDifference d;
        d.row = r;
        d.key = info.id;
        d.name = editNameOfRow (r);
        d.a = a.rows[(size_t)r], d.aText = ValueText::displayText (info, a.rows[(size_t)r]);
        d.b = b.rows[(size_t)r], d.bText = ValueText::displayText (info, b.rows[(size_t)r]);
        out.push_back (std::move (d));
    }

    // Effect controls of another algorithm have other keys, so both sides' controls are listed then.
    const bool routes = includeRoutes && a.hasRoutes && b.hasRoutes;
    std::unordered_map<std::string, const ProgramSnapshot::Extra*> inB;
    for (const auto& e : b.extras)
        inB.emplace (e.key, &e);
    const auto isRoute = [] (const std::string& key) { return key.rfind (ModulationRoutes::keyPrefix, 0) == 0; };
    const auto add = [&out] (const ProgramSnapshot::Extra* x, const ProgramSnapshot::Extra* y)
    {
        const auto& any = x != nullptr ? *x : *y;
        ValueDifference d;
        d.key = any.key;
        d.name = extraName (any.key);
        d.page = any.page, d.slot = any.slot;
        if (x != nullptr)
            d.a = x->raw, d.aText = extraText (*x);
        if (y != nullptr)
            d.b = y->raw, d.bText = extraText (*y);
        out.push_back (std::move (d));
    };
    std::unordered_map<std::string, bool> seen;
    for (const auto& e : a.extras)
    {
        if (isRoute (e.key) && !routes)
            continue;
        seen.emplace (e.key, true);
        const auto it = inB.find (e.key);
        if (it == inB.end() && isRoute (e.key))
            continue; // a route field the other Program does not carry
        if (it == inB.end())
            add (&e, nullptr);
        else if (it->second->raw != e.raw)
            add (&e, it->second);
    }
    for (const auto& e : b.extras)
        if (!seen.count (e.key) && !isRoute (e.key))
            add (nullptr, &e);
    // The algorithm first, then the effect controls by page and slot, then the routes.
    const auto rank = [&isRoute] (const ValueDifference& d)
    {
        return d.key == algorithmKey ? std::make_tuple (0, 0, 0)
               : isRoute (d.key)     ? std::make_tuple (2, 0, 0)
                                     : std::make_tuple (1, d.page, d.slot);
    };
    auto extrasBegin = std::find_if (out.begin(), out.end(), [] (const ValueDifference& d) { return d.row < 0; });
    std::stable_sort (extrasBegin, out.end(),
                      [&rank] (const ValueDifference& x, const ValueDifference& y) { return rank (x) < rank (y); });
    return out;
}

} // namespace orvo
