#pragma once

#include "FileNaming.h"
#include "MixDocument.h"
#include "ProgramDocument.h"

#include "data/ProgramCodec.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The editor state a Program or Mix load writes into, in the order the load flow calls it. */
class DocumentLoadHost
{
public:
    virtual ~DocumentLoadHost() = default;

    virtual int currentBank() const = 0;
    virtual int currentSlot() const = 0;
    /** The editor's label of a bank, as its bank list shows it ("USER" ...). */
    virtual std::string bankLabel (int bank) const = 0;

    virtual void loadTagTable() = 0;
    virtual void setSlotName (int bank, int slot, const std::string& name) = 0;
    virtual void setSlotTags (int bank, int slot, const std::vector<std::string>& tags) = 0;
    virtual void setSlotNotes (int bank, int slot, const std::string& notes) = 0;
    /** Void clears the assignment. */
    virtual void setWedgePreset (int bank, int slot, const juce::var& assignment) = 0;
    /** Void clears the snapshot. */
    virtual void setSnapshot (int bank, int slot, const juce::var& parameters) = 0;
    virtual void takeSnapshotFromEditor (int bank, int slot) = 0;

    virtual void clearProgramSysEx (int bank, int slot) = 0;
    /** A decoded dump: apply the values without echo (logged with the context "loaded Program SysEx"),
        make it the current Program SysEx and the slot's cached dump. */
    virtual void applyProgramDump (int bank, int slot, const ByteVector& dump, const DecodedProgramValues& values) = 0;
    /** Sets one editor control by ParameterId; false when no control has that id. */
    virtual bool setControlValue (const std::string& id, int rawValue) = 0;
    /** Shows a loaded Mix in the Mix settings view; false when it cannot. */
    virtual bool showMixPayload (const MixPayload& payload, const std::string& title) = 0;
    virtual void applyToolData (int bank, int slot, const juce::var& controlPages) = 0;
    /** The document the slot now comes from (read by the tool write-back). */
    virtual void recordDocumentPath (int bank, int slot, const juce::File& file) = 0;

    virtual void log (const std::string& line) = 0;
};

struct DocumentLoadOutcome
{
    bool loaded = false;
    int bank = -1;
    int slot = -1;
    bool programSysExMapped = false;
    int valuesSet = 0;
    /** A load that went through may still have lost part of the document (its SysEx would not decode
        or map): the line that said so. */
    std::string problem;
};

/** "LOAD PROGRAM" / "LOAD MIX" after the file was chosen: every check, store and log line in order.
    A refused document changes nothing. The Program transfer question is the caller's (see
    transferOfferAfterProgramLoad), since it depends on the MIDI output. */
DocumentLoadOutcome loadDocument (const juce::File& file, DocumentKind kind, DocumentLoadHost& host);

/** Where a loaded document goes when the selected bank is of the other kind. */
int targetBankForDocument (DocumentKind kind, int currentBank, const juce::var& root);

/** The dialog offered after a Program load. */
struct ChoiceDialog
{
    std::string title;
    std::string message;
    std::vector<std::string> buttons;
};
ChoiceDialog transferOfferAfterProgramLoad (bool editorHoldsProgramSysEx);

/** One document loaded the way the editor would, into a throw-away editor state, for reports. */
struct DocumentCheckResult
{
    bool ok = false;
    std::string message; // the editor's failure line without its line break, when !ok
    int slots = 0;
    int programDumps = 0;
    std::vector<std::string> log;
};
DocumentCheckResult checkDocument (const juce::File& file, DocumentKind kind);

//==============================================================================
/** The first steps of "SAVE PROGRAM" / "SAVE MIX": what to log and whether to read the Mix first or
    open the dialog. */
struct SavePlan
{
    enum class Action
    {
        stop,         // the selected bank is of the other kind
        readMixFirst, // read the Mix from the instrument, then call PendingMixSave::readFinished
        openDialog
    };
    Action action = Action::stop;
    std::vector<std::string> logLines;
    std::string dialogTitle; // "Save Program" / "Save Mix"
    juce::File initialFile;  // proposed file in "Programs" / "Mixes"
    std::string pattern;     // "*.orvop" / "*.orvom"
};

struct SaveContext
{
    DocumentKind kind = DocumentKind::program;
    int bank = 0;
    int slot = 0;
    std::string slotName;
    bool mixPayloadValid = false; // CachedMixPayload::isValidFor the slot
    bool midiOutputOpen = false;
    juce::File documentFolder; // "Programs" or "Mixes" of the library root
};

SavePlan planSave (const SaveContext& context);

/** The one pending Save Mix: the slot waiting for the Mix read. */
class PendingMixSave
{
public:
    void begin (int bank, int slot);
    bool isPending() const { return pending; }
    /** The read ended; `current` has the selection now (and the rest of the save state). Clears the
        pending save and returns the plan to continue with, or a stop with the cancel line. */
    SavePlan readFinished (bool gotPayload, const SaveContext& current);

private:
    bool pending = false;
    int pendingBank = -1, pendingSlot = -1;
};

/** Writes the chosen file and logs; for a Mix also says whether the payload went in. True when the
    file was written (the caller then records the path for the slot). */
bool saveDocumentToFile (const juce::File& file, const juce::var& document, DocumentKind kind,
                         const std::function<void (const std::string&)>& log);

} // namespace orvo
