#pragma once

#include "LibrarianState.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

using LibrarianLog = std::function<void (const std::string&)>;

/** Slot entries look the same in both multi-slot documents but for a few keys. */
enum class SlotEntryForm
{
    bank,       // with "normalizedName"; "source" and the digests only beside SysEx
    environment // "source" always; no digests
};

/** The JSON object of one slot, keys in writing order. */
juce::var buildSlotEntry (const LibrarianState& state, int bank, int slot, SlotEntryForm form);

/** The Bank document of `bank` (0..4) with its 128 slots; `capturedAt` is the time of writing. */
juce::var buildBankDocument (const LibrarianState& state, int bank, juce::Time capturedAt);

/** "program-bank" or "mix-bank" when `root` passes the Bank check (an object whose "type", or "kind"
    when "type" is absent, is one of those exactly, and whose "slots" is an array); else nothing. */
std::optional<std::string> bankDocumentKind (const juce::var& root);

/** "Could not load Bank file. The selected file is not an Orvo Editor Bank document: <path>\n" */
std::string bankRefusedLine (const juce::File& file);

/** Where a slot entry's "programFile" is looked for, in this order. */
struct ProgramFileFolders
{
    juce::File programsFolder; // "Programs" of the library
    juce::File bankFolder;     // the folder of the Bank file
};

/** Applies one slot entry to `bank`: the slot is emptied, then takes the entry's name, tags, notes,
    Wedge assignment, parameter snapshot, tool data and, in a Program bank, its Program dump (from
    "sysexBase64", else from the Program document named by "programFile" when `folders` is given).
    Returns the slot applied, or nothing for an entry without a usable "index". `dumpFound` tells
    whether a Program dump went into the slot. */
std::optional<int> applySlotEntry (LibrarianState& state, int bank, const juce::var& entry,
                                   const ProgramFileFolders* folders, const LibrarianLog& log, bool& dumpFound);

/** What a local bank load did. */
struct BankLoadResult
{
    int targetBank = 0;
    int slotsApplied = 0;
    /** (slot, Program dump) for every slot that got one, in slot order: the list a transfer sends. */
    std::vector<std::pair<int, ByteVector>> dumps;
    /** "Loaded Bank file into <label>: <path>[ (<n> cached Program dumps)]\n" */
    std::string loadedLine;
};

/** The bank to load a document of this kind into: the selected bank when it is of that kind, else
    the document's "bankNumber" when that is of that kind, else the first bank of the kind. */
int targetBankFor (const LibrarianState& state, bool programKind, const juce::var& root);

/** Loads a checked Bank document into the editor's state ("loading a bank locally"): the bank's display
    name and notes, every slot entry, and the file as the bank's document. */
BankLoadResult loadBankLocally (LibrarianState& state, const juce::var& root, const std::string& kind,
                                const juce::File& bankFile, const juce::File& programsFolder, const LibrarianLog& log);

/** The outcome of loading one document the way the editor does, for reports such as `orvo-cli check`. */
struct DocumentLoadReport
{
    std::string kind; // "bank" or "environment"
    bool ok = false;
    std::string message;          // the editor's failure message (without its line break) when !ok
    int slots = 0;                // slot entries applied
    int programDumps = 0;         // Program dumps found in them
    std::vector<std::string> log; // every line the load wrote
};

/** Reads, checks and loads a ".orvob" into a fresh state, as Load Bank does. "programFile" entries are
    looked up in `programsFolder` (when given) and beside the file. */
DocumentLoadReport loadBankDocument (const juce::File& file, const juce::File& programsFolder = {});

/** Reads a file and parses it as JSON; a missing or unreadable file or bad JSON gives void. */
juce::var readJsonDocument (const juce::File& file);

} // namespace orvo
