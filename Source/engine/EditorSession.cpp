#include "EditorSession.h"

#include "EditorSettingsBinding.h"

namespace orvo
{

EditorSession::EditorSession (Platform platform)
    : io (platform), startMs (platform.clock.nowMs()),
      editor (std::make_unique<EditorEngine> (EditorEngine::Services{
          platform.clock, platform.scheduler, platform.prompts, platform.fileDialogs, platform.clipboard })),
      controllerDevices (platform.hardwareMidi, controllerDevice), devices (&controllerDevices, instrument)
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
    transferController = std::make_unique<TransferController> (*editor, syncController->sync(),
                                                               syncController->selector(), *librarianController);
    syncController->sync().onEditBufferArrived = [this] (const ByteVector& dump) { transferController->editBufferArrived (dump); };
    flows.sendLoadedProgram = [this] { transferController->sendLoadedProgram(); };
    flows.sendEditorValues = [this] { editor->transferCurrentMidi(); };
    librarianController->bankFlows().startBankTransfer =
        [this] (int bank, const std::vector<std::pair<int, ByteVector>>& dumps)
    { transferController->startBankTransfer (bank, dumps); };
    mixController = std::make_unique<MixController> (
        *editor, syncController->sync(), [&state] (int bank, int slot) { return state.names.name (bank, slot); });
    connection->onInitialSync = [this] { syncController->startProgramSync(); };
    connection->onModeUnknown = [this] { syncController->selector().setModeKnown (false); };
    syncController->onProgramApplied =
        [this, &flows] (const DecodedProgramValues& values, const UnpackedProgram& unpacked, const ByteVector& dump)
    {
        // A Program read from the instrument is no undo step, and the next edit starts a new one.
        editHistory->seal();
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

    programFinder = std::make_unique<ProgramFinder> (*librarianController, syncController->selector(), io.prompts, log);

    unsavedGuard = std::make_unique<UnsavedChangesGuard> (*editor, flows);
    syncController->selector().confirmChange = [this] (std::function<void()> change)
    { unsavedGuard->confirm ("changing the Program", std::move (change)); };
    librarianController->confirmLoad = [this] (std::function<void()> load)
    {
        unsavedGuard->confirm ("loading over it",
                               [this, load = std::move (load)]
                               {
                                   editor->notePlayerChange ("LOAD PROGRAM", true);
                                   load();
                               });
    };

    // The readback asks for the edit buffer through selection tracking's refresh, and waits while
    // Program data is busy or a sync runs.
    auto& sync = syncController->sync();
    ProgramDataRequests requests;
    requests.isProgramDataBusy = [&sync] { return sync.isProgramDataBusy() || sync.isActive(); };
    requests.requestEditBufferRefresh = [&sync] (const std::string& reason, int)
    { sync.requestEditBufferRefresh (reason, 0); };
    requests.clearEditBufferRefresh = [&sync] { sync.clearEditBufferRefresh(); };
    readback = std::make_unique<EffectsReadback> (*editor, *effectsController, requests);
    sync.onEffectsReadback = [this] (const DecodedProgramValues&, const UnpackedProgram& unpacked, int)
    { readback->replyReceived (unpacked.empty() ? std::nullopt : std::optional<UnpackedProgram> (unpacked)); };
    wedgeController = std::make_unique<WedgePresetController> (
        *editor, *effectsController,
        WedgePresetController::Assignments{
            [&state] (int bank, int slot) { return state.slot (bank, slot).wedgePreset; },
            [&state] (int bank, int slot, const juce::var& a) { state.slot (bank, slot).wedgePreset = a; } });
    effectsController->onInstrumentEffectNrpn = [this] (int nrpn, int, bool algorithmChanged)
    {
        wedgeController->instrumentChangedEffect (nrpn);
        if (nrpn == effects::selectionNrpn && algorithmChanged)
            readback->start (effectsController->page().algorithm());
    };

    userPresetStore = std::make_unique<UserPresetStore> (*settings, settings->settingsFolder(), factoryUserPresets);
    userPresetController =
        std::make_unique<UserPresetController> (*editor, *effectsController, *wedgeController, *userPresetStore);
    GeneratorController::Hooks generatorHooks;
    generatorHooks.feedbackFolder = [this]
    { return librarianController->library().generatorIntakeFolder().getChildFile ("GenerationFeedback").getChildFile ("Bass"); };
    generatorHooks.slotName = [this] (int bank, int slot) { return librarianController->state().names.name (bank, slot); };
    generatorController = std::make_unique<GeneratorController> (*editor, *effectsController, std::move (generatorHooks));
    toolsController = std::make_unique<ToolsController> (*editor, *effectsController, state,
                                                         librarianController->autoSave());

    dependentDisplays = std::make_unique<DependentDisplays> (*editor);
    editor->onDisplayedValueEdited = [this] { dependentDisplays->refresh(); };
    sysExFileController = std::make_unique<SysExFileController> (*editor, *librarianController, sync);

    // The working environment remembers the last selection; the editor starts on it.
    editor->setSelection (state.selectedBank, state.selectedSlot);
    editor->applySettingsAtStart();

    programEdits = std::make_unique<ProgramEdits> (*editor, *effectsController);
    editHistory = std::make_unique<EditHistory> (*programEdits, io.clock,
                                                 [this] (const std::string& line) { editor->log().append (line); });
    editHistory->setSlot (editor->selectedBank(), editor->selectedProgram());
    editor->onPlayerChange = [this] (const std::string& what, bool overrides)
    { editHistory->notePlayerChange (what, overrides); };
    compareController =
        std::make_unique<CompareController> (*editor, *programEdits, *editHistory, syncController->sync());
}

EditorSession::~EditorSession()
{
    editor->onPlayerChange = nullptr;
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
    editHistory->setSlot (editor->selectedBank(), editor->selectedProgram());
    editHistory->record();
    editor->reportWindowSize();
    syncController->tick();
    bankSyncController->tick();
    transferController->verifyWrites = editor->settings().verifyTransfers;
    transferController->tick();
    // A selection made behind the selector's back (a restored editor state) still reaches the librarian.
    auto& state = librarianController->state();
    if (state.selectedBank != editor->selectedBank() || state.selectedSlot != editor->selectedProgram())
        librarianController->programFlows().selectionChanged (editor->selectedBank(), editor->selectedProgram());
    toolsController->tick();
    report.rows = editor->tickRows();
    report.effects = effectsController->tick();
    mixController->tick();
    if (report.rows.anyRowChanged || ! report.effects.changedRoutes.empty())
        dependentDisplays->refresh();
    report.displaysChanged = dependentDisplays->takeChanged();
    editor->drainLog();
    librarianController->tick();
    compareController->tick();
    editHistory->setSlot (editor->selectedBank(), editor->selectedProgram());
    editHistory->endOfTick (report.rows.anyRowChanged || report.effects.effectsChanged ||
                            !report.effects.changedRoutes.empty());
    editor->tickLastNrpn (report.rows);
    return report;
}

} // namespace orvo
