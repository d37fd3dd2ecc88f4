#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <string_view>

namespace orvo
{

/** The JSON text of `value`, character for character what juce::JSON::toString writes (the same
    indentation, line breaks, escapes and number forms), built straight into UTF-8 bytes. JUCE's writer
    goes through an output stream one byte at a time, which made rewriting a full environment after
    every librarian change several times slower than the rest of the work together. */
std::string toJsonText (const juce::var& value, bool allOnOneLine = false);

/** Parses a document's JSON text. Characters beyond the Basic Multilingual Plane (emoji in a name)
    are written as escaped surrogate pairs, which JUCE's reader would turn into two broken characters;
    they are joined first, so such a name reads back as it was saved. */
juce::Result parseJson (const juce::String& text, juce::var& result);
/** The same for a whole file; a file that cannot be read fails like text that does not parse. */
juce::Result parseJsonFile (const juce::File& file, juce::var& result);
/** Escaped surrogate pairs inside the JSON strings of `text` replaced by the characters they stand for. */
std::string joinEscapedSurrogatePairs (std::string_view text);

} // namespace orvo
