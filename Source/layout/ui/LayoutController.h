#pragma once

#include "LayoutItems.h"
#include "layout/LayoutEditSession.h"
#include "layout/LayoutLibrary.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace orvo
{
class LayoutOverlay;

/** Puts the layout on the editor's components: after every pass of the editor's own placement it
    sets the bounds, styles and drawing order the layout gives, and in layout mode it shows the
    overlay on which items are selected, moved and resized. */
class LayoutController
{
public:
    using Log = std::function<void (const std::string&)>;

    LayoutController (juce::Component& root, Prompts& prompts, FileDialogs& dialogs,
                      std::function<juce::File()> layoutsFolder, Log log);
    ~LayoutController();

    LayoutEditSession& session() { return edits; }
    LayoutLibrary& library() { return files; }

    /** The compiled-in default under the newest layout of the library. */
    void startup();
    /** Puts every item where the layout says (call after the editor placed them itself). */
    void apply();

    bool isLayoutMode() const { return edits.isEnabled(); }
    void setLayoutMode (bool on);
    void toggleLayoutMode() { setLayoutMode (!isLayoutMode()); }

    /** The ids of the items on screen now. */
    std::vector<std::string> visibleIds();
    juce::Component* component (const std::string& id) const;
    const std::vector<LayoutItemRef>& currentItems() const { return items; }
    /** The item's rectangle on the editor surface. */
    juce::Rectangle<int> surfaceBounds (const std::string& id) const;

    void save();
    void saveAs();
    void load();
    /** The page shown now ("page0" ...) and its top, for FIT PAGE. */
    std::function<int()> currentPage;
    void fitPage();

    /** The effect algorithm the EFFECTS page shows; its Digital FX layout goes over the layout when it changes. */
    std::function<std::string()> currentAlgorithmName;
    void showAlgorithm (int index);
    void saveDigitalFx();
    void reloadDigitalFx();
    /** Runs at the end of every apply(): the editor gives its pages the layout's heights. */
    /** Escape with nothing selected: a popup opened inside the editor for arranging closes. */
    std::function<void()> onDismissPopup;
    std::function<void()> afterApply;
    /** Layout mode was entered or left. */
    std::function<void()> onModeChanged;
    /** An item was right-clicked in layout mode (a control's range popup opens for arranging). */
    std::function<void (const std::string& id)> onItemMenu;

    /** Puts the layout on a popup shown outside the editor (in a call-out box): the popup takes the
        size its layout id has, its items their places and styles. */
    void applyToPopup (juce::Component& popup);
    /** Forgets the captions and fonts kept for the items under `idPrefix` (a popup that closed). */
    void forgetItems (const std::string& idPrefix);

    /** Adds every item with the rectangle it has now (items already in `look` stay as they are). */
    void addCurrentLook (LayoutDocument& look);
    /** Writes a look gathered by addCurrentLook as the editor's default layout document. */
    bool writeLook (LayoutDocument look, const juce::File& file);

    /** The selection or the layout changed: the panels show it again. */
    void changed();
    /** Ids that two items answered to (a developer's slip, reported once each). */
    const std::set<std::string>& duplicateIds() const { return reportedDuplicates; }
    std::vector<std::function<void()>> listeners;

private:
    void collect();
    void applyStyle (juce::Component& c, const std::string& id);

    juce::Component& root;
    Log log;
    LayoutEditSession edits;
    LayoutLibrary files;
    std::vector<LayoutItemRef> items;
    std::map<std::string, juce::Component*> byId;
    std::set<std::string> reportedDuplicates;
    struct Original
    {
        juce::String text;
        juce::Font font;
    };
    std::map<std::string, Original> originals;
    /** Text displays with LCD attributes: their own font and indents, and the style put on them. */
    struct DisplayOriginal
    {
        juce::Font font;
        int left = 0, top = 0;
        LayoutStyle applied;
    };
    std::map<std::string, DisplayOriginal> displayOriginals;
    void applyTextDisplayStyle (juce::TextEditor& editor, const std::string& id, const LayoutStyle* style);
    std::unique_ptr<LayoutOverlay> overlay;
    bool applying = false;
    int shownAlgorithm = -1;
};

} // namespace orvo
