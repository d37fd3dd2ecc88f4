#pragma once

#include "EditorEngine.h"
#include "library/ProgramMixFlows.h"

#include <functional>
#include <string>

namespace orvo
{

/** Asks before the Program's unsaved edits are lost: changing the Program, loading over it, quitting.
    Only while "Unsaved Warnings" is on and the editor holds edits. */
class UnsavedChangesGuard
{
public:
    UnsavedChangesGuard (EditorEngine& e, ProgramMixFlows& f) : engine (e), flows (f) {}

    /** Runs `proceed` at once when nothing would be lost. Otherwise asks SAVE / DISCARD / CANCEL:
        SAVE writes the Program first and goes on only once it is written, DISCARD goes on, CANCEL
        keeps everything as it is. `what` names the action in the question ("changing the Program"). */
    void confirm (const std::string& what, std::function<void()> proceed);

private:
    EditorEngine& engine;
    ProgramMixFlows& flows;
};

} // namespace orvo
