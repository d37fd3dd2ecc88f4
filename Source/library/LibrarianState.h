#pragma once

#include "SlotNameTable.h"
#include "midi/SysExProtocol.h"

#include <juce_core/juce_core.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** What the librarian keeps for one slot besides its name (the name lives in `SlotNameTable`). */
struct LibrarySlot
{
    std::string notes;
    std::vector<std::string> tags; // tag keys, normalised
    juce::var wedgePreset;         // the Wedge preset assignment object; void when none
    juce::var parameters;          // the slot's parameter snapshot (an array); void when none
    juce::var toolData;            // morph, macros and MIDI control; void when none
    ByteVector programSysEx;       // the cached Program dump, F0..F7; empty when not cached (Program banks only)
    /** The Program or Mix document last loaded into, saved from or found for this slot (for the
        tool-data write-back); not part of any document. */
    std::optional<juce::File> documentFile;
};

/** What the librarian keeps for one bank besides its user name (in `SlotNameTable`). */
struct LibraryBank
{
    std::string notes;
    std::array<LibrarySlot, SlotNameTable::numSlots> slots;
    /** The Bank document last loaded into or saved from this bank (for the tool-data write-back). */
    std::optional<juce::File> documentFile;
};

/** The whole librarian state of the editor: the five banks with their slots, the selection and the
    environment's own notes. Plain data, so documents can be built from it and loaded into it without
    the editor around; the editor owns one and hands it to the document functions. */
struct LibrarianState
{
    static constexpr int numBanks = SlotNameTable::numBanks;
    static constexpr int numSlots = SlotNameTable::numSlots;

    SlotNameTable names;
    std::array<LibraryBank, numBanks> banks;
    std::string environmentNotes;
    int selectedBank = 0;
    int selectedSlot = 0;

    /** The most recent bank read from the instrument: one dump per slot (empty where none arrived).
        The receive path collects a bank under its own lock and hands it over here on the message thread. */
    struct BankRead
    {
        int bank = -1;
        std::vector<ByteVector> slots;
    } lastBankRead;

    /** The bank labels the editor shows in its bank list. */
    std::array<std::string, numBanks> bankLabels{ { "USER", "PRESET1", "PRESET2", "MIX (USER)", "MIX (PRESET)" } };
    /** The texts of the editor's tag list, in tag order (written into environments for reference). */
    std::vector<std::string> tagListNames;

    LibrarianState();

    static bool isProgramBank (int bank) { return bank >= 0 && bank <= 2; }
    static bool isValidBank (int bank) { return bank >= 0 && bank < numBanks; }
    static bool isValidSlot (int slot) { return slot >= 0 && slot < numSlots; }

    /** The editor's label of the bank; empty outside 0..4. */
    std::string bankLabel (int bank) const;
    /** The user's name for the bank when set, else its label. */
    std::string bankDisplayName (int bank) const;
    /** The bank whose label is `label` exactly, if any. */
    std::optional<int> bankWithLabel (const std::string& label) const;

    LibrarySlot& slot (int bank, int slot);
    const LibrarySlot& slot (int bank, int slot) const;

    /** Empties one slot: name, notes, tags, snapshot, tool data, Wedge assignment and cached SysEx. */
    void clearSlot (int bank, int slot);
    /** Empties every slot and every bank's name, notes and document file; selection and labels stay. */
    void clear();
};

/** The 24 tag keys in canonical order. */
const std::vector<std::string>& canonicalTagKeys();

/** A document's "tags" as a normalised tag set: known keys only (compared ignoring case), each once,
    in canonical order. An array of strings and one string of keys separated by ";" or "," are read;
    anything else gives no tags. */
std::vector<std::string> normalizeTagKeys (const juce::var& tags);

/** UTF-8 text to a juce::var string and back; a value that is not a string reads as empty text. */
juce::var jsonText (const std::string& text);
std::string stdText (const juce::var& value);

} // namespace orvo
