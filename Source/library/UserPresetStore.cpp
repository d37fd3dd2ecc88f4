#include "UserPresetStore.h"

#include "JsonText.h"

#include <algorithm>
#include <utility>

namespace orvo
{

const std::vector<UserPresetSection>& userPresetSections()
{
    static const std::vector<UserPresetSection> sections = {
        { "dynamics-env", "ENV # DYNAMICS", "env#.", { "keytrack", "leveltrack", "velocitymod", "releasemod" }, {} },
        { "wave-type-lfo", "LFO # WAVE TYPE", "lfo#.",
          { "shape", "rate", "delay", "phase", "level", "offset", "polarity", "wavewidth", "enable", "startson" }, {} },
        { "pre-filter-mix", "PRE-FILTER MIX", "prefilter.", { "osc1", "osc2", "subosc1", "subosc2", "ringmod", "noiseext" },
          { 2610, 2611, 2612 } },
        { "filter-2", "FILTER 2 (24dB)", "filter2.", { "frequency", "resonance", "env2amount", "keytrack" }, {} },
        { "post-filter-mix", "POST FILTER MIX", "postfilter.",
          { "osc1", "osc2", "subosc1", "subosc2", "ringmod", "noiseext" }, {} },
        { "sample-and-hold", "SAMPLE & HOLD", "sh.", { "samplesource", "level", "offset", "rate", "enable" }, {} },
        { "arpeggiator-settings", "ARPEGGIATOR SETTINGS", "performance.arp.",
          { "length", "localbpm", "octave", "progmin", "progmax", "progressor" },
          { 897, 899, 901, 903, 905, 907, 908 } },
        { "wheel-assign", "PITCH WHEEL & MOD WHEEL ASSIGN", "performance.wheel.", { "bottomrange", "toprange", "scale" },
          { 3845, 3846 } },
        { "portamento", "PORTAMENTO", "performance.lowerportamento.", { "time", "offset" },
          { 3976, 3978, 3979, 3980, 3981, 3983 } },
    };
    return sections;
}

const UserPresetSection* findUserPresetSection (const std::string& key)
{
    for (const auto& s : userPresetSections())
        if (key == s.key)
            return &s;
    return nullptr;
}

std::string userPresetSectionCaption (const UserPresetSection& section, int number)
{
    std::string caption = section.caption;
    if (const auto at = caption.find ('#'); at != std::string::npos)
        caption.replace (at, 1, std::to_string (number));
    return caption;
}

const std::vector<const char*>& envelopePresetIds()
{
    static const std::vector<const char*> ids = {
        "delaytime",    "attacktime",     "decay1time",   "decay2time",    "release1time",  "release2time",
        "shape",        "attacklevel",    "decay2level",  "sustainlevel",  "release2level", "offsetlevel",
        "polarity",     "triggermode",    "triggersource", "triggerlevel", "triggerpolarity", "triggerenable",
        "retriggerstage", "trigselect",   "loopstart",    "loopend",       "loopcount",     "looptype",
        "smoothtime",   "smoothslope",    "reset",        "sustainpedal",  "keytrack",      "keybase",
        "leveltrack",   "velocitymod",    "releasemod",
    };
    return ids;
}

UserPresetStore::UserPresetStore (EditorSettingsStore& s, juce::File dataFolder, std::function<Seeds()> seeds)
    : settings (s), root (dataFolder.getChildFile ("User Presets")), factorySeeds (std::move (seeds))
{
}

void UserPresetStore::seedOnce() const
{
    if (std::exchange (seeded, true) || !factorySeeds)
        return;
    if (settings.readInt (seedVersionKey, 0) < factorySeedVersion)
        seedFactoryPresets (factorySeeds());
}

juce::File UserPresetStore::folder (UserPresetKind kind) const
{
    switch (kind)
    {
        case UserPresetKind::effects:
        {
            const auto chosen = juce::String (settings.readString (effectsFolderKey)).trim();
            return chosen.isNotEmpty() && juce::File::isAbsolutePath (chosen) ? juce::File (chosen)
                                                                              : root.getChildFile ("Effects");
        }
        case UserPresetKind::envelope: return root.getChildFile ("Envelopes");
        case UserPresetKind::section: break;
    }
    return root.getChildFile ("Sections");
}

std::string UserPresetStore::fileNameFor (const std::string& name)
{
    const auto text = juce::String::fromUTF8 (name.c_str());
    auto stem = juce::File::createLegalFileName (text).substring (0, maxFileStemLength).trim();
    if (stem.isEmpty())
        stem = "Preset";
    return (stem + "-" + juce::String::toHexString ((juce::int64)text.hashCode64()) + ".orvopreset").toStdString();
}

const char* UserPresetStore::schemaOf (UserPresetKind kind)
{
    switch (kind)
    {
        case UserPresetKind::effects: return "orvo.effects-user-preset.v1";
        case UserPresetKind::envelope: return "orvo.envelope-user-preset.v1";
        case UserPresetKind::section: break;
    }
    return "orvo.section-user-preset.v1";
}

const char* UserPresetStore::typeOf (UserPresetKind kind)
{
    switch (kind)
    {
        case UserPresetKind::effects: return "effects";
        case UserPresetKind::envelope: return "envelope";
        case UserPresetKind::section: break;
    }
    return "section";
}

std::vector<UserPresetEntry> UserPresetStore::list (UserPresetKind kind, const std::string& sectionKey) const
{
    seedOnce();
    std::vector<UserPresetEntry> out;
    for (const auto& file : folder (kind).findChildFiles (juce::File::findFiles, false, "*.orvopreset"))
        if (const auto doc = read (file, kind, sectionKey))
            out.push_back ({ file, (*doc)["name"].toString().toStdString() });
    std::sort (out.begin(), out.end(), [] (const auto& a, const auto& b) { return a.name < b.name; });
    return out;
}

WriteResult UserPresetStore::save (UserPresetKind kind, juce::var document) const
{
    seedOnce();
    const auto name = document["name"].toString().substring (0, maxNameLength);
    if (auto* o = document.getDynamicObject())
        o->setProperty ("name", name);
    return writeFileAtomically (folder (kind).getChildFile (juce::String (fileNameFor (name.toStdString()))),
                                toJsonText (document));
}

std::optional<juce::var> UserPresetStore::read (const juce::File& file, UserPresetKind kind, const std::string& sectionKey)
{
    juce::var doc;
    if (parseJsonFile (file, doc).failed() || !doc.isObject() || doc["schema"].toString() != schemaOf (kind) ||
        doc["type"].toString() != typeOf (kind) || !doc["parameters"].isArray())
        return std::nullopt;
    if (kind == UserPresetKind::section &&
        (findUserPresetSection (doc["section"].toString().toStdString()) == nullptr ||
         (!sectionKey.empty() && doc["section"].toString() != juce::String (sectionKey))))
        return std::nullopt;
    return doc;
}

void UserPresetStore::seedFactoryPresets (const Seeds& seeds) const
{
    if (settings.readInt (seedVersionKey, 0) >= factorySeedVersion)
        return;
    for (const auto& [kind, doc] : seeds)
        (void)save (kind, doc);
    settings.writeInt (seedVersionKey, factorySeedVersion);
}

} // namespace orvo
