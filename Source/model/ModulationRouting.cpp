#include "ModulationRouting.h"

#include "model/ModulationSources.h"
#include "model/ValueText.h"

#include <algorithm>
#include <cctype>

namespace orvo
{
namespace
{
std::string upperTrimmed (std::string_view text)
{
    while (!text.empty() && std::isspace ((unsigned char)text.front()))
        text.remove_prefix (1);
    while (!text.empty() && std::isspace ((unsigned char)text.back()))
        text.remove_suffix (1);
    std::string result (text);
    for (auto& c : result)
        c = (char)std::toupper ((unsigned char)c);
    return result;
}

bool isLevelLike (ModulationField field)
{
    return field == ModulationField::level || field == ModulationField::offset;
}
} // namespace

ModulationRouting::ModulationRouting()
{
    reset();
}

void ModulationRouting::reset()
{
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto field : ModulationRoutes::fields())
            values[slot (r, field)] = defaultValue (field);
}

int ModulationRouting::defaultValue (ModulationField field)
{
    // 2048 is the raw value that shows 0.00 for the bipolar level and offset.
    return isLevelLike (field) ? 2048 : 0;
}

size_t ModulationRouting::slot (int route, ModulationField field)
{
    return (size_t)route * ModulationRoutes::numFields + (size_t)((int)field - 1);
}

std::optional<int> ModulationRouting::value (int route, ModulationField field) const
{
    if (!ModulationRoutes::resolve (route, field))
        return std::nullopt;
    return values[slot (route, field)];
}

std::optional<int> ModulationRouting::value (std::string_view key) const
{
    const auto info = ModulationRoutes::resolve (key);
    if (!info)
        return std::nullopt;
    return values[slot (info->route, info->field)];
}

std::string ModulationRouting::valueText (const ModulationFieldInfo& field, int raw)
{
    const int r = std::clamp (raw, field.rawMin, std::max (field.rawMin, field.rawMax));
    switch (field.field)
    {
        case ModulationField::enable:
            return r > field.rawMin ? "ON" : "OFF";
        case ModulationField::source:
            return ModulationSources::nearest (r).name;
        case ModulationField::destination:
            if (const auto* choice = ModulationRoutes::nearestDestination (field.route, r))
                return choice->name;
            return {};
        case ModulationField::level:
        case ModulationField::offset:
            return ValueText::displayText (ModulationRoutes::levelShape(), r);
    }
    return {};
}

std::string ModulationRouting::rangeText (const ModulationFieldInfo& field)
{
    return ValueText::interfaceRangeText (field.label, field.nrpn, field.rawMin, field.rawMax,
                                          valueText (field, field.rawMin), valueText (field, field.rawMax));
}

std::optional<ModulationFieldView> ModulationRouting::fieldView (int route, ModulationField field) const
{
    auto info = ModulationRoutes::resolve (route, field);
    if (!info)
        return std::nullopt;
    ModulationFieldView view;
    view.raw = values[slot (route, field)];
    view.key = ModulationRoutes::fieldKey (route, field);
    view.text = valueText (*info, view.raw);
    view.actionLabel = ModulationRoutes::actionLabel (*info, view.raw);
    view.rangeText = rangeText (*info);
    view.info = std::move (*info);
    return view;
}

std::vector<ModulationFieldView> ModulationRouting::fieldViews (int route) const
{
    std::vector<ModulationFieldView> views;
    for (const auto field : ModulationRoutes::fields())
        if (auto view = fieldView (route, field))
            views.push_back (std::move (*view));
    return views;
}

std::optional<ModulationSend> ModulationRouting::setField (std::string_view key, int raw)
{
    const auto info = ModulationRoutes::resolve (key);
    if (!info)
        return std::nullopt;
    return setField (info->route, info->field, raw);
}

std::optional<ModulationSend> ModulationRouting::setField (int route, ModulationField field, int raw)
{
    const auto info = ModulationRoutes::resolve (route, field);
    if (!info)
        return std::nullopt;
    auto send = ModulationRoutes::sendFor (*info, raw);
    values[slot (route, field)] = send.value;
    return send;
}

std::optional<ModulationSend> ModulationRouting::currentSend (int route, ModulationField field) const
{
    const auto info = ModulationRoutes::resolve (route, field);
    if (!info)
        return std::nullopt;
    return ModulationRoutes::sendFor (*info, values[slot (route, field)]);
}

std::vector<ModulationSend> ModulationRouting::allSends() const
{
    std::vector<ModulationSend> sends;
    for (int r = 0; r < ModulationRoutes::numRoutes; ++r)
        for (const auto field : ModulationRoutes::fields())
            if (auto send = currentSend (r, field))
                sends.push_back (std::move (*send));
    return sends;
}

std::optional<int> ModulationRouting::rawForTypedText (int route, ModulationField field, std::string_view text) const
{
    const auto info = ModulationRoutes::resolve (route, field);
    if (!info)
        return std::nullopt;
    const auto typed = upperTrimmed (text);
    switch (field)
    {
        case ModulationField::enable:
            if (typed == "ON" || typed == "1")
                return info->rawMax;
            if (typed == "OFF" || typed == "0")
                return info->rawMin;
            return std::nullopt;
        case ModulationField::source:
            if (const auto* source = ModulationSources::findByName (typed))
                return source->raw;
            return std::nullopt;
        case ModulationField::destination:
            for (const auto& choice : ModulationRoutes::destinations (route))
                if (typed == choice.name)
                    return choice.raw;
            return std::nullopt;
        case ModulationField::level:
        case ModulationField::offset:
        {
            const auto result = ValueText::rawForTypedText (ModulationRoutes::levelShape(), text);
            if (!result.ok())
                return std::nullopt;
            return result.raw;
        }
    }
    return std::nullopt;
}

bool ModulationRouting::applyValue (int route, ModulationField field, int raw)
{
    const auto info = ModulationRoutes::resolve (route, field);
    if (!info)
        return false;
    auto& stored = values[slot (route, field)];
    const int clamped = std::clamp (raw, info->rawMin, std::max (info->rawMin, info->rawMax));
    if (stored == clamped)
        return false;
    stored = clamped;
    return true;
}

bool ModulationRouting::takesNrpn (int nrpn)
{
    return !ModulationRoutes::fieldsForNrpn (nrpn).empty();
}

std::vector<ModulationFieldRef> ModulationRouting::applyIncoming (int nrpn, int value)
{
    std::vector<ModulationFieldRef> changed;
    for (const auto& info : ModulationRoutes::fieldsForNrpn (nrpn))
        if (applyValue (info.route, info.field, value))
            changed.push_back ({ info.route, info.field });
    return changed;
}

} // namespace orvo
