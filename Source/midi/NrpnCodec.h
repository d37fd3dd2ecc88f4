#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace orvo
{

using ControlChange = std::array<std::uint8_t, 3>;

/** The four Control Change messages of one NRPN: CC 99, CC 98, CC 6, CC 38. */
std::array<ControlChange, 4> buildNrpnMessages (int channel, int parameter, int value);

/** One assembled incoming NRPN. */
struct NrpnEvent
{
    bool complete = false;
    int channel = 0;
    int parameter = 0;
    int value = 0;
    int msb = 0;
    int lsb = 0;
};

/** Per-channel NRPN assembly. The value MSB survives an event, so a lone CC 38 completes
    another one with the same MSB; a lone CC 6 never does. Not thread-safe: one per input path. */
class NrpnAssembler
{
public:
    NrpnAssembler() { reset(); }

    /** Feeds one controller of channel 1..16; returns a complete event when CC 38 closes one. */
    NrpnEvent feed (int channel, int controller, int data);
    void reset();

private:
    struct State
    {
        int paramMsb, paramLsb, valueMsb, valueLsb;
    };
    std::array<State, 16> states;
};

/** Two lower-case hex digits per byte, separated by single spaces. */
std::string hexBytes (const std::uint8_t* data, size_t size);

/** The monitor's description of one MIDI message (without prefix or line break). */
std::string describeMidiMessage (const std::uint8_t* data, size_t size);

} // namespace orvo
