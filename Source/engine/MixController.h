#pragma once

#include "EditorEngine.h"
#include "mix/MixSettings.h"
#include "sync/SyncEngine.h"

#include <memory>

namespace orvo
{

/** MIX SETTINGS: the instrument's Mix read through the sync's SysEx receiver, its channels and their
    edits. Its tick takes the Mix dumps the MIDI thread queued. */
class MixController
{
public:
    MixController (EditorEngine& engine, SyncEngine& sync, std::function<std::string (int bank, int slot)> slotName);

    MixSettings& settings() { return *mix; }
    /** "MIX SETTINGS": reads the instrument's current Mix into the panel. */
    void open() { mix->openPanel(); }
    void tick() { mix->drain(); }

private:
    std::unique_ptr<MixSettings> mix;
};

} // namespace orvo
