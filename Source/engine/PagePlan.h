#pragma once

#include <string>
#include <vector>

namespace orvo
{

/** What each page shows: panels of catalogue rows and interface controls, in panel order.
    Rows keep their catalogue section; long sections are split into one panel per unit
    (LFO 1, LFO 2, ...) so the page reads like the instrument's panel. */
struct PagePanel
{
    std::string title;
    std::string section; // the catalogue section the rows belong to
    std::vector<int> rows;
    std::vector<int> interfaceNrpns;
    /** A panel that holds one dependent display (a DependentDisplays::Display) instead of rows. */
    int display = -1;
    int displayHeight = 0;
    /** The panel opens a new column; a page with such panels breaks its columns only there. */
    bool startsColumn = false;
    int itemCount() const { return (int) (rows.size() + interfaceNrpns.size()); }
};

struct PagePlan
{
    int tab = 0;
    int columns = 2;
    int rowHeight = 26;
    std::vector<PagePanel> panels;
};

/** The layout id of a panel's section header: "editor." + the page's key ("performance", "lfos",
    "osc", "filters", "envelopes", "effects") + "." + the title in camel case + ".header". */
std::string sectionHeaderId (int tab, const std::string& title);

/** Tab index of each catalogue page group. */
int tabForGroup (int group);
const std::vector<PagePlan>& pagePlans();

} // namespace orvo
