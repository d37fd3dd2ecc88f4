#pragma once

#include "NrpnCodec.h" // hexBytes

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

using ByteVector = std::vector<std::uint8_t>;

/** The 2,048 bytes a Program dump unpacks to; empty means "no Program". */
using UnpackedProgram = ByteVector;

/** The 1,024 bytes a Mix edit buffer dump unpacks to; empty means "no Mix". */
using MixPayload = ByteVector;

namespace sysex
{
constexpr std::uint8_t start = 0xF0;
constexpr std::uint8_t end = 0xF7;
constexpr std::uint8_t frame[5] = { 0xF0, 0x00, 0x00, 0x0E, 0x1D };
constexpr std::size_t frameLength = 5;

constexpr int opStoredProgram = 0x00;
constexpr int opProgramEditBuffer = 0x02;
constexpr int opRequestProgramEditBuffer = 0x03;
constexpr int opMixEditBuffer = 0x06;
constexpr int opRequestMixEditBuffer = 0x07;
constexpr int opGlobalDump = 0x08;
constexpr int opRequestGlobal = 0x09;
constexpr int opRequestProgramBank = 0x0A;
constexpr int opSelectMode = 0x0D;
constexpr int opMidiEdit = 0x0E;

constexpr int editBufferSubCode = 0x10;

constexpr std::size_t storedProgramLength = 2350;
constexpr std::size_t editBufferProgramLength = 2349;
constexpr std::size_t programPackedLength = 2341;
constexpr std::size_t programUnpackedLength = 2048;
constexpr std::size_t mixDumpLength = 1179;
constexpr std::size_t mixPackedLength = 1171;
constexpr std::size_t mixUnpackedLength = 1024;

constexpr std::uint8_t programSignature[2] = { 166, 10 };
constexpr std::uint8_t mixSignature[2] = { 182, 10 };

constexpr int modeProgram = 0;
constexpr int modeMix = 1;

constexpr int midiEditTargetMixChannel = 0x01;
constexpr int midiEditTargetEffectsConfig = 0x1C;
} // namespace sysex

//==============================================================================
// Seven-bit packing: 7 data bytes travel as 8 SysEx bytes, low bits first.

/** Unpacks `count` packed bytes; a trailing group of one byte yields nothing. */
ByteVector unpackSevenBit (const std::uint8_t* data, std::size_t count);
ByteVector unpackSevenBit (const ByteVector& packed);

/** Packs `count` 8-bit bytes; a group of m bytes writes m + 1 packed bytes. */
ByteVector packSevenBit (const std::uint8_t* bytes, std::size_t count);
ByteVector packSevenBit (const ByteVector& bytes);

//==============================================================================
/** True when the message starts with the instrument's five frame bytes. */
bool hasOrvoFrame (const std::uint8_t* message, std::size_t length);

/** Frame, at least `minLength` bytes, the opcode at byte 5 and a final F7. */
bool isFramedMessage (const std::uint8_t* message, std::size_t length, int opcode, std::size_t minLength = 8);

/** Where the pieces of a Program dump lie, and whether it is usable. */
struct ProgramDumpLayout
{
    bool valid = false;
    int opcode = -1;
    int bank = -1;
    int program = -1;
    int subCode = -1;
    int headerLength = -1;
    int packedLength = -1;
    int expectedTotalLength = -1;
    int expectedPackedLength = -1;
    int expectedUnpackedLength = (int)sysex::programUnpackedLength;
    std::string kind;
};

ProgramDumpLayout classifyProgramDump (const std::uint8_t* message, std::size_t length);
ProgramDumpLayout classifyProgramDump (const ByteVector& message);

/** A short English reason why a message is not a usable Program dump; empty when it is. */
std::string describeProgramDumpProblem (const std::uint8_t* message, std::size_t length);

bool hasProgramSignature (const ByteVector& unpacked);
bool hasMixSignature (const ByteVector& unpacked);

/** The 2,048-byte Program, or empty when the dump fails any check. */
UnpackedProgram unpackProgramDump (const std::uint8_t* message, std::size_t length);
UnpackedProgram unpackProgramDump (const ByteVector& message);

/** Packs a signed 2,048-byte Program behind the frame, opcode and operands; empty on any failed check.
    A negative operand2 means "none" (the edit buffer form carries only one operand). */
ByteVector buildProgramDump (const UnpackedProgram& unpacked, int opcode, int operand1, int operand2 = -1);

/** The 1,024-byte Mix, or empty when the dump fails any check. */
MixPayload unpackMixDump (const std::uint8_t* message, std::size_t length);
MixPayload unpackMixDump (const ByteVector& message);

//==============================================================================
// Short commands the editor sends.

ByteVector buildProgramEditBufferRequest();
ByteVector buildGlobalRequest();
ByteVector buildMixEditBufferRequest();
/** The bank is masked to 7 bits. */
ByteVector buildProgramBankRequest (int bank);
/** 0 selects PROGRAM mode, 1 MIX mode; other values are masked to 7 bits. */
ByteVector buildSelectModeMessage (int mode);
/** One value edit: `value` is clamped to -65536..65535 and sent as 17-bit two's complement,
    the channel is clamped to 0-15, target and parameter are masked to 7 bits. */
ByteVector buildMidiEditMessage (int target, int parameter, int channel, int value);
/** Reads the signed 17-bit value back out of a MIDI-edit message (for the simulated instrument and tests). */
std::optional<int> midiEditValue (const ByteVector& message);

/** The request senders hand their message to one output callback (the editor's ordered MIDI output;
    a closed output simply drops it). */
class SysExRequests
{
public:
    using SendFn = std::function<void (const ByteVector&)>;

    explicit SysExRequests (SendFn sendFn) : send (std::move (sendFn)) {}

    void requestProgramEditBuffer() const { emit (buildProgramEditBufferRequest()); }
    void requestGlobal() const { emit (buildGlobalRequest()); }
    void requestMixEditBuffer() const { emit (buildMixEditBufferRequest()); }
    void requestProgramBank (int bank) const { emit (buildProgramBankRequest (bank)); }
    void selectMode (int mode) const { emit (buildSelectModeMessage (mode)); }
    void sendMidiEdit (int target, int parameter, int channel, int value) const
    {
        emit (buildMidiEditMessage (target, parameter, channel, value));
    }

private:
    void emit (const ByteVector& message) const
    {
        if (send)
            send (message);
    }

    SendFn send;
};

//==============================================================================
// The Global dump: the editor reads only a handful of fields.

namespace globaldump
{
constexpr std::size_t mixChannelOffset = 14;
constexpr std::size_t programChannelOffset = 15;
constexpr std::size_t bankSelectTypeOffset = 16;
constexpr std::size_t lastProgramNumberOffset = 15842;
constexpr std::size_t lastProgramBankOffset = 15844;
constexpr std::size_t lastMixNumberOffset = 15846;
constexpr std::size_t lastMixBankOffset = 15848;
} // namespace globaldump

/** A small code stored in two bytes of either order: b0b1 if below 128, else b1b0 if below 128, else nothing. */
std::optional<int> readByteOrderCode (std::uint8_t b0, std::uint8_t b1);

/** The Global fields, each present only when it lies inside the data and in its accepted range. */
struct GlobalDumpFields
{
    std::optional<int> mixChannel;     // 1-16
    std::optional<int> programChannel; // 1-16
    std::optional<int> bankSelectType; // 0-2
    std::optional<int> lastProgramNumber;
    std::optional<int> lastProgramBank;
    std::optional<int> lastMixNumber;
    std::optional<int> lastMixBank;
};

GlobalDumpFields readGlobalDumpFields (const ByteVector& unpackedGlobal);

/** Unpacks the data bytes of a Global dump message (bytes 6 to length-2); empty for anything else. */
ByteVector unpackGlobalDump (const std::uint8_t* message, std::size_t length);

} // namespace orvo
