#pragma once

#include "LibrarianState.h"
#include "ProgramSysExCache.h"

namespace orvo
{

/** The librarian state keeps a copy of each Program slot's dump so documents can be built from plain
    data; the cache stays the one the MIDI path fills. These keep the two in step. */

/** Copies the cache's dump of every Program slot (its own entry, the last bank dump or the sync
    capture file) into the state; a slot the cache has nothing for is emptied. Call before building a
    Bank or Environment document or rewriting the working environment. */
void takeProgramSysExFromCache (LibrarianState& state, const ProgramSysExCache& cache);

/** After an Environment load: the cache is cleared whole and takes every dump the state holds. */
void replaceCacheWithState (const LibrarianState& state, ProgramSysExCache& cache);

/** After a Bank load into Program bank `bank`: each slot's cache entry is set to the state's dump, or
    cleared when the state has none. Other banks are left alone; a Mix bank changes nothing. */
void putBankIntoCache (const LibrarianState& state, int bank, ProgramSysExCache& cache);

} // namespace orvo
