#pragma once

#include <juce_core/juce_core.h>

#include <string>

namespace orvo
{

/** The tag association table a new library starts with: an empty "programs" list and one example
    record showing its shape, as the JSON text written to "KnownProgramTags.json" (CR LF line ends,
    so it opens cleanly in any text editor the player uses). */
std::string defaultTagTableText();

/** Writes the default table when `file` does not exist yet; an existing table is never touched. */
void ensureDefaultTagTable (const juce::File& file);

} // namespace orvo
