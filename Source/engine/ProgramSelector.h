#pragma once

#include "EditorEngine.h"

#include <functional>
#include <string>

namespace orvo
{

/** The bottom bar's Program selector: which bank and Program the editor has selected, what it sends
    to the instrument when the player picks one, and the texts the bar shows. The selection itself is
    kept by the engine (the editor-state document carries it); this class changes it. */
class ProgramSelector
{
public:
    static constexpr int numBanks = 5;
    static constexpr int echoGuardMs = 8000;

    struct Settings
    {
        std::function<int()> programChannel; // 1..16 from the Global dump
        std::function<int()> mixChannel;
        std::function<std::string (int bank)> bankDisplayName; // the user's name for the bank, else its label
        std::function<std::string (int bank, int slot)> slotName;
    };

    ProgramSelector (EditorEngine& engine, Settings settings);

    int bank() const { return engine.selectedBank(); }
    int program() const { return engine.selectedProgram(); }
    bool isModeKnown() const { return modeKnown; }
    void setModeKnown (bool known) { modeKnown = known; }

    /** The bank arrows: the next or previous bank (wrapping), logged and sent. */
    void stepBank (int delta);
    /** The program browser: the next or previous number, wrapping 127 to 0 and 0 to 127, sent. */
    void stepProgram (int delta);
    /** A direct pick (typed number, bank list). */
    void select (int bank, int program, const std::string& source);
    /** A selection the instrument reported (a sync applied it): the selector follows, nothing is sent. */
    void follow (int bank, int program);

    /** Sends the current selection: mode, bank select by the instrument's bank-select type, Program Change. */
    void sendSelection (const std::string& source);

    /** The echo guard armed by the last selection sent. */
    bool guardInForce() const;
    int guardBank() const { return appBank; }
    int guardProgram() const { return appProgram; }

    std::string programNumberText() const;
    /** The selected bank as the bar shows it (its display name). */
    std::string bankText() const;
    /** The name field: the slot's name, or the notice that the mode is not known yet. */
    std::string patchNameText (bool diagnosticMode) const;

    /** Asked before the player's own change of bank or Program is made (the unsaved-edits question);
        it runs the change, later or never. Unset, every change goes ahead. */
    std::function<void (std::function<void()> change)> confirmChange;

    /** Called after every change of bank or Program (library lookup, views). */
    std::function<void (int bank, int program)> onSelectionChanged;

private:
    void whenAllowed (std::function<void()> change);
    void changed();

    EditorEngine& engine;
    const Clock& clock;
    Settings settings;
    bool modeKnown = false;
    bool appGuardActive = false;
    int appBank = -1, appProgram = -1;
    double appGuardExpiryMs = 0.0;
};

} // namespace orvo
