#pragma once

#include "EditorEngine.h"

#include <array>
#include <atomic>
#include <mutex>
#include <functional>
#include <optional>
#include <string>

namespace orvo
{

/** The bottom bar's Program selector and selection tracking: which bank and Program the editor has
    selected, what it sends to the instrument when the player picks one, which selections the
    instrument reports are followed and which are echoes of the editor's own, and the texts the bar
    shows. The selection itself is kept by the engine (the editor-state document carries it).

    `onBankSelect` and `onProgramChange` run on the MIDI input thread: they only read settings, write
    atomics and queue log lines; the reported selection is applied on the timer tick. */
class ProgramSelector
{
public:
    static constexpr int numBanks = 5;
    static constexpr int echoGuardMs = 8000;
    static constexpr int activationWindowMs = 4500;
    static constexpr int refreshDelayMs = 450;

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
    bool isModeKnown() const { return modeKnown.load(); }
    void setModeKnown (bool known) { modeKnown = known; }

    /** The bank arrows: the next or previous bank (wrapping), logged and sent. */
    void stepBank (int delta);
    /** The program browser: the next or previous number, wrapping 127 to 0 and 0 to 127, sent. */
    void stepProgram (int delta);
    /** A direct pick (typed number, bank list). */
    void select (int bank, int program, const std::string& source);
    /** A selection the instrument reported (a sync applied it): the selector follows, nothing is sent. */
    void follow (int bank, int program);

    //==== selections the instrument reports ====
    struct Reported
    {
        int bank = -1, program = -1;
        bool compare = false, refresh = false;
    };
    /** MIDI thread: Bank Select (the controller of the bank-select type) and Program Change. */
    void onBankSelect (int channel, int value);
    void onProgramChange (int channel, int program);
    /** Timer tick: the selection the Global dump reported (if any), then the one a Program Change
        queued, each checked against the echo guard and applied. */
    void applyReportedSelection (std::optional<Reported> fromGlobal);
    /** Moves the selector to a reported selection; `compare` starts BANK SYNC of the bank, `refresh`
        asks for the edit buffer when the monitor shows MIDI. */
    void applySelection (int bank, int program, bool compare, bool refresh);
    /** Puts the selector back on the editor's own pick while the echo guard is in force. */
    void restoreAppSelection (const std::string& reason);
    /** A transfer's activation refresh: echoes of the step and target slot are expected until the
        target's echo or 4,500 ms. */
    void openActivationWindow (int bank, int stepSlot, int targetSlot);

    /** The bank's display name as last seen on the message thread; safe on any thread (the MIDI
        thread's log lines use it, and must not read the librarian's names while they change). */
    std::string bankName (int bank) const;
    /** Message thread: takes the current display names for `bankName`. */
    void refreshBankNames();
    /** Mode, bank select by the instrument's bank-select type, and Program Change on `channel`; no
        guard, no log (the activation refresh's own sends). */
    void sendSelectionMessages (int channel, bool programBank, int bankByte, int program);
    /** Forgets a selection the instrument reported and the editor has not applied yet. */
    void clearReported();
    int selectChannel (bool programBank) const { return programBank ? programChannel() : mixChannel(); }
    /** A selection label as log lines write it: bank display name and three-digit number. */
    std::string label (int bank, int program) const;

    /** Hooks to the sync: BANK SYNC of a bank, an edit-buffer refresh with its reason, the quiet
        window after the player selects a slot. */
    std::function<void (int bank)> startBankSync;
    std::function<void (const std::string& reason)> requestEditBufferRefresh;
    std::function<void()> startQuietWindow;

    /** Sends the current selection: mode, bank select by the instrument's bank-select type, Program Change. */
    void sendSelection (const std::string& source);

    /** The echo guard armed by the last selection sent. */
    bool guardInForce() const;
    int guardBank() const { return appBank.load(); }
    int guardProgram() const { return appProgram.load(); }

    std::string programNumberText() const;
    /** The selected bank as the bar shows it (its display name). */
    std::string bankText() const;
    /** The name field: the slot's name, or the notice that the mode is not known yet. */
    std::string patchNameText (bool diagnosticMode) const;
    /** Why the selected slot cannot be renamed now (the alert's text), or nothing. */
    std::optional<std::string> renameRefusal (bool diagnosticMode) const;
    std::string nameFieldTooltip (bool diagnosticMode) const;

    /** Asked before the player's own change of bank or Program is made (the unsaved-edits question);
        it runs the change, later or never. Unset, every change goes ahead. */
    std::function<void (std::function<void()> change)> confirmChange;

    /** Called after every change of bank or Program (library lookup, views). */
    std::function<void (int bank, int program)> onSelectionChanged;

private:
    void whenAllowed (std::function<void()> change);
    void changed();
    void playerSelectedSlot();
    void queueLog (const std::string& line) { engine.log().queueLine (line); }
    int programChannel() const;
    int mixChannel() const;
    bool isProgramSelectChannel (int channel) const;

    EditorEngine& engine;
    const Clock& clock;
    Settings settings;
    std::atomic<bool> modeKnown{ false };
    std::atomic<bool> appGuardActive{ false };
    std::atomic<int> appBank{ -1 }, appProgram{ -1 };
    std::atomic<double> appGuardExpiryMs{ 0.0 };
    std::atomic<int> activationBank{ -1 }, activationStepSlot{ -1 }, activationTargetSlot{ -1 };
    std::atomic<double> activationExpiryMs{ 0.0 };
    std::atomic<int> reportedBank{ -1 }, reportedProgram{ -1 };
    std::atomic<bool> reportedRefresh{ false };
    mutable std::mutex namesLock;
    std::array<std::string, numBanks> bankNames;
};

} // namespace orvo
