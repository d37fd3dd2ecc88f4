#pragma once

#include "SysExMessageScan.h"

#include <juce_core/juce_core.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** No SysEx collection comes near this; a larger file is refused before it is read. */
constexpr std::uintmax_t maxSysExFileBytes = 64u << 20;

/** One Program dump found in a SysEx file. */
struct ImportedProgram
{
    ByteVector message; // the complete dump, F0 to F7
    std::string name;   // trimmed; "Imported Program" when the dump names nothing
    int opcode = -1;    // 0 stored Program, 2 edit buffer
    int bank = -1;      // bytes 6 and 7 of a stored Program, else -1
    int program = -1;
    int mappedParameterCount = 0; // editor values the dump decodes into
};

/** A Program dump, or the reason the message is not one. */
struct ProgramClassification
{
    std::optional<ImportedProgram> program;
    std::string error;
};

ProgramClassification classifyProgramMessage (const std::uint8_t* message, std::size_t length);
ProgramClassification classifyProgramMessage (const ByteVector& message);

/** What a SysEx file holds and what it can be imported as. */
struct SysExFileAnalysis
{
    enum Type
    {
        notConvertible = 0,
        singleProgram = 1,
        programBank = 2
    };

    std::vector<ScannedSysExMessage> messages; // every complete message, in file order
    std::vector<ImportedProgram> programs;     // the Program dumps that classified, in file order
    Type type = notConvertible;
    std::string caption;
    std::string details;
};

struct SysExFileResult
{
    std::optional<SysExFileAnalysis> analysis;
    std::string error;
};

SysExFileResult analyseSysExBytes (const std::uint8_t* data, std::size_t size);
/** Reads and analyses a file; one larger than `sizeLimit` bytes is refused before it is read. */
SysExFileResult analyseSysExFile (const juce::File& file, std::uintmax_t sizeLimit = maxSysExFileBytes);

/** Tags an imported Program gets (from the tag association table); unset, none. */
using TagsForProgram = std::function<std::vector<std::string> (const ImportedProgram&)>;

/** The Program document the import writes for one dump. */
juce::var buildImportedProgramDocument (const ImportedProgram& program, const juce::File& sourceFile,
                                        juce::Time importedAt, const TagsForProgram& tagsFor = {});

/** The Bank document the import writes for a file of several dumps: one slot per dump, in file order. */
juce::var buildImportedBankDocument (const SysExFileAnalysis& analysis, const juce::File& sourceFile,
                                     juce::Time importedAt, const TagsForProgram& tagsFor = {});

/** The file-name stem an import proposes for its source file. */
std::string importFileStem (const juce::File& sourceFile);

/** The documents a split wrote, in order; `folderMissing` when the folder could not be made. */
struct SplitResult
{
    bool folderMissing = false;
    std::vector<juce::File> written;
};

/** Writes one Program document per imported dump into `folder`, named after the Program, with "-2",
    "-3" ... when a name is taken. Each write is logged, then the count. */
SplitResult splitImportedPrograms (const SysExFileAnalysis& analysis, const juce::File& folder,
                                   const juce::File& sourceFile, juce::Time importedAt, const TagsForProgram& tagsFor,
                                   const std::function<void (const std::string&)>& log);

/** What an import into a library folder did, as `orvo-cli import` reports it. */
struct LibraryImportResult
{
    std::string kind; // "program", "bank" or "split"
    int programs = 0;
    std::vector<juce::File> written;
    std::string error; // set when nothing was imported
};

/** The import without dialogs: one Program to "Programs", a bank to "Banks", or with `split` one Program
    document per dump into a folder named after the file in "Programs". Nothing is ever overwritten:
    taken names get "-2", "-3" ... */
LibraryImportResult importSysExIntoLibrary (const juce::File& source, const juce::File& libraryRoot, bool split,
                                            juce::Time importedAt, const TagsForProgram& tagsFor = {},
                                            const std::function<void (const std::string&)>& log = {});

} // namespace orvo
