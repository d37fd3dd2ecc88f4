#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "WedgePresetController.h"
#include "library/UserPresetStore.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** Which preset overlay is open: the kind, the section for section presets, and the envelope or LFO
    number for the kinds that have one. */
struct UserPresetTarget
{
    UserPresetKind kind = UserPresetKind::effects;
    std::string section;
    int number = 1;

    std::string caption() const;     // "EFFECTS", "ENV 2", "PRE-FILTER MIX"
    std::string title() const;       // caption + " USER PRESETS"
    std::string deleteTitle() const; // "DELETE " + caption + " USER PRESET"
};

/** User presets against the editor's values: building a preset from what the editor shows and
    applying one back, so one part of a Program can be carried into another. */
class UserPresetController
{
public:
    UserPresetController (EditorEngine& engine, EffectsController& effects, WedgePresetController& wedge,
                          UserPresetStore& store);

    UserPresetStore& store() { return presets; }

    juce::var buildDocument (const UserPresetTarget& target, const std::string& name) const;
    WriteResult save (const UserPresetTarget& target, const std::string& name);
    /** Applies the file; false, with a log line and nothing changed, when it is not a preset of the kind. */
    bool load (const UserPresetTarget& target, const juce::File& file);

    /** "ARE YOU SURE YOU WANT TO DELETE \"NAME\"?" */
    static std::string deleteQuestion (const std::string& name);

    /** The last load's title and text for the status line. */
    std::pair<std::string, std::string> lastStatus;

private:
    void loadEffects (const juce::var& doc);
    void applyById (const std::string& id, int value);

    EditorEngine& engine;
    EffectsController& effects;
    WedgePresetController& wedge;
    UserPresetStore& presets;
};

/** The factory presets of every kind, with values that suit their names. */
std::vector<std::pair<UserPresetKind, juce::var>> factoryUserPresets();

} // namespace orvo
