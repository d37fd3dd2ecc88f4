#include "midi/SysExProtocol.h"

#include <benchmark/benchmark.h>

namespace
{

orvo::ByteVector makeProgram()
{
    orvo::ByteVector program (orvo::sysex::programUnpackedLength);
    for (std::size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) (i * 37 + 11);
    program[0] = 166;
    program[1] = 10;
    return program;
}

void unpackOneProgramDump (benchmark::State& state)
{
    const auto dump = orvo::buildProgramDump (makeProgram(), 0, 0, 5);
    for (auto _ : state)
        benchmark::DoNotOptimize (orvo::unpackProgramDump (dump));
}
BENCHMARK (unpackOneProgramDump);

} // namespace
