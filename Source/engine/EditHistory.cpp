#include "EditHistory.h"

#include <algorithm>

namespace orvo
{

EditHistory::EditHistory (ProgramEdits& e, Clock& c, std::function<void (const std::string&)> logFn)
    : edits (e), clock (c), log (std::move (logFn)), baseline (edits.capture())
{
}

const EditHistory::Stacks& EditHistory::stacks() const
{
    static const Stacks none;
    const auto it = histories.find (slotKey);
    return it == histories.end() ? none : it->second;
}

void EditHistory::notePlayerChange (const std::string& what, bool overrides)
{
    if (applying || (!pendingName.empty() && (!overrides || pendingOverridden)))
        return;
    pendingName = what;
    pendingOverridden = overrides;
}

void EditHistory::beginGesture()
{
    record();
    gestureOpen = true;
    gestureStarted = false;
}

void EditHistory::endGesture()
{
    record();
    gestureOpen = false;
    seal();
}

void EditHistory::seal()
{
    auto& undo = stacks().undo;
    if (!undo.empty())
        undo.back().sealed = true;
}

void EditHistory::setSlot (int bank, int slot)
{
    const int key = bank * 128 + slot;
    if (key == slotKey)
        return;
    // What is pending was made on the other slot's values; the Program now shown is not a step.
    pendingName.clear();
    slotKey = key;
    seal();
    baseline = edits.capture();
}

void EditHistory::record()
{
    if (pendingName.empty())
        return;
    auto now = edits.capture();
    const auto differences = differencesBetween (baseline, now);
    baseline = std::move (now);
    const auto name = std::exchange (pendingName, {});
    pendingOverridden = false;
    if (differences.empty())
        return;

    auto& s = stacks();
    const double t = clock.nowMs();
    const bool merge =
        !s.undo.empty() && !s.undo.back().sealed &&
        (gestureOpen ? gestureStarted : s.undo.back().name == name && t - s.undo.back().lastMs <= mergeWindowMs);
    if (!merge)
    {
        s.undo.push_back ({ name, {}, t, false });
        s.redo.clear();
        if (s.undo.size() > (size_t)maxSteps)
            s.undo.pop_front();
    }
    gestureStarted = gestureOpen;
    auto& step = s.undo.back();
    step.lastMs = t;
    for (const auto& d : differences)
    {
        auto it =
            std::find_if (step.changes.begin(), step.changes.end(), [&d] (const Change& c) { return c.key == d.key; });
        if (it == step.changes.end())
            step.changes.push_back ({ d.row, d.key, d.a, d.b });
        else
            it->after = d.b;
    }
}

void EditHistory::endOfTick (bool valuesChanged)
{
    if (!pendingName.empty())
        record();
    else if (valuesChanged)
        baseline = edits.capture();
}

bool EditHistory::canUndo() const
{
    return !stacks().undo.empty();
}

bool EditHistory::canRedo() const
{
    return !stacks().redo.empty();
}

std::string EditHistory::undoName() const
{
    return canUndo() ? stacks().undo.back().name : std::string();
}

std::string EditHistory::redoName() const
{
    return canRedo() ? stacks().redo.back().name : std::string();
}

bool EditHistory::undo()
{
    return replay (true);
}

bool EditHistory::redo()
{
    return replay (false);
}

bool EditHistory::replay (bool undoing)
{
    record();
    auto& s = stacks();
    if (undoing ? s.undo.empty() : s.redo.empty())
    {
        log (undoing ? "UNDO: there is no edit to undo.\n" : "REDO: there is no undone edit to redo.\n");
        return false;
    }
    Step step;
    if (undoing)
        step = std::move (s.undo.back()), s.undo.pop_back();
    else
        step = std::move (s.redo.back()), s.redo.pop_back();

    std::vector<ProgramEdits::Assignment> values;
    for (const auto& c : step.changes)
        if (const auto& v = undoing ? c.before : c.after)
            values.push_back ({ c.row, c.key, *v });
    applying = true;
    const int changed = edits.apply (values);
    applying = false;
    baseline = edits.capture();

    log (std::string (undoing ? "UNDO: " : "REDO: ") + step.name + ": " + std::to_string (changed) +
         (changed == 1 ? " value" : " values") + " restored.\n");
    step.sealed = true;
    if (undoing)
        s.redo.push_back (std::move (step));
    else
        s.undo.push_back (std::move (step));
    seal();
    return true;
}

} // namespace orvo
