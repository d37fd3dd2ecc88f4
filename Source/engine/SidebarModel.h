#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvo
{
class TuningModel;

/** The two sidebar panes and the tool each shows. PARAMETER DETAILS and MONITOR each own one
    shared display that can stand in only one pane at a time; the other pane gets a placeholder. */
class SidebarModel
{
public:
    enum Tool
    {
        parameterDetails = 1,
        monitor = 2,
        morphKnob = 3,
        macros = 4,
        notes = 5,
        parameterHelp = 6,
        midiControl = 7,
        layoutEdit = 8,
        parameterAttributes = 9,
        parameterProperties = 10,
        digitalFxConfig = 11
    };
    enum Pane
    {
        top = 0,
        bottom = 1
    };

    static std::string toolName (int tool);
    /** Dropdown order; the diagnostic tools only while diagnostic mode is on. */
    static std::vector<int> toolList (bool diagnosticMode, bool digitalFxLayoutEditing = false);
    /** A stored default that is not valid falls back to 1 (top) or 2 (bottom). */
    static int validDefault (int pane, int stored, bool diagnosticMode);

    explicit SidebarModel (int topTool = parameterDetails, int bottomTool = monitor);

    /** Sets the pane's tool (falling back to PARAMETER DETAILS when it is not offered) and
        re-lays out both panes. Returns true when the MONITOR visibility changed. */
    bool setTool (int pane, int tool);
    int tool (int pane) const { return tools[pane & 1]; }

    void setDiagnosticMode (bool on, bool digitalFxLayoutEditing = false);
    bool isDigitalFxLayoutEditing() const { return fxLayout; }

    bool showsTool (int tool) const { return tools[0] == tool || tools[1] == tool; }
    bool monitorShown() const { return showsTool (monitor); }

    /** True when the pane shows the placeholder instead of its tool's shared display. */
    bool showsPlaceholder (int pane) const;
    /** "Monitor is already open in the other sidebar window." and the like; empty otherwise. */
    static std::string placeholderTitle (int tool);
    static std::string placeholderText (int tool);

    /** The PARAMETER DETAILS line of an oscillator tuning row (semitone, cents or fine): "Estimated A4: "
        and the frequency from the oscillator's three current raw values, read through `valueOfRow`.
        Empty for any other row and when there is no usable tuning model. */
    static std::string tuningEstimateText (int row, const std::function<int (int row)>& valueOfRow);
    static std::string tuningEstimateText (int row, const std::function<int (int row)>& valueOfRow,
                                           const TuningModel* model);

private:
    void layOut();

    int tools[2];
    int owner[2] = { -1, -1 }; // pane that owns the details display [0] and the monitor display [1]
    bool diagnostic = false;
    bool fxLayout = false;
};

} // namespace orvo
