#include "ProgramMixFlows.h"

#include "model/TextMatching.h"

#include "data/ProgramCodec.h"
#include "data/ProgramLayout.h"
#include "library/SysExMessageScan.h"

namespace orvo
{

ProgramMixFlows::ProgramMixFlows (LibrarianEditor& e, LibrarianState& s, const LibraryRoot& lib, WorkingEnvironment& w,
                                  FileDialogs& d, Prompts& p, const Clock& c, LibrarianLog l)
    : editor (e), state (s), library (lib), working (w), dialogs (d), prompts (p), clock (c), log (l), host (e, s, l),
      index ([this] { return library.folder (LibraryRoot::Folder::programs); })
{
    host.loadTagTableHook = [this]
    {
        if (loadTagTable)
            loadTagTable();
    };
    host.showMixHook = [this] (const MixPayload& payload, int bank, int slot, const std::string& title)
    { return showMixPayload && showMixPayload (payload, bank, slot, title); };
    host.programAppliedHook =
        [this] (const DecodedProgramValues& values, const UnpackedProgram& unpacked, const ByteVector& dump)
    {
        if (programDumpApplied)
            programDumpApplied (values, unpacked, dump);
    };
}

void ProgramMixFlows::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

bool ProgramMixFlows::outputOpen() const
{
    return midiOutputOpen ? midiOutputOpen() : editor.hasOutput();
}

//==============================================================================
SaveContext ProgramMixFlows::saveContext (DocumentKind kind) const
{
    SaveContext c;
    c.kind = kind;
    c.bank = state.selectedBank;
    c.slot = state.selectedSlot;
    c.slotName = state.names.name (c.bank, c.slot);
    c.mixPayloadValid = cachedMixPayload && cachedMixPayload().isValidFor (c.bank, c.slot);
    c.midiOutputOpen = outputOpen();
    c.documentFolder =
        library.folder (kind == DocumentKind::program ? LibraryRoot::Folder::programs : LibraryRoot::Folder::mixes);
    return c;
}

SlotDocumentContent ProgramMixFlows::slotContent (int bank, int slot) const
{
    const auto& s = state.slot (bank, slot);
    SlotDocumentContent c;
    c.bank = bank;
    c.slot = slot;
    c.name = state.names.name (bank, slot);
    c.bankLabel = state.bankLabel (bank);
    c.notes = s.notes;
    c.tags = s.tags;
    c.parameters = EditorDocumentHost::editorParameters (editor);
    c.toolData = s.toolData;
    c.wedgePreset = s.wedgePreset;
    return c;
}

juce::var ProgramMixFlows::buildDocument (DocumentKind kind, int bank, int slot) const
{
    const juce::Time now (clock.wallClockMs());
    if (kind == DocumentKind::program)
        return buildProgramDocument (slotContent (bank, slot), cachedProgramSysEx (bank, slot), now);
    const CachedMixPayload* cached = cachedMixPayload ? &cachedMixPayload() : nullptr;
    const bool valid = cached != nullptr && cached->isValidFor (bank, slot);
    return buildMixDocument (slotContent (bank, slot), valid ? &cached->payload : nullptr, now);
}

void ProgramMixFlows::saveProgram (std::function<void (bool)> done)
{
    const int bank = state.selectedBank, slot = state.selectedSlot;
    const bool neverRead = LibrarianState::isProgramBank (bank) && LibrarianState::isValidSlot (slot) &&
                           state.names.name (bank, slot).empty() && !cachedProgramSysEx (bank, slot);
    if (!neverRead)
    {
        runSavePlan (planSave (saveContext (DocumentKind::program)), DocumentKind::program, std::move (done));
        return;
    }
    // Say what an unread slot's document will hold before it is written.
    prompts.showChoice ("Save Program",
                        state.bankLabel (bank) + " " + text::threeDigits (slot) +
                            " has not been read from the Orvo: it has no name and no Orvo Program dump, so the "
                            "file will hold only the editor's current values.\n\nRun PROGRAM SYNC first to read "
                            "the Program, or save the editor's values anyway.",
                        { "SAVE EDITOR VALUES", "CANCEL" },
                        [this, done = std::move (done)] (int choice)
                        {
                            if (choice == 0)
                                return runSavePlan (planSave (saveContext (DocumentKind::program)),
                                                    DocumentKind::program, done);
                            logLine ("Save Program cancelled: the slot has not been read from the Orvo.\n");
                            if (done)
                                done (false);
                        });
}

void ProgramMixFlows::saveMix()
{
    runSavePlan (planSave (saveContext (DocumentKind::mix)), DocumentKind::mix);
}

void ProgramMixFlows::runSavePlan (const SavePlan& plan, DocumentKind kind, std::function<void (bool)> done)
{
    for (const auto& line : plan.logLines)
        logLine (line);

    const int bank = state.selectedBank;
    const int slot = state.selectedSlot;
    switch (plan.action)
    {
        case SavePlan::Action::stop:
            if (done)
                done (false);
            return;

        case SavePlan::Action::readMixFirst:
            pendingMixSave.begin (bank, slot);
            if (startMixRead)
                startMixRead();
            else
                mixReadEnded (false);
            return;

        case SavePlan::Action::openDialog:
        {
            // The document is what the editor holds now, not after the dialog: the user saves what
            // they saw when they chose the menu item.
            auto document = buildDocument (kind, bank, slot);
            library.ensureLibraryFolders();
            dialogs.chooseFileToSave (plan.dialogTitle, plan.initialFile.getFullPathName().toStdString(), plan.pattern,
                                      [this, document, kind, bank, slot, done] (std::optional<std::string> chosen)
                                      {
                                          const bool written =
                                              chosen && !chosen->empty() &&
                                              writeSavedDocument (juce::File (*chosen), document, kind, bank, slot);
                                          if (done)
                                              done (written);
                                      });
            return;
        }
    }
}

void ProgramMixFlows::mixReadEnded (bool gotPayload)
{
    if (!pendingMixSave.isPending())
        return;
    runSavePlan (pendingMixSave.readFinished (gotPayload, saveContext (DocumentKind::mix)), DocumentKind::mix);
}

bool ProgramMixFlows::writeSavedDocument (const juce::File& file, const juce::var& document, DocumentKind kind,
                                          int bank, int slot)
{
    if (!saveDocumentToFile (file, document, kind, log))
        return false;
    auto& s = state.slot (bank, slot);
    s.documentFile = file;
    // The slot's snapshot is what its document now holds.
    s.parameters = document.getProperty ("parameters", {});
    if (kind == DocumentKind::program)
    {
        editor.clearEdited();
        index.noteFileChanged (file);
    }
    return true;
}

bool ProgramMixFlows::saveProgramTo (const juce::File& file)
{
    const auto plan = planSave (saveContext (DocumentKind::program));
    if (plan.action == SavePlan::Action::stop)
    {
        for (const auto& line : plan.logLines)
            logLine (line);
        return false;
    }
    const int bank = state.selectedBank, slot = state.selectedSlot;
    library.ensureLibraryFolders();
    return writeSavedDocument (file, buildDocument (DocumentKind::program, bank, slot), DocumentKind::program, bank,
                               slot);
}

bool ProgramMixFlows::saveMixTo (const juce::File& file)
{
    auto context = saveContext (DocumentKind::mix);
    context.midiOutputOpen = false; // no read of the instrument here: what is cached is what is written
    const auto plan = planSave (context);
    for (const auto& line : plan.logLines)
        logLine (line);
    if (plan.action == SavePlan::Action::stop)
        return false;
    const int bank = state.selectedBank, slot = state.selectedSlot;
    library.ensureLibraryFolders();
    return writeSavedDocument (file, buildDocument (DocumentKind::mix, bank, slot), DocumentKind::mix, bank, slot);
}

//==============================================================================
void ProgramMixFlows::loadProgram()
{
    chooseAndLoad (DocumentKind::program);
}

void ProgramMixFlows::loadMix()
{
    chooseAndLoad (DocumentKind::mix);
}

void ProgramMixFlows::chooseAndLoad (DocumentKind kind)
{
    library.ensureLibraryFolders();
    const bool program = kind == DocumentKind::program;
    const auto folder = library.folder (program ? LibraryRoot::Folder::programs : LibraryRoot::Folder::mixes);
    dialogs.chooseFileToOpen (program ? "Load Program" : "Load Mix", folder.getFullPathName().toStdString(),
                              program ? "*.orvop" : "*.orvom",
                              [this, kind] (std::optional<std::string> chosen)
                              {
                                  if (chosen && !chosen->empty())
                                      loadFile (juce::File (*chosen), kind);
                              });
}

DocumentLoadOutcome ProgramMixFlows::loadProgramFile (const juce::File& file)
{
    return loadFile (file, DocumentKind::program);
}

DocumentLoadOutcome ProgramMixFlows::loadMixFile (const juce::File& file)
{
    return loadFile (file, DocumentKind::mix);
}

DocumentLoadOutcome ProgramMixFlows::loadFile (const juce::File& file, DocumentKind kind)
{
    const auto outcome = loadDocument (file, kind, host);
    if (!outcome.loaded)
        return outcome;
    // The editor's values were replaced by the document's, so there are no unsaved edits left.
    if (outcome.programSysExMapped || outcome.valuesSet > 0)
        editor.clearEdited();
    if (refreshViews)
        refreshViews();
    working.save();
    if (kind == DocumentKind::program)
        offerProgramTransfer (outcome.programSysExMapped);
    return outcome;
}

void ProgramMixFlows::offerProgramTransfer (bool documentGaveDump)
{
    // The dump variant says "This Program file includes a raw Orvo Program SysEx dump", so it is
    // offered only when this file's dump is the one the editor now holds.
    const auto dialog = transferOfferAfterProgramLoad (documentGaveDump && !currentProgramSysEx().empty());
    const bool withDump = dialog.buttons.size() == 3;
    prompts.showChoice (dialog.title, dialog.message, dialog.buttons,
                        [this, withDump] (int choice)
                        {
                            const bool sendDump = withDump && choice == 0;
                            const bool sendValues = withDump ? choice == 1 : choice == 0;
                            const auto& action = sendDump ? sendLoadedProgram : sendEditorValues;
                            if (!sendDump && !sendValues)
                                return;
                            if (action)
                                action();
                            else
                                logLine ("Program transfer to the Orvo is not available yet; the Program was loaded "
                                         "locally only.\n");
                        });
}

//==============================================================================
void ProgramMixFlows::programSyncApplied (const ByteVector& dump)
{
    host.setCurrentProgramSysEx (dump);
    const int bank = state.selectedBank, slot = state.selectedSlot;
    if (LibrarianState::isProgramBank (bank))
    {
        state.slot (bank, slot).programSysEx = dump;
        const auto name = readProgramName (unpackProgramDump (dump));
        if (!name.empty() && name != state.names.name (bank, slot))
        {
            state.names.setName (bank, slot, name);
            if (slotRenamed)
                slotRenamed (bank, slot);
        }
    }
    editor.clearEdited();
    if (refreshViews)
        refreshViews();
    working.save();
}

void ProgramMixFlows::selectionChanged (int bank, int slot)
{
    // The same slot again (an echo, a refresh) must not put the cached Program over the player's edits.
    const bool moved = state.selectedBank != SlotNameTable::clampBank (bank) || state.selectedSlot != SlotNameTable::clampSlot (slot);
    state.selectedBank = SlotNameTable::clampBank (bank);
    state.selectedSlot = SlotNameTable::clampSlot (slot);
    if (const auto file = findLibraryProgramFile (state.selectedBank, state.selectedSlot))
        loadCachedProgramData (state.selectedBank, state.selectedSlot, *file);
    if (moved)
        showSelectedProgram (state.selectedBank, state.selectedSlot);
    // The selection and whatever it brought into the slot outlive a crash.
    working.saveSelectionSoon();
}

void ProgramMixFlows::showSelectedProgram (int bank, int slot)
{
    if (!LibrarianState::isProgramBank (bank) || !LibrarianState::isValidSlot (slot))
        return;
    auto dump = cachedProgramSysEx (bank, slot);
    const auto& s = state.slot (bank, slot);
    if (!dump && s.documentFile)
        if (const auto read = readProgramDocument (*s.documentFile); read.ok)
            dump = decodeDocumentSysEx (read.root, slot).dump;

    const auto label = state.bankDisplayName (bank) + " " + text::threeDigits (slot);
    DecodedProgramValues values;
    std::string diagnostic;
    if (!dump || !decodeProgramDump (*dump, values, diagnostic))
    {
        // Never show one Program's values under another's name without saying so (the header and
        // the bottom bar say it; a log line per step through unread slots would only be noise).
        editor.markProgramUnread (label);
        return;
    }
    editor.applyProgramValues (values.raw, values.defined);
    host.setCurrentProgramSysEx (*dump);
    if (programDumpApplied)
        programDumpApplied (values, unpackProgramDump (*dump), *dump);
    editor.clearEdited();
    logLine ("Showing " + label + " from its cached Program dump; nothing was sent to the Orvo.\n");
}

std::optional<juce::File> ProgramMixFlows::findLibraryProgramFile (int bank, int slot)
{
    if (!LibrarianState::isProgramBank (bank) || !LibrarianState::isValidSlot (slot))
        return std::nullopt;
    return index.findProgramFile (bank, slot, state.names.name (bank, slot));
}

bool ProgramMixFlows::loadCachedProgramData (int bank, int slot, const juce::File& file)
{
    const auto read = readProgramDocument (file);
    if (!read.ok)
        return false;
    auto& s = state.slot (bank, slot);
    const auto parameters = read.root.getProperty ("parameters", {});
    if (const auto* entries = parameters.getArray(); entries != nullptr && !entries->isEmpty())
        s.parameters = parameters;
    const auto wedge = read.root.getProperty ("wedgePreset", {});
    s.wedgePreset = wedge.isObject() ? wedge : juce::var();
    if (const auto toolData = read.root.getProperty ("controlPages", {}); toolData.isObject())
        s.toolData = toolData;
    s.documentFile = file;
    logLine ("Loaded cached Program data for " + state.names.name (bank, slot) + " from " +
             file.getFullPathName().toStdString() + ".\n");
    if (refreshViews)
        refreshViews();
    return true;
}

std::optional<ByteVector> ProgramMixFlows::cachedProgramSysEx (int bank, int slot) const
{
    if (!LibrarianState::isProgramBank (bank) || !LibrarianState::isValidSlot (slot))
        return std::nullopt;
    if (const auto& own = state.slot (bank, slot).programSysEx; !own.empty())
        return own;
    if (const auto& read = state.lastBankRead;
        read.bank == bank && (size_t)slot < read.slots.size() && !read.slots[(size_t)slot].empty())
        return read.slots[(size_t)slot];
    // What the last bank sync left on disk for the slot.
    const auto capture = library.latestProgramCaptureFile (bank, slot);
    juce::MemoryBlock bytes;
    if (capture.existsAsFile() && capture.loadFileAsData (bytes) && bytes.getSize() > 0)
    {
        const auto* data = static_cast<const std::uint8_t*> (bytes.getData());
        return ByteVector (data, data + bytes.getSize());
    }
    return std::nullopt;
}

void ProgramMixFlows::refreshCurrentSnapshot()
{
    state.slot (state.selectedBank, state.selectedSlot).parameters = EditorDocumentHost::editorParameters (editor);
}

} // namespace orvo
