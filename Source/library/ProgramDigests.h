#pragma once

#include "midi/SysExProtocol.h"

#include <string>

namespace orvo
{

/** Lower-case hex SHA-256 digests of one Program dump; a digest that cannot be computed is empty. */
struct ProgramDigests
{
    std::string rawSysExSha256;           // the whole message, F0 to F7
    std::string packedPayloadSha256;      // the packed data between header and F7
    std::string programPayloadSha256;     // the 2,048-byte unpacked Program
    std::string nameNeutralPayloadSha256; // the unpacked Program with its name bytes set to spaces

    /** (key, digest) pairs in their fixed order, for writers of documents and reports. */
    std::vector<std::pair<const char*, const std::string*>> entries() const;
};

std::string sha256Hex (const std::uint8_t* data, std::size_t size);

/** The unpacked Program with bytes 2-17 replaced by spaces; unchanged when shorter than 18 bytes. */
ByteVector nameNeutralForm (const UnpackedProgram& program);

ProgramDigests computeProgramDigests (const std::uint8_t* message, std::size_t length);
ProgramDigests computeProgramDigests (const ByteVector& message);

} // namespace orvo
