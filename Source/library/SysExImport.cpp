#include "SysExImport.h"

#include "FileNaming.h"
#include "LibrarianState.h"
#include "ProgramDocument.h"
#include "WorkingEnvironment.h"
#include "data/ProgramCodec.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orvo
{
namespace
{
// A file of nothing but empty messages would otherwise keep tens of millions of records; past this
// the messages are still counted, only not listed.
constexpr std::size_t maxListedMessages = 1u << 20;

std::string trimmed (const std::string& s)
{
    return juce::String (juce::CharPointer_UTF8 (s.c_str())).trim().toStdString();
}

// Tags a table gives are kept only as far as the vocabulary knows them.
juce::var tagsOf (const TagsForProgram& tagsFor, const ImportedProgram& program)
{
    juce::Array<juce::var> in;
    if (tagsFor)
        for (const auto& t : tagsFor (program))
            in.add (jsonText (t));
    return stringArrayVar (normalizeTagKeys (juce::var (in)));
}
} // namespace

ProgramClassification classifyProgramMessage (const std::uint8_t* m, std::size_t length)
{
    ProgramClassification result;
    if (m == nullptr || length < 10 || !hasOrvoFrame (m, length) || m[length - 1] != sysex::end)
    {
        result.error = "The Program dump does not have the expected Brevant Orvo SysEx header.";
        return result;
    }
    const int opcode = m[5];
    if (opcode != sysex::opStoredProgram && opcode != sysex::opProgramEditBuffer)
    {
        result.error = "The SysEx message is not an Orvo Program dump.";
        return result;
    }
    if (!classifyProgramDump (m, length).valid)
    {
        result.error = "The Orvo Program dump does not match the documented byte layout.";
        return result;
    }
    // Decoded without the per-field diagnostic text: a bank file decodes 128 of them before its question shows.
    const auto unpacked = unpackProgramDump (m, length);
    if (unpacked.size() != sysex::programUnpackedLength)
    {
        result.error = "The Orvo Program payload could not be parsed.";
        return result;
    }
    const auto values = decodeUnpackedProgram (unpacked);
    ImportedProgram p;
    p.message.assign (m, m + length);
    p.name = trimmed (values.name);
    if (p.name.empty())
        p.name = "Imported Program";
    p.opcode = opcode;
    if (opcode == sysex::opStoredProgram)
    {
        p.bank = m[6];
        p.program = m[7];
    }
    p.mappedParameterCount = (int)values.defined.count();
    result.program = std::move (p);
    return result;
}

ProgramClassification classifyProgramMessage (const ByteVector& message)
{
    return classifyProgramMessage (message.data(), message.size());
}

SysExFileResult analyseSysExBytes (const std::uint8_t* data, std::size_t size)
{
    SysExFileResult result;
    SysExFileAnalysis a;
    std::size_t messageCount = 0;
    SysExMessageScan::visit (data, size,
                             [&] (const ScannedSysExMessage& m)
                             {
                                 ++messageCount;
                                 if (a.messages.size() < maxListedMessages)
                                     a.messages.push_back (m);
                                 if (!m.hasOrvoHeader)
                                     return;
                                 if (auto c = classifyProgramMessage (data + m.offset, m.length); c.program)
                                     a.programs.push_back (std::move (*c.program));
                             });
    if (messageCount == 0)
    {
        result.error = "The file does not contain a complete SysEx message.";
        return result;
    }
    if (a.programs.empty())
    {
        result.error = "The file contains Orvo SysEx data, but not an importable Program dump. It may be a Mix, "
                       "Global, or unsupported bank file.";
        return result;
    }
    if (messageCount == 1 && a.programs.size() == 1)
    {
        a.type = SysExFileAnalysis::singleProgram;
        a.caption = "Orvo Program";
        a.details = "SysEx messages found: 1\nProgram name: " + a.programs[0].name +
                    "\nMapped editor values: " + std::to_string (a.programs[0].mappedParameterCount);
    }
    else
    {
        a.type = SysExFileAnalysis::programBank;
        a.caption = "Orvo Program Bank";
        a.details = "SysEx messages found: " + std::to_string (messageCount) +
                    "\nPrograms found: " + std::to_string (a.programs.size()) +
                    "\nFirst Program: " + a.programs.front().name + "\nLast Program: " + a.programs.back().name;
    }
    result.analysis = std::move (a);
    return result;
}

SysExFileResult analyseSysExFile (const juce::File& file, std::uintmax_t sizeLimit)
{
    SysExFileResult result;
    const std::string path = file.getFullPathName().toStdString();
    std::error_code error;
    const auto size = std::filesystem::file_size (path, error);
    if (!error && size > sizeLimit)
    {
        result.error = "The file could not be read. It holds " + std::to_string (size) + " bytes; SysEx files over " +
                       std::to_string (sizeLimit >> 20) + " MB are not read.";
        return result;
    }
    std::ifstream in (path, std::ios::binary);
    ByteVector bytes;
    if (error || !in || !file.existsAsFile())
    {
        result.error = "The file could not be read.";
        return result;
    }
    bytes.reserve ((std::size_t)size);
    bytes.assign (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
    if (in.bad())
    {
        result.error = "The file could not be read.";
        return result;
    }
    return analyseSysExBytes (bytes.data(), bytes.size());
}

juce::var buildImportedProgramDocument (const ImportedProgram& program, const juce::File& sourceFile,
                                        juce::Time importedAt, const TagsForProgram& tagsFor)
{
    ImportedProgramInfo info;
    info.name = program.name;
    info.importedAt = importedAt;
    info.originalSysExFile = sourceFile;
    info.message = program.message;
    info.mappedParameterCount = program.mappedParameterCount;
    auto document = buildImportedProgramDocument (info);
    if (tagsFor)
        document.getDynamicObject()->setProperty ("tags", tagsOf (tagsFor, program));
    return document;
}

juce::var buildImportedBankDocument (const SysExFileAnalysis& analysis, const juce::File& sourceFile,
                                     juce::Time importedAt, const TagsForProgram& tagsFor)
{
    const auto name = sourceFile.getFileNameWithoutExtension();
    auto* o = new juce::DynamicObject();
    juce::var root (o);
    o->setProperty ("schema", "orvo.bank.v1");
    o->setProperty ("type", "program-bank");
    o->setProperty ("extension", ".orvob");
    o->setProperty ("name", name);
    o->setProperty ("displayName", name);
    o->setProperty ("normalizedName", jsonText (normalizedName (name.toStdString())));
    o->setProperty ("source", documentkeys::sourceSysExImport);
    o->setProperty ("importedAt", documentTimeStamp (importedAt));
    o->setProperty ("originalSysexFile", sourceFile.getFileName());
    o->setProperty ("originalSysexPath", sourceFile.getFullPathName());
    // The bank the first stored dump came from; a file of edit buffers names none, so USER.
    const int firstBank = analysis.programs.empty() ? -1 : analysis.programs.front().bank;
    o->setProperty ("bankNumber", LibrarianState::isProgramBank (firstBank) ? firstBank : 0);
    o->setProperty ("notes", juce::String());

    juce::Array<juce::var> slots;
    for (std::size_t i = 0; i < analysis.programs.size(); ++i)
    {
        const auto& p = analysis.programs[i];
        auto* s = new juce::DynamicObject();
        juce::var entry (s);
        s->setProperty ("index", (int)i);
        s->setProperty ("type", "program");
        s->setProperty ("name", jsonText (p.name));
        s->setProperty ("normalizedName", jsonText (normalizedName (p.name)));
        s->setProperty ("tags", tagsOf (tagsFor, p));
        s->setProperty ("notes", juce::String());
        addProgramSysExKeys (*s, p.message, false);
        s->setProperty ("program", p.program >= 0 ? p.program : (int)i);
        addProgramDigestKeys (*s, p.message);
        slots.add (entry);
    }
    o->setProperty ("slots", slots);
    return root;
}

std::string importFileStem (const juce::File& sourceFile)
{
    return fileNameStem (sourceFile.getFileNameWithoutExtension().toStdString(), "imported-sysex");
}

SplitResult splitImportedPrograms (const SysExFileAnalysis& analysis, const juce::File& folder,
                                   const juce::File& sourceFile, juce::Time importedAt, const TagsForProgram& tagsFor,
                                   const std::function<void (const std::string&)>& log)
{
    SplitResult result;
    folder.createDirectory();
    if (!folder.isDirectory())
    {
        result.folderMissing = true;
        if (log)
            log ("Could not create Program import folder: " + folder.getFullPathName().toStdString() + "\n");
        return result;
    }
    for (std::size_t i = 0; i < analysis.programs.size(); ++i)
    {
        const auto& p = analysis.programs[i];
        const int number = p.program >= 0 ? p.program : (int)i;
        const auto fallback = juce::String ("program-") + juce::String (number).paddedLeft ('0', 3);
        const auto file = uniqueFileIn (folder, fileNameStem (p.name, fallback.toStdString()), ".orvop");
        if (writeLibraryDocument (file, buildImportedProgramDocument (p, sourceFile, importedAt, tagsFor),
                                  "Imported Program", log))
            result.written.push_back (file);
    }
    if (log)
        log ("Split imported Program Bank into " + std::to_string (result.written.size()) + " Program files in " +
             folder.getFullPathName().toStdString() + "\n");
    return result;
}

LibraryImportResult importSysExIntoLibrary (const juce::File& source, const juce::File& libraryRoot, bool split,
                                            juce::Time importedAt, const TagsForProgram& tagsFor,
                                            const std::function<void (const std::string&)>& log)
{
    LibraryImportResult result;
    auto analysed = analyseSysExFile (source);
    if (!analysed.analysis)
    {
        result.error = analysed.error;
        return result;
    }
    const auto& a = *analysed.analysis;
    result.programs = (int)a.programs.size();
    const auto stem = importFileStem (source);
    const auto programs = libraryRoot.getChildFile ("Programs");
    if (a.type == SysExFileAnalysis::singleProgram)
    {
        result.kind = "program";
        const auto file = uniqueFileIn (programs, stem, ".orvop");
        if (writeLibraryDocument (file, buildImportedProgramDocument (a.programs.front(), source, importedAt, tagsFor),
                                  "Imported Program", log))
            result.written.push_back (file);
    }
    else if (!split)
    {
        result.kind = "bank";
        const auto file = uniqueFileIn (libraryRoot.getChildFile ("Banks"), stem, ".orvob");
        if (writeLibraryDocument (file, buildImportedBankDocument (a, source, importedAt, tagsFor),
                                  "Imported Program Bank", log))
            result.written.push_back (file);
    }
    else
    {
        result.kind = "split";
        result.written =
            splitImportedPrograms (a, programs.getChildFile (stem), source, importedAt, tagsFor, log).written;
    }
    if (result.written.empty())
        result.error = "No document could be written into " + libraryRoot.getFullPathName().toStdString() + ".";
    return result;
}

} // namespace orvo
