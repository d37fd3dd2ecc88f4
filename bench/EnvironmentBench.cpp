#include "library/EditorSettingsStore.h"
#include "library/JsonText.h"
#include "library/LibraryRoot.h"
#include "library/ProgramDocument.h"
#include "library/WorkingEnvironment.h"
#include "model/ParameterCatalogue.h"
#include "platform/Clock.h"

#include "BenchLibrary.h"

#include <benchmark/benchmark.h>

namespace
{

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
        orvo::bench::fillLibrarian (state, bench.range (0) != 0);
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
    orvo::bench::fillLibrarian (state, true);
    std::string text;
    for (auto _ : bench)
        orvo::writeEnvironmentText (state, text, true);
    bench.counters["bytes"] = (double)text.size();
}
BENCHMARK (environmentTextStreamedFromTheState)->Unit (benchmark::kMillisecond);

void environmentBuiltAsVarTree (benchmark::State& bench)
{
    orvo::LibrarianState state;
    orvo::bench::fillLibrarian (state, true);
    for (auto _ : bench)
        benchmark::DoNotOptimize (orvo::buildEnvironmentDocument (state));
}
BENCHMARK (environmentBuiltAsVarTree)->Unit (benchmark::kMillisecond);

void environmentVarTreeWrittenByOurWriter (benchmark::State& bench)
{
    orvo::LibrarianState state;
    orvo::bench::fillLibrarian (state, true);
    const auto document = orvo::buildEnvironmentDocument (state);
    for (auto _ : bench)
        benchmark::DoNotOptimize (orvo::toJsonText (document, true));
}
BENCHMARK (environmentVarTreeWrittenByOurWriter)->Unit (benchmark::kMillisecond);

void environmentVarTreeWrittenByJucesWriter (benchmark::State& bench)
{
    orvo::LibrarianState state;
    orvo::bench::fillLibrarian (state, true);
    const auto document = orvo::buildEnvironmentDocument (state);
    for (auto _ : bench)
        benchmark::DoNotOptimize (juce::JSON::toString (document, true));
}
BENCHMARK (environmentVarTreeWrittenByJucesWriter)->Unit (benchmark::kMillisecond);

} // namespace
