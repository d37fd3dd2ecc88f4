#include "SysExProtocol.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{

ByteVector unpackSevenBit (const std::uint8_t* data, std::size_t count)
{
    ByteVector out;
    if (data == nullptr || count < 1)
        return out;

    out.reserve (count * 7 / 8);
    for (std::size_t groupStart = 0; groupStart < count; groupStart += 8)
    {
        const std::size_t m = std::min<std::size_t> (8, count - groupStart);
        const std::uint8_t* p = data + groupStart;
        // Output byte i takes the bits of p[i] above bit i-1 and the low i+1 bits of p[i+1].
        for (std::size_t i = 0; i + 1 < m; ++i)
        {
            const unsigned low = (unsigned)p[i] >> i;
            const unsigned high = (unsigned)(p[i + 1] & ((1u << (i + 1)) - 1u)) << (7 - i);
            out.push_back ((std::uint8_t) ((low | high) & 0xFF));
        }
    }
    return out;
}

ByteVector unpackSevenBit (const ByteVector& packed)
{
    return unpackSevenBit (packed.data(), packed.size());
}

ByteVector packSevenBit (const std::uint8_t* bytes, std::size_t count)
{
    ByteVector out;
    if (bytes == nullptr || count < 1)
        return out;

    out.reserve ((count * 8 + 6) / 7);
    for (std::size_t groupStart = 0; groupStart < count; groupStart += 7)
    {
        const std::size_t m = std::min<std::size_t> (7, count - groupStart);
        unsigned d[8] = {};
        for (std::size_t i = 0; i < m; ++i)
            d[i] = bytes[groupStart + i];

        // q0 = d0 & 127; qi = (d(i-1) >> (8-i)) | (di << i) & 127; q7 = d6 >> 1.
        out.push_back ((std::uint8_t) (d[0] & 0x7F));
        for (std::size_t i = 1; i <= m; ++i)
        {
            const unsigned fromPrevious = d[i - 1] >> (8 - i);
            const unsigned fromCurrent = i < 7 ? (d[i] << i) : 0u;
            out.push_back ((std::uint8_t) ((fromPrevious | fromCurrent) & 0x7F));
        }
    }
    return out;
}

ByteVector packSevenBit (const ByteVector& bytes)
{
    return packSevenBit (bytes.data(), bytes.size());
}

//==============================================================================
bool hasOrvoFrame (const std::uint8_t* message, std::size_t length)
{
    if (message == nullptr || length < sysex::frameLength)
        return false;
    return std::equal (sysex::frame, sysex::frame + sysex::frameLength, message);
}

bool isFramedMessage (const std::uint8_t* message, std::size_t length, int opcode, std::size_t minLength)
{
    return length >= std::max<std::size_t> (minLength, 7) && hasOrvoFrame (message, length) && message[5] == opcode &&
           message[length - 1] == sysex::end;
}

ProgramDumpLayout classifyProgramDump (const std::uint8_t* message, std::size_t length)
{
    ProgramDumpLayout layout;
    if (message == nullptr || length < 8 || !hasOrvoFrame (message, length) || message[length - 1] != sysex::end)
        return layout;

    layout.opcode = message[5];
    // Bytes 6 and 7 are operands only when they are data bytes before the closing F7.
    const auto operand = [message, length] (std::size_t at)
    { return at + 1 < length && message[at] < 0x80 ? (int)message[at] : -1; };
    if (layout.opcode == sysex::opStoredProgram)
    {
        layout.kind = "stored-program";
        layout.bank = operand (6);
        layout.program = operand (7);
        layout.headerLength = 8;
        layout.expectedTotalLength = (int)sysex::storedProgramLength;
    }
    else if (layout.opcode == sysex::opProgramEditBuffer)
    {
        layout.kind = "program-edit-buffer";
        layout.subCode = operand (6);
        layout.headerLength = 7;
        layout.expectedTotalLength = (int)sysex::editBufferProgramLength;
    }
    else
    {
        return layout;
    }

    layout.expectedPackedLength = (int)sysex::programPackedLength;
    layout.packedLength = (int)length - layout.headerLength - 1;
    // Every byte between F0 and F7 of a real dump is a 7-bit data byte.
    const bool sevenBit = std::all_of (message + 1, message + length - 1, [] (std::uint8_t b) { return b < 0x80; });
    layout.valid = (int)length == layout.expectedTotalLength && layout.packedLength == layout.expectedPackedLength &&
                   (layout.opcode == sysex::opStoredProgram || layout.subCode == sysex::editBufferSubCode) && sevenBit;
    return layout;
}

ProgramDumpLayout classifyProgramDump (const ByteVector& message)
{
    return classifyProgramDump (message.data(), message.size());
}

bool hasProgramSignature (const ByteVector& unpacked)
{
    return unpacked.size() == sysex::programUnpackedLength && unpacked[0] == sysex::programSignature[0] &&
           unpacked[1] == sysex::programSignature[1];
}

bool hasMixSignature (const ByteVector& unpacked)
{
    return unpacked.size() == sysex::mixUnpackedLength && unpacked[0] == sysex::mixSignature[0] &&
           unpacked[1] == sysex::mixSignature[1];
}

std::string describeProgramDumpProblem (const std::uint8_t* message, std::size_t length)
{
    char buf[160];
    if (message == nullptr || length == 0)
        return "empty message";
    if (message[0] != sysex::start)
        return "not a SysEx message (first byte is not F0)";
    if (length < 8)
    {
        std::snprintf (buf, sizeof buf, "message of %zu bytes is too short for a Program dump", length);
        return buf;
    }
    if (!hasOrvoFrame (message, length))
        return "not an Orvo message (header is not F0 00 00 0E 1D)";
    if (message[length - 1] != sysex::end)
        return "message does not end with F7";

    const auto layout = classifyProgramDump (message, length);
    if (layout.kind.empty())
    {
        std::snprintf (buf, sizeof buf, "opcode 0x%02x is not a Program dump", (unsigned)message[5]);
        return buf;
    }
    if ((int)length != layout.expectedTotalLength)
    {
        std::snprintf (buf, sizeof buf, "%s dump is %zu bytes long; expected %d", layout.kind.c_str(), length,
                       layout.expectedTotalLength);
        return buf;
    }
    for (std::size_t i = 1; i + 1 < length; ++i)
        if (message[i] >= 0x80)
        {
            std::snprintf (buf, sizeof buf, "byte %zu is 0x%02x, not a 7-bit data byte", i, (unsigned)message[i]);
            return buf;
        }
    if (!layout.valid)
    {
        std::snprintf (buf, sizeof buf, "edit-buffer sub-code is 0x%02x; expected 0x10", (unsigned)layout.subCode);
        return buf;
    }
    if (unpackProgramDump (message, length).empty())
        return "unpacked data does not carry the Program signature 166 10";
    return {};
}

UnpackedProgram unpackProgramDump (const std::uint8_t* message, std::size_t length)
{
    const auto layout = classifyProgramDump (message, length);
    if (!layout.valid)
        return {};
    auto unpacked = unpackSevenBit (message + layout.headerLength, (std::size_t)layout.packedLength);
    if (!hasProgramSignature (unpacked))
        return {};
    return unpacked;
}

UnpackedProgram unpackProgramDump (const ByteVector& message)
{
    return unpackProgramDump (message.data(), message.size());
}

ByteVector buildProgramDump (const UnpackedProgram& unpacked, int opcode, int operand1, int operand2)
{
    const bool hasOperand2 = operand2 >= 0;
    if (!hasProgramSignature (unpacked) || opcode < 0 || opcode > 127 || operand1 < 0 || operand1 > 127 ||
        operand2 > 127)
        return {};

    const auto packed = packSevenBit (unpacked);
    if (packed.size() != sysex::programPackedLength)
        return {};

    ByteVector message (sysex::frame, sysex::frame + sysex::frameLength);
    message.reserve (sysex::storedProgramLength);
    message.push_back ((std::uint8_t)opcode);
    message.push_back ((std::uint8_t)operand1);
    if (hasOperand2)
        message.push_back ((std::uint8_t)operand2);
    message.insert (message.end(), packed.begin(), packed.end());
    message.push_back (sysex::end);

    const auto expected = opcode == 0 ? sysex::storedProgramLength : sysex::editBufferProgramLength;
    if (message.size() != expected)
        return {};
    return message;
}

MixPayload unpackMixDump (const std::uint8_t* message, std::size_t length)
{
    if (length != sysex::mixDumpLength || !isFramedMessage (message, length, sysex::opMixEditBuffer) ||
        message[6] != 0x00)
        return {};
    auto unpacked = unpackSevenBit (message + 7, sysex::mixPackedLength);
    if (!hasMixSignature (unpacked))
        return {};
    return unpacked;
}

MixPayload unpackMixDump (const ByteVector& message)
{
    return unpackMixDump (message.data(), message.size());
}

//==============================================================================
static ByteVector shortCommand (int opcode, int operand)
{
    ByteVector message (sysex::frame, sysex::frame + sysex::frameLength);
    message.push_back ((std::uint8_t) (opcode & 0x7F));
    message.push_back ((std::uint8_t) (operand & 0x7F));
    message.push_back (sysex::end);
    return message;
}

ByteVector buildProgramEditBufferRequest()
{
    return shortCommand (sysex::opRequestProgramEditBuffer, sysex::editBufferSubCode);
}

ByteVector buildGlobalRequest()
{
    return shortCommand (sysex::opRequestGlobal, 0);
}

ByteVector buildMixEditBufferRequest()
{
    return shortCommand (sysex::opRequestMixEditBuffer, 0);
}

ByteVector buildProgramBankRequest (int bank)
{
    return shortCommand (sysex::opRequestProgramBank, bank);
}

ByteVector buildSelectModeMessage (int mode)
{
    return shortCommand (sysex::opSelectMode, mode);
}

ByteVector buildMidiEditMessage (int target, int parameter, int channel, int value)
{
    const int clampedValue = std::clamp (value, -65536, 65535);
    const unsigned wire = (unsigned)(clampedValue < 0 ? clampedValue + 131072 : clampedValue);
    const unsigned ch = (unsigned)std::clamp (channel, 0, 15);

    ByteVector message (sysex::frame, sysex::frame + sysex::frameLength);
    message.push_back ((std::uint8_t)sysex::opMidiEdit);
    message.push_back ((std::uint8_t) (target & 0x7F));
    message.push_back ((std::uint8_t) (parameter & 0x7F));
    message.push_back ((std::uint8_t) ((ch << 3) | ((wire >> 14) & 0x07)));
    message.push_back ((std::uint8_t) ((wire >> 7) & 0x7F));
    message.push_back ((std::uint8_t) (wire & 0x7F));
    message.push_back (sysex::end);
    return message;
}

std::optional<int> midiEditValue (const ByteVector& message)
{
    if (message.size() != 12 || !isFramedMessage (message.data(), message.size(), sysex::opMidiEdit))
        return std::nullopt;
    const int wire = ((message[8] & 0x07) << 14) | ((message[9] & 0x7F) << 7) | (message[10] & 0x7F);
    return wire >= 65536 ? wire - 131072 : wire;
}

//==============================================================================
std::optional<int> readByteOrderCode (std::uint8_t b0, std::uint8_t b1)
{
    if (b0 * 256 + b1 < 128)
        return b0 * 256 + b1;
    if (b1 * 256 + b0 < 128)
        return b1 * 256 + b0;
    return std::nullopt;
}

static std::optional<int> readGlobalByte (const ByteVector& data, std::size_t offset, int lo, int hi)
{
    if (offset >= data.size() || data[offset] < lo || data[offset] > hi)
        return std::nullopt;
    return data[offset];
}

static std::optional<int> readGlobalWord (const ByteVector& data, std::size_t offset)
{
    if (offset + 1 >= data.size())
        return std::nullopt;
    return readByteOrderCode (data[offset], data[offset + 1]);
}

GlobalDumpFields readGlobalDumpFields (const ByteVector& unpackedGlobal)
{
    using namespace globaldump;
    GlobalDumpFields fields;
    fields.mixChannel = readGlobalByte (unpackedGlobal, mixChannelOffset, 1, 16);
    fields.programChannel = readGlobalByte (unpackedGlobal, programChannelOffset, 1, 16);
    fields.bankSelectType = readGlobalByte (unpackedGlobal, bankSelectTypeOffset, 0, 2);
    fields.lastProgramNumber = readGlobalWord (unpackedGlobal, lastProgramNumberOffset);
    fields.lastProgramBank = readGlobalWord (unpackedGlobal, lastProgramBankOffset);
    fields.lastMixNumber = readGlobalWord (unpackedGlobal, lastMixNumberOffset);
    fields.lastMixBank = readGlobalWord (unpackedGlobal, lastMixBankOffset);
    return fields;
}

ByteVector unpackGlobalDump (const std::uint8_t* message, std::size_t length)
{
    if (!isFramedMessage (message, length, sysex::opGlobalDump))
        return {};
    return unpackSevenBit (message + 6, length - 7);
}

} // namespace orvo
