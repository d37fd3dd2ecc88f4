#include "library/EnvironmentDocument.h"
#include "library/JsonText.h"
#include "library/LibrarianState.h"
#include "library/ProgramDocument.h"
#include "model/ParameterCatalogue.h"

#include "BenchLibrary.h"

#include <benchmark/benchmark.h>

// The working environment the editor reads at start-up, full (every slot with its dump and a parameter
// snapshot, about 15 MB), read by the document reader and by juce::JSON::parse for comparison.
namespace
{
const std::string& environmentText()
{
    static const std::string text = []
    {
        orvo::LibrarianState state;
        orvo::bench::fillLibrarian (state, true);
        std::string out;
        orvo::writeEnvironmentText (state, out, true);
        return out;
    }();
    return text;
}

void readWorkingEnvironmentWithDocumentReader (benchmark::State& s)
{
    const auto& text = environmentText();
    for (auto _ : s)
    {
        // Freeing the previous tree costs the same whichever reader built it; it is left out.
        s.PauseTiming();
        juce::var parsed;
        s.ResumeTiming();
        if (orvo::parseJson (std::string_view (text), parsed).failed() || !parsed.isObject())
            s.SkipWithError ("the environment did not parse");
        benchmark::DoNotOptimize (parsed);
        s.PauseTiming();
        parsed = juce::var();
        s.ResumeTiming();
    }
    s.counters["MB"] = (double)text.size() / 1.0e6;
}
BENCHMARK (readWorkingEnvironmentWithDocumentReader)->Unit (benchmark::kMillisecond);

void readWorkingEnvironmentWithJucesReader (benchmark::State& s)
{
    const auto text = juce::String::fromUTF8 (environmentText().data(), (int)environmentText().size());
    for (auto _ : s)
    {
        s.PauseTiming();
        juce::var parsed;
        s.ResumeTiming();
        if (juce::JSON::parse (text, parsed).failed() || !parsed.isObject())
            s.SkipWithError ("the environment did not parse");
        benchmark::DoNotOptimize (parsed);
        s.PauseTiming();
        parsed = juce::var();
        s.ResumeTiming();
    }
    s.counters["MB"] = (double)text.getNumBytesAsUTF8() / 1.0e6;
}
BENCHMARK (readWorkingEnvironmentWithJucesReader)->Unit (benchmark::kMillisecond);
} // namespace
