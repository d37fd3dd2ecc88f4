#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvo
{

/** What the library lookup needs from every ".orvop" below the Programs folder, kept between lookups
    so a selection change never parses the whole library.

    A lookup re-reads only what changed: each folder's modification time is checked (adding, removing
    or atomically replacing a document changes it), a changed folder is listed again and only its files
    with a new size or time are parsed. Files that were still settling at the last look, and the
    candidates a lookup is about to return, are checked one by one. A document edited in place by
    another program inside an unchanged folder is seen by the next full refresh. */
/** A search text as the words every match must hold: lower case, split at blanks, a "quoted phrase"
    kept as one word. */
std::vector<std::string> searchWords (const std::string& query);

class ProgramLibraryIndex
{
public:
    /** Asked on every refresh, so a new library root takes effect at once. */
    explicit ProgramLibraryIndex (std::function<juce::File()> programsFolder);

    /** Brings the index up to date with the folder tree (cheap when nothing changed). */
    void refresh();
    /** Checks every file's size and time as well; for start-up or an idle moment. */
    void fullRefresh();
    /** A document the editor itself has just written (or removed): taken into the index at once, so a
        lookup finds it even when the folder's time did not move on. Files outside the indexed folder
        and calls before the first lookup are ignored (the first lookup reads everything anyway). */
    void noteFileChanged (const juce::File& file);

    /** The Program document for a slot by its name: "type" "program", the normalised name equal, the
        "bankNumber" (when given) equal to `bank`. The file named after the slot's default stem wins;
        among the rest the newest, then the first by path. Nothing for an empty name. */
    std::optional<juce::File> findProgramFile (int bank, int slot, const std::string& slotName);

    /** A Program document found by `search`. */
    struct Hit
    {
        juce::File file;
        std::string name;
        int bankNumber = -1;
        std::vector<std::string> tags;
    };
    struct SearchResult
    {
        std::vector<Hit> hits; // by name (ignoring case), then path; at most the limit asked for
        size_t matches = 0;    // every match, also those beyond the limit
    };
    /** The Program documents whose name, tags or notes hold every word of `query` (ignoring case and
        accents of the names' normal form) and that carry every tag of `requiredTags`. An empty query
        matches every document. Brings the index up to date first (cheap when nothing changed). */
    SearchResult search (const std::string& query, const std::vector<std::string>& requiredTags, size_t limit);

    size_t documentCount() const { return entries.size(); }
    /** Files parsed by the last refresh (to show that unchanged files are not read again). */
    int parsedByLastRefresh() const { return parsedCount; }

private:
    using FileTime = std::int64_t; // nanoseconds of the file system clock

    struct Entry
    {
        FileTime time = 0;
        std::uintmax_t size = 0;
        bool settled = false;
        bool qualifies = false; // an object with "type" "program"
        bool verified = false;  // the whole document was parsed, not only its head
        std::string normalizedName;
        int bankNumber = -1; // -1: none given
        std::string displayName;
        std::vector<std::string> tags;
        std::string searchText; // name, tags and notes, lower case
    };
    struct Folder
    {
        FileTime time = 0;
        bool settled = false;
        std::vector<std::string> files;
        std::vector<std::string> subfolders;
    };

    void update (bool checkEveryFile);
    void visitFolder (const std::string& path, bool checkEveryFile, FileTime now);
    void listFolder (const std::string& path, Folder& folder, FileTime now);
    void checkFile (const std::string& path, FileTime now, bool force);
    void parseInto (const std::string& path, Entry& entry);
    void verify (const std::string& path, Entry& entry);
    struct Fields
    {
        juce::var type, name, normalizedName, bankNumber, notes, tags;
    };
    static void takeFields (Entry& entry, const Fields& fields);
    void forgetFolder (const std::string& path);
    void forgetFile (const std::string& path);
    void addToNameIndex (const std::string& path, const Entry& e);
    void removeFromNameIndex (const std::string& path, const Entry& e);
    void clear();

    std::function<juce::File()> programsFolder;
    std::string rootPath;
    std::map<std::string, Folder> folders;
    std::unordered_map<std::string, Entry> entries;
    std::unordered_multimap<std::string, std::string> byName;
    int parsedCount = 0;
    /** Qualifying documents in search order, rebuilt when the index changed since the last search. */
    std::vector<std::pair<std::string, const Entry*>> searchOrder;
    bool searchOrderStale = true;
};

} // namespace orvo
