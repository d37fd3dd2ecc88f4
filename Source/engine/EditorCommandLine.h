#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace orvo
{

/** What the editor was asked for on its command line: a text to print, options, and documents to
    open once the window is up. Paths become absolute here, so another running editor (with another
    current folder) can be handed them. */
struct EditorCommandLine
{
    bool showHelp = false;
    bool showVersion = false;
    bool useVirtualOrvo = false;
    bool virtualOrvoAtWireRate = false;
    std::vector<juce::File> documents;
    /** Write the editor's current look as a layout document here and quit. */
    juce::File writeLayout;
    /** A usage error, for standard error; the editor then exits with status 2. */
    std::string error;

    static EditorCommandLine parse (const std::vector<std::string>& args, const juce::File& currentFolder);

    static std::string helpText();
    /** The manual page (roff) from the same texts; the package installs it. */
    static std::string manPage();
    bool showManPage = false;
    static std::string versionText();

    /** The documents as handed to a running editor: one absolute path per line. */
    std::string handOffMessage() const;
    static std::vector<juce::File> documentsFromHandOff (const std::string& message);
};

} // namespace orvo
