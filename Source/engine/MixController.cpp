#include "MixController.h"

namespace orvo
{

MixController::MixController (EditorEngine& engine, SyncEngine& sync, std::function<std::string (int, int)> slotName)
{
    MixSettings::Link link;
    link.hasOutput = [&engine] { return engine.hasOutput(); };
    link.sendSysEx = [&engine] (const ByteVector& m) { engine.sendSysEx (m); };
    link.log = [&engine] (const std::string& line) { engine.log().queueLine (line); };
    link.currentBank = [&engine] { return engine.selectedBank(); };
    link.currentSlot = [&engine] { return engine.selectedProgram(); };
    link.slotName = std::move (slotName);
    mix = std::make_unique<MixSettings> (engine.services().scheduler, std::move (link));
    sync.takeMixReadPending = [this] { return mix->takeMixReadPending(); };
    sync.mixDumpReceived = [this] (const MixPayload& payload) { mix->mixDumpArrived (payload); };
}

} // namespace orvo
