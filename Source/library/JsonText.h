#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <string_view>

namespace orvo
{

/** The JSON text of `value`, character for character what juce::JSON::toString writes (the same
    indentation, line breaks, escapes and number forms), built straight into UTF-8 bytes. JUCE's writer
    goes through an output stream one byte at a time, which made rewriting a full environment after
    every librarian change several times slower than the rest of the work together. */
std::string toJsonText (const juce::var& value, bool allOnOneLine = false);

/** The deepest nesting of arrays and objects a document may have. */
constexpr int maxJsonDepth = 256;

/** Parses a document's JSON text into the tree juce::JSON::parse builds (objects with their keys in
    order, a repeated key keeping its first place and last value; int, int64 or double numbers), without
    recursion. Any single value may stand at the top. Refused, with "line:column: error: why": nesting
    deeper than maxJsonDepth, invalid UTF-8, unpaired escaped surrogates, numbers that are not finite
    or do not fit a 64-bit integer or a double, and anything after the value. Escaped surrogate pairs
    (characters beyond the Basic Multilingual Plane, as JUCE writes them) become one character.
    A juce::String cannot hold U+0000, so an escaped one reads as U+FFFD. */
juce::Result parseJson (std::string_view utf8, juce::var& result);
juce::Result parseJson (const juce::String& text, juce::var& result);
/** The same for a whole file's bytes (a UTF-8 byte order mark is skipped); a file that cannot be read
    fails like text that does not parse. */
juce::Result parseJsonFile (const juce::File& file, juce::var& result);

/** A number from a document as an int: fractions cut toward zero, values beyond int's range clamped
    to it, so no document can make a cast overflow. Nothing for a value that is not a finite number. */
std::optional<int> documentInt (const juce::var& value);

} // namespace orvo
