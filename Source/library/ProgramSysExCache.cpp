#include "ProgramSysExCache.h"

namespace orvo
{

ProgramSysExCache::ProgramSysExCache (CaptureFileLocator locator) : captureFile (std::move (locator)) {}

bool ProgramSysExCache::inRange (int bank, int slot)
{
    return bank >= 0 && bank < numProgramBanks && slot >= 0 && slot < numSlots;
}

void ProgramSysExCache::store (int bank, int slot, ByteVector message)
{
    if (!inRange (bank, slot) || message.empty())
        return;
    const std::lock_guard<std::mutex> guard (mutex);
    slots[(size_t)bank][(size_t)slot] = std::move (message);
}

void ProgramSysExCache::clear (int bank, int slot)
{
    if (!inRange (bank, slot))
        return;
    const std::lock_guard<std::mutex> guard (mutex);
    slots[(size_t)bank][(size_t)slot].clear();
}

void ProgramSysExCache::clearAll()
{
    const std::lock_guard<std::mutex> guard (mutex);
    for (auto& bank : slots)
        for (auto& s : bank)
            s.clear();
    bankDumpBank = -1;
    bankDump.clear();
}

bool ProgramSysExCache::has (int bank, int slot) const
{
    if (!inRange (bank, slot))
        return false;
    const std::lock_guard<std::mutex> guard (mutex);
    return !slots[(size_t)bank][(size_t)slot].empty();
}

void ProgramSysExCache::storeBankDump (int bank, std::vector<ByteVector> messagesBySlot)
{
    const std::lock_guard<std::mutex> guard (mutex);
    bankDumpBank = bank;
    bankDump = std::move (messagesBySlot);
}

std::optional<ByteVector> ProgramSysExCache::lookup (int bank, int slot) const
{
    if (!inRange (bank, slot))
        return std::nullopt;
    {
        const std::lock_guard<std::mutex> guard (mutex);
        if (const auto& own = slots[(size_t)bank][(size_t)slot]; !own.empty())
            return own;
        if (bankDumpBank == bank && (size_t)slot < bankDump.size() && !bankDump[(size_t)slot].empty())
            return bankDump[(size_t)slot];
    }
    // The disk is read outside the lock so the MIDI thread never waits for it.
    if (captureFile)
    {
        const auto file = captureFile (bank, slot);
        if (file.existsAsFile())
        {
            juce::MemoryBlock block;
            if (file.loadFileAsData (block) && block.getSize() > 0)
            {
                const auto* bytes = static_cast<const std::uint8_t*> (block.getData());
                return ByteVector (bytes, bytes + block.getSize());
            }
        }
    }
    return std::nullopt;
}

} // namespace orvo
