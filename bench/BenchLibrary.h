#pragma once

#include "library/LibrarianState.h"
#include "library/ProgramDocument.h"
#include "model/ParameterCatalogue.h"

#include <string>
#include <vector>

// What the benchmarks fill a librarian with: deterministic dumps, snapshots and slots, so every
// benchmark measures the same full editor.
namespace orvo::bench
{

/** A stored Program dump whose body depends on the slot, so every dump differs. */
inline ByteVector makeDump (int bank, int slot)
{
    UnpackedProgram program (sysex::programUnpackedLength);
    for (size_t i = 0; i < program.size(); ++i)
        program[i] = (std::uint8_t) ((i * 31 + (size_t)(bank * 128 + slot) * 17) & 0xFF);
    program[0] = sysex::programSignature[0];
    program[1] = sysex::programSignature[1];
    return buildProgramDump (program, sysex::opStoredProgram, bank, slot);
}

/** The editor's "parameters" array: every catalogue row with its page and section. */
inline juce::var catalogueSnapshot (int seed)
{
    std::vector<ParameterEntry> entries;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        entries.push_back (
            { info.id, (seed * 7 + r * 13) % 128, ParameterCatalogue::pageGroupName (info.group), info.section });
    }
    return parameterEntriesToVar (entries);
}

/** A full editor: every slot named, tagged and annotated, every Program slot with its cached dump;
    `withSnapshots` adds a parameter snapshot to every slot (about 15 MB of environment in all). */
inline void fillLibrarian (LibrarianState& state, bool withSnapshots)
{
    for (int bank = 0; bank < LibrarianState::numBanks; ++bank)
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        {
            state.names.setName (bank, slot, "Program " + std::to_string (bank) + "-" + std::to_string (slot));
            auto& s = state.slot (bank, slot);
            s.notes = "Played at the rehearsal, needs a brighter filter";
            s.tags = { "bass", "dark", "mono" };
            if (LibrarianState::isProgramBank (bank))
                s.programSysEx = makeDump (bank, slot);
            if (withSnapshots)
                s.parameters = catalogueSnapshot (slot);
        }
}

} // namespace orvo::bench
