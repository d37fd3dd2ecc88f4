#include "CliCommand.h"
#include "JsonOut.h"
#include "library/JsonText.h"
#include "library/LibrarianState.h"
#include "library/ProgramDigests.h"
#include "library/SysExMessageScan.h"
#include "library/TagTable.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <ostream>

namespace
{
using namespace orvo;

std::string tagsJson (const juce::var& tags)
{
    std::string out = "[";
    for (const auto& t : normalizeTagKeys (tags))
        out += (out.size() > 1 ? ", " : "") + cli::jsonString (t);
    return out + "]";
}

/** The digests of the entry's Program dump, computed from its bytes; without a dump, the digests the
    entry states (normalised), so a document written elsewhere still reports what it claims. */
std::string digestsJson (const juce::var& entry, int wantedSlot)
{
    ProgramDigests d;
    if (const auto sysEx = decodeDocumentSysEx (entry, wantedSlot); sysEx.dump)
        d = computeProgramDigests (*sysEx.dump);
    else
    {
        d.rawSysExSha256 = normaliseDigestText (entry.getProperty ("rawSysExSha256", {}).toString());
        d.packedPayloadSha256 = normaliseDigestText (entry.getProperty ("packedPayloadSha256", {}).toString());
        d.programPayloadSha256 = normaliseDigestText (entry.getProperty ("programPayloadSha256", {}).toString());
        d.nameNeutralPayloadSha256 = normaliseDigestText (entry.getProperty ("nameNeutralPayloadSha256", {}).toString());
    }
    std::string out = "{";
    for (const auto& [key, digest] : d.entries())
        if (!digest->empty())
            out += (out.size() > 1 ? ", " : "") + cli::jsonString (key) + ": " + cli::jsonString (*digest);
    return out + "}";
}

std::string nameOf (const juce::var& o)
{
    return stdText (o.getProperty ("name", {}));
}

/** One document's line, or an error text. */
std::string describe (const juce::File& file, std::string& error)
{
    juce::var root;
    if (const auto r = parseJsonFile (file, root); r.failed())
    {
        error = "Could not read " + file.getFullPathName().toStdString() + ": " + r.getErrorMessage().toStdString();
        return {};
    }
    const auto type = root.getProperty ("type", {}).toString();
    const auto head = "{\"file\": " + cli::jsonString (file.getFullPathName().toStdString());
    if (root.isObject() && type == "program")
        return head + ", \"type\": \"program\", \"name\": " + cli::jsonString (nameOf (root))
               + ", \"tags\": " + tagsJson (root.getProperty ("tags", {}))
               + ", \"digests\": " + digestsJson (root, documentInt (root.getProperty ("program", {})).value_or (-1)) + "}";
    if (root.isObject() && type == "program-bank")
    {
        std::string slots;
        if (const auto* list = root.getProperty ("slots", {}).getArray())
            for (const auto& s : *list)
            {
                if (!s.isObject())
                    continue;
                const int index = documentInt (s.getProperty ("index", {})).value_or (-1);
                slots += (slots.empty() ? "" : ", ") + std::string ("{\"index\": ") + std::to_string (index)
                         + ", \"name\": " + cli::jsonString (nameOf (s)) + ", \"tags\": " + tagsJson (s.getProperty ("tags", {}))
                         + ", \"digests\": " + digestsJson (s, index) + "}";
            }
        return head + ", \"type\": \"bank\", \"name\": " + cli::jsonString (nameOf (root)) + ", \"slots\": [" + slots + "]}";
    }
    error = "Not a Program or Bank document: " + file.getFullPathName().toStdString();
    return {};
}

bool isTaggedDocument (const juce::File& f)
{
    return f.hasFileExtension (".orvop;.orvob");
}

int runTags (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
    {
        err << "usage: orvo-cli tags PATH...\n";
        return cli::exitUsage;
    }
    std::vector<juce::File> files;
    bool failed = false;
    for (const auto& arg : args)
    {
        const auto path = juce::File::getCurrentWorkingDirectory().getChildFile (juce::String::fromUTF8 (arg.c_str()));
        if (path.isDirectory())
        {
            std::vector<juce::File> found;
            for (const auto& entry : juce::RangedDirectoryIterator (path, true, "*", juce::File::findFiles))
                if (isTaggedDocument (entry.getFile()))
                    found.push_back (entry.getFile());
            std::sort (found.begin(), found.end());
            files.insert (files.end(), found.begin(), found.end());
        }
        else if (path.existsAsFile())
            files.push_back (path);
        else
        {
            err << "No such file or folder: " << arg << "\n";
            failed = true;
        }
    }

    std::string lines;
    for (const auto& f : files)
    {
        std::string error;
        const auto line = describe (f, error);
        if (!error.empty())
        {
            err << error << "\n";
            failed = true;
            continue;
        }
        lines += (lines.empty() ? "\n  " : ",\n  ") + line;
    }
    out << "{\"documents\": [" << lines << (lines.empty() ? "" : "\n") << "]}\n";
    return failed ? cli::exitBadInput : cli::exitOk;
}

cli::CommandRegistration registration (
    "tags", "tags PATH...", &runTags,
    { "List the name, tags and Program digests of library documents",
      "Each PATH is a Program (.orvop) or Bank (.orvob) document, or a folder searched for them. Prints one JSON "
      "object {\"documents\": [...]}: for a Program document its file, \"type\" \"program\", name, tags (normalised "
      "tag keys) and digests; for a Bank document its file, \"type\" \"bank\", name and \"slots\", each with its "
      "index, name, tags and digests.\n\n"
      "Digests are the SHA-256 of the Program dump the document carries (rawSysExSha256, packedPayloadSha256, "
      "programPayloadSha256, nameNeutralPayloadSha256), computed from its bytes; without a dump, the digests the "
      "document states.\n\n"
      "Exits with 1 when a PATH does not exist or a document cannot be read; the others are still listed." });
} // namespace
