#pragma once

#include "LayoutDocument.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvo
{

/** The layout the editor shows and the edits of layout mode, without any component: items are
    known by id with the rectangle the editor's own look gives them; the session keeps what the
    default document, a loaded file and the user's edits change on top. Every edit stays in memory
    until it is saved; each can be undone. */
class LayoutEditSession
{
public:
    using Log = std::function<void (const std::string&)>;

    struct Item
    {
        std::string id;
        std::string type;
        LayoutRect rect; // the editor's own placement, before any layout
        bool visible = true;
    };

    /** Moves and sizes snap to this grid (design pixels). */
    static constexpr int grid = 2;

    explicit LayoutEditSession (Log log = {});

    /** The items of the running editor (replaces the list; overrides stay). */
    void setItems (std::vector<Item> items);
    const std::vector<Item>& items() const { return known; }
    const Item* item (const std::string& id) const;

    /** The compiled-in default, under every user layout. */
    void setDefaultDocument (LayoutDocument document);
    /** Puts a partial layout (one effect algorithm's) over the current one, without an undo step. */
    void mergeDocument (const LayoutDocument& document);
    /** A user layout on top of the default; ids the editor does not know are counted, not applied. */
    void applyDocument (const LayoutDocument& document);
    /** How many ids of the last applied document the editor does not know. */
    int unknownIdsInLastDocument() const { return unknownIds; }

    /** Where an item is now: the user's override, else the default document's, else its own. */
    LayoutRect rect (const std::string& id) const;
    const LayoutStyle* style (const std::string& id) const;
    /** The rectangle a loaded layout or an edit gives the item; nothing keeps the editor's own place. */
    std::optional<LayoutRect> userRect (const std::string& id) const;
    /** The editor placed an item itself (after its own layout pass). */
    void noteOwnRect (const std::string& id, LayoutRect rect);
    std::optional<int> pageHeight (const std::string& pageId) const;
    const std::vector<LayoutGroup>& groups() const { return state.groups; }
    const std::vector<std::string>& layerOrder() const { return state.layerOrder; }
    /** Items whose place or style the user's layout changes (not the default). */
    bool isOverridden (const std::string& id) const;

    // Layout mode.
    bool isEnabled() const { return enabled; }
    void setEnabled (bool on);

    void select (const std::string& id, bool addToSelection);
    void clearSelection() { selection.clear(); }
    const std::vector<std::string>& selected() const { return selection; }

    /** Moves the selection (and the whole of every locked group it touches) by the offset, snapped. */
    void moveSelection (int dx, int dy);
    /** Resizes the selection's items by the offset (never below one grid step), snapped. */
    void resizeSelection (int dw, int dh);
    void setStyle (const LayoutStyle& style);

    /** The page's scrollable height becomes the lowest bottom of its visible items below `pageTop`. */
    void fitPageHeight (const std::string& pageId, int pageTop, const std::vector<std::string>& pageItems);
    /** "association." + the item's section: every item sharing the section of the id's parent. */
    void createAssociationGroup (const std::string& id);
    /** "manual." + a number, from the selection. */
    void createManualGroup();
    void setGroupLocked (const std::string& groupId, bool locked);
    /** The group the item belongs to (the first one), if any. */
    const LayoutGroup* groupOf (const std::string& id) const;
    void resetItem (const std::string& id);
    void resetAll();
    void bringToFront (const std::string& id);
    void sendToBack (const std::string& id);
    void undo();
    bool hasUnsavedEdits() const { return edited; }

    /** What SAVE writes: every captured item's rectangle (the visible items given), with the
        sidebar items edited in one pane mirrored to the same tool in the other; plus the styles,
        order, page heights and groups. Popup items are written (and counted in `popups`) only where
        the user placed them. `mirrored` and `popups` count what the alert reports. */
    struct Capture
    {
        LayoutDocument document;
        std::vector<LayoutTarget> captured;
        int mirrored = 0, popups = 0;
    };
    Capture capture (const std::vector<std::string>& visibleIds) const;
    /** Marks the current state saved. */
    void markSaved() { edited = false; }

    /** Every known item with the rectangle it has now, as a document (the "current look"). */
    LayoutDocument currentLook() const;

private:
    struct State
    {
        std::map<std::string, LayoutRect> rects;
        std::map<std::string, LayoutStyle> styles;
        std::map<std::string, int> pageHeights;
        std::vector<LayoutGroup> groups;
        std::vector<std::string> layerOrder;
        std::set<std::string> touched; // ids edited in this session, for mirroring
    };
    void remember();
    void logLine (const std::string& text) const;
    std::vector<std::string> withLockedGroups (const std::vector<std::string>& ids) const;

    Log log;
    std::vector<Item> known;
    std::map<std::string, size_t> index;
    LayoutDocument defaults;
    std::map<std::string, LayoutRect> defaultRects;
    State state;
    std::vector<State> history;
    std::vector<std::string> selection;
    bool enabled = false, edited = false;
    int unknownIds = 0;
};

} // namespace orvo
