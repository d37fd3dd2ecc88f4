#include "CliCommand.h"
#include "effects/EffectsJson.h"
#include "JsonOut.h"
#include "data/ProgramCodec.h"
#include "library/ProgramDigests.h"
#include "midi/SysExStream.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace
{
using namespace orvo;

bool readFile (const std::string& path, ByteVector& bytes, std::string& reason)
{
    std::ifstream in (path, std::ios::binary);
    if (!in)
    {
        reason = std::strerror (errno);
        return false;
    }
    bytes.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    if (in.bad())
    {
        reason = "read error";
        return false;
    }
    return true;
}

std::string digestsJson (const ProgramDigests& digests)
{
    std::string text = "{";
    for (const auto& [key, digest] : digests.entries())
        if (!digest->empty())
            text +=
                std::string (text.size() > 1 ? ", " : "") + cli::jsonString (key) + ": " + cli::jsonString (*digest);
    return text + "}";
}

std::string programJson (std::size_t index, const ByteVector& message)
{
    const auto layout = classifyProgramDump (message);
    std::ostringstream o;
    o << "{\"index\": " << index;

    DecodedProgramValues values;
    std::string diagnostic;
    const auto reason = describeProgramDumpProblem (message.data(), message.size());
    const bool valid = reason.empty() && decodeProgramDump (message, values, diagnostic);

    o << ", \"name\": " << cli::jsonString (valid ? values.name : std::string()) << ", \"opcode\": " << layout.opcode
      << ", \"bank\": " << layout.bank << ", \"program\": " << layout.program
      << ", \"valid\": " << (valid ? "true" : "false");
    if (!valid)
        o << ", \"reason\": " << cli::jsonString (reason.empty() ? "the Program could not be decoded" : reason);
    else
    {
        o << ", \"parameters\": {";
        bool first = true;
        for (int row = 0; row < ParameterCatalogue::numRows; ++row)
            if (values.defined[(std::size_t)row])
            {
                o << (first ? "" : ", ") << cli::jsonString (ParameterCatalogue::row (row).id) << ": "
                  << values.raw[(std::size_t)row];
                first = false;
            }
        for (const auto& [id, raw] : values.extraValues)
        {
            o << (first ? "" : ", ") << cli::jsonString (id) << ": " << raw;
            first = false;
        }
        o << "}";
        o << ", \"effects\": " << effectsJsonFor (unpackProgramDump (message.data(), message.size()));
    }
    o << ", \"digests\": " << digestsJson (computeProgramDigests (message)) << "}";
    return o.str();
}

int runInspect (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
    {
        err << "usage: orvo-cli inspect FILE...\n";
        return cli::exitUsage;
    }

    int result = cli::exitOk;
    for (const auto& path : args)
    {
        ByteVector bytes;
        std::string reason;
        if (!readFile (path, bytes, reason))
        {
            err << "inspect: cannot read " << path << ": " << reason << "\n";
            result = cli::exitBadInput;
            continue;
        }

        // One object per file on one line, so scripts can read the output line by line.
        const auto messages = splitSysExMessages (bytes);
        out << "{\"file\": " << cli::jsonString (path) << ", \"messages\": " << messages.size() << ", \"programs\": [";
        for (std::size_t i = 0; i < messages.size(); ++i)
            out << (i > 0 ? ", " : "") << programJson (i, messages[i]);
        out << "]}\n";
    }
    return result;
}

cli::CommandRegistration registration ("inspect", "inspect FILE...", &runInspect);
} // namespace
