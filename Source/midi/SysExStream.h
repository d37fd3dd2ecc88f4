#pragma once

#include "midi/SysExProtocol.h"

#include <vector>

namespace orvo
{

/** Cuts a byte stream (a .syx file, a capture) into SysEx messages. Each message starts with F0 and ends
    at its F7; one cut short by another F0, by a stray status byte or by the end of the data is kept
    without its F7 so the caller can report it. Bytes outside any message and interleaved real-time
    bytes (F8-FF) are skipped. */
std::vector<ByteVector> splitSysExMessages (const std::uint8_t* data, std::size_t size);
std::vector<ByteVector> splitSysExMessages (const ByteVector& data);

} // namespace orvo
