#pragma once

#include "BankSyncController.h"
#include "CompareController.h"
#include "EditHistory.h"
#include "DependentDisplays.h"
#include "EditorEngine.h"
#include "EffectsController.h"
#include "EffectsReadback.h"
#include "GeneratorController.h"
#include "LibrarianController.h"
#include "LibrarianEditorLink.h"
#include "MidiConnection.h"
#include "MixController.h"
#include "ProgramFinder.h"
#include "TransferController.h"
#include "SyncController.h"
#include "SysExFileController.h"
#include "ToolsController.h"
#include "UnsavedChangesGuard.h"
#include "UserPresetController.h"
#include "WedgePresetController.h"
#include "instrument/VirtualController.h"
#include "instrument/VirtualOrvo.h"
#include "library/EditorSettingsStore.h"

#include <memory>
#include <string>

namespace orvo
{

/** The whole editor without its window: the engine and every feature controller, wired once. The
    window and the headless factory both build one; the view only lays out, routes commands and shows
    what `tick` reports.

    The timer tick runs the controllers in this order, and the order is behaviour:
      0. the window-size report;
      1. sync and selection: the selection the instrument reported is followed, then the sync's step
         applies a received Program (so it is stored under that selection) and checks time-outs;
         then the bank modes: claimed dumps are cached, names compared, the next bank requested;
         then a transfer's read-back is compared with what was sent;
      2. the performance tools: a changed slot brings its tool data, queued controller messages are
         learned or applied, macros follow their targets;
      3. the engine: the selection-settle countdown, pending row values, highlights;
      4. effects and routes: the NRPNs without a row that the MIDI thread queued;
      5. Mix settings: the Mix dumps the MIDI thread queued;
      6. the dependent displays, once, when a row or a route changed;
      7. the log lines other threads queued;
      8. the librarian: Auto Save Tools' debounced write-back, then the first library index;
      9. compare and undo: a tool's changes made during the tick become a step, or the instrument's
         changes are taken without one (the player's changes made between ticks were recorded before
         step 0);
     10. "Last NRPN". */
class EditorSession
{
public:
    struct Platform
    {
        Clock& clock;
        Scheduler& scheduler;
        Prompts& prompts;
        FileDialogs& fileDialogs;
        Clipboard& clipboard;
        /** The system's MIDI devices; null for the Virtual Orvo alone. */
        MidiDevices* hardwareMidi = nullptr;
        /** The settings folder; empty for the per-user settings file. */
        juce::File settingsFolder;
    };

    explicit EditorSession (Platform platform);
    ~EditorSession();

    EditorEngine& engine() { return *editor; }
    VirtualOrvo& virtualOrvo() { return instrument; }
    VirtualController& virtualController() { return controllerDevice; }
    MidiConnection& midi() { return *connection; }
    EditorSettingsStore& settingsStore() { return *settings; }
    SyncController& sync() { return *syncController; }
    BankSyncController& bankSync() { return *bankSyncController; }
    TransferController& transfers() { return *transferController; }
    LibrarianController& librarian() { return *librarianController; }
    MixController& mix() { return *mixController; }
    EffectsController& effects() { return *effectsController; }
    UnsavedChangesGuard& unsavedChanges() { return *unsavedGuard; }
    WedgePresetController& wedge() { return *wedgeController; }
    EffectsReadback& effectsReadback() { return *readback; }
    UserPresetController& userPresets() { return *userPresetController; }
    GeneratorController& generator() { return *generatorController; }
    ToolsController& tools() { return *toolsController; }
    ProgramFinder& finder() { return *programFinder; }
    EditHistory& history() { return *editHistory; }
    CompareController& compare() { return *compareController; }
    DependentDisplays& displays() { return *dependentDisplays; }
    SysExFileController& sysExFiles() { return *sysExFileController; }

    /** When the session began to be built, on its clock. */
    double startedAtMs() const { return startMs; }
    /** Lines logged while the session was being built; call once the log is shown. */
    void finishStartup();

    struct TickReport
    {
        EditorEngine::TickReport rows;
        EffectsController::TickReport effects;
        /** Dependent displays whose drawing changed, as DependentDisplays bits. */
        unsigned displaysChanged = 0;
    };
    TickReport tick();

private:
    Platform io;
    double startMs = 0.0;
    std::string startupLog;
    bool startupDone = false;
    std::unique_ptr<EditorEngine> editor;
    VirtualOrvo instrument;
    VirtualController controllerDevice;
    VirtualControllerMidiDevices controllerDevices;
    VirtualOrvoMidiDevices devices;
    std::unique_ptr<MidiConnection> connection;
    std::unique_ptr<EditorSettingsStore> settings;
    std::unique_ptr<EffectsController> effectsController;
    std::unique_ptr<LibrarianEditorLink> librarianLink;
    std::unique_ptr<LibrarianController> librarianController;
    std::unique_ptr<SyncController> syncController;
    std::unique_ptr<BankSyncController> bankSyncController;
    std::unique_ptr<TransferController> transferController;
    std::unique_ptr<MixController> mixController;
    std::unique_ptr<UnsavedChangesGuard> unsavedGuard;
    std::unique_ptr<EffectsReadback> readback;
    std::unique_ptr<WedgePresetController> wedgeController;
    std::unique_ptr<UserPresetStore> userPresetStore;
    std::unique_ptr<UserPresetController> userPresetController;
    std::unique_ptr<GeneratorController> generatorController;
    std::unique_ptr<ToolsController> toolsController;
    std::unique_ptr<ProgramFinder> programFinder;
    std::unique_ptr<ProgramEdits> programEdits;
    std::unique_ptr<EditHistory> editHistory;
    std::unique_ptr<CompareController> compareController;
    std::unique_ptr<DependentDisplays> dependentDisplays;
    std::unique_ptr<SysExFileController> sysExFileController;
};

} // namespace orvo
