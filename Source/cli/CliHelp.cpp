#include "CliHelp.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace orvo::cli
{
namespace
{
const char* const description =
    "The Orvo Editor's command-line tool. It reads and checks .syx files and library documents without the "
    "editor and the instrument, and prints JSON, one object per line where a command reports many things, so "
    "that scripts can read it.";

struct ExitStatus
{
    int code;
    const char* meaning;
};

const ExitStatus exitStatuses[] = {
    { exitOk, "The command did its work." },
    { exitBadInput,
      "The input was refused: a file that cannot be read or is not what the command takes, or a value out of "
      "range. The reason is on standard error; what could be done is still printed." },
    { exitUsage, "The command line was wrong: no command, an unknown command or the wrong number of arguments." },
};

std::vector<std::string> paragraphs (const std::string& text)
{
    std::vector<std::string> result;
    std::string::size_type start = 0;
    while (start <= text.size())
    {
        const auto end = std::min (text.find ("\n\n", start), text.size());
        if (end > start)
            result.push_back (text.substr (start, end - start));
        start = end + 2;
    }
    return result;
}

/** Fills lines up to `width` columns, each starting with `indent` spaces. */
void writeWrapped (std::ostream& out, const std::string& text, std::size_t indent, std::size_t width = 79)
{
    std::istringstream words (text);
    std::string word, line;
    while (words >> word)
    {
        if (!line.empty() && indent + line.size() + 1 + word.size() > width)
        {
            out << std::string (indent, ' ') << line << "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty())
        out << std::string (indent, ' ') << line << "\n";
}

/** Text for roff: backslashes and hyphens escaped, no line starting with a control character. */
std::string roff (const std::string& text)
{
    std::string out;
    for (const char c : text)
    {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\''))
        out.insert (0, "\\&");
    return out;
}

} // namespace

void writeUsageLine (const std::vector<CommandEntry>& commands, std::ostream& out)
{
    std::string names;
    for (const auto& c : commands)
        names += (names.empty() ? "" : "|") + c.name;
    out << "usage: orvo-cli <" << names << "> ...\n";
}

void writeOverview (const std::vector<CommandEntry>& commands, std::ostream& out)
{
    out << "Usage: orvo-cli COMMAND [ARGUMENTS...]\n"
           "       orvo-cli COMMAND --help\n"
           "       orvo-cli --help | --version\n\n";
    writeWrapped (out, description, 0);
    // Usages longer than this get a line of their own, the summary below them.
    const std::size_t longUsage = 30;
    std::size_t width = 0;
    for (const auto& c : commands)
        if (c.usage.size() <= longUsage)
            width = std::max (width, c.usage.size());
    out << "\nCommands:\n";
    for (const auto& c : commands)
    {
        if (c.usage.size() > longUsage)
            out << "  " << c.usage << "\n" << std::string (width + 4, ' ') << c.help.summary << "\n";
        else
            out << "  " << c.usage << std::string (width - c.usage.size() + 2, ' ') << c.help.summary << "\n";
    }
    out << "\nExit status:\n";
    for (const auto& s : exitStatuses)
    {
        std::ostringstream line;
        writeWrapped (line, s.meaning, 5);
        out << "  " << s.code << line.str().substr (3);
    }
    out << "\n'orvo-cli COMMAND --help' describes one command; 'man orvo-cli' describes them all.\n";
}

void writeCommandHelp (const CommandEntry& command, std::ostream& out)
{
    out << "Usage: orvo-cli " << command.usage << "\n\n" << command.help.summary << ".\n";
    for (const auto& p : paragraphs (command.help.details))
    {
        out << "\n";
        writeWrapped (out, p, 0);
    }
    out << "\nExit status: 0 done, 1 input refused (reason on standard error), 2 usage error.\n";
}

void writeManPage (const std::vector<CommandEntry>& commands, std::ostream& out)
{
    out << ".TH ORVO\\-CLI 1 \"\" \"orvo-cli " << ORVO_VERSION << "\" \"User Commands\"\n"
        << ".SH NAME\norvo\\-cli \\- command-line tool of the Orvo Editor\n"
        << ".SH SYNOPSIS\n.B orvo\\-cli\n.I COMMAND\n.RI [ ARGUMENTS ...]\n.br\n"
        << ".B orvo\\-cli\n.I COMMAND\n.B \\-\\-help\n.br\n.B orvo\\-cli\n.BR \\-\\-help \" | \" \\-\\-version\n"
        << ".SH DESCRIPTION\n"
        << roff (description) << "\n.SH COMMANDS\n";
    for (const auto& c : commands)
    {
        const auto space = c.usage.find (' ');
        if (space == std::string::npos)
            out << ".TP\n.B " << roff (c.usage) << "\n";
        else
            out << ".TP\n.BI \"" << roff (c.usage.substr (0, space)) << "\" \" " << roff (c.usage.substr (space + 1))
                << "\"\n";
        out << roff (c.help.summary) << ".\n";
        for (const auto& p : paragraphs (c.help.details))
            out << ".IP\n" << roff (p) << "\n";
    }
    out << ".SH OPTIONS\n.TP\n.B \\-\\-help\nShow the commands, or with a COMMAND what it does.\n"
        << ".TP\n.B \\-\\-version\nShow the version.\n.SH EXIT STATUS\n";
    for (const auto& s : exitStatuses)
        out << ".TP\n.B " << s.code << "\n" << roff (s.meaning) << "\n";
}

void writeBashCompletion (const std::vector<CommandEntry>& commands, std::ostream& out)
{
    std::string names;
    for (const auto& c : commands)
        names += " " + c.name;
    out << "# bash completion for orvo-cli\n"
        << "_orvo_cli()\n{\n"
        << "    local cur=\"${COMP_WORDS[COMP_CWORD]}\"\n"
        << "    if [ \"$COMP_CWORD\" -eq 1 ]; then\n"
        << "        COMPREPLY=($(compgen -W \"--help --version help" << names << "\" -- \"$cur\"))\n"
        << "        return\n    fi\n"
        << "    local options=\"--help\"\n"
        << "    case \"${COMP_WORDS[1]}\" in\n";
    for (const auto& c : commands)
    {
        std::string options;
        for (const auto& o : c.help.options)
            options += " " + o;
        if (!options.empty())
            out << "        " << c.name << ") options=\"--help" << options << "\" ;;\n";
    }
    out << "        help) COMPREPLY=($(compgen -W \"" << (names.empty() ? names : names.substr (1))
        << "\" -- \"$cur\")); return ;;\n"
        << "    esac\n"
        << "    if [[ \"$cur\" == -* ]]; then\n"
        << "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        << "    else\n"
        << "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        << "    fi\n"
        << "}\n"
        << "complete -o filenames -F _orvo_cli orvo-cli\n";
}

} // namespace orvo::cli
