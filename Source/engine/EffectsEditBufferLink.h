#pragma once

#include "EditorEngine.h"
#include "EffectsReadback.h"

#include <atomic>
#include <mutex>
#include <optional>

namespace orvo
{

/** The readback's edit-buffer request until selection tracking owns refreshes: sends the request,
    claims the edit buffer that answers it on the MIDI thread (ahead of the sync, which only wants
    the edit buffers it asked for) and hands it to the readback on the next tick. */
class EffectsEditBufferLink
{
public:
    /** Adds the SysEx handler; call before the sync attaches its own. `syncBusy` says whether a sync
        is running, which also counts as Program data being busy. */
    EffectsEditBufferLink (EditorEngine& engine, std::function<bool()> syncBusy);

    ProgramDataRequests requests();

    /** The message thread's step: a claimed reply goes to the readback. */
    void tick (EffectsReadback& readback);

private:
    bool claim (const std::uint8_t* data, size_t size);

    EditorEngine& engine;
    std::function<bool()> syncBusy;
    std::atomic<bool> pending{ false };
    std::mutex replyLock;
    std::optional<std::optional<UnpackedProgram>> reply;
};

} // namespace orvo
