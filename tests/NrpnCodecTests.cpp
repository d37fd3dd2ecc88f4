#include "midi/NrpnCodec.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
std::string wire (int channel, int parameter, int value)
{
    std::string s;
    for (const auto& m : buildNrpnMessages (channel, parameter, value))
        s += (s.empty() ? "" : " ") + hexBytes (m.data(), m.size());
    return s;
}
} // namespace

TEST (NrpnWireFormat, PutsFourControlChangesInOrderWithTheChannelClamped)
{
    EXPECT_EQ (wire (1, 1920, 2048), "b0 63 0f b0 62 00 b0 06 10 b0 26 00");
    EXPECT_EQ (wire (16, 16383, 16383), "bf 63 7f bf 62 7f bf 06 7f bf 26 7f");
    EXPECT_EQ (wire (0, 0, 0), "b0 63 00 b0 62 00 b0 06 00 b0 26 00");
    EXPECT_EQ (wire (17, 3077, 4095), "bf 63 18 bf 62 05 bf 06 1f bf 26 7f");
}

TEST (NrpnAssembly, CompletesOnDataLsbAndKeepsTheMsbForFurtherLsbs)
{
    NrpnAssembler a;
    EXPECT_FALSE (a.feed (1, 99, 15).complete);
    EXPECT_FALSE (a.feed (1, 98, 0).complete);
    EXPECT_FALSE (a.feed (1, 6, 16).complete);
    auto e = a.feed (1, 38, 0);
    ASSERT_TRUE (e.complete);
    EXPECT_EQ (e.parameter, 1920);
    EXPECT_EQ (e.value, 2048);
    EXPECT_EQ (e.msb, 16);
    EXPECT_EQ (e.lsb, 0);

    e = a.feed (1, 38, 5);
    ASSERT_TRUE (e.complete);
    EXPECT_EQ (e.value, 2053);

    EXPECT_FALSE (a.feed (1, 6, 20).complete) << "a lone CC 6 never completes an event";
}

TEST (NrpnAssembly, NullParameterAndNewParameterBytesResetTheValue)
{
    NrpnAssembler a;
    a.feed (1, 99, 15);
    a.feed (1, 98, 0);
    a.feed (1, 99, 127);
    a.feed (1, 98, 127);
    a.feed (1, 6, 16);
    EXPECT_FALSE (a.feed (1, 38, 0).complete) << "null NRPN clears the parameter";

    a.feed (1, 99, 1);
    a.feed (1, 98, 2);
    a.feed (1, 6, 3);
    a.feed (1, 98, 4); // a new parameter LSB forgets the value MSB
    EXPECT_FALSE (a.feed (1, 38, 1).complete);
    a.feed (1, 6, 3);
    const auto e = a.feed (1, 38, 1);
    ASSERT_TRUE (e.complete);
    EXPECT_EQ (e.parameter, 1 * 128 + 4);
}

TEST (NrpnAssembly, KeepsChannelsApartAndIgnoresOtherControllersAndBadChannels)
{
    NrpnAssembler a;
    a.feed (1, 99, 15);
    a.feed (2, 99, 20);
    a.feed (1, 98, 0);
    a.feed (2, 98, 1);
    a.feed (1, 7, 100);
    a.feed (1, 6, 1);
    a.feed (2, 6, 2);
    EXPECT_FALSE (a.feed (0, 38, 0).complete);
    EXPECT_FALSE (a.feed (17, 38, 0).complete);
    const auto e2 = a.feed (2, 38, 0);
    const auto e1 = a.feed (1, 38, 0);
    EXPECT_EQ (e1.parameter, 1920);
    EXPECT_EQ (e1.value, 128);
    EXPECT_EQ (e2.channel, 2);
    EXPECT_EQ (e2.parameter, 20 * 128 + 1);
    EXPECT_EQ (e2.value, 256);
}

TEST (NrpnAssembly, DataBeforeAnyParameterYieldsNothing)
{
    NrpnAssembler a;
    a.feed (3, 6, 10);
    EXPECT_FALSE (a.feed (3, 38, 10).complete);
    a.feed (3, 99, 1);
    a.feed (3, 6, 10);
    EXPECT_FALSE (a.feed (3, 38, 10).complete) << "parameter LSB still unknown";
}

TEST (MonitorLineFormat, DescribesEveryMessageKind)
{
    struct Case
    {
        std::vector<std::uint8_t> bytes;
        const char* text;
    };
    const Case cases[] = {
        { { 0x90, 60, 100 }, "Note On ch=1 note=60 velocity=100 bytes=90 3c 64" },
        { { 0x91, 60, 0 }, "Note Off ch=2 note=60 velocity=0 bytes=91 3c 00" },
        { { 0x8f, 1, 2 }, "Note Off ch=16 note=1 velocity=2 bytes=8f 01 02" },
        { { 0xb0, 99, 15 }, "CC ch=1 cc=99 value=15 bytes=b0 63 0f" },
        { { 0xc4, 7 }, "Program Change ch=5 program=7 bytes=c4 07" },
        { { 0xe0, 0, 64 }, "Pitch Wheel ch=1 value=8192 bytes=e0 00 40" },
        { { 0xd2, 33 }, "Channel Pressure ch=3 value=33 bytes=d2 21" },
        { { 0xa0, 60, 5 }, "Aftertouch ch=1 note=60 value=5 bytes=a0 3c 05" },
        { { 0xf0, 0x01, 0x02, 0xf7 }, "SysEx bytes=2 bytes=f0 01 02 f7" },
        { { 0xf8 }, "Other bytes=f8" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (describeMidiMessage (c.bytes.data(), c.bytes.size()), c.text);
}
