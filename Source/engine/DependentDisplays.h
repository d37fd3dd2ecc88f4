#pragma once

#include "model/DisplayShapes.h"

#include <array>
#include <string>
#include <vector>

namespace orvo
{

class EditorEngine;

/** The drawings of the displays that follow the values: both oscillators' waves, the three LFOs,
    the three envelopes and the routing summary. `refresh` recomputes them from the engine and
    remembers which ones changed, so each display repaints only when its drawing did. */
class DependentDisplays
{
public:
    enum Display
    {
        osc1,
        osc2,
        lfo1,
        lfo2,
        lfo3,
        env1,
        env2,
        env3,
        routing,
        numDisplays
    };

    explicit DependentDisplays (const EditorEngine& engine);

    /** Recomputes every drawing; those that differ from before are marked changed. */
    void refresh();
    /** The displays changed since the last call, as bits (1 << Display); clears them. */
    unsigned takeChanged();

    const ShapeDrawing& drawing (Display d) const { return drawings[(size_t)d]; }
    const std::vector<std::string>& routingLines() const { return routes; }
    /** How many times a drawing was recomputed and found different (for tests and the idle check). */
    int changeCount() const { return changes; }

private:
    const EditorEngine& engine;
    std::array<ShapeDrawing, numDisplays> drawings;
    std::vector<std::string> routes;
    unsigned changed = 0;
    int changes = 0;
};

} // namespace orvo
