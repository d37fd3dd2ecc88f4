#pragma once

#include <juce_core/juce_core.h>

#include <optional>
#include <string>

namespace orvo
{

/** The clipboard document that carries one sidebar tool's settings from one Program to another. */
struct SidebarSettings
{
    enum Page
    {
        morph,
        macros,
        notes,
        midiControl
    };

    static const char* pageKey (Page page);
    /** "Morph Knob", "Macro", "Notes", "MIDI Control". */
    static const char* label (Page page);

    /** The document as JSON text; `scope` is written for notes only. */
    static std::string write (Page page, const juce::var& settings, const std::string& scope = {});
    /** The "settings" of a document for `page`; nothing when the text is not such a document. */
    static std::optional<juce::var> read (const std::string& text, Page page);
};

} // namespace orvo
