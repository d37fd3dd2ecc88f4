#include "ProgramCodec.h"

#include "model/ModulationSources.h"

#include "model/CalibrationTables.h"
#include "model/ValueConversion.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>

namespace orvo
{

namespace
{
using K = ProgramFieldKind;

int roundHalfAway (double x)
{
    return (int)std::round (x);
}

int clamp4095 (double x)
{
    return std::clamp (roundHalfAway (x), 0, 4095);
}

//==============================================================================
// Value tables.

const int compactTable[] = { 0,    110,  373,  528,  703,  762,  808,  1087, 1137, 1327, 1393, 1429, 1594,
                             1618, 1715, 1729, 1839, 1863, 1968, 1991, 2057, 2124, 2216, 2241, 2346, 2414,
                             2491, 2546, 2577, 2675, 2751, 2754, 2873, 2883, 2963, 3028, 3111, 3153, 3257,
                             3265, 3372, 3450, 3462, 3542, 3608, 3771, 3820, 3854, 3946, 3987, 4059 };
const int curveTable[] = { 0, 457, 913, 1367, 1820, 2276, 2732, 3187, 3641 };
const int filter2InputTable[] = { 0, 1025, 2051, 3074 };
const int noiseSourceTable[] = { 0, 820, 1639, 2457, 3277 };
const int postFilterSourcesTable[] = { 0, 600, 1200, 1800, 2400, 3000, 3600, 4095 };
const int lfoShapeTable[] = { 0, 800, 1600, 2400, 3200, 4095 };

struct Point
{
    double x, y;
};

// LFO rate: (Hz, raw).
const Point lfoRateTable[] = {
    { 0.0076295, 20 },  { 0.0095837, 22 }, { 0.0105472, 85 }, { 0.0413907, 123 }, { 0.064668, 182 }, { 0.0908265, 282 },
    { 0.1444252, 496 }, { 0.2674, 767 },   { 0.45, 999 },     { 0.6258, 1394 },   { 1.0081, 1685 },  { 1.3661, 1932 },
    { 1.7422, 2182 },   { 2.2321, 2484 },  { 3.0303, 2751 },  { 4.0, 2970 },      { 5.1546, 3118 },  { 6.1728, 3254 },
    { 7.5758, 3481 },   { 11.1111, 3576 }, { 13.5135, 3665 }, { 16.6666, 3692 },  { 17.8571, 3718 }, { 19.2308, 3720 },
    { 20.0, 3744 },     { 20.8333, 3758 }, { 21.7391, 3771 }, { 22.7273, 3785 },  { 23.8095, 3814 }, { 25.0, 4095 },
};

template <std::size_t N> double interpolateY (const Point (&table)[N], double x)
{
    if (x <= table[0].x)
        return table[0].y;
    for (std::size_t i = 1; i < N; ++i)
        if (x <= table[i].x)
        {
            const double span = table[i].x - table[i - 1].x;
            if (span < 0.000001)
                return table[i - 1].y;
            return table[i - 1].y + (x - table[i - 1].x) / span * (table[i].y - table[i - 1].y);
        }
    return table[N - 1].y;
}

// The tempo, local BPM and arpeggiator length rows show their raw values through measured curves;
// a stored BPM or percent becomes the raw value at which that curve reaches it.
double displayAt (const CalibrationTable& table, double raw)
{
    return CalibrationTables::interpolate (table, raw, table.points[0].display, table.points[table.size - 1].display);
}

double rawAt (const CalibrationTable& table, double display)
{
    const auto* p = table.points;
    if (display <= p[0].display)
        return p[0].raw;
    for (std::size_t i = 1; i < table.size; ++i)
        if (display <= p[i].display)
        {
            const double span = p[i].display - p[i - 1].display;
            if (span < 0.000001)
                return p[i - 1].raw;
            return p[i - 1].raw + (display - p[i - 1].display) / span * (p[i].raw - p[i - 1].raw);
        }
    return p[table.size - 1].raw;
}

int nearestIndex (const int* table, int size, int raw)
{
    int best = 0;
    for (int i = 1; i < size; ++i)
        if (std::abs (table[i] - raw) < std::abs (table[best] - raw))
            best = i;
    return best;
}

// The 79 modulation sources sit at k * 4095 / 78 (halves up); their categories group them.
int modSourceRaw (int k)
{
    return (k * 4095 + 39) / 78;
}

//==============================================================================
// How a field's stored number sits in the bytes.

enum class Storage
{
    u16,
    s16,
    u8,
    s8,
    bits
};

Storage storageOf (const ProgramField& f)
{
    switch (f.kind)
    {
        case K::signedPercent:
        case K::value:
            return Storage::s16;
        case K::stored:
        case K::byteMax:
        case K::byteRaw:
        case K::byteKeepZero:
        case K::curve:
            return Storage::u8;
        case K::signedByte:
            return Storage::s8;
        case K::flags:
        case K::bit:
        case K::bitsScaled:
        case K::bitsNumber:
        case K::bitsTable:
        case K::anyBitSet:
        case K::sawBits:
        case K::lfoPolarity:
        case K::monovox:
            return Storage::bits;
        default:
            return Storage::u16;
    }
}

/** Byte offset of the field's storage (switch indices resolve to their word). */
int placeOf (const ProgramField& f)
{
    switch (f.kind)
    {
        case K::switchIndex:
        case K::menu:
        case K::compact:
        case K::triggerSource:
            return 398 + 2 * (f.param - 1024);
        case K::flags:
            return f.offset + 1; // bit 1 of a big-endian word lies in its low byte
        default:
            return f.offset;
    }
}

int bitOf (const ProgramField& f)
{
    return f.kind == K::flags ? 1 : f.bit;
}

int bitCountOf (const ProgramField& f)
{
    return f.kind == K::flags ? 1 : std::max (1, f.count);
}

int widthOf (Storage s)
{
    return s == Storage::u16 || s == Storage::s16 ? 2 : 1;
}

} // namespace

ProgramFieldPlace placeOfField (const ProgramField& f)
{
    ProgramFieldPlace p;
    const auto storage = storageOf (f);
    p.at = placeOf (f);
    p.width = widthOf (storage);
    p.isSigned = storage == Storage::s16 || storage == Storage::s8;
    p.bits = storage == Storage::bits;
    if (p.bits)
        p.mask = (std::uint8_t) (((1 << bitCountOf (f)) - 1) << bitOf (f));
    return p;
}

namespace
{
std::pair<int, int> storedRange (const ProgramField& f)
{
    switch (storageOf (f))
    {
        case Storage::u16:
            return { 0, 65535 };
        case Storage::s16:
            return { -32768, 32767 };
        case Storage::u8:
            return { 0, 255 };
        case Storage::s8:
            return { -128, 127 };
        case Storage::bits:
            return { 0, (1 << bitCountOf (f)) - 1 };
    }
    return { 0, 0 };
}

int readStored (const ProgramField& f, const UnpackedProgram& p)
{
    const auto at = (std::size_t)placeOf (f);
    switch (storageOf (f))
    {
        case Storage::u16:
            return (p[at] << 8) | p[at + 1];
        case Storage::s16:
            return (int)(std::int16_t) (std::uint16_t) ((p[at] << 8) | p[at + 1]);
        case Storage::u8:
            return p[at];
        case Storage::s8:
            return (int)(std::int8_t)p[at];
        case Storage::bits:
            return (p[at] >> bitOf (f)) & ((1 << bitCountOf (f)) - 1);
    }
    return 0;
}

//==============================================================================
// Stored number -> raw value. nullopt keeps the editor's value.

/** Signed percentages, signed bytes, counts (unison voices, detune, monovox) and small numbered
    choices are stored as the number the player sees (DETUNE 100 is the byte 100), while the editor
    holds every row as a raw value: the raw whose display is that number. These convert at the boundary. */
bool storesDisplayUnits (const ProgramField& f)
{
    switch (f.kind)
    {
        case K::signedPercent:
        case K::signedByte:
        case K::byteKeepZero:
        case K::monovox:
        case K::bitsNumber:
            return f.row >= 0;
        default:
            return false;
    }
}

int rawFromDisplayUnits (const ProgramField& f, int shown)
{
    const auto& info = ParameterCatalogue::row (f.row);
    return ValueConversion::displayToRaw (info, (double)shown).value_or (info.rawMin);
}

int displayUnitsFromRaw (const ProgramField& f, int raw)
{
    return roundHalfAway (ValueConversion::rawToDisplay (ParameterCatalogue::row (f.row), raw));
}

std::optional<int> decodeStored (const ProgramField& f, int s)
{
    switch (f.kind)
    {
        case K::word:
            return s;
        case K::unsignedWord:
            return clamp4095 (s * 4095.0 / 65535.0);
        case K::signedPercent:
            return roundHalfAway (s * 100.0 / 32768.0);
        case K::unsigned14:
            return clamp4095 (std::min (s, 16383) * 4095.0 / 16383.0);
        case K::asicWord:
            return clamp4095 (std::min (s, 32768) * 4095.0 / 32768.0);
        case K::value:
            return clamp4095 ((s + 32768) * 4095.0 / 65535.0);
        case K::switchIndex:
        case K::flags:
            return s != 0 ? 4095 : 0;
        case K::stored:
            return s == 0 ? 4095 : 0;
        case K::bit:
            return s != 0 ? f.param : 0;
        case K::bitsScaled:
            return clamp4095 (s * 4095.0 / ((1 << f.count) - 1));
        case K::bitsNumber:
            return std::min (s, f.param);
        case K::bitsTable:
            if (s >= f.tableSize)
            {
                if (f.param == 0)
                    return std::nullopt;
                s = f.tableSize - 1;
            }
            return f.table[s];
        case K::anyBitSet:
            return s != 0 ? 1 : 0;
        case K::sawBits:
            return (s & 1) ? 1 : ((s & 2) ? 2 : 0);
        case K::nonzeroWord:
            return s != 0 ? 1 : 0;
        case K::byteMax:
            return clamp4095 (std::min (s, f.param) * 4095.0 / f.param);
        case K::byteRaw:
            return f.param > 0 ? std::min (s, f.param) : s;
        case K::byteKeepZero:
            if (s == 0)
                return std::nullopt;
            return std::min (s, f.param);
        case K::signedByte:
            return s;
        case K::menu:
        {
            const auto code = readByteOrderCode ((std::uint8_t) (s >> 8), (std::uint8_t) (s & 0xFF));
            if (!code)
                return clamp4095 (std::min (s, 32768) * 4095.0 / 32768.0);
            switch (*code)
            {
                case 2:
                    return 800;
                case 3:
                    return 0;
                case 4:
                    return 4095;
                case 5:
                    return 3200;
                case 6:
                    return 2500;
                default:
                    return 1600;
            }
        }
        case K::compact:
        {
            const auto code = readByteOrderCode ((std::uint8_t) (s >> 8), (std::uint8_t) (s & 0xFF));
            if (code && *code >= 1 && *code <= 51)
                return compactTable[*code - 1];
            return s;
        }
        case K::triggerSource:
        {
            // A trigger source is one of the 79 modulation sources; its code k becomes that source's raw value.
            const auto code = readByteOrderCode ((std::uint8_t) (s >> 8), (std::uint8_t) (s & 0xFF));
            if (!code || *code > 78)
                return std::nullopt;
            return modSourceRaw (*code);
        }
        case K::sampleSource:
        {
            const auto code = readByteOrderCode ((std::uint8_t) (s >> 8), (std::uint8_t) (s & 0xFF));
            return code == 5 ? 1418 : (code == 6 ? 2573 : 0);
        }
        case K::lfoRate:
        {
            const double hz = s == 0 ? 25.0 : 500.0 / s;
            if (hz <= lfoRateTable[0].x)
                return 0;
            if (hz >= 25.0)
                return 4095;
            return clamp4095 (interpolateY (lfoRateTable, hz));
        }
        case K::shRate:
        {
            // The sample-and-hold clock uses the LFO's period relation (500 / P Hz) over its own 0.02-100 Hz
            // span, which the row shows linearly; so the raw value is linear in Hz.
            const double hz = std::clamp (s == 0 ? 100.0 : 500.0 / s, 0.02, 100.0);
            return clamp4095 ((hz - 0.02) * 4095.0 / 99.98);
        }
        case K::lfoPolarity:
            return s == 0 ? 2050 : (s == 1 ? 4095 : 0);
        case K::tempoPeriod:
            if (s == 0)
                return 4095;
            return clamp4095 (rawAt (CalibrationTables::tempo(), 30000.0 / s));
        case K::bpmPeriod:
            // A zero period reads as the fastest rate, as the tempo word does.
            if (s == 0)
                return 4095;
            return clamp4095 (rawAt (CalibrationTables::localBpm(), 30000.0 / s));
        case K::gatePercent:
            return clamp4095 (rawAt (CalibrationTables::arpLength(), std::min (s, 100)));
        case K::portamento:
        {
            if (s == 0)
                return 0;
            const double t = std::clamp (s / 1000.0, 0.01, 32.77);
            return std::min (4095, roundHalfAway (std::log (t / 0.01) / std::log (3277.0) * 4094.0 + 1.0));
        }
        case K::wheelCents:
            return clamp4095 (std::min (std::abs ((int)(std::int16_t) (std::uint16_t)s), 4800) * 4095.0 / 4800.0);
        case K::curve:
            return curveTable[std::min (s, 8)];
        case K::monovox:
            return s + 1;
    }
    return std::nullopt;
}

//==============================================================================
// Raw value -> a first guess at the stored number; the writer then settles on the nearest number
// that reads back closest to the raw value.

int guessStored (const ProgramField& f, int raw, int current)
{
    const int r = std::clamp (raw, 0, 4095);
    switch (f.kind)
    {
        case K::word:
            return std::clamp (raw, 0, 65535);
        case K::unsignedWord:
            return roundHalfAway (r * 65535.0 / 4095.0);
        case K::signedPercent:
            return std::clamp (roundHalfAway (std::clamp (raw, -100, 100) * 327.68), -32768, 32767);
        case K::unsigned14:
            return roundHalfAway (r * 16383.0 / 4095.0);
        case K::asicWord:
            return roundHalfAway (r * 32768.0 / 4095.0);
        case K::value:
            return roundHalfAway (r * 65535.0 / 4095.0) - 32768;
        case K::switchIndex:
        case K::flags:
        case K::bit:
        case K::anyBitSet:
        case K::nonzeroWord:
            return raw != 0 ? 1 : 0;
        case K::stored:
            return raw != 0 ? 0 : 1;
        case K::bitsScaled:
            return roundHalfAway (r * ((1 << f.count) - 1) / 4095.0);
        case K::bitsNumber:
            return std::clamp (raw, 0, f.param);
        case K::bitsTable:
            return nearestIndex (f.table, f.tableSize, raw);
        case K::sawBits:
            return raw == 1 ? 1 : (raw == 2 ? 2 : 0);
        case K::byteMax:
            return roundHalfAway (r * f.param / 4095.0);
        case K::byteRaw:
            return std::clamp (raw, 0, f.param > 0 ? f.param : 255);
        case K::byteKeepZero:
            return std::clamp (raw, 0, f.param);
        case K::signedByte:
            return std::clamp (raw, -128, 127);
        case K::menu:
        {
            static const int values[] = { 1600, 800, 0, 4095, 3200, 2500 }; // codes 1-6
            return 1 + nearestIndex (values, 6, raw);
        }
        case K::compact:
        {
            for (int i = 0; i < 51; ++i)
                if (compactTable[i] == raw)
                    return i + 1;
            return std::clamp (raw, 0, 65535);
        }
        case K::triggerSource:
            return roundHalfAway (r * 78.0 / 4095.0);
        case K::sampleSource:
            return raw >= 1996 ? 6 : (raw >= 709 ? 5 : 0);
        case K::lfoRate:
        {
            if (r >= 4095)
                return 20;
            // the rate table rises in both columns, so it inverts by swapping them
            double hz = lfoRateTable[0].x;
            for (std::size_t i = 1; i < std::size (lfoRateTable) && r > 20; ++i)
                if (r <= lfoRateTable[i].y)
                {
                    const auto& a = lfoRateTable[i - 1];
                    const auto& b = lfoRateTable[i];
                    hz = a.x + (r - a.y) / (b.y - a.y) * (b.x - a.x);
                    break;
                }
            return std::clamp (roundHalfAway (500.0 / hz), 1, 65535);
        }
        case K::shRate:
        {
            const double hz = 0.02 + r * 99.98 / 4095.0;
            return std::clamp (roundHalfAway (500.0 / hz), 1, 65535);
        }
        case K::lfoPolarity:
            return r >= 3073 ? 1 : (r >= 1025 ? 0 : 2);
        case K::tempoPeriod:
            if (r >= 4095)
                return 0;
            return std::clamp (roundHalfAway (30000.0 / displayAt (CalibrationTables::tempo(), r)), 1, 65535);
        case K::bpmPeriod:
            if (r >= 4095)
                return 0;
            return std::clamp (roundHalfAway (30000.0 / displayAt (CalibrationTables::localBpm(), r)), 1, 65535);
        case K::gatePercent:
            return std::clamp (roundHalfAway (displayAt (CalibrationTables::arpLength(), r)), 0, 100);
        case K::portamento:
            if (r <= 0)
                return 0;
            return roundHalfAway (10.0 * std::pow (3277.0, (r - 1) / 4094.0));
        case K::wheelCents:
        {
            // keep the direction the instrument stored; the reader ignores it
            const int cents = roundHalfAway (r * 4800.0 / 4095.0);
            return (std::int16_t) (std::uint16_t)current < 0 ? (std::uint16_t) (std::int16_t)-cents : cents;
        }
        case K::curve:
            return nearestIndex (curveTable, 9, raw);
        case K::monovox:
            return std::clamp (raw - 1, 0, 15);
    }
    return 0;
}

//==============================================================================
const char* kindName (K kind)
{
    switch (kind)
    {
        case K::word:
        case K::nonzeroWord:
            return "word";
        case K::unsignedWord:
            return "unsigned";
        case K::signedPercent:
            return "signed";
        case K::unsigned14:
            return "unsigned14";
        case K::asicWord:
            return "asic";
        case K::value:
            return "value";
        case K::switchIndex:
            return "switch index";
        case K::stored:
            return "stored";
        case K::flags:
            return "flags";
        case K::bit:
            return "bit";
        case K::bitsScaled:
        case K::bitsNumber:
        case K::bitsTable:
        case K::lfoPolarity:
        case K::monovox:
            return "bits";
        case K::anyBitSet:
        case K::sawBits:
            return "switch";
        case K::byteMax:
            return "byte";
        case K::byteRaw:
        case K::byteKeepZero:
            return "byte raw";
        case K::signedByte:
            return "signed byte";
        case K::menu:
            return "menu";
        case K::compact:
            return "compact";
        case K::triggerSource:
        case K::sampleSource:
            return "code";
        case K::lfoRate:
        case K::shRate:
        case K::tempoPeriod:
        case K::bpmPeriod:
            return "period";
        case K::gatePercent:
            return "gate";
        case K::portamento:
            return "milliseconds";
        case K::wheelCents:
            return "cents";
        case K::curve:
            return "curve";
    }
    return "";
}

// The diagnostic runs to a few hundred lines per Program and is built on every sync, so it is appended
// piece by piece rather than through temporaries.
struct TextOut
{
    std::string& text;

    TextOut& operator<< (const char* s)
    {
        text += s;
        return *this;
    }
    TextOut& operator<< (int v)
    {
        char buf[16];
        const auto result = std::to_chars (buf, buf + sizeof buf, v);
        text.append (buf, result.ptr);
        return *this;
    }
};

void describeField (TextOut& o, const ProgramField& f, int stored)
{
    const int at = placeOf (f);
    switch (f.kind)
    {
        case K::bit:
            o << "(bit " << at << ":" << f.bit << ")";
            break;
        case K::anyBitSet:
        case K::sawBits:
            o << "(switch " << at << ":" << f.bit << "/" << f.bit + 1 << ")";
            break;
        case K::bitsScaled:
        case K::bitsNumber:
        case K::bitsTable:
        case K::lfoPolarity:
        case K::monovox:
            o << "(bits " << at << ":" << f.bit << "-" << f.bit + f.count - 1 << " = " << stored << ")";
            break;
        case K::signedByte:
            o << "(signed byte offset " << at << " = " << stored << ")";
            break;
        case K::switchIndex:
        case K::menu:
        case K::compact:
        case K::triggerSource:
            o << "(" << kindName (f.kind) << " " << stored << " switch index " << f.param << " offset " << at << ")";
            break;
        default:
            o << "(" << kindName (f.kind) << " " << stored << " offset " << at << ")";
            break;
    }
}

//==============================================================================
std::vector<ProgramField> buildFieldTable()
{
    std::vector<ProgramField> t;
    auto add = [&t] (const std::string& id, K kind, int offset, int bit = 0, int count = 0, int param = 0,
                     const int* table = nullptr, int tableSize = 0)
    {
        // ids are stored as text views into a stable pool so the table stays trivially copyable
        static std::vector<std::unique_ptr<std::string>> pool;
        pool.push_back (std::make_unique<std::string> (id));
        ProgramField f;
        f.id = pool.back()->c_str();
        f.kind = kind;
        f.offset = offset;
        f.bit = bit;
        f.count = count;
        f.param = param;
        f.table = table;
        f.tableSize = tableSize;
        const auto row = ParameterCatalogue::findById (id);
        f.row = row ? *row : -1;
        t.push_back (f);
    };
    auto at = [&add] (const std::string& id, K kind, int offset) { add (id, kind, offset); };
    auto sw = [&add] (const std::string& id, K kind, int switchIndex) { add (id, kind, 0, 0, 0, switchIndex); };

    // Oscillator 1 tuning and waves, the pre-filter levels.
    at ("osc1.semitone", K::word, 958);
    at ("osc1.cents", K::word, 960);
    at ("osc1.fine", K::word, 962);
    add ("osc1.sine", K::bit, 115, 4, 1, 1);
    add ("osc1.triangle", K::bit, 115, 5, 1, 1);
    add ("osc1.saw", K::sawBits, 115, 6, 2);
    at ("osc1.square", K::nonzeroWord, 86);
    at ("prefilter.noiseext", K::asicWord, 18);
    at ("prefilter.subosc1", K::asicWord, 84);
    at ("prefilter.subosc2", K::asicWord, 88);
    at ("prefilter.osc1", K::asicWord, 94);
    at ("prefilter.ringmod", K::asicWord, 96);
    at ("prefilter.osc2", K::asicWord, 98);

    // Oscillator 2.
    at ("osc2.semitone", K::word, 964);
    at ("osc2.cents", K::word, 966);
    at ("osc2.fine", K::word, 968);
    add ("osc2.sync", K::bitsNumber, 114, 0, 2, 2);
    add ("osc2.sine", K::anyBitSet, 114, 2, 2);
    add ("osc2.triangle", K::bit, 114, 4, 1, 1);
    add ("osc2.saw", K::sawBits, 114, 5, 2);
    at ("osc2.square", K::nonzeroWord, 90);
    add ("osc.nzext.source", K::bitsNumber, 111, 0, 2, 3);

    // Oscillator modulation.
    at ("osc2toosc1.linfm", K::asicWord, 20);
    at ("osc.nzext.osc1linfm", K::asicWord, 20);
    at ("osc2toosc1.expfm", K::asicWord, 42);
    at ("osc.nzext.osc1expfm", K::asicWord, 42);
    at ("osc2toosc1.pwm", K::asicWord, 60);
    at ("osc.nzext.osc1pwm", K::asicWord, 60);
    at ("osc.nzext.osc2expfm", K::asicWord, 62);
    at ("osc.nzext.osc2pwm", K::asicWord, 64);
    at ("osc1.pwm", K::unsignedWord, 76);
    at ("osc2.pwm", K::unsignedWord, 78);
    at ("osc1.env1level", K::unsigned14, 86);
    at ("osc2.env1level", K::unsigned14, 90);
    add ("osc1.env1pitch.enable", K::bit, 605, 0, 1, 4096);
    add ("osc2.env1pitch.enable", K::bit, 621, 0, 1, 4096);
    at ("osc1.env1pitch.amount", K::signedPercent, 596);
    at ("osc1.env1pitch.offset", K::signedPercent, 598);
    at ("osc2.env1pitch.amount", K::signedPercent, 612);
    at ("osc2.env1pitch.offset", K::signedPercent, 614);

    // Filters and post-filter mix.
    at ("filter1.frequency", K::unsignedWord, 22);
    at ("filter2.frequency", K::unsignedWord, 24);
    at ("filter1.resonance", K::asicWord, 26);
    at ("filter2.resonance", K::asicWord, 28);
    at ("filter1.env2amount", K::asicWord, 30);
    at ("postfilter.osc2", K::asicWord, 32);
    at ("postfilter.subosc2", K::asicWord, 34);
    at ("postfilter.osc1", K::asicWord, 36);
    at ("postfilter.ringmod", K::asicWord, 92);
    at ("filter1.keytrack", K::signedPercent, 1796);
    at ("filter2.keytrack", K::signedPercent, 1798);
    const char* modEnables[] = { "filter1.mod1.enable",        "filter1.mod2.enable",
                                 "filter1.mod3.enable",        "filter2.mod1.enable",
                                 "filter2.mod2.enable",        "filter2.mod3.enable",
                                 "postfilter.f1lp.mod.enable", "postfilter.f1hp.mod.enable",
                                 "postfilter.f1bp.mod.enable", "postfilter.prefilter.mod.enable",
                                 "postfilter.f2lp.mod.enable", "postfilter.source.mod.enable" };
    for (int i = 0; i < 12; ++i)
        at (modEnables[i], K::stored, 333 + 16 * i);
    add ("filter2.input", K::bitsTable, 124, 0, 2, 0, filter2InputTable, 4);
    add ("noiseext.source", K::bitsTable, 123, 0, 3, 0, noiseSourceTable, 5);
    add ("postfilter.noiseext", K::bitsTable, 113, 0, 3, 0, postFilterSourcesTable, 8);

    // Performance section.
    at ("performance.tempo", K::tempoPeriod, 1568);
    at ("performance.arp.localbpm", K::bpmPeriod, 1736);
    at ("performance.arp.length", K::gatePercent, 1746);
    at ("performance.arp.progressor", K::signedByte, 1751);
    at ("performance.arp.progmax", K::signedByte, 1752);
    at ("performance.arp.progmin", K::signedByte, 1753);
    at ("performance.arp.octave", K::signedByte, 1755);
    // the lower portamento rows carry NRPNs, so they come first and keep the shared places when writing
    at ("performance.lowerportamento.time", K::portamento, 1776);
    at ("performance.portamento.time", K::portamento, 1776);
    at ("performance.lowerportamento.offset", K::signedByte, 1785);
    at ("performance.portamento.offset", K::signedByte, 1785);
    at ("performance.wheel.toprange", K::wheelCents, 1808);
    at ("performance.wheel.bottomrange", K::wheelCents, 1810);
    add ("performance.wheel.osc1", K::bit, 1812, 0, 1, 1);
    add ("performance.wheel.osc2", K::bit, 1812, 1, 1, 1);
    at ("performance.wheel.topcurve", K::curve, 1813);
    at ("performance.wheel.bottomcurve", K::curve, 1814);
    at ("performance.wheel.scale", K::unsignedWord, 1832);
    at ("performance.modwheel.curve", K::curve, 1834);
    add ("performance.monovox", K::monovox, 1939, 0, 4);
    add ("performance.unisonx", K::byteKeepZero, 1941, 0, 0, 16);
    add ("performance.detune", K::byteKeepZero, 1942, 0, 0, 100);

    // Envelopes.
    for (int n = 0; n < 3; ++n)
    {
        const int b = 1272 + 88 * n;
        const std::string e = "env" + std::to_string (n + 1) + ".";
        at (e + "delaytime", K::word, b + 0);
        at (e + "attacktime", K::word, b + 2);
        at (e + "decay1time", K::word, b + 4);
        at (e + "decay2time", K::word, b + 6);
        at (e + "decay2level", K::unsignedWord, b + 8);
        at (e + "sustainlevel", K::unsignedWord, b + 10);
        at (e + "release1time", K::word, b + 12);
        at (e + "release2level", K::unsignedWord, b + 14);
        at (e + "release2time", K::word, b + 16);
        at (e + "smoothtime", K::word, b + 18);
        at (e + "attacklevel", K::unsignedWord, b + 20);
        at (e + "offsetlevel", K::signedPercent, b + 34);
        at (e + "keytrack", K::signedPercent, b + 40);
        at (e + "leveltrack", K::signedPercent, b + 42);
        at (e + "smoothslope", K::unsignedWord, b + 46);
        at (e + "velocitymod", K::signedPercent, b + 48);
        at (e + "releasemod", K::signedPercent, b + 50);
        add (e + "sustainpedal", K::bit, b + 52, 6, 1, 4095);
        add (e + "shape", K::byteMax, b + 55, 0, 0, 9);
        add (e + "triggermode", K::bitsScaled, b + 61, 0, 4);
        add (e + "reset", K::bitsScaled, b + 61, 4, 2);
        add (e + "retriggerstage", K::byteMax, b + 64, 0, 0, 6);
        add (e + "keybase", K::byteRaw, b + 72);
    }

    // LFOs.
    for (int n = 0; n < 3; ++n)
    {
        const int b = 1116 + 52 * n;
        const int s = 128 * n;
        const std::string l = "lfo" + std::to_string (n + 1) + ".";
        sw (l + "enable", K::switchIndex, 1035 + s);
        sw (l + "triggertype", K::menu, 1030 + s);
        sw (l + "startson", K::switchIndex, 1031 + s);
        at (l + "freerun", K::flags, b + 8);
        at (l + "syncsource", K::asicWord, 446 + 256 * n);
        at (l + "delay", K::asicWord, 432 + 256 * n);
        sw (l + "periodsize", K::compact, 1049 + s);
        at (l + "triggerlevel", K::value, b + 22);
        sw (l + "triggersource", K::triggerSource, 1028 + s);
        at (l + "rate", K::lfoRate, b + 16);
        add (l + "shape", K::bitsTable, b + 32, 0, 3, 1, lfoShapeTable, 6);
        at (l + "phase", K::unsignedWord, b + 12);
        at (l + "wavewidth", K::unsignedWord, b + 30);
        at (l + "offset", K::value, b + 20);
        add (l + "polarity", K::lfoPolarity, b + 32, 3, 2);
        at (l + "level", K::unsignedWord, b + 14);
    }

    // Sample and hold.
    at ("sh.enable", K::flags, 1176);
    at ("sh.samplesource", K::sampleSource, 1378);
    at ("sh.level", K::asicWord, 1280);
    at ("sh.triggersource", K::asicWord, 1182);
    at ("sh.triggerlevel", K::asicWord, 1184);
    sw ("sh.triggertype", K::menu, 1418);
    at ("sh.syncsource", K::asicWord, 1208);
    sw ("sh.periodsize", K::compact, 1430);
    at ("sh.rate", K::shRate, 1536);
    return t;
}

bool fits (const ProgramField& f, std::size_t size)
{
    const int place = placeOf (f);
    return place >= 0 && (std::size_t) (place + widthOf (storageOf (f))) <= size;
}

int readWord (const UnpackedProgram& p, int at)
{
    return (p[(std::size_t)at] << 8) | p[(std::size_t)at + 1];
}

} // namespace

//==============================================================================
const std::vector<ProgramField>& programFields()
{
    static const std::vector<ProgramField> fields = buildFieldTable();
    return fields;
}

ProgramFieldDomain fieldDomain (const ProgramField& f)
{
    if (storesDisplayUnits (f))
    {
        // Raw values of the row, held as whole display units: many raws share one stored number.
        const auto& info = ParameterCatalogue::row (f.row);
        return { info.rawMin, info.rawMax, false };
    }
    switch (f.kind)
    {
        case K::word:
        case K::unsignedWord:
        case K::unsigned14:
        case K::asicWord:
        case K::value:
        case K::wheelCents:
            return { 0, 4095, true };
        case K::signedPercent:
            return { -100, 100, true };
        case K::bitsNumber:
            return { 0, f.param, true };
        case K::byteRaw:
            return { 0, f.param > 0 ? f.param : 255, true };
        case K::byteKeepZero:
            return { 1, f.param, true };
        case K::signedByte:
            return { -128, 127, true };
        case K::monovox:
            return { 1, 16, true };
        case K::bit:
            return { 0, f.param, false };
        case K::anyBitSet:
        case K::nonzeroWord:
            return { 0, 1, false };
        case K::sawBits:
            return { 0, 2, true };
        case K::lfoRate:
            return { 20, 4095, false };
        default:
            return { 0, 4095, false };
    }
}

std::optional<int> DecodedProgramValues::valueFor (std::string_view id) const
{
    if (const auto row = ParameterCatalogue::findById (id))
        return defined[(std::size_t)*row] ? std::optional<int> (raw[(std::size_t)*row]) : std::nullopt;
    for (const auto& [key, value] : extraValues)
        if (key == id)
            return value;
    return std::nullopt;
}

namespace
{
/** Route fields from what the decode read: the flag bytes' enables (stored 0 means on) and the LFO
    routes' records. Level and offset words are signed, 0 being the centre (0.00). */
void decodeRouteFields (DecodedProgramValues& out)
{
    static const std::pair<const char*, const char*> flagRoutes[] = {
        { "filter1.mod1.enable", "FILTER 1 MOD 1" },
        { "filter1.mod2.enable", "FILTER 1 MOD 2" },
        { "filter1.mod3.enable", "FILTER 1 MOD 3" },
        { "filter2.mod1.enable", "FILTER 2 MOD 1" },
        { "filter2.mod2.enable", "FILTER 2 MOD 2" },
        { "filter2.mod3.enable", "FILTER 2 MOD 3" },
        { "postfilter.f1lp.mod.enable", "FILTER 1 LOW PASS MOD" },
        { "postfilter.f1hp.mod.enable", "FILTER 1 HIGH PASS MOD" },
        { "postfilter.f1bp.mod.enable", "FILTER 1 BAND PASS MOD" },
        { "postfilter.prefilter.mod.enable", "PRE FILTER MOD" },
        { "postfilter.f2lp.mod.enable", "FILTER 2 LOW PASS MOD" },
        { "postfilter.source.mod.enable", "FILTER 1 MIX LEVEL MOD" },
    };
    using F = ModulationField;
    auto put = [&out] (int route, F field, int raw) { out.routeFields.push_back ({ route, field, raw }); };
    for (const auto& [id, name] : flagRoutes)
        if (const auto value = out.valueFor (id))
            put (*ModulationRoutes::indexOf (name), F::enable, *value != 0 ? 1 : 0);

    const auto signedLevel = [] (int word)
    { return clamp4095 (((int)(std::int16_t) (std::uint16_t)word + 32768) * 4095.0 / 65535.0); };
    for (const auto& lfo : out.lfoModRoutes)
    {
        if (lfo.name == nullptr || *lfo.name == 0)
            continue;
        const int route = *ModulationRoutes::indexOf (lfo.name);
        put (route, F::enable, lfo.enabled ? 1 : 0);
        put (route, F::source, lfo.sourceRaw);
        if (const auto* destination = ModulationRoutes::destinationForType (route, lfo.type))
            put (route, F::destination, destination->raw);
        put (route, F::level, signedLevel (lfo.level));
        put (route, F::offset, signedLevel (lfo.offset));
    }
}
} // namespace

DecodedProgramValues decodeUnpackedProgram (const UnpackedProgram& program, std::string* diagnostic)
{
    DecodedProgramValues out;
    out.name = readProgramName (program);
    out.extraValues.reserve (24);
    if (diagnostic != nullptr)
        diagnostic->reserve (diagnostic->size() + 16384);

    for (const auto& f : programFields())
    {
        if (!fits (f, program.size()))
            continue;
        const int stored = readStored (f, program);
        auto raw = decodeStored (f, stored);
        if (raw && storesDisplayUnits (f))
            raw = rawFromDisplayUnits (f, *raw);
        if (raw)
        {
            if (f.row >= 0)
            {
                out.raw[(std::size_t)f.row] = *raw;
                out.defined.set ((std::size_t)f.row);
            }
            else
            {
                out.extraValues.emplace_back (f.id, *raw);
            }
        }
        if (diagnostic != nullptr)
        {
            TextOut o{ *diagnostic };
            o << " " << f.id << "=";
            if (raw)
                o << *raw;
            else
                o << "unchanged";
            describeField (o, f, stored);
            o << "\n";
        }
    }

    const auto size = program.size();
    auto word = [&] (int at) { return at + 1 < (int)size ? readWord (program, at) : 0; };
    auto byte = [&] (int at) { return at < (int)size ? (int)program[(std::size_t)at] : 0; };
    auto signedWord = [&] (int at) { return (int)(std::int16_t) (std::uint16_t)word (at); };

    for (int osc = 0; osc < 2; ++osc)
    {
        const int b = 958 + 6 * osc;
        out.tuning[(std::size_t)osc] = { signedWord (b), signedWord (b + 2), signedWord (b + 4) };
    }

    for (int n = 0; n < 3; ++n)
    {
        const int b = 1272 + 88 * n;
        out.envelopes[(std::size_t)n] = { byte (b + 55), word (b + 46), byte (b + 61) & 0x3F, byte (b + 64) };
    }

    static const char* routeNames[] = { "LFO 1 MOD", "LFO 2 MOD", "LFO 3 MOD" };
    for (int n = 0; n < 3; ++n)
    {
        const int b = 1116 + 52 * n;
        auto& route = out.lfoModRoutes[(std::size_t)n];
        if (b + 37 >= (int)size)
            continue; // a record the Program does not reach stays unnamed, and no route takes it
        route.name = routeNames[n];
        route.level = word (b + 24);
        route.offset = word (b + 28);
        route.type = std::clamp (byte (b + 33), 1, 6);
        route.sourceCode = byte (b + 36);
        route.enabled = byte (b + 37) != 0;

        const auto& source = ModulationSources::nearest (route.sourceCode);
        route.sourceRaw = source.raw;
        route.sourceCategory = source.category;
        route.sourceNumber = source.number;
    }

    decodeRouteFields (out);

    auto& o = out.output;
    o.voiceLevel = clamp4095 (std::min (word (660), 32768) * 4095.0 / 32768.0);
    o.voicePan = clamp4095 (word (950) * 4095.0 / 65535.0);
    o.digitalPan = clamp4095 (word (956) * 4095.0 / 65535.0);
    o.distortionSend = word (1896);
    o.distortionOutput = word (1898);
    o.digitalSend = word (1900);
    o.distortionTypeBits = byte (1906);
    o.oscillatorEngine = byte (1907) & 0x0F;
    o.filterEngine = byte (1907) >> 4;
    o.digitalEffect = byte (1908);
    for (int i = 0; i < outputlayout::effectBytesCount; ++i)
        if (outputlayout::effectBytesFirst + i < (int)size)
            o.effectBytes.push_back (program[(std::size_t) (outputlayout::effectBytesFirst + i)]);
    o.voiceOutputSwitch = byte (1944);

    if (diagnostic != nullptr)
        *diagnostic += " output.voiceLevel=" + std::to_string (o.voiceLevel) + "(asic " + std::to_string (word (660)) +
                       " offset 660)\n" + " output.digitalEffect=" + std::to_string (o.digitalEffect) +
                       "(byte raw offset 1908)\n";
    return out;
}

bool decodeProgramDump (const std::uint8_t* message, std::size_t length, DecodedProgramValues& out,
                        std::string& diagnostic)
{
    if (message == nullptr || length < 10 || message[0] != sysex::start || message[length - 1] != sysex::end)
        return false;
    const auto program = unpackProgramDump (message, length);
    if (program.size() != sysex::programUnpackedLength)
        return false;
    out = decodeUnpackedProgram (program, &diagnostic);
    return true;
}

bool decodeProgramDump (const ByteVector& message, DecodedProgramValues& out, std::string& diagnostic)
{
    return decodeProgramDump (message.data(), message.size(), out, diagnostic);
}

//==============================================================================
ProgramWriteReport writeProgramValues (UnpackedProgram& program,
                                       const std::array<int, ParameterCatalogue::numRows>& raw,
                                       const std::bitset<ParameterCatalogue::numRows>& rows)
{
    ProgramWriteReport report;
    if (!hasProgramSignature (program))
        return report;

    // Which row wrote each bit. Some places are read by more than one id; the first row in decoding order
    // keeps such a place and later rows leave it alone, so one value never silently replaces another.
    std::vector<std::int16_t> owner ((std::size_t)programlayout::size * 8, -1);

    for (const auto& f : programFields())
    {
        if (f.row < 0 || !rows[(std::size_t)f.row])
            continue;

        const auto storage = storageOf (f);
        const int place = placeOf (f);
        const int width = widthOf (storage);
        const std::uint8_t bitMask =
            storage == Storage::bits ? (std::uint8_t) (((1 << bitCountOf (f)) - 1) << bitOf (f)) : (std::uint8_t)0xFF;
        bool writable = fits (f, program.size());
        for (int i = 0; i < width && writable; ++i)
            writable = isWritableMask (place + i, bitMask);
        if (!writable)
        {
            report.readOnly.set ((std::size_t)f.row);
            continue;
        }
        bool taken = false;
        for (int i = 0; i < width && !taken; ++i)
            for (int b = 0; b < 8 && !taken; ++b)
                taken = (bitMask & (1 << b)) != 0 && owner[(std::size_t) ((place + i) * 8 + b)] >= 0;
        if (taken)
        {
            report.overlaid.set ((std::size_t)f.row);
            continue;
        }

        // The search below compares stored numbers in the units they read back in.
        const int wanted =
            storesDisplayUnits (f) ? displayUnitsFromRaw (f, raw[(std::size_t)f.row]) : raw[(std::size_t)f.row];
        const auto [lo, hi] = storedRange (f);
        const int guess = std::clamp (guessStored (f, wanted, readStored (f, program)), lo, hi);

        // Settle on the stored number near the guess that reads back closest to the wanted value.
        int best = guess;
        int bestError = std::numeric_limits<int>::max();
        for (int step : { 0, -1, 1, -2, 2, -3, 3 })
        {
            const int candidate = guess + step;
            if (candidate < lo || candidate > hi)
                continue;
            const auto back = decodeStored (f, candidate);
            if (!back)
                continue;
            const int error = std::abs (*back - wanted);
            if (error < bestError)
            {
                best = candidate;
                bestError = error;
            }
        }

        const auto at = (std::size_t)place;
        switch (storage)
        {
            case Storage::u16:
            case Storage::s16:
                program[at] = (std::uint8_t) ((best >> 8) & 0xFF);
                program[at + 1] = (std::uint8_t) (best & 0xFF);
                break;
            case Storage::u8:
            case Storage::s8:
                program[at] = (std::uint8_t) (best & 0xFF);
                break;
            case Storage::bits:
                program[at] = (std::uint8_t) ((program[at] & ~bitMask) | ((best << bitOf (f)) & bitMask));
                break;
        }
        for (int i = 0; i < width; ++i)
            for (int b = 0; b < 8; ++b)
                if (bitMask & (1 << b))
                    owner[(std::size_t) ((place + i) * 8 + b)] = (std::int16_t)f.row;
        report.written.set ((std::size_t)f.row);
    }
    return report;
}

} // namespace orvo
