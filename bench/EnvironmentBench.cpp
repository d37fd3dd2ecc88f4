#include "library/EditorSettingsStore.h"
#include "library/LibraryRoot.h"
#include "library/WorkingEnvironment.h"
#include "platform/Clock.h"

#include <benchmark/benchmark.h>

namespace
{

orvo::ByteVector makeDump (int bank, int slot)
{
    orvo::UnpackedProgram program (orvo::sysex::programUnpackedLength);
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) ((i * 31 + (size_t)(bank * 128 + slot) * 17) & 0xFF);
    program[0] = 166;
    program[1] = 10;
    return orvo::buildProgramDump (program, orvo::sysex::opStoredProgram, bank, slot);
}

juce::var makeSnapshot (int seed)
{
    juce::Array<juce::var> entries;
    for (int i = 0; i < 233; ++i)
    {
        auto* e = new juce::DynamicObject();
        e->setProperty ("id", "param." + juce::String (i));
        e->setProperty ("rawValue", (seed * 7 + i) % 4096);
        e->setProperty ("page", "OSCILLATORS");
        e->setProperty ("section", "OSC 1");
        entries.add (juce::var (e));
    }
    return juce::var (entries);
}

/** A full editor: every slot named, tagged and annotated, every Program slot with its cached dump;
    `withSnapshots` adds a 233-value parameter snapshot to every slot as well. */
void fill (orvo::LibrarianState& state, bool withSnapshots)
{
    for (int bank = 0; bank < orvo::LibrarianState::numBanks; ++bank)
        for (int slot = 0; slot < orvo::LibrarianState::numSlots; ++slot)
        {
            state.names.setName (bank, slot, "Program " + std::to_string (bank) + "-" + std::to_string (slot));
            auto& s = state.slot (bank, slot);
            s.notes = "Played at the rehearsal, needs a brighter filter";
            s.tags = { "bass", "dark", "mono" };
            if (orvo::LibrarianState::isProgramBank (bank))
                s.programSysEx = makeDump (bank, slot);
            if (withSnapshots)
                s.parameters = makeSnapshot (slot);
        }
}

// What every librarian change costs: the whole working environment rebuilt and written atomically.
void rewriteWorkingEnvironment (benchmark::State& bench)
{
    const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                            .getNonexistentChildFile ("orvo-env-bench", "", false);
    folder.createDirectory();
    {
        orvo::EditorSettingsStore settings (folder.getChildFile ("Settings"));
        orvo::LibraryRoot library (settings, {}, folder.getChildFile ("bin/OrvoEditor"));
        orvo::VirtualTime time;
        orvo::LibrarianState state;
        fill (state, bench.range (0) != 0);
        orvo::WorkingEnvironment working (state, library, time, {});

        for (auto _ : bench)
            if (!working.save())
                bench.SkipWithError ("the working environment could not be written");
        bench.counters["bytes"] = (double)working.file().getSize();
    }
    folder.deleteRecursively();
}
BENCHMARK (rewriteWorkingEnvironment)->Arg (0)->Arg (1)->ArgName ("snapshots")->Unit (benchmark::kMillisecond);

} // namespace
