#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orvo
{

/** Writes JSON text straight into a byte buffer, character for character as juce::JSON::toString
    would write the same values (its indentation, "\r\n" line breaks, ", " and ": " separators,
    escapes and number forms), without building a juce::var tree first.

    Values are written in document order: open an object or array, give each member (`key` first
    inside an object), close it, then `finish`; the writer must not be used after that.

    Two ways to hold the text: a std::string handed in is reused, keeping whatever capacity it has,
    so a document rewritten again and again costs no new memory after the first time (`finish` trims
    it to the text); without one, the writer grows a block of its own with realloc, which moves large
    blocks without copying them, and `finish` returns the text. Growing a fresh std::string by copying
    cost more than writing a large document. */
class JsonStreamWriter
{
public:
    JsonStreamWriter (std::string& buffer, bool allOnOneLine);
    explicit JsonStreamWriter (bool allOnOneLine);
    ~JsonStreamWriter();

    JsonStreamWriter (const JsonStreamWriter&) = delete;
    JsonStreamWriter& operator= (const JsonStreamWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();

    /** The next member's key inside an object. `plainKey` must need no escaping (printable ASCII
        without quotes or backslashes): the document keys written by name all are. */
    void key (const char* plainKey);

    /** Text from UTF-8 bytes, escaped as JUCE escapes the juce::String made from them with
        CharPointer_UTF8 (so, like that string, it ends at an embedded zero byte). */
    void string (const std::string& utf8);
    void string (const char* utf8);
    void string (const juce::String& text);
    void integer (long long n);
    /** Bytes as a standard Base64 string with "=" padding, as juce::Base64::toBase64 writes it. */
    void base64 (const std::uint8_t* bytes, std::size_t size);
    /** Any value, as juce::JSON::toString writes it (objects with their keys in order). */
    void value (const juce::var& v);

    /** Ends the text. With a buffer handed in, that buffer now holds exactly the document and the
        result is empty; otherwise the result is the document. */
    std::string finish();

private:
    struct Level
    {
        bool isObject;
        int members;
    };

    void ensure (std::size_t bytes)
    {
        if ((std::size_t) (limit - cursor) < bytes)
            grow (bytes);
    }
    void grow (std::size_t bytes);
    void put (char c)
    {
        ensure (1);
        *cursor++ = c;
    }
    void put (const char* text, std::size_t size)
    {
        ensure (size);
        std::memcpy (cursor, text, size);
        cursor += size;
    }
    void spaces (int count);
    /** Separator and indentation before an array element (inside an object, `key` does it). */
    void beforeValue();
    void beforeMember();
    void escapedKey (juce::CharPointer_UTF8 name);
    void escaped (juce::CharPointer_UTF8 text);
    void escapedUtf8 (const char* text, std::size_t size);
    void escapedCodeUnit (unsigned int unit);
    void arrayValue (const juce::Array<juce::var>& array);
    void objectValue (juce::DynamicObject& object);

    std::string* target = nullptr; // the reused buffer, when one was handed in
    char* block = nullptr;         // the writer's own storage otherwise (malloc/realloc)
    char* start = nullptr;
    char* cursor = nullptr;
    char* limit = nullptr;
    const bool oneLine;
    std::vector<Level> levels;
};

} // namespace orvo
