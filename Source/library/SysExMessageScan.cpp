#include "SysExMessageScan.h"

namespace orvo
{

void SysExMessageScan::visit (const std::uint8_t* data, std::size_t size,
                              const std::function<void (const ScannedSysExMessage&)>& found)
{
    if (data == nullptr)
        return;
    std::size_t i = 0;
    while (i < size)
    {
        if (data[i] != sysex::start)
        {
            ++i;
            continue;
        }
        std::size_t endIndex = i + 1;
        while (endIndex < size && data[endIndex] != sysex::end)
            ++endIndex;
        if (endIndex >= size)
            break;

        ScannedSysExMessage m;
        m.offset = i;
        m.length = endIndex - i + 1;
        const auto at = [&] (std::size_t k) { return k < m.length ? (int)data[i + k] : -1; };
        m.opcode = at (5);
        m.byte6 = at (6);
        m.byte7 = at (7);
        m.hasOrvoHeader =
            m.length >= 8 && data[i + 1] == 0x00 && data[i + 2] == 0x00 && data[i + 3] == 0x0E && data[i + 4] == 0x1D;
        m.isProgramDump =
            m.hasOrvoHeader && (m.opcode == sysex::opStoredProgram || m.opcode == sysex::opProgramEditBuffer);
        found (m);
        i = endIndex + 1;
    }
}

SysExMessageScan::SysExMessageScan (const std::uint8_t* data, std::size_t size)
    : buffer (data, data + (data != nullptr ? size : 0))
{
    visit (buffer.data(), buffer.size(), [this] (const ScannedSysExMessage& m) { found.push_back (m); });
}

SysExMessageScan::SysExMessageScan (const ByteVector& data) : SysExMessageScan (data.data(), data.size()) {}

int SysExMessageScan::programDumpCount() const
{
    int n = 0;
    for (const auto& m : found)
        n += m.isProgramDump ? 1 : 0;
    return n;
}

std::optional<ScannedSysExMessage> SysExMessageScan::chooseProgramDump (int wantedSlot) const
{
    if (wantedSlot >= 0)
        for (const auto& m : found)
            if (m.isProgramDump && m.byte7 == wantedSlot)
                return m;
    for (const auto& m : found)
        if (m.isProgramDump)
            return m;
    return std::nullopt;
}

ByteVector SysExMessageScan::bytesOf (const ScannedSysExMessage& m) const
{
    if (m.offset >= buffer.size() || m.length > buffer.size() - m.offset)
        return {};
    return ByteVector (buffer.begin() + (std::ptrdiff_t)m.offset,
                       buffer.begin() + (std::ptrdiff_t) (m.offset + m.length));
}

bool decodeBase64Text (const juce::String& text, ByteVector& out)
{
    const auto cleaned = text.removeCharacters ("\r\n");
    juce::MemoryOutputStream decoded;
    if (cleaned.isEmpty() || !juce::Base64::convertFromBase64 (decoded, cleaned))
        return false;
    const auto* bytes = static_cast<const std::uint8_t*> (decoded.getData());
    out.assign (bytes, bytes + decoded.getDataSize());
    return true;
}

DocumentSysExResult decodeDocumentSysEx (const juce::var& document, int wantedSlot)
{
    DocumentSysExResult result;
    const auto text = document.getProperty ("sysexBase64", {});
    if (text.isVoid() || (text.isString() && text.toString().isEmpty()))
        return result;

    // A number or an object where the text belongs is as unreadable as bad Base64.
    ByteVector bytes;
    if (!text.isString() || !decodeBase64Text (text.toString(), bytes))
    {
        result.failed = true;
        result.message = "Could not decode Program SysEx data from the selected .orvop file.\n";
        return result;
    }

    const SysExMessageScan scan (bytes);
    const auto chosen = scan.chooseProgramDump (wantedSlot);
    if (!chosen)
    {
        result.failed = true;
        result.message = "The selected .orvop file does not contain an Orvo Program SysEx dump.\n";
        return result;
    }
    // Counted in messages rather than bytes: stray bytes around one dump are not worth a note.
    if (scan.messages().size() > 1)
        result.message = "The selected .orvop file contains multiple SysEx messages; using one Program dump for the "
                         "loaded slot.\n";
    result.dump = scan.bytesOf (*chosen);
    return result;
}

} // namespace orvo
