#include "JsonStreamWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <new>

namespace orvo
{
namespace
{
constexpr int indentSize = 2;

// Bytes that go into the text as they are; everything else is escaped or starts a UTF-8 sequence.
constexpr std::array<bool, 256> plainBytes = []
{
    std::array<bool, 256> table{};
    for (int c = 32; c < 127; ++c)
        table[(size_t)c] = c != '"' && c != '\\';
    return table;
}();

inline bool isPlain (char c)
{
    return plainBytes[(unsigned char)c];
}
} // namespace

JsonStreamWriter::JsonStreamWriter (std::string& buffer, bool allOnOneLine) : target (&buffer), oneLine (allOnOneLine)
{
    // Overwrite from the start, keeping whatever room the buffer already has. Growing it to its
    // capacity only zero-fills what lies beyond the text it held before.
    buffer.resize (std::max<std::size_t> (buffer.capacity(), 4096));
    start = cursor = buffer.data();
    limit = start + buffer.size();
    levels.reserve (16);
}

JsonStreamWriter::JsonStreamWriter (bool allOnOneLine) : oneLine (allOnOneLine)
{
    constexpr std::size_t initialSize = 4096;
    block = static_cast<char*> (std::malloc (initialSize));
    if (block == nullptr)
        throw std::bad_alloc();
    start = cursor = block;
    limit = block + initialSize;
    levels.reserve (16);
}

JsonStreamWriter::~JsonStreamWriter()
{
    std::free (block);
}

void JsonStreamWriter::grow (std::size_t bytes)
{
    const auto used = (std::size_t) (cursor - start);
    const auto size = std::max ((std::size_t) (limit - start) * 2, used + bytes);
    if (target != nullptr)
    {
        target->resize (size);
        start = target->data();
    }
    else
    {
        auto* grown = static_cast<char*> (std::realloc (block, size));
        if (grown == nullptr)
            throw std::bad_alloc();
        start = block = grown;
    }
    cursor = start + used;
    limit = start + size;
}

std::string JsonStreamWriter::finish()
{
    const auto used = (std::size_t) (cursor - start);
    cursor = limit = start = nullptr;
    if (target != nullptr)
    {
        target->resize (used);
        return {};
    }
    std::string text (block, used);
    std::free (block);
    block = nullptr;
    return text;
}

void JsonStreamWriter::spaces (int count)
{
    ensure ((std::size_t)count);
    std::memset (cursor, ' ', (std::size_t)count);
    cursor += count;
}

void JsonStreamWriter::beforeMember()
{
    auto& level = levels.back();
    if (level.members++ > 0)
        oneLine ? put (", ", 2) : put (",\r\n", 3);
    if (!oneLine)
        spaces ((int)levels.size() * indentSize);
}

void JsonStreamWriter::beforeValue()
{
    if (levels.empty() || levels.back().isObject)
        return; // the top of the document, or a member whose key is already written
    auto& level = levels.back();
    if (level.members++ > 0)
        oneLine ? put (", ", 2) : put (",\r\n", 3);
    else if (!oneLine)
        put ("\r\n", 2);
    if (!oneLine)
        spaces ((int)levels.size() * indentSize);
}

void JsonStreamWriter::beginObject()
{
    beforeValue();
    oneLine ? put ('{') : put ("{\r\n", 3);
    levels.push_back ({ true, 0 });
}

void JsonStreamWriter::endObject()
{
    if (!oneLine)
    {
        if (levels.back().members > 0)
            put ("\r\n", 2);
        spaces ((int)(levels.size() - 1) * indentSize);
    }
    put ('}');
    levels.pop_back();
}

void JsonStreamWriter::beginArray()
{
    beforeValue();
    put ('[');
    levels.push_back ({ false, 0 });
}

void JsonStreamWriter::endArray()
{
    if (!oneLine && levels.back().members > 0)
    {
        put ("\r\n", 2);
        spaces ((int)(levels.size() - 1) * indentSize);
    }
    put (']');
    levels.pop_back();
}

void JsonStreamWriter::key (const char* plainKey)
{
    beforeMember();
    const auto size = std::strlen (plainKey);
    ensure (size + 4);
    *cursor++ = '"';
    std::memcpy (cursor, plainKey, size);
    cursor += size;
    std::memcpy (cursor, "\": ", 3);
    cursor += 3;
}

void JsonStreamWriter::escapedKey (juce::CharPointer_UTF8 name)
{
    beforeMember();
    put ('"');
    escaped (name);
    put ("\": ", 3);
}

void JsonStreamWriter::escapedCodeUnit (unsigned int unit)
{
    static const char* const hex = "0123456789abcdef";
    ensure (6);
    cursor[0] = '\\';
    cursor[1] = 'u';
    cursor[2] = hex[(unit >> 12) & 0xF];
    cursor[3] = hex[(unit >> 8) & 0xF];
    cursor[4] = hex[(unit >> 4) & 0xF];
    cursor[5] = hex[unit & 0xF];
    cursor += 6;
}

void JsonStreamWriter::escaped (juce::CharPointer_UTF8 text)
{
    for (;;)
    {
        // Runs of plain ASCII go in one copy; they are nearly all of a document's text.
        const char* run = text.getAddress();
        const char* runEnd = run;
        while (isPlain (*runEnd))
            ++runEnd;
        put (run, (std::size_t) (runEnd - run));
        text = juce::CharPointer_UTF8 (runEnd);

        const auto c = (juce::uint32)text.getAndAdvance();
        switch (c)
        {
            case 0:
                return;
            case '"':
                put ("\\\"", 2);
                break;
            case '\\':
                put ("\\\\", 2);
                break;
            case '\a':
                put ("\\a", 2);
                break;
            case '\b':
                put ("\\b", 2);
                break;
            case '\f':
                put ("\\f", 2);
                break;
            case '\t':
                put ("\\t", 2);
                break;
            case '\r':
                put ("\\r", 2);
                break;
            case '\n':
                put ("\\n", 2);
                break;
            default:
                if (c >= 0x10000) // outside the Basic Multilingual Plane: a UTF-16 surrogate pair
                {
                    const auto v = c - 0x10000;
                    escapedCodeUnit (0xD800 + (v >> 10));
                    escapedCodeUnit (0xDC00 + (v & 0x3FF));
                }
                else
                {
                    escapedCodeUnit (c);
                }
                break;
        }
    }
}

void JsonStreamWriter::escapedUtf8 (const char* text, std::size_t size)
{
    bool plain = true, ascii = true;
    for (std::size_t i = 0; i < size; ++i)
    {
        plain = plain && isPlain (text[i]);
        ascii = ascii && (unsigned char)text[i] < 0x80;
    }
    if (plain)
        put (text, size);
    else if (ascii)
        escaped (juce::CharPointer_UTF8 (text)); // stops at a zero byte, as the juce::String would
    else
    {
        // Anything beyond ASCII goes through the juce::String the var form would hold, so even
        // malformed UTF-8 comes out as JUCE's writer would have written it.
        const auto copy = juce::String (juce::CharPointer_UTF8 (text));
        escaped (copy.getCharPointer());
    }
}

void JsonStreamWriter::string (const std::string& utf8)
{
    beforeValue();
    put ('"');
    escapedUtf8 (utf8.c_str(), utf8.size());
    put ('"');
}

void JsonStreamWriter::string (const char* utf8)
{
    beforeValue();
    put ('"');
    escapedUtf8 (utf8, std::strlen (utf8));
    put ('"');
}

void JsonStreamWriter::string (const juce::String& text)
{
    beforeValue();
    put ('"');
    escaped (text.getCharPointer());
    put ('"');
}

void JsonStreamWriter::integer (long long n)
{
    beforeValue();
    ensure (24);
    cursor = std::to_chars (cursor, limit, n).ptr;
}

void JsonStreamWriter::base64 (const std::uint8_t* bytes, std::size_t size)
{
    static const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    beforeValue();
    ensure ((size + 2) / 3 * 4 + 2);
    *cursor++ = '"';
    std::size_t i = 0;
    for (; i + 3 <= size; i += 3)
    {
        const auto bits = (unsigned)bytes[i] << 16 | (unsigned)bytes[i + 1] << 8 | bytes[i + 2];
        cursor[0] = alphabet[bits >> 18];
        cursor[1] = alphabet[(bits >> 12) & 0x3F];
        cursor[2] = alphabet[(bits >> 6) & 0x3F];
        cursor[3] = alphabet[bits & 0x3F];
        cursor += 4;
    }
    if (i < size)
    {
        const bool two = i + 1 < size;
        const auto bits = (unsigned)bytes[i] << 16 | (two ? (unsigned)bytes[i + 1] << 8 : 0u);
        cursor[0] = alphabet[bits >> 18];
        cursor[1] = alphabet[(bits >> 12) & 0x3F];
        cursor[2] = two ? alphabet[(bits >> 6) & 0x3F] : '=';
        cursor[3] = '=';
        cursor += 4;
    }
    *cursor++ = '"';
}

void JsonStreamWriter::arrayValue (const juce::Array<juce::var>& array)
{
    put ('[');
    levels.push_back ({ false, 0 });
    for (const auto& element : array)
        value (element);
    endArray();
}

void JsonStreamWriter::objectValue (juce::DynamicObject& object)
{
    oneLine ? put ('{') : put ("{\r\n", 3);
    levels.push_back ({ true, 0 });
    for (const auto& property : object.getProperties()) // by reference: no name or value copies
    {
        escapedKey (property.name.getCharPointer());
        value (property.value);
    }
    endObject();
}

void JsonStreamWriter::value (const juce::var& v)
{
    if (v.isString())
    {
        string (v.toString());
        return;
    }
    beforeValue();
    if (v.isInt())
    {
        ensure (24);
        cursor = std::to_chars (cursor, limit, (int)v).ptr;
    }
    else if (const auto* array = v.getArray())
        arrayValue (*array);
    else if (auto* object = v.getDynamicObject())
        objectValue (*object);
    else if (v.isVoid())
        put ("null", 4);
    else if (v.isUndefined())
        put ("undefined", 9);
    else if (v.isBool())
        (bool)v ? put ("true", 4) : put ("false", 5);
    else if (v.isInt64())
    {
        ensure (24);
        cursor = std::to_chars (cursor, limit, (juce::int64)v).ptr;
    }
    else // doubles and the rare rest keep JUCE's own forms
    {
        const auto text = juce::JSON::toString (v, true);
        put (text.toRawUTF8(), text.getNumBytesAsUTF8());
    }
}

} // namespace orvo
