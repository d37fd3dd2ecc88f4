#include "SysExTestSupport.h"
#include "midi/SysExStream.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace orvo;
using namespace orvo::testing;

//==============================================================================
TEST (SevenBitPacking, PacksAndUnpacksEachGroupShapeAsTheBitsLaidEndToEnd)
{
    struct Case
    {
        const char* what;
        ByteVector bytes, packed;
        bool packsBack; // false: only the unpacking direction holds
    };
    const Case cases[] = {
        { "empty input", {}, {}, true },
        { "a single byte gives two bytes", { 0xFF }, { 0x7F, 0x01 }, true },
        { "full group of ones", ByteVector (7, 0xFF), ByteVector (8, 0x7F), true },
        { "one set bit per byte", ByteVector (7, 0x01), { 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00 }, true },
        { "eight bytes spill one into a second group",
          ByteVector (8, 0x80),
          { 0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00, 0x01 },
          true },
        { "one packed byte yields nothing", {}, { 0x7F }, false },
        { "low bits of p1 go to the top", { 0x80 }, { 0x00, 0x7F }, false },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (unpackSevenBit (c.packed), c.bytes) << c.what;
        if (c.packsBack)
        {
            EXPECT_EQ (packSevenBit (c.bytes), c.packed) << c.what;
        }
    }
    EXPECT_TRUE (unpackSevenBit (nullptr, 8).empty());
}

TEST (SevenBitPacking, RoundTripsEveryLengthUpToThreeGroupsAndWholeProgramsAndMixes)
{
    std::mt19937 rng (7);
    std::vector<std::size_t> lengths{ 1024, 2048 };
    for (std::size_t n = 1; n <= 21; ++n)
        lengths.push_back (n);
    for (const auto n : lengths)
    {
        ByteVector bytes (n);
        for (auto& b : bytes)
            b = (std::uint8_t) (rng() & 0xFF);
        const auto packed = packSevenBit (bytes);
        EXPECT_EQ (packed.size(), n + (n + 6) / 7) << n; // 2048 -> 2341, 1024 -> 1171
        EXPECT_EQ (unpackSevenBit (packed), bytes) << n;
        EXPECT_TRUE (std::all_of (packed.begin(), packed.end(), [] (auto b) { return b < 0x80; })) << n;
    }
}

//==============================================================================
TEST (ProgramDumpClassification, AcceptsBothWellFormedShapes)
{
    const auto program = randomProgram();
    const auto stored = buildProgramDump (program, 0, 1, 77);
    const auto editBuffer = buildProgramDump (program, 2, 0x10);
    const auto fields = [] (const ByteVector& m)
    {
        const auto l = classifyProgramDump (m);
        return std::make_tuple (l.valid, l.kind, l.opcode, l.bank, l.program, l.subCode, l.headerLength, l.packedLength,
                                l.expectedTotalLength, l.expectedPackedLength, l.expectedUnpackedLength);
    };
    EXPECT_EQ (fields (stored), std::make_tuple (true, "stored-program", 0, 1, 77, -1, 8, 2341, 2350, 2341, 2048));
    EXPECT_EQ (fields (editBuffer),
               std::make_tuple (true, "program-edit-buffer", 2, -1, -1, 16, 7, 2341, 2349, 2341, 2048));
    EXPECT_EQ (unpackProgramDump (stored), program);
    EXPECT_EQ (unpackProgramDump (editBuffer), program);
    EXPECT_EQ (describeProgramDumpProblem (stored.data(), stored.size()), "");
}

TEST (ProgramDumpClassification, RejectsEveryMalformedShapeWithAReason)
{
    const auto program = randomProgram();
    const auto stored = buildProgramDump (program, 0, 0, 5);
    const auto editBuffer = buildProgramDump (program, 2, 0x10);
    auto oneShort = stored;
    oneShort.erase (oneShort.end() - 2);
    auto oneLong = stored;
    oneLong.insert (oneLong.end() - 1, 0x00);
    auto noEnd = stored;
    noEnd.pop_back();
    auto unsignedDump = stored;
    const auto packed = packSevenBit (withByte (program, 1, 11));
    std::copy (packed.begin(), packed.end(), unsignedDump.begin() + 8);

    struct Case
    {
        const char* what;
        ByteVector message;
        int opcode;
        const char* reasonStart;
    };
    const Case cases[] = {
        { "empty", {}, -1, "empty message" },
        { "not SysEx", withByte (stored, 0, 0x90), -1, "not a SysEx" },
        { "seven bytes", framed ({ 0x00, 0xF7 }), -1, "message of 7 bytes" },
        { "wrong manufacturer", withByte (stored, 3, 0x0F), -1, "not an Orvo message" },
        { "wrong model", withByte (stored, 4, 0x1E), -1, "not an Orvo message" },
        { "no final F7", noEnd, -1, "message does not end with F7" },
        { "wrong opcode", withByte (stored, 5, 0x06), 6, "opcode 0x06" },
        { "stored dump one byte short", oneShort, 0, "stored-program dump is 2349 bytes" },
        { "stored dump one byte long", oneLong, 0, "stored-program dump is 2351 bytes" },
        { "edit buffer with stored length", withByte (stored, 5, 0x02), 2, "program-edit-buffer dump is 2350" },
        { "edit buffer with wrong sub-code", withByte (editBuffer, 6, 0x11), 2, "edit-buffer sub-code is 0x11" },
        { "unpacks without the signature", unsignedDump, 0, "unpacked data does not carry" },
    };
    for (const auto& c : cases)
    {
        const auto layout = classifyProgramDump (c.message);
        EXPECT_EQ (layout.valid, c.message == unsignedDump) << c.what << ": the shape alone is fine";
        EXPECT_EQ (layout.opcode, c.opcode) << c.what;
        EXPECT_TRUE (unpackProgramDump (c.message).empty()) << c.what;
        const auto reason = describeProgramDumpProblem (c.message.data(), c.message.size());
        EXPECT_EQ (reason.rfind (c.reasonStart, 0), 0u) << c.what << ": " << reason;
    }
}

TEST (ProgramDumpBuilding, RefusesWhatCannotBeSent)
{
    const auto program = randomProgram();
    EXPECT_TRUE (buildProgramDump (withByte (program, 0, 0), 0, 0, 0).empty()) << "no signature";
    EXPECT_TRUE (buildProgramDump (UnpackedProgram (2047, 0), 0, 0, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 128, 0, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 128, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 0, 128).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 0).empty()) << "stored form needs both operands";
    EXPECT_TRUE (buildProgramDump (program, 2, 0x10, 0).empty()) << "edit-buffer form takes one operand";

    const auto stored = buildProgramDump (program, 0, 0, 5);
    ASSERT_EQ (stored.size(), 2350u);
    EXPECT_EQ (ByteVector (stored.begin(), stored.begin() + 8), framed ({ 0x00, 0x00, 0x05 }));
    EXPECT_EQ (stored.back(), 0xF7);
}

//==============================================================================
TEST (MixDumpUnpacking, AcceptsOnlyTheExactShapeWithTheMixSignature)
{
    ByteVector mix (1024, 0x33);
    mix[0] = 182;
    mix[1] = 10;
    const auto good = mixDumpMessage (mix);
    ASSERT_EQ (good.size(), 1179u);
    EXPECT_EQ (unpackMixDump (good), mix);

    auto shortDump = good;
    shortDump.erase (shortDump.end() - 2);
    for (const auto& bad : { withByte (good, 6, 1), withByte (good, 5, 0x02), withByte (good, 1178, 0x00), shortDump,
                             withByte (good, 7, 0), ByteVector() })
        EXPECT_TRUE (unpackMixDump (bad).empty());
}

//==============================================================================
TEST (SysExRequestBuilders, ProduceTheFixedCommandBytes)
{
    EXPECT_EQ (buildProgramEditBufferRequest(), framed ({ 0x03, 0x10, 0xF7 }));
    EXPECT_EQ (buildGlobalRequest(), framed ({ 0x09, 0x00, 0xF7 }));
    EXPECT_EQ (buildMixEditBufferRequest(), framed ({ 0x07, 0x00, 0xF7 }));
    EXPECT_EQ (buildProgramBankRequest (2), framed ({ 0x0A, 0x02, 0xF7 }));
    EXPECT_EQ (buildProgramBankRequest (130), framed ({ 0x0A, 0x02, 0xF7 })) << "bank is masked to 7 bits";
    EXPECT_EQ (buildSelectModeMessage (0), framed ({ 0x0D, 0x00, 0xF7 }));
    EXPECT_EQ (buildSelectModeMessage (1), framed ({ 0x0D, 0x01, 0xF7 }));

    std::vector<ByteVector> sent;
    SysExRequests requests ([&] (const ByteVector& m) { sent.push_back (m); });
    requests.selectMode (0);
    requests.requestGlobal();
    requests.requestProgramEditBuffer();
    requests.requestMixEditBuffer();
    requests.requestProgramBank (1);
    requests.sendMidiEdit (0x1C, 0, 0, 1);
    EXPECT_EQ (sent, (std::vector<ByteVector>{ buildSelectModeMessage (0), buildGlobalRequest(),
                                               buildProgramEditBufferRequest(), buildMixEditBufferRequest(),
                                               framed ({ 0x0A, 0x01, 0xF7 }),
                                               framed ({ 0x0E, 0x1C, 0x00, 0x00, 0x00, 0x01, 0xF7 }) }));

    SysExRequests closed (nullptr);
    closed.requestGlobal(); // no output: silently dropped
}

TEST (MidiEditMessage, CarriesASigned17BitValueAndAClampedChannel)
{
    struct Case
    {
        int channel, value;
        std::uint8_t b8, b9, b10;
        int readBack;
    };
    const Case cases[] = {
        { 3, -1, 0x1F, 0x7F, 0x7F, -1 },       { 15, 65535, 0x7B, 0x7F, 0x7F, 65535 },
        { 0, 70000, 0x03, 0x7F, 0x7F, 65535 }, { 0, -99999, 0x04, 0x00, 0x00, -65536 },
        { 16, 128, 0x78, 0x01, 0x00, 128 },    { -4, 16384, 0x01, 0x00, 0x00, 16384 },
    };
    for (const auto& c : cases)
    {
        const auto m = buildMidiEditMessage (0x01, 12, c.channel, c.value);
        EXPECT_EQ (m, framed ({ 0x0E, 0x01, 12, c.b8, c.b9, c.b10, 0xF7 })) << c.channel << " " << c.value;
        EXPECT_EQ (midiEditValue (m), c.readBack);
    }
}

//==============================================================================
TEST (GlobalDumpFields, ReadTwoByteFieldsInEitherByteOrder)
{
    const std::tuple<std::uint8_t, std::uint8_t, std::optional<int>> cases[] = {
        { 0x00, 0x05, 5 },   { 0x05, 0x00, 5 },
        { 0x01, 0x00, 1 },   { 0x01, 0x01, std::nullopt },
        { 0x7F, 0x00, 127 }, { 0x00, 0x80, std::nullopt },
    };
    for (const auto& [hi, lo, value] : cases)
    {
        EXPECT_EQ (readByteOrderCode (hi, lo), value) << (int)hi << " " << (int)lo;
        ByteVector global (15850, 0);
        global[15842] = hi;
        global[15843] = lo;
        EXPECT_EQ (readGlobalDumpFields (global).lastProgramNumber, value);
    }
}

TEST (GlobalDumpFields, KeepOnlyInRangeSettingsAndDropFieldsBeyondTheData)
{
    ByteVector global (20, 0);
    global[14] = 16;
    global[15] = 3;
    global[16] = 2;
    auto fields = readGlobalDumpFields (global);
    EXPECT_EQ (std::make_tuple (fields.mixChannel, fields.programChannel, fields.bankSelectType),
               std::make_tuple (std::optional (16), std::optional (3), std::optional (2)));
    EXPECT_FALSE (fields.lastProgramNumber || fields.lastProgramBank || fields.lastMixBank);

    global[14] = 0;
    global[15] = 17;
    global[16] = 3;
    fields = readGlobalDumpFields (global);
    EXPECT_FALSE (fields.mixChannel || fields.programChannel || fields.bankSelectType);

    ByteVector full (15849, 0);
    full[15845] = 2;
    full[15847] = 9;
    fields = readGlobalDumpFields (full);
    EXPECT_EQ (fields.lastProgramBank, 2);
    EXPECT_EQ (fields.lastMixNumber, 9);
    EXPECT_FALSE (fields.lastMixBank.has_value()) << "its second byte lies beyond the data";

    EXPECT_TRUE (unpackGlobalDump (framed ({ 0x08, 0x00 }).data(), 7).empty()) << "no final F7";
    const auto m = framed ({ 0x08, 0x7F, 0x01, 0xF7 });
    EXPECT_EQ (unpackGlobalDump (m.data(), m.size()), ByteVector{ 0xFF });
}

//==============================================================================
TEST (SysExStream, CutsMessagesAndKeepsBrokenOnesForReporting)
{
    const std::tuple<const char*, ByteVector, std::vector<ByteVector>> cases[] = {
        { "empty", {}, {} },
        { "two messages", { 0xF0, 0x01, 0xF7, 0xF0, 0x02, 0xF7 }, { { 0xF0, 0x01, 0xF7 }, { 0xF0, 0x02, 0xF7 } } },
        { "noise around", { 0x11, 0x90, 0xF0, 0x01, 0xF7, 0x7F }, { { 0xF0, 0x01, 0xF7 } } },
        { "next F0 cuts the first short", { 0xF0, 0x01, 0xF0, 0x02, 0xF7 }, { { 0xF0, 0x01 }, { 0xF0, 0x02, 0xF7 } } },
        { "ends without F7", { 0xF0, 0x01, 0x02 }, { { 0xF0, 0x01, 0x02 } } },
        { "stray status byte", { 0xF0, 0x01, 0x90, 0x40, 0xF7 }, { { 0xF0, 0x01 } } },
        { "real-time byte inside", { 0xF0, 0x01, 0xF8, 0x02, 0xF7 }, { { 0xF0, 0x01, 0x02, 0xF7 } } },
        { "lone F7", { 0xF7, 0xF7 }, {} },
    };
    for (const auto& [what, stream, expected] : cases)
        EXPECT_EQ (splitSysExMessages (stream), expected) << what;
    EXPECT_TRUE (splitSysExMessages (nullptr, 10).empty());
}

TEST (ProgramDumpLayout, OperandsAreDataBytesAndADumpCarriesOnlyDataBytes)
{
    const ByteVector shortStored { 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x00, 0x00, 0xF7 };
    EXPECT_EQ (classifyProgramDump (shortStored).program, -1) << "F7 is the end, not Program 247";
    EXPECT_EQ (classifyProgramDump (shortStored).bank, 0);

    UnpackedProgram program (2048, 0);
    program[0] = 166;
    program[1] = 10;
    auto dump = buildProgramDump (program, 0, 1, 5);
    ASSERT_TRUE (classifyProgramDump (dump).valid);
    dump[1000] = 0x85;
    EXPECT_FALSE (classifyProgramDump (dump).valid);
    EXPECT_TRUE (unpackProgramDump (dump).empty());
    EXPECT_EQ (describeProgramDumpProblem (dump.data(), dump.size()), "byte 1000 is 0x85, not a 7-bit data byte");
}

TEST (SysExStream, VisitsEachMessageKeepingAtMostTheBytesAskedFor)
{
    const ByteVector stream { 0xF0, 1, 2, 3, 4, 0xF7, 0x55, 0xF0, 9, 0xF0, 0xF8, 7, 0xF7 };
    std::vector<std::pair<ByteVector, std::size_t>> seen;
    forEachSysExMessage (stream.data(), stream.size(), 3, [&] (const SysExMessageView& m) {
        seen.emplace_back (ByteVector (m.bytes, m.bytes + m.kept), m.length);
    });
    using Seen = std::vector<std::pair<ByteVector, std::size_t>>;
    EXPECT_EQ (seen, (Seen { { { 0xF0, 1, 2 }, 6 }, { { 0xF0, 9 }, 2 }, { { 0xF0, 7, 0xF7 }, 3 } }));
    EXPECT_EQ (splitSysExMessages (stream).size(), 3u);
}
