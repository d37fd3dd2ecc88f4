#include "ProgramLayout.h"

#include <array>

namespace orvo
{

std::string readProgramName (const UnpackedProgram& program)
{
    std::string name;
    for (int i = programlayout::nameOffset;
         i < programlayout::nameOffset + programlayout::nameLength && i < (int)program.size(); ++i)
        if (program[(std::size_t)i] >= 32 && program[(std::size_t)i] <= 126)
            name += (char)program[(std::size_t)i];

    const auto first = name.find_first_not_of (' ');
    if (first == std::string::npos)
        return {};
    return name.substr (first, name.find_last_not_of (' ') - first + 1);
}

const std::vector<ProtectedRegion>& protectedRegions()
{
    static const std::vector<ProtectedRegion> regions = []
    {
        std::vector<ProtectedRegion> r{
            { 18, 88, "Actual ASIC control values for initial condition", true },
            { 106, 2, "Reserved", false },
            { 108, 8, "Actual ASIC switch values for initial condition", true },
        };
        for (int k = 0; k < 36; ++k)
            r.push_back ({ 126 + 16 * k, 6, "Mod route reserved bytes", false });
        const ProtectedRegion rest[] = {
            { 692, 256, "Reserved", false },
            { 954, 2, "Reserved", false },
            { 970, 2, "Reserved", false },
            { 1032, 4, "Tracking generator reserved", false },
            { 1107, 9, "Tracking generator reserved", false },
            { 1116, 12, "LFO multiplier values", true },
            { 1154, 14, "LFO reserved bytes", false },
            { 1168, 12, "LFO multiplier values", true },
            { 1206, 14, "LFO reserved bytes", false },
            { 1220, 12, "LFO multiplier values", true },
            { 1258, 14, "LFO reserved bytes", false },
            { 1345, 15, "Envelope reserved bytes", false },
            { 1433, 15, "Envelope reserved bytes", false },
            { 1521, 15, "Envelope reserved bytes", false },
            { 1556, 12, "Sample and Hold reserved", false },
            { 1578, 10, "Master clock reserved", false },
            { 1721, 15, "Sequencer reserved", false },
            { 1761, 15, "Arpeggiator reserved", false },
            { 1788, 8, "Portamento reserved", false },
            { 1802, 6, "Key tracking reserved", false },
            { 1814, 6, "Pitch wheel reserved", false },
            { 1821, 11, "Ribbon controller reserved", false },
            { 1835, 9, "Mod wheel reserved", false },
            { 1877, 7, "Chord mode reserved", false },
            { 1884, 12, "Spare reserved block", false },
            { 1902, 4, "Effects reserved", false },
            { 1947, 1, "Reserved", false },
            { 1950, 98, "Reserved", false },
        };
        r.insert (r.end(), std::begin (rest), std::end (rest));
        return r;
    }();
    return regions;
}

const std::vector<ReservedBits>& reservedBits()
{
    static const std::vector<ReservedBits> bits = []
    {
        std::vector<ReservedBits> b;
        for (int k = 0; k < 36; ++k)
            b.push_back ({ 125 + 16 * k, 0xFC, "Mod route reserved flag bits" });
        const ReservedBits rest[] = {
            { 1105, 0xFC, "Tracking generator reserved flag bits" },
            { 1149, 0xF8, "LFO reserved sync flag bits" },
            { 1201, 0xF8, "LFO reserved sync flag bits" },
            { 1253, 0xF8, "LFO reserved sync flag bits" },
            { 1333, 0xC0, "Envelope reserved mode bits" },
            { 1421, 0xC0, "Envelope reserved mode bits" },
            { 1509, 0xC0, "Envelope reserved mode bits" },
            { 1554, 0xF8, "Sample and Hold reserved flag bits" },
            { 1555, 0xF0, "Sample and Hold reserved sync flag bits" },
            { 1577, 0xC0, "Master clock reserved flag bits" },
            { 1748, 0x84, "Arpeggiator reserved flag bits" },
            { 1749, 0xFC, "Arpeggiator reserved trigger flag bits" },
            { 1786, 0x40, "Portamento reserved flag bit" },
            { 1876, 0xFC, "Chord mode reserved flag bits" },
            { 1906, 0x8C, "Analog distortion reserved flag bits" },
            { 1939, 0x10, "Keyboard reserved flag bit" },
        };
        b.insert (b.end(), std::begin (rest), std::end (rest));
        return b;
    }();
    return bits;
}

namespace
{
// One entry per byte: bit 8 set = protected, low 8 bits = reserved mask. Writers ask per byte,
// so the two lists are folded into a flat table once.
const std::array<std::uint16_t, programlayout::size>& byteRules()
{
    static const auto table = []
    {
        std::array<std::uint16_t, programlayout::size> t{};
        for (const auto& region : protectedRegions())
            for (int i = region.first; i < region.first + region.length && i < programlayout::size; ++i)
                t[(std::size_t)i] |= 0x100;
        for (const auto& r : reservedBits())
            t[(std::size_t)r.offset] |= r.mask;
        return t;
    }();
    return table;
}

bool inside (int offset)
{
    return offset >= 0 && offset < programlayout::size;
}
} // namespace

std::uint8_t reservedMask (int offset)
{
    return inside (offset) ? (std::uint8_t) (byteRules()[(std::size_t)offset] & 0xFF) : 0xFF;
}

bool isProtectedByte (int offset)
{
    return !inside (offset) || (byteRules()[(std::size_t)offset] & 0x100) != 0;
}

bool isWritableByte (int offset)
{
    return inside (offset) && byteRules()[(std::size_t)offset] == 0;
}

bool isWritableMask (int offset, std::uint8_t mask)
{
    return mask != 0 && !isProtectedByte (offset) && (reservedMask (offset) & mask) == 0;
}

bool isWritableWord (int offset)
{
    return offset + 1 < programlayout::size && isWritableByte (offset) && isWritableByte (offset + 1);
}

} // namespace orvo
