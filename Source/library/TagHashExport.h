#pragma once

#include "LibrarianState.h"

#include <juce_core/juce_core.h>

#include <map>
#include <string>
#include <vector>

namespace orvo
{

/** The Program banks read for a tag hash export: bank -> (slot -> the stored dump received). */
using ReceivedBanks = std::map<int, std::map<int, ByteVector>>;

/** A slot counts for the export when its tags, without "favorite" and "custom", are not empty. */
int countExportableTaggedSlots (const LibrarianState& state);
/** The Program banks that hold such slots, in order. */
std::vector<int> banksWithExportableTags (const LibrarianState& state);

struct TagHashExport
{
    std::string text; // the export file's JSON, with CR LF line ends
    int tagged = 0, records = 0, duplicates = 0, unavailable = 0, mismatched = 0;
};

/** One record per distinct Program (by its unpacked-payload digest) among the tagged slots whose
    received dump carries the slot's own name; slots without a complete dump count as unavailable,
    slots whose name differs as mismatched, and a second slot with the same Program adds its tags. */
TagHashExport buildTagHashExport (const LibrarianState& state, const ReceivedBanks& received,
                                  const std::string& appVersion, juce::Time createdAt);

/** "Tag Hash Export"'s closing text for `result` (after a cancel when `cancelled`). */
std::string tagHashExportMessage (const TagHashExport& result, bool cancelled);

} // namespace orvo
