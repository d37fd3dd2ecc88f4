#include "midi/SysExProtocol.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvo;

namespace
{

UnpackedProgram patternedProgram (unsigned seed = 1)
{
    std::mt19937 rng (seed);
    UnpackedProgram program (sysex::programUnpackedLength);
    for (auto& b : program)
        b = (std::uint8_t) (rng() & 0xFF);
    program[0] = 166;
    program[1] = 10;
    return program;
}

ByteVector header (std::initializer_list<int> tail)
{
    ByteVector bytes{ 0xF0, 0x00, 0x00, 0x0E, 0x1D };
    for (int b : tail)
        bytes.push_back ((std::uint8_t)b);
    return bytes;
}

} // namespace

//==============================================================================
TEST (SevenBitPacking, UnpacksEachGroupShapeAsTheBitsLaidEndToEnd)
{
    struct Case
    {
        const char* what;
        ByteVector packed, expected;
    };
    const Case cases[] = {
        { "empty input", {}, {} },
        { "one byte yields nothing", { 0x7F }, {} },
        { "two bytes carry bit 7 in the second", { 0x7F, 0x01 }, { 0xFF } },
        { "low bits of p1 go to the top", { 0x00, 0x7F }, { 0x80 } },
        { "full group of ones", ByteVector (8, 0x7F), ByteVector (7, 0xFF) },
        { "full group with one set bit per byte",
          { 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00 },
          { 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01 } },
        { "group of three", { 0x2A, 0x55, 0x03 }, { 0xAA, 0xEA } },
    };
    for (const auto& c : cases)
        EXPECT_EQ (unpackSevenBit (c.packed), c.expected) << c.what;

    EXPECT_TRUE (unpackSevenBit (nullptr, 8).empty());
}

TEST (SevenBitPacking, PacksEachGroupShapeIntoSevenBitBytes)
{
    struct Case
    {
        const char* what;
        ByteVector bytes, expected;
    };
    const Case cases[] = {
        { "empty input", {}, {} },
        { "a single byte gives two bytes", { 0xFF }, { 0x7F, 0x01 } },
        { "a single byte below 128", { 0x45 }, { 0x45, 0x00 } },
        { "full group of ones", ByteVector (7, 0xFF), ByteVector (8, 0x7F) },
        { "eight bytes spill one into a second group",
          ByteVector (8, 0x80),
          { 0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x00, 0x01 } },
    };
    for (const auto& c : cases)
        EXPECT_EQ (packSevenBit (c.bytes), c.expected) << c.what;

    for (const auto& c : cases)
        for (auto b : packSevenBit (c.bytes))
            EXPECT_LT (b, 0x80) << c.what;
}

TEST (SevenBitPacking, RoundTripsEveryLengthUpToThreeGroups)
{
    std::mt19937 rng (7);
    for (std::size_t n = 1; n <= 21; ++n)
    {
        ByteVector bytes (n);
        for (auto& b : bytes)
            b = (std::uint8_t) (rng() & 0xFF);
        const auto packed = packSevenBit (bytes);
        EXPECT_EQ (packed.size(), n + (n + 6) / 7) << n;
        EXPECT_EQ (unpackSevenBit (packed), bytes) << n;
    }
}

TEST (SevenBitPacking, RoundTripsAFullProgramAndAFullMix)
{
    const auto program = patternedProgram();
    const auto packed = packSevenBit (program);
    ASSERT_EQ (packed.size(), 2341u);
    EXPECT_EQ (unpackSevenBit (packed), program);
    EXPECT_EQ (packSevenBit (unpackSevenBit (packed)), packed);

    ByteVector mix (1024, 0xA5);
    const auto packedMix = packSevenBit (mix);
    ASSERT_EQ (packedMix.size(), 1171u);
    EXPECT_EQ (unpackSevenBit (packedMix).size(), 1024u);
}

//==============================================================================
TEST (ProgramDumpClassification, AcceptsBothWellFormedShapes)
{
    const auto program = patternedProgram();
    const auto stored = buildProgramDump (program, 0, 1, 77);
    const auto editBuffer = buildProgramDump (program, 2, 0x10);

    const auto s = classifyProgramDump (stored);
    EXPECT_TRUE (s.valid);
    EXPECT_EQ (s.kind, "stored-program");
    EXPECT_EQ (s.opcode, 0);
    EXPECT_EQ (s.bank, 1);
    EXPECT_EQ (s.program, 77);
    EXPECT_EQ (s.subCode, -1);
    EXPECT_EQ (s.headerLength, 8);
    EXPECT_EQ (s.packedLength, 2341);
    EXPECT_EQ (s.expectedTotalLength, 2350);
    EXPECT_EQ (s.expectedPackedLength, 2341);
    EXPECT_EQ (s.expectedUnpackedLength, 2048);

    const auto e = classifyProgramDump (editBuffer);
    EXPECT_TRUE (e.valid);
    EXPECT_EQ (e.kind, "program-edit-buffer");
    EXPECT_EQ (e.opcode, 2);
    EXPECT_EQ (e.bank, -1);
    EXPECT_EQ (e.program, -1);
    EXPECT_EQ (e.subCode, 16);
    EXPECT_EQ (e.headerLength, 7);
    EXPECT_EQ (e.expectedTotalLength, 2349);

    EXPECT_EQ (unpackProgramDump (stored), program);
    EXPECT_EQ (unpackProgramDump (editBuffer), program);
    EXPECT_EQ (describeProgramDumpProblem (stored.data(), stored.size()), "");
}

TEST (ProgramDumpClassification, RejectsEveryMalformedShapeWithAReason)
{
    const auto program = patternedProgram();
    const auto stored = buildProgramDump (program, 0, 0, 5);
    const auto editBuffer = buildProgramDump (program, 2, 0x10);

    auto withByte = [] (ByteVector m, std::size_t at, std::uint8_t value)
    {
        m[at] = value;
        return m;
    };
    auto truncated = [] (ByteVector m, std::size_t n)
    {
        m.resize (n);
        return m;
    };
    auto oneShort = truncated (stored, stored.size() - 2);
    oneShort.push_back (0xF7);
    auto oneLong = stored;
    oneLong.insert (oneLong.end() - 1, 0x00);
    auto badSignature = program;
    badSignature[1] = 11;
    const auto unsignedDump = [&]
    {
        auto m = stored;
        const auto packed = packSevenBit (badSignature);
        std::copy (packed.begin(), packed.end(), m.begin() + 8);
        return m;
    }();

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
        { "seven bytes", header ({ 0x00, 0xF7 }), -1, "message of 7 bytes" },
        { "wrong manufacturer", withByte (stored, 3, 0x0F), -1, "not an Orvo message" },
        { "wrong model", withByte (stored, 4, 0x1E), -1, "not an Orvo message" },
        { "no final F7", truncated (stored, 2349), -1, "message does not end with F7" },
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
        const bool structurallyFine = std::string (c.what) == "unpacks without the signature";
        EXPECT_EQ (layout.valid, structurallyFine) << c.what;
        EXPECT_EQ (layout.opcode, c.opcode) << c.what;
        EXPECT_TRUE (unpackProgramDump (c.message).empty()) << c.what;
        const auto reason = describeProgramDumpProblem (c.message.data(), c.message.size());
        EXPECT_EQ (reason.rfind (c.reasonStart, 0), 0u) << c.what << ": " << reason;
    }
}

TEST (ProgramDumpBuilding, RefusesWhatCannotBeSent)
{
    const auto program = patternedProgram();
    auto unsignedProgram = program;
    unsignedProgram[0] = 0;

    EXPECT_TRUE (buildProgramDump (unsignedProgram, 0, 0, 0).empty());
    EXPECT_TRUE (buildProgramDump (UnpackedProgram (2047, 0), 0, 0, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 128, 0, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 128, 0).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 0, 128).empty());
    EXPECT_TRUE (buildProgramDump (program, 0, 0).empty()) << "stored form needs both operands";
    EXPECT_TRUE (buildProgramDump (program, 2, 0x10, 0).empty()) << "edit-buffer form takes one operand";

    const auto stored = buildProgramDump (program, 0, 0, 5);
    ASSERT_EQ (stored.size(), 2350u);
    EXPECT_EQ (ByteVector (stored.begin(), stored.begin() + 8), header ({ 0x00, 0x00, 0x05 }));
    EXPECT_EQ (stored.back(), 0xF7);
}

//==============================================================================
TEST (MixDumpUnpacking, AcceptsOnlyTheExactShapeWithTheMixSignature)
{
    ByteVector mix (1024, 0x33);
    mix[0] = 182;
    mix[1] = 10;
    auto good = header ({ 0x06, 0x00 });
    const auto packed = packSevenBit (mix);
    good.insert (good.end(), packed.begin(), packed.end());
    good.push_back (0xF7);
    ASSERT_EQ (good.size(), 1179u);
    EXPECT_EQ (unpackMixDump (good), mix);

    auto wrongOperand = good;
    wrongOperand[6] = 1;
    auto wrongOpcode = good;
    wrongOpcode[5] = 0x02;
    auto noEnd = good;
    noEnd.back() = 0x00;
    auto shortDump = good;
    shortDump.erase (shortDump.end() - 2);
    auto badSignature = good;
    badSignature[7] = 0;
    for (const auto& bad : { wrongOperand, wrongOpcode, noEnd, shortDump, badSignature, ByteVector() })
        EXPECT_TRUE (unpackMixDump (bad).empty());
}

//==============================================================================
TEST (SysExRequestBuilders, ProduceTheFixedCommandBytes)
{
    EXPECT_EQ (buildProgramEditBufferRequest(), header ({ 0x03, 0x10, 0xF7 }));
    EXPECT_EQ (buildGlobalRequest(), header ({ 0x09, 0x00, 0xF7 }));
    EXPECT_EQ (buildMixEditBufferRequest(), header ({ 0x07, 0x00, 0xF7 }));
    EXPECT_EQ (buildProgramBankRequest (2), header ({ 0x0A, 0x02, 0xF7 }));
    EXPECT_EQ (buildProgramBankRequest (130), header ({ 0x0A, 0x02, 0xF7 })) << "bank is masked to 7 bits";
    EXPECT_EQ (buildSelectModeMessage (0), header ({ 0x0D, 0x00, 0xF7 }));
    EXPECT_EQ (buildSelectModeMessage (1), header ({ 0x0D, 0x01, 0xF7 }));

    std::vector<ByteVector> sent;
    SysExRequests requests ([&] (const ByteVector& m) { sent.push_back (m); });
    requests.selectMode (0);
    requests.requestGlobal();
    requests.requestProgramEditBuffer();
    requests.requestMixEditBuffer();
    requests.requestProgramBank (1);
    requests.sendMidiEdit (0x1C, 0, 0, 1);
    ASSERT_EQ (sent.size(), 6u);
    EXPECT_EQ (sent[1], buildGlobalRequest());
    EXPECT_EQ (sent[4], header ({ 0x0A, 0x01, 0xF7 }));
    EXPECT_EQ (sent[5], header ({ 0x0E, 0x1C, 0x00, 0x00, 0x00, 0x01, 0xF7 }));

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
        { 0, 1, 0x00, 0x00, 0x01, 1 },
        { 3, -1, (3 << 3) | 7, 0x7F, 0x7F, -1 },
        { 15, 65535, (15 << 3) | 3, 0x7F, 0x7F, 65535 },
        { 0, 70000, 0x03, 0x7F, 0x7F, 65535 },
        { 0, -65536, 0x04, 0x00, 0x00, -65536 },
        { 0, -99999, 0x04, 0x00, 0x00, -65536 },
        { 16, 128, (15 << 3), 0x01, 0x00, 128 },
        { -4, 16384, 0x01, 0x00, 0x00, 16384 },
    };
    for (const auto& c : cases)
    {
        const auto m = buildMidiEditMessage (0x01, 12, c.channel, c.value);
        ASSERT_EQ (m.size(), 12u);
        EXPECT_EQ (ByteVector (m.begin(), m.begin() + 8), header ({ 0x0E, 0x01, 12 }));
        EXPECT_EQ (m[8], c.b8) << c.value;
        EXPECT_EQ (m[9], c.b9) << c.value;
        EXPECT_EQ (m[10], c.b10) << c.value;
        EXPECT_EQ (m[11], 0xF7);
        EXPECT_EQ (midiEditValue (m), c.readBack);
    }
    EXPECT_EQ (buildMidiEditMessage (0x1C, 0, 0, 1), header ({ 0x0E, 0x1C, 0x00, 0x00, 0x00, 0x01, 0xF7 }));
}

//==============================================================================
TEST (GlobalDumpFields, ReadTwoByteFieldsInEitherByteOrder)
{
    struct Case
    {
        std::uint8_t hi, lo;
        std::optional<int> value;
    };
    const Case cases[] = {
        { 0x00, 0x05, 5 },
        { 0x05, 0x00, 5 },
        { 0x01, 0x00, 1 },
        { 0x01, 0x01, std::nullopt },
        { 0x00, 0x7F, 127 },
        { 0x7F, 0x00, 127 },
        { 0x00, 0x80, std::nullopt },
        { 0x00, 0x00, 0 },
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ (readByteOrderCode (c.hi, c.lo), c.value) << (int)c.hi << " " << (int)c.lo;
        ByteVector global (15850, 0);
        global[globaldump::lastProgramNumberOffset] = c.hi;
        global[globaldump::lastProgramNumberOffset + 1] = c.lo;
        EXPECT_EQ (readGlobalDumpFields (global).lastProgramNumber, c.value);
    }
}

TEST (GlobalDumpFields, KeepOnlyInRangeSettingsAndDropFieldsBeyondTheData)
{
    ByteVector global (20, 0);
    global[14] = 16;
    global[15] = 3;
    global[16] = 2;
    auto fields = readGlobalDumpFields (global);
    EXPECT_EQ (fields.mixChannel, 16);
    EXPECT_EQ (fields.programChannel, 3);
    EXPECT_EQ (fields.bankSelectType, 2);
    EXPECT_FALSE (fields.lastProgramNumber.has_value());
    EXPECT_FALSE (fields.lastProgramBank.has_value());
    EXPECT_FALSE (fields.lastMixBank.has_value());

    global[14] = 0;
    global[15] = 17;
    global[16] = 3;
    fields = readGlobalDumpFields (global);
    EXPECT_FALSE (fields.mixChannel.has_value());
    EXPECT_FALSE (fields.programChannel.has_value());
    EXPECT_FALSE (fields.bankSelectType.has_value());

    ByteVector full (15849, 0);
    full[15845] = 2;
    full[15847] = 9;
    fields = readGlobalDumpFields (full);
    EXPECT_EQ (fields.lastProgramBank, 2);
    EXPECT_EQ (fields.lastMixNumber, 9);
    EXPECT_FALSE (fields.lastMixBank.has_value()) << "its second byte lies beyond the data";

    EXPECT_TRUE (unpackGlobalDump (header ({ 0x08, 0x00 }).data(), 7).empty()) << "no final F7";
    const auto m = header ({ 0x08, 0x7F, 0x01, 0xF7 });
    EXPECT_EQ (unpackGlobalDump (m.data(), m.size()), ByteVector{ 0xFF });
}
