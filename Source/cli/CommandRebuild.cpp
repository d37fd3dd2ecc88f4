#include "CliCommand.h"
#include "CliFiles.h"
#include "JsonOut.h"
#include "data/ProgramRebuild.h"
#include "library/AtomicFile.h"
#include "midi/SysExStream.h"

#include <ostream>

namespace
{
using namespace orvo;

/** The Program dumps of a file (framed, opcode 00 or 02), each with its index among the file's messages. */
std::vector<std::pair<int, ByteVector>> programMessages (const ByteVector& bytes)
{
    std::vector<std::pair<int, ByteVector>> found;
    int index = 0;
    forEachSysExMessage (bytes.data(), bytes.size(), 32768, [&] (const SysExMessageView& m) {
        if (m.kept == m.length && m.length > 6 && hasOrvoFrame (m.bytes, m.length)
            && (m.bytes[5] == sysex::opStoredProgram || m.bytes[5] == sysex::opProgramEditBuffer))
            found.emplace_back (index, ByteVector (m.bytes, m.bytes + m.length));
        ++index;
    });
    return found;
}

/** Reads IN, turns each Program with `change`, and writes OUT only when every one succeeded. */
template <typename Change>
int rewrite (const std::string& command, const std::string& in, const std::string& out, std::ostream& os,
             std::ostream& err, Change&& change)
{
    ByteVector bytes;
    std::string reason;
    if (! cli::readSysExFile (in, bytes, reason))
    {
        err << command << ": cannot read " << in << ": " << reason << "\n";
        return cli::exitBadInput;
    }
    const auto programs = programMessages (bytes);
    std::string written, list;
    bool allOk = ! programs.empty();
    for (size_t i = 0; i < programs.size(); ++i)
    {
        const auto result = change (programs[i].second, (int)i);
        allOk = allOk && (bool)result;
        if (result)
            written.append (result.message.begin(), result.message.end());
        list += std::string (i > 0 ? ", " : "") + "{\"index\": " + std::to_string (programs[i].first)
                + ", \"ok\": " + (result ? "true" : "false") + ", \"message\": " + cli::jsonString (result.error) + "}";
    }
    if (programs.empty())
        err << command << ": " << in << " holds no Orvo Program dump.\n";
    if (allOk)
    {
        const auto target = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (out));
        if (const auto w = writeFileAtomically (target, written); ! w)
        {
            err << command << ": cannot write " << out << ": " << w.error << "\n";
            return cli::exitBadInput;
        }
    }
    os << "{\"file\": " << cli::jsonString (in) << ", \"out\": " << cli::jsonString (out) << ", \"programs\": [" << list
       << "]}\n";
    return allOk ? cli::exitOk : cli::exitBadInput;
}

int rebuild (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 4)
    {
        err << "usage: orvo-cli rebuild IN.syx BANK PROGRAM OUT.syx\n";
        return cli::exitUsage;
    }
    const auto number = [] (const std::string& s) {
        return ! s.empty() && s.size() <= 3 && s.find_first_not_of ("0123456789") == std::string::npos ? std::stoi (s) : -1;
    };
    const int bank = number (args[1]), first = number (args[2]);
    if (bank < 0 || first < 0)
    {
        err << "rebuild: BANK and PROGRAM are numbers from 0 to 127.\n";
        return cli::exitUsage;
    }
    // With several Programs the number counts up from the first.
    return rewrite ("rebuild", args[0], args[3], out, err,
                    [&] (const ByteVector& m, int i) { return rebuildStoredProgramDump (m, bank, first + i); });
}

int rename (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3)
    {
        err << "usage: orvo-cli rename IN.syx NAME OUT.syx\n";
        return cli::exitUsage;
    }
    return rewrite ("rename", args[0], args[2], out, err,
                    [&] (const ByteVector& m, int) { return renameProgramDump (m, args[1]); });
}

orvo::cli::CommandRegistration rebuildReg (
    "rebuild", "rebuild IN.syx BANK PROGRAM OUT.syx", &rebuild,
    { "Rewrite the Programs of a .syx file as stored dumps for given slots",
      "Rewrites every Program dump in IN.syx as a stored-Program dump for BANK (0 to 127) and PROGRAM, counting up "
      "from PROGRAM for each further Program, and writes them to OUT.syx. Prints one JSON object listing each "
      "Program and whether it could be rewritten.\n\n"
      "OUT.syx is written only when every Program was rewritten; otherwise the status is 1 and nothing is written." });
orvo::cli::CommandRegistration renameReg (
    "rename", "rename IN.syx NAME OUT.syx", &rename,
    { "Give the Programs of a .syx file a new name",
      "Writes every Program dump of IN.syx to OUT.syx with its name set to NAME, and prints one JSON object listing "
      "each Program and whether it could be renamed.\n\n"
      "OUT.syx is written only when every Program was renamed; otherwise the status is 1 and nothing is written." });
} // namespace
