#pragma once

#include <juce_core/juce_core.h>

#include <string>

namespace orvo
{

/** The JSON text of `value`, character for character what juce::JSON::toString writes (the same
    indentation, line breaks, escapes and number forms), built straight into UTF-8 bytes. JUCE's writer
    goes through an output stream one byte at a time, which made rewriting a full environment after
    every librarian change several times slower than the rest of the work together. */
std::string toJsonText (const juce::var& value, bool allOnOneLine = false);

} // namespace orvo
