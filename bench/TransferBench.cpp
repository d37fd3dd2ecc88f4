#include "engine/HeadlessEditor.h"
#include "instrument/FactoryPrograms.h"
#include "midi/SysExStream.h"

#include <benchmark/benchmark.h>

// A loaded bank sent to USER and read back, in virtual time with the Virtual Orvo at cable speed:
// reports the virtual seconds the 128 paced dumps took and the read-back after them, and the real
// time the whole run costs.
namespace
{
void BM_BankTransferPacing (benchmark::State& bench)
{
    using namespace orvo;
    std::vector<std::pair<int, ByteVector>> dumps;
    int slot = 0;
    for (auto& m : splitSysExMessages (factory::bankSysEx (1)))
        dumps.emplace_back (slot++, std::move (m));
    for (auto _ : bench)
    {
        auto editor = makeHeadlessEditor();
        editor->connect (false);
        editor->settle (2);
        editor->instrument().setWireRate (true, &editor->time, &editor->time);
        auto& transfers = editor->session().transfers();
        const double start = editor->time.nowMs();
        transfers.startBankTransfer (0, dumps);
        double sentAt = 0.0;
        while (! transfers.lastBank().differing && editor->time.nowMs() - start < 400000.0)
        {
            editor->settle (1);
            if (sentAt == 0.0 && transfers.lastBank().sent == 128)
                sentAt = editor->time.nowMs();
        }
        bench.counters["send_virtual_s"] = (sentAt - start) / 1000.0;
        bench.counters["readback_virtual_s"] = (editor->time.nowMs() - sentAt) / 1000.0;
        bench.counters["verified"] = transfers.lastBank().differing && transfers.lastBank().differing->empty() ? 1 : 0;
    }
}
BENCHMARK (BM_BankTransferPacing)->Iterations (1)->Unit (benchmark::kSecond);
} // namespace
