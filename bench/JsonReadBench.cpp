#include "library/EnvironmentDocument.h"
#include "library/JsonText.h"
#include "library/LibrarianState.h"
#include "library/ProgramDocument.h"
#include "model/ParameterCatalogue.h"

#include <benchmark/benchmark.h>

// The working environment the editor reads at start-up, full (every slot with its dump and a parameter
// snapshot, about 15 MB), read by the document reader and by juce::JSON::parse for comparison.
namespace
{
orvo::ByteVector makeDump (int bank, int slot)
{
    orvo::UnpackedProgram program (orvo::sysex::programUnpackedLength);
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) ((i * 31 + (size_t)(bank * 128 + slot) * 17) & 0xFF);
    program[0] = orvo::sysex::programSignature[0];
    program[1] = orvo::sysex::programSignature[1];
    return orvo::buildProgramDump (program, orvo::sysex::opStoredProgram, bank, slot);
}

const std::string& environmentText()
{
    static const std::string text = []
    {
        orvo::LibrarianState state;
        for (int bank = 0; bank < orvo::LibrarianState::numBanks; ++bank)
            for (int slot = 0; slot < orvo::LibrarianState::numSlots; ++slot)
            {
                state.names.setName (bank, slot, "Program " + std::to_string (bank) + "-" + std::to_string (slot));
                auto& s = state.slot (bank, slot);
                s.notes = "Played at the rehearsal, needs a brighter filter";
                s.tags = { "bass", "dark", "mono" };
                std::vector<orvo::ParameterEntry> entries;
                for (int r = 0; r < orvo::ParameterCatalogue::numRows; ++r)
                {
                    const auto& info = orvo::ParameterCatalogue::row (r);
                    entries.push_back ({ info.id, (slot * 7 + r * 13) % 128,
                                         orvo::ParameterCatalogue::pageGroupName (info.group), info.section });
                }
                s.parameters = orvo::parameterEntriesToVar (entries);
                if (orvo::LibrarianState::isProgramBank (bank))
                    s.programSysEx = makeDump (bank, slot);
            }
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
