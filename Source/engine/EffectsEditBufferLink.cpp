#include "EffectsEditBufferLink.h"

#include "midi/SysExProtocol.h"

namespace orvo
{

EffectsEditBufferLink::EffectsEditBufferLink (EditorEngine& e, std::function<bool()> busy)
    : engine (e), syncBusy (std::move (busy))
{
    engine.addSysExHandler ([this] (const std::uint8_t* data, size_t size) { return claim (data, size); });
}

ProgramDataRequests EffectsEditBufferLink::requests()
{
    ProgramDataRequests r;
    r.isProgramDataBusy = [this] { return pending.load() || (syncBusy && syncBusy()); };
    r.requestEditBufferRefresh = [this] (const std::string& reason, int)
    {
        if (!engine.hasOutput())
        {
            engine.log().append ("No MIDI output is open. Cannot refresh the current Orvo Program edit buffer.\n");
            return;
        }
        pending = true;
        engine.sendSysEx (buildProgramEditBufferRequest());
        engine.log().append ("Requested Orvo Program edit buffer " + reason + ".\n");
    };
    r.clearEditBufferRefresh = [this] { pending = false; };
    return r;
}

bool EffectsEditBufferLink::claim (const std::uint8_t* data, size_t size)
{
    if (!isFramedMessage (data, size, sysex::opProgramEditBuffer, 7) || !pending.load() || (syncBusy && syncBusy()))
        return false;
    pending = false;
    auto unpacked = unpackProgramDump (data, size);
    std::lock_guard<std::mutex> lock (replyLock);
    reply = unpacked.empty() ? std::nullopt : std::optional<UnpackedProgram> (std::move (unpacked));
    return true;
}

void EffectsEditBufferLink::tick (EffectsReadback& readback)
{
    std::optional<std::optional<UnpackedProgram>> taken;
    {
        std::lock_guard<std::mutex> lock (replyLock);
        taken.swap (reply);
    }
    if (taken)
        readback.replyReceived (*taken);
}

} // namespace orvo
