#include "model/ParameterCatalogue.h"
#include "model/ParameterRangeRules.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
const OrvoParameterInfo& rowById (const char* id)
{
    const auto index = ParameterCatalogue::findById (id);
    EXPECT_TRUE (index.has_value()) << id;
    return ParameterCatalogue::row (index.value_or (0));
}

using Outcome = ParameterRangeRules::Outcome;

struct ApplyCase
{
    const char* id;
    const char* minimum;
    const char* maximum;
    int curve;
    Outcome outcome;
    const char* message;
    CustomKnobRange range;
};

const ApplyCase applyCases[]{
    // unreadable fields, minimum first
    { "osc1.semitone", "abc", "", 0, Outcome::refused, "ENTER A VALID MINIMUM VALUE.", {} },
    { "osc1.semitone", "1.2.3", "", 0, Outcome::refused, "ENTER A VALID MINIMUM VALUE.", {} },
    { "osc1.semitone", "x", "99", 0, Outcome::refused, "ENTER A VALID MINIMUM VALUE.", {} },
    { "osc1.semitone", "5", "5 5", 0, Outcome::refused, "ENTER A VALID MAXIMUM VALUE.", {} },
    // bounds outside the normal range
    { "osc1.semitone", "61", "", 0, Outcome::refused, "Minimum must be within the normal range.", {} },
    { "osc1.semitone", "61", "70", 0, Outcome::refused, "Minimum must be within the normal range.", {} },
    { "osc1.semitone", "", "61", 0, Outcome::refused, "Maximum must be within the normal range.", {} },
    { "performance.detune", "-0.001", "", 0, Outcome::refused, "Minimum must be within the normal range.", {} },
    // the order of the two bounds
    { "osc1.semitone", "5", "5", 0, Outcome::refused, "Minimum must be less than maximum.", {} },
    // a window that holds a single raw value
    { "osc1.cents", "0.2", "0.4", 0, Outcome::refused, "Custom range must contain at least two parameter values.", {} },
    // bounds at the normal ends are no bounds
    { "performance.detune", "", "", 0, Outcome::cleared, "", {} },
    { "performance.detune", "0.00000005", "", 0, Outcome::cleared, "", {} },
    { "performance.detune", "0", "100.00000005", 0, Outcome::cleared, "", {} },
    { "performance.detune", "0%", "100%", 0, Outcome::cleared, "", {} },
    // stored windows
    { "performance.detune", "", "", 2, Outcome::stored, "", { std::nullopt, std::nullopt, 2 } },
    { "performance.detune", "20", "80", 0, Outcome::stored, "", { 20.0, 80.0, 0 } },
    { "performance.detune", "+20%", "", 1, Outcome::stored, "", { 20.0, std::nullopt, 1 } },
    { "performance.detune", "0", "30", 0, Outcome::stored, "", { std::nullopt, 30.0, 0 } },
    { "filter1.frequency", "1.5", "8", 3, Outcome::stored, "", { 1.5, 8.0, 3 } },
    // a row whose display runs downwards is bounded by its lower and upper ends
    { "performance.wheel.bottomrange", "-40", "-10", 0, Outcome::stored, "", { -40.0, -10.0, 0 } },
    { "performance.wheel.bottomrange", "10", "", 0, Outcome::refused, "Minimum must be within the normal range.", {} },
};
} // namespace

TEST (ParameterRangeRules, ApplyChecksTheFieldsInOrderAndSaysWhy)
{
    for (const auto& c : applyCases)
    {
        const auto result = ParameterRangeRules::apply (rowById (c.id), c.minimum, c.maximum, c.curve);
        const auto where = std::string (c.id) + " [" + c.minimum + "] [" + c.maximum + "]";
        EXPECT_EQ (result.outcome, c.outcome) << where;
        EXPECT_EQ (result.message, c.message) << where;
        EXPECT_EQ (result.accepted(), c.outcome != Outcome::refused) << where;
        if (c.outcome == Outcome::stored)
        {
            EXPECT_EQ (result.range, c.range) << where;
        }
        if (c.outcome == Outcome::cleared)
        {
            EXPECT_TRUE (result.range.isDefault()) << where;
        }
    }
}

TEST (ParameterRangeRules, FieldsKeepOnlyTheCharactersOfANumber)
{
    for (char c : std::string ("0123456789+-.% "))
        EXPECT_TRUE (ParameterRangeRules::acceptsCharacter (c)) << c;
    for (char c : std::string ("aZe,;/*\t\n"))
        EXPECT_FALSE (ParameterRangeRules::acceptsCharacter (c)) << c;
    EXPECT_FALSE (ParameterRangeRules::acceptsCharacter ('\0'));

    ParameterRangeRules form (rowById ("performance.detune"), {});
    form.setMinimumText ("1e2abc%");
    form.setMaximumText ("8,5 Hz");
    EXPECT_EQ (form.minimumText(), "12%");
    EXPECT_EQ (form.maximumText(), "85 ");
}

TEST (ParameterRangeRules, FormShowsTheNormalRangeAndFillsCurrentValues)
{
    const std::pair<const char*, const char*> ranges[]{
        { "osc1.semitone", "NORMAL RANGE  -60  TO  60" },
        { "filter1.frequency", "NORMAL RANGE  0.0218  TO  22.3482" },
        { "performance.wheel.bottomrange", "NORMAL RANGE  0  TO  -48" },
        { "env1.sustainlevel", "NORMAL RANGE  -100.00  TO  100.00" },
    };
    for (const auto& [id, text] : ranges)
        EXPECT_EQ (ParameterRangeRules (rowById (id), {}).normalRangeText(), text) << id;

    ParameterRangeRules semitone (rowById ("osc1.semitone"), {});
    semitone.useCurrentAsMinimum (2104);
    semitone.useCurrentAsMaximum (4095);
    EXPECT_EQ (semitone.minimumText(), "1");
    EXPECT_EQ (semitone.maximumText(), "60");

    // the parameter's own value, even when the control is narrowed to a window that excludes it
    ParameterRangeRules narrowed (rowById ("performance.detune"), { 20.0, 80.0, 0 });
    narrowed.useCurrentAsMinimum (0);
    EXPECT_EQ (narrowed.minimumText(), "0");
}

TEST (ParameterRangeRules, FormOpensWithTheControlsRangeAndCurve)
{
    ParameterRangeRules form (rowById ("lfo1.rate"), { 0.0076295, 12.5, 2 });
    EXPECT_EQ (form.minimumText(), "0.0076295");
    EXPECT_EQ (form.maximumText(), "12.5");
    EXPECT_EQ (form.selectedCurve(), 2);
    form.useDefaultCurve();
    EXPECT_EQ (form.selectedCurve(), 0);

    form.setCurve (99);
    EXPECT_EQ (form.selectedCurve(), 0);
    form.setCurve ((int)ParameterRangeRules::curveNames().size() - 1);
    EXPECT_EQ (form.selectedCurve(), (int)ParameterRangeRules::curveNames().size() - 1);
    EXPECT_EQ (ParameterRangeRules::curveNames().front(), "LINEAR");

    ParameterRangeRules empty (rowById ("lfo1.rate"), {});
    EXPECT_EQ (empty.minimumText(), "");
    EXPECT_EQ (empty.maximumText(), "");
}

TEST (ParameterRangeRules, MessageStaysUntilTheNextApplyAndClearEmptiesTheForm)
{
    ParameterRangeRules form (rowById ("osc1.semitone"), { -12.0, 12.0, 1 });
    form.setMinimumText ("61");
    auto refused = form.apply();
    EXPECT_EQ (refused.outcome, Outcome::refused);
    EXPECT_EQ (form.message(), "Minimum must be within the normal range.");
    EXPECT_EQ (form.minimumText(), "61"); // the user's text is left to correct

    form.setMinimumText ("-24");
    auto stored = form.apply();
    EXPECT_EQ (stored.outcome, Outcome::stored);
    EXPECT_EQ (stored.range, (CustomKnobRange{ -24.0, 12.0, 1 }));
    EXPECT_EQ (form.message(), "");

    auto cleared = form.clear();
    EXPECT_EQ (cleared.outcome, Outcome::cleared);
    EXPECT_TRUE (cleared.range.isDefault());
    EXPECT_EQ (form.minimumText(), "");
    EXPECT_EQ (form.maximumText(), "");
    EXPECT_EQ (form.selectedCurve(), 0);
}
