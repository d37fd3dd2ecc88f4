#pragma once

#include <juce_core/juce_core.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvo
{

/** How a controller message is read: one knob as a 7-bit CC, a 14-bit CC pair, an NRPN or an RPN. */
enum class ControlInputType : int
{
    cc7 = 0,
    cc14 = 1,
    nrpn = 2,
    rpn = 3
};

/** One controller input: type, channel (0 listens on all) and controller number (for NRPN and RPN
    the parameter MSB), with the LSB controller (14-bit CC) or parameter LSB (NRPN, RPN). */
struct MidiControlInput
{
    int inputType = 0;
    int channel = 0;
    int controller = -1;
    int controllerLsb = 0;

    /** Channel, controller and LSB brought into range; a 14-bit CC below 32 without an LSB pairs
        with controller + 32. */
    MidiControlInput normalised() const;
    bool operator== (const MidiControlInput& other) const;
    bool operator!= (const MidiControlInput& other) const { return !(*this == other); }

    /** "CC 14-BIT / CH 3 / CC 7", "NRPN / ALL / 3:41"; "NONE" without a controller. */
    std::string text() const;

    static std::string typeCaption (int type);
    static const char* typeKey (int type);
    /** A type given as text is recognised by what it contains. */
    static int typeFromText (const std::string& text);
};

/** One decoded message from the controller input. */
struct ControllerMessage
{
    int inputType = 0;
    int channel = 1;
    int controller = 0;
    int controllerLsb = 0;
    int value7 = 0;
    int value14 = 0;

    MidiControlInput input() const { return { inputType, channel, controller, controllerLsb }; }
    /** Where the controller stands, 0..1. */
    double position() const;
};

/** The controller assignments of the current Program: at most one input per target, kept in
    target-id order, plus the plain CC numbers older documents stored. */
class MidiControlMap
{
public:
    struct Assignment
    {
        std::string targetName;
        MidiControlInput input;
    };

    /** Stores the input for the target and takes it away from any other target. False for a
        controller above 127. */
    bool assign (const std::string& targetId, const std::string& targetName, const MidiControlInput& input);
    /** Removes the target's assignment and legacy entry; false when it had none. */
    bool clear (const std::string& targetId);
    void clearAll();

    const Assignment* find (const std::string& targetId) const;
    /** The target driven by the message, or empty. */
    std::string match (const ControllerMessage& message) const;

    const std::map<std::string, Assignment>& assignments() const { return table; }
    bool empty() const { return table.empty() && legacyCc.empty(); }

    /** The "midiControl" object of the tool data. */
    juce::var toVar() const;
    /** Replaces the table from a "midiControl" object; entries without a target id, with a
        controller above 127 or whose target `known` refuses are skipped. */
    void fromVar (const juce::var& object, const std::function<bool (const std::string&)>& known);

private:
    std::map<std::string, Assignment> table;
    std::map<std::string, int> legacyCc;
};

} // namespace orvo
