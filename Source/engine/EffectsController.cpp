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
    // Both flags are cleared whichever was set, so neither is read before its exchange.
    const bool moved = std::exchange (hostMovedAControl, false);
    const bool replaced = std::exchange (pageReplaced, false);
    report.effectsChanged = moved || replaced;
    report.changedRoutes = std::exchange (routesReplaced, {});
    for (const auto& [nrpn, value] : engine.takeUnmappedNrpns())
    {
        if (onIncomingValue)
            onIncomingValue (nrpn, value);
        if (ModulationRouting::takesNrpn (nrpn))
        {
            if (engine.settings().followIncomingMidi)
                for (const auto& field : engine.modulation().applyIncoming (nrpn, value))
                    report.changedRoutes.push_back (field.route);
            continue;
        }
        if (nrpn == 3603)
        {
            const bool changed = model.receiveSelection (value);
            report.effectsChanged = true;
            if (onInstrumentEffectNrpn)
                onInstrumentEffectNrpn (nrpn, value, changed);
        }
        else if (nrpn >= 3604 && nrpn <= 3638)
        {
            model.applyIncomingValue (nrpn, value);
            report.effectsChanged = true;
            if (onInstrumentEffectNrpn)
                onInstrumentEffectNrpn (nrpn, value, false);
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

std::vector<ParameterEntry> EffectsController::documentEntries() const
{
    std::vector<ParameterEntry> out{ { algorithmKey, model.algorithm(), "EFFECTS", "DIGITAL EFFECTS" } };
    for (int page = 0; page < 6; ++page)
        for (int slot = 0; slot < 6; ++slot)
            if (const auto c = model.control (page, slot); c.filled)
                out.push_back ({ "__effect:" + c.id, c.raw, "EFFECTS", EffectsPageModel::pageName (page) });
    auto& routes = engine.modulation();
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto field : ModulationRoutes::fields())
            if (const auto v = routes.value (r, field))
                out.push_back ({ ModulationRoutes::fieldKey (r, field), *v, "MOD ROUTING",
                                 ModulationRoutes::all()[(size_t)r].name });
    return out;
}

bool EffectsController::applyInterfaceValue (int nrpn, int value)
{
    if (ModulationRouting::takesNrpn (nrpn))
    {
        for (const auto& field : engine.modulation().applyIncoming (nrpn, value))
            routesReplaced.push_back (field.route);
        return true;
    }
    if (nrpn == effects::selectionNrpn)
        model.receiveSelection (value);
    else if (EditorEngine::isDigitalEffectNrpn (nrpn))
        model.applyIncomingValue (nrpn, value);
    else
        return false;
    pageReplaced = true;
    return true;
}

bool EffectsController::applyDocumentEntry (const std::string& id, int raw)
{
    if (id == algorithmKey)
    {
        if (raw < 0 || raw > effects::lastAlgorithm)
            return false;
        model.showAlgorithm (raw, true);
        pageReplaced = true;
        return true;
    }
    if (id.rfind ("__effect:", 0) == 0)
    {
        // Applied as the control's own edit would be; the send it hands back is dropped.
        if (!model.hostParameterInput (std::string_view (id).substr (9), raw))
            return false;
        pageReplaced = true;
        return true;
    }
    if (const auto field = ModulationRoutes::resolve (id))
    {
        if (engine.modulation().applyValue (field->route, field->field, raw))
            routesReplaced.push_back (field->route);
        return true;
    }
    return false;
}

} // namespace orvo
