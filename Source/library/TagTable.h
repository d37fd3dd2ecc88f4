#pragma once

#include "ProgramDigests.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace orvo
{

/** The tag association table a new library starts with: an empty "programs" list and one example
    record showing its shape, as the JSON text written to "KnownProgramTags.json" (CR LF line ends,
    so it opens cleanly in any text editor the player uses). */
std::string defaultTagTableText();

/** Writes the default table when `file` does not exist yet; an existing table is never touched. */
void ensureDefaultTagTable (const juce::File& file);

/** A digest as a table may write it: trimmed, lower-cased, anything up to a colon dropped (a
    "sha256:" prefix), every character other than 0-9 and a-f removed; empty unless 64 remain. */
std::string normaliseDigestText (const juce::String& text);

/** One record of the table; a digest that did not normalise is empty. */
struct TagTableRecord
{
    std::string name, source;
    std::string programPayloadSha256, nameNeutralPayloadSha256, packedPayloadSha256, rawSysExSha256;
    std::vector<std::string> tags; // normalised
};

/** The player's table of known Programs and their tags, as read from "KnownProgramTags.json". */
struct TagTable
{
    std::vector<TagTableRecord> records;
    /** The file's path, or the built-in default's name when the file could not be used. */
    std::string sourceName;
    /** Why the file could not be used (one of the table's error texts); empty when it was read. */
    std::string error;

    /** The tags the table gives a Program: the records matching its "programPayloadSha256", or, when
        none does, its "nameNeutralPayloadSha256" (a known Program renamed). Normalised; empty when
        the table does not know it. */
    std::vector<std::string> tagsFor (const ProgramDigests& digests) const;
};

/** Records from any accepted shape: a root array, "programs"/"entries"/"records" arrays, and
    "banks" whose entries lend their name as the records' source. */
TagTable tagTableFromJson (const juce::var& root);

/** Reads the table; a file that is missing, empty, not JSON or not an object or array falls back to
    the built-in default text, with `error` saying why. */
TagTable loadTagTable (const juce::File& file);

} // namespace orvo
