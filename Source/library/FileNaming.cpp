#include "FileNaming.h"

#include "AtomicFile.h"

#include <cstring>

namespace orvo
{
namespace
{
bool isSpace (char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isAsciiLetterOrDigit (char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::string trimmed (const std::string& s)
{
    size_t start = 0, end = s.size();
    while (start < end && isSpace (s[start]))
        ++start;
    while (end > start && isSpace (s[end - 1]))
        --end;
    return s.substr (start, end - start);
}

constexpr size_t maxStemLength = 48;

// Layouts carry a two-part extension; the backup keeps it whole so the copy still reads as a layout.
constexpr const char* layoutSuffix = ".layout.json";

std::pair<juce::String, juce::String> splitStemAndSuffix (const juce::File& file)
{
    const auto name = file.getFileName();
    if (name.endsWithIgnoreCase (layoutSuffix) && name.length() > (int)std::strlen (layoutSuffix))
        return { name.dropLastCharacters ((int)std::strlen (layoutSuffix)),
                 name.getLastCharacters ((int)std::strlen (layoutSuffix)) };
    return { file.getFileNameWithoutExtension(), file.getFileExtension() };
}
} // namespace

std::string fileNameStem (const std::string& name, const std::string& fallback)
{
    auto source = trimmed (name);
    if (source.empty())
        source = fallback;

    std::string out;
    for (const char c : source)
    {
        if (out.size() >= maxStemLength)
            break;
        if (isAsciiLetterOrDigit (c))
            out += c;
        else if (c == ' ' || c == '-' || c == '_')
            out += '-';
    }

    for (auto pos = out.find ("--"); pos != std::string::npos; pos = out.find ("--"))
        out.erase (pos, 1);

    const auto first = out.find_first_not_of ('-');
    if (first == std::string::npos)
        return fallback;
    const auto last = out.find_last_not_of ('-');
    return out.substr (first, last - first + 1);
}

std::string normalizedName (const std::string& name)
{
    std::string out;
    bool pendingSpace = false;
    for (const char c : trimmed (name))
    {
        if (isSpace (c))
        {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace)
            out += ' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}

std::string defaultStemFallback (DocumentKind kind, int slot)
{
    const auto number = juce::String (SlotNameTable::clampSlot (slot)).paddedLeft ('0', 3);
    return (kind == DocumentKind::program ? "program-" : "mix-") + number.toStdString();
}

std::string defaultDocumentStem (DocumentKind kind, const std::string& slotName, int slot)
{
    return fileNameStem (slotName, defaultStemFallback (kind, slot));
}

std::string defaultDocumentStem (DocumentKind kind, const SlotNameTable& names, int bank, int slot)
{
    return defaultDocumentStem (kind, names.name (bank, slot), slot);
}

juce::File uniqueFileIn (const juce::File& folder, const std::string& stem, const std::string& extension)
{
    const juce::String base (juce::CharPointer_UTF8 (stem.c_str()));
    const juce::String ext (juce::CharPointer_UTF8 (extension.c_str()));
    auto candidate = folder.getChildFile (base + ext);
    for (int n = 2; candidate.exists(); ++n)
        candidate = folder.getChildFile (base + "-" + juce::String (n) + ext);
    return candidate;
}

std::optional<juce::File> backupBeforeOverwrite (const juce::File& file, juce::Time now)
{
    if (!file.existsAsFile())
        return std::nullopt;

    const auto folder = file.getParentDirectory().getChildFile ("Backups");
    if (folder.createDirectory().failed())
        return std::nullopt;

    const auto [stem, suffix] = splitStemAndSuffix (file);
    const auto stamped = stem + ".backup-" + now.formatted ("%Y%m%d-%H%M%S");
    auto backup = folder.getChildFile (stamped + suffix);
    for (int n = 2; backup.exists(); ++n)
        backup = folder.getChildFile (stamped + "-" + juce::String (n) + suffix);

    juce::MemoryBlock bytes;
    if (!file.loadFileAsData (bytes))
        return std::nullopt;
    if (!writeFileAtomically (backup, std::string ((const char*)bytes.getData(), bytes.getSize())))
        return std::nullopt;
    return backup;
}

bool isBackupFile (const juce::File& file, const juce::File& scannedFolder)
{
    if (file.getFileName().contains (".backup-"))
        return true;
    // Only the folders below the scanned one count: a library kept under some "Backups" folder of
    // the user's own must still be scanned.
    for (auto folder = file.getParentDirectory(); folder.isAChildOf (scannedFolder);
         folder = folder.getParentDirectory())
        if (folder.getFileName() == "Backups")
            return true;
    return false;
}

} // namespace orvo
