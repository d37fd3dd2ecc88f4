#include "SysExFileController.h"

namespace orvo
{

SysExFileController::SysExFileController (EditorEngine& engine, LibrarianController& librarian, SyncEngine& sync)
{
    auto& io = engine.services();
    const auto log = [&engine] (const std::string& line) { engine.log().append (line); };
    auto& flows = librarian.programFlows();

    importer = std::make_unique<SysExImportFlow> (librarian.library(), io.fileDialogs, io.prompts, io.clock, log);
    importer->programWritten = [&flows] (const juce::File& file) { flows.libraryIndex().noteFileChanged (file); };
    importer->loadTagTable = [&flows]
    {
        if (flows.loadTagTable)
            flows.loadTagTable();
    };

    exporter = std::make_unique<SysExExportFlow> (librarian.state(), librarian.library(), io.fileDialogs, io.prompts,
                                                  io.scheduler, log);
    exporter->cachedProgramSysEx = [&flows] (int bank, int slot) { return flows.cachedProgramSysEx (bank, slot); };
    exporter->editorValue = [&engine] (int row) { return engine.value (row); };
    exporter->midiOutputOpen = [&engine] { return engine.hasOutput(); };
    exporter->programRequestInFlight = [&sync]
    {
        const int stage = sync.stage();
        return sync.isRefreshPending() || (sync.isActive() && (stage == SyncEngine::waitingForGlobal ||
                                                               stage == SyncEngine::waitingForEditBuffer));
    };
    exporter->requestEditBuffer = [&sync] { sync.requestEditBufferRefresh ("for the SysEx export"); };
    exporter->abandonEditBufferRequest = [&sync] { sync.clearEditBufferRefresh(); };
    exporter->replyTimeoutMs = SyncEngine::replyTimeoutMs;
    sync.onEditBufferReply = [this] (const ByteVector& dump, bool mapped)
    { exporter->editBufferReplied (dump, mapped); };
}

} // namespace orvo
