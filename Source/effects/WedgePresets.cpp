#include "effects/WedgePresets.h"

#include "effects/EffectAlgorithms.h"
#include "model/EmbeddedResources.h"
#include "model/TextMatching.h"

#include <algorithm>
#include <array>

namespace orvo
{

namespace
{

std::vector<WedgePreset> readTable()
{
    std::vector<WedgePreset> table;
    const auto resource = embeddedResource ("WedgePresets.json");
    if (resource.data == nullptr)
        return table;
    const auto parsed = juce::JSON::parse (juce::String::fromUTF8 ((const char*)resource.data, (int)resource.size));
    const auto* rows = parsed.getArray();
    if (rows == nullptr)
        return table;
    for (const auto& row : *rows)
    {
        WedgePreset p;
        p.number = (int)row.getProperty ("number", -1);
        p.name = row.getProperty ("name", "").toString().toStdString();
        p.group = row.getProperty ("group", "").toString().toStdString();
        p.algorithm = (int)row.getProperty ("algorithm", -1);
        if (const auto* settings = row.getProperty ("settings", {}).getArray())
            for (const auto& pair : *settings)
                if (pair.isArray() && pair.size() == 2)
                    p.settings.emplace_back ((int)pair[0], (int)pair[1]);
        table.push_back (std::move (p));
    }
    return table;
}

struct Heading
{
    int first;
    const char* text;
};

constexpr std::array<Heading, 12> headings{ { { 0, "HALLS" },
                                              { 10, "ROOMS" },
                                              { 20, "PLATES" },
                                              { 30, "OTHER REVERBS" },
                                              { 40, "FILM / POST EFFECTS" },
                                              { 50, "DELAYS" },
                                              { 60, "CHORUS" },
                                              { 65, "FLANGE" },
                                              { 70, "MULTIEFFECTS" },
                                              { 80, "DUAL-SEND REVERBS" },
                                              { 90, "DUAL-SEND EFFECTS" },
                                              { 100, "DEFAULT PROGRAMS" } } };

} // namespace

const std::vector<WedgePreset>& wedgePresets()
{
    static const std::vector<WedgePreset> table = readTable();
    return table;
}

const WedgePreset* findWedgePreset (int number)
{
    const auto& table = wedgePresets();
    const auto it = std::find_if (table.begin(), table.end(), [number] (const WedgePreset& p) { return p.number == number; });
    return it == table.end() ? nullptr : &*it;
}

std::string wedgeMenuHeading (int number)
{
    if (number < 0 || number >= wedge::numPresets)
        return {};
    // The user half repeats the factory headings; it has no default Programs.
    const bool user = number >= 128;
    const int base = user ? number - 128 : number;
    for (const auto& h : headings)
        if (h.first == base && !(user && h.first == 100))
            return user ? std::string ("USER - ") + h.text : std::string (h.text);
    return {};
}

std::string wedgeMenuItemText (const WedgePreset& preset)
{
    return text::threeDigits (preset.number) + " " + preset.name;
}

juce::var wedgeAssignmentObject (const WedgePreset& preset)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("schema", wedge::assignmentSchema);
    o->setProperty ("group", wedge::assignmentGroup);
    o->setProperty ("program", preset.number);
    o->setProperty ("name", juce::String::fromUTF8 (preset.name.c_str()));
    return juce::var (o);
}

int wedgeAssignmentNumber (const juce::var& v)
{
    const auto object = v.hasProperty (wedge::documentKey) ? v.getProperty (wedge::documentKey, {}) : v;
    const auto number = object.getProperty ("program", {});
    if (!(number.isInt() || number.isInt64() || number.isDouble()))
        return wedge::noPreset;
    const double n = (double)number;
    return n >= 0 && n < wedge::numPresets ? (int)n : wedge::noPreset;
}

} // namespace orvo
