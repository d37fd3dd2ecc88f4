#pragma once

#include "MidiControlMap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvo
{

/** Splits the controller input's raw Control Changes into messages, by the decode mode the player
    chose: AUTO, 7-BIT CC, 14-BIT CC, NRPN or RPN (1..5). Runs on the MIDI thread; one per input. */
class ControllerDecoder
{
public:
    enum Mode
    {
        automatic = 1,
        cc7Mode = 2,
        cc14Mode = 3,
        nrpnMode = 4,
        rpnMode = 5
    };

    void setMode (int mode);
    /** 0 takes every channel. */
    void setListenChannel (int channel) { listen = channel; }

    std::optional<ControllerMessage> feed (const std::uint8_t* data, size_t size);

private:
    struct ChannelState
    {
        int parameterMsb = -1, parameterLsb = -1, valueMsb = -1;
        int parameterType = -1; // NRPN or RPN, whichever selection came last
        std::array<int, 32> ccMsb{};
        std::array<bool, 32> pairSeen{};
        ChannelState() { ccMsb.fill (-1); }
    };
    std::optional<ControllerMessage> parameterData (int channel, ChannelState& s, int cc, int value);

    int mode = automatic;
    int listen = 0;
    std::array<ChannelState, 16> channels;
};

} // namespace orvo
