#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace orvo::cli
{

/** Exit codes shared by every command: 0 done, 1 bad input (reason on stderr), 2 usage error. */
enum ExitCode : int
{
    exitOk = 0,
    exitBadInput = 1,
    exitUsage = 2
};

using CommandFn = int (*) (const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

/** What `orvo-cli --help`, `orvo-cli COMMAND --help`, the man page and the shell completion say
    about a command. It sits beside the command's code so the two change together. */
struct CommandHelp
{
    /** One line for the command table, without a full stop. */
    std::string summary;
    /** Paragraphs separated by blank lines: what the command reads, what it prints, when it refuses. */
    std::string details;
    /** Options the command takes besides --help, for the completion (each "--name"). */
    std::vector<std::string> options;
};

/** Each command file registers itself with one static instance of this. */
struct CommandRegistration
{
    CommandRegistration (const char* name, const char* usage, CommandFn fn, CommandHelp help = {});
};

struct CommandEntry
{
    std::string name, usage;
    CommandFn fn = nullptr;
    CommandHelp help;
};

std::vector<CommandEntry>& registeredCommands();

} // namespace orvo::cli
