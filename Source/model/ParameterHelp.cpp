#include "ParameterHelp.h"

#include "model/EmbeddedResources.h"
#include "model/InterfaceControls.h"
#include "model/ModulationRoutes.h"
#include "model/ParameterCatalogue.h"

#include <juce_core/juce_core.h>

namespace orvo
{
namespace
{
std::vector<HelpEntry> load()
{
    std::vector<HelpEntry> rows;
    const auto resource = embeddedResource ("ParameterHelp.json");
    if (resource.data == nullptr)
        return rows;
    const auto json = juce::JSON::parse (juce::String::fromUTF8 ((const char*)resource.data, (int)resource.size));
    const auto* list = json.getArray();
    if (list == nullptr)
        return rows;
    rows.reserve ((size_t)list->size());
    const auto text = [] (const juce::var& row, const char* key)
    { return row.getProperty (key, {}).toString().toStdString(); };
    for (const auto& row : *list)
        rows.push_back ({ text (row, "id"), text (row, "title"), text (row, "description"), text (row, "tips"),
                          text (row, "details") });
    return rows;
}
} // namespace

const std::vector<HelpEntry>& ParameterHelp::table()
{
    static const std::vector<HelpEntry> rows = load();
    return rows;
}

const HelpEntry* ParameterHelp::find (std::string_view key,
                                      const std::function<std::string (std::string_view)>& familyOf)
{
    std::string wanted (key);
    if (key.rfind (effectPrefix, 0) == 0 && familyOf)
    {
        const auto family = familyOf (key.substr (std::string_view (effectPrefix).size()));
        if (!family.empty())
            wanted = familyPrefix + family;
    }
    for (const auto& row : table())
        if (row.id == wanted)
            return &row;
    return nullptr;
}

std::string ParameterHelp::paneText (const HelpEntry& entry)
{
    std::string text = entry.title + "\n\n" + entry.description;
    if (!entry.tips.empty())
        text += "\n\nTIPS\n" + entry.tips;
    if (!entry.details.empty())
        text += "\n\nDETAILS\n" + entry.details;
    return text;
}

std::vector<std::string> ParameterHelp::editorKeys()
{
    std::vector<std::string> keys;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        keys.emplace_back (ParameterCatalogue::row (r).id);
    for (const auto& info : InterfaceControls::all())
        keys.push_back (InterfaceControls::key (info.nrpn));
    for (int route = 0; route < ModulationRoutes::numRoutes; ++route)
        for (auto field : ModulationRoutes::fields())
            if (const auto key = ModulationRoutes::fieldKey (route, field); ModulationRoutes::resolve (key))
                keys.push_back (key);
    keys.emplace_back ("__morph");
    for (int m = 1; m <= 8; ++m)
        keys.push_back ("__macro" + std::to_string (m));
    for (const char* wheel : { "pitch_wheel_osc_1", "pitch_wheel_osc_2", "pitch_wheel_top_curve",
                               "pitch_wheel_bottom_curve", "mod_wheel_curve" })
        keys.emplace_back (wheel);
    return keys;
}

} // namespace orvo
