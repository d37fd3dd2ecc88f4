#include "LibrarianState.h"

#include <algorithm>

namespace orvo
{

LibrarianState::LibrarianState() : tagListNames (canonicalTagKeys()) {}

std::string LibrarianState::bankLabel (int bank) const
{
    return isValidBank (bank) ? bankLabels[(size_t)bank] : std::string();
}

std::string LibrarianState::bankDisplayName (int bank) const
{
    const auto& userName = names.bankDisplayName (bank);
    return userName.empty() ? bankLabel (bank) : userName;
}

std::optional<int> LibrarianState::bankWithLabel (const std::string& label) const
{
    for (int bank = 0; bank < numBanks; ++bank)
        if (bankLabels[(size_t)bank] == label)
            return bank;
    return std::nullopt;
}

LibrarySlot& LibrarianState::slot (int bank, int slotIndex)
{
    return banks[(size_t)SlotNameTable::clampBank (bank)].slots[(size_t)SlotNameTable::clampSlot (slotIndex)];
}

const LibrarySlot& LibrarianState::slot (int bank, int slotIndex) const
{
    return banks[(size_t)SlotNameTable::clampBank (bank)].slots[(size_t)SlotNameTable::clampSlot (slotIndex)];
}

void LibrarianState::clearSlot (int bank, int slotIndex)
{
    names.setName (bank, slotIndex, {});
    slot (bank, slotIndex) = LibrarySlot();
}

void LibrarianState::clear()
{
    for (int bank = 0; bank < numBanks; ++bank)
    {
        for (int s = 0; s < numSlots; ++s)
            clearSlot (bank, s);
        names.setBankDisplayName (bank, {});
        banks[(size_t)bank].notes.clear();
        banks[(size_t)bank].documentFile.reset();
    }
    environmentNotes.clear();
}

const std::vector<std::string>& canonicalTagKeys()
{
    static const std::vector<std::string> keys{ "favorite", "bass",       "lead",  "pad",           "pluck",
                                                "bell",     "brass",      "keys",  "strings-choir", "atmosphere",
                                                "seq-arp",  "percussion", "fx",    "ambient",       "arp",
                                                "bright",   "dark",       "drone", "layer",         "mono",
                                                "noise",    "poly",       "split", "custom" };
    return keys;
}

std::vector<std::string> normalizeTagKeys (const juce::var& tags)
{
    juce::StringArray words;
    if (const auto* list = tags.getArray())
    {
        for (const auto& t : *list)
            if (t.isString())
                words.add (t.toString().trim());
    }
    else if (tags.isString())
    {
        words.addTokens (tags.toString(), ";,", "");
        words.trim();
    }

    std::vector<std::string> out;
    for (const auto& key : canonicalTagKeys())
        for (const auto& w : words)
            if (w.equalsIgnoreCase (juce::String (key)))
            {
                out.push_back (key);
                break;
            }
    return out;
}

juce::var jsonText (const std::string& text)
{
    return juce::var (juce::String (juce::CharPointer_UTF8 (text.c_str())));
}

std::string stdText (const juce::var& value)
{
    // A number or an object where text belongs reads as no text rather than as its JSON form.
    return value.isString() ? value.toString().toStdString() : std::string();
}

} // namespace orvo
