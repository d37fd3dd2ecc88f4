#include "JsonText.h"

#include "JsonStreamWriter.h"

namespace orvo
{

std::string toJsonText (const juce::var& value, bool allOnOneLine)
{
    std::string out;
    JsonStreamWriter writer (out, allOnOneLine);
    writer.value (value);
    writer.finish();
    return out;
}

} // namespace orvo
