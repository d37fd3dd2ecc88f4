#pragma once

#include "midi/SysExProtocol.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo
{

namespace programlayout
{
constexpr int size = 2048;
constexpr int nameOffset = 2;
constexpr int nameLength = 16;
} // namespace programlayout

/** The Program name: printable bytes 2-17 kept, the rest dropped, spaces trimmed at both ends. */
std::string readProgramName (const UnpackedProgram& program);

/** A run of bytes that holds the instrument's own state or is reserved; the editor never writes it. */
struct ProtectedRegion
{
    int first = 0;
    int length = 0;
    const char* description = "";
    bool isState = false; // captured instrument state rather than a reserved gap
};

/** Bits inside an otherwise writable byte that belong to the instrument. */
struct ReservedBits
{
    int offset = 0;
    std::uint8_t mask = 0;
    const char* description = "";
};

/** Every protected region, with the repeated mod-route gaps spelled out one by one. */
const std::vector<ProtectedRegion>& protectedRegions();
/** Every byte with reserved bits, the repeated mod-route flag bytes spelled out. */
const std::vector<ReservedBits>& reservedBits();

/** The reserved mask of a byte (0 when it has none). */
std::uint8_t reservedMask (int offset);

bool isProtectedByte (int offset);
bool isWritableByte (int offset);
bool isWritableMask (int offset, std::uint8_t mask);
bool isWritableWord (int offset);

} // namespace orvo
