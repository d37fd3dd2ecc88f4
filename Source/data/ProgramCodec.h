#pragma once

#include "data/ProgramLayout.h"
#include "model/ModulationRoutes.h"
#include "model/ParameterCatalogue.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvo
{

/** How a decoded value is stored in the unpacked Program. */
enum class ProgramFieldKind : int
{
    word,          // 16-bit unsigned, the number itself
    unsignedWord,  // 16-bit unsigned scaled to 0-4095
    signedPercent, // 16-bit signed as a percentage -100..100
    unsigned14,    // 16-bit unsigned, 14-bit range scaled to 0-4095
    asicWord,      // 16-bit unsigned, 0-32768 scaled to 0-4095
    value,         // 16-bit signed, offset-binary scaled to 0-4095
    switchIndex,   // word at a switch index: nonzero 4095, zero 0
    stored,        // one byte: 0 is on (4095), anything else off
    flags,         // bit 1 of a block's flag word: 4095
    bit,           // one bit: a fixed value when set
    bitsScaled,    // a bit field scaled to 0-4095
    bitsNumber,    // a bit field taken as a number, capped
    bitsTable,     // a bit field looked up in a table (codes past the table keep the editor's value)
    anyBitSet,     // two bits: 1 when either is set
    sawBits,       // two bits: first set 1, else second set 2, else 0
    nonzeroWord,   // word: 1 when nonzero
    byteMax,       // one byte capped at m, scaled to 0-4095
    byteRaw,       // one byte, the number itself (capped at m when m > 0)
    byteKeepZero,  // one byte capped at m; 0 keeps the editor's value
    signedByte,    // one byte as -128..127
    menu,          // a code at a switch index, six menu positions
    compact,       // a code at a switch index through the compact table, else the word itself
    triggerSource, // a source code at a switch index
    sampleSource,  // the sample-and-hold source code word
    lfoRate,       // a period word through the LFO rate table
    lfoPolarity,   // two bits of the LFO shape byte
    shRate,        // the sample-and-hold period word
    tempoPeriod,   // a period word as BPM through the tempo table
    bpmPeriod,     // a period word as BPM through the local BPM table
    gatePercent,   // a percent word through the arpeggiator length table
    portamento,    // milliseconds word on a logarithmic scale
    wheelCents,    // pitch-wheel range in cents
    curve,         // curve code byte
    monovox,       // four bits plus one
};

/** One decoded field: where it lives and how it is read. */
struct ProgramField
{
    const char* id = "";
    ProgramFieldKind kind = ProgramFieldKind::word;
    int offset = 0;
    int bit = 0;   // first bit of a bit field
    int count = 0; // bit count of a bit field
    int param = 0; // cap, on-value or switch index, by kind
    const int* table = nullptr;
    int tableSize = 0;
    int row = -1; // catalogue row, or -1 for a value the catalogue has no row for
};

/** Where a field's stored number sits in the unpacked Program. */
struct ProgramFieldPlace
{
    int at = 0;
    int width = 1;            // bytes: 1 or 2 (big-endian)
    std::uint8_t mask = 0xFF; // for bit fields, the bits of the byte the field occupies
    bool bits = false;
    bool isSigned = false;
};
ProgramFieldPlace placeOfField (const ProgramField& field);

/** Every field in decoding order; several ids may share one place. */
const std::vector<ProgramField>& programFields();

/** Raw values a field can hand back from some stored bytes: [lo, hi], and whether every value in it
    survives a write and a read unchanged (false for tables, periods and other lossy encodings). */
struct ProgramFieldDomain
{
    int lo = 0, hi = 4095;
    bool exact = true;
};
ProgramFieldDomain fieldDomain (const ProgramField& field);

struct OscillatorTuning
{
    int semitone = 0, cents = 0, fine = 0; // the three tuning words read as signed 16-bit numbers
};

struct EnvelopeSettings
{
    int shapeCode = 0;       // byte B+55 as stored
    int smoothSlopeWord = 0; // word B+46 as stored
    int triggerModeBits = 0; // byte B+61, bits 0-5 (trigger mode and reset)
    int retriggerStage = 0;  // byte B+64
};

struct ModRouteRecord
{
    const char* name = "";
    bool enabled = false;
    int sourceCode = 0;     // the stored byte
    int sourceRaw = 0;      // nearest entry of the modulation-source table
    int sourceCategory = 0; // 1-12
    int sourceNumber = 0;   // 1-based within the category
    int type = 1;           // 1-6
    int level = 0;          // stored word
    int offset = 0;         // stored word
};

/** Output and effect bytes, handed on as stored; the effect bytes are interpreted elsewhere. */
struct OutputSectionRecord
{
    int voiceLevel = 0;     // asic word at 660, scaled to 0-4095
    int voicePan = 0;       // unsigned word at 950, scaled to 0-4095
    int digitalPan = 0;     // unsigned word at 956, scaled to 0-4095
    int distortionSend = 0; // word at 1896
    int distortionOutput = 0;
    int digitalSend = 0;
    int distortionTypeBits = 0; // byte 1906
    int oscillatorEngine = 0;   // low nibble of byte 1907
    int filterEngine = 0;       // high nibble of byte 1907
    int digitalEffect = 0;      // byte 1908
    ByteVector effectBytes;     // bytes 1909-1943
    int voiceOutputSwitch = 0;  // byte 1944
};

namespace outputlayout
{
constexpr int effectBytesFirst = 1909;
constexpr int effectBytesCount = 35;
} // namespace outputlayout

/** The editor values read from one Program. */
struct DecodedProgramValues
{
    std::string name;
    std::array<int, ParameterCatalogue::numRows> raw{};
    std::bitset<ParameterCatalogue::numRows> defined;
    std::vector<std::pair<std::string, int>> extraValues; // ids that have no catalogue row
    std::array<OscillatorTuning, 2> tuning{};
    std::array<EnvelopeSettings, 3> envelopes{};
    std::array<ModRouteRecord, 3> lfoModRoutes{};
    OutputSectionRecord output;

    /** The modulation-route fields the Program carries, as the routing overlay holds them: the enable
        of every route with a flag byte, and all five fields of the three LFO routes. */
    struct RouteField
    {
        int route = -1; // index into ModulationRoutes::all()
        ModulationField field = ModulationField::enable;
        int raw = 0;
    };
    std::vector<RouteField> routeFields;

    /** The decoded raw value of any id, catalogue or extra. */
    std::optional<int> valueFor (std::string_view id) const;
};

/** Decodes an unpacked Program of any length; fields beyond its end are left undefined.
    Appends one line per field to `diagnostic` when given. */
DecodedProgramValues decodeUnpackedProgram (const UnpackedProgram& program, std::string* diagnostic = nullptr);

/** Decodes a complete Program dump message. False, leaving `out` untouched, unless the message is at least
    10 bytes, starts with F0, ends with F7 and unpacks to a signed 2,048-byte Program. */
bool decodeProgramDump (const std::uint8_t* message, std::size_t length, DecodedProgramValues& out,
                        std::string& diagnostic);
bool decodeProgramDump (const ByteVector& message, DecodedProgramValues& out, std::string& diagnostic);

/** What a write of editor values did. */
struct ProgramWriteReport
{
    std::bitset<ParameterCatalogue::numRows> written;  // rows whose value now stands in the Program
    std::bitset<ParameterCatalogue::numRows> readOnly; // rows whose place may not be written
    std::bitset<ParameterCatalogue::numRows> overlaid; // rows whose place an earlier row already wrote
};

/** Writes the chosen rows' raw values into a signed 2,048-byte Program, touching only writable bits.
    Rows without a place, or whose place is protected, are left alone. Returns an empty report for
    anything other than a signed 2,048-byte Program. */
ProgramWriteReport writeProgramValues (UnpackedProgram& program,
                                       const std::array<int, ParameterCatalogue::numRows>& raw,
                                       const std::bitset<ParameterCatalogue::numRows>& rows);

} // namespace orvo
