#include "JsonText.h"

#include "JsonStreamWriter.h"

#include <cstdint>

namespace orvo
{

std::string toJsonText (const juce::var& value, bool allOnOneLine)
{
    JsonStreamWriter writer (allOnOneLine);
    writer.value (value);
    return writer.finish();
}

namespace
{
int hex4 (std::string_view text, size_t at)
{
    if (at + 4 > text.size())
        return -1;
    int v = 0;
    for (size_t k = at; k < at + 4; ++k)
    {
        const char c = text[k];
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0)
            return -1;
        v = v * 16 + d;
    }
    return v;
}

void appendUtf8 (std::string& out, std::uint32_t cp)
{
    out += (char) (0xF0 | (cp >> 18));
    out += (char) (0x80 | ((cp >> 12) & 0x3F));
    out += (char) (0x80 | ((cp >> 6) & 0x3F));
    out += (char) (0x80 | (cp & 0x3F));
}

bool mayHoldSurrogates (std::string_view text)
{
    return text.find ("\\ud") != std::string_view::npos || text.find ("\\uD") != std::string_view::npos;
}
} // namespace

std::string joinEscapedSurrogatePairs (std::string_view text)
{
    std::string out;
    out.reserve (text.size());
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        if (! inString || c != '\\')
        {
            if (c == '"')
                inString = ! inString;
            out += c;
            continue;
        }
        // An escape inside a string: a high surrogate followed by a low one becomes one character.
        if (i + 11 < text.size() && text[i + 1] == 'u' && text[i + 6] == '\\' && text[i + 7] == 'u')
        {
            const int high = hex4 (text, i + 2), low = hex4 (text, i + 8);
            if (high >= 0xD800 && high <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF)
            {
                appendUtf8 (out, 0x10000u + ((std::uint32_t) (high - 0xD800) << 10) + (std::uint32_t) (low - 0xDC00));
                i += 11;
                continue;
            }
        }
        out += c;
        if (i + 1 < text.size())
            out += text[++i];
    }
    return out;
}

juce::Result parseJson (const juce::String& text, juce::var& result)
{
    const std::string_view raw (text.toRawUTF8(), text.getNumBytesAsUTF8());
    if (! mayHoldSurrogates (raw))
        return juce::JSON::parse (text, result);
    const auto joined = joinEscapedSurrogatePairs (raw);
    return juce::JSON::parse (juce::String::fromUTF8 (joined.data(), (int) joined.size()), result);
}

juce::Result parseJsonFile (const juce::File& file, juce::var& result)
{
    return parseJson (file.loadFileAsString(), result);
}

} // namespace orvo
