#include "UserPresetController.h"

#include "library/JsonText.h"
#include "model/InterfaceControls.h"

#include <algorithm>

namespace orvo
{

namespace
{
juce::var entry (const char* key, const juce::var& k, int value)
{
    auto* o = new juce::DynamicObject();
    o->setProperty (key, k);
    o->setProperty ("value", value);
    return juce::var (o);
}

std::string prefixFor (const UserPresetSection& section, int number)
{
    std::string prefix = section.prefix;
    if (const auto at = prefix.find ('#'); at != std::string::npos)
        prefix.replace (at, 1, std::to_string (number));
    return prefix;
}

/** The effect NRPNs the algorithm has controls for, SEND and PAN included, each once, in table order. */
std::vector<int> effectNrpnsOf (int algorithm)
{
    std::vector<int> nrpns;
    for (int r : effectRowsOf (algorithm))
        if (const int n = (int)effectControlTable()[(size_t)r].nrpn; std::find (nrpns.begin(), nrpns.end(), n) == nrpns.end())
            nrpns.push_back (n);
    return nrpns;
}
} // namespace

std::string UserPresetTarget::caption() const
{
    if (kind == UserPresetKind::effects)
        return "EFFECTS";
    if (kind == UserPresetKind::envelope)
        return "ENV " + std::to_string (number);
    const auto* s = findUserPresetSection (section);
    return s != nullptr ? userPresetSectionCaption (*s, number) : section;
}

std::string UserPresetTarget::title() const
{
    return caption() + " USER PRESETS";
}

std::string UserPresetTarget::deleteTitle() const
{
    return "DELETE " + caption() + " USER PRESET";
}

UserPresetController::UserPresetController (EditorEngine& e, EffectsController& fx, WedgePresetController& w,
                                            UserPresetStore& s)
    : engine (e), effects (fx), wedge (w), presets (s)
{
}

std::string UserPresetController::deleteQuestion (const std::string& name)
{
    return "ARE YOU SURE YOU WANT TO DELETE \"" + name + "\"?";
}

juce::var UserPresetController::buildDocument (const UserPresetTarget& target, const std::string& name) const
{
    auto* o = new juce::DynamicObject();
    juce::var doc (o);
    o->setProperty ("schema", UserPresetStore::schemaOf (target.kind));
    o->setProperty ("type", UserPresetStore::typeOf (target.kind));
    juce::Array<juce::var> parameters;
    const auto rowValue = [this] (const std::string& id)
    { return ParameterCatalogue::findById (id).has_value() ? std::optional<int> (engine.value (*ParameterCatalogue::findById (id))) : std::nullopt; };

    if (target.kind == UserPresetKind::effects)
    {
        o->setProperty ("name", juce::String::fromUTF8 (name.c_str()));
        const auto& state = effects.page().state();
        o->setProperty ("digitalEffect", state.algorithm());
        for (int nrpn : effectNrpnsOf (state.algorithm()))
            parameters.add (entry ("nrpn", nrpn, std::clamp (state.nrpnValue (nrpn), 0, 4095)));
    }
    else if (target.kind == UserPresetKind::envelope)
    {
        o->setProperty ("name", juce::String::fromUTF8 (name.c_str()));
        o->setProperty ("envelope", target.number);
        for (const char* id : envelopePresetIds())
            if (const auto v = rowValue ("env" + std::to_string (target.number) + "." + id))
                parameters.add (entry ("id", id, *v));
    }
    else if (const auto* section = findUserPresetSection (target.section))
    {
        o->setProperty ("section", section->key);
        o->setProperty ("name", juce::String::fromUTF8 (name.c_str()));
        const auto prefix = prefixFor (*section, target.number);
        for (const char* id : section->ids)
            if (const auto v = rowValue (prefix + id))
                parameters.add (entry ("id", id, *v));
        // The editor keeps no value for interface controls, so a saved section carries none of them.
        o->setProperty ("interface", juce::Array<juce::var>());
    }
    o->setProperty ("parameters", parameters);
    return doc;
}

WriteResult UserPresetController::save (const UserPresetTarget& target, const std::string& name)
{
    const auto result = presets.save (target.kind, buildDocument (target, name));
    engine.log().append (result ? target.caption() + " user preset saved: " + name.substr (0, UserPresetStore::maxNameLength) + ".\n"
                                : target.caption() + " user preset was not saved: " + result.error + "\n");
    return result;
}

bool UserPresetController::load (const UserPresetTarget& target, const juce::File& file)
{
    const auto doc = UserPresetStore::read (file, target.kind, target.kind == UserPresetKind::section ? target.section : "");
    if (!doc)
    {
        engine.log().append ("Could not load " + file.getFileName().toStdString() + ": it is not " +
                             juce::String (target.caption()).toLowerCase().toStdString() + " user preset.\n");
        return false;
    }
    engine.notePlayerChange (target.caption() + " USER PRESET", true);
    if (target.kind == UserPresetKind::effects)
    {
        loadEffects (*doc);
        return true;
    }
    const auto* section = findUserPresetSection (target.section);
    const auto prefix = target.kind == UserPresetKind::envelope ? "env" + std::to_string (target.number) + "."
                                                                 : prefixFor (*section, target.number);
    for (const auto& p : *(*doc)["parameters"].getArray())
        if (const auto v = documentInt (p["value"]))
            applyById (prefix + p["id"].toString().toStdString(), *v);
    if (const auto* interface = (*doc)["interface"].getArray())
        for (const auto& i : *interface)
            if (const auto nrpn = documentInt (i["nrpn"]), v = documentInt (i["value"]);
                nrpn && v && InterfaceControls::find (*nrpn) != nullptr && engine.hasOutput())
                engine.sendInterface (*nrpn, *v, InterfaceControls::actionLabel (*InterfaceControls::find (*nrpn), *v));
    lastStatus = { target.caption() + " USER PRESET", target.caption() + " User Preset loaded" };
    return true;
}

void UserPresetController::applyById (const std::string& id, int value)
{
    if (const auto row = ParameterCatalogue::findById (id))
    {
        const auto& info = ParameterCatalogue::row (*row);
        engine.userEdit (*row, std::clamp (value, info.rawMin, info.rawMax));
    }
}

void UserPresetController::loadEffects (const juce::var& doc)
{
    const int algorithm = std::clamp (documentInt (doc["digitalEffect"]).value_or (0), 0, effects::lastAlgorithm);
    auto& page = effects.page();
    const auto selection = page.chooseAlgorithm (algorithm, true);
    if (engine.hasOutput())
        engine.sendInterface (selection.nrpn, selection.raw, selection.actionLabel);
    const auto known = effectNrpnsOf (algorithm);
    for (const auto& p : *doc["parameters"].getArray())
    {
        const auto nrpn = documentInt (p["nrpn"]);
        const auto value = documentInt (p["value"]);
        if (!nrpn || !value || std::find (known.begin(), known.end(), *nrpn) == known.end())
        {
            engine.log().append ("EFFECTS USER PRESET: skipped an entry for NRPN " + juce::var (p["nrpn"]).toString().toStdString() +
                                 ", which " + effectAlgorithmName (algorithm) + " does not have.\n");
            continue;
        }
        const int raw = std::clamp (*value, 0, 4095);
        page.state().applyNrpnValue (*nrpn, raw);
        if (engine.hasOutput())
            engine.sendInterface (*nrpn, raw, "EFFECTS USER PRESET");
    }
    effects.pageChanged();
    wedge.clearAssignment ("digital-effect value changed");
    lastStatus = { "EFFECTS USER PRESET", "Effects User Preset loaded" };
}

} // namespace orvo
