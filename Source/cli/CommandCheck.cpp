#include "CliCommand.h"
#include "JsonOut.h"
#include "library/DocumentLoading.h"

#if __has_include("library/BankDocument.h") && __has_include("library/EnvironmentDocument.h")
#include "library/BankDocument.h"
#include "library/EnvironmentDocument.h"
#define ORVO_CHECK_HAS_BANKS 1
#else
#define ORVO_CHECK_HAS_BANKS 0
#endif

#include <juce_core/juce_core.h>

#include <algorithm>
#include <ostream>

namespace
{
using namespace orvo;

struct CheckLine
{
    std::string file, kind;
    bool ok = false;
    std::string message;
    int slots = 0, programDumps = 0;
};

/** The document kind by extension (any letter case, as the load dialogs accept), or empty. */
std::string kindOfFile (const juce::File& f)
{
    const auto ext = f.getFileExtension().toLowerCase();
    if (ext == ".orvop")
        return "program";
    if (ext == ".orvom")
        return "mix";
    if (ext == ".orvob")
        return "bank";
    if (ext == ".orvox")
        return "environment";
    return {};
}

CheckLine checkFile (const juce::File& f, const std::string& kind)
{
    CheckLine line;
    line.file = f.getFullPathName().toStdString();
    line.kind = kind;
    if (kind == "program" || kind == "mix")
    {
        const auto r = checkDocument (f, kind == "program" ? DocumentKind::program : DocumentKind::mix);
        line.ok = r.ok;
        line.message = r.message;
        line.slots = r.slots;
        line.programDumps = r.programDumps;
        return line;
    }
#if ORVO_CHECK_HAS_BANKS
    const auto r = kind == "bank"
                       ? loadBankDocument (f, f.getParentDirectory().getParentDirectory().getChildFile ("Programs"))
                       : loadEnvironmentDocument (f);
    line.ok = r.ok;
    line.message = r.message;
    line.slots = r.slots;
    line.programDumps = r.programDumps;
#else
    line.message = "Checking " + kind + " documents is not available yet.";
#endif
    return line;
}

int runCheck (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
    {
        err << "usage: orvo-cli check PATH...\n";
        return cli::exitUsage;
    }

    std::vector<std::pair<juce::File, std::string>> documents;
    bool anyMissing = false;
    for (const auto& arg : args)
    {
        const auto path = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (arg));
        if (path.isDirectory())
        {
            std::vector<std::pair<juce::File, std::string>> found;
            for (const auto& entry : juce::RangedDirectoryIterator (path, true, "*", juce::File::findFiles))
                if (const auto kind = kindOfFile (entry.getFile()); !kind.empty())
                    found.emplace_back (entry.getFile(), kind);
            std::sort (found.begin(), found.end(),
                       [] (const auto& a, const auto& b)
                       { return a.first.getFullPathName() < b.first.getFullPathName(); });
            documents.insert (documents.end(), found.begin(), found.end());
        }
        else if (path.existsAsFile())
        {
            // A file named on the command line is checked by its extension; others are reported.
            const auto kind = kindOfFile (path);
            if (kind.empty())
            {
                err << "Not an Orvo Editor document (.orvop, .orvom, .orvob, .orvox): " << arg << "\n";
                anyMissing = true;
            }
            else
                documents.emplace_back (path, kind);
        }
        else
        {
            err << "No such file or folder: " << arg << "\n";
            anyMissing = true;
        }
    }

    bool anyFailed = anyMissing;
    for (const auto& [file, kind] : documents)
    {
        const auto line = checkFile (file, kind);
        anyFailed = anyFailed || !line.ok;
        out << "{\"file\": " << cli::jsonString (line.file) << ", \"kind\": " << cli::jsonString (line.kind)
            << ", \"ok\": " << (line.ok ? "true" : "false") << ", \"message\": " << cli::jsonString (line.message)
            << ", \"slots\": " << line.slots << ", \"programDumps\": " << line.programDumps << "}\n";
    }
    return anyFailed ? cli::exitBadInput : cli::exitOk;
}

cli::CommandRegistration registration (
    "check", "check PATH...", &runCheck,
    { "Load library documents as the editor would and report each",
      "Each PATH is a Program (.orvop), Mix (.orvom), Bank (.orvob) or environment (.orvox) document, or a "
      "folder searched for them. Every document is loaded the way the editor loads it and reported as one JSON "
      "object per line: file, kind, ok, message, slots and programDumps.\n\n"
      "Exits with 1 when a document is refused, a PATH does not exist or a named file is not an Orvo Editor "
      "document; the others are still reported." });
} // namespace
