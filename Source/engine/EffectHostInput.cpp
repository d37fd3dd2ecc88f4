#include "EffectHostInput.h"

#include "EditorEngine.h"
#include "effects/EffectsPageModel.h"

namespace orvo
{

void connectEffectHostInput (EditorEngine& engine, EffectsPageModel& effects, std::function<void()> changed)
{
    engine.effectParameterInput = [&engine, &effects, changed = std::move (changed)] (const std::string& key, int raw)
    {
        const auto send = effects.hostParameterInput (key, raw);
        if (!send)
            return false;
        engine.sendInterface (send->nrpn, send->raw, send->actionLabel);
        if (changed)
            changed();
        return true;
    };
}

} // namespace orvo
