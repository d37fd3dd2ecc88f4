#include "CliCommand.h"
#include "CliFiles.h"
#include "JsonOut.h"
#include "data/ProgramCodec.h"
#include "effects/EffectsJson.h"
#include "library/ProgramDigests.h"
#include "midi/SysExStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

namespace
{
using namespace orvo;

// Longer than any message of the instrument (a Global dump is 18,151 bytes): such a message is
// reported by its length only.
constexpr std::size_t maxMessageBytes = 32768;
// Each file's list stops here; "messages" still counts them all.
constexpr std::size_t maxListedMessages = 10000;

std::string digestsJson (const ProgramDigests& digests)
{
    std::string text = "{";
    for (const auto& [key, digest] : digests.entries())
        if (!digest->empty())
            text +=
                std::string (text.size() > 1 ? ", " : "") + cli::jsonString (key) + ": " + cli::jsonString (*digest);
    return text + "}";
}

std::string oversizeJson (std::size_t index, std::size_t length)
{
    return "{\"index\": " + std::to_string (index) + ", \"valid\": false, \"reason\": " +
           cli::jsonString ("message of " + std::to_string (length) + " bytes is longer than any Orvo message") + "}";
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
        if (!cli::readSysExFile (path, bytes, reason))
        {
            err << "inspect: cannot read " << path << ": " << reason << "\n";
            result = cli::exitBadInput;
            continue;
        }

        // One object per file on one line, so scripts can read the output line by line. The messages are
        // written as they are found: a file of millions of them costs no more memory than one.
        const auto total = (std::size_t)std::count (bytes.begin(), bytes.end(), sysex::start); // each F0 opens one
        out << "{\"file\": " << cli::jsonString (path) << ", \"messages\": " << total << ", \"programs\": [";
        std::size_t index = 0;
        ByteVector message;
        forEachSysExMessage (bytes.data(), bytes.size(), maxMessageBytes,
                             [&] (const SysExMessageView& m)
                             {
                                 if (index < maxListedMessages)
                                 {
                                     out << (index > 0 ? ", " : "");
                                     if (m.length > m.kept)
                                         out << oversizeJson (index, m.length);
                                     else
                                     {
                                         message.assign (m.bytes, m.bytes + m.kept);
                                         out << programJson (index, message);
                                     }
                                 }
                                 ++index;
                             });
        out << "]" << (total > maxListedMessages ? ", \"truncated\": true" : "") << "}\n";
    }
    return result;
}

cli::CommandRegistration registration (
    "inspect", "inspect FILE...", &runInspect,
    { "Decode every Program in .syx files",
      "Reads each FILE as a stream of SysEx messages and prints one JSON object per file: the number of "
      "messages and, for each, whether it is a valid Program dump, its name, its parameters, its effects and "
      "its digests.\n\n"
      "Files over 64 MB are refused; at most 10,000 messages are listed per file (\"truncated\" says so)." });
} // namespace
