#include "PagePlan.h"

#include "model/InterfaceControls.h"
#include "model/ParameterCatalogue.h"

#include <cstring>

namespace orvo
{

int tabForGroup (int group)
{
    switch (group)
    {
        case 0:
            return 0;
        case 4:
            return 1;
        case 1:
        case 2:
            return 2;
        case 3:
            return 3;
        case 5:
            return 4;
        case 6:
            return 5;
        default:
            return 0;
    }
}

namespace
{
std::string unitTitle (const OrvoParameterInfo& info)
{
    const std::string id = info.id;
    const auto prefix = id.substr (0, id.find ('.'));
    if (prefix.size() == 4 && prefix.compare (0, 3, "lfo") == 0)
        return "LFO " + prefix.substr (3);
    if (prefix == "sh")
        return "S&H";
    if (prefix.size() == 4 && prefix.compare (0, 3, "env") == 0)
        return "ENV " + prefix.substr (3);
    // Both portamento pairs sit in one section with the same names; their panels tell them apart.
    if (id.rfind ("performance.lowerportamento.", 0) == 0)
        return "LOWER PORTAMENTO";
    if (id.rfind ("performance.portamento.", 0) == 0)
        return "UPPER PORTAMENTO";
    return info.section;
}

std::vector<PagePlan> build()
{
    std::vector<PagePlan> plans (6);
    const int columns[6] = { 2, 3, 2, 2, 3, 1 };
    for (int t = 0; t < 6; ++t)
    {
        plans[(size_t)t].tab = t;
        plans[(size_t)t].columns = columns[t];
    }

    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        auto& panels = plans[(size_t)tabForGroup (info.group)].panels;
        const auto title = unitTitle (info);
        if (panels.empty() || panels.back().title != title || panels.back().section != info.section)
            panels.push_back ({ title, info.section, {}, {} });
        panels.back().rows.push_back (r);
    }

    for (const auto& ic : InterfaceControls::all())
    {
        // The EFFECTS page has an editor of its own, whose algorithm menu sends the selection.
        if (ic.page == 5)
            continue;
        auto& panels = plans[(size_t)ic.page].panels;
        bool placed = false;
        for (auto& p : panels)
            if (p.section == ic.section)
            {
                p.interfaceNrpns.push_back (ic.nrpn);
                placed = true;
                break;
            }
        if (!placed)
            panels.push_back ({ ic.section, ic.section, {}, { ic.nrpn } });
    }
    return plans;
}
} // namespace

const std::vector<PagePlan>& pagePlans()
{
    static const std::vector<PagePlan> plans = build();
    return plans;
}

} // namespace orvo
