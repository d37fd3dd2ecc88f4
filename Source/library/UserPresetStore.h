#pragma once

#include "AtomicFile.h"
#include "EditorSettingsStore.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** The three things a user preset can hold. */
enum class UserPresetKind
{
    effects,
    envelope,
    section
};

/** One panel section a section preset can hold: its key, caption, ParameterId prefix (with "#" for the
    envelope or LFO number chosen when loading), the ids under that prefix and its interface NRPNs. */
struct UserPresetSection
{
    const char* key;
    const char* caption; // "#" stands for the number
    const char* prefix;
    std::vector<const char*> ids;
    std::vector<int> interfaceNrpns;
};

const std::vector<UserPresetSection>& userPresetSections();
const UserPresetSection* findUserPresetSection (const std::string& key);
/** The caption with its number filled in ("ENV 2 DYNAMICS"). */
std::string userPresetSectionCaption (const UserPresetSection& section, int number);

/** The envelope parameter keys an envelope preset stores, without the "env" + n + "." prefix. */
const std::vector<const char*>& envelopePresetIds();

struct UserPresetEntry
{
    juce::File file;
    std::string name;
};

/** The ".orvopreset" files of the user's library: where each kind lives, their names, and reading
    a file only when it is a preset of the kind asked for. */
class UserPresetStore
{
public:
    static constexpr int maxNameLength = 24;
    static constexpr int maxFileStemLength = 40;
    static constexpr int factorySeedVersion = 2;
    static constexpr const char* seedVersionKey = "userPresets.factorySeedVersion";
    static constexpr const char* effectsFolderKey = "effects.userPresets";

    using Seeds = std::vector<std::pair<UserPresetKind, juce::var>>;

    /** `dataFolder` is the program's "Orvo Editor" folder; the presets live in its "User Presets". The
        factory presets are made and written on the first listing or save, not at start-up. */
    UserPresetStore (EditorSettingsStore& settings, juce::File dataFolder, std::function<Seeds()> factorySeeds = {});

    juce::File folder (UserPresetKind kind) const;
    /** The legal file name cut to 40 characters ("Preset" when nothing is left), "-", the name's 64-bit
        hash in lower-case hexadecimal and ".orvopreset". */
    static std::string fileNameFor (const std::string& name);

    static const char* schemaOf (UserPresetKind kind);
    static const char* typeOf (UserPresetKind kind);

    /** The kind's presets by name; section presets only of `sectionKey`. */
    std::vector<UserPresetEntry> list (UserPresetKind kind, const std::string& sectionKey = {}) const;
    /** Writes the document (its "name" cut to 24 characters) into the kind's folder. */
    WriteResult save (UserPresetKind kind, juce::var document) const;
    /** The document, or nothing when the file does not parse as a preset of the kind (and section). */
    static std::optional<juce::var> read (const juce::File& file, UserPresetKind kind, const std::string& sectionKey = {});
    static bool remove (const juce::File& file) { return file.deleteFile(); }

    /** Writes the factory presets once: while the stored seed version is below 2. */
    void seedFactoryPresets (const Seeds& seeds) const;

private:
    void seedOnce() const;

    EditorSettingsStore& settings;
    juce::File root;
    std::function<Seeds()> factorySeeds;
    mutable bool seeded = false;
};

} // namespace orvo
