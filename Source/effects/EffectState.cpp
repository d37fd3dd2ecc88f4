#include "effects/EffectState.h"

#include "effects/EffectValueFamilies.h"

#include <algorithm>
#include <cmath>

namespace orvo
{

bool EffectState::onPage (int page, int slot)
{
    return page >= 0 && page < effects::numPages && slot >= 0 && slot < effects::slotsPerPage;
}

void EffectState::selectAlgorithm (int index)
{
    current = clampEffectAlgorithm (index);
    for (auto& page : slots)
        page.fill (0);
    for (auto& page : texts)
        page.fill ({});
    for (int r : effectRowsOf (current))
    {
        const auto& row = effectControlTable()[(std::size_t)r];
        if (onPage ((int)row.page, (int)row.slot))
            slots[row.page][row.slot] = std::min (nrpnValue ((int)row.nrpn), 4095);
    }
}

int EffectState::nrpnValue (int nrpn) const
{
    return effects::isEffectNrpn (nrpn) ? nrpnValues[(std::size_t) (nrpn - effects::selectionNrpn)] : 0;
}

bool EffectState::hasNrpnValue (int nrpn) const
{
    return effects::isEffectNrpn (nrpn) && nrpnKnown[(std::size_t) (nrpn - effects::selectionNrpn)];
}

void EffectState::storeNrpnValue (int nrpn, int value)
{
    if (!effects::isEffectNrpn (nrpn))
        return;
    nrpnValues[(std::size_t) (nrpn - effects::selectionNrpn)] = std::clamp (value, 0, 16383);
    nrpnKnown[(std::size_t) (nrpn - effects::selectionNrpn)] = true;
}

int EffectState::slotValue (int page, int slot) const
{
    return onPage (page, slot) ? slots[(std::size_t)page][(std::size_t)slot] : 0;
}

const std::string& EffectState::fixedText (int page, int slot) const
{
    static const std::string none;
    return onPage (page, slot) ? texts[(std::size_t)page][(std::size_t)slot] : none;
}

void EffectState::setControl (int page, int slot, int raw, const std::string& fixedDisplay)
{
    if (!onPage (page, slot))
        return;
    const int value = std::clamp (raw, 0, 4095);
    slots[(std::size_t)page][(std::size_t)slot] = value;
    texts[(std::size_t)page][(std::size_t)slot] = fixedDisplay;
    const int r = effectRowAt (current, page, slot);
    if (r >= 0)
        storeNrpnValue ((int)effectControlTable()[(std::size_t)r].nrpn, value);
}

void EffectState::applyNrpnValue (int nrpn, int raw)
{
    storeNrpnValue (nrpn, raw);
    const int r = effectRowForNrpn (current, nrpn);
    if (r < 0)
        return;
    const auto& row = effectControlTable()[(std::size_t)r];
    if (onPage ((int)row.page, (int)row.slot))
    {
        slots[row.page][row.slot] = std::clamp (raw, 0, 4095);
        texts[row.page][row.slot].clear();
    }
}

//==============================================================================
StoredEffectBytes storedEffectBytesOf (const UnpackedProgram& program)
{
    namespace eb = effectbytes;
    const auto size = (int)program.size();
    auto word = [&] (int offset) -> std::optional<int>
    {
        if (offset + 1 >= size)
            return std::nullopt;
        return (program[(std::size_t)offset] << 8) | program[(std::size_t)offset + 1];
    };
    StoredEffectBytes bytes;
    bytes.panWord = word (eb::panOffset);
    bytes.sendWord = word (eb::sendOffset);
    if (eb::algorithmOffset < size)
        bytes.algorithmByte = program[(std::size_t)eb::algorithmOffset];
    for (int k = 0; k < eb::parameterCount && eb::parametersOffset + k < size; ++k)
        bytes.parameters.push_back (program[(std::size_t) (eb::parametersOffset + k)]);
    return bytes;
}

bool applyStoredEffectParameterTo (EffectState& state, int algorithm, const DigitalEffectParameterMapping& row,
                                   int stored, std::string& log)
{
    if (row.page >= (unsigned)effects::numPages || row.slot >= (unsigned)effects::slotsPerPage)
        return false;

    const int nrpn = (int)row.nrpn;
    const std::string family = effectValueFamily (algorithm, row.label, nrpn);
    const auto expansion = expandEffectValue (family, stored);
    if (!expansion.valid)
    {
        log += "PROGRAM DIGITAL EFFECT: skipped unsupported stored parameter " + row.label + " (effect " +
               std::to_string (algorithm) + ", NRPN " + std::to_string (nrpn) + ", curve family '" + family + "').\n";
        return false;
    }

    int raw = expansion.raw;
    if (algorithm == 8 && nrpn == 3621 && normaliseEffectLabel (row.label) == "DECAY" && stored == 61)
        raw = 2520;

    std::string display;
    // The captured values are keyed by the control's own NRPN, so every one of them can match
    // (the stored order's numbering 3609 + k coincides with it only on some controls).
    if (const auto* exception = findEffectCapturedException (algorithm, row.label, nrpn, stored))
    {
        raw = exception->raw;
        display = exception->display;
    }

    state.setControl ((int)row.page, (int)row.slot, raw, display);
    state.storeNrpnValue (nrpn, raw);
    return true;
}

bool applyStoredEffectParameter (EffectState& state, int algorithm, int k, int stored, std::string& log)
{
    const int r = effectRowForStoredSlot (algorithm, k);
    if (r < 0)
        return false;
    return applyStoredEffectParameterTo (state, algorithm, effectControlTable()[(std::size_t)r], stored, log);
}

int effectWordToRaw (int word)
{
    return (int)std::lround (std::clamp (word, 0, 65535) * 4095.0 / 65535.0);
}

std::string applyProgramEffects (EffectState& state, const StoredEffectBytes& bytes)
{
    std::string log;
    if (bytes.algorithmByte)
    {
        const int index = clampEffectAlgorithm (*bytes.algorithmByte);
        state.selectAlgorithm (index);
        state.storeNrpnValue (effects::selectionNrpn, effectSelectionRawFromProgram (index));
    }
    if (bytes.sendWord)
        state.applyNrpnValue (effects::sendNrpn, effectWordToRaw (*bytes.sendWord));
    if (bytes.panWord)
        state.applyNrpnValue (effects::panNrpn, effectWordToRaw (*bytes.panWord));

    const int count = std::min ((int)bytes.parameters.size(), effectbytes::parameterCount);
    for (int k = 0; k < count; ++k)
        applyStoredEffectParameter (state, state.algorithm(), k, bytes.parameters[(std::size_t)k], log);
    return log;
}

} // namespace orvo
