#pragma once

#include "BankDocument.h"
#include "DocumentLoading.h"
#include "LibrarianState.h"

#include "LibrarianEditor.h"

#include <functional>
#include <string>

namespace orvo
{

/** The editor as a Program or Mix load writes into it: values go to the editor's controls without
    echo, everything about the slot goes into the librarian state (which is where the editor keeps the
    slot's cached Program dump), and the last Program mapped into the editor is kept here as the
    current Program SysEx. */
class EditorDocumentHost final : public DocumentLoadHost
{
public:
    EditorDocumentHost (LibrarianEditor& editor, LibrarianState& state, LibrarianLog log);

    /** The editor's current values as a "parameters" array, one entry per control in control order. */
    static juce::var editorParameters (const LibrarianEditor& editor);

    /** The last Program message mapped into the editor (a load or a sync); empty before the first. */
    const ByteVector& currentProgramSysEx() const { return currentSysEx; }
    void setCurrentProgramSysEx (ByteVector dump) { currentSysEx = std::move (dump); }

    /** Loads the tag association table; unset, nothing to load. */
    std::function<void()> loadTagTableHook;
    /** Decodes, caches for (bank, slot) and shows a loaded Mix payload; false when it cannot. */
    std::function<bool (const MixPayload&, int bank, int slot, const std::string& title)> showMixHook;
    /** A Program dump was applied to the editor (for the parts that read more than the catalogue
        values from it, such as the effects). */
    std::function<void (const DecodedProgramValues&, const UnpackedProgram&, const ByteVector& dump)>
        programAppliedHook;

    //==== DocumentLoadHost ====
    int currentBank() const override { return state.selectedBank; }
    int currentSlot() const override { return state.selectedSlot; }
    std::string bankLabel (int bank) const override { return state.bankLabel (bank); }
    void loadTagTable() override;
    void setSlotName (int bank, int slot, const std::string& name) override;
    void setSlotTags (int bank, int slot, const std::vector<std::string>& tags) override;
    void setSlotNotes (int bank, int slot, const std::string& notes) override;
    void setWedgePreset (int bank, int slot, const juce::var& assignment) override;
    void setSnapshot (int bank, int slot, const juce::var& parameters) override;
    void takeSnapshotFromEditor (int bank, int slot) override;
    void clearProgramSysEx (int bank, int slot) override;
    void applyProgramDump (int bank, int slot, const ByteVector& dump, const DecodedProgramValues& values) override;
    bool setControlValue (const std::string& id, int rawValue) override;
    bool showMixPayload (const MixPayload& payload, const std::string& title) override;
    void applyToolData (int bank, int slot, const juce::var& controlPages) override;
    void recordDocumentPath (int bank, int slot, const juce::File& file) override;
    void log (const std::string& line) override;

private:
    LibrarianEditor& editor;
    LibrarianState& state;
    LibrarianLog logFn;
    ByteVector currentSysEx;
    // The slot a load is writing: every load names its target slot first, and a loaded Mix is cached
    // for that slot, which may lie in another bank than the selected one.
    int loadingBank = -1, loadingSlot = -1;
};

} // namespace orvo
