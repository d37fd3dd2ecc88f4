#include "data/ProgramCodec.h"
#include "midi/SysExProtocol.h"

#include <benchmark/benchmark.h>

#include <random>

namespace
{

orvo::ByteVector makeDump (unsigned seed, int slot)
{
    std::mt19937 rng (seed);
    orvo::UnpackedProgram program (orvo::sysex::programUnpackedLength);
    for (auto& b : program)
        b = (std::uint8_t) (rng() & 0xFF);
    program[0] = 166;
    program[1] = 10;
    return orvo::buildProgramDump (program, 0, 0, slot);
}

// What the sync does with one received dump: classify, unpack, decode with the diagnostic text.
void decodeOneProgramDump (benchmark::State& state)
{
    const auto dump = makeDump (1, 0);
    for (auto _ : state)
    {
        const auto layout = orvo::classifyProgramDump (dump);
        benchmark::DoNotOptimize (layout);
        orvo::DecodedProgramValues values;
        std::string diagnostic;
        benchmark::DoNotOptimize (orvo::decodeProgramDump (dump, values, diagnostic));
        benchmark::DoNotOptimize (values);
    }
}
BENCHMARK (decodeOneProgramDump)->Unit (benchmark::kMicrosecond);

// The same without the diagnostic text, as a bank read that only wants the values.
void decodeOneProgramDumpWithoutDiagnostic (benchmark::State& state)
{
    const auto dump = makeDump (1, 0);
    for (auto _ : state)
    {
        const auto layout = orvo::classifyProgramDump (dump);
        benchmark::DoNotOptimize (layout);
        const auto program = orvo::unpackProgramDump (dump);
        benchmark::DoNotOptimize (orvo::decodeUnpackedProgram (program));
    }
}
BENCHMARK (decodeOneProgramDumpWithoutDiagnostic)->Unit (benchmark::kMicrosecond);

void decodeBankOf128ProgramDumps (benchmark::State& state)
{
    std::vector<orvo::ByteVector> bank;
    for (int slot = 0; slot < 128; ++slot)
        bank.push_back (makeDump ((unsigned)slot + 100, slot));
    for (auto _ : state)
        for (const auto& dump : bank)
        {
            const auto layout = orvo::classifyProgramDump (dump);
            benchmark::DoNotOptimize (layout);
            orvo::DecodedProgramValues values;
            std::string diagnostic;
            benchmark::DoNotOptimize (orvo::decodeProgramDump (dump, values, diagnostic));
        }
}
BENCHMARK (decodeBankOf128ProgramDumps)->Unit (benchmark::kMillisecond);

void packAndUnpackOneProgram (benchmark::State& state)
{
    const auto dump = makeDump (2, 0);
    const auto program = orvo::unpackProgramDump (dump);
    for (auto _ : state)
        benchmark::DoNotOptimize (orvo::buildProgramDump (program, 0, 0, 1));
}
BENCHMARK (packAndUnpackOneProgram)->Unit (benchmark::kMicrosecond);

} // namespace
