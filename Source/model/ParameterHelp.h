#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** The help a player reads about one control: the PARAMETER HELP pane and the parameter details
    show it for the selected control. */
struct HelpEntry
{
    std::string id;
    std::string title;
    std::string description;
    std::string tips;
    std::string details;
};

/** The help table, compiled in from Resources/ParameterHelp.json. */
class ParameterHelp
{
public:
    /** Digital-effect controls share the help of their value family, kept under this prefix. */
    static constexpr const char* familyPrefix = "effect-family:";
    static constexpr const char* effectPrefix = "__effect:";

    /** Every row in table order; empty when the resource is missing or unreadable. */
    static const std::vector<HelpEntry>& table();

    /** The help for a key. A digital-effect key ("__effect:" + ParameterId) goes to its family's
        entry first, through `familyOf` (empty when the control has no family); anything else is
        compared with each row's id in order, exactly. Nothing when no row matches. */
    static const HelpEntry* find (std::string_view key,
                                  const std::function<std::string (std::string_view effectId)>& familyOf = {});

    /** The text the pane shows: title, description, tips and details under their headings. */
    static std::string paneText (const HelpEntry& entry);

    /** The keys a control or tool target of the editor can have besides the digital-effect ones:
        catalogue ids, interface keys, route field keys, the tool targets and the wheel keys. */
    static std::vector<std::string> editorKeys();
};

} // namespace orvo
