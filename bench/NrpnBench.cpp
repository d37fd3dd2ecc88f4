#include "engine/EditorEngine.h"
#include "midi/MidiDevices.h"
#include "platform/Clock.h"
#include "platform/UserInteraction.h"

#include <benchmark/benchmark.h>

using namespace orvo;

namespace
{
struct Rig
{
    VirtualTime time;
    ScriptedPrompts prompts;
    ScriptedFileDialogs dialogs;
    StringClipboard clipboard;
    EditorEngine engine{ { time, time, prompts, dialogs, clipboard } };
};
} // namespace

// The MIDI-thread path: four Control Changes in, one assembled NRPN stored as a pending row value.
static void IncomingNrpnDispatch (benchmark::State& state)
{
    Rig rig;
    std::vector<std::array<ControlChange, 4>> messages;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        if (ParameterCatalogue::row (r).nrpn >= 0)
            messages.push_back (buildNrpnMessages (1, ParameterCatalogue::row (r).nrpn, (r * 37) % 4096));
    size_t i = 0;
    for (auto _ : state)
    {
        for (const auto& m : messages[i++ % messages.size()])
            rig.engine.handleIncomingMidi (m.data(), m.size());
    }
    state.SetItemsProcessed (state.iterations());
    state.SetLabel ("NRPNs");
}
BENCHMARK (IncomingNrpnDispatch);

// One 30 Hz tick that has a pending value for every catalogue row.
static void TimerTickWithAllRowsPending (benchmark::State& state)
{
    Rig rig;
    for (auto _ : state)
    {
        state.PauseTiming();
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            if (const int nrpn = ParameterCatalogue::row (r).nrpn; nrpn >= 0)
                for (const auto& m : buildNrpnMessages (1, nrpn, (r * 13 + (int)state.iterations()) % 4096))
                    rig.engine.handleIncomingMidi (m.data(), m.size());
        state.ResumeTiming();
        auto report = rig.engine.tick();
        benchmark::DoNotOptimize (report);
    }
}
BENCHMARK (TimerTickWithAllRowsPending);

// An idle tick: nothing pending, nothing to repaint.
static void TimerTickIdle (benchmark::State& state)
{
    Rig rig;
    for (auto _ : state)
    {
        auto report = rig.engine.tick();
        benchmark::DoNotOptimize (report);
    }
}
BENCHMARK (TimerTickIdle);

// A user edit up to the moment its bytes are handed to the port.
static void UserEditToPort (benchmark::State& state)
{
    Rig rig;
    auto out = std::make_unique<RecordingMidiOutput>();
    auto* port = out.get();
    rig.engine.setOutput (std::move (out));
    int v = 0;
    for (auto _ : state)
    {
        rig.engine.userEdit (1, (v++) % 4096);
        state.PauseTiming();
        port->take();
        state.ResumeTiming();
    }
}
BENCHMARK (UserEditToPort);
