#include "effects/EffectControlTable.h"
#include "effects/EffectValueFamilies.h"
#include "engine/HelpLookup.h"
#include "model/InterfaceControls.h"
#include "model/ParameterCatalogue.h"

#include <gtest/gtest.h>

namespace orvo
{

TEST (ParameterHelp, EveryControlKeyEveryEffectControlAndEveryFamilyHasHelp)
{
    const auto keys = ParameterHelp::editorKeys();
    ASSERT_GE (keys.size(), (size_t)ParameterCatalogue::numRows + InterfaceControls::all().size());
    std::vector<std::string> missing;
    for (const auto& key : keys)
        if (const auto* help = helpFor (key); help == nullptr || help->title.empty() || help->description.empty())
            missing.push_back (key);
    for (const auto& control : effectControlTable())
        if (const auto* help = helpFor ("__effect:" + control.id);
            help == nullptr || help->id.rfind (ParameterHelp::familyPrefix, 0) != 0)
            missing.push_back ("__effect:" + control.id);
    for (const char* family : effectfamily::all())
        if (ParameterHelp::find (std::string (ParameterHelp::familyPrefix) + family) == nullptr)
            missing.push_back (family);
    std::string list;
    for (const auto& m : missing)
        list += m + "\n";
    EXPECT_TRUE (missing.empty()) << "no help for:\n" << list;
}

TEST (ParameterHelp, KeysMatchExactlyAndEffectControlsGoToTheirFamily)
{
    const struct
    {
        std::string key;
        const char* title; // nullptr: no help
    } cases[] = {
        { "osc1.semitone", "OSC 1 SEMITONE" },
        { "OSC1.SEMITONE", nullptr },
        { "osc1.semitone ", nullptr },
        { "env3.attacklevel", "ENV 3 ATTACK LEVEL" },
        { "__interface:3078", "VOICE MIX OUTPUT" },
        { "__interface:9999", nullptr },
        { "__mod:OSC1 MOD1:level", "OSC1 MOD1 LEVEL" },
        { "__mod:S&H MOD:destination", nullptr },
        { "__macro8", "MACRO 8" },
        { "mod_wheel_curve", "MOD WHEEL CURVE" },
        { "__effect:algorithm", "DIGITAL EFFECT ALGORITHM" },
        { "__effect:no.such.control", nullptr },
    };
    for (const auto& c : cases)
    {
        const auto* help = helpFor (c.key);
        EXPECT_EQ (help != nullptr ? help->title : "(no help)", c.title != nullptr ? c.title : "(no help)") << c.key;
    }

    for (const auto& control : effectControlTable())
        if (effectValueFamily (control.algorithm, control.label, (int)control.nrpn) == effectfamily::configPan)
        {
            const auto* help = helpFor ("__effect:" + control.id);
            ASSERT_NE (help, nullptr);
            EXPECT_EQ (help->title, "EFFECT OUTPUT PAN");
            return;
        }
    FAIL() << "no effect control of the pan family";
}

TEST (ParameterHelp, PaneTextShowsTheFourTextsUnderTheirHeadings)
{
    const HelpEntry entry{ "x", "TITLE", "What it does.", "How to use it.", "0 to 100." };
    EXPECT_EQ (ParameterHelp::paneText (entry), "TITLE\n\nWhat it does.\n\nTIPS\nHow to use it.\n\nDETAILS\n0 to 100.");
}

} // namespace orvo
