#include "PagePlan.h"

#include "DependentDisplays.h"

#include "model/InterfaceControls.h"
#include "model/ParameterCatalogue.h"

#include <cctype>
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

std::string sectionHeaderId (int tab, const std::string& title)
{
    static const char* const pageKeys[] = { "performance", "lfos", "osc", "filters", "envelopes", "effects" };
    std::string key;
    bool wordStart = false;
    for (const char c : title)
    {
        const auto u = (unsigned char) c;
        if (!std::isalnum (u))
        {
            wordStart = !key.empty();
            continue;
        }
        key += (char) (wordStart ? std::toupper (u) : std::tolower (u));
        wordStart = false;
    }
    return std::string ("editor.") + pageKeys[tab >= 0 && tab < 6 ? tab : 0] + "." + key + ".header";
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

PagePanel displayPanel (const char* title, int display, int height, bool startsColumn = false)
{
    PagePanel p;
    p.title = p.section = title;
    p.display = display;
    p.displayHeight = height;
    p.startsColumn = startsColumn;
    return p;
}

/** Puts `panel` before (or after) the panel with that title; a page without it keeps its panels. */
void insertAt (std::vector<PagePanel>& panels, const std::string& title, PagePanel panel, bool after)
{
    for (auto it = panels.begin(); it != panels.end(); ++it)
        if (it->title == title)
        {
            panels.insert (after ? it + 1 : it, std::move (panel));
            return;
        }
}

void startColumnAt (std::vector<PagePanel>& panels, const std::string& title)
{
    for (auto& p : panels)
        if (p.title == title)
            p.startsColumn = true;
}

// The displays sit beside the controls they draw; their heights are what the page has left.
void addDisplays (std::vector<PagePlan>& plans)
{
    using D = DependentDisplays;
    auto& lfos = plans[1].panels;
    insertAt (lfos, "LFO 1", displayPanel ("LFO 1 SHAPE", D::lfo1, 92), true);
    insertAt (lfos, "LFO 1 SHAPE", displayPanel ("MODULATION ROUTING", D::routing, 264), true);
    insertAt (lfos, "LFO 2", displayPanel ("LFO 2 SHAPE", D::lfo2, 92), true);
    insertAt (lfos, "LFO 3", displayPanel ("LFO 3 SHAPE", D::lfo3, 92), true);
    startColumnAt (lfos, "LFO 2");
    startColumnAt (lfos, "LFO 3");

    auto& oscillators = plans[2].panels;
    insertAt (oscillators, "OSC 1 WAVES", displayPanel ("OSC 1 WAVEFORM", D::osc1, 104), true);
    insertAt (oscillators, "OSC 2 WAVES", displayPanel ("OSC 2 WAVEFORM", D::osc2, 104), true);
    startColumnAt (oscillators, "ENV 1 TO OSC 1 PITCH");

    auto& envelopes = plans[4].panels;
    plans[4].rowHeight = 22;
    for (int n = 0; n < 3; ++n)
    {
        const auto unit = "ENV " + std::to_string (n + 1);
        insertAt (envelopes, unit, displayPanel ("", D::env1 + n, 86, n > 0), false);
        envelopes[(size_t) n * 2].title = unit + " CURVE";
        envelopes[(size_t) n * 2].section = unit + " CURVE";
    }
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
    addDisplays (plans);
    return plans;
}
} // namespace

const std::vector<PagePlan>& pagePlans()
{
    static const std::vector<PagePlan> plans = build();
    return plans;
}

} // namespace orvo
