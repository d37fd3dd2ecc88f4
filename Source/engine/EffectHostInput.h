#pragma once

#include <functional>

namespace orvo
{
class EditorEngine;
class EffectsPageModel;

/** Lets a host move digital-effect controls by "__effect:" + ParameterId: the control of the current
    algorithm takes the value as if the user had moved it, and its NRPN goes out through the engine
    while the host call runs, so nothing is reported back to the host. `changed` (may be empty) runs
    after each value taken, for the view to redraw. Both objects must outlive the engine's hook. */
void connectEffectHostInput (EditorEngine& engine, EffectsPageModel& effects, std::function<void()> changed = {});

} // namespace orvo
