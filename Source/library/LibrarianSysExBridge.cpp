#include "LibrarianSysExBridge.h"

namespace orvo
{

void takeProgramSysExFromCache (LibrarianState& state, const ProgramSysExCache& cache)
{
    for (int bank = 0; bank < ProgramSysExCache::numProgramBanks; ++bank)
        for (int slot = 0; slot < ProgramSysExCache::numSlots; ++slot)
        {
            auto found = cache.lookup (bank, slot);
            state.slot (bank, slot).programSysEx = found ? std::move (*found) : ByteVector();
        }
}

void replaceCacheWithState (const LibrarianState& state, ProgramSysExCache& cache)
{
    cache.clearAll();
    for (int bank = 0; bank < ProgramSysExCache::numProgramBanks; ++bank)
        putBankIntoCache (state, bank, cache);
}

void putBankIntoCache (const LibrarianState& state, int bank, ProgramSysExCache& cache)
{
    if (!LibrarianState::isProgramBank (bank))
        return;
    for (int slot = 0; slot < ProgramSysExCache::numSlots; ++slot)
    {
        const auto& dump = state.slot (bank, slot).programSysEx;
        if (dump.empty())
            cache.clear (bank, slot);
        else
            cache.store (bank, slot, dump);
    }
}

} // namespace orvo
