#include "SysExTestSupport.h"
#include "data/ProgramLayout.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

TEST (ProgramName, KeepsPrintableBytesAndTrimsSpaces)
{
    const std::pair<std::string, std::string> cases[] = {
        { "Deep Bass", "Deep Bass" },     { std::string (16, ' '), "" }, { "  Pad  ", "Pad" },
        { "A\001B\177C\037\tD", "ABCD" }, { "\xff\x80 X ~", "X ~" },     { "SixteenCharsLong", "SixteenCharsLong" },
        { std::string (16, '\0'), "" },
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ (readProgramName (programNamed (bytes)), expected) << bytes;

    EXPECT_EQ (readProgramName (UnpackedProgram{}), "");
    EXPECT_EQ (readProgramName (UnpackedProgram{ 166, 10, 'H', 'i' }), "Hi") << "a short buffer reads what it has";
}

TEST (ProgramRegions, ProtectTheInstrumentStateAndReservedGaps)
{
    const std::pair<int, bool> cases[] = {
        { -1, true },    { 0, false },    { 17, false },   { 18, true },    { 105, true },   { 106, true },
        { 107, true },   { 108, true },   { 115, true },   { 116, false },  { 124, false },  { 125, false },
        { 126, true },   { 131, true },   { 132, false },  { 141, false },  { 142, true },   { 686, true },
        { 691, true },   { 692, true },   { 947, true },   { 948, false },  { 954, true },   { 956, false },
        { 1116, true },  { 1127, true },  { 1128, false }, { 1153, false }, { 1154, true },  { 1167, true },
        { 1179, true },  { 1180, false }, { 1344, false }, { 1345, true },  { 1947, true },  { 1948, false },
        { 1949, false }, { 1950, true },  { 2047, true },  { 2048, true },  { 99999, true },
    };
    for (const auto& [offset, isProtected] : cases)
        EXPECT_EQ (isProtectedByte (offset), isProtected) << offset;

    int stateBytes = 0;
    for (const auto& r : protectedRegions())
        if (r.isState)
            stateBytes += r.length;
    EXPECT_EQ (stateBytes, 88 + 8 + 3 * 12);
    EXPECT_EQ (protectedRegions().size(), 3u + 36u + 28u);
    EXPECT_EQ (reservedBits().size(), 36u + 16u);
}

TEST (ProgramWritability, HonoursReservedBitsRegionsAndTheEnd)
{
    struct Case
    {
        int offset;
        std::uint8_t mask;
        bool writable;
    };
    const Case masks[] = {
        { 1748, 0x7B, true },  { 1748, 0x80, false }, { 1748, 0x04, false }, { 1748, 0x01, true },
        { 1748, 0x00, false }, { 125, 0x03, true },   { 125, 0x04, false },  { 685, 0x03, true },
        { 1906, 0x73, true },  { 1906, 0x08, false }, { 1939, 0x0F, true },  { 1939, 0x10, false },
        { 1786, 0xBF, true },  { 1786, 0x40, false }, { 18, 0x01, false },   { 2048, 0x01, false },
        { 1555, 0x0F, true },  { 1555, 0x10, false }, { 1149, 0x07, true },  { 1149, 0x08, false },
    };
    for (const auto& c : masks)
        EXPECT_EQ (isWritableMask (c.offset, c.mask), c.writable) << c.offset << " mask " << (int)c.mask;

    EXPECT_EQ (reservedMask (1748), 0x84);
    EXPECT_EQ (reservedMask (124), 0x00);

    // A byte with reserved bits is not writable whole; a word needs both of its bytes writable.
    for (const auto& [offset, writable] :
         { std::pair (124, true), { 125, false }, { 1748, false }, { 18, false }, { 2048, false }, { -5, false } })
        EXPECT_EQ (isWritableByte (offset), writable) << offset;
    for (const auto& [offset, writable] :
         { std::pair (1746, true), { 1747, false }, { 17, false }, { 1949, false }, { 2047, false }, { 2, true } })
        EXPECT_EQ (isWritableWord (offset), writable) << offset;

    int writable = 0, unprotected = 0;
    for (int i = 0; i < 2048; ++i)
    {
        writable += isWritableByte (i) ? 1 : 0;
        unprotected += isProtectedByte (i) ? 0 : 1;
    }
    EXPECT_EQ (unprotected - writable, 52) << "every reserved-bit byte lies outside the protected regions";
}
