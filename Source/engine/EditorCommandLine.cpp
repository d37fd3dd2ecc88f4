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

std::string EditorCommandLine::helpText()
{
    return "Usage: OrvoEditor [--virtual-orvo] [--wire-rate] [DOCUMENT...]\n"
           "       OrvoEditor --write-layout FILE\n"
           "       OrvoEditor --help | --version\n"
           "\n"
           "The Orvo Editor: editor and librarian for the Orvo synthesizer.\n"
           "\n"
           "Each DOCUMENT (a Program .orvop, Mix .orvom, Bank .orvob or environment .orvox)\n"
           "is opened as the File menu's LOAD opens it, with the same checks and questions.\n"
           "When an Orvo Editor is already running on this display, the documents are handed\n"
           "to it and no second editor starts.\n"
           "\n"
           "  --virtual-orvo  open the built-in Virtual Orvo's input and output at start,\n"
           "                  instead of the MIDI ports remembered from the last session.\n"
           "  --wire-rate     the Virtual Orvo answers at MIDI cable speed, as hardware does.\n"
           "  --write-layout FILE\n"
           "                  start, write every item of the editor with the place it has\n"
           "                  (the built-in look under the newest saved layout) as a layout\n"
           "                  document to FILE, and quit.\n"
           "  --help          show this text.\n"
           "  --version       show the version.\n"
           "  --              treat every later argument as a document, even one starting with -.\n"
           "\n"
           "Exit status: 0 the editor ran (or the documents were handed over), 1 a running\n"
           "editor did not take the documents, 2 usage error.\n";
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
