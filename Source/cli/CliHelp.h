#pragma once

#include "CliCommand.h"

#include <iosfwd>
#include <vector>

namespace orvo::cli
{

/** Every text orvo-cli gives about itself is made here from the registered commands' help, so the
    terminal help, the man page and the shell completion never disagree. */
void writeUsageLine (const std::vector<CommandEntry>& commands, std::ostream& out);
void writeOverview (const std::vector<CommandEntry>& commands, std::ostream& out);
void writeCommandHelp (const CommandEntry& command, std::ostream& out);
void writeManPage (const std::vector<CommandEntry>& commands, std::ostream& out);
void writeBashCompletion (const std::vector<CommandEntry>& commands, std::ostream& out);

} // namespace orvo::cli
