#include "DocumentOpener.h"

namespace orvo
{

DocumentOpener::Kind DocumentOpener::kindOf (const juce::File& file)
{
    const auto ext = file.getFileExtension().toLowerCase();
    if (ext == ".orvop")
        return Kind::program;
    if (ext == ".orvom")
        return Kind::mix;
    if (ext == ".orvob")
        return Kind::bank;
    if (ext == ".orvox")
        return Kind::environment;
    if (ext == ".orvopreset")
        return Kind::preset;
    return Kind::unknown;
}

DocumentOpener::DocumentOpener (LibrarianController& l, Prompts& p, std::function<void (const std::string&)> logLine)
    : librarian (l), prompts (p), log (std::move (logLine))
{
}

void DocumentOpener::refuse (const std::string& message)
{
    log ("OPEN: " + message + "\n");
    prompts.showChoice ("Open Document", message, { "OK" }, {});
}

void DocumentOpener::open (const juce::File& file)
{
    const auto path = file.getFullPathName().toStdString();
    if (!file.existsAsFile())
    {
        refuse ("There is no such file: " + path);
        return;
    }
    switch (kindOf (file))
    {
        case Kind::program:
            // A Program replaces the editor's values: unsaved edits are asked about first, as LOAD PROGRAM does.
            if (librarian.confirmLoad)
                librarian.confirmLoad ([this, file] { librarian.programFlows().loadProgramFile (file); });
            else
                librarian.programFlows().loadProgramFile (file);
            return;
        case Kind::mix:
            librarian.programFlows().loadMixFile (file);
            return;
        case Kind::bank:
            librarian.bankFlows().loadBankFile (file);
            return;
        case Kind::environment:
            // Nothing in the menu replaces every slot at once, so this one asks.
            prompts.showChoice ("Load Environment",
                                "Loading " + file.getFileName().toStdString() +
                                    " replaces the names, notes, snapshots and cached dumps of every slot in the "
                                    "editor's working environment.",
                                { "LOAD", "CANCEL" },
                                [this, file] (int choice)
                                {
                                    if (choice == 0)
                                        librarian.bankFlows().loadEnvironmentFile (file);
                                });
            return;
        case Kind::preset:
            if (openPreset)
                openPreset (file);
            else
                refuse ("A user preset is loaded from the USER PRESETS overlay of the page it belongs to: " + path);
            return;
        case Kind::unknown:
            refuse ("Not an Orvo Editor document (.orvop, .orvom, .orvob, .orvox, .orvopreset): " + path);
            return;
    }
}

} // namespace orvo
