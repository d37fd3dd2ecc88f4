#pragma once

#include "LibrarianController.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <string>

namespace orvo
{

/** Opens a document named from outside the editor (its command line, the file manager, a second
    start handing over) the way the File menu's LOAD opens it: the same checks, questions and log
    lines. Which load runs follows the file's extension, in any letter case. */
class DocumentOpener
{
public:
    enum class Kind
    {
        program,
        mix,
        bank,
        environment,
        preset,
        unknown
    };
    static Kind kindOf (const juce::File& file);

    DocumentOpener (LibrarianController& librarian, Prompts& prompts, std::function<void (const std::string&)> log);

    void open (const juce::File& file);

    /** Opens a user preset file; unset, such a file is refused with a message. */
    std::function<void (const juce::File&)> openPreset;

private:
    void refuse (const std::string& message);

    LibrarianController& librarian;
    Prompts& prompts;
    std::function<void (const std::string&)> log;
};

} // namespace orvo
