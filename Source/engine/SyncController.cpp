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
    syncEngine.bankDisplayName = [this] (int bank) { return programSelector.bankName (bank); };
    syncEngine.attach();
    engine.onProgramChange = [this] (int channel, int program) { programSelector.onProgramChange (channel, program); };
    engine.onBankSelect = [this] (int channel, int value) { programSelector.onBankSelect (channel, value); };
    programSelector.requestEditBufferRefresh = [this] (const std::string& reason)
    { syncEngine.requestEditBufferRefresh (reason); };
    programSelector.startQuietWindow = [this] { syncEngine.startQuietWindow(); };
    programSelector.startBankSync = [this] (int bank) { syncEngine.startBankRequest (bank, SyncEngine::bankSyncMode); };
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
    std::optional<ProgramSelector::Reported> fromGlobal;
    if (auto r = syncEngine.takeReportedSelection())
        fromGlobal = ProgramSelector::Reported{ r->bank, r->program, r->compare, false };
    programSelector.applyReportedSelection (fromGlobal);
}

void SyncController::tick()
{
    followReportedSelection();
    syncEngine.onSyncTick();
}

} // namespace orvo
