#include "engine/PagePlan.h"
#include "model/InterfaceControls.h"
#include "model/ParameterCatalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace orvo;

TEST (ParameterCatalogue, HasItsRowsWithOnlyTheTwoPortamentoRowsUnwiredAndEveryNrpnOnce)
{
    std::map<int, int> nrpnCount;
    std::set<std::string> ids;
    std::vector<std::string> unwired;
    for (const auto& r : ParameterCatalogue::rows())
    {
        EXPECT_TRUE (ids.insert (r.id).second) << r.id;
        EXPECT_EQ (r.rawMin, 0) << r.id;
        EXPECT_EQ (r.offValue, 0) << r.id;
        EXPECT_GE (r.labelCount, 0);
        EXPECT_LE (r.labelCount, 3);
        if (r.kind == kindContinuous)
        {
            EXPECT_EQ (r.onValue, r.rawMax) << r.id;
        }
        if (r.nrpn < 0)
            unwired.push_back (r.id);
        else
            ++nrpnCount[r.nrpn];
    }
    EXPECT_EQ (ParameterCatalogue::rows().size(), 233u);
    EXPECT_EQ (unwired, (std::vector<std::string>{ "performance.portamento.time", "performance.portamento.offset" }));
    for (const auto& [nrpn, count] : nrpnCount)
        EXPECT_EQ (count, 1) << "NRPN " << nrpn;
}

TEST (ParameterCatalogue, LooksUpByIdAndNrpnExactly)
{
    const auto r = ParameterCatalogue::findById ("osc1.semitone");
    ASSERT_TRUE (r.has_value());
    EXPECT_EQ (*r, 18);
    const auto& info = ParameterCatalogue::row (*r);
    EXPECT_EQ (info.nrpn, 1920);
    EXPECT_EQ (info.rawMax, 4095);
    EXPECT_EQ (info.displayMin, -60.0);
    EXPECT_EQ (info.displayMax, 60.0);
    EXPECT_EQ (info.displayStep, 1.0);

    EXPECT_EQ (ParameterCatalogue::findByNrpn (1920), 18);
    EXPECT_FALSE (ParameterCatalogue::findByNrpn (3077).has_value());
    EXPECT_FALSE (ParameterCatalogue::findByNrpn (-1).has_value()) << "unwired rows never match";
    EXPECT_FALSE (ParameterCatalogue::findById ("OSC1.SEMITONE").has_value());
    EXPECT_EQ (ParameterCatalogue::nameForNrpn (2181), "NOISE/EXT LEVEL");
    EXPECT_EQ (ParameterCatalogue::nameForNrpn (3603), "");
}

TEST (ParameterCatalogue, CarriesTheOddRowsAsTheInstrumentDefinesThem)
{
    const auto& wheel = ParameterCatalogue::row (*ParameterCatalogue::findById ("performance.wheel.bottomrange"));
    EXPECT_EQ (wheel.displayMax, -48.0);
    const auto& enable = ParameterCatalogue::row (*ParameterCatalogue::findById ("osc1.env1pitch.enable"));
    EXPECT_EQ (enable.rawMax, 4096);
    EXPECT_EQ (enable.onValue, 4096);
    const auto& saw = ParameterCatalogue::row (*ParameterCatalogue::findById ("osc2.saw"));
    ASSERT_EQ (saw.labelCount, 3);
    EXPECT_STREQ (saw.labels[2].text, "Neg");
    EXPECT_EQ (saw.labels[2].value, 2);
    EXPECT_EQ (ParameterCatalogue::row (*ParameterCatalogue::findById ("osc.nzext.osc2pwm")).group, 2);
    EXPECT_EQ (ParameterCatalogue::row (*ParameterCatalogue::findById ("lfo3.enable")).onValue, 2069);
    EXPECT_EQ (ParameterCatalogue::row (*ParameterCatalogue::findById ("osc.nzext.source")).rawMax, 3075);
    EXPECT_EQ (ParameterCatalogue::row (232).id, std::string ("env3.releasemod"));
}

TEST (ParameterCatalogue, NamesPageGroupsAndControlKinds)
{
    EXPECT_EQ (ParameterCatalogue::pageGroupName (3), "PRE-FILTER MIX");
    EXPECT_EQ (ParameterCatalogue::pageGroupName (6), "EFFECTS");
    EXPECT_EQ (ParameterCatalogue::pageGroupName (7), "");
    EXPECT_EQ (ParameterCatalogue::controlKindName (3), "LATCHED BUTTON");
    EXPECT_EQ (ParameterCatalogue::controlKindName (4), "MOMENTARY BUTTON");
    EXPECT_EQ (ParameterCatalogue::controlKindName (9), "UNKNOWN");
}

TEST (ApplyingARawValue, ClampsAndTakesASwitchsStateAsItIs)
{
    const auto& lfo = ParameterCatalogue::row (*ParameterCatalogue::findById ("lfo1.enable"));
    const auto& semitone = ParameterCatalogue::row (18);
    const auto& pitchEnable = ParameterCatalogue::row (*ParameterCatalogue::findById ("osc1.env1pitch.enable"));
    EXPECT_EQ (ParameterCatalogue::applyRawValue (lfo, 2049), 2049) << "on, told on again, stays on";
    EXPECT_EQ (ParameterCatalogue::applyRawValue (lfo, 5000), 4095);
    EXPECT_EQ (ParameterCatalogue::applyRawValue (semitone, -3), 0);
    EXPECT_EQ (ParameterCatalogue::applyRawValue (pitchEnable, 4096), 4096);

    // Any value but the off value is on, for the button as for its value text; a click turns it over.
    EXPECT_TRUE (ParameterCatalogue::isSwitchOn (lfo, 4095));
    EXPECT_FALSE (ParameterCatalogue::isSwitchOn (lfo, 0));
    EXPECT_EQ (ParameterCatalogue::toggledSwitchValue (lfo, 4095), 0);
    EXPECT_EQ (ParameterCatalogue::toggledSwitchValue (lfo, 0), 2049);
}

TEST (InterfaceControls, SendFixedNrpnsWithTheirActionLabels)
{
    EXPECT_EQ (InterfaceControls::key (3077), "__interface:3077");
    const auto* clock = InterfaceControls::find (652);
    ASSERT_NE (clock, nullptr);
    EXPECT_EQ (InterfaceControls::actionLabel (*clock, 4095), "CLOCK START KEYDOWN");
    EXPECT_EQ (InterfaceControls::actionLabel (*clock, 0), "CLOCK START NORMAL");
    const auto* assign = InterfaceControls::find (3718);
    ASSERT_NE (assign, nullptr);
    EXPECT_EQ (assign->onValue, 4095);
    EXPECT_EQ (InterfaceControls::actionLabel (*assign, 0), "KEYBOARD ASSIGN LOWEST");
    EXPECT_EQ (InterfaceControls::actionLabel (*InterfaceControls::find (1793), 7), "OSC ENGINE 7");
    EXPECT_EQ (InterfaceControls::cycleValue (1), 1365);
    EXPECT_EQ (InterfaceControls::cycleValue (2), 2730);
    EXPECT_EQ (InterfaceControls::cycleValue (3), 4095);
    for (const auto& ic : InterfaceControls::all())
        EXPECT_FALSE (ParameterCatalogue::findByNrpn (ic.nrpn).has_value())
            << ic.nrpn << " must not shadow a catalogue row";
}

TEST (PagePlan, PlacesEveryRowOnceOnItsGroupsPageAndEveryInterfaceControlOnce)
{
    std::map<int, int> rowSeen, nrpnSeen;
    for (const auto& plan : pagePlans())
        for (const auto& panel : plan.panels)
        {
            for (int r : panel.rows)
            {
                ++rowSeen[r];
                EXPECT_EQ (tabForGroup (ParameterCatalogue::row (r).group), plan.tab);
                EXPECT_EQ (panel.section, ParameterCatalogue::row (r).section);
            }
            for (int n : panel.interfaceNrpns)
                ++nrpnSeen[n];
        }
    EXPECT_EQ (rowSeen.size(), 233u);
    for (const auto& [r, n] : rowSeen)
        EXPECT_EQ (n, 1) << r;
    EXPECT_EQ (nrpnSeen.size(), InterfaceControls::all().size() - 1)
        << "all but the effects selection, which has its own page";
    EXPECT_EQ (nrpnSeen.count (3603), 0u);
}

TEST (PagePlan, SectionHeaderIdsAreCamelCaseAndUniqueOnEveryPage)
{
    EXPECT_EQ (sectionHeaderId (0, "CLOCK"), "editor.performance.clock.header");
    EXPECT_EQ (sectionHeaderId (0, "PITCH WHEEL & MOD WHEEL ASSIGN"), "editor.performance.pitchWheelModWheelAssign.header");
    EXPECT_EQ (sectionHeaderId (2, "OSC 1 TUNING"), "editor.osc.osc1Tuning.header");
    EXPECT_EQ (sectionHeaderId (2, "NOISE/EXT"), "editor.osc.noiseExt.header");
    std::set<std::string> ids;
    for (const auto& plan : pagePlans())
        for (const auto& panel : plan.panels)
            EXPECT_TRUE (ids.insert (sectionHeaderId (plan.tab, panel.title)).second) << panel.title;
}
