#pragma once

#include <array>
#include <string>

namespace orvo
{

/** A name for every slot of the five banks, and a display name per bank. Bank and slot numbers
    outside their ranges are clamped, so a stray index never reaches past the table. */
class SlotNameTable
{
public:
    static constexpr int numBanks = 5;
    static constexpr int numSlots = 128;

    static int clampBank (int bank) { return bank < 0 ? 0 : (bank >= numBanks ? numBanks - 1 : bank); }
    static int clampSlot (int slot) { return slot < 0 ? 0 : (slot >= numSlots ? numSlots - 1 : slot); }

    const std::string& name (int bank, int slot) const
    {
        return names[(size_t)clampBank (bank)][(size_t)clampSlot (slot)];
    }
    void setName (int bank, int slot, std::string newName)
    {
        names[(size_t)clampBank (bank)][(size_t)clampSlot (slot)] = std::move (newName);
    }

    const std::string& bankDisplayName (int bank) const { return bankNames[(size_t)clampBank (bank)]; }
    void setBankDisplayName (int bank, std::string newName)
    {
        bankNames[(size_t)clampBank (bank)] = std::move (newName);
    }

private:
    std::array<std::array<std::string, numSlots>, numBanks> names;
    std::array<std::string, numBanks> bankNames;
};

} // namespace orvo
