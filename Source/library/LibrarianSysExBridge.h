#pragma once

#include "LibrarianState.h"
#include "ProgramSysExCache.h"

namespace orvo
{

/** On the message thread the librarian state is the home of each Program slot's dump
    (LibrarySlot::programSysEx): documents, the working environment and the Program, Mix, Bank and
    Environment flows read and write it there. The cache is the locked side the MIDI path fills (a bank
    being received), handed over to the state on the message thread. These move dumps between the two.

    Mind that takeProgramSysExFromCache replaces every Program slot's dump, so it empties what only the
    state holds (a loaded or synced Program); use it only with a cache that was filled from the state. */

/** Copies the cache's dump of every Program slot (its own entry, the last bank dump or the sync
    capture file) into the state; a slot the cache has nothing for is emptied. */
void takeProgramSysExFromCache (LibrarianState& state, const ProgramSysExCache& cache);

/** After an Environment load: the cache is cleared whole and takes every dump the state holds. */
void replaceCacheWithState (const LibrarianState& state, ProgramSysExCache& cache);

/** After a Bank load into Program bank `bank`: each slot's cache entry is set to the state's dump, or
    cleared when the state has none. Other banks are left alone; a Mix bank changes nothing. */
void putBankIntoCache (const LibrarianState& state, int bank, ProgramSysExCache& cache);

} // namespace orvo
