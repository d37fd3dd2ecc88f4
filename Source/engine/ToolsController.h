#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "library/LibrarianState.h"
#include "library/SidebarSettings.h"
#include "tools/ControllerDecoder.h"
#include "tools/Macros.h"
#include "tools/MidiControlMap.h"
#include "tools/MorphKnob.h"

#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace orvo
{
class AutoSaveTools;

/** The performance tools of the current Program: the morph knob, the macros, the controller mapping
    and the slot's notes. Controller messages are decoded on the MIDI thread, queued under the input
    lock and applied on the message thread, either at once (when the view wakes it) or on the tick. */
class ToolsController final : private ToolHost
{
public:
    ToolsController (EditorEngine& engine, EffectsController& effects, LibrarianState& state, AutoSaveTools& autoSave);
    static constexpr size_t inputQueueLimit = 4096;
    ~ToolsController() override;

    MorphKnob& morph() { return morphKnob; }
    Macros& macros() { return macroKnobs; }
    MidiControlMap& mapping() { return controlMap; }

    /** Takes queued controller messages, learns or applies them; then follows the selection and the
        values the tools mirror. Part of the session's tick. */
    void tick();
    /** Applies the queued controller messages now (message thread). */
    void processControllerInput();
    /** Called on the MIDI thread after a message was queued, so the view can wake the message thread. */
    std::function<void()> onControllerInput;

    //==== targets ====
    struct Target
    {
        enum Kind
        {
            none,
            row,
            interfaceControl,
            effect,
            route,
            morphKnob,
            macro
        } kind = none;
        int index = -1; // the row, the NRPN, or the macro 0..7
        std::string id, name;
    };
    Target resolve (const std::string& targetId) const;
    /** The target MIDI CONTROL learns for: the last control or tool knob the player chose. */
    const std::string& selectedTarget() const { return target; }
    void selectTarget (const std::string& targetId);
    /** The player chose a control on a page: assigning tools take it, and it becomes the target. */
    void controlChosen (const std::string& targetId);

    //==== MIDI CONTROL ====
    bool assign (const std::string& targetId, const MidiControlInput& input);
    void clearAssignment (const std::string& targetId);
    void setLearning (bool on);
    bool learning() const { return learn.load(); }
    /** "MIDI CONTROL: CC 7-BIT / ALL / CC 74" or "MIDI CONTROL: -". */
    std::string assignmentText (const std::string& targetId) const;
    /** Decode mode and listen channel of the controller input, from the settings. */
    void controllerSettingsChanged();

    //==== morph and macros ====
    std::vector<MorphCandidate> randomiseCandidates() const;
    void randomiseMorph() { morphKnob.randomise (randomiseCandidates()); }
    /** Replaces the random source (tests); unset, the system's generator is used. */
    std::function<int (int n)> random;

    //==== notes ====
    std::string notes() const;
    void setNotes (const std::string& text);

    //==== tool data and the sidebar clipboard ====
    /** The tool data object of the current Program: built from the live tools when they hold
        anything, else the slot's stored object. */
    juce::var toolData() const;
    /** Replaces the live tools from a tool data object; nothing is sent. */
    void applyToolData (const juce::var& object);
    void copySidebarSettings();
    void pasteSidebarSettings();
    /** The sidebar tool copy and paste act on, or -1 (top pane first). */
    int clipboardPage() const;
    /** The clipboard holds settings of the tool `clipboardPage` names. */
    bool canPasteSidebarSettings() const;

    /** Changes since the view last asked (tool state, notes). */
    bool takeChanged() { return std::exchange (changed, false); }

private:
    // ToolHost
    int rowValue (int row) const override { return engine.value (row); }
    void editRow (int row, int raw) override;
    void editInterface (int nrpn, int value, const std::string& actionLabel) override;
    void log (const std::string& line) override { engine.log().append (line); }
    void recordChange (const std::string& what) override;
    int randomBelow (int n) override;

    void queue (const ControllerMessage& message);
    void applyPosition (const std::string& targetId, double t);
    void followSelection();
    void storeToolData();
    void storeToolData (int bank, int slot);
    bool liveToolsHoldAnything() const;

    EditorEngine& engine;
    EffectsController& effects;
    LibrarianState& state;
    AutoSaveTools& autoSave;
    MorphKnob morphKnob;
    Macros macroKnobs;
    MidiControlMap controlMap;

    ControllerDecoder decoder; // MIDI thread only
    std::mutex inputLock;
    std::vector<ControllerMessage> pending, working;
    std::atomic<bool> learn{ false };
    std::string target;

    int decodeMode = -1, listenChannel = -1;
    int shownBank = -1, shownSlot = -1;
    juce::var shownToolData;
    int seenRow = -1, seenInterface = -1;
    std::vector<int> mirroredValues;
    bool changed = false;
};

} // namespace orvo
