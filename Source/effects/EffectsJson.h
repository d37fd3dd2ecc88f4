#pragma once

#include "effects/EffectState.h"

#include <string>
#include <vector>

namespace orvo
{

/** One listed control of a Program's effects. */
struct EffectsSummaryControl
{
    int page = 0;
    int slot = 0;
    std::string label;
    int nrpn = 0;
    int raw = 0;
};

/** The current algorithm's CONFIG send and pan (or blend) and every control of its stored order,
    with the values the editor holds for them. */
struct EffectsSummary
{
    int algorithm = 0;
    std::vector<EffectsSummaryControl> controls;
};

EffectsSummary effectsSummaryOf (const EffectState& state);

/** {"algorithm": n, "controls": [{"page": p, "slot": s, "label": "...", "nrpn": n, "raw": r}, ...]} */
std::string effectsJsonFor (const EffectsSummary& summary);
std::string effectsJsonFor (const EffectState& state);
/** Decodes the Program's effect bytes into a fresh state first. */
std::string effectsJsonFor (const UnpackedProgram& program);

} // namespace orvo
