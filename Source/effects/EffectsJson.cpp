#include "effects/EffectsJson.h"

#include <cstdio>

namespace orvo
{

namespace
{
std::string quoted (const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text)
    {
        if (c == '"' || c == '\\')
        {
            out += '\\';
            out += (char)c;
        }
        else if (c < 0x20)
        {
            char buffer[8];
            std::snprintf (buffer, sizeof (buffer), "\\u%04x", c);
            out += buffer;
        }
        else
            out += (char)c;
    }
    return out + "\"";
}
} // namespace

EffectsSummary effectsSummaryOf (const EffectState& state)
{
    EffectsSummary summary;
    summary.algorithm = state.algorithm();
    const auto& table = effectControlTable();
    auto add = [&] (int r)
    {
        const auto& row = table[(std::size_t)r];
        summary.controls.push_back (
            { (int)row.page, (int)row.slot, row.label, (int)row.nrpn, state.slotValue ((int)row.page, (int)row.slot) });
    };
    for (int nrpn : { effects::sendNrpn, effects::panNrpn })
    {
        const int r = effectRowForNrpn (state.algorithm(), nrpn);
        if (r >= 0 && table[(std::size_t)r].page == 0)
            add (r);
    }
    for (int r : effectStoredOrder (state.algorithm()))
        if (r >= 0)
            add (r);
    return summary;
}

std::string effectsJsonFor (const EffectsSummary& summary)
{
    std::string json = "{\"algorithm\": " + std::to_string (summary.algorithm) + ", \"controls\": [";
    for (std::size_t i = 0; i < summary.controls.size(); ++i)
    {
        const auto& c = summary.controls[i];
        json += (i == 0 ? "" : ", ");
        json += "{\"page\": " + std::to_string (c.page) + ", \"slot\": " + std::to_string (c.slot) +
                ", \"label\": " + quoted (c.label) + ", \"nrpn\": " + std::to_string (c.nrpn) +
                ", \"raw\": " + std::to_string (c.raw) + "}";
    }
    return json + "]}";
}

std::string effectsJsonFor (const EffectState& state)
{
    return effectsJsonFor (effectsSummaryOf (state));
}

std::string effectsJsonFor (const UnpackedProgram& program)
{
    EffectState state;
    applyProgramEffects (state, storedEffectBytesOf (program));
    return effectsJsonFor (state);
}

} // namespace orvo
