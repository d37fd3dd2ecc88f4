#include "LibrarianAutoSaveHost.h"

namespace orvo
{

LibrarianAutoSaveHost::LibrarianAutoSaveHost (const LibrarianState& s, std::function<bool()> e) : state (s), enabled (std::move (e)) {}

bool LibrarianAutoSaveHost::autoSaveEnabled() const { return enabled != nullptr && enabled(); }

SlotToolValues LibrarianAutoSaveHost::slotValues (int bank, int slot) const
{
    if (! LibrarianState::isValidBank (bank) || ! LibrarianState::isValidSlot (slot))
        return {};
    const auto& s = state.slot (bank, slot);
    return { state.names.name (bank, slot), state.bankLabel (bank), s.notes, s.tags, s.toolData };
}

BankToolValues LibrarianAutoSaveHost::bankValues (int bank) const
{
    if (! LibrarianState::isValidBank (bank))
        return {};
    return { state.bankDisplayName (bank), state.banks[(size_t) bank].notes };
}

std::optional<juce::File> LibrarianAutoSaveHost::programFileOfSlot (int bank, int slot) const
{
    if (! LibrarianState::isValidBank (bank) || ! LibrarianState::isValidSlot (slot))
        return std::nullopt;
    const auto& file = state.slot (bank, slot).documentFile;
    // Mix documents are not written back: only a slot that came from a Program file is.
    if (file.has_value() && file->hasFileExtension (".orvop"))
        return file;
    return std::nullopt;
}

std::optional<juce::File> LibrarianAutoSaveHost::bankFileOf (int bank) const
{
    if (! LibrarianState::isValidBank (bank))
        return std::nullopt;
    return state.banks[(size_t) bank].documentFile;
}

} // namespace orvo
