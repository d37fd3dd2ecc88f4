#pragma once

#include <string>

namespace orvo
{

/** What the morph knob, the macros and the controller mapping need of the editor. They act on the
    editor's own controls, so the instrument hears ordinary edits. */
class ToolHost
{
public:
    virtual ~ToolHost() = default;

    /** The catalogue row's current raw value. */
    virtual int rowValue (int row) const = 0;
    /** Sets a catalogue row as an edit: stored, shown, sent. */
    virtual void editRow (int row, int raw) = 0;
    /** Shows and sends a control that the instrument knows only by its NRPN. */
    virtual void editInterface (int nrpn, int value, const std::string& actionLabel) = 0;
    virtual void log (const std::string& line) = 0;
    /** The tool state changed: the Program counts as edited and the slot's tool data is kept. */
    virtual void recordChange (const std::string& what) = 0;
    /** A random integer in 0..n-1. */
    virtual int randomBelow (int n) = 0;
};

} // namespace orvo
