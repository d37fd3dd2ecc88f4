#include "CliCommand.h"
#include "CliFiles.h"
#include "JsonOut.h"
#include "engine/ProgramSnapshot.h"
#include "library/ProgramDocument.h"
#include "library/SysExMessageScan.h"

#include <ostream>

namespace
{
using namespace orvo;

/** The one Program of a .syx file or a Program document; nothing with the reason otherwise. */
std::optional<ProgramSnapshot> readProgram (const std::string& path, std::string& reason)
{
    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (path));
    std::optional<ByteVector> dump;
    if (file.hasFileExtension (".syx"))
    {
        ByteVector bytes;
        if (!cli::readSysExFile (path, bytes, reason))
            return std::nullopt;
        const SysExMessageScan scan (bytes);
        if (scan.programDumpCount() != 1)
        {
            reason = path + " holds " + std::to_string (scan.programDumpCount()) +
                     " Program dumps; diff compares files that hold one Program.";
            return std::nullopt;
        }
        dump = scan.bytesOf (*scan.chooseProgramDump());
    }
    else
    {
        const auto read = readProgramDocument (file);
        if (!read.ok)
        {
            reason = path + ": " + juce::String (read.failureLine).trim().toStdString();
            return std::nullopt;
        }
        dump = decodeDocumentSysEx (read.root, -1).dump;
        if (!dump)
        {
            reason = path + " holds no Program SysEx.";
            return std::nullopt;
        }
    }
    auto snapshot = ProgramSnapshot::ofDump (*dump);
    if (!snapshot)
        reason = path + ": the Program dump does not decode.";
    return snapshot;
}

std::string rawJson (const std::optional<int>& v)
{
    return v ? std::to_string (*v) : std::string ("null");
}

int runDiff (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
    {
        err << "usage: orvo-cli diff A B\n";
        return cli::exitUsage;
    }
    std::string reason;
    const auto a = readProgram (args[0], reason);
    const auto b = a ? readProgram (args[1], reason) : std::nullopt;
    if (!a || !b)
    {
        err << reason << "\n";
        return cli::exitBadInput;
    }

    std::string rows, effects;
    for (const auto& d : differencesBetween (*a, *b, false))
    {
        const auto values = ", \"a\": " + rawJson (d.a) + ", \"b\": " + rawJson (d.b) +
                            ", \"aText\": " + cli::jsonString (d.aText) + ", \"bText\": " + cli::jsonString (d.bText) +
                            "}";
        if (d.row >= 0)
            rows += (rows.empty() ? "" : ", ") + std::string ("{\"id\": ") + cli::jsonString (d.key) + values;
        else
        {
            const bool algorithm = d.page < 0;
            effects += (effects.empty() ? "" : ", ") + std::string ("{\"page\": ") +
                       cli::jsonString (algorithm ? "ALGORITHM" : EffectsPageModel::pageName (d.page)) +
                       ", \"slot\": " + std::to_string (algorithm ? 0 : d.slot + 1) +
                       ", \"id\": " + cli::jsonString (algorithm ? "algorithm" : d.key.substr (9)) + values;
        }
    }
    out << "{\"a\": " << cli::jsonString (a->name) << ", \"b\": " << cli::jsonString (b->name) << ", \"differences\": ["
        << rows << "], \"effects\": [" << effects << "]}\n";
    return cli::exitOk;
}

cli::CommandRegistration registration (
    "diff", "diff A B", &runDiff,
    { "Compare two Programs value by value",
      "A and B are each a .syx file with one Program dump or a Program document (.orvop). Prints one JSON "
      "object: \"a\" and \"b\" (the Program names), \"differences\" (every catalogue parameter that differs, in "
      "catalogue order: \"id\", the raw values \"a\" and \"b\", and \"aText\" and \"bText\" in the instrument's "
      "units) and \"effects\" (the digital effect: an \"ALGORITHM\" entry when the algorithms differ, then the "
      "controls that differ by \"page\" and \"slot\", 1 to 6, with their \"id\"; a control the other algorithm "
      "lacks has null for that side).\n\n"
      "Identical Programs give empty lists. Exits with 0 whether or not the Programs differ, 1 when a file is "
      "missing, holds no Program or more than one, or does not decode." });
} // namespace
