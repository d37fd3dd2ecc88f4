#include "EngineFixture.h"
#include "effects/EffectsPageModel.h"
#include "engine/EffectHostInput.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace orvo;

namespace
{
/** The labels of one page, "" for an empty slot. */
std::vector<std::string> pageLabels (const EffectsPageModel& model, int page)
{
    std::vector<std::string> labels;
    for (int slot = 0; slot < 6; ++slot)
    {
        const auto view = model.control (page, slot);
        EXPECT_EQ (view.filled, !view.label.empty());
        labels.push_back (view.label);
    }
    return labels;
}

/** Every slot value of the effects page, to see that nothing moved. */
std::vector<int> pageValues (const EffectsPageModel& model)
{
    std::vector<int> values;
    for (int page = 0; page < effects::numPages; ++page)
        for (int slot = 0; slot < effects::slotsPerPage; ++slot)
            values.push_back (model.control (page, slot).raw);
    return values;
}

struct EffectHostKeys : test::EngineFixture
{
    EffectsPageModel model;
    int redraws = 0;
    bool hostFlagDuringRedraw = false;

    EffectHostKeys()
    {
        connectEffectHostInput (engine, model,
                                [this]
                                {
                                    ++redraws;
                                    hostFlagDuringRedraw = engine.hostInputActive();
                                });
    }
};
} // namespace

TEST (EffectsPageMenus, ListAllAndTheSixCategoriesAndTheAlgorithmsOfTheSelectedOne)
{
    EffectsPageModel model;
    EXPECT_EQ (EffectsPageModel::categoryMenu(),
               (std::vector<std::string>{ "All", "Single", "Stereo", "Parallel", "Dual Mono", "Multi Chain",
                                          "Triple Chain" }));
    EXPECT_EQ (model.selectedCategory(), "All");
    EXPECT_EQ (model.algorithmMenu().size(), 29u);

    const std::pair<const char*, std::vector<int>> cases[] = { { "Parallel", { 8, 9, 10, 25, 26, 27 } },
                                                               { "Dual Mono", { 15, 18 } },
                                                               { "Triple Chain", { 24 } } };
    for (const auto& [category, algorithms] : cases)
    {
        model.selectCategory (category);
        EXPECT_EQ (model.algorithmMenu(), algorithms) << category;
    }
    model.selectCategory ("Bogus");
    EXPECT_EQ (model.selectedCategory(), "All");
}

TEST (EffectsPageSelection, ChoosingFromTheMenuGivesTheSelectionToSend)
{
    const std::tuple<int, int, int> cases[] = { { 1, 1, 142 }, { 40, 28, 3954 }, { -1, 0, 0 } };
    for (const auto& [index, algorithm, raw] : cases)
    {
        EffectsPageModel model;
        const auto send = model.chooseAlgorithm (index);
        EXPECT_EQ (model.algorithm(), algorithm);
        EXPECT_EQ (send.nrpn, 3603);
        EXPECT_EQ (send.raw, raw);
        EXPECT_EQ (send.actionLabel, "DIGITAL EFFECTS SELECTION");
        EXPECT_EQ (model.selectedCategory(), "All") << "the user's category stays";
    }
    EffectsPageModel model;
    model.chooseAlgorithm (24, true);
    EXPECT_EQ (model.selectedCategory(), "Triple Chain");
}

TEST (EffectsPageSelection, AnIncomingSelectionSwitchesThePageAndResetsTheCategory)
{
    EffectsPageModel model;
    const std::tuple<int, int, const char*> cases[] = {
        { 3954, 28, "Multi Chain" }, { 141, 0, "Single" }, { 20000, 28, "Multi Chain" }, { -5, 0, "Single" }
    };
    for (const auto& [raw, algorithm, category] : cases)
    {
        const int before = model.algorithm();
        EXPECT_EQ (model.receiveSelection (raw), before != algorithm) << raw;
        EXPECT_EQ (model.algorithm(), algorithm) << raw;
        EXPECT_EQ (model.selectedCategory(), category) << raw;
        EXPECT_EQ (model.state().nrpnValue (3603), std::clamp (raw, 0, 16383)) << raw;
    }
    model.applyIncomingValue (3603, 2000);
    EXPECT_EQ (model.algorithm(), 14);
}

TEST (EffectsPageLayout, ShowsTheConfigAndParamPagesOfSingleParallelDualAndTripleAlgorithms)
{
    using Labels = std::vector<std::string>;
    struct Case
    {
        int algorithm;
        int page;
        Labels labels;
        const char* abbreviation;
    };
    const Case cases[] = { { 0, 0, { "SEND", "", "OUT", "", "", "" }, "" },
                           { 0, 2, { "PDTIME", "PDMIX", "", "LDAMP", "HDAMP", "" }, "" },
                           { 8, 0, { "SEND", "BLEND", "RM OUT", "HL OUT", "", "" }, "" },
                           { 8, 3, { "DECAY", "", "BOOST", "BASSF", "", "LPF" }, "HALL" },
                           { 15, 4, { "LOCUT", "HICUT", "RATE", "DEPTH", "WAVE", "" }, "R-DLY" },
                           { 24, 0, { "SEND", "", "MIX 1", "MIX 2", "OUT", "" }, "" },
                           { 24, 5, { "DENS", "DIFF", "", "GATE", "", "" }, "ROOM" } };
    for (const auto& c : cases)
    {
        EffectsPageModel model;
        model.chooseAlgorithm (c.algorithm);
        EXPECT_EQ (pageLabels (model, c.page), c.labels) << c.algorithm << " page " << c.page;
        EXPECT_EQ (model.pageAbbreviation (c.page), c.abbreviation) << c.algorithm << " page " << c.page;
        EXPECT_EQ (model.pageUsed (c.page), c.labels != Labels (6, "")) << c.algorithm << " page " << c.page;
    }
    EXPECT_EQ (EffectsPageModel::pageName (0), "CONFIG");
    EXPECT_EQ (EffectsPageModel::pageName (5), "PARAM5");
}

TEST (EffectsPageControls, DescribeEachSlotAndSendItsEdits)
{
    EffectsPageModel model;
    model.chooseAlgorithm (12);
    auto view = model.control (1, 5);
    EXPECT_TRUE (view.filled);
    EXPECT_EQ (view.label, "HICUT");
    EXPECT_EQ (view.longName, "High Cut");
    EXPECT_EQ (view.id, "effects.digital.mono_delay.1.hicut");
    EXPECT_EQ (view.nrpn, 3614);
    EXPECT_EQ (view.valueText, "OFF");
    EXPECT_EQ (view.rangeText, "OFF, THEN 29 HZ TO 41.3K");

    const auto send = model.userEdit (1, 5, 16);
    ASSERT_TRUE (send.has_value());
    EXPECT_EQ (send->nrpn, 3614);
    EXPECT_EQ (send->raw, 16);
    EXPECT_EQ (send->actionLabel, "DIGITAL EFFECTS MONO DELAY HICUT");
    EXPECT_EQ (model.control (1, 5).valueText, "29 Hz");
    EXPECT_EQ (model.state().nrpnValue (3614), 16);

    EXPECT_EQ (model.userEdit (1, 0, 9000)->raw, 4095);
    EXPECT_FALSE (model.userEdit (2, 5, 100).has_value()) << "empty slot";
    EXPECT_FALSE (model.userEdit (7, 0, 100).has_value()) << "no such page";
    EXPECT_FALSE (model.control (9, 9).filled);

    model.applyIncomingValue (3609, 800);
    EXPECT_EQ (model.control (1, 0).raw, 800);
    EXPECT_EQ (model.control (1, 0).valueText, "10");
}

TEST (EffectsPageControls, ShowADecodedProgramWithItsFixedTexts)
{
    EffectsPageModel model;
    StoredEffectBytes bytes;
    bytes.algorithmByte = 6;
    bytes.sendWord = 0;
    bytes.parameters = { 50 };
    EXPECT_EQ (model.applyProgram (bytes), "");
    EXPECT_EQ (model.algorithm(), 6);
    EXPECT_EQ (model.selectedCategory(), "Single");
    EXPECT_EQ (model.control (1, 0).valueText, "1.467s");
    EXPECT_EQ (model.control (0, 0).valueText, "0.00");

    model.userEdit (1, 0, 2760);
    EXPECT_NE (model.control (1, 0).valueText, "1.467s");
}

//==============================================================================
TEST (EffectsPageHostInput, EveryControlOfEveryAlgorithmIsFoundByItsParameterId)
{
    EffectsPageModel model;
    for (int algorithm = 0; algorithm < effects::numAlgorithms; ++algorithm)
    {
        model.showAlgorithm (algorithm, true);
        int value = 100;
        for (int r : effectRowsOf (algorithm))
        {
            const auto& row = effectControlTable()[(std::size_t)r];
            if (effectRowAt (algorithm, (int)row.page, (int)row.slot) != r)
                continue; // hidden behind another control of the same slot
            value += 7;
            const auto send = model.hostParameterInput (row.id, value);
            ASSERT_TRUE (send.has_value()) << row.id;
            EXPECT_EQ (send->nrpn, (int)row.nrpn) << row.id;
            EXPECT_EQ (send->raw, value) << row.id;
            EXPECT_EQ (model.control ((int)row.page, (int)row.slot).raw, value) << row.id;
            EXPECT_EQ (model.state().nrpnValue ((int)row.nrpn), value) << row.id;
        }
    }
}

TEST_F (EffectHostKeys, MoveTheControlAndSendItsNrpnWithoutEchoToTheHost)
{
    model.chooseAlgorithm (12);
    engine.receiveHostParameter ("__effect:effects.digital.mono_delay.1.hicut", 16.2, 0);

    EXPECT_EQ (model.control (1, 5).raw, 16);
    EXPECT_EQ (model.control (1, 5).valueText, "29 Hz");
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 3614, 16 } }));
    EXPECT_EQ (redraws, 1);
    EXPECT_TRUE (hostFlagDuringRedraw) << "the send happens inside the host call, so it is not reported back";
    EXPECT_FALSE (engine.hostInputActive());
}

TEST_F (EffectHostKeys, LeaveEverythingAloneForKeysTheEffectsDoNotTake)
{
    model.chooseAlgorithm (12);
    const auto before = pageValues (model);
    engine.receiveHostParameter ("__effect:effects.digital.large_hall.config.send", 3000, 0);
    engine.receiveHostParameter ("__effect:effects.digital.mono_delay.1.nosuch", 3000, 0);
    engine.receiveHostParameter ("__effect:osc1.semitone", 3000, 0);
    engine.receiveHostParameter ("__effect:", 3000, 0);

    EXPECT_EQ (pageValues (model), before);
    EXPECT_EQ (model.algorithm(), 12);
    EXPECT_TRUE (sentNrpns().empty());
    EXPECT_EQ (redraws, 0);
    EXPECT_EQ (engine.value (row ("osc1.semitone")), 0) << "the prefix is part of the key, so no row matches";
}

using EffectHostKeysUnconnected = test::EngineFixture;

TEST_F (EffectHostKeysUnconnected, SendNothingUntilTheEffectsPageIsConnected)
{
    engine.receiveHostParameter ("__effect:effects.digital.mono_delay.1.hicut", 16, 0);
    EXPECT_TRUE (sentNrpns().empty());
    engine.receiveHostParameter ("osc1.cents", 3000, 0);
    EXPECT_EQ (sentNrpns(), (std::vector<std::array<int, 3>>{ { 1, 1921, 3000 } })) << "rows still work";
}
