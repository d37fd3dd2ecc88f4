#include "InstrumentBackup.h"

namespace orvo
{

InstrumentBackup::InstrumentBackup (Clock& c, Scheduler& s, MidiOutputConnection& out, Options o)
    : clockRef (c), schedulerRef (s), output (out), options (std::move (o)), sync (*this)
{
    sync.attach();
}

void InstrumentBackup::handleIncoming (const std::uint8_t* data, size_t size)
{
    if (data != nullptr && size > 0 && data[0] == 0xF0 && sysExHandler != nullptr)
        sysExHandler (data, size);
}

void InstrumentBackup::logLine (const std::string& line)
{
    std::lock_guard<std::mutex> lock (logLock);
    log += line;
}

std::string InstrumentBackup::logText() const
{
    std::lock_guard<std::mutex> lock (logLock);
    return log;
}

void InstrumentBackup::start()
{
    index = 0;
    finished = options.banks.empty();
    if (! finished)
        requestBank();
}

void InstrumentBackup::requestBank()
{
    waiting = false;
    lastProgress = -1;
    bankStartMs = clockRef.nowMs();
    sync.startBankRequest (options.banks[index], SyncEngine::systemSyncMode);
}

bool InstrumentBackup::step()
{
    if (finished)
        return true;
    sync.onSyncTick();
    if (waiting)
        return false;
    const int received = sync.receivedCount();
    if (onProgress && received != lastProgress)
        onProgress (state.bankLabel (options.banks[index]), received);
    lastProgress = received;
    if (sync.takeBankComplete())
    {
        (void)sync.takeSystemBankComplete();
        bankDone();
    }
    else if (clockRef.nowMs() - bankStartMs > options.timeoutMs)
    {
        outcome.incompleteBank = options.banks[index];
        outcome.banks.push_back ({ options.banks[index], state.bankLabel (options.banks[index]), received,
                                   (clockRef.nowMs() - bankStartMs) / 1000.0, std::nullopt });
        sync.cancelSync();
        finished = true;
    }
    return finished;
}

void InstrumentBackup::bankDone()
{
    const int bank = options.banks[index];
    const auto table = sync.bankSlots();
    std::vector<ReceivedBankSlot> slots;
    for (int i = 0; i < (int)table.slots.size(); ++i)
        if (const auto& s = table.slots[(size_t)i]; s.received)
        {
            slots.push_back ({ i, s.name, s.dump });
            state.names.setName (bank, i, s.name);
            state.slot (bank, i).programSysEx = s.dump;
        }
    const auto written = writeBankSyncResult (state, bank, slots, options.library.getChildFile ("Programs"),
                                              options.library.getChildFile ("Banks"), juce::Time::getCurrentTime(),
                                              [this] (const std::string& line) { logLine (line); });
    outcome.programs += written.programsSaved;
    outcome.banks.push_back ({ bank, state.bankLabel (bank), (int)slots.size(),
                               (clockRef.nowMs() - bankStartMs) / 1000.0, written.bankFile });
    if (++index >= options.banks.size())
    {
        finished = true;
        return;
    }
    // The instrument gets the same pause between banks as SYSTEM SYNC gives it.
    waiting = true;
    schedulerRef.callAfter (betweenBanksMs, [this] { requestBank(); });
}

} // namespace orvo
