#include "library/JsonStreamWriter.h"
#include "library/JsonText.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orvo;

namespace
{
juce::String utf8 (const char* text)
{
    return juce::String (juce::CharPointer_UTF8 (text));
}

/** Every ASCII character from 1 to 127, then two-, three- and four-byte UTF-8 and two malformed bytes. */
std::string awkwardText()
{
    std::string text;
    for (int c = 1; c < 128; ++c)
        text += (char)c;
    return text + "\xc3\xa9 \xe2\x80\x9c \xf0\x9f\x8e\xb9 \xef\xbf\xbf \x80 \xff!";
}

bool isPlainKey (const juce::String& key)
{
    return key.containsOnly (
        " !#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{|}~");
}

/** Writes a value through the structured calls wherever they can take it, and through value() elsewhere. */
void writeStructured (JsonStreamWriter& w, const juce::var& v)
{
    if (auto* o = v.getDynamicObject())
    {
        for (const auto& p : o->getProperties())
            if (!isPlainKey (p.name.toString()))
                return w.value (v);
        w.beginObject();
        for (const auto& p : o->getProperties())
        {
            w.key (p.name.toString().toRawUTF8());
            writeStructured (w, p.value);
        }
        return w.endObject();
    }
    if (const auto* list = v.getArray())
    {
        w.beginArray();
        for (const auto& item : *list)
            writeStructured (w, item);
        return w.endArray();
    }
    if (v.isString())
        return w.string (v.toString());
    if (v.isInt() || v.isInt64())
        return w.integer ((juce::int64)v);
    w.value (v);
}

std::string written (bool oneLine, const std::function<void (JsonStreamWriter&)>& write)
{
    std::string buffer;
    JsonStreamWriter w (buffer, oneLine);
    write (w);
    w.finish();
    return buffer;
}
} // namespace

// Random documents below check the structured calls and value() against JUCE's writer; here the
// string overloads that path does not reach.
TEST (JsonStreamWriter, TextFromEveryKindOfSourceIsEscapedAlike)
{
    const auto text = awkwardText();
    const auto expected = juce::JSON::toString (juce::var (utf8 (text.c_str())), true).toStdString();
    EXPECT_EQ (written (true, [&] (JsonStreamWriter& w) { w.string (text); }), expected);
    EXPECT_EQ (written (true, [&] (JsonStreamWriter& w) { w.string (text.c_str()); }), expected);
    EXPECT_EQ (written (true, [&] (JsonStreamWriter& w) { w.string (utf8 (text.c_str())); }), expected);
    EXPECT_EQ (written (true, [&] (JsonStreamWriter& w) { w.value (utf8 (text.c_str())); }), expected);

    // Text ends at a zero byte, as a juce::String of it does.
    EXPECT_EQ (written (true, [] (JsonStreamWriter& w) { w.string (std::string ("before\0after", 12)); }),
               "\"before\"");
}

TEST (JsonStreamWriter, Base64MatchesJucesForEveryPaddingLength)
{
    std::vector<std::uint8_t> bytes;
    for (int size = 0; size <= 7; ++size)
    {
        const auto expected = "\"" + juce::Base64::toBase64 (bytes.data(), bytes.size()).toStdString() + "\"";
        EXPECT_EQ (written (true, [&] (JsonStreamWriter& w) { w.base64 (bytes.data(), bytes.size()); }), expected)
            << size;
        bytes.push_back ((std::uint8_t) (0xF7 - size * 37));
    }
}

TEST (JsonStreamWriter, AReusedBufferHoldsExactlyTheNewTextAndWithoutOneItGrowsItsOwn)
{
    std::string buffer (100000, 'x'); // long stale content, more room than the next text needs
    {
        JsonStreamWriter w (buffer, true);
        w.beginArray();
        w.integer (1);
        w.endArray();
        w.finish();
    }
    EXPECT_EQ (buffer, "[1]");
    const auto roomBefore = buffer.capacity();

    // Far more than the room it has: the buffer grows while writing and keeps every byte.
    juce::Array<juce::var> many;
    for (int i = 0; i < 40000; ++i)
        many.add (
            juce::JSON::parse ("{\"id\": \"row." + juce::String (i) + "\", \"rawValue\": " + juce::String (i) + "}"));
    {
        JsonStreamWriter w (buffer, false);
        w.value (many);
        w.finish();
    }
    EXPECT_GT (buffer.capacity(), roomBefore);
    EXPECT_TRUE (buffer == juce::JSON::toString (many).toStdString());

    // Shorter again: the room stays, the text is only the new one.
    const auto roomAfter = buffer.capacity();
    {
        JsonStreamWriter w (buffer, true);
        w.beginObject();
        w.endObject();
        w.finish();
    }
    EXPECT_EQ (buffer, "{}");
    EXPECT_EQ (buffer.capacity(), roomAfter);

    JsonStreamWriter own (false);
    own.value (many);
    EXPECT_TRUE (own.finish() == juce::JSON::toString (many).toStdString());
    JsonStreamWriter empty (true);
    EXPECT_EQ (empty.finish(), "");
}

namespace
{
/** Text of random code points: ASCII with every control character, Latin, the rest of the BMP and beyond. */
juce::String randomText (juce::Random& random)
{
    juce::String text;
    const int length = random.nextInt (12);
    for (int i = 0; i < length; ++i)
    {
        juce::juce_wchar c = 0;
        switch (random.nextInt (4))
        {
            case 0:
                c = (juce::juce_wchar) (1 + random.nextInt (127));
                break;
            case 1:
                c = (juce::juce_wchar) (0x80 + random.nextInt (0x780));
                break;
            case 2:
                c = (juce::juce_wchar) (0x800 + random.nextInt (0xD000));
                break; // below the surrogates
            default:
                c = (juce::juce_wchar) (0x10000 + random.nextInt (0xFFFFF));
                break;
        }
        text += juce::String::charToString (c);
    }
    return text;
}

juce::var randomValue (juce::Random& random, int depth)
{
    switch (random.nextInt (depth > 3 ? 7 : 9))
    {
        case 0:
            return randomText (random);
        case 1:
            return random.nextInt();
        case 2:
            return random.nextInt64();
        case 3:
            return random.nextBool();
        case 4:
            return juce::var();
        case 5:
            return juce::var::undefined();
        case 6:
            return (random.nextDouble() - 0.5) * std::pow (10.0, random.nextInt (30) - 15);
        case 7:
        {
            juce::Array<juce::var> list;
            for (int i = random.nextInt (4); --i >= 0;)
                list.add (randomValue (random, depth + 1));
            return list;
        }
        default:
        {
            auto* object = new juce::DynamicObject();
            for (int i = random.nextInt (4); --i >= 0;)
            {
                // Plain keys now and then, so objects holding only those go through the structured calls.
                const auto key = random.nextBool() ? randomText (random) : juce::String ("key ") + juce::String (i);
                object->setProperty (key.isEmpty() ? juce::String ("k") : key, randomValue (random, depth + 1));
            }
            return juce::var (object);
        }
    }
}
} // namespace

TEST (JsonStreamWriter, RandomDocumentsOfEveryKindOfValueComeOutAsJucesWriterWritesThem)
{
    juce::Random random (20261205);
    for (int round = 0; round < 300; ++round)
    {
        const auto value = randomValue (random, 0);
        const bool oneLine = round % 2 == 0;
        ASSERT_TRUE (toJsonText (value, oneLine) == juce::JSON::toString (value, oneLine).toStdString())
            << "round " << round << ": " << juce::JSON::toString (value, true);
        std::string reused (round * 7, '#');
        JsonStreamWriter w (reused, oneLine);
        writeStructured (w, value);
        w.finish();
        ASSERT_TRUE (reused == juce::JSON::toString (value, oneLine).toStdString()) << "round " << round;
    }
}

TEST (JsonReading, NamesBeyondTheBasicPlaneReadBackAsTheyWereWritten)
{
    const auto name = juce::String::fromUTF8 ("Keys \xf0\x9f\x8e\xb9 and \xf0\x9d\x84\x9e");
    auto* o = new juce::DynamicObject();
    o->setProperty ("name", name);
    o->setProperty ("notes", "plain");
    const auto text = toJsonText (juce::var (o));
    ASSERT_NE (text.find ("\\ud83c\\udfb9"), std::string::npos) << "written as an escaped pair, as JUCE writes it";
    juce::var parsed;
    ASSERT_TRUE (parseJson (juce::String::fromUTF8 (text.data(), (int)text.size()), parsed).wasOk());
    EXPECT_EQ (parsed["name"].toString(), name);
    EXPECT_EQ (parsed["notes"].toString(), "plain");
}

namespace
{
/** The same tree: types (int, int64, double...) and values exactly, keys in order. Strings compare by
    their escaped JSON text, since JUCE's reader leaves an escaped pair as two broken characters that
    write back as the same escapes. */
bool sameVar (const juce::var& a, const juce::var& b)
{
    const auto escaped = [] (const juce::var& v) { return juce::JSON::toString (v); };
    if (a.isString() || b.isString())
        return a.isString() && b.isString() && escaped (a) == escaped (b);
    if (a.isInt() != b.isInt() || a.isInt64() != b.isInt64() || a.isDouble() != b.isDouble() ||
        a.isBool() != b.isBool() || a.isVoid() != b.isVoid() || a.isArray() != b.isArray() ||
        a.isObject() != b.isObject())
        return false;
    if (const auto* list = a.getArray())
    {
        const auto* other = b.getArray();
        if (list->size() != other->size())
            return false;
        for (int i = 0; i < list->size(); ++i)
            if (!sameVar ((*list)[i], (*other)[i]))
                return false;
        return true;
    }
    if (auto* object = a.getDynamicObject())
    {
        const auto& p = object->getProperties();
        const auto& q = b.getDynamicObject()->getProperties();
        if (p.size() != q.size())
            return false;
        for (int i = 0; i < p.size(); ++i)
            if (escaped (p.getName (i).toString()) != escaped (q.getName (i).toString()) ||
                !sameVar (p.getValueAt (i), q.getValueAt (i)))
                return false;
        return true;
    }
    // JUCE's reader keeps only 18 digits after the point, so it misreads small numbers by up to 1e-18;
    // the text round trip in the random test holds this reader to every digit.
    return a.isDouble() ? std::abs ((double)a - (double)b) <= 1.0e-17 * std::max (1.0, std::abs ((double)b)) : a == b;
}

std::string nested (int levels, bool closed = true)
{
    return std::string ((size_t)levels, '[') + (closed ? std::string ((size_t)levels, ']') : std::string());
}
} // namespace

TEST (JsonReading, RefusesWhatWouldCrashOrMisleadAndReadsTheRestAsJuceDoes)
{
    const juce::var refused ("<refused>"), asJuce ("<as JUCE reads it>");
    const auto list = [] (const char* utf8Text) { return juce::var (juce::Array<juce::var>{ utf8 (utf8Text) }); };
    const std::vector<std::pair<std::string, juce::var>> cases = {
        { nested (60000, false), refused },
        { nested (60000), refused },
        { nested (257), refused },
        { nested (256), asJuce },
        { nested (255, false) + "{}" + std::string (255, ']'), asJuce },
        { nested (256, false) + "{}" + std::string (256, ']'), refused },
        { R"({"type":"program","program":1e400})", refused },
        { "[1e400]", refused },
        { "[-1e400]", refused },
        { "[99999999999999999999]", refused },
        { "[1e11111111111]", refused },
        { "[9223372036854775807, -2147483649, 2147483647, -0.25, 1e300, true, null]", asJuce },
        { "{} x", refused },
        { "[1]]", refused },
        { "{\"a\": 1} {}", refused },
        { "", refused },
        { "[\"\xff\"]", refused },
        { "[\"\xc0\xaf\"]", refused },     // an overlong '/'
        { "[\"\xed\xa0\x80\"]", refused }, // an encoded surrogate
        { "[\"\xe2\x80\"]", refused },     // cut short
        { R"(["\ud800"])", refused },
        { R"(["\udc00\ud800"])", refused },
        { R"(["\ud83c\u0041"])", refused },
        { R"(["\uD83C\uDFB9 \"\\"])", list ("\xf0\x9f\x8e\xb9 \"\\") },
        { R"(["a\u0000b"])", list ("a\xef\xbf\xbd"
                                   "b") },
        { R"({"b": 1, "a": [2], "c": {"d": null}, "b": 3})", asJuce },
        { "[\"\xc3\xa9\xe2\x80\x9c\"]", list ("\xc3\xa9\xe2\x80\x9c") },
    };
    for (const auto& [text, expected] : cases)
    {
        juce::var parsed;
        const auto result = parseJson (std::string_view (text), parsed);
        const auto shown = text.substr (0, 80);
        if (expected == refused)
        {
            EXPECT_TRUE (result.failed()) << shown;
            EXPECT_TRUE (result.getErrorMessage().contains ("error: ")) << shown;
            continue;
        }
        ASSERT_TRUE (result.wasOk()) << shown << ": " << result.getErrorMessage();
        EXPECT_TRUE (sameVar (parsed, expected == asJuce ? juce::JSON::parse (utf8 (text.c_str())) : expected))
            << shown;
    }
    juce::var parsed;
    EXPECT_TRUE (parseJson (std::string_view (nested (257)), parsed).getErrorMessage().contains ("256 levels"));
}

TEST (JsonReading, RandomDocumentsReadAsJucesReaderReadsThem)
{
    juce::Random random (20261206);
    for (int round = 0; round < 300; ++round)
    {
        const auto value = juce::var (juce::Array<juce::var>{ randomValue (random, 0) });
        const auto text = toJsonText (value, round % 2 == 0);
        juce::var mine, jucesReading;
        const bool juceRead = juce::JSON::parse (utf8 (text.c_str()), jucesReading).wasOk();
        ASSERT_EQ (parseJson (std::string_view (text), mine).wasOk(), juceRead) << text;
        EXPECT_TRUE (sameVar (mine, jucesReading)) << "round " << round << ": " << text;
        if (juceRead)
        {
            EXPECT_EQ (toJsonText (mine, round % 2 == 0), text) << "round " << round;
        }
    }
}
