#include "HeadlessFixture.h"
#include "library/AtomicFile.h"

using namespace orvo;

namespace
{
struct UserPresets : test::HeadlessFixture
{
    UserPresetController& presets = editor->session().userPresets();
    EffectsPageModel& page = editor->session().effects().page();
    UserPresetTarget effectsTarget;

    juce::File write (const std::string& text)
    {
        const auto file = editor->folder().getChildFile ("in.orvopreset");
        EXPECT_TRUE (writeFileAtomically (file, text));
        return file;
    }
    std::vector<std::string> names (UserPresetKind kind, const std::string& section = {})
    {
        std::vector<std::string> out;
        for (const auto& e : presets.store().list (kind, section))
            out.push_back (e.name);
        return out;
    }
};
} // namespace

TEST (UserPresetFiles, NamesAreLegalCutAndTellApartByHash)
{
    const auto a = UserPresetStore::fileNameFor ("A/B"), b = UserPresetStore::fileNameFor ("A:B");
    EXPECT_NE (a, b);
    EXPECT_EQ (a.substr (0, 3), b.substr (0, 3));
    const auto empty = UserPresetStore::fileNameFor ("");
    EXPECT_EQ (empty.rfind ("Preset-", 0), 0u);
    EXPECT_EQ (empty.substr (empty.size() - 11), ".orvopreset");
    const auto hash = juce::String::toHexString ((juce::int64)juce::String ("Long").hashCode64()).toStdString();
    EXPECT_EQ (UserPresetStore::fileNameFor ("Long"), "Long-" + hash + ".orvopreset");
    EXPECT_EQ (UserPresetStore::fileNameFor (std::string (50, 'x')).find ('-'), 40u);
}

TEST_F (UserPresets, FactorySeedsAreWrittenOnce)
{
    EXPECT_EQ (names (UserPresetKind::effects),
               (std::vector<std::string>{ "GRIT PLATE", "SLAP DELAY", "TIGHT ROOM", "WARM HALL", "WIDE CHORUS" }));
    EXPECT_EQ (names (UserPresetKind::envelope).size(), 6u);
    EXPECT_EQ (names (UserPresetKind::section, "portamento").size(), 5u);
    EXPECT_EQ (names (UserPresetKind::section, "dynamics-env").size(), 4u);
    EXPECT_EQ (names (UserPresetKind::section).size(), 42u);
    EXPECT_EQ (editor->session().settingsStore().readInt (UserPresetStore::seedVersionKey, 0), 2);
    for (const auto& e : presets.store().list (UserPresetKind::effects))
        UserPresetStore::remove (e.file);
    presets.store().seedFactoryPresets (factoryUserPresets());
    EXPECT_TRUE (names (UserPresetKind::effects).empty());
}

TEST_F (UserPresets, AnEffectsPresetComesBackAsItWasSaved)
{
    editor->session().wedge().selectPreset (59); // Stereo120bpm, assigned to the slot
    const auto saved = page.state();
    ASSERT_TRUE (presets.save (effectsTarget, "My Ping Pong With A Very Long Name"));
    const auto list = presets.store().list (UserPresetKind::effects);
    const auto it = std::find_if (list.begin(), list.end(), [] (const auto& e) { return e.name == "My Ping Pong With A Very"; });
    ASSERT_NE (it, list.end());
    page.chooseAlgorithm (3);
    ASSERT_TRUE (presets.load (effectsTarget, it->file));
    EXPECT_EQ (page.algorithm(), saved.algorithm());
    for (int nrpn = 3604; nrpn <= 3638; ++nrpn)
        EXPECT_EQ (page.state().nrpnValue (nrpn), saved.nrpnValue (nrpn)) << nrpn;
    EXPECT_EQ (presets.lastStatus, (std::pair<std::string, std::string>{ "EFFECTS USER PRESET", "Effects User Preset loaded" }));
    EXPECT_TRUE (logContains ("Cleared current Program's Wedge preset assignment: digital-effect value changed.\n"));
}

TEST_F (UserPresets, BadFilesAreRefusedOrClamped)
{
    page.chooseAlgorithm (5);
    const auto before = page.state();
    const std::vector<std::string> refused = {
        R"({"schema": "orvo.envelope-user-preset.v1", "type": "envelope", "name": "E", "parameters": []})",
        R"({"schema": "orvo.effects-user-preset.v1", "type": "effects", "name": "E", "parameters": [)",
        R"({"schema": "orvo.effects-user-preset.v1", "type": "effects", "name": "E"})",
    };
    for (const auto& text : refused)
    {
        EXPECT_FALSE (presets.load (effectsTarget, write (text))) << text;
        EXPECT_EQ (page.algorithm(), 5);
        EXPECT_EQ (page.state().nrpnValue (3609), before.nrpnValue (3609));
    }
    // Algorithm 40 counts as 28; an NRPN the algorithm lacks is skipped, a value above 4095 clamped.
    ASSERT_TRUE (presets.load (effectsTarget, write (R"({"schema": "orvo.effects-user-preset.v1", "type": "effects",
        "name": "E", "digitalEffect": 40, "parameters": [{"nrpn": 1920, "value": 7}, {"nrpn": 3609, "value": 9000}]})")));
    EXPECT_EQ (page.algorithm(), 28);
    EXPECT_EQ (page.state().nrpnValue (3609), 4095);
    EXPECT_TRUE (logContains ("EFFECTS USER PRESET: skipped an entry for NRPN 1920, which Room > Delay does not have.\n"));
}

TEST_F (UserPresets, EnvelopeAndSectionPresetsLoadIntoTheChosenNumber)
{
    const auto row = [] (const std::string& id) { return *ParameterCatalogue::findById (id); };
    UserPresetTarget env1{ UserPresetKind::envelope, {}, 1 }, env3{ UserPresetKind::envelope, {}, 3 };
    EXPECT_EQ (env3.title(), "ENV 3 USER PRESETS");
    engine.applyValue (row ("env1.attacktime"), 1234);
    ASSERT_TRUE (presets.save (env1, "SLOWER"));
    ASSERT_TRUE (presets.load (env3, presets.store().folder (UserPresetKind::envelope).getChildFile (UserPresetStore::fileNameFor ("SLOWER"))));
    EXPECT_EQ (engine.value (row ("env3.attacktime")), 1234);

    UserPresetTarget lfo2{ UserPresetKind::section, "wave-type-lfo", 2 };
    EXPECT_EQ (lfo2.deleteTitle(), "DELETE LFO 2 WAVE TYPE USER PRESET");
    const auto vibrato = presets.store().list (UserPresetKind::section, "wave-type-lfo");
    const auto it = std::find_if (vibrato.begin(), vibrato.end(), [] (const auto& e) { return e.name == "VIBRATO"; });
    ASSERT_NE (it, vibrato.end());
    ASSERT_TRUE (presets.load (lfo2, it->file));
    EXPECT_EQ (engine.value (row ("lfo2.rate")), 2600);
    EXPECT_FALSE (presets.load (UserPresetTarget{ UserPresetKind::section, "portamento", 1 }, it->file));
    EXPECT_EQ (UserPresetController::deleteQuestion ("VIBRATO"), "ARE YOU SURE YOU WANT TO DELETE \"VIBRATO\"?");
}
