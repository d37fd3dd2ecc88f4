#pragma once

#include "midi/SysExProtocol.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** One editor control as documents carry it. */
struct ParameterEntry
{
    std::string id;
    int rawValue = 0;
    std::string page;
    std::string section;
};

/** The "parameters" array: one object per control, keys "id", "rawValue", "page", "section". */
juce::var parameterEntriesToVar (const std::vector<ParameterEntry>& entries);

/** What the editor holds for the slot a Program or Mix document is saved from. */
struct SlotDocumentContent
{
    int bank = 0;
    int slot = 0;
    std::string name;
    std::string bankLabel; // the editor's label of the bank, as its bank list shows it
    std::string notes;
    std::vector<std::string> tags;
    juce::var parameters;  // the "parameters" array of the current editor values
    juce::var toolData;    // "controlPages"; void is written as an empty object
    juce::var wedgePreset; // written only when it is an object
};

namespace documentkeys
{
constexpr const char* programSchema = "orvo.program.v1";
constexpr const char* mixSchema = "orvo.mix.v1";
constexpr const char* programExtension = ".orvop";
constexpr const char* mixExtension = ".orvom";
constexpr const char* sourceLibrarian = "orvo-editor-librarian";
constexpr const char* sourceSysExImport = "orvo-editor-sysex-import";
constexpr const char* sourceBankSync = "orvo-bank-sync";
} // namespace documentkeys

/** "SAVE PROGRAM": the slot with, when the cache has it, its Program SysEx and digests. */
juce::var buildProgramDocument (const SlotDocumentContent& content, const std::optional<ByteVector>& programSysEx,
                                juce::Time capturedAt);

/** What the SysEx import knows about one imported dump. */
struct ImportedProgramInfo
{
    std::string name;
    juce::Time importedAt;
    juce::File originalSysExFile;
    ByteVector message; // the complete dump, F0 to F7
    int mappedParameterCount = 0;
};

/** A Program document written by the SysEx import. */
juce::var buildImportedProgramDocument (const ImportedProgramInfo& info);

/** A Program document written by bank sync for one received slot. */
juce::var buildBankSyncProgramDocument (const std::string& name, const std::string& bankLabel, int bank, int slot,
                                        const ByteVector& message, juce::Time capturedAt);

/** "rawByteLength" and "sysexBase64" of a Program dump and, when asked, its digests (each only when
    it could be computed), in the order every document writes them. */
void addProgramSysExKeys (juce::DynamicObject& object, const ByteVector& message, bool withDigests);
/** The digests alone, for documents that put other keys between them and the dump. */
void addProgramDigestKeys (juce::DynamicObject& object, const ByteVector& message);

/** The time stamp documents carry: local time with milliseconds and the UTC offset. */
juce::String documentTimeStamp (juce::Time t);

/** Writes a document's JSON text through the atomic writer and logs "Saved <kind> file: ..." or
    "Could not save <kind> file: ..."; `kind` is "Program", "Mix", "Bank" or "Environment". */
bool writeDocument (const juce::File& file, const juce::var& document, const std::string& kind,
                    const std::function<void (const std::string&)>& log);

/** The first checks of a load: the file read and parsed, and the root accepted for its kind. */
struct DocumentReadResult
{
    bool ok = false;
    juce::var root;
    std::string failureLine; // the log line when !ok
    MixPayload mixPayload;   // Mix only: the decoded payload, empty for a snapshot
};

/** Reads a ".orvop": the root must be an object whose "type" is exactly "program". */
DocumentReadResult readProgramDocument (const juce::File& file);

juce::var textVar (const std::string& s);
juce::var stringArrayVar (const std::vector<std::string>& items);

} // namespace orvo
