#pragma once

#include "LibrarianController.h"
#include "ProgramSelector.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <string>
#include <vector>

namespace orvo
{

/** The LIBRARY panel's logic: the Program list of the selected bank or of the library folder,
    narrowed by a search text and by tag filters; the tags of the selected slot; erasing a tag from a
    whole bank. Choosing a bank row selects that slot as the bottom bar does; choosing a library row
    loads the document as LOAD PROGRAM does. */
class ProgramFinder
{
public:
    enum class Scope
    {
        bank,
        library
    };
    /** At most this many library rows are listed; the count of every match is kept. */
    static constexpr size_t maxLibraryRows = 500;

    struct Row
    {
        std::string label; // "USER 010", or the document's file name
        std::string name;
        std::string tagsText; // the tags, ", "-separated
        int bank = -1, slot = -1;
        juce::File file; // a library row's document
        bool selected = false;
    };

    ProgramFinder (LibrarianController& librarian, ProgramSelector& selector, Prompts& prompts, LibrarianLog log);

    void setQuery (const std::string& text);
    const std::string& query() const { return searchText; }
    void setScope (Scope s);
    Scope scope() const { return currentScope; }

    //==== tag filters ====
    void toggleFilter (const std::string& tag);
    bool isFiltering (const std::string& tag) const;
    const std::vector<std::string>& filters() const { return filterTags; }
    /** "CLEAR ALL TAGS". */
    void clearFilters();

    //==== the selected slot's tags ====
    bool selectedSlotHas (const std::string& tag) const;
    /** "USER 010 Warm Pad": the slot the tag buttons act on. */
    std::string selectedSlotLabel() const;
    /** Adds or removes a tag of the selected slot; the working environment is saved and the slot's
        documents are updated by Auto Save Tools. */
    void toggleSelectedSlotTag (const std::string& tag);
    /** "ERASE ALL TAGS": asks, then removes the filtered tags from all 128 slots of the selected bank.
        Without a filtered tag there is nothing to erase. */
    void eraseFilteredTagsFromBank();

    /** The rows for the current scope, search and filters; recomputed when anything they depend on
        changed (call from the timer: cheap when nothing did). */
    const std::vector<Row>& rows();
    /** Every match, also those beyond the listed rows (library scope). */
    size_t matchCount() const { return matches; }
    /** Changes whenever the rows or the selected slot's tags change, so a view knows when to repaint. */
    int generation() const { return gen; }
    /** Marks the rows for recomputing (after a library change the index does not see by itself). */
    void invalidate() { stale = true; }

    void choose (size_t row);

    /** The texts the panel shows for the tag buttons. */
    static std::string tagCaption (const std::string& tag);
    std::string tagTooltip (const std::string& tag, bool assignButton) const;

private:
    void recompute();
    void changed();
    std::string slotSignature() const;

    LibrarianController& librarian;
    ProgramSelector& selector;
    Prompts& prompts;
    LibrarianLog log;
    std::string searchText;
    Scope currentScope = Scope::bank;
    std::vector<std::string> filterTags;
    std::vector<Row> list;
    size_t matches = 0;
    bool stale = true;
    std::string lastSignature;
    int gen = 0;
};

} // namespace orvo
