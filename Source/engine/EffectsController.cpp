#include "EffectsController.h"

#include "EffectHostInput.h"

#include <utility>

namespace orvo
{

EffectsController::EffectsController (EditorEngine& e) : engine (e)
{
    connectEffectHostInput (engine, model, [this] { hostMovedAControl = true; });
}

EffectsController::TickReport EffectsController::tick()
{
    TickReport report;
    report.effectsChanged = std::exchange (hostMovedAControl, false) | std::exchange (pageReplaced, false);
    report.changedRoutes = std::exchange (routesReplaced, {});
    for (const auto& [nrpn, value] : engine.takeUnmappedNrpns())
    {
        if (ModulationRouting::takesNrpn (nrpn))
        {
            if (engine.settings().followIncomingMidi)
                for (const auto& field : engine.modulation().applyIncoming (nrpn, value))
                    report.changedRoutes.push_back (field.route);
            continue;
        }
        if (nrpn == 3603)
        {
            model.receiveSelection (value);
            report.effectsChanged = true;
        }
        else if (nrpn >= 3604 && nrpn <= 3638)
        {
            model.applyIncomingValue (nrpn, value);
            report.effectsChanged = true;
        }
    }
    return report;
}

void EffectsController::applyProgram (const DecodedProgramValues& values, const UnpackedProgram& unpacked)
{
    engine.log().append (model.applyProgram (storedEffectBytesOf (unpacked)));
    pageReplaced = true;
    for (const auto& f : values.routeFields)
        if (engine.modulation().applyValue (f.route, f.field, f.raw))
            routesReplaced.push_back (f.route);
}

} // namespace orvo
