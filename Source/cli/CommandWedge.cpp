#include "CliCommand.h"
#include "JsonOut.h"

#include "effects/WedgePresets.h"

#include <algorithm>
#include <ostream>

namespace orvo::cli
{
namespace
{

std::string presetJson (const WedgePreset& p)
{
    std::string settings;
    for (const auto& [nrpn, raw] : p.settings)
        settings += (settings.empty() ? "" : ", ") + std::string ("{\"nrpn\": ") + std::to_string (nrpn) +
                    ", \"raw\": " + std::to_string (raw) + "}";
    return "{\"number\": " + std::to_string (p.number) + ", \"name\": " + jsonString (p.name) +
           ", \"group\": " + jsonString (p.group) + ", \"algorithm\": " + std::to_string (p.algorithm) +
           ", \"settings\": [" + settings + "]}";
}

int runWedge (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() > 1)
    {
        err << "usage: orvo-cli wedge [NUMBER]\n";
        return exitUsage;
    }
    const WedgePreset* only = nullptr;
    if (args.size() == 1)
    {
        const auto& a = args[0];
        const bool digits = !a.empty() && a.size() <= 3 && std::all_of (a.begin(), a.end(), [] (char c) { return c >= '0' && c <= '9'; });
        only = digits ? findWedgePreset (std::stoi (a)) : nullptr;
        if (only == nullptr)
        {
            err << "no Wedge preset " << a << ": the numbers are 0 to 227\n";
            return exitBadInput;
        }
    }
    out << "[\n";
    bool first = true;
    for (const auto& p : wedgePresets())
        if (only == nullptr || &p == only)
        {
            out << (first ? "" : ",\n") << presetJson (p);
            first = false;
        }
    out << "\n]\n";
    return exitOk;
}

const CommandRegistration registration (
    "wedge", "wedge [NUMBER]", runWedge,
    { "Print the Wedge effect presets as JSON",
      "Prints the 228 Wedge presets as one JSON array, or with NUMBER (0 to 227) only that one: its number, name, "
      "group, effect algorithm and the NRPN settings the editor sends when the preset is chosen." });

} // namespace
} // namespace orvo::cli
