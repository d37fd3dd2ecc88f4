#include "ProgramLibraryIndex.h"
#include "JsonText.h"

#include "FileNaming.h"
#include "LibrarianState.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace orvo
{
namespace
{
// A time this close to the moment of looking may still change within the file system's clock
// granularity without the time moving on, so such items are looked at again next time.
constexpr std::int64_t settleWindowNs = 2'000'000'000;

std::int64_t toNs (fs::file_time_type t)
{
    return (std::int64_t)std::chrono::duration_cast<std::chrono::nanoseconds> (t.time_since_epoch()).count();
}

std::int64_t nowNs()
{
    return toNs (fs::file_time_type::clock::now());
}

bool isProgramDocumentName (const fs::path& p)
{
    return juce::String (p.extension().string()).equalsIgnoreCase (".orvop");
}

std::string keyOf (const fs::path& p)
{
    return p.lexically_normal().string();
}

/** The few top-level values the index needs, read without building the document: saved documents
    name themselves in their first few hundred bytes, before the long parameter list. */
struct HeaderScan
{
    enum class Result
    {
        found,      // every wanted key seen, or the object ended
        needMore,   // the text ended first
        notAnObject // not a JSON object
    };
    Result result = Result::notAnObject;
    juce::var type, name, normalizedNameValue, bankNumber, notes, tags;
};

/** Keys whose values are long; once the document has named itself, the scan stops before them. */
bool isBulkKey (std::string_view key)
{
    return key == "parameters" || key == "controlPages" || key == "slots";
}

HeaderScan scanHeader (const char* text, size_t length, bool wholeText)
{
    HeaderScan out;
    size_t i = 0;
    const auto end = [&] { return i >= length; };
    const auto ran = [&]
    {
        out.result = wholeText ? HeaderScan::Result::notAnObject : HeaderScan::Result::needMore;
        return out;
    };
    const auto skipSpace = [&]
    {
        while (!end() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
            ++i;
    };
    // Moves past a string starting at text[i] == '"'; false when the text ends inside it.
    const auto skipString = [&]
    {
        for (++i; !end(); ++i)
        {
            if (text[i] == '\\')
                ++i;
            else if (text[i] == '"')
            {
                ++i;
                return true;
            }
        }
        return false;
    };
    skipSpace();
    if (end())
        return ran();
    if (text[i] != '{')
        return out;
    ++i;
    int seen = 0;
    for (;;)
    {
        skipSpace();
        if (end())
            return ran();
        if (text[i] == '}')
            break;
        if (text[i] != '"')
            return out;
        const size_t keyStart = i + 1;
        if (!skipString())
            return ran();
        const std::string_view key (text + keyStart, i - 1 - keyStart);
        if (isBulkKey (key) && !out.type.isVoid() && !(out.name.isVoid() && out.normalizedNameValue.isVoid()))
            break;
        skipSpace();
        if (end())
            return ran();
        if (text[i] != ':')
            return out;
        ++i;
        skipSpace();
        if (end())
            return ran();
        const size_t valueStart = i;
        if (text[i] == '"')
        {
            if (!skipString())
                return ran();
        }
        else if (text[i] == '{' || text[i] == '[')
        {
            int depth = 0;
            for (; !end(); ++i)
            {
                const char c = text[i];
                if (c == '"')
                {
                    if (!skipString())
                        return ran();
                    --i;
                }
                else if (c == '{' || c == '[')
                    ++depth;
                else if ((c == '}' || c == ']') && --depth == 0)
                {
                    ++i;
                    break;
                }
            }
            if (depth != 0)
                return ran();
        }
        else
        {
            while (!end() && text[i] != ',' && text[i] != '}' && text[i] != ' ' && text[i] != '\n' && text[i] != '\r' &&
                   text[i] != '\t')
                ++i;
            if (end())
                return ran();
        }
        juce::var* wanted = key == "type"             ? &out.type
                            : key == "name"           ? &out.name
                            : key == "normalizedName" ? &out.normalizedNameValue
                            : key == "bankNumber"     ? &out.bankNumber
                            : key == "notes"          ? &out.notes
                            : key == "tags"           ? &out.tags
                                                      : nullptr;
        if (wanted != nullptr)
        {
            // A later duplicate key wins, as in a full parse.
            if (wanted->isVoid())
                ++seen;
            if (parseJson (std::string_view (text + valueStart, i - valueStart), *wanted).failed())
                *wanted = juce::var();
        }
        skipSpace();
        if (end())
            return ran();
        if (text[i] == ',')
        {
            ++i;
            if (seen == 6)
                break;
            continue;
        }
        if (text[i] == '}')
            break;
        return out;
    }
    out.result = HeaderScan::Result::found;
    return out;
}
} // namespace

ProgramLibraryIndex::ProgramLibraryIndex (std::function<juce::File()> folderFn) : programsFolder (std::move (folderFn))
{
}

void ProgramLibraryIndex::clear()
{
    searchOrder.clear();
    searchOrderStale = true;
    folders.clear();
    entries.clear();
    byName.clear();
}

void ProgramLibraryIndex::refresh()
{
    update (false);
}

void ProgramLibraryIndex::fullRefresh()
{
    update (true);
}

void ProgramLibraryIndex::noteFileChanged (const juce::File& file)
{
    if (rootPath.empty() || folders.empty())
        return;
    const auto path = keyOf (fs::path (file.getFullPathName().toStdString()));
    const auto rootWithSeparator = keyOf (fs::path (rootPath) / "");
    if (path.rfind (rootWithSeparator, 0) != 0 || !isProgramDocumentName (fs::path (path)))
        return;
    std::error_code ec;
    if (!fs::is_regular_file (path, ec))
    {
        forgetFile (path);
        return;
    }
    checkFile (path, nowNs(), true);
    // Listed in its folder too, so later checks of that folder's files include it.
    if (const auto folder = folders.find (keyOf (fs::path (path).parent_path())); folder != folders.end())
    {
        auto& files = folder->second.files;
        const auto at = std::lower_bound (files.begin(), files.end(), path);
        if (at == files.end() || *at != path)
            files.insert (at, path);
    }
}

void ProgramLibraryIndex::update (bool checkEveryFile)
{
    parsedCount = 0;
    const auto root = programsFolder ? keyOf (fs::path (programsFolder().getFullPathName().toStdString())) : "";
    if (root != rootPath)
    {
        clear();
        rootPath = root;
    }
    std::error_code ec;
    if (rootPath.empty() || !fs::is_directory (rootPath, ec))
    {
        clear();
        return;
    }
    visitFolder (rootPath, checkEveryFile, nowNs());
}

void ProgramLibraryIndex::visitFolder (const std::string& path, bool checkEveryFile, FileTime now)
{
    std::error_code ec;
    const auto time = fs::last_write_time (path, ec);
    if (ec)
    {
        forgetFolder (path);
        return;
    }
    auto [it, isNew] = folders.try_emplace (path);
    auto& folder = it->second;
    const auto t = toNs (time);
    if (isNew || t != folder.time || !folder.settled)
    {
        folder.time = t;
        folder.settled = now - t > settleWindowNs;
        listFolder (path, folder, now);
    }
    else
    {
        for (const auto& file : folder.files)
        {
            const auto e = entries.find (file);
            if (checkEveryFile || e == entries.end() || !e->second.settled)
                checkFile (file, now, false);
        }
    }
    // A copy: visiting a sub-folder may forget folders below it while this loop runs.
    const auto subfolders = folder.subfolders;
    for (const auto& sub : subfolders)
        visitFolder (sub, checkEveryFile, now);
}

void ProgramLibraryIndex::listFolder (const std::string& path, Folder& folder, FileTime now)
{
    std::vector<std::string> files, subs;
    std::error_code ec;
    for (fs::directory_iterator it (path, ec), end; !ec && it != end; it.increment (ec))
    {
        std::error_code typeError;
        if (it->is_directory (typeError))
            subs.push_back (keyOf (it->path()));
        else if (isProgramDocumentName (it->path()) && it->is_regular_file (typeError))
            files.push_back (keyOf (it->path()));
    }
    std::sort (files.begin(), files.end());
    std::sort (subs.begin(), subs.end());

    for (const auto& old : folder.files)
        if (!std::binary_search (files.begin(), files.end(), old))
            forgetFile (old);
    for (const auto& old : folder.subfolders)
        if (!std::binary_search (subs.begin(), subs.end(), old))
            forgetFolder (old);

    for (const auto& f : files)
        checkFile (f, now, false);

    folder.files = std::move (files);
    folder.subfolders = std::move (subs);
}

void ProgramLibraryIndex::checkFile (const std::string& path, FileTime now, bool force)
{
    std::error_code ec;
    const auto time = fs::last_write_time (path, ec);
    const auto size = ec ? 0 : fs::file_size (path, ec);
    if (ec)
    {
        forgetFile (path);
        return;
    }
    const auto t = toNs (time);
    auto [it, isNew] = entries.try_emplace (path);
    auto& e = it->second;
    if (!isNew && !force && e.time == t && e.size == size && e.settled)
        return;
    if (!isNew && !force && e.time == t && e.size == size)
    {
        e.settled = now - t > settleWindowNs;
        if (!e.settled)
        {
            // Still within the clock's granularity: read it again to be sure.
            removeFromNameIndex (path, e);
            parseInto (path, e);
            addToNameIndex (path, e);
        }
        return;
    }
    if (!isNew)
        removeFromNameIndex (path, e);
    e.time = t;
    e.size = size;
    e.settled = now - t > settleWindowNs;
    parseInto (path, e);
    addToNameIndex (path, e);
}

void ProgramLibraryIndex::parseInto (const std::string& path, Entry& e)
{
    ++parsedCount;
    e.qualifies = false;
    e.verified = false;
    e.normalizedName.clear();
    e.bankNumber = -1;

    // The head of the file usually names the document; the rest is read only when it does not.
    constexpr size_t headBytes = 4096;
    std::string text;
    {
        std::ifstream in (fs::path (path), std::ios::binary);
        if (!in)
            return;
        text.resize (headBytes);
        in.read (text.data(), (std::streamsize)headBytes);
        text.resize ((size_t)in.gcount());
        const bool wholeFile = text.size() < headBytes;
        auto scan = scanHeader (text.data(), text.size(), wholeFile);
        if (scan.result == HeaderScan::Result::needMore)
        {
            std::ostringstream rest;
            rest << in.rdbuf();
            text += rest.str();
            scan = scanHeader (text.data(), text.size(), true);
        }
        if (scan.result != HeaderScan::Result::found)
            return;
        takeFields (e, { scan.type, scan.name, scan.normalizedNameValue, scan.bankNumber, scan.notes, scan.tags });
    }
}

void ProgramLibraryIndex::takeFields (Entry& e, const Fields& f)
{
    e.qualifies = false;
    e.tags.clear();
    e.displayName.clear();
    e.searchText.clear();
    if (!f.type.isString() || f.type.toString() != "program")
        return;
    const auto name = f.name.isString() ? f.name.toString().trim() : juce::String();
    if (f.normalizedName.isString() && f.normalizedName.toString().isNotEmpty())
        e.normalizedName = normalizedName (f.normalizedName.toString().toStdString());
    else
        e.normalizedName = normalizedName (name.toStdString());
    e.bankNumber = documentInt (f.bankNumber).value_or (-1);
    e.displayName = name.toStdString();
    e.tags = normalizeTagKeys (f.tags);
    auto text = name + "\n" + e.normalizedName + "\n";
    for (const auto& t : e.tags)
        text << t << " ";
    if (f.notes.isString())
        text << "\n" << f.notes.toString();
    e.searchText = text.toLowerCase().toStdString();
    e.qualifies = true;
}

void ProgramLibraryIndex::verify (const std::string& path, Entry& e)
{
    // A lookup hands its answer to a full load: make sure the whole document parses, as the load will.
    e.verified = true;
    juce::var root;
    const juce::File file (juce::String (juce::CharPointer_UTF8 (path.c_str())));
    if (parseJsonFile (file, root).failed() || !root.isObject())
    {
        e.qualifies = false;
        return;
    }
    takeFields (e, { root.getProperty ("type", {}), root.getProperty ("name", {}), root.getProperty ("normalizedName", {}),
                     root.getProperty ("bankNumber", {}), root.getProperty ("notes", {}), root.getProperty ("tags", {}) });
}

void ProgramLibraryIndex::addToNameIndex (const std::string& path, const Entry& e)
{
    searchOrderStale = true;
    if (e.qualifies && !e.normalizedName.empty())
        byName.emplace (e.normalizedName, path);
}

void ProgramLibraryIndex::removeFromNameIndex (const std::string& path, const Entry& e)
{
    searchOrderStale = true;
    auto [first, last] = byName.equal_range (e.normalizedName);
    for (auto it = first; it != last; ++it)
        if (it->second == path)
        {
            byName.erase (it);
            return;
        }
}

void ProgramLibraryIndex::forgetFile (const std::string& path)
{
    const auto it = entries.find (path);
    if (it == entries.end())
        return;
    removeFromNameIndex (path, it->second);
    entries.erase (it);
    searchOrderStale = true;
}

void ProgramLibraryIndex::forgetFolder (const std::string& path)
{
    const auto it = folders.find (path);
    if (it == folders.end())
        return;
    const auto folder = it->second;
    folders.erase (it);
    for (const auto& f : folder.files)
        forgetFile (f);
    for (const auto& sub : folder.subfolders)
        forgetFolder (sub);
}

std::optional<juce::File> ProgramLibraryIndex::findProgramFile (int bank, int slot, const std::string& slotName)
{
    const auto wanted = normalizedName (slotName);
    if (wanted.empty())
        return std::nullopt;
    refresh();

    std::vector<std::string> candidates;
    auto [first, last] = byName.equal_range (wanted);
    for (auto it = first; it != last; ++it)
        candidates.push_back (it->second);

    // The few candidates are checked against the disk, so one edited in place is not returned stale.
    const auto now = nowNs();
    for (const auto& path : candidates)
        checkFile (path, now, false);

    for (const auto& path : candidates)
        if (auto it = entries.find (path); it != entries.end() && it->second.qualifies && !it->second.verified)
        {
            removeFromNameIndex (path, it->second);
            verify (path, it->second);
            addToNameIndex (path, it->second);
        }

    const auto preferredStem = defaultDocumentStem (DocumentKind::program, slotName, slot);
    const std::string* best = nullptr;
    bool bestPreferred = false;
    FileTime bestTime = 0;
    std::sort (candidates.begin(), candidates.end());
    for (const auto& path : candidates)
    {
        const auto it = entries.find (path);
        if (it == entries.end() || !it->second.qualifies || it->second.normalizedName != wanted)
            continue;
        if (it->second.bankNumber >= 0 && it->second.bankNumber != bank)
            continue;
        const bool preferred = fs::path (path).stem().string() == preferredStem;
        const auto t = it->second.time;
        if (best == nullptr || (preferred && !bestPreferred) || (preferred == bestPreferred && t > bestTime))
        {
            best = &path;
            bestPreferred = preferred;
            bestTime = t;
        }
    }
    if (best == nullptr)
        return std::nullopt;
    return juce::File (juce::String (juce::CharPointer_UTF8 (best->c_str())));
}

std::vector<std::string> searchWords (const std::string& query)
{
    juce::StringArray tokens;
    tokens.addTokens (juce::String (juce::CharPointer_UTF8 (query.c_str())).toLowerCase(), " \t\r\n", "\"");
    tokens.removeEmptyStrings();
    std::vector<std::string> words;
    for (const auto& t : tokens)
        words.push_back (t.unquoted().toStdString());
    return words;
}

ProgramLibraryIndex::SearchResult ProgramLibraryIndex::search (const std::string& query,
                                                               const std::vector<std::string>& requiredTags, size_t limit)
{
    refresh();
    if (searchOrderStale)
    {
        // Entries live in an unordered_map: their addresses hold until they are erased, and every
        // erase marks this order stale.
        searchOrder.clear();
        for (const auto& [path, e] : entries)
            if (e.qualifies)
                searchOrder.emplace_back (juce::String (juce::CharPointer_UTF8 (e.displayName.c_str())).toLowerCase().toStdString()
                                              + '\0' + path,
                                          &e);
        std::sort (searchOrder.begin(), searchOrder.end(),
                   [] (const auto& a, const auto& b) { return a.first < b.first; });
        searchOrderStale = false;
    }

    const auto words = searchWords (query);

    SearchResult result;
    for (const auto& [key, e] : searchOrder)
    {
        bool match = true;
        for (const auto& t : requiredTags)
            if (std::find (e->tags.begin(), e->tags.end(), t) == e->tags.end())
            {
                match = false;
                break;
            }
        for (size_t w = 0; match && w < words.size(); ++w)
            match = e->searchText.find (words[w]) != std::string::npos;
        if (!match)
            continue;
        if (result.hits.size() < limit)
        {
            const auto path = key.substr (key.find ('\0') + 1);
            result.hits.push_back ({ juce::File (juce::String (juce::CharPointer_UTF8 (path.c_str()))), e->displayName,
                                     e->bankNumber, e->tags });
        }
        ++result.matches;
    }
    return result;
}

} // namespace orvo
