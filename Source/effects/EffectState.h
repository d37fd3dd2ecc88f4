#pragma once

#include "effects/EffectControlTable.h"
#include "midi/SysExProtocol.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The digital effects as the editor holds them: the current algorithm, one raw value per effect
    NRPN, and one raw value (with an optional fixed text) per page and slot of the effects page.
    The two stores differ where controls share an NRPN, as "OUT R" and the first PARAM1 control do
    on the dual algorithms. */
class EffectState
{
public:
    int algorithm() const { return current; }

    /** Makes the (clamped) index current. The page's controls take the values known for their NRPNs
        and lose any fixed text, as a rebuilt page would. */
    void selectAlgorithm (int index);

    /** 0 when never set or not an effect NRPN. */
    int nrpnValue (int nrpn) const;
    bool hasNrpnValue (int nrpn) const;
    /** Values are kept as they travel, 0 to 16383. */
    void storeNrpnValue (int nrpn, int value);

    int slotValue (int page, int slot) const;
    /** The text shown instead of the family's while the value stays as it was applied; often empty. */
    const std::string& fixedText (int page, int slot) const;

    /** Sets a page control and the value of its NRPN; a fixed text lasts until the next change. */
    void setControl (int page, int slot, int raw, const std::string& fixedDisplay = {});

    /** An effect value from outside (instrument, preset): the NRPN's value and the current
        algorithm's first control on it. */
    void applyNrpnValue (int nrpn, int raw);

private:
    static bool onPage (int page, int slot);

    int current = 0;
    std::array<int, effects::numNrpns> nrpnValues{};
    std::array<bool, effects::numNrpns> nrpnKnown{};
    std::array<std::array<int, effects::slotsPerPage>, effects::numPages> slots{};
    std::array<std::array<std::string, effects::slotsPerPage>, effects::numPages> texts{};
};

/** The effect bytes of one Program, each missing when the Program ends before it. */
struct StoredEffectBytes
{
    std::optional<int> panWord;           // 16-bit at 956
    std::optional<int> sendWord;          // 16-bit at 1900
    std::optional<int> algorithmByte;     // 1908, as stored
    std::vector<std::uint8_t> parameters; // up to 30 from 1909
};

namespace effectbytes
{
constexpr int panOffset = 956;
constexpr int sendOffset = 1900;
constexpr int algorithmOffset = 1908;
constexpr int parametersOffset = 1909;
constexpr int parameterCount = 30;
} // namespace effectbytes

StoredEffectBytes storedEffectBytesOf (const UnpackedProgram& program);

/** Applies one stored parameter byte: stored slot k of the algorithm's stored order, expanded by
    its family, captured exceptions applied, set on the page and stored for the NRPN without sending.
    False when nothing was applied: a slot beyond the order or the unused byte (silently), or a
    family without a stored form (with a line appended to `log`). */
bool applyStoredEffectParameter (EffectState& state, int algorithm, int k, int stored, std::string& log);

/** The same for a given row, for rows that do not come from the stored order. */
bool applyStoredEffectParameterTo (EffectState& state, int algorithm, const DigitalEffectParameterMapping& row,
                                   int stored, std::string& log);

/** A 16-bit send or pan word as a raw value. */
int effectWordToRaw (int word);

/** Applies a Program's effect settings: the algorithm (above 28 counts as 28) with NRPN 3603's
    value, send and pan, then the 30 parameter bytes. Returns the log lines of skipped parameters. */
std::string applyProgramEffects (EffectState& state, const StoredEffectBytes& bytes);

} // namespace orvo
