#include "CliCommand.h"
#include "JsonOut.h"
#include "model/ParameterCatalogue.h"

#include <ostream>

namespace
{
using namespace orvo;

int runCatalogue (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (! args.empty())
    {
        err << "usage: orvo-cli catalogue\n";
        return cli::exitUsage;
    }
    out << "[\n";
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& p = ParameterCatalogue::row (r);
        out << "  {\"row\": " << r << ", \"id\": " << cli::jsonString (p.id) << ", \"name\": " << cli::jsonString (p.name)
            << ", \"section\": " << cli::jsonString (p.section) << ", \"group\": " << p.group << ", \"kind\": " << p.kind
            << ", \"nrpn\": " << p.nrpn << ", \"rawMin\": " << p.rawMin << ", \"rawMax\": " << p.rawMax
            << ", \"displayMin\": " << cli::jsonNumber (p.displayMin) << ", \"displayMax\": " << cli::jsonNumber (p.displayMax)
            << ", \"displayStep\": " << cli::jsonNumber (p.displayStep) << ", \"decimals\": " << p.decimals
            << ", \"displayFormat\": " << p.displayFormat << ", \"offValue\": " << p.offValue
            << ", \"onValue\": " << p.onValue << ", \"labels\": [";
        for (int i = 0; i < p.labelCount; ++i)
            out << (i > 0 ? ", " : "") << "{\"text\": " << cli::jsonString (p.labels[(size_t) i].text)
                << ", \"value\": " << p.labels[(size_t) i].value << "}";
        out << "]}" << (r + 1 < ParameterCatalogue::numRows ? "," : "") << "\n";
    }
    out << "]\n";
    return cli::exitOk;
}

cli::CommandRegistration
    registration ("catalogue", "catalogue", &runCatalogue,
                  { "Print the parameter catalogue as JSON",
                    "Prints every Program parameter of the Orvo (233 rows) as one JSON array: its row, id, NRPN, raw "
                    "range, display range and unit, and the names of its choices where it has them." });
} // namespace
