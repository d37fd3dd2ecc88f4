#pragma once

#include "ToolHost.h"

#include <juce_core/juce_core.h>

#include <array>
#include <string>
#include <vector>

namespace orvo
{

/** One of the morph knob's four slots: a target with the values it takes at knob 0 and 100. */
struct MorphSlot
{
    enum Source
    {
        noSource = 0,
        fromParameter = 1,
        fromInterface = 2
    };
    int source = noSource;
    std::string parameterId;
    std::string interfaceName;
    int interfaceNrpn = -1;
    bool interfaceUsesPanDisplay = false;
    int lowRaw = 0;
    int highRaw = 0;
    int currentRaw = 0;

    bool valid() const
    {
        return (source == fromParameter && !parameterId.empty()) || (source == fromInterface && interfaceNrpn >= 0);
    }
    /** "OSC 1 FREQUENCY", the interface name, or empty. */
    std::string targetName() const;
};

/** A control the morph knob may take when it picks slots at random. */
struct MorphCandidate
{
    int row = -1;     // a catalogue row, or -1 for an interface or effect control
    std::string name; // for interface and effect controls
    int nrpn = -1;
    bool usesPanDisplay = false;
    int currentValue = 0;
};

/** The morph knob: turning it from 0 to 100 moves up to four targets between their endpoints. */
class MorphKnob
{
public:
    static constexpr int numSlots = 4;

    explicit MorphKnob (ToolHost& toolHost) : host (toolHost) {}

    const std::array<MorphSlot, numSlots>& slots() const { return slotList; }
    double knob() const { return knobValue; }
    int selectedSlot() const { return selected; }
    bool assignMode() const { return assigning; }
    bool anyValid() const;

    void setAssignMode (bool on);
    /** -1 or 0..3; others are ignored. */
    void selectSlot (int index);
    /** The player chose a catalogue control while assigning. */
    void assignFromRow (int row);
    void clearSlot (int index);
    void flipSlot (int index);
    void shuffle();
    void randomise (std::vector<MorphCandidate> candidates);
    /** 0..3 the low endpoints of slots 0..3, 4..7 their high endpoints. */
    void setEndpoint (int endpoint, int value);
    void setKnob (double value);
    /** The editor stored a value for an NRPN: interface slots on it follow. True when one did. */
    bool mirrorNrpn (int nrpn, int value);

    /** The "morph" object of the tool data. */
    juce::var toVar() const;
    /** Takes a "morph" object as stored (endpoints brought into their target's range); nothing is sent. */
    void fromVar (const juce::var& morph);
    void reset();

private:
    void apply();
    std::pair<int, int> rangeOf (const MorphSlot& slot) const;

    ToolHost& host;
    std::array<MorphSlot, numSlots> slotList;
    double knobValue = 0.0;
    int selected = -1;
    bool assigning = false;
};

} // namespace orvo
