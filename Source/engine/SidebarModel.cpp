#include "SidebarModel.h"

#include "model/TuningModel.h"

#include <algorithm>

namespace orvo
{

std::string SidebarModel::toolName (int tool)
{
    switch (tool)
    {
        case parameterDetails: return "PARAMETER DETAILS";
        case monitor: return "MONITOR";
        case morphKnob: return "MORPH KNOB";
        case macros: return "MACROS";
        case notes: return "NOTES";
        case parameterHelp: return "PARAMETER HELP";
        case midiControl: return "MIDI CONTROL";
        case layoutEdit: return "LAYOUT EDIT";
        case parameterAttributes: return "PARAMETER ATTRIBUTES";
        case parameterProperties: return "PARAMETER PROPERTIES";
        case digitalFxConfig: return "DIGITAL FX CONFIG";
        default: return {};
    }
}

std::vector<int> SidebarModel::toolList (bool diagnosticMode, bool digitalFxLayoutEditing)
{
    std::vector<int> list { parameterDetails, monitor, midiControl, morphKnob, macros, notes, parameterHelp };
    if (diagnosticMode)
    {
        list.insert (list.end(), { layoutEdit, parameterAttributes, parameterProperties });
        if (digitalFxLayoutEditing)
            list.push_back (digitalFxConfig);
    }
    return list;
}

int SidebarModel::validDefault (int pane, int stored, bool diagnosticMode)
{
    const int fallback = pane == top ? parameterDetails : monitor;
    if (stored < 1 || stored > 10 || (stored >= 8 && ! diagnosticMode))
        return fallback;
    return stored;
}

SidebarModel::SidebarModel (int topTool, int bottomTool) : tools { topTool, bottomTool }
{
    for (int p = 0; p < 2; ++p)
    {
        const auto list = toolList (diagnostic);
        if (std::find (list.begin(), list.end(), tools[p]) == list.end())
            tools[p] = parameterDetails;
    }
    layOut();
}

bool SidebarModel::setTool (int pane, int tool)
{
    const bool monitorBefore = monitorShown();
    const auto list = toolList (diagnostic, fxLayout);
    if (std::find (list.begin(), list.end(), tool) == list.end())
        tool = parameterDetails;
    tools[pane & 1] = tool;
    layOut();
    return monitorBefore != monitorShown();
}

void SidebarModel::setDiagnosticMode (bool on, bool digitalFxLayoutEditing)
{
    diagnostic = on;
    fxLayout = digitalFxLayoutEditing;
    const auto list = toolList (diagnostic, fxLayout);
    for (auto& t : tools)
        if (std::find (list.begin(), list.end(), t) == list.end())
            t = parameterDetails;
    layOut();
}

void SidebarModel::layOut()
{
    // A display stays with the pane that holds it; a pane that stopped showing the tool lets go,
    // and the other pane, laid out after it, may then take it.
    for (int d = 0; d < 2; ++d)
    {
        const int toolOfDisplay = d == 0 ? parameterDetails : monitor;
        if (owner[d] >= 0 && tools[owner[d]] != toolOfDisplay)
            owner[d] = -1;
        for (int p = 0; p < 2; ++p)
            if (owner[d] < 0 && tools[p] == toolOfDisplay)
                owner[d] = p;
    }
}

bool SidebarModel::showsPlaceholder (int pane) const
{
    const int t = tools[pane & 1];
    if (t == parameterDetails)
        return owner[0] != (pane & 1);
    if (t == monitor)
        return owner[1] != (pane & 1);
    return false;
}

std::string SidebarModel::placeholderTitle (int tool)
{
    return tool == monitor ? "Monitor" : tool == parameterDetails ? "Parameter Details" : std::string();
}

std::string SidebarModel::placeholderText (int tool)
{
    const auto title = placeholderTitle (tool);
    return title.empty() ? std::string() : title + " is already open in the other sidebar window.";
}

std::string SidebarModel::tuningEstimateText (int row, const std::function<int (int)>& valueOfRow)
{
    return tuningEstimateText (row, valueOfRow, TuningModel::embedded());
}

std::string SidebarModel::tuningEstimateText (int row, const std::function<int (int)>& valueOfRow,
                                              const TuningModel* model)
{
    const auto oscillator = TuningModel::oscillatorOfRow (row);
    if (! oscillator || model == nullptr || ! valueOfRow)
        return {};
    const auto rows = TuningModel::rowsOfOscillator (*oscillator);
    return TuningModel::estimateText (
        model->estimateA4ForRaw (*oscillator, valueOfRow (rows[0]), valueOfRow (rows[1]), valueOfRow (rows[2])));
}

} // namespace orvo
