#include "EditorSession.h"

#include "EditorSettingsBinding.h"

namespace orvo
{

EditorSession::EditorSession (Platform platform)
    : io (platform), startMs (platform.clock.nowMs()),
      editor (std::make_unique<EditorEngine> (EditorEngine::Services{
          platform.clock, platform.scheduler, platform.prompts, platform.fileDialogs, platform.clipboard })),
      devices (platform.hardwareMidi, instrument)
{
    // Lines logged before the log is shown wait in a start-up buffer.
    const LibrarianLog log = [this] (const std::string& line)
    {
        if (startupDone)
            editor->log().append (line);
        else
            startupLog += line;
    };
    settings = io.settingsFolder == juce::File() ? std::make_unique<EditorSettingsStore> (log)
                                                 : std::make_unique<EditorSettingsStore> (io.settingsFolder, log);
    loadEditorSettings (*settings, editor->settings());
    // The MONITOR's switches start as the player left them.
    editor->log().midiInputMonitor.store (editor->settings().midiInputMonitor);
    editor->log().midiOutputMonitor.store (editor->settings().midiOutputMonitor);
    connection = std::make_unique<MidiConnection> (*editor, devices);
    connection->onRememberedPortsChanged = [this] { saveRememberedPorts (*settings, editor->settings()); };

    effectsController = std::make_unique<EffectsController> (*editor);
    librarianLink = std::make_unique<LibrarianEditorLink> (*editor, *effectsController);
    librarianController = std::make_unique<LibrarianController> (*editor, *librarianLink, *settings, startMs, log);
    auto& state = librarianController->state();
    auto& flows = librarianController->programFlows();
    syncController = std::make_unique<SyncController> (
        *editor, [&state] (int bank) { return state.bankDisplayName (bank); },
        [&state] (int bank, int slot) { return state.names.name (bank, slot); });
    bankSyncController = std::make_unique<BankSyncController> (*editor, syncController->sync(), *librarianController,
                                                               syncController->selector());
    bankSyncController->refreshViews = [this]
    {
        if (librarianController->refreshViews)
            librarianController->refreshViews();
    };
    mixController = std::make_unique<MixController> (
        *editor, syncController->sync(), [&state] (int bank, int slot) { return state.names.name (bank, slot); });
    connection->onInitialSync = [this] { syncController->startProgramSync(); };
    connection->onModeUnknown = [this] { syncController->selector().setModeKnown (false); };
    syncController->onProgramApplied =
        [this, &flows] (const DecodedProgramValues& values, const UnpackedProgram& unpacked, const ByteVector& dump)
    {
        effectsController->applyProgram (values, unpacked);
        flows.programSyncApplied (dump);
    };
    syncController->selector().onSelectionChanged = [&flows] (int bank, int slot)
    { flows.selectionChanged (bank, slot); };

    auto& mix = mixController->settings();
    mix.onReadEnded = [&flows] (bool gotPayload)
    {
        if (flows.isMixSavePending())
            flows.mixReadEnded (gotPayload);
    };
    flows.startMixRead = [&mix] { mix.readCurrentMix (false); };
    flows.cachedMixPayload = [&mix]() -> const CachedMixPayload& { return mix.cachedPayload(); };
    flows.showMixPayload = [&mix] (const MixPayload& payload, int bank, int slot, const std::string& title)
    { return mix.decodeMixPayload (payload, bank, slot, title); };
    flows.programDumpApplied = [this] (const DecodedProgramValues& values, const UnpackedProgram& unpacked,
                                       const ByteVector&) { effectsController->applyProgram (values, unpacked); };

    unsavedGuard = std::make_unique<UnsavedChangesGuard> (*editor, flows);
    syncController->selector().confirmChange = [this] (std::function<void()> change)
    { unsavedGuard->confirm ("changing the Program", std::move (change)); };
    librarianController->confirmLoad = [this] (std::function<void()> load)
    { unsavedGuard->confirm ("loading over it", std::move (load)); };

    // The working environment remembers the last selection; the editor starts on it.
    editor->setSelection (state.selectedBank, state.selectedSlot);
    editor->applySettingsAtStart();
}

EditorSession::~EditorSession()
{
    connection->closeAll();
}

void EditorSession::finishStartup()
{
    editor->log().append (startupLog);
    startupLog.clear();
    startupDone = true;
}

EditorSession::TickReport EditorSession::tick()
{
    TickReport report;
    editor->reportWindowSize();
    syncController->tick();
    bankSyncController->tick();
    // A selection made behind the selector's back (a restored editor state) still reaches the librarian.
    auto& state = librarianController->state();
    if (state.selectedBank != editor->selectedBank() || state.selectedSlot != editor->selectedProgram())
        librarianController->programFlows().selectionChanged (editor->selectedBank(), editor->selectedProgram());
    report.rows = editor->tick();
    report.effects = effectsController->tick();
    mixController->tick();
    librarianController->tick();
    return report;
}

} // namespace orvo
