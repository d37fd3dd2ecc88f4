#include "midi/SysExStream.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST (SysExStream, CutsMessagesAndKeepsBrokenOnesForReporting)
{
    struct Case
    {
        const char* what;
        ByteVector stream;
        std::vector<ByteVector> expected;
    };
    const Case cases[] = {
        { "empty", {}, {} },
        { "two messages", { 0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7 }, { { 0xF0, 0x01, 0xF7 }, { 0xF0, 0x02, 0xF7 } } },
        { "noise around", { 0x11, 0x90, 0xF0, 0x01, 0xF7, 0x7F }, { { 0xF0, 0x01, 0xF7 } } },
        { "next F0 cuts the first short", { 0xF0, 0x01, 0xF0, 0x02, 0xF7 }, { { 0xF0, 0x01 }, { 0xF0, 0x02, 0xF7 } } },
        { "ends without F7", { 0xF0, 0x01, 0x02 }, { { 0xF0, 0x01, 0x02 } } },
        { "stray status byte", { 0xF0, 0x01, 0x90, 0x40, 0xF7 }, { { 0xF0, 0x01 } } },
        { "real-time byte inside", { 0xF0, 0x01, 0xF8, 0x02, 0xF7 }, { { 0xF0, 0x01, 0x02, 0xF7 } } },
        { "lone F7", { 0xF7, 0xF7 }, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ (splitSysExMessages (c.stream), c.expected) << c.what;
    EXPECT_TRUE (splitSysExMessages (nullptr, 10).empty());
}
