#include "ProgramFinder.h"

#include <algorithm>

namespace orvo
{
namespace
{
std::string joinTags (const std::vector<std::string>& tags)
{
    std::string out;
    for (const auto& t : tags)
        out += (out.empty() ? "" : ", ") + t;
    return out;
}

bool hasTag (const std::vector<std::string>& tags, const std::string& tag)
{
    return std::find (tags.begin(), tags.end(), tag) != tags.end();
}

std::string threeDigits (int n)
{
    return juce::String (n).paddedLeft ('0', 3).toStdString();
}
} // namespace

ProgramFinder::ProgramFinder (LibrarianController& l, ProgramSelector& s, Prompts& p, LibrarianLog logFn)
    : librarian (l), selector (s), prompts (p), log (std::move (logFn))
{
}

void ProgramFinder::changed()
{
    stale = true;
}

void ProgramFinder::setQuery (const std::string& text)
{
    if (text != searchText)
        searchText = text, changed();
}

void ProgramFinder::setScope (Scope s)
{
    if (s != currentScope)
        currentScope = s, changed();
}

void ProgramFinder::toggleFilter (const std::string& tag)
{
    if (auto it = std::find (filterTags.begin(), filterTags.end(), tag); it != filterTags.end())
        filterTags.erase (it);
    else if (hasTag (canonicalTagKeys(), tag))
    {
        juce::Array<juce::var> next;
        for (const auto& t : filterTags)
            next.add (juce::String (t));
        next.add (juce::String (tag));
        filterTags = normalizeTagKeys (juce::var (next));
    }
    changed();
}

bool ProgramFinder::isFiltering (const std::string& tag) const
{
    return hasTag (filterTags, tag);
}

void ProgramFinder::clearFilters()
{
    filterTags.clear();
    changed();
}

bool ProgramFinder::selectedSlotHas (const std::string& tag) const
{
    const auto& state = librarian.state();
    return hasTag (state.slot (selector.bank(), selector.program()).tags, tag);
}

std::string ProgramFinder::selectedSlotLabel() const
{
    const auto& state = librarian.state();
    const int bank = selector.bank(), slot = selector.program();
    const auto& name = state.names.name (bank, slot);
    return state.bankDisplayName (bank) + " " + threeDigits (slot) + (name.empty() ? "" : " " + name);
}

void ProgramFinder::toggleSelectedSlotTag (const std::string& tag)
{
    if (!hasTag (canonicalTagKeys(), tag))
        return;
    const int bank = selector.bank(), slot = selector.program();
    auto& tags = librarian.state().slot (bank, slot).tags;
    juce::Array<juce::var> next;
    for (const auto& t : tags)
        if (t != tag)
            next.add (juce::String (t));
    if (!hasTag (tags, tag))
        next.add (juce::String (tag));
    tags = normalizeTagKeys (juce::var (next));
    librarian.autoSave().markSlotDirty (bank, slot);
    librarian.workingEnvironment().save();
    changed();
    if (librarian.refreshViews)
        librarian.refreshViews();
}

void ProgramFinder::eraseFilteredTagsFromBank()
{
    if (filterTags.empty())
        return;
    prompts.showChoice ("Erase Tags",
                        "Clicking ERASE will erase the selected tag from every Program in the current bank. "
                        "This cannot be undone.",
                        { "ERASE", "CANCEL" },
                        [this, bank = selector.bank(), erase = filterTags] (int choice)
                        {
                            if (choice != 0)
                                return;
                            auto& state = librarian.state();
                            int touched = 0;
                            for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
                            {
                                auto& tags = state.slot (bank, slot).tags;
                                const auto before = tags.size();
                                tags.erase (std::remove_if (tags.begin(), tags.end(),
                                                            [&] (const std::string& t) { return hasTag (erase, t); }),
                                            tags.end());
                                if (tags.size() != before)
                                {
                                    ++touched;
                                    librarian.autoSave().markSlotDirty (bank, slot);
                                }
                            }
                            librarian.workingEnvironment().save();
                            if (log)
                                log ("Erased " + joinTags (erase) + " from " + std::to_string (touched) + " Programs in "
                                     + state.bankDisplayName (bank) + ".\n");
                            changed();
                            if (librarian.refreshViews)
                                librarian.refreshViews();
                        });
}

std::string ProgramFinder::slotSignature() const
{
    // What the bank rows depend on besides the search: the selection and every name and tag of the bank.
    const auto& state = librarian.state();
    const int bank = selector.bank();
    std::string sig = std::to_string (bank) + "/" + std::to_string (selector.program()) + "/" + selectedSlotLabel() + "/";
    for (const auto& t : state.slot (bank, selector.program()).tags)
        sig += t + ",";
    if (currentScope == Scope::bank)
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        {
            sig += state.names.name (bank, slot);
            sig += '\x1f';
            for (const auto& t : state.slot (bank, slot).tags)
                sig += t + ",";
            sig += '\x1e';
        }
    return sig;
}

const std::vector<ProgramFinder::Row>& ProgramFinder::rows()
{
    auto sig = slotSignature();
    if (sig != lastSignature)
        lastSignature = std::move (sig), stale = true;
    if (stale)
        recompute();
    return list;
}

void ProgramFinder::recompute()
{
    stale = false;
    ++gen;
    list.clear();
    matches = 0;
    if (currentScope == Scope::library)
    {
        auto found = librarian.programFlows().libraryIndex().search (searchText, filterTags, maxLibraryRows);
        matches = found.matches;
        for (auto& hit : found.hits)
        {
            Row row;
            row.label = hit.file.getFileName().toStdString();
            row.name = hit.name.empty() ? hit.file.getFileNameWithoutExtension().toStdString() : hit.name;
            row.tagsText = joinTags (hit.tags);
            row.bank = hit.bankNumber;
            row.file = hit.file;
            list.push_back (std::move (row));
        }
        return;
    }

    const auto words = searchWords (searchText);
    const auto& state = librarian.state();
    const int bank = selector.bank();
    const auto bankName = state.bankDisplayName (bank);
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
    {
        const auto& s = state.slot (bank, slot);
        if (!std::all_of (filterTags.begin(), filterTags.end(), [&] (const std::string& t) { return hasTag (s.tags, t); }))
            continue;
        const auto& name = state.names.name (bank, slot);
        const auto haystack = (juce::String (juce::CharPointer_UTF8 (name.c_str())) + "\n" + joinTags (s.tags) + "\n"
                               + juce::String (juce::CharPointer_UTF8 (s.notes.c_str())))
                                  .toLowerCase()
                                  .toStdString();
        if (!std::all_of (words.begin(), words.end(), [&] (const std::string& w) { return haystack.find (w) != std::string::npos; }))
            continue;
        Row row;
        row.label = bankName + " " + threeDigits (slot);
        row.name = name;
        row.tagsText = joinTags (s.tags);
        row.bank = bank;
        row.slot = slot;
        row.selected = slot == selector.program();
        list.push_back (std::move (row));
    }
    matches = list.size();
}

void ProgramFinder::choose (size_t index)
{
    rows(); // the rows the player saw: the search may have changed since they were last computed
    if (index >= list.size())
        return;
    const auto row = list[index];
    if (row.file != juce::File())
        librarian.loadProgramDocument (row.file);
    else if (row.slot >= 0)
        selector.select (row.bank, row.slot, "Program list");
    changed();
}

std::string ProgramFinder::tagCaption (const std::string& tag)
{
    return juce::String (tag).toUpperCase().toStdString();
}

std::string ProgramFinder::tagTooltip (const std::string& tag, bool assignButton) const
{
    if (assignButton)
        return selectedSlotHas (tag) ? "This tag is assigned to the current Program. Click to remove it."
                                     : "Click to assign this tag to the current Program.";
    return "Use this tag to filter the Program list.";
}

} // namespace orvo
