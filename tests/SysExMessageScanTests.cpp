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
    // offset, length, opcode, bytes 6 and 7, Orvo header, Program dump
    using Row = std::tuple<size_t, size_t, int, int, int, bool, bool>;
    std::vector<Row> rows;
    for (const auto& x : m)
        rows.emplace_back (x.offset, x.length, x.opcode, x.byte6, x.byte7, x.hasOrvoHeader, x.isProgramDump);
    ASSERT_EQ (rows, (std::vector<Row>{ { 1, 9, 0x00, 1, 4, true, true },
                                        { 10, 3, -1, -1, -1, false, false },
                                        { 13, 9, 0x06, 0, 0, true, false },
                                        { 22, 9, 0x02, 9, 9, true, true } }));
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
        const auto r = decodeDocumentSysEx (text.isVoid() ? jsonObject ({}) : objectWith ("sysexBase64", text), 0);
        EXPECT_FALSE (r.dump);
        EXPECT_FALSE (r.failed);
        EXPECT_TRUE (r.message.empty());
    }
    // Line breaks inside the Base64 text are allowed.
    const auto dump = makeProgramDump (0, 3);
    auto text = juce::Base64::toBase64 (dump.data(), dump.size());
    text = text.substring (0, 40) + "\r\n" + text.substring (40);
    const auto r = decodeDocumentSysEx (objectWith ("sysexBase64", text), 3);
    ASSERT_TRUE (r.dump);
    EXPECT_EQ (*r.dump, dump);
    EXPECT_TRUE (r.message.empty());
}
