#pragma once

#include "midi/SysExProtocol.h"

#include <juce_core/juce_core.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** One message found in a byte buffer; byte fields are -1 when the message is too short to hold them. */
struct ScannedSysExMessage
{
    std::size_t offset = 0;
    std::size_t length = 0;
    int opcode = -1; // byte 5
    int byte6 = -1;
    int byte7 = -1;
    bool hasOrvoHeader = false;
    bool isProgramDump = false;
};

/** Finds the SysEx messages in a buffer (a document's Program data, a .syx file) and tells which are
    Program dumps. Deliberately simpler than the live input splitter: a message runs from F0 to the next
    F7 whatever lies between, and an F0 without a later F7 ends the scan. */
class SysExMessageScan
{
public:
    SysExMessageScan (const std::uint8_t* data, std::size_t size);
    /** The same walk without keeping a copy: each message is handed over as it is found, so a caller
        can count messages of a large file without holding a record of each. */
    static void visit (const std::uint8_t* data, std::size_t size,
                       const std::function<void (const ScannedSysExMessage&)>& found);
    explicit SysExMessageScan (const ByteVector& data);

    const std::vector<ScannedSysExMessage>& messages() const { return found; }
    int programDumpCount() const;

    /** The first Program dump whose byte 7 is `wantedSlot`; else (or with no slot wanted, -1) the first
        Program dump; nothing when there is none. */
    std::optional<ScannedSysExMessage> chooseProgramDump (int wantedSlot = -1) const;

    ByteVector bytesOf (const ScannedSysExMessage& message) const;

private:
    ByteVector buffer;
    std::vector<ScannedSysExMessage> found;
};

/** What a document's "sysexBase64" yielded: the chosen dump, or nothing, with the line to log (empty
    when there is nothing to say). */
struct DocumentSysExResult
{
    std::optional<ByteVector> dump;
    std::string message;
    bool failed = false; // the text was there but gave no usable dump
};

/** Decodes a Program document's SysEx and picks the dump for `wantedSlot` (-1: the first). */
DocumentSysExResult decodeDocumentSysEx (const juce::var& document, int wantedSlot);

/** Base64 of a Program SysEx as documents carry it, line breaks removed; false when it does not decode. */
bool decodeBase64Text (const juce::String& text, ByteVector& out);

} // namespace orvo
