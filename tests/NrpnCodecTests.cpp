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

TEST (NrpnAssembly, CompletesOnlyOnDataLsbAfterAWholeParameterAndValue)
{
    using CC = std::array<int, 3>;    // channel, controller, value
    using Event = std::array<int, 4>; // channel, parameter, value, msb
    struct Case
    {
        const char* what;
        std::vector<CC> feed;
        std::vector<Event> completed;
    };
    const Case cases[] = {
        { "a whole NRPN, then a further LSB on the kept MSB",
          { { 1, 99, 15 }, { 1, 98, 0 }, { 1, 6, 16 }, { 1, 38, 0 }, { 1, 38, 5 } },
          { { 1, 1920, 2048, 16 }, { 1, 1920, 2053, 16 } } },
        { "a lone CC 6 never completes",
          { { 1, 99, 15 }, { 1, 98, 0 }, { 1, 6, 16 }, { 1, 38, 0 }, { 1, 6, 20 } },
          { { 1, 1920, 2048, 16 } } },
        { "the null NRPN clears the parameter",
          { { 1, 99, 15 }, { 1, 98, 0 }, { 1, 99, 127 }, { 1, 98, 127 }, { 1, 6, 16 }, { 1, 38, 0 } },
          {} },
        { "a new parameter LSB forgets the value MSB",
          { { 1, 99, 1 }, { 1, 98, 2 }, { 1, 6, 3 }, { 1, 98, 4 }, { 1, 38, 1 }, { 1, 6, 3 }, { 1, 38, 1 } },
          { { 1, 1 * 128 + 4, 3 * 128 + 1, 3 } } },
        { "channels apart, other controllers and bad channels ignored",
          { { 1, 99, 15 },
            { 2, 99, 20 },
            { 1, 98, 0 },
            { 2, 98, 1 },
            { 1, 7, 100 },
            { 1, 6, 1 },
            { 2, 6, 2 },
            { 0, 38, 0 },
            { 17, 38, 0 },
            { 2, 38, 0 },
            { 1, 38, 0 } },
          { { 2, 20 * 128 + 1, 256, 2 }, { 1, 1920, 128, 1 } } },
        { "data before any parameter", { { 3, 6, 10 }, { 3, 38, 10 } }, {} },
        { "parameter LSB still unknown", { { 3, 99, 1 }, { 3, 6, 10 }, { 3, 38, 10 } }, {} },
    };
    for (const auto& c : cases)
    {
        NrpnAssembler a;
        std::vector<Event> completed;
        for (const auto& [channel, controller, value] : c.feed)
            if (const auto e = a.feed (channel, controller, value); e.complete)
            {
                completed.push_back ({ e.channel, e.parameter, e.value, e.msb });
                EXPECT_EQ (e.lsb, value) << c.what;
            }
        EXPECT_EQ (completed, c.completed) << c.what;
    }
}

TEST (MonitorLineFormat, DescribesEveryMessageKind)
{
    const std::pair<std::vector<std::uint8_t>, const char*> cases[] = {
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
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ (describeMidiMessage (bytes.data(), bytes.size()), text);
}
