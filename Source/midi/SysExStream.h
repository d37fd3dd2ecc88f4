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

/** The same cut, one message at a time through one reused buffer, so a file of millions of messages
    costs no more memory than its longest message. A message longer than `keepAtMost` bytes is handed
    over with only its first `keepAtMost` bytes and its full length, so nothing unbounded is kept. */
struct SysExMessageView
{
    const std::uint8_t* bytes = nullptr;
    std::size_t kept = 0;   // bytes available at `bytes`
    std::size_t length = 0; // the message's whole length
};
template <typename Visitor>
void forEachSysExMessage (const std::uint8_t* data, std::size_t size, std::size_t keepAtMost, Visitor&& visit);

template <typename Visitor>
void forEachSysExMessage (const std::uint8_t* data, std::size_t size, std::size_t keepAtMost, Visitor&& visit)
{
    if (data == nullptr)
        return;
    ByteVector current;
    std::size_t length = 0;
    bool started = false, inMessage = false;
    const auto flush = [&]
    {
        if (started)
            visit (SysExMessageView{ current.data(), current.size(), length });
        current.clear();
        length = 0;
    };
    const auto add = [&] (std::uint8_t b)
    {
        if (current.size() < keepAtMost)
            current.push_back (b);
        ++length;
    };
    for (std::size_t i = 0; i < size; ++i)
    {
        const auto b = data[i];
        if (b == sysex::start)
        {
            flush();
            started = inMessage = true;
            add (b);
        }
        else if (!inMessage || b >= 0xF8)
            continue;
        else if (b == sysex::end)
        {
            add (b);
            inMessage = false;
        }
        else if (b >= 0x80)
            inMessage = false; // a stray status byte ends the message without its F7
        else
            add (b);
    }
    flush();
}

} // namespace orvo
