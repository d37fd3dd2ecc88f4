#include "ProgramDigests.h"

#include <juce_cryptography/juce_cryptography.h>

namespace orvo
{

std::vector<std::pair<const char*, const std::string*>> ProgramDigests::entries() const
{
    return { { "rawSysExSha256", &rawSysExSha256 },
             { "packedPayloadSha256", &packedPayloadSha256 },
             { "programPayloadSha256", &programPayloadSha256 },
             { "nameNeutralPayloadSha256", &nameNeutralPayloadSha256 } };
}

std::string sha256Hex (const std::uint8_t* data, std::size_t size)
{
    // juce::SHA256 prints lower-case hex already
    return juce::SHA256 (data, size).toHexString().toStdString();
}

ByteVector nameNeutralForm (const UnpackedProgram& program)
{
    ByteVector neutral = program;
    if (neutral.size() >= 18)
        std::fill (neutral.begin() + 2, neutral.begin() + 18, (std::uint8_t)0x20);
    return neutral;
}

ProgramDigests computeProgramDigests (const std::uint8_t* message, std::size_t length)
{
    ProgramDigests digests;
    const auto layout = classifyProgramDump (message, length);
    if (!layout.valid)
        return digests;

    digests.rawSysExSha256 = sha256Hex (message, length);
    digests.packedPayloadSha256 = sha256Hex (message + layout.headerLength, (std::size_t)layout.packedLength);

    const auto program = unpackProgramDump (message, length);
    if (program.empty())
        return digests;
    digests.programPayloadSha256 = sha256Hex (program.data(), program.size());
    if (program.size() >= 18)
    {
        const auto neutral = nameNeutralForm (program);
        digests.nameNeutralPayloadSha256 = sha256Hex (neutral.data(), neutral.size());
    }
    return digests;
}

ProgramDigests computeProgramDigests (const ByteVector& message)
{
    return computeProgramDigests (message.data(), message.size());
}

} // namespace orvo
