#pragma once

#include "midi/SysExProtocol.h"

#include <initializer_list>
#include <random>
#include <string>

namespace orvo::testing
{

/** The Orvo frame (F0 00 00 0E 1D) followed by `tail`. */
inline ByteVector framed (std::initializer_list<int> tail)
{
    ByteVector bytes{ 0xF0, 0x00, 0x00, 0x0E, 0x1D };
    for (int b : tail)
        bytes.push_back ((std::uint8_t)b);
    return bytes;
}

/** `message` with one byte changed. */
inline ByteVector withByte (ByteVector message, std::size_t at, std::uint8_t value)
{
    message.at (at) = value;
    return message;
}

// Opcodes and signatures are written out rather than taken from the protocol's constants, so a wrong
// constant there fails the tests instead of agreeing with itself.

/** A framed message that carries `data` packed to seven bits after its opcode and operands. */
inline ByteVector packedMessage (std::initializer_list<int> opcodeAndOperands, const ByteVector& data)
{
    auto message = framed (opcodeAndOperands);
    const auto packed = packSevenBit (data);
    message.insert (message.end(), packed.begin(), packed.end());
    message.push_back (0xF7);
    return message;
}

inline ByteVector globalDumpMessage (const ByteVector& global)
{
    return packedMessage ({ 0x08 }, global);
}

inline ByteVector mixDumpMessage (const ByteVector& mix)
{
    return packedMessage ({ 0x06, 0x00 }, mix);
}

/** A signed Program named `name` (padded with spaces to sixteen bytes), every other byte `fill`. */
inline UnpackedProgram programNamed (const std::string& name, std::uint8_t fill = 0)
{
    UnpackedProgram p (2048, fill);
    p[0] = 166;
    p[1] = 10;
    for (std::size_t i = 0; i < 16; ++i)
        p[2 + i] = i < name.size() ? (std::uint8_t)name[i] : (std::uint8_t)' ';
    return p;
}

/** A signed Program of random bytes: every bit pattern the packing has to carry. */
inline UnpackedProgram randomProgram (unsigned seed = 1)
{
    std::mt19937 rng (seed);
    UnpackedProgram p (2048);
    for (auto& b : p)
        b = (std::uint8_t) (rng() & 0xFF);
    p[0] = 166;
    p[1] = 10;
    return p;
}

} // namespace orvo::testing
