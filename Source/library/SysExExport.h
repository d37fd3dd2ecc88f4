#pragma once

#include "LibrarianState.h"
#include "LibraryRoot.h"
#include "model/ParameterCatalogue.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The bytes of an export, or the reason there are none; `logLines` says what the build did. */
struct ExportBytes
{
    ByteVector bytes;
    std::string error;
    std::vector<std::string> logLines;
    explicit operator bool() const { return error.empty(); }
};

using CachedDumpLookup = std::function<std::optional<ByteVector> (int bank, int slot)>;
using EditorValues = std::array<int, ParameterCatalogue::numRows>;

/** The slot's cached dump as a stored Program dump for that bank and slot. */
ExportBytes buildCachedProgramSysEx (int bank, int slot, const CachedDumpLookup& cached);
/** All 128 cached dumps of the bank, each as a stored dump for its slot; nothing unless all 128 are good. */
ExportBytes buildCurrentBankSysEx (int bank, const CachedDumpLookup& cached);
/** The cached dump with the editor's envelope values written into it, as a stored dump for the slot. */
ExportBytes buildEditorEnvelopeSysEx (int bank, int slot, const CachedDumpLookup& cached, const EditorValues& values);

/** The dump a Program document carries (the one for its "program" slot when it holds several). */
ExportBytes programDocumentSysEx (const juce::File& document);
/** The 128 dumps of a Program Bank document, each rebuilt for its slot of the document's bank, as
    CURRENT BANK would export them once the document is loaded. */
ExportBytes bankDocumentSysEx (const juce::File& document, const juce::File& programsFolder = {});

/** The "EXPORT SYSEX" menu flow: the choice of source, then the file. The three built exports are
    made before the save dialog opens; ORVO PROGRAM asks the instrument for its edit buffer after the
    file is chosen and writes the reply as it arrives, or gives up after `replyTimeoutMs`. */
class SysExExportFlow
{
public:
    using Log = std::function<void (const std::string&)>;

    enum Choice
    {
        editorEnvelopes = 0,
        orvoProgram = 1,
        cachedProgram = 2,
        currentBank = 3
    };

    SysExExportFlow (const LibrarianState& state, const LibraryRoot& library, FileDialogs& dialogs, Prompts& prompts,
                     Scheduler& scheduler, Log log);

    void exportSysEx();
    void exportChoice (int choice);

    /** The instrument's edit buffer arrived while a request was out; `mapped` says whether its values
        could be read (it was applied to the editor as any reply is). */
    void editBufferReplied (const ByteVector& dump, bool mapped);
    bool isWaitingForInstrument() const { return pending.has_value(); }

    //==== hooks (set by the owner) ====
    CachedDumpLookup cachedProgramSysEx;
    std::function<int (int row)> editorValue;
    std::function<bool()> midiOutputOpen;
    /** Whether another Program request (a sync or a refresh) is waiting for its reply. */
    std::function<bool()> programRequestInFlight;
    /** Sends the edit-buffer request; its reply must come back through editBufferReplied. */
    std::function<void()> requestEditBuffer;
    /** The request is given up. */
    std::function<void()> abandonEditBufferRequest;

    int replyTimeoutMs = 12000;

private:
    void logLine (const std::string& line) const;
    void refuse (const std::string& title, const std::string& error);
    void saveBuilt (const std::string& title, LibraryRoot::Folder folder, const std::string& proposedName,
                    const ExportBytes& built);
    bool writeExport (const std::string& title, const juce::File& file, const ByteVector& bytes);
    void exportInstrumentProgram();
    std::string programStem() const;

    struct Pending
    {
        juce::File file;
        std::uint32_t generation = 0;
    };

    const LibrarianState& state;
    const LibraryRoot& library;
    FileDialogs& dialogs;
    Prompts& prompts;
    Scheduler& scheduler;
    Log log;
    std::optional<Pending> pending;
    std::uint32_t generation = 0;
};

} // namespace orvo
