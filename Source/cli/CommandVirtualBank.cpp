#include "CliCommand.h"
#include "instrument/FactoryPrograms.h"
#include "library/AtomicFile.h"

#include <ostream>

namespace
{
using namespace orvo;

// Writes one of the Virtual Orvo's factory banks as the instrument would send it, for trying the
// librarian and importers without an instrument.
int run (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
    {
        err << "usage: orvo-cli virtual-bank BANK OUT.syx\n";
        return cli::exitUsage;
    }
    const auto& text = args[0];
    if (text.size() != 1 || text[0] < '0' || text[0] >= '0' + factory::numBanks)
    {
        err << "BANK must be 0 (USER), 1 (PRESET 1) or 2 (PRESET 2), not \"" << text << "\".\n";
        return cli::exitBadInput;
    }
    const int bank = text[0] - '0';
    const auto stream = factory::bankSysEx (bank);

    const auto target = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (args[1]));
    const auto result = writeFileAtomically (target, std::string (stream.begin(), stream.end()));
    if (!result)
    {
        err << "virtual-bank: cannot write " << args[1] << ": " << result.error << "\n";
        return cli::exitBadInput;
    }
    out << "Wrote " << factory::numPrograms << " Programs of the Virtual Orvo's " << factory::bankName (bank)
        << " bank (" << stream.size() << " bytes) to " << args[1] << "\n";
    return cli::exitOk;
}

orvo::cli::CommandRegistration
    reg ("virtual-bank", "virtual-bank BANK OUT.syx", &run,
         { "Write a Virtual Orvo factory bank as a .syx file",
           "Writes the 128 Programs of the Virtual Orvo's bank BANK (0 USER, 1 PRESET 1, 2 PRESET 2) to OUT.syx as "
           "the instrument would send them, for trying the librarian without an instrument." });
} // namespace
