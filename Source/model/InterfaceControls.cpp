#include "InterfaceControls.h"

#include "model/ValueText.h"

#include <algorithm>
#include <string_view>

namespace orvo
{
namespace
{
using S = InterfaceControlInfo::Style;

InterfaceControlInfo value (int nrpn, int page, const char* section, const char* caption, const char* label,
                            bool appendsState = false)
{
    InterfaceControlInfo i;
    i.nrpn = nrpn;
    i.page = page;
    i.section = section;
    i.caption = caption;
    i.style = S::chosenValue;
    i.actionLabel = label;
    i.appendsState = appendsState;
    return i;
}

InterfaceControlInfo toggle (int nrpn, int page, const char* section, const char* caption, const char* onLabel,
                             const char* offLabel, int onValue, int offValue)
{
    InterfaceControlInfo i;
    i.nrpn = nrpn;
    i.page = page;
    i.section = section;
    i.caption = caption;
    i.style = S::onOff;
    i.onLabel = onLabel;
    i.offLabel = offLabel;
    i.onValue = onValue;
    i.offValue = offValue;
    return i;
}

enum Page
{
    performance = 0,
    oscillators = 2,
    filters = 3,
    effects = 5
};

std::vector<InterfaceControlInfo> build()
{
    std::vector<InterfaceControlInfo> v;
    v.push_back (value (643, performance, "CLOCK", "Mod Vox", "CLOCK MOD VOX"));
    v.push_back (toggle (652, performance, "CLOCK", "Start Keydown", "CLOCK START KEYDOWN", "CLOCK START NORMAL", 4095, 0));
    v.push_back (value (897, performance, "ARPEGGIATOR", "Run", "ARP RUN"));
    v.push_back (value (899, performance, "ARPEGGIATOR", "Chord", "ARP CHORD"));
    v.push_back (value (901, performance, "ARPEGGIATOR", "Latch", "ARP LATCH"));
    v.push_back (value (903, performance, "ARPEGGIATOR", "Type", "ARP TYPE"));
    v.push_back (value (905, performance, "ARPEGGIATOR", "Center", "ARP CENTER"));
    v.push_back (value (907, performance, "ARPEGGIATOR", "Sync Source", "ARP SYNC SOURCE"));
    v.push_back (value (908, performance, "ARPEGGIATOR", "Step Size", "ARP STEP SIZE"));
    v.push_back (value (910, performance, "ARP TRIGGER", "Enable", "ARP TRIGGER ENABLE"));
    v.push_back (value (911, performance, "ARP TRIGGER", "Source Type", "ARP TRIGGER SOURCE TYPE"));
    v.push_back (value (912, performance, "ARP TRIGGER", "Level", "ARP TRIGGER LEVEL"));
    v.push_back (value (913, performance, "ARP TRIGGER", "Type", "ARP TRIGGER TYPE"));
    v.push_back (toggle (914, performance, "ARP TRIGGER", "Re-Trigger", "ARP RE-TRIGGER", "ARP RE-TRIGGER", 4095, 0));
    v.push_back (value (915, performance, "ARP TRIGGER", "Vox", "ARP TRIGGER VOX"));
    v.push_back (value (916, performance, "ARP TRIGGER", "Mode", "ARP TRIGGER MODE"));
    v.push_back (toggle (3716, performance, "KEYBOARD MODE", "Mono", "KEYBOARD POLYPHONY MONO", "KEYBOARD POLYPHONY POLY", 4095, 0));
    v.push_back (toggle (3718, performance, "KEYBOARD MODE", "Rotary", "KEYBOARD ASSIGN ROTARY", "KEYBOARD ASSIGN LOWEST", 4095, 0));
    v.push_back (toggle (3845, performance, "PITCH WHEEL", "Osc 1", "PITCH WHEEL OSC 1 ON", "PITCH WHEEL OSC 1 OFF", 1, 0));
    v.push_back (toggle (3846, performance, "PITCH WHEEL", "Osc 2", "PITCH WHEEL OSC 2 ON", "PITCH WHEEL OSC 2 OFF", 1, 0));
    v.push_back (toggle (3976, performance, "PORTAMENTO", "Enable", "PORTAMENTO ENABLE ON", "PORTAMENTO ENABLE OFF", 1, 0));
    v.push_back (value (3978, performance, "PORTAMENTO", "Osc Enable", "PORTAMENTO OSC ENABLE"));
    v.push_back (value (3979, performance, "PORTAMENTO", "Filter Enable", "PORTAMENTO FILTER ENABLE"));
    v.push_back (value (3980, performance, "PORTAMENTO", "Mode", "PORTAMENTO MODE"));
    v.push_back (toggle (3981, performance, "PORTAMENTO", "1 Speed", "PORTAMENTO SPEED 1 SPEED", "PORTAMENTO SPEED OCTAVE", 4095, 0));
    v.push_back (value (3983, performance, "PORTAMENTO", "Keyboard", "PORTAMENTO KEYBOARD"));
    v.push_back (toggle (3077, performance, "VOICE MIX", "Voice Out", "VOICE MIX VOICE OUTPUT", "VOICE MIX VOICE OUTPUT", 4095, 0));
    {
        InterfaceControlInfo i;
        i.nrpn = 3078;
        i.page = performance;
        i.section = "VOICE MIX";
        i.caption = "Output";
        i.style = S::cycleThree;
        i.actionLabel = "VOICE MIX OUTPUT";
        v.push_back (i);
    }
    v.push_back (value (1793, oscillators, "OSC ENGINE", "Engine", "OSC ENGINE ", true));
    v.push_back (value (2182, oscillators, "NOISE/EXT", "Source", "NOISE/EXT SOURCE"));
    v.push_back (value (1794, filters, "FILTER ENGINE", "Engine", "FILTER ENGINE ", true));
    v.push_back (value (2465, filters, "FILTER ENGINE", "F2 Input", "FILTER 2 INPUT"));
    v.push_back (value (3333, filters, "FILTER ENGINE", "Distortion", "ANALOG DISTORTION TYPE"));
    v.push_back (toggle (2610, filters, "PRE-FILTER SOURCE", "OSC1 Sine", "PRE-FILTER SOURCE OSC 1 SINE", "PRE-FILTER SOURCE OSC 1 SINE", 1, 0));
    v.push_back (toggle (2611, filters, "PRE-FILTER SOURCE", "OSC2 Sine", "PRE-FILTER SOURCE OSC 2 SINE", "PRE-FILTER SOURCE OSC 2 SINE", 1, 0));
    v.push_back (toggle (2612, filters, "PRE-FILTER SOURCE", "Ring Mod", "PRE-FILTER SOURCE RING MOD", "PRE-FILTER SOURCE RING MOD", 1, 0));
    v.push_back (value (3603, effects, "DIGITAL EFFECTS", "Selection", "DIGITAL EFFECTS SELECTION"));
    return v;
}
} // namespace

const std::vector<InterfaceControlInfo>& InterfaceControls::all()
{
    static const std::vector<InterfaceControlInfo> table = build();
    return table;
}

const InterfaceControlInfo* InterfaceControls::find (int nrpn)
{
    const auto& t = all();
    auto it = std::find_if (t.begin(), t.end(), [nrpn] (const auto& i) { return i.nrpn == nrpn; });
    return it == t.end() ? nullptr : &*it;
}

std::string InterfaceControls::key (int nrpn) { return "__interface:" + std::to_string (nrpn); }

std::string InterfaceControls::actionLabel (const InterfaceControlInfo& info, int v)
{
    switch (info.style)
    {
        case S::onOff: return v == info.onValue ? info.onLabel : info.offLabel;
        case S::cycleThree: return info.actionLabel;
        case S::chosenValue:
        default: return info.appendsState ? std::string (info.actionLabel) + std::to_string (v) : info.actionLabel;
    }
}

int InterfaceControls::cycleValue (int state)
{
    switch (state)
    {
        case 1: return 1365;
        case 2: return 2730;
        default: return 4095;
    }
}

std::string InterfaceControls::nameForNrpn (int nrpn)
{
    if (const auto* info = find (nrpn))
        return info->style == S::onOff ? std::string (info->onLabel) : std::string (info->actionLabel);
    return {};
}

int InterfaceControls::rawMin (const InterfaceControlInfo& info)
{
    switch (info.style)
    {
        case S::onOff: return std::min (info.onValue, info.offValue);
        case S::cycleThree: return cycleValue (1);
        case S::chosenValue:
        default: return 0;
    }
}

int InterfaceControls::rawMax (const InterfaceControlInfo& info)
{
    switch (info.style)
    {
        case S::onOff: return std::max (info.onValue, info.offValue);
        case S::cycleThree: return cycleValue (3);
        case S::chosenValue:
        default: return std::max (info.maxValue, 0);
    }
}

namespace
{
/** What tells two labels apart: the words after the ones they share ("KEYBOARD POLYPHONY MONO"
    against "... POLY" gives "MONO"). Empty when they are the same. */
std::string distinctWords (std::string_view label, std::string_view other)
{
    if (label == other)
        return {};
    size_t wordStart = 0;
    for (size_t i = 0; i < std::min (label.size(), other.size()) && label[i] == other[i]; ++i)
        if (label[i] == ' ')
            wordStart = i + 1;
    return std::string (label.substr (wordStart));
}

/** The label the value and range rules read: the on-state's for two-state buttons. */
const char* labelOf (const InterfaceControlInfo& info) { return info.style == S::onOff ? info.onLabel : info.actionLabel; }
} // namespace

std::string InterfaceControls::valueText (const InterfaceControlInfo& info, int v)
{
    const std::string label = labelOf (info);
    if (info.style == S::onOff)
    {
        const bool on = v == info.onValue;
        const auto words = on ? distinctWords (info.onLabel, info.offLabel) : distinctWords (info.offLabel, info.onLabel);
        if (! words.empty())
            return words;
        return on ? "ON" : "OFF";
    }
    return ValueText::interfaceValueText (label, info.nrpn, v, rawMin (info), rawMax (info));
}

std::string InterfaceControls::rangeText (const InterfaceControlInfo& info)
{
    const std::string label = labelOf (info);
    if (info.style == S::onOff)
    {
        // From the lower raw value's state to the higher's, as every other range reads.
        const auto off = valueText (info, info.offValue), on = valueText (info, info.onValue);
        return info.offValue <= info.onValue ? off + " TO " + on : on + " TO " + off;
    }
    return ValueText::interfaceRangeText (label, info.nrpn, rawMin (info), rawMax (info),
                                          valueText (info, rawMin (info)), valueText (info, rawMax (info)));
}

bool InterfaceControls::usesPanDisplay (const InterfaceControlInfo& info)
{
    return ValueText::interfaceUsesPanDisplay (labelOf (info), info.nrpn);
}

} // namespace orvo
