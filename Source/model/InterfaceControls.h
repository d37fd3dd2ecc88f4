#pragma once

#include <string>
#include <vector>

namespace orvo
{

/** Page controls that change the instrument by a fixed NRPN without a catalogue row. */
struct InterfaceControlInfo
{
    enum Style
    {
        chosenValue, // the control picks a value 0..maxValue
        onOff,       // two states, each with its own value and action label
        cycleThree   // three states advanced by each press
    };

    int nrpn = 0;
    int page = 0; // tab index
    const char* section = "";
    const char* caption = "";
    Style style = chosenValue;
    const char* actionLabel = ""; // chosen values; the prefix for "OSC ENGINE " + state and the like
    const char* onLabel = "";
    const char* offLabel = "";
    int onValue = 4095;
    int offValue = 0;
    int maxValue = 4095;
    bool appendsState = false;
};

class InterfaceControls
{
public:
    static const std::vector<InterfaceControlInfo>& all();
    static const InterfaceControlInfo* find (int nrpn);

    /** "__interface:" + NRPN in decimal. */
    static std::string key (int nrpn);
    /** The label the log shows for a send of `value`. */
    static std::string actionLabel (const InterfaceControlInfo& info, int value);
    /** The value the three-state control sends in state 1..3. */
    static int cycleValue (int state);
    /** Name used by the NRPN logs when no catalogue row carries the NRPN. */
    static std::string nameForNrpn (int nrpn);

    /** The raw values the control can send, lowest first. */
    static int rawMin (const InterfaceControlInfo& info);
    static int rawMax (const InterfaceControlInfo& info);
    /** The text its value box shows for `value`. Two-state buttons whose two labels differ name
        the state ("MONO" / "POLY"); others go by the label rules of ValueText. */
    static std::string valueText (const InterfaceControlInfo& info, int value);
    /** Its range text for the parameter details. */
    static std::string rangeText (const InterfaceControlInfo& info);
    static bool usesPanDisplay (const InterfaceControlInfo& info);
};

} // namespace orvo
