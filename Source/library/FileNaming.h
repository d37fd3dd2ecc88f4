#pragma once

#include "SlotNameTable.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <string>

namespace orvo
{

/** The file-name form of a name: at most 48 characters of ASCII letters, digits and single
    hyphens (space, '-' and '_' become '-', everything else is dropped), no hyphen at either end.
    An empty name starts from `fallback`; a name that leaves nothing gives `fallback`. */
std::string fileNameStem (const std::string& name, const std::string& fallback);

/** The name trimmed, with every run of white space inside it replaced by one space. */
std::string normalizedName (const std::string& name);

enum class DocumentKind
{
    program,
    mix
};

/** "program-007" / "mix-007" for slot 7 (slot clamped to 0..127). */
std::string defaultStemFallback (DocumentKind kind, int slot);

/** The stem proposed for a slot's document: its name as a file name, else the numbered fallback. */
std::string defaultDocumentStem (DocumentKind kind, const std::string& slotName, int slot);
std::string defaultDocumentStem (DocumentKind kind, const SlotNameTable& names, int bank, int slot);

/** `stem` + `extension` in `folder`, or, when that exists, the first free of stem-2, stem-3 ...
    (`extension` includes its dot, e.g. ".orvop"). */
juce::File uniqueFileIn (const juce::File& folder, const std::string& stem, const std::string& extension);

/** Copies an existing file into "Backups" beside it as <stem>.backup-<yyyymmdd-hhmmss><ext>, with
    "-2", "-3" ... after the time when that name is taken, and returns the copy. Nothing is made
    for a missing file or a folder, or when the copy fails. `now` is local time. */
std::optional<juce::File> backupBeforeOverwrite (const juce::File& file, juce::Time now);

/** True for a file that a scan of `scannedFolder` must pass over: it sits in a "Backups" folder
    below it, or its name holds ".backup-". */
bool isBackupFile (const juce::File& file, const juce::File& scannedFolder);

} // namespace orvo
