#include "engine/EditorSession.h"
#include "platform/JuceTime.h"
#include "platform/PollingScheduler.h"

#include <benchmark/benchmark.h>

#include <thread>

// A BANK SYNC of USER through the whole editor, against the Virtual Orvo at the cable's real speed
// (31,250 baud) in real time. Reports the read's time against the wire time of its 128 dumps, and how
// long the message thread was ever held: the longest timer tick, and the longest gap between ticks
// beyond the 33 ms period. Takes about 100 s; run it alone:
//   build/bin/orvo_bench --benchmark_filter=BankRead
namespace
{
void BM_BankReadAtWireRate (benchmark::State& bench)
{
    using namespace orvo;
    for (auto _ : bench)
    {
        const auto folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                                .getNonexistentChildFile ("orvo-bank-read-bench", "", false);
        JuceClock clock;
        PollingScheduler scheduler (clock);
        ScriptedPrompts prompts;
        ScriptedFileDialogs dialogs;
        StringClipboard clipboard;
        {
            EditorSession session ({ clock, scheduler, prompts, dialogs, clipboard, nullptr, folder.getChildFile ("Settings") });
            session.finishStartup();
            prompts.answers = { 1 }; // NOT NOW: no initial sync
            session.midi().openVirtualOrvo();
            session.virtualOrvo().setWireRate (true);
            auto& sync = session.sync().sync();
            prompts.answers = { 2 }; // the name comparison: CANCEL, nothing is written

            const double periodMs = 1000.0 / 30.0;
            const double start = clock.nowMs();
            sync.startBankRequest (0, SyncEngine::bankSyncMode);
            double longestTick = 0.0, longestGap = 0.0, lastTickEnd = clock.nowMs();
            while (sync.receivedCount() < 128 && clock.nowMs() - start < 200000.0)
            {
                std::this_thread::sleep_until (std::chrono::steady_clock::now()
                                               + std::chrono::microseconds ((long)(periodMs * 1000)));
                const double tickStart = clock.nowMs();
                longestGap = std::max (longestGap, tickStart - lastTickEnd - periodMs);
                scheduler.runDue();
                session.tick();
                lastTickEnd = clock.nowMs();
                longestTick = std::max (longestTick, lastTickEnd - tickStart);
            }
            const double elapsed = clock.nowMs() - start;
            const double wireMs = 128 * 752.0;
            bench.counters["received"] = sync.receivedCount();
            bench.counters["seconds"] = elapsed / 1000.0;
            bench.counters["ratio_to_wire_time"] = elapsed / wireMs;
            bench.counters["longest_tick_ms"] = longestTick;
            bench.counters["longest_gap_beyond_period_ms"] = longestGap;
        }
        folder.deleteRecursively();
    }
}
BENCHMARK (BM_BankReadAtWireRate)->Iterations (1)->Unit (benchmark::kSecond)->UseRealTime();
} // namespace
