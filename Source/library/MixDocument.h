#pragma once

#include "ProgramDocument.h"

namespace orvo
{

/** The Mix payload last read from the instrument and the slot it was read for. */
struct CachedMixPayload
{
    MixPayload payload;
    int bank = -1;
    int slot = -1;

    /** Usable for (bank, slot): a Mix bank, the same slot, 1,024 bytes with the Mix signature. */
    bool isValidFor (int currentBank, int currentSlot) const;
};

namespace documentkeys
{
constexpr const char* mixPayloadEncoding = "orvo-unpacked-8bit-base64";
} // namespace documentkeys

/** "SAVE MIX": the Program document's keys up to "wedgePreset" with the Mix identity, then the payload
    keys when `validPayload` is given (already checked with isValidFor); without it, an editor-only
    snapshot. */
juce::var buildMixDocument (const SlotDocumentContent& content, const MixPayload* validPayload, juce::Time capturedAt);

/** Reads a ".orvom" with every check of a Mix load; on success `mixPayload` holds the decoded payload
    or is empty for a snapshot. */
DocumentReadResult readMixDocument (const juce::File& file);

/** The payload check alone, for a root already parsed: empty reason and payload for a snapshot,
    a payload, or the reason it was refused. */
struct MixPayloadDecode
{
    MixPayload payload;
    std::string error;
};
MixPayloadDecode decodeMixPayload (const juce::var& root);

} // namespace orvo
