#pragma once

#include "midi/SysExProtocol.h"

#include <cstdint>
#include <string>

namespace orvo::cli
{

// No SysEx collection comes near this; a file beyond it is refused before it is read.
constexpr std::uintmax_t maxSysExFileBytes = 64u << 20;

/** Reads a whole SysEx file; false with the reason when it is missing, unreadable or too large. */
bool readSysExFile (const std::string& path, ByteVector& bytes, std::string& reason);

} // namespace orvo::cli
