#include "library/ProgramLibraryIndex.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{
constexpr int documentCount = 10000;

/** 10,000 Program documents with names, tags and notes as a player's library has them, in 50
    folders, each with a parameter list after its head (which the index never reads). */
struct TaggedLibrary
{
    juce::File root = juce::File::getSpecialLocation (juce::File::tempDirectory)
                          .getNonexistentChildFile ("orvo-search-bench", "", false);
    juce::File programs = root.getChildFile ("Programs");

    TaggedLibrary()
    {
        const char* adjectives[] = { "Warm", "Glass", "Dark", "Acid", "Soft", "Big", "Hollow", "Bright", "Wide", "Lush" };
        const char* nouns[] = { "Pad", "Bass", "Lead", "Bell", "Brass", "Keys", "Strings", "Pluck", "Drone", "Sweep" };
        const char* tags[] = { "bass", "lead", "pad", "pluck", "bell", "brass", "keys", "dark", "bright", "mono", "poly", "fx" };
        const juce::String parameters = "\"parameters\": [" + juce::String::repeatedString ("{\"id\": \"osc1.semitone\", \"rawValue\": 2048}, ", 40) + "{}]";
        for (int i = 0; i < documentCount; ++i)
        {
            const auto name = juce::String (adjectives[i % 10]) + " " + nouns[(i / 10) % 10] + " " + juce::String (i / 100);
            juce::String tagList;
            for (int t = 0; t < i % 4; ++t)
                tagList << (t ? ", " : "") << "\"" << tags[(i * 7 + t * 5) % 12] << "\"";
            const auto file = programs.getChildFile ("folder-" + juce::String (i / 200)).getChildFile ("p" + juce::String (i) + ".orvop");
            file.getParentDirectory().createDirectory();
            file.replaceWithText ("{\"schema\": \"orvo.program.v1\", \"type\": \"program\", \"name\": \"" + name
                                  + "\", \"normalizedName\": \"" + name.toLowerCase() + "\", \"bankNumber\": " + juce::String (i % 3)
                                  + ", \"notes\": \"" + (i % 5 == 0 ? "recorded for the live set, slow attack" : "") + "\", \"tags\": ["
                                  + tagList + "], " + parameters + "}");
        }
    }
    ~TaggedLibrary() { root.deleteRecursively(); }
};

TaggedLibrary& library()
{
    static TaggedLibrary lib;
    return lib;
}

/** Every keystroke of a few searches a player types, each prefix searched as the panel does on a
    keystroke (the index brought up to date, then up to 500 rows), with and without a tag filter. */
void keystrokeSearchOverTenThousandDocuments (benchmark::State& state)
{
    orvo::ProgramLibraryIndex index ([] { return library().programs; });
    index.fullRefresh();
    std::this_thread::sleep_for (std::chrono::milliseconds (2100)); // past the files' settling window
    index.refresh();
    (void)index.search ("", {}, 500); // the first search orders the library once

    const std::vector<std::pair<std::string, std::vector<std::string>>> typed = {
        { "warm pad 12", {} }, { "bass", { "dark" } }, { "slow attack", {} }, { "glass bell", { "bell", "poly" } }, { "zzz", {} } };
    std::vector<double> ms;
    for (auto _ : state)
    {
        ms.clear();
        size_t listed = 0;
        for (const auto& [query, tags] : typed)
            for (size_t n = 0; n <= query.size(); ++n)
            {
                const auto start = std::chrono::steady_clock::now();
                const auto result = index.search (query.substr (0, n), tags, 500);
                ms.push_back (std::chrono::duration<double, std::milli> (std::chrono::steady_clock::now() - start).count());
                listed += result.hits.size();
            }
        benchmark::DoNotOptimize (listed);
    }
    std::sort (ms.begin(), ms.end());
    state.counters["keystrokes"] = (double)ms.size();
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["worst_ms"] = ms.back();
    if (index.documentCount() != (size_t)documentCount)
        state.SkipWithError ("not every generated document was indexed");
}
BENCHMARK (keystrokeSearchOverTenThousandDocuments)->Unit (benchmark::kMillisecond)->Iterations (5);
} // namespace
