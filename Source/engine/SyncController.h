#pragma once

#include "EditorEngine.h"
#include "ProgramSelector.h"
#include "sync/SyncEngine.h"

#include <functional>

namespace orvo
{

/** The sync and the selection bar: PROGRAM SYNC, the Program selector, and the selection the
    instrument reports. Its tick takes the reported selection before the sync applies a received
    Program, so a synced edit buffer is stored under the slot the instrument named, not the old one. */
class SyncController
{
public:
    SyncController (EditorEngine& engine, std::function<std::string (int bank)> bankDisplayName,
                    std::function<std::string (int bank, int slot)> slotName);

    SyncEngine& sync() { return syncEngine; }
    ProgramSelector& selector() { return programSelector; }

    void startProgramSync() { syncEngine.startProgramSync(); }
    void cancelSync() { syncEngine.cancelSync(); }
    /** Diagnostic mode was turned off: the instrument's mode is not known until the next sync. */
    void forgetMode();

    /** Follows a reported selection, then runs the sync's step (which may apply a Program). */
    void tick();

    /** A received Program was applied to the editor's values; the selection it belongs to is followed
        first, even when its Global report arrived after this tick began. */
    std::function<void (const DecodedProgramValues&, const UnpackedProgram&, const ByteVector& dump)> onProgramApplied;

private:
    void followReportedSelection();

    EditorEngine& engine;
    SyncEngine syncEngine;
    ProgramSelector programSelector;
};

} // namespace orvo
