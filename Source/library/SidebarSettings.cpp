#include "SidebarSettings.h"

#include "JsonText.h"

namespace orvo
{

const char* SidebarSettings::pageKey (Page page)
{
    static const char* keys[] = { "morph", "macros", "notes", "midiControl" };
    return keys[page];
}

const char* SidebarSettings::label (Page page)
{
    static const char* labels[] = { "Morph Knob", "Macro", "Notes", "MIDI Control" };
    return labels[page];
}

std::string SidebarSettings::write (Page page, const juce::var& settings, const std::string& scope)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("format", "OrvoEditorSidebarSettings");
    o->setProperty ("version", 1);
    o->setProperty ("page", pageKey (page));
    o->setProperty ("label", label (page));
    if (page == notes)
        o->setProperty ("scope", juce::String (scope));
    o->setProperty ("settings", settings);
    return toJsonText (juce::var (o));
}

std::optional<juce::var> SidebarSettings::read (const std::string& text, Page page)
{
    juce::var parsed;
    if (parseJson (std::string_view (text), parsed).failed() || !parsed.isObject())
        return std::nullopt;
    if (parsed["format"].toString() != "OrvoEditorSidebarSettings" || parsed["page"].toString() != pageKey (page))
        return std::nullopt;
    const auto settings = parsed["settings"];
    if (!settings.isObject())
        return std::nullopt;
    return settings;
}

} // namespace orvo
