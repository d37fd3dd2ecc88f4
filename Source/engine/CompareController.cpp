#include "CompareController.h"

#include "library/ProgramDocument.h"
#include "library/SysExMessageScan.h"
#include "model/TextMatching.h"

namespace orvo
{

CompareController::CompareController (EditorEngine& e, ProgramEdits& pe, EditHistory& h, SyncEngine& s)
    : engine (e), edits (pe), history (h), sync (s)
{
}

void CompareController::start (ProgramSnapshot other, const std::string& name)
{
    history.record();
    a = edits.capture();
    b = std::move (other);
    nameOfB = name;
    active = true;
    showingB = false;
    reading = false;
    refreshList();
    engine.log().append ("COMPARE: A is the Program in the editor, B is " + name + "; " + std::to_string (list.size()) +
                         (list.size() == 1 ? " value differs" : " values differ") + ".\n");
}

bool CompareController::startWithDocument (const juce::File& file)
{
    const auto read = readProgramDocument (file);
    const auto name = file.getFileNameWithoutExtension().toStdString();
    std::optional<ProgramSnapshot> snapshot;
    if (read.ok)
        if (const auto sysEx = decodeDocumentSysEx (read.root, -1); sysEx.dump)
            snapshot = ProgramSnapshot::ofDump (*sysEx.dump);
    if (!snapshot)
    {
        engine.log().append ("COMPARE: " + file.getFileName().toStdString() +
                             " holds no Program that decodes; nothing was compared.\n");
        return false;
    }
    start (std::move (*snapshot), name);
    return true;
}

void CompareController::startWithInstrument()
{
    const int bank = engine.selectedBank(), slot = engine.selectedProgram();
    if (!engine.hasOutput())
    {
        engine.log().append ("COMPARE: No MIDI output is open. Open the Orvo MIDI output first.\n");
        return;
    }
    if (bank > 2)
    {
        engine.log().append ("COMPARE: select a Program slot first; a Mix slot has no stored Program.\n");
        return;
    }
    if (sync.isActive() || sync.isBankRequestActive())
    {
        engine.log().append ("COMPARE: the Orvo is busy with a sync; try again when it has finished.\n");
        return;
    }
    // The protocol has no request for one stored Program: the slot's bank is read back and the slot taken
    // as soon as it arrives.
    reading = draining = true;
    readBank = bank;
    readSlot = slot;
    sync.startBankRequest (bank, SyncEngine::verifyMode);
    changed = true;
}

void CompareController::tick()
{
    // The read-back's completion is this controller's to take, or a later one would find it.
    if (draining && !sync.isBankRequestActive())
    {
        draining = false;
        (void)sync.takeVerifyBankComplete();
    }
    if (!reading)
        return;
    const bool arrived = sync.receivedCount() > readSlot || !sync.isBankRequestActive();
    if (!arrived)
        return;
    reading = false;
    changed = true;
    const auto label = sync.bankLabelOf (readBank) + " " + text::threeDigits (readSlot);
    const auto table = sync.bankSlots();
    const auto& stored = table.slots[(size_t)readSlot];
    std::optional<ProgramSnapshot> snapshot;
    if (stored.received)
        snapshot = ProgramSnapshot::ofDump (stored.dump);
    if (!snapshot)
    {
        engine.log().append ("COMPARE: the Orvo did not send a stored Program for " + label +
                             "; nothing was compared.\n");
        return;
    }
    start (std::move (*snapshot), "the Orvo's stored " + label);
}

int CompareController::toggle()
{
    if (!active)
        return 0;
    history.record();
    auto& shown = showingB ? b : a;
    const auto& other = showingB ? a : b;
    shown = edits.capture();
    const auto toSend = differencesBetween (shown, other);
    history.notePlayerChange (showingB ? "COMPARE A" : "COMPARE B", true);
    const int count = edits.apply (ProgramEdits::sideOf (toSend, true));
    history.record();
    history.seal();
    showingB = !showingB;
    refreshList();
    engine.log().append (std::string ("COMPARE: showing ") + (showingB ? "B" : "A") + ", " + std::to_string (count) +
                         (count == 1 ? " value" : " values") + " changed.\n");
    return count;
}

void CompareController::leave()
{
    if (!active)
        return;
    active = false;
    changed = true;
    list.clear();
    engine.log().append (std::string ("COMPARE: ended; the editor keeps ") + (showingB ? "B (" + nameOfB + ")" : "A") +
                         ".\n");
}

void CompareController::refreshList()
{
    list = differencesBetween (a, b);
    changed = true;
}

} // namespace orvo
