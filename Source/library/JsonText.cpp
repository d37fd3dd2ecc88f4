#include "JsonText.h"

#include "JsonStreamWriter.h"

namespace orvo
{

std::string toJsonText (const juce::var& value, bool allOnOneLine)
{
    JsonStreamWriter writer (allOnOneLine);
    writer.value (value);
    return writer.finish();
}

} // namespace orvo
