#include "NrpnCodec.h"

#include <algorithm>

namespace orvo
{

std::array<ControlChange, 4> buildNrpnMessages (int channel, int parameter, int value)
{
    const auto status = (std::uint8_t) (0xB0 + std::clamp (channel - 1, 0, 15));
    return { { { status, 99, (std::uint8_t) ((parameter >> 7) & 127) },
               { status, 98, (std::uint8_t) (parameter & 127) },
               { status, 6, (std::uint8_t) ((value >> 7) & 127) },
               { status, 38, (std::uint8_t) (value & 127) } } };
}

void NrpnAssembler::reset() { states.fill ({ -1, -1, -1, -1 }); }

NrpnEvent NrpnAssembler::feed (int channel, int controller, int data)
{
    NrpnEvent event;
    if (channel < 1 || channel > 16)
        return event;
    auto& s = states[(size_t) (channel - 1)];
    const auto parameterKnown = [&s] {
        return s.paramMsb >= 0 && s.paramLsb >= 0 && ! (s.paramMsb == 127 && s.paramLsb == 127);
    };

    switch (controller)
    {
        case 99:
            s.paramMsb = data;
            s.valueMsb = s.valueLsb = -1;
            if (data == 127 && s.paramLsb == 127)
                s.paramMsb = s.paramLsb = -1;
            break;
        case 98:
            s.paramLsb = data;
            s.valueMsb = s.valueLsb = -1;
            if (s.paramMsb == 127 && data == 127)
                s.paramMsb = s.paramLsb = -1;
            break;
        case 6:
            if (parameterKnown())
                s.valueMsb = data;
            break;
        case 38:
            if (parameterKnown())
            {
                s.valueLsb = data;
                if (s.valueMsb >= 0)
                {
                    event.complete = true;
                    event.channel = channel;
                    event.parameter = s.paramMsb * 128 + s.paramLsb;
                    event.value = s.valueMsb * 128 + data;
                    event.msb = s.valueMsb;
                    event.lsb = data;
                }
            }
            break;
        default:
            break;
    }
    return event;
}

std::string hexBytes (const std::uint8_t* data, size_t size)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve (size * 3);
    for (size_t i = 0; i < size; ++i)
    {
        if (i > 0)
            out += ' ';
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
    return out;
}

std::string describeMidiMessage (const std::uint8_t* data, size_t size)
{
    std::string text;
    const auto at = [&] (size_t i) { return i < size ? (int) data[i] : 0; };
    const int status = at (0);
    const int kind = status & 0xF0;
    const auto ch = std::to_string ((status & 15) + 1);

    if (size == 0)
        text = "Other";
    else if (status == 0xF0)
        text = "SysEx bytes=" + std::to_string (size >= 2 ? size - 2 : 0);
    else if (kind == 0x90 && at (2) > 0)
        text = "Note On ch=" + ch + " note=" + std::to_string (at (1)) + " velocity=" + std::to_string (at (2));
    else if (kind == 0x80 || kind == 0x90)
        text = "Note Off ch=" + ch + " note=" + std::to_string (at (1)) + " velocity=" + std::to_string (at (2));
    else if (kind == 0xB0)
        text = "CC ch=" + ch + " cc=" + std::to_string (at (1)) + " value=" + std::to_string (at (2));
    else if (kind == 0xC0)
        text = "Program Change ch=" + ch + " program=" + std::to_string (at (1));
    else if (kind == 0xE0)
        text = "Pitch Wheel ch=" + ch + " value=" + std::to_string (at (1) | (at (2) << 7));
    else if (kind == 0xD0)
        text = "Channel Pressure ch=" + ch + " value=" + std::to_string (at (1));
    else if (kind == 0xA0)
        text = "Aftertouch ch=" + ch + " note=" + std::to_string (at (1)) + " value=" + std::to_string (at (2));
    else
        text = "Other";

    return text + " bytes=" + hexBytes (data, size);
}

} // namespace orvo
