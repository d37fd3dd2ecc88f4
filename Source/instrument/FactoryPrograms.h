#pragma once

#include "instrument/InstrumentProgram.h"

#include <string>
#include <vector>

namespace orvo
{

/** One factory Program of the simulated instrument: the catalogue values and effect bytes it was
    built from, and the Program those became. */
struct FactoryProgram
{
    std::string name;
    ProgramValues planned{}; // catalogue values as designed, before the Program stored them
    ProgramRows stored;      // rows whose values stand in `unpacked`
    int effectAlgorithm = 0;
    std::vector<std::uint8_t> effectParameters; // the 30 stored effect parameter bytes
    UnpackedProgram unpacked;
};

namespace factory
{
constexpr int numBanks = 3; // USER, PRESET 1, PRESET 2
constexpr int numPrograms = 128;

/** One Program, built on first use and the same in every run; a bad bank or slot is clamped. */
const FactoryProgram& program (int bank, int slot);

/** The 128 Programs of a bank; empty for a bad bank. */
const std::vector<FactoryProgram>& bank (int bank);

/** The bank as a stream of 128 stored Program dumps (opcode 00) addressed to `bank`; empty for a bad bank. */
ByteVector bankSysEx (int bank);

/** "USER", "PRESET 1", "PRESET 2"; empty for a bad bank. */
std::string bankName (int bank);
} // namespace factory

} // namespace orvo
