#include "CliCommand.h"
#include "midi/NrpnCodec.h"

#include <ostream>

namespace
{
using namespace orvo;

bool parseInt (const std::string& text, long& value)
{
    if (text.empty())
        return false;
    size_t used = 0;
    try
    {
        value = std::stol (text, &used, 10);
    }
    catch (...)
    {
        return false;
    }
    return used == text.size();
}

int runNrpn (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3)
    {
        err << "usage: orvo-cli nrpn CHANNEL NRPN VALUE\n";
        return cli::exitUsage;
    }
    long channel = 0, nrpn = 0, value = 0;
    if (! parseInt (args[0], channel) || channel < 1 || channel > 16)
    {
        err << "CHANNEL must be a whole number from 1 to 16, not \"" << args[0] << "\".\n";
        return cli::exitBadInput;
    }
    if (! parseInt (args[1], nrpn) || nrpn < 0 || nrpn > 16383)
    {
        err << "NRPN must be a whole number from 0 to 16383, not \"" << args[1] << "\".\n";
        return cli::exitBadInput;
    }
    if (! parseInt (args[2], value) || value < 0 || value > 16383)
    {
        err << "VALUE must be a whole number from 0 to 16383, not \"" << args[2] << "\".\n";
        return cli::exitBadInput;
    }
    std::string line;
    for (const auto& m : buildNrpnMessages ((int) channel, (int) nrpn, (int) value))
        line += (line.empty() ? "" : " ") + hexBytes (m.data(), m.size());
    out << line << "\n";
    return cli::exitOk;
}

cli::CommandRegistration registration (
    "nrpn", "nrpn CHANNEL NRPN VALUE", &runNrpn,
    { "Print the MIDI bytes of one NRPN message",
      "Prints the four controller messages (CC 99, 98, 6, 38) that set NRPN to VALUE on CHANNEL, as lower-case "
      "hexadecimal bytes. CHANNEL is 1 to 16, NRPN and VALUE 0 to 16383." });
} // namespace
