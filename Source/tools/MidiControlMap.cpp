#include "MidiControlMap.h"

#include <algorithm>
#include <cmath>

namespace orvo
{

MidiControlInput MidiControlInput::normalised() const
{
    MidiControlInput n;
    n.inputType = std::clamp (inputType, 0, 3);
    n.channel = std::clamp (channel, 0, 16);
    n.controller = std::clamp (controller, -1, 127);
    if (n.inputType == (int)ControlInputType::cc14 && n.controller >= 0 && n.controller < 32)
        n.controllerLsb = controllerLsb < 0 ? n.controller + 32 : std::min (controllerLsb, 127);
    else
        n.controllerLsb = std::clamp (controllerLsb, 0, 127);
    return n;
}

bool MidiControlInput::operator== (const MidiControlInput& other) const
{
    const auto a = normalised(), b = other.normalised();
    return a.inputType == b.inputType && a.channel == b.channel && a.controller == b.controller &&
           a.controllerLsb == b.controllerLsb;
}

std::string MidiControlInput::typeCaption (int type)
{
    static const char* captions[] = { "CC 7-BIT", "CC 14-BIT", "NRPN", "RPN" };
    return captions[std::clamp (type, 0, 3)];
}

const char* MidiControlInput::typeKey (int type)
{
    static const char* keys[] = { "7bitCc", "14bitCc", "nrpn", "rpn" };
    return keys[std::clamp (type, 0, 3)];
}

int MidiControlInput::typeFromText (const std::string& text)
{
    const auto lower = juce::String (text).toLowerCase();
    if (lower.contains ("nrpn"))
        return (int)ControlInputType::nrpn;
    if (lower.contains ("rpn"))
        return (int)ControlInputType::rpn;
    if (lower.contains ("14") || lower.contains ("fourteen"))
        return (int)ControlInputType::cc14;
    return (int)ControlInputType::cc7;
}

std::string MidiControlInput::text() const
{
    const auto n = normalised();
    if (n.controller < 0)
        return "NONE";
    std::string controllerText;
    switch ((ControlInputType)n.inputType)
    {
        case ControlInputType::cc7:
            controllerText = "CC " + std::to_string (n.controller);
            break;
        case ControlInputType::cc14:
            controllerText = "CC " + std::to_string (n.controller) + "+" + std::to_string (n.controllerLsb);
            break;
        default:
            controllerText = "MSB " + std::to_string (n.controller) + " LSB " + std::to_string (n.controllerLsb);
            break;
    }
    return typeCaption (n.inputType) + " / " +
           (n.channel == 0 ? std::string ("ALL") : "CH " + std::to_string (n.channel)) + " / " + controllerText;
}

double ControllerMessage::position() const
{
    if (inputType == (int)ControlInputType::cc7)
        return std::clamp (value7, 0, 127) / 127.0;
    return std::clamp (value14, 0, 16383) / 16383.0;
}

//==============================================================================
bool MidiControlMap::assign (const std::string& targetId, const std::string& targetName, const MidiControlInput& input)
{
    if (input.controller > 127)
        return false;
    const auto n = input.normalised();
    for (auto it = table.begin(); it != table.end();)
        it = it->first != targetId && it->second.input == n ? table.erase (it) : std::next (it);
    if (n.inputType == (int)ControlInputType::cc7)
        for (auto it = legacyCc.begin(); it != legacyCc.end();)
            it = it->first != targetId && it->second == n.controller ? legacyCc.erase (it) : std::next (it);
    table[targetId] = { targetName, n };
    return true;
}

bool MidiControlMap::clear (const std::string& targetId)
{
    const bool had = table.erase (targetId) > 0;
    return legacyCc.erase (targetId) > 0 || had;
}

void MidiControlMap::clearAll()
{
    table.clear();
    legacyCc.clear();
}

const MidiControlMap::Assignment* MidiControlMap::find (const std::string& targetId) const
{
    const auto it = table.find (targetId);
    return it == table.end() ? nullptr : &it->second;
}

std::string MidiControlMap::match (const ControllerMessage& m) const
{
    for (const auto& [id, a] : table)
    {
        const auto& in = a.input;
        if ((in.channel == 0 || in.channel == m.channel) && in.inputType == m.inputType &&
            in.controller == m.controller &&
            (in.inputType == (int)ControlInputType::cc7 || in.controllerLsb == m.controllerLsb))
            return id;
    }
    if (m.inputType == (int)ControlInputType::cc7)
        for (const auto& [id, cc] : legacyCc)
            if (cc == m.controller)
                return id;
    return {};
}

juce::var MidiControlMap::toVar() const
{
    juce::Array<juce::var> list;
    for (const auto& [id, a] : table)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("targetId", juce::String (id));
        o->setProperty ("targetName", juce::String (a.targetName));
        o->setProperty ("inputType", MidiControlInput::typeKey (a.input.inputType));
        o->setProperty ("channel", a.input.channel);
        o->setProperty ("controller", a.input.controller);
        o->setProperty ("controllerLsb", a.input.controllerLsb);
        if (a.input.inputType == (int)ControlInputType::cc7)
            o->setProperty ("cc", a.input.controller);
        list.add (juce::var (o));
    }
    for (const auto& [id, cc] : legacyCc)
        if (table.count (id) == 0)
        {
            auto* o = new juce::DynamicObject();
            o->setProperty ("targetId", juce::String (id));
            o->setProperty ("cc", cc);
            list.add (juce::var (o));
        }
    auto* root = new juce::DynamicObject();
    root->setProperty ("assignments", list);
    return juce::var (root);
}

namespace
{
int intOf (const juce::var& v, int fallback)
{
    if (v.isInt() || v.isInt64() || v.isBool())
        return (int)v;
    if (v.isDouble() && std::isfinite ((double)v))
        return (int)std::clamp ((double)v, -1.0e6, 1.0e6);
    return fallback;
}
} // namespace

void MidiControlMap::fromVar (const juce::var& object, const std::function<bool (const std::string&)>& known)
{
    clearAll();
    const auto* list = object.getProperty ("assignments", {}).getArray();
    if (list == nullptr)
        return;
    for (const auto& entry : *list)
    {
        if (!entry.isObject() || !entry.hasProperty ("targetId"))
            continue;
        const auto id = entry["targetId"].toString().toStdString();
        if (id.empty() || (known && !known (id)))
            continue;
        const auto type = entry["inputType"];
        const bool hasType = !type.isVoid() && !type.isUndefined();
        if (!hasType && entry.hasProperty ("cc") && !entry.hasProperty ("controller"))
        {
            // An older document: a plain CC number per target.
            const int cc = intOf (entry["cc"], -1);
            if (cc >= 0 && cc <= 127)
                legacyCc[id] = cc;
            continue;
        }
        MidiControlInput in;
        in.inputType = !hasType          ? 0
                       : type.isString() ? MidiControlInput::typeFromText (type.toString().toStdString())
                                         : std::clamp (intOf (type, 0), 0, 3);
        in.channel = intOf (entry["channel"], 0);
        in.controller = intOf (entry.hasProperty ("controller") ? entry["controller"] : entry["cc"], -1);
        in.controllerLsb = intOf (entry["controllerLsb"], -1);
        if (in.controller > 127)
            continue;
        assign (id, entry["targetName"].toString().toStdString(), in);
    }
}

} // namespace orvo
