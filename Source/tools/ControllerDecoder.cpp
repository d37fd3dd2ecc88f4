#include "ControllerDecoder.h"

#include <algorithm>

namespace orvo
{

void ControllerDecoder::setMode (int m)
{
    mode = std::clamp (m, 1, 5);
    channels = {};
}

std::optional<ControllerMessage> ControllerDecoder::parameterData (int channel, ChannelState& s, int cc, int value)
{
    if (s.parameterMsb < 0 || s.parameterLsb < 0 || (s.parameterMsb == 127 && s.parameterLsb == 127))
        return std::nullopt;
    const int type = s.parameterType;
    if ((mode == nrpnMode && type != (int)ControlInputType::nrpn) ||
        (mode == rpnMode && type != (int)ControlInputType::rpn))
        return std::nullopt;
    if (cc == 6)
    {
        s.valueMsb = value;
        return std::nullopt;
    }
    if (s.valueMsb < 0)
        return std::nullopt;
    ControllerMessage m;
    m.inputType = type;
    m.channel = channel;
    m.controller = s.parameterMsb;
    m.controllerLsb = s.parameterLsb;
    m.value14 = s.valueMsb * 128 + value;
    m.value7 = s.valueMsb;
    return m;
}

std::optional<ControllerMessage> ControllerDecoder::feed (const std::uint8_t* data, size_t size)
{
    if (data == nullptr || size < 3 || (data[0] & 0xF0) != 0xB0)
        return std::nullopt;
    const int channel = (data[0] & 15) + 1;
    if (listen >= 1 && listen <= 16 && listen != channel)
        return std::nullopt;
    const int cc = data[1] & 127, value = data[2] & 127;
    auto& s = channels[(size_t)channel - 1];

    const bool parameterModes = mode == automatic || mode == nrpnMode || mode == rpnMode;
    if (parameterModes && (cc == 99 || cc == 98 || cc == 101 || cc == 100))
    {
        const int type = cc >= 100 ? (int)ControlInputType::rpn : (int)ControlInputType::nrpn;
        if (type != s.parameterType)
            s.parameterMsb = s.parameterLsb = -1;
        s.parameterType = type;
        (cc == 99 || cc == 101 ? s.parameterMsb : s.parameterLsb) = value;
        s.valueMsb = -1;
        return std::nullopt;
    }
    if (parameterModes && (cc == 6 || cc == 38) && s.parameterType >= 0)
        return parameterData (channel, s, cc, value);
    if (mode == nrpnMode || mode == rpnMode)
        return std::nullopt;

    ControllerMessage m;
    m.channel = channel;
    if (mode != cc7Mode && cc < 32)
    {
        s.ccMsb[(size_t)cc] = value;
        if (mode == cc14Mode || s.pairSeen[(size_t)cc])
            return std::nullopt; // the LSB completes it
    }
    else if (mode != cc7Mode && cc >= 32 && cc < 64 && s.ccMsb[(size_t)cc - 32] >= 0)
    {
        s.pairSeen[(size_t)cc - 32] = true;
        m.inputType = (int)ControlInputType::cc14;
        m.controller = cc - 32;
        m.controllerLsb = cc;
        m.value14 = s.ccMsb[(size_t)cc - 32] * 128 + value;
        m.value7 = s.ccMsb[(size_t)cc - 32];
        return m;
    }
    else if (mode == cc14Mode && cc >= 32 && cc < 64)
        return std::nullopt;
    m.inputType = (int)ControlInputType::cc7;
    m.controller = cc;
    m.value7 = value;
    m.value14 = value * 128 + value; // full scale at 127
    return m;
}

} // namespace orvo
