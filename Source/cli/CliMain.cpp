#include "CliCommand.h"

#include <algorithm>
#include <iostream>

namespace orvo::cli
{

std::vector<CommandEntry>& registeredCommands()
{
    static std::vector<CommandEntry> commands;
    return commands;
}

CommandRegistration::CommandRegistration (const char* name, const char* usage, CommandFn fn)
{
    registeredCommands().push_back ({ name, usage, fn });
}

} // namespace orvo::cli

int main (int argc, char** argv)
{
    using namespace orvo::cli;
    auto& commands = registeredCommands();
    std::sort (commands.begin(), commands.end(), [] (const auto& a, const auto& b) { return a.name < b.name; });

    const std::string name = argc > 1 ? argv[1] : "";
    auto it = std::find_if (commands.begin(), commands.end(), [&] (const auto& c) { return c.name == name; });
    if (it == commands.end())
    {
        std::string names;
        for (const auto& c : commands)
            names += (names.empty() ? "" : "|") + c.name;
        std::cerr << "usage: orvo-cli <" << names << "> ..." << (name.empty() ? "" : " (unknown command: " + name + ")") << "\n";
        return exitUsage;
    }
    std::vector<std::string> args (argv + 2, argv + argc);
    return it->fn (args, std::cout, std::cerr);
}
