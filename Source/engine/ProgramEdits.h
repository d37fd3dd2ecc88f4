#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "ProgramSnapshot.h"

#include <string>
#include <vector>

namespace orvo
{

/** Reads the editor's whole Program (rows, effect, routes) and writes values back into it as the
    player's own edits, so the instrument follows: undo, redo and COMPARE go through here. */
class ProgramEdits
{
public:
    ProgramEdits (EditorEngine& e, EffectsController& fx) : engine (e), effects (fx) {}

    ProgramSnapshot capture() const;

    /** One value to put back: a catalogue row, or an extra by its key. */
    struct Assignment
    {
        int row = -1;
        std::string key;
        int raw = 0;
    };
    /** Applies the values that differ from what the editor holds, as edits: rows are stored and sent when
        sending is immediate, the effect and route values are stored and sent. The algorithm goes before
        its controls. Returns how many values changed. */
    int apply (const std::vector<Assignment>& values);

    /** The B side (or A side) of a list of differences, ready to apply. */
    static std::vector<Assignment> sideOf (const std::vector<ValueDifference>& differences, bool bSide);

private:
    EditorEngine& engine;
    EffectsController& effects;
};

} // namespace orvo
