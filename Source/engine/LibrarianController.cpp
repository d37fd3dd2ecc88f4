#include "LibrarianController.h"

#include <juce_core/juce_core.h>

namespace orvo
{

LibrarianController::LibrarianController (EditorEngine& e, LibrarianEditor& editor, EditorSettingsStore& settings,
                                          double startMs, LibrarianLog l)
    : engine (e), log (std::move (l))
{
    auto& io = engine.services();
    root = std::make_unique<LibraryRoot> (settings, log);
    root->ensureLibraryFolders();
    working = std::make_unique<WorkingEnvironment> (librarian, *root, io.clock, log);
    working->loadAtStartup (io.clock.nowMs() - startMs);
    bankEnvironment =
        std::make_unique<BankEnvironmentFlows> (librarian, *root, *working, io.fileDialogs, io.prompts, io.clock, log);
    bankEnvironment->midiOutputOpen = [this] { return engine.hasOutput(); };
    programMix = std::make_unique<ProgramMixFlows> (editor, librarian, *root, *working, io.fileDialogs, io.prompts,
                                                    io.clock, log);
    autoSaveHost =
        std::make_unique<LibrarianAutoSaveHost> (librarian, [this] { return engine.settings().autoSaveTools; });
    autoSaveTools = std::make_unique<AutoSaveTools> (io.clock, *autoSaveHost, log);

    working->refreshCurrentSnapshot = [this] { programMix->refreshCurrentSnapshot(); };
    bankEnvironment->refreshCurrentSnapshot = working->refreshCurrentSnapshot;
    // A name the instrument changed goes back into the slot's documents too.
    programMix->slotRenamed = [this] (int bank, int slot) { autoSaveTools->markSlotDirty (bank, slot); };
    programMix->refreshViews = [this]
    {
        if (refreshViews)
            refreshViews();
    };
    bankEnvironment->refreshViews = programMix->refreshViews;
    programMix->loadTagTable = [this] { (void)tagTable(); };
    bankEnvironment->loadTagTable = programMix->loadTagTable;
}

TagTable LibrarianController::tagTable()
{
    auto table = loadTagTable (root->tagTableFile());
    const auto problem = table.error.empty() ? std::string() : root->tagTableFile().getFullPathName().toStdString() + ": " + table.error;
    if (problem != lastTagTableProblem && !problem.empty())
        log ("Tag association table " + problem + " Using the built-in default table.\n");
    lastTagTableProblem = problem;
    return table;
}

void LibrarianController::saveSelected()
{
    engine.selectedBank() >= 3 ? programMix->saveMix() : programMix->saveProgram();
}

void LibrarianController::loadSelected()
{
    engine.selectedBank() >= 3 ? loadMix() : loadProgram();
}

void LibrarianController::setStorage (FileDialogs& dialogs)
{
    root->chooseLibraryRoot (dialogs, [this] { root->ensureLibraryFolders(); });
}

void LibrarianController::tick()
{
    working->flushSelectionSave();
    autoSaveTools->tick();
    if (ticksUntilLibraryScan > 0 && --ticksUntilLibraryScan == 0)
    {
        auto& clock = engine.services().clock;
        const double before = clock.nowMs();
        programMix->libraryIndex().refresh();
        engine.log().append ("STARTUP: indexed " + std::to_string (programMix->libraryIndex().documentCount()) +
                             " Program documents of the library in " +
                             juce::String (clock.nowMs() - before, 1).toStdString() + " ms.\n");
    }
}

} // namespace orvo
