#include "library/EditorSettingsStore.h"
#include "library/JsonText.h"
#include "library/LibraryRoot.h"
#include "library/ProgramDocument.h"
#include "library/WorkingEnvironment.h"
#include "model/ParameterCatalogue.h"
#include "platform/Clock.h"

#include <benchmark/benchmark.h>

namespace
{

orvo::ByteVector makeDump (int bank, int slot)
{
    orvo::UnpackedProgram program (orvo::sysex::programUnpackedLength);
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) ((i * 31 + (size_t)(bank * 128 + slot) * 17) & 0xFF);
    program[0] = 166;
    program[1] = 10;
    return orvo::buildProgramDump (program, orvo::sysex::opStoredProgram, bank, slot);
}

/** The editor's "parameters" array as it takes it: every catalogue row with its page and section. */
juce::var makeSnapshot (int seed)
{
    std::vector<orvo::ParameterEntry> entries;
    for (int r = 0; r < orvo::ParameterCatalogue::numRows; ++r)
    {
        const auto& info = orvo::ParameterCatalogue::row (r);
        entries.push_back (
            { info.id, (seed * 7 + r) % 4096, orvo::ParameterCatalogue::pageGroupName (info.group), info.section });
    }
    return orvo::parameterEntriesToVar (entries);
}

/** A full editor: every slot named, tagged and annotated, every Program slot with its cached dump;
    `withSnapshots` adds a 233-value parameter snapshot to every slot as well. */
void fill (orvo::LibrarianState& state, bool withSnapshots)
{
    for (int bank = 0; bank < orvo::LibrarianState::numBanks; ++bank)
        for (int slot = 0; slot < orvo::LibrarianState::numSlots; ++slot)
        {
            state.names.setName (bank, slot, "Program " + std::to_string (bank) + "-" + std::to_string (slot));
            auto& s = state.slot (bank, slot);
            s.notes = "Played at the rehearsal, needs a brighter filter";
            s.tags = { "bass", "dark", "mono" };
            if (orvo::LibrarianState::isProgramBank (bank))
                s.programSysEx = makeDump (bank, slot);
            if (withSnapshots)
                s.parameters = makeSnapshot (slot);
        }
}

// What every librarian change costs: the whole working environment rebuilt and written atomically.
void rewriteWorkingEnvironment (benchmark::State& bench)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                            .getNonexistentChildFile ("orvo-env-bench", "", false);
    folder.createDirectory();
    {
        orvo::EditorSettingsStore settings (folder.getChildFile ("Settings"));
        orvo::LibraryRoot library (settings, {});
        orvo::VirtualTime time;
        orvo::LibrarianState state;
        fill (state, bench.range (0) != 0);
        orvo::WorkingEnvironment working (state, library, time, {});

        for (auto _ : bench)
            if (!working.save())
                bench.SkipWithError ("the working environment could not be written");
        bench.counters["bytes"] = (double)working.file().getSize();
    }
    folder.deleteRecursively();
}
BENCHMARK (rewriteWorkingEnvironment)->Arg (0)->Arg (1)->ArgName ("snapshots")->Unit (benchmark::kMillisecond);

// The parts of a rewrite, with every slot's snapshot: the text alone as the rewrite makes it, and, to
// compare, the document built as a juce::var tree and written by JUCE's writer and by ours.
void environmentTextStreamedFromTheState (benchmark::State& bench)
{
    orvo::LibrarianState state;
    fill (state, true);
    std::string text;
    for (auto _ : bench)
        orvo::writeEnvironmentText (state, text, true);
    bench.counters["bytes"] = (double)text.size();
}
BENCHMARK (environmentTextStreamedFromTheState)->Unit (benchmark::kMillisecond);

void environmentBuiltAsVarTree (benchmark::State& bench)
{
    orvo::LibrarianState state;
    fill (state, true);
    for (auto _ : bench)
        benchmark::DoNotOptimize (orvo::buildEnvironmentDocument (state));
}
BENCHMARK (environmentBuiltAsVarTree)->Unit (benchmark::kMillisecond);

void environmentVarTreeWrittenByOurWriter (benchmark::State& bench)
{
    orvo::LibrarianState state;
    fill (state, true);
    const auto document = orvo::buildEnvironmentDocument (state);
    for (auto _ : bench)
        benchmark::DoNotOptimize (orvo::toJsonText (document, true));
}
BENCHMARK (environmentVarTreeWrittenByOurWriter)->Unit (benchmark::kMillisecond);

void environmentVarTreeWrittenByJucesWriter (benchmark::State& bench)
{
    orvo::LibrarianState state;
    fill (state, true);
    const auto document = orvo::buildEnvironmentDocument (state);
    for (auto _ : bench)
        benchmark::DoNotOptimize (juce::JSON::toString (document, true));
}
BENCHMARK (environmentVarTreeWrittenByJucesWriter)->Unit (benchmark::kMillisecond);

} // namespace
