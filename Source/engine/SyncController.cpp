#include "SyncController.h"

namespace orvo
{

SyncController::SyncController (EditorEngine& e, std::function<std::string (int)> bankDisplayName,
                                std::function<std::string (int, int)> slotName)
    : engine (e), syncEngine (e),
      programSelector (e, ProgramSelector::Settings{ [this] { return syncEngine.receiver().programChannel(); },
                                                     [this] { return syncEngine.receiver().mixChannel(); },
                                                     std::move (bankDisplayName), std::move (slotName) })
{
    syncEngine.attach();
    syncEngine.onProgramApplied =
        [this] (const DecodedProgramValues& values, const UnpackedProgram& unpacked, const ByteVector& dump)
    {
        followReportedSelection();
        if (onProgramApplied)
            onProgramApplied (values, unpacked, dump);
    };
}

void SyncController::forgetMode()
{
    programSelector.setModeKnown (false);
    engine.log().append (
        "Diagnostic mode disabled. Initial Orvo sync is required to establish Program mode and bank state.\n");
}

void SyncController::followReportedSelection()
{
    if (auto reported = syncEngine.takeReportedSelection())
        programSelector.follow (reported->first, reported->second);
}

void SyncController::tick()
{
    followReportedSelection();
    syncEngine.onSyncTick();
}

} // namespace orvo
