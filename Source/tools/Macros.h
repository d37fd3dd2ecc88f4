#pragma once

#include "ToolHost.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace orvo
{

/** Eight macro knobs, each driving one target over its whole range. */
class Macros
{
public:
    static constexpr int count = 8;

    struct Macro
    {
        std::string parameterId;
        double knob = 0.0;
        std::string display; // "MACRO 3: ASSIGNMENT NOT FOUND." after a turn with a lost target
    };

    explicit Macros (ToolHost& toolHost) : host (toolHost) {}

    const Macro& macro (int index) const { return list[(size_t)std::clamp (index, 0, count - 1)]; }
    int selectedMacro() const { return selected; }
    bool assignMode() const { return assigning; }
    bool clearMode() const { return clearing; }
    bool anyAssigned() const;
    /** The text under the macros. */
    std::string statusText() const;

    void setAssignMode (bool on);
    void setClearMode (bool on);
    /** In clear mode a selected macro is emptied at once. */
    void selectMacro (int index);
    /** The player chose a control while assigning: a ParameterId or an "__interface:" key. */
    void assignFrom (const std::string& targetId);
    void clearMacro (int index);
    void setKnob (int index, double value);
    /** The target's value changed elsewhere: the macros on it follow, nothing is sent. */
    void mirror (const std::string& targetId, int raw);

    /** The knob position (0..100) that stands for `raw` on the target; nothing for a lost target. */
    static std::optional<double> knobFor (const std::string& targetId, int raw);
    /** The "macros" object of the tool data. */
    juce::var toVar() const;
    void fromVar (const juce::var& macros);
    void reset();

private:
    ToolHost& host;
    std::array<Macro, count> list;
    int selected = -1;
    bool assigning = false, clearing = false;
    std::string status = "SELECT A MACRO.";
};

} // namespace orvo
