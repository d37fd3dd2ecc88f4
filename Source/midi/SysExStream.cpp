#include "SysExStream.h"

namespace orvo
{

std::vector<ByteVector> splitSysExMessages (const std::uint8_t* data, std::size_t size)
{
    std::vector<ByteVector> messages;
    if (data == nullptr)
        return messages;

    bool inMessage = false;
    for (std::size_t i = 0; i < size; ++i)
    {
        const auto b = data[i];
        if (b == sysex::start)
        {
            messages.emplace_back (1, b);
            inMessage = true;
        }
        else if (!inMessage || b >= 0xF8)
        {
            continue;
        }
        else if (b == sysex::end)
        {
            messages.back().push_back (b);
            inMessage = false;
        }
        else if (b >= 0x80)
        {
            inMessage = false; // a stray status byte ends the message without its F7
        }
        else
        {
            messages.back().push_back (b);
        }
    }
    return messages;
}

std::vector<ByteVector> splitSysExMessages (const ByteVector& data)
{
    return splitSysExMessages (data.data(), data.size());
}

} // namespace orvo
