#include "CliCommand.h"
#include "JsonOut.h"
#include "library/AtomicFile.h"
#include "library/SysExExport.h"
#include "library/SysExImport.h"
#include "library/TagTable.h"

#include <ostream>

namespace
{
using namespace orvo;

juce::File fileArgument (const std::string& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (juce::CharPointer_UTF8 (path.c_str())));
}

int runImport (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<std::string> files;
    std::string libraryPath;
    bool split = false;
    for (size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--library" && i + 1 < args.size())
            libraryPath = args[++i];
        else if (args[i] == "--split")
            split = true;
        else if (args[i].rfind ("--", 0) == 0)
            files.clear(), libraryPath.clear(), i = args.size(); // an unknown option is a usage error
        else
            files.push_back (args[i]);
    }
    if (files.empty() || libraryPath.empty())
    {
        err << "usage: orvo-cli import FILE.syx... --library DIR [--split]\n";
        return cli::exitUsage;
    }

    const auto library = fileArgument (libraryPath);
    // The library's own tag table tags the Programs it knows, as the editor's import does.
    const auto table = loadTagTable (library.getChildFile ("KnownProgramTags.json"));
    const TagsForProgram tagsFor = [&table] (const ImportedProgram& p)
    { return table.records.empty() ? std::vector<std::string>() : table.tagsFor (computeProgramDigests (p.message)); };
    int result = cli::exitOk;
    std::string list;
    for (const auto& path : files)
    {
        const auto imported =
            importSysExIntoLibrary (fileArgument (path), library, split, juce::Time::getCurrentTime(), tagsFor);
        if (imported.written.empty())
        {
            err << "import: " << path << ": " << imported.error << "\n";
            result = cli::exitBadInput;
            continue;
        }
        std::string written;
        for (const auto& f : imported.written)
            written += std::string (written.empty() ? "" : ", ") + cli::jsonString (f.getFullPathName().toStdString());
        list += std::string (list.empty() ? "" : ", ") + "{\"file\": " + cli::jsonString (path) +
                ", \"kind\": " + cli::jsonString (imported.kind) +
                ", \"programs\": " + std::to_string (imported.programs) + ", \"written\": [" + written + "]}";
    }
    out << "{\"imports\": [" << list << "]}\n";
    return result;
}

int runExport (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 3 || (args[0] != "program" && args[0] != "bank"))
    {
        err << "usage: orvo-cli export program DOC.orvop OUT.syx | export bank DOC.orvob OUT.syx\n";
        return cli::exitUsage;
    }
    const auto document = fileArgument (args[1]);
    const auto built = args[0] == "program" ? programDocumentSysEx (document) : bankDocumentSysEx (document);
    if (!built)
    {
        err << "export: " << args[1] << ": " << built.error << "\n";
        return cli::exitBadInput;
    }
    if (const auto w =
            writeFileAtomically (fileArgument (args[2]), std::string (built.bytes.begin(), built.bytes.end()));
        !w)
    {
        err << "export: cannot write " << args[2] << ": " << w.error << "\n";
        return cli::exitBadInput;
    }
    out << "{\"file\": " << cli::jsonString (args[2]) << ", \"bytes\": " << built.bytes.size() << "}\n";
    return cli::exitOk;
}

cli::CommandRegistration importRegistration (
    "import", "import FILE.syx... --library DIR [--split]", &runImport,
    { "Import .syx files into a library as the editor does",
      "Analyses each FILE as IMPORT SYSEX does and writes into the library folder DIR: one Program dump as a "
      "Program document in Programs, several as one Program Bank document in Banks, or with --split one Program "
      "document per Program in a folder named after the file in Programs. Names already taken get -2, -3 ...; "
      "nothing is overwritten and the .syx files are only read.\n\n"
      "Prints one JSON object: {\"imports\": [{\"file\", \"kind\" (program, bank or split), \"programs\", "
      "\"written\": [paths]}]}. A file that holds no Program or bank dump is named on stderr, nothing is written "
      "for it and the exit code is 1. Files over 64 MB are refused.",
      { "--library", "--split" } });

cli::CommandRegistration exportRegistration (
    "export", "export program DOC.orvop OUT.syx | export bank DOC.orvob OUT.syx", &runExport,
    { "Write the SysEx dumps a Program or Bank document carries",
      "export program writes the Program dump of a Program document as it is stored there. export bank writes "
      "the 128 Program dumps of a Program Bank document, each rebuilt as a stored dump for its slot, as CURRENT "
      "BANK exports them in the editor; a bank without 128 valid dumps is refused with the editor's message.\n\n"
      "OUT is replaced whole or not at all. Prints {\"file\", \"bytes\"}; exit code 1 when the document cannot "
      "give the dumps." });
} // namespace
