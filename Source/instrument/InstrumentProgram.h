#pragma once

#include "data/ProgramCodec.h"

#include <array>
#include <bitset>
#include <string>

namespace orvo
{

using ProgramValues = std::array<int, ParameterCatalogue::numRows>;
using ProgramRows = std::bitset<ParameterCatalogue::numRows>;

/** How the instrument itself stores Programs. Unlike the editor it may write its own state places
    (the captured control and switch values, the LFO multipliers), so every row that has a place in
    the Program can be stored. */
namespace instrumentprogram
{
/** A signed 2,048-byte Program with an all-blank name and every other byte zero. */
UnpackedProgram blank();

/** Writes up to 16 printable characters into the name bytes, padded with spaces; false (nothing
    changed) for a longer name, an unprintable character or a Program without its signature. */
bool writeName (UnpackedProgram& program, const std::string& name);

/** Stores the chosen rows' values: the editor's writable places first, then the instrument's own
    state places. A place shared by several rows belongs to the first of them in decoding order.
    Returns the rows whose values now stand in the Program. */
ProgramRows storeValues (UnpackedProgram& program, const ProgramValues& values, const ProgramRows& rows);

/** Every row the Program holds, as the instrument reads it back; rows without a place keep `fallback`. */
ProgramValues readValues (const UnpackedProgram& program, const ProgramValues& fallback,
                          ProgramRows* defined = nullptr);
} // namespace instrumentprogram

} // namespace orvo
