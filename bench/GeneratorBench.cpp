#include "tools/ProgramGenerator.h"

#include <benchmark/benchmark.h>

using namespace orvo;

// One bass Program drawn, repaired and converted to raw values, without applying or sending it.
// Budget: 1 ms median. Every recipe and the experimental paths are reached by moving seed and range.
static void GenerateOneBassProgram (benchmark::State& state)
{
    const double range = state.range (0) / 100.0;
    GeneratorSettings settings{ range, GeneratorSettings::Voice::either, true, true };
    std::int64_t seed = 1'765'000'000'000LL;
    for (auto _ : state)
    {
        auto program = ProgramGenerator::generateBass (seed++, settings, 1);
        benchmark::DoNotOptimize (program);
    }
    state.SetItemsProcessed (state.iterations());
    state.SetLabel ("Programs");
}
BENCHMARK (GenerateOneBassProgram)
    ->Arg (0)
    ->Arg (100)
    ->Repetitions (5)
    ->ReportAggregatesOnly (true)
    ->Unit (benchmark::kMicrosecond);
