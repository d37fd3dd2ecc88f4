#pragma once

#include "EditorEngine.h"
#include "library/AutoSaveTools.h"
#include "library/BankEnvironmentFlows.h"
#include "library/LibrarianAutoSaveHost.h"
#include "library/LibraryRoot.h"
#include "library/ProgramMixFlows.h"
#include "library/TagTable.h"
#include "library/WorkingEnvironment.h"

#include <functional>
#include <memory>

namespace orvo
{

/** The librarian: the library folder, the slot tables, the working environment, the SAVE/LOAD menu
    flows and Auto Save Tools. Its tick runs the debounced write-back and, once, the first index of
    the library (after the editor is on screen, so the first slot chosen answers at once). */
class LibrarianController
{
public:
    /** Ticks after start before the library is indexed: half a second at 30 Hz. */
    static constexpr int ticksBeforeLibraryScan = 15;

    /** Makes the library's folders and loads the working environment ("STARTUP: " lines time it from
        `startMs` on the engine's clock). */
    LibrarianController (EditorEngine& engine, LibrarianEditor& editor, EditorSettingsStore& settings, double startMs,
                         LibrarianLog log);

    LibraryRoot& library() { return *root; }
    LibrarianState& state() { return librarian; }
    WorkingEnvironment& workingEnvironment() { return *working; }
    ProgramMixFlows& programFlows() { return *programMix; }
    BankEnvironmentFlows& bankFlows() { return *bankEnvironment; }
    AutoSaveTools& autoSave() { return *autoSaveTools; }

    //==== menu commands ====
    void saveProgram() { programMix->saveProgram(); }
    void loadProgram()
    {
        whenAllowed ([this] { programMix->loadProgram(); });
    }
    /** A Program document picked from the library list: loaded as LOAD PROGRAM loads its file. */
    void loadProgramDocument (const juce::File& file)
    {
        whenAllowed ([this, file] { programMix->loadProgramFile (file); });
    }
    void saveMix() { programMix->saveMix(); }
    void loadMix() { programMix->loadMix(); }
    void saveBank() { bankEnvironment->saveBank(); }
    void loadBank() { bankEnvironment->loadBank(); }
    /** Ctrl+S / Ctrl+O: the selected slot's document, a Mix in a Mix bank, else a Program. */
    void saveSelected();
    void loadSelected();
    void setStorage (FileDialogs& dialogs);

    /** The tag association table, read afresh; a table that cannot be used is reported once in the
        log (until its problem changes) and the built-in default stands in. */
    TagTable tagTable();

    /** Asked before a Program is loaded over the editor's values (the unsaved-edits question); it
        runs the load, later or never. Unset, loads go ahead. */
    std::function<void (std::function<void()> load)> confirmLoad;

    /** Shows the state after a load, a sync or a library lookup; set by the view. */
    std::function<void()> refreshViews;

    void tick();

private:
    void whenAllowed (std::function<void()> load) { confirmLoad ? confirmLoad (std::move (load)) : load(); }

    EditorEngine& engine;
    LibrarianLog log;
    LibrarianState librarian;
    std::unique_ptr<LibraryRoot> root;
    std::unique_ptr<WorkingEnvironment> working;
    std::unique_ptr<BankEnvironmentFlows> bankEnvironment;
    std::unique_ptr<ProgramMixFlows> programMix;
    std::unique_ptr<LibrarianAutoSaveHost> autoSaveHost;
    std::unique_ptr<AutoSaveTools> autoSaveTools;
    int ticksUntilLibraryScan = ticksBeforeLibraryScan;
    std::string lastTagTableProblem;
};

} // namespace orvo
