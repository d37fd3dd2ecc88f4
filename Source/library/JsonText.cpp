#include "JsonText.h"

#include "JsonStreamWriter.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <unordered_map>
#include <vector>

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
int hexDigit (char c)
{
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                  : -1;
}

void appendUtf8 (std::string& out, std::uint32_t cp)
{
    if (cp < 0x80)
        out += (char)cp;
    else if (cp < 0x800)
    {
        out += (char)(0xC0 | (cp >> 6));
        out += (char)(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += (char)(0xE0 | (cp >> 12));
        out += (char)(0x80 | ((cp >> 6) & 0x3F));
        out += (char)(0x80 | (cp & 0x3F));
    }
    else
    {
        out += (char)(0xF0 | (cp >> 18));
        out += (char)(0x80 | ((cp >> 12) & 0x3F));
        out += (char)(0x80 | ((cp >> 6) & 0x3F));
        out += (char)(0x80 | (cp & 0x3F));
    }
}

/** The length of the well-formed UTF-8 sequence at p (lead byte 0x80 or above), or 0. */
size_t utf8SequenceLength (const unsigned char* p, const unsigned char* end)
{
    const auto c = p[0];
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF; // the allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF)
    {
        n = 3;
        lo = c == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        hi = c == 0xED ? 0x9F : 0xBF; // no encoded surrogates
    }
    else if (c >= 0xF0 && c <= 0xF4)
    {
        n = 4;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
    }
    else
        return 0;
    if ((size_t)(end - p) < n || p[1] < lo || p[1] > hi)
        return 0;
    for (size_t k = 2; k < n; ++k)
        if ((p[k] & 0xC0) != 0x80)
            return 0;
    return n;
}

struct Failure
{
    const char* at;
    const char* message;
};

class Reader
{
public:
    Reader (std::string_view text) : begin (text.data()), p (text.data()), end (text.data() + text.size()) {}

    juce::Result read (juce::var& result)
    {
        try
        {
            result = readDocument();
            return juce::Result::ok();
        }
        catch (const Failure& failure)
        {
            return juce::Result::fail (where (failure.at) + ": error: " + failure.message);
        }
    }

private:
    struct Frame
    {
        juce::var container;
        juce::DynamicObject* object;  // null for an array
        juce::Array<juce::var>* list; // null for an object
        juce::Identifier key;         // the key whose value is being read
    };

    const char* const begin;
    const char* p;
    const char* const end;
    std::vector<Frame> stack;
    std::string scratch;
    // Keys repeat thousands of times in a document; turning text into an Identifier takes the global
    // string pool's lock, so each distinct key is looked up there once.
    std::deque<std::string> keyTexts;
    std::unordered_map<std::string_view, juce::Identifier> keys;
    // Short values repeat as much (page and section names, ids in every slot's snapshot): each
    // distinct one is built once and shared, which spares an allocation per repeat. Bounded, so a
    // document of endless distinct values costs no more than without it.
    static constexpr size_t sharedValueMaxBytes = 48, sharedValueMaxCount = 16384;
    std::deque<std::string> valueTexts;
    std::unordered_map<std::string_view, juce::String> values;

    [[noreturn]] static void fail (const char* at, const char* message) { throw Failure{ at, message }; }

    juce::String where (const char* at) const
    {
        int line = 1, column = 1;
        for (auto q = begin; q < at && q < end; ++q)
        {
            if (*q == '\n')
                ++line, column = 1;
            else if ((*q & 0xC0) != 0x80)
                ++column;
        }
        return juce::String (line) + ":" + juce::String (column);
    }

    void skipSpace()
    {
        while (p < end && (*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t'))
            ++p;
    }

    char next()
    {
        skipSpace();
        if (p == end)
            fail (p, "The document ends too early.");
        return *p;
    }

    juce::var readDocument()
    {
        skipSpace();
        if (p == end)
            fail (p, "The document is empty.");
        juce::var value = readValueOrOpen();
        for (;;)
        {
            if (stack.empty())
            {
                skipSpace();
                if (p != end)
                    fail (p, "Text follows the end of the document.");
                return value;
            }
            auto& top = stack.back();
            if (top.object != nullptr)
                top.object->getProperties().set (top.key, std::move (value));
            else
                top.list->add (std::move (value));

            const char c = next();
            ++p;
            if (c == ',')
            {
                if (top.object != nullptr)
                    top.key = readKey();
                value = readValueOrOpen();
                continue;
            }
            if (c != (top.object != nullptr ? '}' : ']'))
                fail (p - 1, top.object != nullptr ? "Expected ',' or '}'." : "Expected ',' or ']'.");
            value = std::move (top.container);
            stack.pop_back();
        }
    }

    /** A whole scalar or empty container, or opens containers (pushing them) until it reaches the
        first such value inside them. */
    juce::var readValueOrOpen()
    {
        for (;;)
        {
            const char c = next();
            if (c != '{' && c != '[')
                return readScalar();
            if (stack.size() >= (size_t)maxJsonDepth)
                fail (p, "The document nests deeper than 256 levels.");
            ++p;
            const char first = next();
            if (c == '[')
            {
                juce::var list{ juce::Array<juce::var>() };
                if (first == ']')
                {
                    ++p;
                    return list;
                }
                auto* items = list.getArray();
                stack.push_back ({ std::move (list), nullptr, items, {} });
            }
            else
            {
                auto* object = new juce::DynamicObject();
                juce::var holder (object);
                if (first == '}')
                {
                    ++p;
                    return holder;
                }
                stack.push_back ({ std::move (holder), object, nullptr, readKey() });
            }
        }
    }

    juce::Identifier readKey()
    {
        if (next() != '"')
            fail (p, "Expected a property name in double quotes.");
        const char* const at = p;
        const auto text = readStringBytes();
        if (text.empty())
            fail (at, "A property name is empty.");
        if (next() != ':')
            fail (p, "Expected ':'.");
        ++p;
        if (const auto found = keys.find (text); found != keys.end())
            return found->second;
        const auto& stored = keyTexts.emplace_back (text);
        juce::Identifier id (juce::String::fromUTF8 (stored.data(), (int)stored.size()));
        keys.emplace (std::string_view (stored), id);
        return id;
    }

    juce::var readScalar()
    {
        const char c = *p;
        if (c == '"')
        {
            const auto text = readStringBytes();
            if (text.size() > sharedValueMaxBytes)
                return juce::String (juce::CharPointer_UTF8 (text.data()), juce::CharPointer_UTF8 (text.data() + text.size()));
            if (const auto found = values.find (text); found != values.end())
                return found->second;
            juce::String value (juce::CharPointer_UTF8 (text.data()), juce::CharPointer_UTF8 (text.data() + text.size()));
            if (values.size() < sharedValueMaxCount)
                values.emplace (std::string_view (valueTexts.emplace_back (text)), value);
            return value;
        }
        if (c == '-' || (c >= '0' && c <= '9'))
            return readNumber();
        if (matchWord ("true"))
            return true;
        if (matchWord ("false"))
            return false;
        if (matchWord ("null"))
            return {};
        fail (p, "Syntax error.");
    }

    bool matchWord (std::string_view word)
    {
        if ((size_t)(end - p) < word.size() || std::string_view (p, word.size()) != word)
            return false;
        p += word.size();
        return true;
    }

    /** The UTF-8 of the string starting at the quote under p; it points into the text when nothing
        was escaped, into `scratch` otherwise. */
    std::string_view readStringBytes()
    {
        const char* const start = ++p;
        while (p < end)
        {
            const auto b = (unsigned char)*p;
            if (b == '"')
                return std::string_view (start, (size_t)(p++ - start));
            if (b == '\\' || b < 0x20 || b >= 0x80)
                break;
            ++p;
        }
        scratch.assign (start, (size_t)(p - start));
        while (p < end)
        {
            const auto b = (unsigned char)*p;
            if (b == '"')
            {
                ++p;
                return scratch;
            }
            if (b < 0x20)
                fail (p, "A control character must be escaped inside a string.");
            if (b >= 0x80)
            {
                const auto n = utf8SequenceLength ((const unsigned char*)p, (const unsigned char*)end);
                if (n == 0)
                    fail (p, "The text is not valid UTF-8.");
                scratch.append (p, n);
                p += n;
                continue;
            }
            if (b != '\\')
            {
                scratch += (char)b;
                ++p;
                continue;
            }
            readEscape();
        }
        fail (p, "The document ends inside a string.");
    }

    void readEscape()
    {
        const char* const at = p++;
        if (p == end)
            fail (at, "The document ends inside a string.");
        const char c = *p++;
        switch (c)
        {
            case '"':
            case '\\':
            case '/':
                scratch += c;
                return;
            case 'b':
                scratch += '\b';
                return;
            case 'f':
                scratch += '\f';
                return;
            case 'n':
                scratch += '\n';
                return;
            case 'r':
                scratch += '\r';
                return;
            case 't':
                scratch += '\t';
                return;
            case 'a':
                scratch += '\a';
                return; // JUCE's writer, and so this program's, escapes the bell so
            case 'u':
                break;
            default:
                fail (at, "Unknown escape sequence.");
        }
        auto cp = readHex4 (at);
        if (cp >= 0xDC00 && cp <= 0xDFFF)
            fail (at, "An escaped low surrogate has no high surrogate before it.");
        if (cp >= 0xD800 && cp <= 0xDBFF)
        {
            if (end - p < 2 || p[0] != '\\' || p[1] != 'u')
                fail (at, "An escaped high surrogate has no low surrogate after it.");
            p += 2;
            const auto low = readHex4 (at);
            if (low < 0xDC00 || low > 0xDFFF)
                fail (at, "An escaped high surrogate has no low surrogate after it.");
            cp = 0x10000u + ((cp - 0xD800u) << 10) + (low - 0xDC00u);
        }
        appendUtf8 (scratch, cp == 0 ? 0xFFFDu : cp);
    }

    std::uint32_t readHex4 (const char* escape)
    {
        if (end - p < 4)
            fail (escape, "Syntax error in unicode escape sequence.");
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
        {
            const int d = hexDigit (*p++);
            if (d < 0)
                fail (escape, "Syntax error in unicode escape sequence.");
            v = v * 16 + (std::uint32_t)d;
        }
        return v;
    }

    juce::var readNumber()
    {
        const char* const start = p;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const auto digits = [this]
        {
            const char* const from = p;
            while (p < end && *p >= '0' && *p <= '9')
                ++p;
            return p - from;
        };
        const char* const integerStart = p;
        const auto integerDigits = digits();
        if (integerDigits == 0 || (*integerStart == '0' && integerDigits > 1))
            fail (start, "Syntax error in number.");
        bool whole = true;
        if (p < end && *p == '.')
        {
            ++p;
            whole = false;
            if (digits() == 0)
                fail (start, "Syntax error in number.");
        }
        if (p < end && (*p == 'e' || *p == 'E'))
        {
            ++p;
            whole = false;
            if (p < end && (*p == '+' || *p == '-'))
                ++p;
            if (digits() == 0)
                fail (start, "Syntax error in number.");
        }
        if (whole)
        {
            // JUCE's reader keeps a magnitude below 2^31 as an int and anything larger as an int64.
            std::uint64_t magnitude = 0;
            for (auto q = integerStart; q < p; ++q)
            {
                const auto d = (std::uint64_t) (*q - '0');
                if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / 10)
                    fail (start, "The number does not fit a 64-bit integer.");
                magnitude = magnitude * 10 + d;
            }
            const auto limit = (std::uint64_t)std::numeric_limits<juce::int64>::max() + (negative ? 1u : 0u);
            if (magnitude > limit)
                fail (start, "The number does not fit a 64-bit integer.");
            if ((magnitude >> 31) == 0)
                return negative ? -(int)magnitude : (int)magnitude;
            return negative ? (juce::int64) (0 - magnitude) : (juce::int64)magnitude;
        }
        double value = 0;
        const auto [stop, error] = std::from_chars (start, p, value);
        if (error != std::errc() || stop != p || !std::isfinite (value))
            fail (start, "The number is too large or too small for a double.");
        return value;
    }
};
} // namespace

juce::Result parseJson (std::string_view utf8, juce::var& result)
{
    return Reader (utf8).read (result);
}

juce::Result parseJson (const juce::String& text, juce::var& result)
{
    return parseJson (std::string_view (text.toRawUTF8(), text.getNumBytesAsUTF8()), result);
}

juce::Result parseJsonFile (const juce::File& file, juce::var& result)
{
    juce::MemoryBlock bytes;
    if (!file.loadFileAsData (bytes))
        return juce::Result::fail ("1:1: error: The file could not be read.");
    std::string_view text (static_cast<const char*> (bytes.getData()), bytes.getSize());
    if (text.size() >= 2 && (text.substr (0, 2) == "\xff\xfe" || text.substr (0, 2) == "\xfe\xff"))
        return parseJson (juce::String::createStringFromData (bytes.getData(), (int)bytes.getSize()), result);
    if (text.substr (0, 3) == "\xef\xbb\xbf")
        text.remove_prefix (3);
    return parseJson (text, result);
}

std::optional<int> documentInt (const juce::var& value)
{
    if (value.isInt())
        return (int)value;
    if (value.isInt64())
        return (int)juce::jlimit<juce::int64> (std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                               (juce::int64)value);
    if (value.isDouble())
    {
        const double d = value;
        if (!std::isfinite (d))
            return std::nullopt;
        return (int)std::trunc (
            juce::jlimit<double> (std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), d));
    }
    return std::nullopt;
}

} // namespace orvo
