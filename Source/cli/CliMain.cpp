#include "CliCommand.h"
#include "CliHelp.h"

#include <algorithm>
#include <iostream>

namespace orvo::cli
{

std::vector<CommandEntry>& registeredCommands()
{
    static std::vector<CommandEntry> commands;
    return commands;
}

CommandRegistration::CommandRegistration (const char* name, const char* usage, CommandFn fn, CommandHelp help)
{
    // Some commands register the text of their usage error ("orvo-cli NAME ...\n"); the help wants "NAME ...".
    std::string text = usage;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (text.rfind ("orvo-cli ", 0) == 0)
        text.erase (0, 9);
    registeredCommands().push_back ({ name, text, fn, std::move (help) });
}

} // namespace orvo::cli

int main (int argc, char** argv)
{
    using namespace orvo::cli;
    auto& commands = registeredCommands();
    std::sort (commands.begin(), commands.end(), [] (const auto& a, const auto& b) { return a.name < b.name; });

    const std::string name = argc > 1 ? argv[1] : "";
    std::vector<std::string> args (argv + std::min (argc, 2), argv + argc);
    const auto find = [&] (const std::string& n)
    { return std::find_if (commands.begin(), commands.end(), [&] (const auto& c) { return c.name == n; }); };
    const auto wantsHelp = [] (const std::string& a) { return a == "--help" || a == "-h"; };

    if (wantsHelp (name))
        return writeOverview (commands, std::cout), exitOk;
    if (name == "--version")
        return std::cout << "orvo-cli " << ORVO_VERSION << "\n", exitOk;
    if (name == "--man")
        return writeManPage (commands, std::cout), exitOk;
    if (name == "--bash-completion")
        return writeBashCompletion (commands, std::cout), exitOk;
    if (name == "help")
    {
        if (args.empty())
            return writeOverview (commands, std::cout), exitOk;
        if (auto it = find (args[0]); it != commands.end())
            return writeCommandHelp (*it, std::cout), exitOk;
    }

    const auto it = find (name == "help" ? args[0] : name);
    if (it == commands.end())
    {
        const auto unknown = name == "help" ? args[0] : name;
        if (unknown.empty())
            writeUsageLine (commands, std::cerr);
        else
            std::cerr << "orvo-cli: unknown command \"" << unknown << "\"\n";
        std::cerr << "Try 'orvo-cli --help'.\n";
        return exitUsage;
    }
    if (!args.empty() && wantsHelp (args[0]))
        return writeCommandHelp (*it, std::cout), exitOk;
    return it->fn (args, std::cout, std::cerr);
}
