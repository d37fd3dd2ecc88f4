#pragma once

#include "EditorDocumentHost.h"
#include "ProgramLibraryIndex.h"
#include "WorkingEnvironment.h"
#include "platform/UserInteraction.h"

#include <functional>
#include <optional>
#include <string>

namespace orvo
{

/** The "SAVE PROGRAM", "LOAD PROGRAM", "SAVE MIX" and "LOAD MIX" menu flows, the librarian's side of
    a Program sync, and the lookup of a selected slot's Program document by name.

    The slot's cached Program dump lives in the librarian state (LibrarySlot::programSysEx): that is
    what documents, the working environment and these flows read and write. Dialogs go through the
    Prompts and FileDialogs seams; every outcome is a log line. */
class ProgramMixFlows
{
public:
    ProgramMixFlows (LibrarianEditor& editor, LibrarianState& state, const LibraryRoot& library,
                     WorkingEnvironment& working, FileDialogs& dialogs, Prompts& prompts, const Clock& clock,
                     LibrarianLog log);

    //==== menu flows ====
    /** `done` (may be empty) hears whether the document was written; a cancelled dialog or question
        is "not written". */
    void saveProgram (std::function<void (bool written)> done = {});
    void saveMix();
    void loadProgram();
    void loadMix();

    /** The steps after the file dialogs, for callers that already have the file. A save writes what the
        editor holds for the selected slot now; a load also rewrites the working environment and, for a
        Program, asks the transfer question. */
    bool saveProgramTo (const juce::File& file);
    bool saveMixTo (const juce::File& file);
    DocumentLoadOutcome loadProgramFile (const juce::File& file);
    DocumentLoadOutcome loadMixFile (const juce::File& file);

    //==== Save Mix's read of the instrument's Mix ====
    /** The Mix read started for a pending Save Mix has ended (with a payload or not). */
    void mixReadEnded (bool gotPayload);
    bool isMixSavePending() const { return pendingMixSave.isPending(); }

    //==== events from the rest of the editor ====
    /** A Program sync applied `dump` to the editor: it becomes the current Program SysEx and the
        selected Program slot's cached dump and name; the working environment is rewritten. */
    void programSyncApplied (const ByteVector& dump);
    /** The selected bank or slot changed: recorded, and a Program slot's document is looked up by its
        name in the library and its editor data taken into the slot. */
    void selectionChanged (int bank, int slot);
    /** Puts the selected Program slot's cached dump (or its library document's) on the pages without
        sending anything; without one, marks the pages as not read. */
    void showSelectedProgram (int bank, int slot);

    /** The Program document of the library for a Program slot, by the slot's name (see
        ProgramLibraryIndex::findProgramFile). */
    std::optional<juce::File> findLibraryProgramFile (int bank, int slot);
    /** Takes a found document's parameters (as the slot's snapshot), Wedge preset assignment and tool
        data into the slot. False, changing nothing, when the file is not a Program document. */
    bool loadCachedProgramData (int bank, int slot, const juce::File& file);

    /** The slot's Program dump: the slot's own, else the last bank read's when it is of this bank, else
        the slot's file of the last bank sync. Nothing unless the hit is non-empty. */
    std::optional<ByteVector> cachedProgramSysEx (int bank, int slot) const;
    /** The last Program message mapped into the editor (a load or a sync); empty before the first. */
    const ByteVector& currentProgramSysEx() const { return host.currentProgramSysEx(); }
    /** A transfer sent `dump`: it is now the loaded Program's dump. */
    void setCurrentProgramSysEx (ByteVector dump) { host.setCurrentProgramSysEx (std::move (dump)); }
    /** Sets the selected slot's parameter snapshot from the editor's values (before a document of the
        whole state is built). */
    void refreshCurrentSnapshot();

    /** The index of the Programs folder; tell it about Program documents written elsewhere. */
    ProgramLibraryIndex& libraryIndex() { return index; }

    //==== hooks (set by the owner) ====
    /** Whether an instrument MIDI output is open; unset, the editor is asked. */
    std::function<bool()> midiOutputOpen;
    /** Starts the read of the instrument's Mix edit buffer without showing it in the Mix panel; its
        end must come back through mixReadEnded. Unset, a pending Save Mix goes on as a failed read. */
    std::function<void()> startMixRead;
    /** The Mix payload last read from the instrument. Unset, there is none. */
    std::function<const CachedMixPayload&()> cachedMixPayload;
    /** Decodes, caches for (bank, slot) and shows a loaded Mix payload under `title`. */
    std::function<bool (const MixPayload&, int bank, int slot, const std::string& title)> showMixPayload;
    /** A Program dump was applied by a load (the effects page reads its effect bytes from it). */
    std::function<void (const DecodedProgramValues&, const UnpackedProgram&, const ByteVector& dump)>
        programDumpApplied;
    /** A sync gave the selected slot a new name (the tool-data write-back takes it into its documents). */
    std::function<void (int bank, int slot)> slotRenamed;
    /** Shows the state after a load, a sync or a library lookup (names, notes, tags, tool views). */
    std::function<void()> refreshViews;
    /** Loads the tag association table before a loaded document's tags are stored. */
    std::function<void()> loadTagTable;
    /** The answers of the transfer question after a Program load; while unset, only logged. */
    std::function<void()> sendLoadedProgram;
    std::function<void()> sendEditorValues;

private:
    void logLine (const std::string& line) const;
    SaveContext saveContext (DocumentKind kind) const;
    SlotDocumentContent slotContent (int bank, int slot) const;
    juce::var buildDocument (DocumentKind kind, int bank, int slot) const;
    void runSavePlan (const SavePlan& plan, DocumentKind kind, std::function<void (bool)> done = {});
    bool writeSavedDocument (const juce::File& file, const juce::var& document, DocumentKind kind, int bank, int slot);
    void chooseAndLoad (DocumentKind kind);
    DocumentLoadOutcome loadFile (const juce::File& file, DocumentKind kind);
    void offerProgramTransfer (bool documentGaveDump);
    bool outputOpen() const;

    LibrarianEditor& editor;
    LibrarianState& state;
    const LibraryRoot& library;
    WorkingEnvironment& working;
    FileDialogs& dialogs;
    Prompts& prompts;
    const Clock& clock;
    LibrarianLog log;
    EditorDocumentHost host;
    ProgramLibraryIndex index;
    PendingMixSave pendingMixSave;
};

} // namespace orvo
