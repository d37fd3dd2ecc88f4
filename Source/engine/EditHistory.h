#pragma once

#include "ProgramEdits.h"
#include "platform/Clock.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** UNDO and REDO of the player's changes to the Program's values.

    The history keeps the Program as it was after the last recorded step (or as the instrument last
    changed it). A player's edit only names what is changing; the timer's next tick (or an undo, redo
    or gesture end before it) compares the Program with that copy and records what differs as one
    step. Values that arrive from the instrument are taken into the copy without a step, so undo
    restores the player's values around them. The edits of one drag, or the same control moved again
    within a second, merge into one step. Each Program slot has its own history: an undo never writes
    one slot's values into another. */
class EditHistory
{
public:
    static constexpr int maxSteps = 100;
    static constexpr double mergeWindowMs = 1000.0;

    EditHistory (ProgramEdits& edits, Clock& clock, std::function<void (const std::string&)> log);

    /** The player is changing the Program's values; `what` names the step. The first name given since
        the last record is kept unless a later one `overrides` it (a tool names its whole move). */
    void notePlayerChange (const std::string& what, bool overrides = false);
    /** A drag: everything between begin and end is one step. */
    void beginGesture();
    void endGesture();
    /** The next change starts a new step (a Program was synced or loaded in another way). */
    void seal();

    /** Records what the player changed since the last record. `slotBank`/`slot` is the selection now. */
    void record();
    /** The timer tick's last step: records a tool's changes made during the tick, or takes the
        instrument's changes into the copy. */
    void endOfTick (bool valuesChanged);
    /** The selected slot; another one switches to its history. */
    void setSlot (int bank, int slot);

    bool canUndo() const;
    bool canRedo() const;
    /** "FILTER 1 FREQUENCY"; empty when there is nothing. */
    std::string undoName() const;
    std::string redoName() const;
    bool undo();
    bool redo();
    size_t undoCount() const { return stacks().undo.size(); }
    size_t redoCount() const { return stacks().redo.size(); }

private:
    struct Change
    {
        int row = -1;
        std::string key;
        std::optional<int> before, after;
    };
    struct Step
    {
        std::string name;
        std::vector<Change> changes;
        double lastMs = 0.0;
        bool sealed = false;
    };
    struct Stacks
    {
        std::deque<Step> undo;
        std::vector<Step> redo;
    };

    Stacks& stacks() { return histories[slotKey]; }
    const Stacks& stacks() const;
    bool replay (bool undoing);

    ProgramEdits& edits;
    Clock& clock;
    std::function<void (const std::string&)> log;
    ProgramSnapshot baseline;
    std::string pendingName;
    bool pendingOverridden = false;
    bool applying = false;
    bool gestureOpen = false, gestureStarted = false;
    int slotKey = 0;
    std::map<int, Stacks> histories;
};

} // namespace orvo
