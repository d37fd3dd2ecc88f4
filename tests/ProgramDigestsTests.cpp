#include "SysExTestSupport.h"
#include "data/ProgramLayout.h"
#include "library/ProgramDigests.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
bool isLowerHex64 (const std::string& s)
{
    return s.size() == 64 && s.find_first_not_of ("0123456789abcdef") == std::string::npos;
}
} // namespace

TEST (ProgramDigests, HashKnownBytesAsLowerCaseHex)
{
    const std::string abc = "abc";
    EXPECT_EQ (sha256Hex ((const std::uint8_t*)abc.data(), abc.size()),
               "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ (sha256Hex (nullptr, 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST (ProgramDigests, CoverTheMessageThePackedDataTheProgramAndItsNameNeutralForm)
{
    const auto program = programNamed ("Warm Pad", 0x42);
    const auto stored = buildProgramDump (program, 0, 0, 9);
    const auto d = computeProgramDigests (stored);

    EXPECT_EQ (d.rawSysExSha256, sha256Hex (stored.data(), stored.size()));
    EXPECT_EQ (d.packedPayloadSha256, sha256Hex (stored.data() + 8, 2341));
    EXPECT_EQ (d.programPayloadSha256, sha256Hex (program.data(), program.size()));
    const auto neutral = programNamed ("", 0x42);
    EXPECT_EQ (d.nameNeutralPayloadSha256, sha256Hex (neutral.data(), neutral.size()));
    for (const auto& [key, digest] : d.entries())
        EXPECT_TRUE (isLowerHex64 (*digest)) << key;

    const auto editBuffer = buildProgramDump (program, 2, 0x10);
    const auto e = computeProgramDigests (editBuffer);
    EXPECT_NE (e.rawSysExSha256, d.rawSysExSha256);
    EXPECT_EQ (e.packedPayloadSha256, d.packedPayloadSha256) << "same data, other header";
    EXPECT_EQ (e.programPayloadSha256, d.programPayloadSha256);
}

TEST (ProgramDigests, KeepTheNameNeutralDigestWhenOnlyTheNameChanges)
{
    const auto a = computeProgramDigests (buildProgramDump (programNamed ("Bass One", 0x42), 0, 0, 1));
    const auto b = computeProgramDigests (buildProgramDump (programNamed ("Renamed", 0x42), 0, 0, 1));
    const auto c = computeProgramDigests (buildProgramDump (programNamed ("Bass One", 0x43), 0, 0, 1));
    EXPECT_NE (a.programPayloadSha256, b.programPayloadSha256);
    EXPECT_EQ (a.nameNeutralPayloadSha256, b.nameNeutralPayloadSha256);
    EXPECT_NE (a.nameNeutralPayloadSha256, c.nameNeutralPayloadSha256);

    const auto neutral = nameNeutralForm (programNamed ("X"));
    EXPECT_EQ (readProgramName (neutral), "");
    EXPECT_EQ (nameNeutralForm ({ 1, 2, 3 }), (ByteVector{ 1, 2, 3 }));
}

TEST (ProgramDigests, LeaveOutWhatCannotBeComputed)
{
    auto stored = buildProgramDump (programNamed ("A"), 0, 0, 1);
    auto unsignedDump = stored;
    unsignedDump[8] = 0; // first packed byte carries the signature's low bits
    const auto u = computeProgramDigests (unsignedDump);
    EXPECT_FALSE (u.rawSysExSha256.empty());
    EXPECT_FALSE (u.packedPayloadSha256.empty());
    EXPECT_TRUE (u.programPayloadSha256.empty());
    EXPECT_TRUE (u.nameNeutralPayloadSha256.empty());

    auto truncated = ByteVector (stored.begin(), stored.end() - 5);
    truncated.push_back (0xF7);
    for (const auto& bad : { truncated, ByteVector{}, ByteVector{ 0xF0, 0xF7 } })
    {
        const auto d = computeProgramDigests (bad);
        for (const auto& [key, digest] : d.entries())
            EXPECT_TRUE (digest->empty()) << key;
    }
}
