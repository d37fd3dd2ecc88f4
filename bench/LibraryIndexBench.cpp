#include "library/ProgramLibraryIndex.h"

#include <benchmark/benchmark.h>

#include <thread>

namespace
{
constexpr int documentCount = 10000;

/** 10,000 small Program documents in 100 folders, made once for every run of the benchmark. */
struct GeneratedLibrary
{
    juce::File root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("orvo-library-bench", "", false);
    juce::File programs = root.getChildFile ("Programs");

    GeneratedLibrary()
    {
        for (int i = 0; i < documentCount; ++i)
        {
            const auto name = "Generated " + juce::String (i);
            const auto file = programs.getChildFile ("folder-" + juce::String (i / 100))
                                  .getChildFile ("Generated-" + juce::String (i) + ".orvop");
            file.getParentDirectory().createDirectory();
            file.replaceWithText ("{\"schema\": \"orvo.program.v1\", \"type\": \"program\", \"name\": \"" + name +
                                  "\", \"bankNumber\": " + juce::String (i % 3) +
                                  ", \"program\": " + juce::String (i % 128) + "}");
        }
    }
    ~GeneratedLibrary() { root.deleteRecursively(); }
};

GeneratedLibrary& library()
{
    static GeneratedLibrary lib;
    return lib;
}

void firstScanOfTenThousandDocuments (benchmark::State& state)
{
    for (auto _ : state)
    {
        orvo::ProgramLibraryIndex index ([] { return library().programs; });
        index.fullRefresh();
        benchmark::DoNotOptimize (index.documentCount());
    }
}
BENCHMARK (firstScanOfTenThousandDocuments)->Unit (benchmark::kMillisecond)->Iterations (3);

void lookupAmongTenThousandDocuments (benchmark::State& state)
{
    orvo::ProgramLibraryIndex index ([] { return library().programs; });
    index.fullRefresh();
    // Files just written are still settling; a lookup trusts them once the clock has moved on.
    std::this_thread::sleep_for (std::chrono::milliseconds (2100));
    index.refresh();
    int i = 0;
    for (auto _ : state)
    {
        const int n = (i++ * 7919) % documentCount;
        auto f = index.findProgramFile (n % 3, n % 128, "Generated " + std::to_string (n));
        if (!f)
            state.SkipWithError ("a generated document was not found");
        benchmark::DoNotOptimize (f);
    }
}
BENCHMARK (lookupAmongTenThousandDocuments)->Unit (benchmark::kMillisecond);
} // namespace
