#include "SysExReceiver.h"

#include <algorithm>
#include <cstdio>

namespace orvo
{

namespace
{
template <typename Fn> bool ask (const Fn& fn)
{
    return fn ? fn() : false;
}

std::string hex2 (int value)
{
    char buf[8];
    std::snprintf (buf, sizeof buf, "%02x", value & 0xFF);
    return buf;
}
} // namespace

SysExReceiver::SysExReceiver (Hooks h, LogFn l) : hooks (std::move (h)), logFn (std::move (l)) {}

void SysExReceiver::setSelectSettings (int programChannel, int mixChannel, int bankSelectType)
{
    programChannelValue = std::clamp (programChannel, 1, 16);
    mixChannelValue = std::clamp (mixChannel, 1, 16);
    bankSelectTypeValue = std::clamp (bankSelectType, 0, 2);
}

SysExReceiver::Claim SysExReceiver::handleSysEx (const std::uint8_t* message, std::size_t length)
{
    if (message == nullptr || length == 0)
        return Claim::unclaimed;
    if (handleGlobalDump (message, length))
        return Claim::globalDump;
    if (handleBankProgramDump (message, length))
        return Claim::bankProgramDump;
    if (handleMixDump (message, length))
        return Claim::mixDump;
    if (handleProgramEditBuffer (message, length))
        return Claim::programEditBuffer;
    logUnclaimed (message, length);
    return Claim::unclaimed;
}

bool SysExReceiver::handleGlobalDump (const std::uint8_t* message, std::size_t length)
{
    if (!isFramedMessage (message, length, sysex::opGlobalDump))
        return false;

    const auto unpacked = unpackGlobalDump (message, length);
    GlobalDumpReport report;
    report.rawLength = length;
    report.unpackedLength = unpacked.size();
    report.fields = readGlobalDumpFields (unpacked);
    if (report.fields.mixChannel)
        mixChannelValue = *report.fields.mixChannel;
    if (report.fields.programChannel)
        programChannelValue = *report.fields.programChannel;
    if (report.fields.bankSelectType)
        bankSelectTypeValue = *report.fields.bankSelectType;
    report.programChannel = programChannelValue;
    report.mixChannel = mixChannelValue;
    report.bankSelectType = bankSelectTypeValue;
    report.programSelectionValid =
        report.fields.lastProgramBank.has_value() && report.fields.lastProgramNumber.has_value();

    log ("SYNC: received Orvo Global dump raw-bytes=" + std::to_string (length) +
         " unpacked-bytes=" + std::to_string (unpacked.size()) + "\n");
    log ("SYNC: Orvo MIDI select settings program-channel=" + std::to_string (report.programChannel) + " mix-channel=" +
         std::to_string (report.mixChannel) + " bank-select-type=" + std::to_string (report.bankSelectType) + ".\n");
    if (!report.programSelectionValid)
        log ("SYNC: could not parse Program bank/program from Orvo Global offsets 15842/15844.\n");

    if (hooks.globalDumpReceived)
        hooks.globalDumpReceived (report);
    return true;
}

bool SysExReceiver::handleBankProgramDump (const std::uint8_t* message, std::size_t length)
{
    // Only the frame, bank, slot and final F7 are checked: a short dump still counts its slot as
    // received, so a bank read never stalls on one damaged reply.
    if (!hooks.activeBankRequest || !isFramedMessage (message, length, sysex::opStoredProgram, 10))
        return false;
    const auto bank = hooks.activeBankRequest();
    if (!bank || message[6] != *bank || message[7] >= 128)
        return false;
    if (hooks.storedProgramReceived)
        hooks.storedProgramReceived (message[6], message[7], ByteVector (message, message + length));
    return true;
}

bool SysExReceiver::handleMixDump (const std::uint8_t* message, std::size_t length)
{
    if (!isFramedMessage (message, length, sysex::opMixEditBuffer, 7) || !ask (hooks.takeMixReadPending))
        return false;
    const auto payload = unpackMixDump (message, length);
    if (hooks.mixDumpReceived)
        hooks.mixDumpReceived (payload);
    return true;
}

bool SysExReceiver::handleProgramEditBuffer (const std::uint8_t* message, std::size_t length)
{
    if (!isFramedMessage (message, length, sysex::opProgramEditBuffer, 7) || !ask (hooks.wantsProgramEditBuffer))
        return false;
    if (hooks.programEditBufferReceived)
        hooks.programEditBufferReceived (ByteVector (message, message + length));
    return true;
}

std::string SysExReceiver::unclaimedLine (const std::uint8_t* message, std::size_t length,
                                          std::optional<int> editBufferResponses)
{
    std::string line = "SYNC: received SysEx bytes=" + std::to_string (length);
    if (editBufferResponses)
        line += " response=" + std::to_string (*editBufferResponses);
    if (length >= 6 && hasOrvoFrame (message, length))
    {
        line += " Orvo=yes opcode=0x" + hex2 (message[5]);
        if (length >= 7)
            line += " sub=0x" + hex2 (message[6]);
    }
    else
    {
        line += " Orvo=no";
    }
    line += " first-bytes=" + hexBytes (message, std::min<std::size_t> (length, 24));
    if (length > 24)
        line += " ...";
    return line + "\n";
}

void SysExReceiver::logUnclaimed (const std::uint8_t* message, std::size_t length)
{
    const bool awaiting = ask (hooks.syncAwaitsEditBuffer);
    if (!ask (hooks.diagnosticLogOn) || !(awaiting || ask (hooks.midiInputMonitorOn)))
        return;

    std::optional<int> responses;
    if (awaiting)
        responses = hooks.editBufferResponses ? hooks.editBufferResponses() : 0;
    log (unclaimedLine (message, length, responses));
    if (awaiting)
        log ("SYNC: unclassified SysEx logged during sync; edit-buffer progress is only advanced by parsed "
             "Program edit-buffer dumps.\n");
}

void SysExReceiver::log (const std::string& line) const
{
    if (logFn)
        logFn (line);
}

} // namespace orvo
