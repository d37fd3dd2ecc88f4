#include "effects/EffectsPageModel.h"

#include "effects/EffectValueFamilies.h"

#include <algorithm>
#include <cctype>

namespace orvo
{

EffectsPageModel::EffectsPageModel() : category (effects::allCategories)
{
    effectState.selectAlgorithm (0);
}

std::vector<std::string> EffectsPageModel::categoryMenu()
{
    std::vector<std::string> menu{ effects::allCategories };
    for (const char* c : effectCategories())
        menu.emplace_back (c);
    return menu;
}

void EffectsPageModel::selectCategory (std::string_view name)
{
    const auto menu = categoryMenu();
    category = std::find (menu.begin(), menu.end(), name) != menu.end() ? std::string (name)
                                                                        : std::string (effects::allCategories);
}

std::vector<int> EffectsPageModel::algorithmMenu() const
{
    std::vector<int> indices;
    for (int i = 0; i < effects::numAlgorithms; ++i)
        if (effectAlgorithmIsIn (i, category))
            indices.push_back (i);
    return indices;
}

void EffectsPageModel::showAlgorithm (int index, bool resetCategory)
{
    effectState.selectAlgorithm (index);
    if (resetCategory)
        followAlgorithmInCategoryMenu();
}

void EffectsPageModel::followAlgorithmInCategoryMenu()
{
    const std::string wanted = effectAlgorithm (algorithm()).category;
    const auto menu = categoryMenu();
    category = std::find (menu.begin(), menu.end(), wanted) != menu.end() ? wanted : "Single";
}

EffectNrpnSend EffectsPageModel::chooseAlgorithm (int index, bool resetCategory)
{
    showAlgorithm (index, resetCategory);
    const int raw = effectSelectionRawToSend (effectState.algorithm());
    effectState.storeNrpnValue (effects::selectionNrpn, raw);
    return { effects::selectionNrpn, raw, effects::selectionLabel };
}

bool EffectsPageModel::receiveSelection (int raw)
{
    const int index = effectAlgorithmForSelectionRaw (raw);
    const bool changed = index != effectState.algorithm();
    showAlgorithm (index, true);
    effectState.storeNrpnValue (effects::selectionNrpn, raw);
    return changed;
}

std::string EffectsPageModel::pageName (int page)
{
    if (page <= 0)
        return "CONFIG";
    return "PARAM" + std::to_string (std::min (page, effects::numPages - 1));
}

std::string EffectsPageModel::pageAbbreviation (int page) const
{
    for (int r : effectRowsOf (algorithm()))
    {
        const auto& row = effectControlTable()[(std::size_t)r];
        if ((int)row.page == page)
            return effectPageAbbreviation (row.pageKey);
    }
    return {};
}

bool EffectsPageModel::pageUsed (int page) const
{
    for (int slot = 0; slot < effects::slotsPerPage; ++slot)
        if (effectRowAt (algorithm(), page, slot) >= 0)
            return true;
    return false;
}

EffectControlView EffectsPageModel::control (int page, int slot) const
{
    EffectControlView view;
    view.page = page;
    view.slot = slot;
    const int r = effectRowAt (algorithm(), page, slot);
    if (r < 0)
        return view;
    const auto& row = effectControlTable()[(std::size_t)r];
    view.filled = true;
    view.row = r;
    view.label = row.label;
    view.longName = effectLongName (row.label);
    view.id = row.id;
    view.nrpn = (int)row.nrpn;
    view.family = effectValueFamily (algorithm(), row.label, view.nrpn);
    view.raw = effectState.slotValue (page, slot);
    const auto& fixed = effectState.fixedText (page, slot);
    view.valueText = fixed.empty() ? effectValueText (view.family, view.raw, row.label) : fixed;
    view.rangeText = effectRangeText (view.family, row.label);
    return view;
}

std::optional<EffectNrpnSend> EffectsPageModel::userEdit (int page, int slot, int raw)
{
    const int r = effectRowAt (algorithm(), page, slot);
    if (r < 0)
        return std::nullopt;
    const auto& row = effectControlTable()[(std::size_t)r];
    effectState.setControl (page, slot, raw);
    std::string action = "DIGITAL EFFECTS " + row.effectName + " " + row.label;
    std::transform (action.begin(), action.end(), action.begin(),
                    [] (unsigned char c) { return (char)std::toupper (c); });
    return EffectNrpnSend{ (int)row.nrpn, effectState.slotValue (page, slot), action };
}

std::optional<EffectNrpnSend> EffectsPageModel::hostParameterInput (std::string_view parameterId, int raw)
{
    for (int r : effectRowsOf (algorithm()))
    {
        const auto& row = effectControlTable()[(std::size_t)r];
        if (row.id != parameterId)
            continue;
        // A control another one hides from the page has no slot of its own to move.
        if (effectRowAt (algorithm(), (int)row.page, (int)row.slot) != r)
            return std::nullopt;
        return userEdit ((int)row.page, (int)row.slot, raw);
    }
    return std::nullopt;
}

void EffectsPageModel::applyIncomingValue (int nrpn, int raw)
{
    if (nrpn == effects::selectionNrpn)
        receiveSelection (raw);
    else
        effectState.applyNrpnValue (nrpn, raw);
}

std::string EffectsPageModel::applyProgram (const StoredEffectBytes& bytes)
{
    const std::string log = applyProgramEffects (effectState, bytes);
    // The values are on the page already; only the menu follows.
    if (bytes.algorithmByte)
        followAlgorithmInCategoryMenu();
    return log;
}

} // namespace orvo
