#include "UnsavedChangesGuard.h"

namespace orvo
{

void UnsavedChangesGuard::confirm (const std::string& what, std::function<void()> proceed)
{
    if (!engine.settings().unsavedWarnings || !engine.isEdited())
    {
        proceed();
        return;
    }
    engine.services().prompts.showChoice (
        "Unsaved Program", "The Program in the editor has edits that are not saved.\n\nSave them before " + what + "?",
        { "SAVE", "DISCARD", "CANCEL" },
        [this, what, proceed = std::move (proceed)] (int choice)
        {
            if (choice == 0)
            {
                flows.saveProgram (
                    [this, what, proceed] (bool written)
                    {
                        if (written)
                            proceed();
                        else
                            engine.log().append ("The Program was not saved, so " + what + " did not go ahead.\n");
                    });
            }
            else if (choice == 1)
            {
                engine.log().append ("Unsaved Program edits discarded before " + what + ".\n");
                engine.clearEdited();
                proceed();
            }
            else
                engine.log().append ("Kept the unsaved Program edits; " + what + " was cancelled.\n");
        });
}

} // namespace orvo
