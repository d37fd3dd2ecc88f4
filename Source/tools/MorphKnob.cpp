#include "MorphKnob.h"

#include "model/ParameterCatalogue.h"

#include <algorithm>
#include <cmath>

namespace orvo
{

std::string MorphSlot::targetName() const
{
    if (source == fromParameter)
        if (const auto row = ParameterCatalogue::findById (parameterId))
            return ParameterCatalogue::row (*row).name;
    return source == fromInterface ? interfaceName : parameterId;
}

bool MorphKnob::anyValid() const
{
    return std::any_of (slotList.begin(), slotList.end(), [] (const MorphSlot& s) { return s.valid(); });
}

std::pair<int, int> MorphKnob::rangeOf (const MorphSlot& slot) const
{
    if (slot.source == MorphSlot::fromParameter)
    {
        const auto row = ParameterCatalogue::findById (slot.parameterId);
        if (!row)
            return { 0, 0 };
        const auto& info = ParameterCatalogue::row (*row);
        return { info.rawMin, info.rawMax };
    }
    return { 0, 4095 };
}

void MorphKnob::setAssignMode (bool on)
{
    assigning = on;
}

void MorphKnob::selectSlot (int index)
{
    if (index >= -1 && index < numSlots)
        selected = index;
}

void MorphKnob::assignFromRow (int row)
{
    if (!assigning || selected < 0 || row < 0 || row >= ParameterCatalogue::numRows)
        return;
    const auto& info = ParameterCatalogue::row (row);
    if (info.kind != kindContinuous)
    {
        host.log ("Morph assignment requires a continuous parameter.\n");
        return;
    }
    if (info.nrpn < 0)
    {
        host.log (std::string ("Morph assignment skipped: ") + info.name + " does not have an Orvo NRPN yet.\n");
        return;
    }
    auto& s = slotList[(size_t)selected];
    s = {};
    s.source = MorphSlot::fromParameter;
    s.parameterId = info.id;
    s.lowRaw = info.rawMin;
    s.highRaw = info.rawMax;
    s.currentRaw = std::clamp (host.rowValue (row), info.rawMin, info.rawMax);
    assigning = false;
    host.log ("Assigned MORPH slot " + std::to_string (selected + 1) + " to " + info.name + " (low " +
              std::to_string (s.lowRaw) + ", high " + std::to_string (s.highRaw) + ").\n");
    apply();
    host.recordChange ("morph assignment changed");
}

void MorphKnob::clearSlot (int index)
{
    if (index < 0 || index >= numSlots)
        return;
    slotList[(size_t)index] = {};
    host.log ("Cleared MORPH slot " + std::to_string (index + 1) + ".\n");
    host.recordChange ("morph slot cleared");
}

void MorphKnob::flipSlot (int index)
{
    if (index < 0 || index >= numSlots || !slotList[(size_t)index].valid())
        return;
    auto& s = slotList[(size_t)index];
    std::swap (s.lowRaw, s.highRaw);
    host.log ("Flipped MORPH slot " + std::to_string (index + 1) + " endpoints.\n");
    apply();
    host.recordChange ("morph endpoints flipped");
}

void MorphKnob::shuffle()
{
    for (auto& s : slotList)
    {
        if (!s.valid())
            continue;
        const auto [low, high] = rangeOf (s);
        s.lowRaw = low + host.randomBelow (high - low + 1);
        s.highRaw = low + host.randomBelow (high - low + 1);
    }
    apply();
    host.recordChange ("morph endpoints shuffled");
}

void MorphKnob::randomise (std::vector<MorphCandidate> candidates)
{
    for (int i = 0; i < numSlots && !candidates.empty(); ++i)
    {
        const auto pick = (size_t)host.randomBelow ((int)candidates.size());
        const auto c = candidates[pick];
        candidates.erase (candidates.begin() + (std::ptrdiff_t)pick);
        MorphSlot s;
        if (c.row >= 0 && c.row < ParameterCatalogue::numRows)
        {
            const auto& info = ParameterCatalogue::row (c.row);
            s.source = MorphSlot::fromParameter;
            s.parameterId = info.id;
            s.lowRaw = info.rawMin;
            s.highRaw = info.rawMax;
            s.currentRaw = std::clamp (c.currentValue, info.rawMin, info.rawMax);
        }
        else
        {
            s.source = MorphSlot::fromInterface;
            s.interfaceName = c.name;
            s.interfaceNrpn = c.nrpn;
            s.interfaceUsesPanDisplay = c.usesPanDisplay;
            s.lowRaw = 0;
            s.highRaw = 4095;
            s.currentRaw = std::clamp (c.currentValue, 0, 4095);
        }
        slotList[(size_t)i] = s;
    }
    assigning = false;
    selected = -1;
    apply();
    host.recordChange ("morph slots randomized");
}

void MorphKnob::setEndpoint (int endpoint, int value)
{
    if (endpoint < 0 || endpoint >= 2 * numSlots)
        return;
    auto& s = slotList[(size_t)(endpoint % numSlots)];
    const auto [low, high] = rangeOf (s);
    const int v = std::clamp (value, low, high);
    int& stored = endpoint < numSlots ? s.lowRaw : s.highRaw;
    if (v == stored)
        return;
    stored = v;
    apply();
    host.recordChange ("morph endpoint changed");
}

void MorphKnob::setKnob (double value)
{
    knobValue = std::clamp (std::isfinite (value) ? value : 0.0, 0.0, 100.0);
    apply();
    host.recordChange ("morph knob changed");
}

void MorphKnob::apply()
{
    const double t = std::clamp (knobValue / 100.0, 0.0, 1.0);
    for (auto& s : slotList)
    {
        if (!s.valid())
            continue;
        const int value = (int)std::lround ((s.highRaw - s.lowRaw) * t + s.lowRaw);
        if (s.source == MorphSlot::fromParameter)
        {
            const auto row = ParameterCatalogue::findById (s.parameterId);
            if (!row)
                continue; // a target this editor does not have
            const auto& info = ParameterCatalogue::row (*row);
            s.currentRaw = std::clamp (value, info.rawMin, info.rawMax);
            host.editRow (*row, s.currentRaw);
        }
        else
        {
            s.currentRaw = std::clamp (value, 0, 4095);
            host.editInterface (s.interfaceNrpn, s.currentRaw, s.interfaceName);
        }
    }
}

bool MorphKnob::mirrorNrpn (int nrpn, int value)
{
    bool any = false;
    for (auto& s : slotList)
        if (s.source == MorphSlot::fromInterface && s.interfaceNrpn == nrpn)
        {
            s.currentRaw = std::clamp (value, 0, 4095);
            any = true;
        }
    return any;
}

//==============================================================================
namespace
{
const char* sourceKey (int source)
{
    return source == MorphSlot::fromParameter   ? "parameter"
           : source == MorphSlot::fromInterface ? "interfaceNrpn"
                                                : "none";
}

int numberOf (const juce::var& v, int fallback)
{
    if (v.isInt() || v.isInt64() || v.isBool())
        return (int)std::clamp ((juce::int64)v, (juce::int64)-1000000, (juce::int64)1000000);
    if (v.isDouble() && std::isfinite ((double)v))
        return (int)std::lround (std::clamp ((double)v, -1.0e6, 1.0e6));
    return fallback;
}
} // namespace

juce::var MorphKnob::toVar() const
{
    juce::Array<juce::var> list;
    for (int i = 0; i < numSlots; ++i)
    {
        const auto& s = slotList[(size_t)i];
        auto* o = new juce::DynamicObject();
        o->setProperty ("index", i);
        o->setProperty ("source", sourceKey (s.source));
        o->setProperty ("parameterId", juce::String (s.parameterId));
        o->setProperty ("interfaceName", juce::String (s.interfaceName));
        o->setProperty ("interfaceNrpn", s.interfaceNrpn);
        o->setProperty ("interfaceUsesPanDisplay", s.interfaceUsesPanDisplay);
        o->setProperty ("lowRaw", s.lowRaw);
        o->setProperty ("highRaw", s.highRaw);
        o->setProperty ("currentRaw", s.currentRaw);
        list.add (juce::var (o));
    }
    auto* root = new juce::DynamicObject();
    root->setProperty ("value", knobValue);
    root->setProperty ("slots", list);
    return juce::var (root);
}

void MorphKnob::reset()
{
    slotList = {};
    knobValue = 0.0;
    selected = -1;
    assigning = false;
}

void MorphKnob::fromVar (const juce::var& morph)
{
    reset();
    const auto value = morph.getProperty ("value", 0);
    if (value.isDouble() || value.isInt() || value.isInt64())
        knobValue = std::isfinite ((double)value) ? std::clamp ((double)value, 0.0, 100.0) : 0.0;
    const auto* list = morph.getProperty ("slots", {}).getArray();
    if (list == nullptr)
        return;
    for (const auto& entry : *list)
    {
        const int index = numberOf (entry.getProperty ("index", -1), -1);
        if (index < 0 || index >= numSlots)
            continue;
        MorphSlot s;
        const auto source = entry.getProperty ("source", "none").toString();
        s.source = source == "parameter"       ? MorphSlot::fromParameter
                   : source == "interfaceNrpn" ? MorphSlot::fromInterface
                                               : MorphSlot::noSource;
        s.parameterId = entry.getProperty ("parameterId", "").toString().toStdString();
        s.interfaceName = entry.getProperty ("interfaceName", "").toString().toStdString();
        s.interfaceNrpn = std::clamp (numberOf (entry.getProperty ("interfaceNrpn", -1), -1), -1, 16383);
        s.interfaceUsesPanDisplay = (bool)entry.getProperty ("interfaceUsesPanDisplay", false);
        if (s.source == MorphSlot::fromParameter && !ParameterCatalogue::findById (s.parameterId))
            continue; // a target this editor does not have stays empty
        const auto [low, high] = rangeOf (s);
        s.lowRaw = std::clamp (numberOf (entry.getProperty ("lowRaw", 0), 0), low, high);
        s.highRaw = std::clamp (numberOf (entry.getProperty ("highRaw", 0), 0), low, high);
        s.currentRaw = std::clamp (numberOf (entry.getProperty ("currentRaw", 0), 0), low, high);
        if (s.valid())
            slotList[(size_t)index] = s;
    }
}

} // namespace orvo
