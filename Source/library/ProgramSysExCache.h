#pragma once

#include "midi/SysExProtocol.h"

#include <juce_core/juce_core.h>

#include <array>
#include <functional>
#include <mutex>
#include <optional>

namespace orvo
{

/** The complete Program SysEx of each slot of the Program banks (0..2), filled by the MIDI receive
    path and by document loads, and the most recent bank dump. Every access holds the one lock, so the
    MIDI thread and the message thread may both use it. */
class ProgramSysExCache
{
public:
    static constexpr int numProgramBanks = 3;
    static constexpr int numSlots = 128;

    /** Where the last bank sync left a slot's dump on disk (LibraryRoot::latestProgramCaptureFile);
        asked on every lookup so a new library root takes effect at once. */
    using CaptureFileLocator = std::function<juce::File (int bank, int slot)>;

    explicit ProgramSysExCache (CaptureFileLocator locator = {});

    /** Stores a slot's message; empty messages and banks or slots out of range are ignored. */
    void store (int bank, int slot, ByteVector message);
    void clear (int bank, int slot);
    void clearAll();
    /** True when the per-slot entry is present (the bank dump and capture files are not asked). */
    bool has (int bank, int slot) const;

    /** The most recent bank dump received: one message per slot (an empty one for a slot that did not
        arrive). Replaces the previous one. */
    void storeBankDump (int bank, std::vector<ByteVector> messagesBySlot);

    /** The slot's dump: the per-slot entry, else the bank dump when it is of this bank, else the slot's
        file in the sync capture folder. Nothing unless the hit is non-empty. */
    std::optional<ByteVector> lookup (int bank, int slot) const;

    /** The lock shared with the receive queue that feeds this cache. */
    std::mutex& lock() const { return mutex; }

private:
    static bool inRange (int bank, int slot);

    mutable std::mutex mutex;
    std::array<std::array<ByteVector, numSlots>, numProgramBanks> slots;
    int bankDumpBank = -1;
    std::vector<ByteVector> bankDump;
    CaptureFileLocator captureFile;
};

} // namespace orvo
