#pragma once

#include "EditHistory.h"
#include "ProgramEdits.h"
#include "sync/SyncEngine.h"

#include <juce_core/juce_core.h>

#include <string>
#include <vector>

namespace orvo
{

/** COMPARE: the Program in the editor is A; B is the instrument's stored version of the slot (read on
    demand) or a Program document. The toggle puts the other version in the editor and sends only the
    values that differ; leaving keeps whichever version is shown. Each toggle is an undo step, so the
    history stays true to what the instrument heard. */
class CompareController
{
public:
    CompareController (EditorEngine& engine, ProgramEdits& edits, EditHistory& history, SyncEngine& sync);

    bool isActive() const { return active; }
    bool isShowingB() const { return showingB; }
    bool isReading() const { return reading; }
    const std::string& bName() const { return nameOfB; }

    /** Starts comparing the editor's Program with `b`. */
    void start (ProgramSnapshot b, const std::string& name);
    /** B from a Program document; false (with a log line) when it holds no Program that decodes. */
    bool startWithDocument (const juce::File& file);
    /** B from the instrument: the selected slot's bank is read back and the slot's dump taken. */
    void startWithInstrument();
    /** Shows the other version; returns how many values were sent or set. */
    int toggle();
    void leave();

    /** Every value that differs between A and B, A as it was when the editor last showed it. */
    const std::vector<ValueDifference>& differences() const { return list; }

    /** The timer's step: takes the slot's dump once the read brought it. */
    void tick();
    /** Compare state changed since the view last asked. */
    bool takeChanged() { return std::exchange (changed, false); }

private:
    void refreshList();

    EditorEngine& engine;
    ProgramEdits& edits;
    EditHistory& history;
    SyncEngine& sync;
    bool active = false, showingB = false, reading = false, draining = false, changed = false;
    int readBank = -1, readSlot = -1;
    std::string nameOfB;
    ProgramSnapshot a, b;
    std::vector<ValueDifference> list;
};

} // namespace orvo
