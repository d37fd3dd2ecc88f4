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

/** Each command file registers itself with one static instance of this. */
struct CommandRegistration
{
    CommandRegistration (const char* name, const char* usage, CommandFn fn);
};

struct CommandEntry
{
    std::string name, usage;
    CommandFn fn = nullptr;
};

std::vector<CommandEntry>& registeredCommands();

} // namespace orvo::cli
