#include "HeadlessFixture.h"

using namespace orvo;

namespace
{
struct Readback : test::HeadlessFixture
{
    EffectsController& effects = editor->session().effects();
    void advance (double ms)
    {
        editor->time.advance (ms);
        instrument.flush();
        editor->session().tick();
    }
    /** The player's change reaches the editor's tick at once. */
    void instrumentSelects (int algorithm)
    {
        instrument.selectEffectOnPanel (algorithm);
        advance (0);
    }
    size_t count (const std::string& text) const
    {
        size_t n = 0;
        for (auto at = engine.log().text().find (text); at != std::string::npos; at = engine.log().text().find (text, at + 1))
            ++n;
        return n;
    }
    /** The instrument's edit buffer as the effects page should show it, decoded on its own. */
    EffectState instrumentEffects() const
    {
        EffectState state;
        applyProgramEffects (state, storedEffectBytesOf (instrument.editBufferProgram()));
        return state;
    }
    static constexpr const char* request = "Requested Orvo Program edit buffer to read the selected Digital Effects parameters.\n";
};
} // namespace

TEST_F (Readback, AnAlgorithmChangedOnThePanelShowsTheInstrumentsValues)
{
    editor->connect (false);
    editor->settle();
    instrumentSelects (12);
    EXPECT_EQ (effects.page().algorithm(), 12);
    EXPECT_EQ (editor->session().effectsReadback().progress().text, "Waiting for the Orvo to load Mono Delay...");
    editor->settle (12);
    const auto expected = instrumentEffects();
    for (int page = 0; page < effects::numPages; ++page)
        for (int slot = 0; slot < effects::slotsPerPage; ++slot)
            EXPECT_EQ (effects.page().state().slotValue (page, slot), expected.slotValue (page, slot)) << page << "/" << slot;
    EXPECT_EQ (count (request), 1u);
    EXPECT_TRUE (logContains (" visible Digital Effects controls from the Orvo for Mono Delay.\n"));
    EXPECT_EQ (editor->session().effectsReadback().progress().text, "Effect parameters loaded from the Orvo.");
}

TEST_F (Readback, OnlyTheNewestOfTwoQuickChangesAsks)
{
    editor->connect (false);
    editor->settle();
    instrumentSelects (12);
    advance (200);
    instrumentSelects (6);
    advance (120); // the first change's wait is over; it is no longer current
    EXPECT_EQ (count (request), 0u);
    editor->settle (10);
    EXPECT_EQ (count (request), 1u);
    EXPECT_TRUE (logContains ("from the Orvo for Large Plate.\n"));
    EXPECT_FALSE (logContains ("from the Orvo for Mono Delay.\n"));
}

TEST_F (Readback, ADumpOfAnotherAlgorithmIsNotApplied)
{
    effects.page().showAlgorithm (3, true);
    const auto before = effects.page().state().slotValue (1, 0);
    auto program = instrument.editBufferProgram();
    program[(size_t)effectbytes::algorithmOffset] = 7;
    EXPECT_FALSE (editor->session().effectsReadback().apply (program, 3));
    EXPECT_TRUE (logContains ("Digital Effects readback was not applied: expected algorithm Room Reverb, but the Orvo "
                              "Program dump reported Plate.\n"));
    EXPECT_FALSE (editor->session().effectsReadback().apply (program, 7));
    EXPECT_TRUE (logContains ("Ignored an older Digital Effects readback after the effect selection changed.\n"));
    EXPECT_EQ (effects.page().state().slotValue (1, 0), before);
}

TEST_F (Readback, WaitsOutABusyProgramReadAtMostFourteenTimes)
{
    editor->connect (false);
    editor->settle();
    // (busy answers before the read is free, does it request)
    for (const auto& [busy, requests] : std::vector<std::pair<int, bool>>{ { 14, true }, { 15, false } })
    {
        const int busyAnswers = busy; // lambdas may not capture a structured binding before C++20
        int asked = 0, requested = 0;
        EffectsReadback readback (engine, effects,
                                  { [&] { return asked++ < busyAnswers; },
                                    [&] (const std::string&, int) { ++requested; }, [] {} });
        effects.page().showAlgorithm (5, true);
        readback.start (5);
        editor->time.advance (320 + 13 * 500);
        EXPECT_EQ (readback.progress().text, "Waiting for another Orvo data request to finish...");
        editor->time.advance (500);
        EXPECT_EQ (requested == 1, requests) << busyAnswers;
        EXPECT_EQ (readback.progress().text, requests ? "Requesting the current parameter values from the Orvo..."
                                                      : "Could not read the effect because another Orvo data request is still active.");
    }
    EXPECT_TRUE (logContains ("Digital Effects readback was skipped because another Orvo Program read is still active.\n"));
}

TEST_F (Readback, GivesUpAfterSixSecondsWithoutAReply)
{
    editor->connect (false);
    editor->settle();
    instrument.setFaults ({ true });
    instrumentSelects (2);
    advance (320 + 5999);
    EXPECT_FALSE (logContains ("timed out"));
    advance (1);
    EXPECT_TRUE (logContains ("Digital Effects readback timed out waiting for the Orvo Program edit buffer.\n"));
    EXPECT_EQ (editor->session().effectsReadback().progress().fraction, 0.72);
    EXPECT_FALSE (editor->session().effectsReadback().awaitsReply());
}
