#pragma once

#include "library/SysExImport.h"
#include "midi/SysExProtocol.h"

#include <cstdint>
#include <string>

namespace orvo::cli
{

// The editor's import and the commands refuse the same files.
constexpr std::uintmax_t maxSysExFileBytes = orvo::maxSysExFileBytes;

/** Reads a whole SysEx file; false with the reason when it is missing, unreadable or too large. */
bool readSysExFile (const std::string& path, ByteVector& bytes, std::string& reason);

} // namespace orvo::cli
