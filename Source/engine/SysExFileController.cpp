#include "SysExFileController.h"

#include "library/TagTable.h"

#include <memory>

namespace orvo
{

SysExFileController::SysExFileController (EditorEngine& engine, LibrarianController& librarian, SyncEngine& sync)
{
    auto& io = engine.services();
    const auto log = [&engine] (const std::string& line) { engine.log().append (line); };
    auto& flows = librarian.programFlows();

    importer = std::make_unique<SysExImportFlow> (librarian.library(), io.fileDialogs, io.prompts, io.clock, log);
    importer->programWritten = [&flows] (const juce::File& file) { flows.libraryIndex().noteFileChanged (file); };
    // Known Programs come in with the tags the player's table gives them; the table is read again
    // only when its file changed, so a split of a bank does not parse it 128 times.
    importer->tagsFor = [&librarian, cache = std::make_shared<std::pair<juce::Time, TagTable>>()] (const ImportedProgram& p)
    {
        const auto stamp = librarian.library().tagTableFile().getLastModificationTime();
        if (stamp != cache->first || stamp == juce::Time())
            *cache = { stamp, librarian.tagTable() };
        return cache->second.records.empty() ? std::vector<std::string>() : cache->second.tagsFor (computeProgramDigests (p.message));
    };
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
