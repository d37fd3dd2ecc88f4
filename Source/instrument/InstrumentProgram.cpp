#include "InstrumentProgram.h"

#include "data/ProgramLayout.h"
#include "model/ValueConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace orvo::instrumentprogram
{

namespace
{
using K = ProgramFieldKind;

using Place = ProgramFieldPlace;

Place placeOf (const ProgramField& f) { return placeOfField (f); }

void put (UnpackedProgram& program, const Place& p, int stored)
{
    const auto at = (std::size_t)p.at;
    if (p.bits)
    {
        const int shift = [&]
        {
            int s = 0;
            while (s < 8 && ((p.mask >> s) & 1) == 0)
                ++s;
            return s;
        }();
        program[at] = (std::uint8_t) ((program[at] & ~p.mask) | ((stored << shift) & p.mask));
    }
    else if (p.width == 2)
    {
        program[at] = (std::uint8_t) ((stored >> 8) & 0xFF);
        program[at + 1] = (std::uint8_t) (stored & 0xFF);
    }
    else
    {
        program[at] = (std::uint8_t) (stored & 0xFF);
    }
}

// Stored numbers worth trying for a raw value; the reader decides which one comes closest.
std::vector<int> candidatesFor (const ProgramField& f, const Place& p, int raw)
{
    std::vector<int> out;
    if (p.bits)
    {
        int count = 0;
        for (int b = 0; b < 8; ++b)
            count += (p.mask >> b) & 1;
        for (int s = 0; s < (1 << count); ++s)
            out.push_back (s);
        return out;
    }
    if (p.width == 1)
    {
        for (int s = p.isSigned ? -128 : 0; s <= (p.isSigned ? 127 : 255); ++s)
            out.push_back (s);
        return out;
    }
    const int r = std::clamp (raw, 0, 4095);
    auto around = [&out] (double guess, int lo, int hi)
    {
        const int g = (int)std::lround (guess);
        for (int s = g - 2; s <= g + 2; ++s)
            if (s >= lo && s <= hi)
                out.push_back (s);
    };
    switch (f.kind)
    {
        case K::asicWord:
            around (r * 32768.0 / 4095.0, 0, 65535);
            break;
        case K::unsignedWord:
            around (r * 65535.0 / 4095.0, 0, 65535);
            break;
        case K::unsigned14:
            around (r * 16383.0 / 4095.0, 0, 65535);
            break;
        case K::value:
            around (r * 65535.0 / 4095.0 - 32768.0, -32768, 32767);
            break;
        case K::signedPercent:
        {
            // Rows hold raw values; the place holds the percentage the player sees.
            const double shown = f.row >= 0 ? ValueConversion::rawToDisplay (ParameterCatalogue::row (f.row), raw)
                                            : (double) std::clamp (raw, -100, 100);
            around (shown * 327.68, -32768, 32767);
            break;
        }
        case K::switchIndex:
        case K::nonzeroWord:
            out = { 0, 1 };
            break;
        case K::menu:
            out = { 1, 2, 3, 4, 5, 6 };
            break;
        case K::compact:
            for (int code = 1; code <= 51; ++code)
                out.push_back (code);
            out.push_back (raw);
            break;
        case K::triggerSource:
            around (r * 78.0 / 4095.0, 0, 78);
            break;
        default:
            around (raw, 0, 65535);
            break;
    }
    return out;
}

// The instrument writes its own places directly, choosing the stored number that reads back nearest.
void storeStateField (UnpackedProgram& program, const ProgramField& f, const Place& p, int raw)
{
    const auto row = (std::size_t)f.row;
    UnpackedProgram probe (program.begin(), program.begin() + p.at + p.width);
    int best = 0, bestError = -1;
    for (int s : candidatesFor (f, p, raw))
    {
        put (probe, p, s);
        const auto back = decodeUnpackedProgram (probe);
        if (!back.defined[row])
            continue;
        const int error = std::abs (back.raw[row] - raw);
        if (bestError < 0 || error < bestError)
        {
            best = s;
            bestError = error;
            if (error == 0)
                break;
        }
    }
    if (bestError >= 0)
        put (program, p, best);
}

bool overlaps (const std::vector<std::uint8_t>& owned, const Place& p)
{
    for (int i = 0; i < p.width; ++i)
        if ((owned[(std::size_t) (p.at + i)] & p.mask) != 0)
            return true;
    return false;
}

void own (std::vector<std::uint8_t>& owned, const Place& p)
{
    for (int i = 0; i < p.width; ++i)
        owned[(std::size_t) (p.at + i)] |= p.mask;
}
} // namespace

UnpackedProgram blank()
{
    UnpackedProgram p ((std::size_t)programlayout::size, 0);
    p[0] = sysex::programSignature[0];
    p[1] = sysex::programSignature[1];
    std::fill (p.begin() + programlayout::nameOffset, p.begin() + programlayout::nameOffset + programlayout::nameLength,
               ' ');
    return p;
}

bool writeName (UnpackedProgram& program, const std::string& name)
{
    if (!hasProgramSignature (program) || name.size() > (size_t)programlayout::nameLength)
        return false;
    for (char c : name)
        if (c < 32 || c > 126)
            return false;
    for (int i = 0; i < programlayout::nameLength; ++i)
        program[(size_t)(programlayout::nameOffset + i)] =
            (std::uint8_t) (i < (int)name.size() ? name[(size_t)i] : ' ');
    return true;
}

ProgramRows storeValues (UnpackedProgram& program, const ProgramValues& values, const ProgramRows& rows)
{
    const auto report = writeProgramValues (program, values, rows);
    if (!hasProgramSignature (program))
        return {};

    ProgramRows stored = report.written;
    std::vector<std::uint8_t> owned ((size_t)programlayout::size, 0);
    for (const auto& f : programFields())
    {
        if (f.row < 0 || !rows[(size_t)f.row])
            continue;
        const auto place = placeOf (f);
        if (place.at < 0 || place.at + place.width > programlayout::size)
            continue;
        const auto row = (size_t)f.row;
        if (report.written[row])
            own (owned, place);
        else if (report.readOnly[row] && !overlaps (owned, place))
        {
            storeStateField (program, f, place, values[row]);
            own (owned, place);
            stored.set (row);
        }
    }
    return stored;
}

ProgramValues readValues (const UnpackedProgram& program, const ProgramValues& fallback, ProgramRows* defined)
{
    const auto decoded = decodeUnpackedProgram (program);
    ProgramValues out = fallback;
    for (size_t r = 0; r < out.size(); ++r)
        if (decoded.defined[r])
            out[r] = decoded.raw[r];
    if (defined != nullptr)
        *defined = decoded.defined;
    return out;
}

} // namespace orvo::instrumentprogram
