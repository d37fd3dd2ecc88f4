#include "EngineFixture.h"

#include "effects/EffectsPageModel.h"
#include "engine/EffectHostInput.h"

using namespace orvo;

namespace
{
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
