#include "JsonText.h"

#include <charconv>

namespace orvo
{
namespace
{
constexpr int indentSize = 2;
constexpr const char* newLine = "\r\n";

void appendEscapedUnit (std::string& out, unsigned int unit)
{
    static const char* const hex = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += hex[(unit >> shift) & 0xF];
}

void appendString (std::string& out, const juce::String& text)
{
    auto p = text.getCharPointer();
    for (;;)
    {
        // Copy runs of plain printable ASCII in one go: Base64 SysEx is most of a document's bytes.
        const char* runStart = p.getAddress();
        const char* run = runStart;
        while (*run >= 32 && *run < 127 && *run != '"' && *run != '\\')
            ++run;
        out.append (runStart, (size_t)(run - runStart));
        p = juce::CharPointer_UTF8 (run);

        const auto c = (juce::uint32)p.getAndAdvance();
        switch (c)
        {
            case 0:
                return;
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\a':
                out += "\\a";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (c >= 0x10000)
                {
                    const auto v = c - 0x10000;
                    appendEscapedUnit (out, 0xD800 + (v >> 10));
                    appendEscapedUnit (out, 0xDC00 + (v & 0x3FF));
                }
                else
                {
                    appendEscapedUnit (out, c);
                }
                break;
        }
    }
}

void appendValue (std::string& out, const juce::var& v, int indent, bool oneLine);

void appendSeparator (std::string& out, bool last, bool oneLine)
{
    if (!last)
        out += oneLine ? ", " : ",\r\n";
    else if (!oneLine)
        out += newLine;
}

void appendArray (std::string& out, const juce::Array<juce::var>& array, int indent, bool oneLine)
{
    out += '[';
    if (!array.isEmpty())
    {
        if (!oneLine)
            out += newLine;
        for (int i = 0; i < array.size(); ++i)
        {
            if (!oneLine)
                out.append ((size_t)(indent + indentSize), ' ');
            appendValue (out, array.getReference (i), indent + indentSize, oneLine);
            appendSeparator (out, i == array.size() - 1, oneLine);
        }
        if (!oneLine)
            out.append ((size_t)indent, ' ');
    }
    out += ']';
}

void appendObject (std::string& out, juce::DynamicObject& object, int indent, bool oneLine)
{
    const auto& properties = object.getProperties();
    const int count = properties.size();
    out += '{';
    if (!oneLine)
        out += newLine;
    int i = 0;
    for (const auto& property : properties) // by reference: no name or value copies per key
    {
        if (!oneLine)
            out.append ((size_t)(indent + indentSize), ' ');
        out += '"';
        appendString (out, property.name.toString());
        out += "\": ";
        appendValue (out, property.value, indent + indentSize, oneLine);
        appendSeparator (out, ++i == count, oneLine);
    }
    if (!oneLine)
        out.append ((size_t)indent, ' ');
    out += '}';
}

template <typename Integer> void appendInteger (std::string& out, Integer n)
{
    char digits[24];
    const auto end = std::to_chars (digits, digits + sizeof (digits), n).ptr;
    out.append (digits, (size_t)(end - digits));
}

void appendValue (std::string& out, const juce::var& v, int indent, bool oneLine)
{
    if (v.isString())
    {
        out += '"';
        appendString (out, v.toString());
        out += '"';
    }
    else if (v.isVoid())
        out += "null";
    else if (v.isUndefined())
        out += "undefined";
    else if (v.isBool())
        out += (bool)v ? "true" : "false";
    else if (v.isInt())
        appendInteger (out, (int)v);
    else if (v.isInt64())
        appendInteger (out, (juce::int64)v);
    else if (const auto* array = v.getArray())
        appendArray (out, *array, indent, oneLine);
    else if (auto* object = v.getDynamicObject())
        appendObject (out, *object, indent, oneLine);
    else // doubles and the rare rest keep JUCE's own number forms
        out += juce::JSON::toString (v, true).toStdString();
}
} // namespace

std::string toJsonText (const juce::var& value, bool allOnOneLine)
{
    std::string out;
    out.reserve (4096);
    appendValue (out, value, 0, allOnOneLine);
    return out;
}

} // namespace orvo
