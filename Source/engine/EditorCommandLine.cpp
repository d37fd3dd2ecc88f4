#include "EditorCommandLine.h"

namespace orvo
{

EditorCommandLine EditorCommandLine::parse (const std::vector<std::string>& args, const juce::File& currentFolder)
{
    EditorCommandLine line;
    bool onlyPaths = false;
    bool layoutPathNext = false;
    for (const auto& arg : args)
    {
        if (layoutPathNext)
        {
            layoutPathNext = false;
            line.writeLayout = currentFolder.getChildFile (juce::String::fromUTF8 (arg.c_str()));
        }
        else if (!onlyPaths && arg == "--write-layout")
            layoutPathNext = true;
        else if (!onlyPaths && arg == "--")
            onlyPaths = true;
        else if (!onlyPaths && (arg == "--help" || arg == "-h"))
            line.showHelp = true;
        else if (!onlyPaths && arg == "--version")
            line.showVersion = true;
        else if (!onlyPaths && arg == "--man")
            line.showManPage = true;
        else if (!onlyPaths && arg == "--virtual-orvo")
            line.useVirtualOrvo = true;
        else if (!onlyPaths && arg == "--wire-rate")
            line.virtualOrvoAtWireRate = true;
        else if (!onlyPaths && arg.size() > 1 && arg[0] == '-')
        {
            if (line.error.empty())
                line.error = "OrvoEditor: unknown option \"" + arg + "\"\nTry 'OrvoEditor --help'.\n";
        }
        else if (arg.find ('\n') != std::string::npos)
        {
            if (line.error.empty())
                line.error = "OrvoEditor: a document path cannot contain a line break.\n";
        }
        else if (!arg.empty())
            line.documents.push_back (currentFolder.getChildFile (juce::String::fromUTF8 (arg.c_str())));
    }
    if (layoutPathNext && line.error.empty())
        line.error = "OrvoEditor: --write-layout needs a file.\n";
    return line;
}

namespace
{
struct OptionHelp
{
    const char* name;
    const char* text;
};
// The options as --help and the manual page describe them.
const OptionHelp optionHelp[] = {
    { "--virtual-orvo", "open the built-in Virtual Orvo's input and output at start, instead of the MIDI ports "
                        "remembered from the last session." },
    { "--wire-rate", "the Virtual Orvo answers at MIDI cable speed, as hardware does." },
    { "--write-layout FILE", "start, write every item of the editor with the place it has (the built-in look under the "
                             "newest saved layout) as a layout document to FILE, and quit." },
    { "--help", "show this text." },
    { "--version", "show the version." },
    { "--", "treat every later argument as a document, even one starting with -." },
};
const char* const usageLines[] = { "[--virtual-orvo] [--wire-rate] [DOCUMENT...]", "--write-layout FILE", "--help | --version" };
const char* const description =
    "Each DOCUMENT (a Program .orvop, Mix .orvom, Bank .orvob or environment .orvox) is opened as the File "
    "menu's LOAD opens it, with the same checks and questions. When an Orvo Editor is already running on this "
    "display, the documents are handed to it and no second editor starts.";
const char* const exitStatus = "0 the editor ran (or the documents were handed over), 1 a running editor did not "
                               "take the documents, 2 usage error.";

/** `text` broken into lines of at most `width` columns; every line after the first starts with
    `indent` spaces, and the first is taken to start at that column too (after the caller's prefix). */
std::string wrapped (const std::string& text, size_t width, size_t indent)
{
    std::string out, line;
    for (const auto& word : juce::StringArray::fromTokens (juce::String::fromUTF8 (text.c_str()), " ", ""))
    {
        const auto w = word.toStdString();
        if (!line.empty() && indent + line.size() + 1 + w.size() > width)
        {
            out += line + "\n" + std::string (indent, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    return out + line + "\n";
}

std::string roff (const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '-' ? std::string ("\\-") : c == '\\' ? std::string ("\\e") : std::string (1, c);
    return out;
}
} // namespace

std::string EditorCommandLine::helpText()
{
    std::string text = "Usage:";
    for (const auto* usage : usageLines)
        text += std::string (text.size() > 6 ? "       OrvoEditor " : " OrvoEditor ") + usage + "\n";
    text += std::string ("\n") + "The Orvo Editor: editor and librarian for the Orvo synthesizer.\n\n" + wrapped (description, 80, 0) + "\n";
    for (const auto& o : optionHelp)
    {
        // A name too long for the column stands on a line of its own.
        auto name = std::string ("  ") + o.name;
        name = name.size() > 16 ? name + "\n" + std::string (18, ' ') : name + std::string (18 - name.size(), ' ');
        text += name + wrapped (o.text, 80, 18);
    }
    return text + "\n" + wrapped (std::string ("Exit status: ") + exitStatus, 80, 0);
}

std::string EditorCommandLine::manPage()
{
    std::string page = ".TH ORVOEDITOR 1 \"\" \"OrvoEditor " ORVO_VERSION "\" \"User Commands\"\n"
                       ".SH NAME\nOrvoEditor \\- editor and librarian for the Orvo synthesizer\n.SH SYNOPSIS\n";
    for (const auto* usage : usageLines)
        page += ".B OrvoEditor\n" + roff (usage) + "\n.br\n";
    page += ".SH DESCRIPTION\n" + roff (description) + "\n.SH OPTIONS\n";
    for (const auto& o : optionHelp)
        page += ".TP\n.B " + roff (o.name) + "\n" + roff (o.text) + "\n";
    page += ".SH EXIT STATUS\n" + roff (exitStatus) + "\n.SH FILES\n.TP\n.I ~/Orvo Editor/\n"
            "The library: Programs, Mixes, Banks, Environments (the working environment Default.orvox), Exports, "
            "Layouts and the settings file. SET STORAGE in the File menu moves it.\n"
            ".SH SEE ALSO\n.BR orvo-cli (1)\n";
    return page;
}

std::string EditorCommandLine::versionText()
{
    return std::string ("OrvoEditor ") + ORVO_VERSION + "\n";
}

std::string EditorCommandLine::handOffMessage() const
{
    std::string message;
    for (const auto& f : documents)
        message += f.getFullPathName().toStdString() + "\n";
    return message;
}

std::vector<juce::File> EditorCommandLine::documentsFromHandOff (const std::string& message)
{
    std::vector<juce::File> result;
    for (const auto& line : juce::StringArray::fromLines (juce::String::fromUTF8 (message.c_str())))
        if (juce::File::isAbsolutePath (line))
            result.emplace_back (line);
    return result;
}

} // namespace orvo
