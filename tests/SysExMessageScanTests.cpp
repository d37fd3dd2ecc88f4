#include "DocumentTestSupport.h"
#include "LibraryTestSupport.h"
#include "library/SysExMessageScan.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

TEST (SysExMessageScan, FindsMessagesAndTellsProgramDumpsApart)
{
    const ByteVector buffer = {
        0x01, 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00, 0x01, 0x04, 0xF7, // stored Program, slot 4
        0xF0, 0x7E, 0xF7,                                           // too short for anything
        0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x06, 0x00, 0x00, 0xF7,       // Orvo header, a Mix
        0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x02, 0x09, 0x09, 0xF7,       // edit buffer, byte 7 = 9
        0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00                          // never ended: the scan stops
    };
    const SysExMessageScan scan (buffer);
    const auto& m = scan.messages();
    ASSERT_EQ (m.size(), 4u);
    struct Row
    {
        size_t offset, length;
        int opcode, b6, b7;
        bool header, program;
    };
    const Row rows[] = { { 1, 9, 0x00, 1, 4, true, true },
                         { 10, 3, -1, -1, -1, false, false },
                         { 13, 9, 0x06, 0, 0, true, false },
                         { 22, 9, 0x02, 9, 9, true, true } };
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ (m[i].offset, rows[i].offset) << i;
        EXPECT_EQ (m[i].length, rows[i].length) << i;
        EXPECT_EQ (m[i].opcode, rows[i].opcode) << i;
        EXPECT_EQ (m[i].byte6, rows[i].b6) << i;
        EXPECT_EQ (m[i].byte7, rows[i].b7) << i;
        EXPECT_EQ (m[i].hasOrvoHeader, rows[i].header) << i;
        EXPECT_EQ (m[i].isProgramDump, rows[i].program) << i;
    }
    EXPECT_EQ (scan.programDumpCount(), 2);
    EXPECT_EQ (scan.chooseProgramDump (9)->offset, 22u);
    EXPECT_EQ (scan.chooseProgramDump (4)->offset, 1u);
    EXPECT_EQ (scan.chooseProgramDump (77)->offset, 1u);
    EXPECT_EQ (scan.chooseProgramDump()->offset, 1u);
    EXPECT_EQ (scan.bytesOf (m[1]), (ByteVector{ 0xF0, 0x7E, 0xF7 }));
    EXPECT_FALSE (SysExMessageScan (ByteVector{ 0xF0, 0x7E, 0xF7 }).chooseProgramDump (0));
    EXPECT_TRUE (SysExMessageScan (nullptr, 10).messages().empty());
}

TEST (DocumentSysEx, AbsentTextIsNoDumpAndNoMessage)
{
    for (const juce::var& text : { juce::var(), juce::var ("") })
    {
        auto* o = new juce::DynamicObject();
        if (!text.isVoid())
            o->setProperty ("sysexBase64", text);
        const auto r = decodeDocumentSysEx (juce::var (o), 0);
        EXPECT_FALSE (r.dump);
        EXPECT_FALSE (r.failed);
        EXPECT_TRUE (r.message.empty());
    }
    // Line breaks inside the Base64 text are allowed.
    const auto dump = makeProgramDump (0, 3);
    auto text = juce::Base64::toBase64 (dump.data(), dump.size());
    text = text.substring (0, 40) + "\r\n" + text.substring (40);
    auto* o = new juce::DynamicObject();
    o->setProperty ("sysexBase64", text);
    const auto r = decodeDocumentSysEx (juce::var (o), 3);
    ASSERT_TRUE (r.dump);
    EXPECT_EQ (*r.dump, dump);
    EXPECT_TRUE (r.message.empty());
}
