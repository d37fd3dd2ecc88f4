#pragma once

#include "EditorEngine.h"
#include "data/ProgramCodec.h"
#include "effects/EffectsPageModel.h"

#include <vector>

namespace orvo
{

/** The EFFECTS page and the modulation routes: NRPNs without a catalogue row that the MIDI thread
    queued go to the route fields or the effect controls, and a Program's effect bytes to the page. */
class EffectsController
{
public:
    explicit EffectsController (EditorEngine& engine);

    EffectsPageModel& page() { return model; }

    /** What the tick changed: the effects page, and the routes whose fields moved. */
    struct TickReport
    {
        bool effectsChanged = false;
        std::vector<int> changedRoutes;
    };
    TickReport tick();

    /** The effect settings and route fields of a Program that was synced or loaded; the next tick
        reports what changed. */
    void applyProgram (const DecodedProgramValues& values, const UnpackedProgram& unpacked);

private:
    EditorEngine& engine;
    EffectsPageModel model;
    bool hostMovedAControl = false, pageReplaced = false;
    std::vector<int> routesReplaced;
};

} // namespace orvo
