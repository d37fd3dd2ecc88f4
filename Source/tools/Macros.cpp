#include "Macros.h"

#include "model/InterfaceControls.h"
#include "model/ParameterCatalogue.h"

#include <algorithm>
#include <cmath>

namespace orvo
{
namespace
{
/** The NRPN of an "__interface:" key, or -1. */
int interfaceNrpnOf (const std::string& id)
{
    const std::string prefix = "__interface:";
    if (id.rfind (prefix, 0) != 0)
        return -1;
    const auto digits = id.substr (prefix.size());
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of ("0123456789") != std::string::npos)
        return -1;
    return InterfaceControls::find (std::stoi (digits)) != nullptr ? std::stoi (digits) : -1;
}
} // namespace

bool Macros::anyAssigned() const
{
    return std::any_of (list.begin(), list.end(), [] (const Macro& m) { return !m.parameterId.empty(); });
}

std::string Macros::statusText() const
{
    if (clearing)
        return "SELECT A MACRO TO CLEAR";
    if (assigning)
        return selected < 0 ? "SELECT MACRO TO ASSIGN" : "SELECT PARAMETER";
    return status;
}

void Macros::setAssignMode (bool on)
{
    assigning = on;
    if (on)
        clearing = false;
    status = "SELECT A MACRO.";
}

void Macros::setClearMode (bool on)
{
    clearing = on && anyAssigned();
    if (clearing)
        assigning = false;
}

void Macros::selectMacro (int index)
{
    if (index < -1 || index >= count)
        return;
    selected = index;
    if (clearing && index >= 0)
        clearMacro (index);
}

std::optional<double> Macros::knobFor (const std::string& targetId, int raw)
{
    if (const auto row = ParameterCatalogue::findById (targetId))
    {
        const auto& info = ParameterCatalogue::row (*row);
        const int v = std::clamp (raw, info.rawMin, info.rawMax);
        double t = 0.0;
        if (info.kind == kindToggle || info.kind == kindLatchedButton)
            t = v != info.offValue ? 1.0 : 0.0;
        else if (info.kind == kindEnumButtons)
        {
            int best = 0;
            for (int i = 1; i < info.labelCount; ++i)
                if (std::abs (info.labels[(size_t)i].value - v) < std::abs (info.labels[(size_t)best].value - v))
                    best = i;
            t = info.labelCount > 1 ? best / (double)(info.labelCount - 1) : 0.0;
        }
        else
            t = info.rawMax > info.rawMin ? (v - info.rawMin) / (double)(info.rawMax - info.rawMin) : 0.0;
        return 100.0 * t;
    }
    if (interfaceNrpnOf (targetId) >= 0)
        return 100.0 * std::clamp (raw, 0, 4095) / 4095.0;
    return std::nullopt;
}

void Macros::assignFrom (const std::string& targetId)
{
    if (!assigning || selected < 0)
        return;
    const auto row = ParameterCatalogue::findById (targetId);
    if (row && ParameterCatalogue::row (*row).kind == kindMomentaryButton)
        return;
    if (!row && interfaceNrpnOf (targetId) < 0)
        return;
    auto& m = list[(size_t)selected];
    m.parameterId = targetId;
    m.display.clear();
    if (row)
        m.knob = knobFor (targetId, host.rowValue (*row)).value_or (0.0);
    // One assignment per selection: the next one starts from choosing a macro again.
    assigning = false;
    selected = -1;
    status = "PARAMETER ASSIGNED.";
    host.recordChange ("macro assignment changed");
}

void Macros::clearMacro (int index)
{
    if (index < 0 || index >= count)
        return;
    auto& m = list[(size_t)index];
    m = {};
    host.recordChange ("macro assignment cleared");
    if (!anyAssigned())
        clearing = false;
}

void Macros::setKnob (int index, double value)
{
    if (index < 0 || index >= count)
        return;
    auto& m = list[(size_t)index];
    m.knob = std::clamp (std::isfinite (value) ? value : 0.0, 0.0, 100.0);
    if (m.parameterId.empty())
        return;
    const double t = m.knob / 100.0;
    if (const auto row = ParameterCatalogue::findById (m.parameterId))
    {
        const auto& info = ParameterCatalogue::row (*row);
        int raw = 0;
        if (info.kind == kindToggle || info.kind == kindLatchedButton)
            raw = t >= 0.5 ? info.onValue : info.offValue;
        else if (info.kind == kindEnumButtons && info.labelCount > 0)
            raw = info.labels[(size_t)std::lround ((info.labelCount - 1) * t)].value;
        else
            raw =
                std::clamp ((int)std::lround ((info.rawMax - info.rawMin) * t + info.rawMin), info.rawMin, info.rawMax);
        host.editRow (*row, raw);
    }
    else if (const int nrpn = interfaceNrpnOf (m.parameterId); nrpn >= 0)
    {
        const int v = std::clamp ((int)std::lround (t * 4095), 0, 4095);
        host.editInterface (nrpn, v, InterfaceControls::actionLabel (*InterfaceControls::find (nrpn), v));
    }
    else
    {
        m.display = "MACRO " + std::to_string (index + 1) + ": ASSIGNMENT NOT FOUND.";
        return;
    }
    m.display.clear();
    host.recordChange ("macro value changed");
}

void Macros::mirror (const std::string& targetId, int raw)
{
    for (auto& m : list)
        if (m.parameterId == targetId)
            if (const auto k = knobFor (targetId, raw))
                m.knob = *k;
}

juce::var Macros::toVar() const
{
    juce::Array<juce::var> controls;
    for (int i = 0; i < count; ++i)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("index", i);
        o->setProperty ("parameterId", juce::String (list[(size_t)i].parameterId));
        o->setProperty ("value", list[(size_t)i].knob);
        controls.add (juce::var (o));
    }
    auto* root = new juce::DynamicObject();
    root->setProperty ("controls", controls);
    return juce::var (root);
}

void Macros::reset()
{
    list = {};
    selected = -1;
    assigning = clearing = false;
    status = "SELECT A MACRO.";
}

void Macros::fromVar (const juce::var& macros)
{
    reset();
    const auto* controls = macros.getProperty ("controls", {}).getArray();
    if (controls == nullptr)
        return;
    for (const auto& entry : *controls)
    {
        const auto index = entry.getProperty ("index", -1);
        if (!(index.isInt() || index.isInt64() || index.isDouble()) || (double)index < 0 || (double)index > 7)
            continue;
        auto& m = list[(size_t)(int)index];
        m.parameterId = entry.getProperty ("parameterId", "").toString().toStdString();
        const auto value = entry.getProperty ("value", 0);
        const double v = value.isDouble() || value.isInt() || value.isInt64() ? (double)value : 0.0;
        m.knob = std::isfinite (v) ? std::clamp (v, 0.0, 100.0) : 0.0;
    }
}

} // namespace orvo
