#include "ProgramEdits.h"

#include "model/ModulationRoutes.h"

namespace orvo
{

ProgramSnapshot ProgramEdits::capture() const
{
    std::array<int, ProgramSnapshot::numRows> rows{};
    for (int r = 0; r < ProgramSnapshot::numRows; ++r)
        rows[(size_t)r] = engine.value (r);
    return ProgramSnapshot::of (rows, effects.page(), engine.modulation());
}

std::vector<ProgramEdits::Assignment> ProgramEdits::sideOf (const std::vector<ValueDifference>& differences, bool bSide)
{
    std::vector<Assignment> out;
    for (const auto& d : differences)
        if (const auto& v = bSide ? d.b : d.a)
            out.push_back ({ d.row, d.key, *v });
    return out;
}

int ProgramEdits::apply (const std::vector<Assignment>& values)
{
    int changed = 0;
    auto& page = effects.page();
    const auto send = [this] (const EffectNrpnSend& s) { engine.sendInterface (s.nrpn, s.raw, s.actionLabel); };
    for (const auto& v : values)
        if (v.row >= 0 && engine.value (v.row) != v.raw)
        {
            engine.toolEdit (v.row, v.raw);
            ++changed;
        }
    for (const auto& v : values)
        if (v.key == EffectsController::algorithmKey && page.algorithm() != v.raw)
        {
            send (page.chooseAlgorithm (v.raw, true));
            effects.pageChanged();
            ++changed;
        }
    for (const auto& v : values)
    {
        if (v.row >= 0 || v.key == EffectsController::algorithmKey)
            continue;
        if (const auto field = ModulationRoutes::resolve (v.key))
        {
            if (engine.modulation().value (v.key) == v.raw)
                continue;
            if (const auto s = engine.modulation().setField (v.key, v.raw))
            {
                engine.sendInterface (s->nrpn, s->value, s->actionLabel);
                effects.routeChanged (field->route);
                ++changed;
            }
        }
        else if (v.key.rfind ("__effect:", 0) == 0)
        {
            const auto id = v.key.substr (9);
            bool differs = true;
            for (int p = 0; p < 6; ++p)
                for (int s = 0; s < 6; ++s)
                    if (const auto c = page.control (p, s); c.filled && c.id == id)
                        differs = c.raw != v.raw;
            if (!differs)
                continue;
            if (const auto s = page.hostParameterInput (id, v.raw))
            {
                send (*s);
                effects.pageChanged();
                ++changed;
            }
        }
    }
    return changed;
}

} // namespace orvo
