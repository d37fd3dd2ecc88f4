#include "engine/HeadlessEditor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <thread>

using namespace orvo;

namespace
{
using WallClock = std::chrono::steady_clock;

/** An output that notes when the first byte of an NRPN is handed to it. */
struct StampOutput final : MidiOutputConnection
{
    std::mutex lock;
    std::condition_variable arrived;
    WallClock::time_point at;
    bool seen = false;
    std::string name() const override { return "stamp"; }
    bool send (const std::uint8_t* data, size_t size) override
    {
        if (size == 3 && data[1] == 99)
        {
            std::lock_guard<std::mutex> g (lock);
            at = WallClock::now();
            seen = true;
            arrived.notify_one();
        }
        return true;
    }
};

long residentKb()
{
    std::ifstream statm ("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

double percentile (std::vector<double> v, double p)
{
    std::sort (v.begin(), v.end());
    return v.empty() ? 0.0 : v[(size_t)(p * (double)(v.size() - 1))];
}
} // namespace

// A 14-bit CC from the controller's MIDI thread to the NRPN handed to the instrument's output. The
// message thread is woken by the input (no timer tick in between), as the editor's window does.
static void ControllerMessageToOutput (benchmark::State& state)
{
    auto editor = makeHeadlessEditor();
    editor->session().engine().settings().controllerDecodeMode = 3; // CC 14-BIT
    editor->connect (false);
    editor->session().midi().openVirtualController();
    editor->settle (2);
    auto& tools = editor->session().tools();
    tools.assign ("filter1.frequency", { 1, 0, 7, -1 });
    auto out = std::make_unique<StampOutput>();
    auto* stamp = out.get();
    editor->session().engine().setOutput (std::move (out));

    // The message thread: sleeps until controller input wakes it, then applies it.
    std::mutex wakeLock;
    std::condition_variable wake;
    bool pending = false, stop = false;
    tools.onControllerInput = [&]
    {
        std::lock_guard<std::mutex> g (wakeLock);
        pending = true;
        wake.notify_one();
    };
    std::thread messageThread (
        [&]
        {
            std::unique_lock<std::mutex> l (wakeLock);
            for (;;)
            {
                wake.wait (l, [&] { return pending || stop; });
                if (stop)
                    return;
                pending = false;
                l.unlock();
                tools.processControllerInput();
                l.lock();
            }
        });

    std::vector<double> micros;
    int value = 0;
    for (auto _ : state)
    {
        {
            std::lock_guard<std::mutex> g (stamp->lock);
            stamp->seen = false;
        }
        value = (value + 4099) % 16384;
        const auto start = WallClock::now();
        editor->session().virtualController().send14BitCc (1, 7, value);
        std::unique_lock<std::mutex> l (stamp->lock);
        stamp->arrived.wait (l, [&] { return stamp->seen; });
        const double us = std::chrono::duration<double, std::micro> (stamp->at - start).count();
        micros.push_back (us);
        state.SetIterationTime (us / 1e6);
    }
    {
        std::lock_guard<std::mutex> g (wakeLock);
        stop = true;
        wake.notify_one();
    }
    messageThread.join();
    tools.onControllerInput = nullptr;
    state.counters["median_us"] = percentile (micros, 0.5);
    state.counters["p99_us"] = percentile (micros, 0.99);
}
BENCHMARK (ControllerMessageToOutput)->UseManualTime()->Unit (benchmark::kMicrosecond);

// Ten seconds of 10,000 controller messages a second in virtual time, the editor ticking at 30 Hz
// and the Virtual Orvo taking every NRPN: resident memory after the first and the last second, and
// whether the instrument ends on the last value sent.
static void ControllerFlood (benchmark::State& state)
{
    for (auto _ : state)
    {
        auto editor = makeHeadlessEditor();
        editor->session().engine().settings().controllerDecodeMode = 3;
        editor->connect (false);
        editor->session().midi().openVirtualController();
        editor->settle (2);
        editor->session().tools().assign ("filter1.frequency", { 1, 0, 7, -1 });
        auto& knobs = editor->session().virtualController();
        const int row = *ParameterCatalogue::findById ("filter1.frequency");
        long afterFirstSecond = 0;
        int last = 0;
        for (int tick = 0; tick < 300; ++tick) // 10 s at 30 ticks a second
        {
            for (int i = 0; i < (tick + 1) * 10000 / 30 - tick * 10000 / 30; ++i)
                knobs.send14BitCc (1, 7, last = (tick * 333 + i * 97) % 16384);
            editor->settle (1);
            if (tick == 29)
                afterFirstSecond = residentKb();
        }
        editor->settle (5);
        const int expected = (int)std::lround (last / 16383.0 * 4095);
        state.counters["rss_first_s_kb"] = (double)afterFirstSecond;
        state.counters["rss_growth_kb"] = (double)(residentKb() - afterFirstSecond);
        state.counters["messages"] = (double)knobs.sentCount() / 2;
        state.counters["last_value_wins"] = editor->instrument().editBufferValue (row) == expected ? 1 : 0;
    }
}
BENCHMARK (ControllerFlood)->Iterations (1)->Unit (benchmark::kMillisecond);
