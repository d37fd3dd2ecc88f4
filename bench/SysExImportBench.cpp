#include "instrument/FactoryPrograms.h"
#include "library/SysExExport.h"
#include "library/SysExImport.h"

#include <benchmark/benchmark.h>

namespace
{

// IMPORT SYSEX's analysis of a bank file: every message classified and decoded, before the question shows.
void analyseBankFile (benchmark::State& state)
{
    const auto bytes = orvo::factory::bankSysEx (1);
    for (auto _ : state)
        benchmark::DoNotOptimize (orvo::analyseSysExBytes (bytes.data(), bytes.size()));
}
BENCHMARK (analyseBankFile)->Unit (benchmark::kMillisecond);

// The Bank document of that file, with the four digests of each of its 128 Programs.
void buildBankDocumentOfImport (benchmark::State& state)
{
    const auto bytes = orvo::factory::bankSysEx (1);
    const auto analysis = *orvo::analyseSysExBytes (bytes.data(), bytes.size()).analysis;
    for (auto _ : state)
        benchmark::DoNotOptimize (orvo::buildImportedBankDocument (analysis, juce::File(), juce::Time()));
}
BENCHMARK (buildBankDocumentOfImport)->Unit (benchmark::kMillisecond);

// CURRENT BANK: 128 cached dumps rebuilt for their slots.
void buildCurrentBankExport (benchmark::State& state)
{
    const auto bytes = orvo::factory::bankSysEx (0);
    const orvo::CachedDumpLookup cached = [&bytes] (int, int slot)
    {
        const auto at = bytes.begin() + (std::ptrdiff_t)slot * 2350;
        return std::optional<orvo::ByteVector> (orvo::ByteVector (at, at + 2350));
    };
    for (auto _ : state)
        benchmark::DoNotOptimize (orvo::buildCurrentBankSysEx (0, cached));
}
BENCHMARK (buildCurrentBankExport)->Unit (benchmark::kMillisecond);

} // namespace
