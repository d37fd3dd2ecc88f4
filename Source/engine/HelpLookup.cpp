#include "HelpLookup.h"

#include "effects/EffectControlTable.h"
#include "effects/EffectValueFamilies.h"

namespace orvo
{

std::string effectHelpFamily (std::string_view effectId)
{
    for (const auto& c : effectControlTable())
        if (c.id == effectId)
            return effectValueFamily (c.algorithm, c.label, (int)c.nrpn);
    return {};
}

const HelpEntry* helpFor (std::string_view key)
{
    return ParameterHelp::find (key, effectHelpFamily);
}

} // namespace orvo
