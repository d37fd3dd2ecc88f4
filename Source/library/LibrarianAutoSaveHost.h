#pragma once

#include "AutoSaveTools.h"
#include "LibrarianState.h"

#include <functional>

namespace orvo
{

/** The librarian state as the tool-data write-back reads it: a slot's Program file is the ".orvop"
    document it last came from or went to; a bank's file is its recorded Bank document. */
class LibrarianAutoSaveHost final : public AutoSaveToolsHost
{
public:
    LibrarianAutoSaveHost (const LibrarianState& state, std::function<bool()> enabled);

    bool autoSaveEnabled() const override;
    SlotToolValues slotValues (int bank, int slot) const override;
    BankToolValues bankValues (int bank) const override;
    std::optional<juce::File> programFileOfSlot (int bank, int slot) const override;
    std::optional<juce::File> bankFileOf (int bank) const override;

private:
    const LibrarianState& state;
    std::function<bool()> enabled;
};

} // namespace orvo
