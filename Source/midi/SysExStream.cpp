#include "SysExStream.h"

namespace orvo
{

std::vector<ByteVector> splitSysExMessages (const std::uint8_t* data, std::size_t size)
{
    std::vector<ByteVector> messages;
    forEachSysExMessage (data, size, size,
                         [&messages] (const SysExMessageView& m)
                         { messages.emplace_back (m.bytes, m.bytes + m.kept); });
    return messages;
}

std::vector<ByteVector> splitSysExMessages (const ByteVector& data)
{
    return splitSysExMessages (data.data(), data.size());
}

} // namespace orvo
