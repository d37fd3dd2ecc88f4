#include "LayoutEditSession.h"

#include <algorithm>
#include <cmath>

namespace orvo
{
namespace
{
constexpr size_t maxUndo = 200;
const std::string keep = ". Press SAVE to keep this layout.\n";

int snap (int v)
{
    return (int)std::lround ((double)v / LayoutEditSession::grid) * LayoutEditSession::grid;
}

bool startsWith (const std::string& s, const std::string& prefix)
{
    return s.rfind (prefix, 0) == 0;
}

/** The same item in the other sidebar pane, or empty for an item outside the sidebars. */
std::string otherPaneId (const std::string& id)
{
    if (startsWith (id, "sidebar.top."))
        return "sidebar.bottom." + id.substr (12);
    if (startsWith (id, "sidebar.bottom."))
        return "sidebar.top." + id.substr (15);
    return {};
}
} // namespace

LayoutEditSession::LayoutEditSession (Log logFn) : log (std::move (logFn)) {}

void LayoutEditSession::logLine (const std::string& text) const
{
    if (log)
        log (text);
}

void LayoutEditSession::setItems (std::vector<Item> items)
{
    known = std::move (items);
    index.clear();
    for (size_t i = 0; i < known.size(); ++i)
        index[known[i].id] = i;
}

const LayoutEditSession::Item* LayoutEditSession::item (const std::string& id) const
{
    const auto found = index.find (id);
    return found == index.end() ? nullptr : &known[found->second];
}

void LayoutEditSession::setDefaultDocument (LayoutDocument document)
{
    defaults = std::move (document);
    defaultRects.clear();
    for (const auto& t : defaults.targets)
        defaultRects[t.id] = t.rect;
}

void LayoutEditSession::applyDocument (const LayoutDocument& document)
{
    State next;
    unknownIds = 0;
    for (const auto& t : document.targets)
    {
        if (!known.empty() && item (t.id) == nullptr)
            ++unknownIds;
        next.rects[t.id] = t.rect;
    }
    for (const auto& s : document.styles)
        next.styles[s.id] = s;
    for (const auto& p : document.pageHeights)
        next.pageHeights[p.id] = p.height;
    next.groups = document.groups;
    next.layerOrder = document.layerOrder;
    state = std::move (next);
    history.clear();
    selection.clear();
    edited = false;
}

void LayoutEditSession::mergeDocument (const LayoutDocument& document)
{
    for (const auto& t : document.targets)
        state.rects[t.id] = t.rect;
    for (const auto& s : document.styles)
        state.styles[s.id] = s;
}

LayoutRect LayoutEditSession::rect (const std::string& id) const
{
    if (const auto found = state.rects.find (id); found != state.rects.end())
        return found->second;
    if (const auto found = defaultRects.find (id); found != defaultRects.end())
        return found->second;
    if (const auto* i = item (id))
        return i->rect;
    return {};
}

const LayoutStyle* LayoutEditSession::style (const std::string& id) const
{
    if (const auto found = state.styles.find (id); found != state.styles.end())
        return &found->second;
    return defaults.style (id);
}

std::optional<int> LayoutEditSession::pageHeight (const std::string& pageId) const
{
    if (const auto found = state.pageHeights.find (pageId); found != state.pageHeights.end())
        return found->second;
    return defaults.pageHeight (pageId);
}

std::optional<LayoutRect> LayoutEditSession::userRect (const std::string& id) const
{
    if (const auto found = state.rects.find (id); found != state.rects.end())
        return found->second;
    return std::nullopt;
}

void LayoutEditSession::noteOwnRect (const std::string& id, LayoutRect r)
{
    if (const auto found = index.find (id); found != index.end())
        known[found->second].rect = r;
}

bool LayoutEditSession::isOverridden (const std::string& id) const
{
    return state.rects.count (id) > 0 || state.styles.count (id) > 0;
}

void LayoutEditSession::setEnabled (bool on)
{
    if (on == enabled)
        return;
    enabled = on;
    if (!on)
        selection.clear();
    logLine (on ? "Layout mode enabled.\n" : "Layout mode disabled.\n");
}

void LayoutEditSession::select (const std::string& id, bool addToSelection)
{
    const auto found = std::find (selection.begin(), selection.end(), id);
    if (!addToSelection)
    {
        selection = { id };
        return;
    }
    if (found != selection.end())
        selection.erase (found); // a second click with the modifier takes it out again
    else
        selection.push_back (id);
}

void LayoutEditSession::remember()
{
    history.push_back (state);
    if (history.size() > maxUndo)
        history.erase (history.begin());
    edited = true;
}

const LayoutGroup* LayoutEditSession::groupOf (const std::string& id) const
{
    for (const auto& g : state.groups)
        if (std::find (g.members.begin(), g.members.end(), id) != g.members.end())
            return &g;
    return nullptr;
}

std::vector<std::string> LayoutEditSession::withLockedGroups (const std::vector<std::string>& ids) const
{
    std::vector<std::string> all;
    const auto add = [&all] (const std::string& id)
    {
        if (std::find (all.begin(), all.end(), id) == all.end())
            all.push_back (id);
    };
    for (const auto& id : ids)
    {
        add (id);
        for (const auto& g : state.groups)
            if (g.locked && std::find (g.members.begin(), g.members.end(), id) != g.members.end())
                for (const auto& m : g.members)
                    add (m);
    }
    return all;
}

void LayoutEditSession::moveSelection (int dx, int dy)
{
    if (selection.empty() || (dx == 0 && dy == 0))
        return;
    remember();
    for (const auto& id : withLockedGroups (selection))
    {
        auto r = rect (id);
        r.x = juce::jlimit (0, LayoutDocument::designWidth - 1, snap (r.x + dx));
        r.y = juce::jlimit (0, LayoutDocument::maxPageHeight, snap (r.y + dy));
        state.rects[id] = r;
        state.touched.insert (id);
    }
}

void LayoutEditSession::resizeSelection (int dw, int dh)
{
    if (selection.empty() || (dw == 0 && dh == 0))
        return;
    remember();
    for (const auto& id : selection)
    {
        auto r = rect (id);
        r.width = juce::jlimit (grid, LayoutDocument::designWidth, snap (r.width + dw));
        r.height = juce::jlimit (grid, LayoutDocument::maxPageHeight, snap (r.height + dh));
        state.rects[id] = r;
        state.touched.insert (id);
    }
}

void LayoutEditSession::setStyle (const LayoutStyle& s)
{
    remember();
    if (s.isEmpty())
        state.styles.erase (s.id);
    else
        state.styles[s.id] = s;
    state.touched.insert (s.id);
}

void LayoutEditSession::fitPageHeight (const std::string& pageId, int pageTop,
                                       const std::vector<std::string>& pageItems)
{
    int bottom = 0;
    for (const auto& id : pageItems)
    {
        const auto r = rect (id);
        bottom = std::max (bottom, r.y + r.height - pageTop);
    }
    remember();
    state.pageHeights[pageId] = juce::jlimit (LayoutDocument::minPageHeight, LayoutDocument::maxPageHeight, bottom);
    logLine ("Layout page height fit to visible items" + keep);
}

void LayoutEditSession::createAssociationGroup (const std::string& id)
{
    const auto dot = id.rfind ('.');
    std::vector<std::string> members;
    if (dot != std::string::npos && dot > 0)
    {
        const auto section = id.substr (0, dot + 1);
        for (const auto& i : known)
            if (startsWith (i.id, section) && i.visible)
                members.push_back (i.id);
    }
    const auto groupId = dot == std::string::npos ? std::string() : "association." + id.substr (0, dot);
    const bool exists = std::any_of (state.groups.begin(), state.groups.end(),
                                     [&groupId] (const LayoutGroup& g) { return g.id == groupId; });
    if (members.size() < 2 || exists)
    {
        logLine ("No associated layout group could be created for this item.\n");
        return;
    }
    remember();
    state.groups.push_back ({ groupId, id.substr (0, dot), false, members });
    logLine ("Layout group created. Press LOCK to move it as one unit, and SAVE to keep it.\n");
}

void LayoutEditSession::createManualGroup()
{
    if (selection.size() < 2)
    {
        logLine ("No manual layout group could be created from the current selection.\n");
        return;
    }
    int number = 1;
    const auto taken = [this] (int n)
    {
        return std::any_of (state.groups.begin(), state.groups.end(),
                            [n] (const LayoutGroup& g) { return g.id == "manual." + std::to_string (n); });
    };
    while (taken (number))
        ++number;
    remember();
    state.groups.push_back (
        { "manual." + std::to_string (number), "Custom Group " + std::to_string (number), false, selection });
    logLine ("Manual layout group created. Press LOCK to move it as one unit, and SAVE to keep it.\n");
}

void LayoutEditSession::setGroupLocked (const std::string& groupId, bool locked)
{
    for (auto& g : state.groups)
        if (g.id == groupId)
        {
            history.push_back (state);
            edited = true;
            for (auto& h : state.groups)
                if (h.id == groupId)
                    h.locked = locked;
            logLine (locked ? "Layout group locked" + keep : "Layout group unlocked" + keep);
            return;
        }
}

void LayoutEditSession::resetItem (const std::string& id)
{
    remember();
    state.rects.erase (id);
    state.styles.erase (id);
    logLine ("Layout override reset" + keep);
}

void LayoutEditSession::resetAll()
{
    remember();
    state = {};
    logLine ("All layout overrides reset" + keep);
}

void LayoutEditSession::bringToFront (const std::string& id)
{
    remember();
    auto& order = state.layerOrder;
    order.erase (std::remove (order.begin(), order.end(), id), order.end());
    order.push_back (id);
    logLine ("Layout target brought to front" + keep);
}

void LayoutEditSession::sendToBack (const std::string& id)
{
    remember();
    auto& order = state.layerOrder;
    order.erase (std::remove (order.begin(), order.end(), id), order.end());
    order.insert (order.begin(), id);
    logLine ("Layout target sent to back" + keep);
}

void LayoutEditSession::undo()
{
    if (history.empty())
    {
        logLine ("No layout edit is available to undo.\n");
        return;
    }
    state = std::move (history.back());
    history.pop_back();
    edited = true;
    logLine ("Layout edit undone" + keep);
}

LayoutEditSession::Capture LayoutEditSession::capture (const std::vector<std::string>& visibleIds) const
{
    Capture c;
    std::set<std::string> written;
    const auto add = [&] (const std::string& id, bool verify)
    {
        if (!written.insert (id).second)
            return;
        // A closed popup's items are not on screen: their kind comes from the default layout.
        const auto* i = item (id);
        const auto* d = i == nullptr ? defaults.target (id) : nullptr;
        LayoutTarget t{ id, rect (id), i != nullptr ? i->type : (d != nullptr ? d->type : std::string()) };
        c.document.targets.push_back (t);
        if (verify)
            c.captured.push_back (t);
    };
    // A popup's items are written only where the user placed them, whether the popup is open or not:
    // the popup lays out the rest itself each time it opens.
    for (const auto& id : visibleIds)
        if (!startsWith (id, "popup."))
            add (id, true);
    for (const auto& [id, r] : state.rects)
        if (startsWith (id, "popup."))
        {
            add (id, true);
            ++c.popups;
        }
    for (const auto& id : state.touched)
    {
        const auto other = otherPaneId (id);
        if (other.empty() || state.rects.count (id) == 0 || written.count (other) > 0)
            continue;
        const auto* i = item (id);
        LayoutTarget t{ other, rect (id), i != nullptr ? i->type : std::string() };
        written.insert (other);
        c.document.targets.push_back (t);
        c.captured.push_back (t);
        ++c.mirrored;
    }
    // Overrides of items not on screen now (other pages, closed panes) are kept as they are.
    for (const auto& [id, r] : state.rects)
        add (id, false);
    for (const auto& [id, s] : state.styles)
        c.document.styles.push_back (s);
    for (const auto& [id, h] : state.pageHeights)
        c.document.pageHeights.push_back ({ id, h });
    c.document.groups = state.groups;
    c.document.layerOrder = state.layerOrder;
    return c;
}

LayoutDocument LayoutEditSession::currentLook() const
{
    LayoutDocument doc;
    for (const auto& i : known)
        doc.targets.push_back ({ i.id, rect (i.id), i.type });
    for (const auto& [id, s] : state.styles)
        doc.styles.push_back (s);
    for (const auto& [id, h] : state.pageHeights)
        doc.pageHeights.push_back ({ id, h });
    doc.groups = state.groups;
    doc.layerOrder = state.layerOrder;
    return doc;
}

} // namespace orvo
