#include "engine/HeadlessEditor.h"

#include <benchmark/benchmark.h>

using namespace orvo;

// COMPARE's A/B toggle between two Programs that differ in every catalogue row: from the click until
// every NRPN has been handed to the output (the undo step it records included).
static void CompareToggleEveryRowDiffers (benchmark::State& state)
{
    auto editor = makeHeadlessEditor();
    editor->connect (false);
    editor->settle (5);
    auto& session = editor->session();
    std::array<int, ParameterCatalogue::numRows> rows{};
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        rows[(size_t)r] = editor->engine().value (r) == info.rawMin ? info.rawMax : info.rawMin;
    }
    session.compare().start (ProgramSnapshot::of (rows, session.effects().page(), editor->engine().modulation()), "B");
    int changed = 0;
    for (auto _ : state)
    {
        changed = session.compare().toggle();
        state.PauseTiming();
        editor->settle (1); // the instrument's echoes are taken between clicks
        state.ResumeTiming();
    }
    state.counters["valuesPerToggle"] = changed;
}
BENCHMARK (CompareToggleEveryRowDiffers)->Unit (benchmark::kMillisecond);
