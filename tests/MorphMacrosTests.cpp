#include "model/ParameterCatalogue.h"
#include "tools/Macros.h"
#include "tools/MorphKnob.h"

#include <gtest/gtest.h>

#include <deque>

using namespace orvo;

namespace
{
/** Records what the tools ask of the editor; random answers are scripted. */
struct FakeHost final : ToolHost
{
    std::map<int, int> rows;
    std::vector<std::pair<int, int>> edits; // (row or -nrpn-1, value)
    std::string logText;
    std::deque<int> randoms;
    int rowValue (int row) const override { return rows.count (row) ? rows.at (row) : 0; }
    void editRow (int row, int raw) override { edits.emplace_back (row, raw); }
    void editInterface (int nrpn, int value, const std::string&) override { edits.emplace_back (-nrpn - 1, value); }
    void log (const std::string& line) override { logText += line; }
    void recordChange (const std::string&) override {}
    int randomBelow (int n) override
    {
        const int r = randoms.empty() ? 0 : randoms.front();
        if (!randoms.empty())
            randoms.pop_front();
        return r % n;
    }
};

int rowOf (const char* id)
{
    return *ParameterCatalogue::findById (id);
}

juce::var morphWithSlot (const char* json)
{
    return juce::JSON::parse (juce::String (R"({"value": 0, "slots": [)") + json + "]}");
}
} // namespace

TEST (MorphKnob, InterpolatesBetweenEndpointsAndRounds)
{
    struct Case
    {
        int low, high;
        double knob;
        int expected;
    } cases[] = {
        { 4095, 0, 50.0, 2048 }, { 0, 4095, 0.0, 0 },      { 0, 4095, 100.0, 4095 },
        { 0, 4095, 33.3, 1364 }, { 100, 200, 150.0, 200 }, { 100, 200, -5.0, 100 },
    };
    for (const auto& c : cases)
    {
        FakeHost host;
        MorphKnob morph (host);
        morph.fromVar (
            morphWithSlot (("{\"index\": 0, \"source\": \"parameter\", \"parameterId\": \"filter1.frequency\", "
                            "\"lowRaw\": " +
                            std::to_string (c.low) + ", \"highRaw\": " + std::to_string (c.high) + "}")
                               .c_str()));
        morph.setKnob (c.knob);
        ASSERT_EQ (host.edits.size(), 1u);
        EXPECT_EQ (host.edits[0], std::make_pair (rowOf ("filter1.frequency"), c.expected)) << c.knob;
        EXPECT_EQ (morph.slots()[0].currentRaw, c.expected);
    }
}

TEST (MorphKnob, FlipTwiceRestoresAndAnInvalidSlotDoesNothing)
{
    FakeHost host;
    MorphKnob morph (host);
    morph.fromVar (morphWithSlot (
        R"({"index": 1, "source": "interfaceNrpn", "interfaceName": "PAN", "interfaceNrpn": 3072, "lowRaw": 10, "highRaw": 300})"));
    morph.flipSlot (1);
    EXPECT_EQ (morph.slots()[1].lowRaw, 300);
    morph.flipSlot (1);
    EXPECT_EQ (morph.slots()[1].lowRaw, 10);
    EXPECT_EQ (morph.slots()[1].highRaw, 300);
    const auto logBefore = host.logText;
    morph.flipSlot (2);
    EXPECT_EQ (host.logText, logBefore);
    EXPECT_NE (logBefore.find ("Flipped MORPH slot 2 endpoints.\n"), std::string::npos);
}

TEST (MorphKnob, RandomiseWithTwoCandidatesKeepsTheOtherSlots)
{
    FakeHost host;
    host.randoms = { 1, 0 };
    MorphKnob morph (host);
    morph.fromVar (morphWithSlot (
        R"({"index": 3, "source": "parameter", "parameterId": "filter2.frequency", "lowRaw": 5, "highRaw": 6})"));
    morph.randomise ({ { rowOf ("filter1.frequency"), "", -1, false, 700 }, { -1, "FX MIX", 3610, false, 9000 } });
    EXPECT_EQ (morph.slots()[0].interfaceNrpn, 3610) << "index 1 picked first";
    EXPECT_EQ (morph.slots()[0].highRaw, 4095);
    EXPECT_EQ (morph.slots()[1].parameterId, "filter1.frequency");
    EXPECT_FALSE (morph.slots()[2].valid());
    EXPECT_EQ (morph.slots()[3].parameterId, "filter2.frequency");
    EXPECT_EQ (morph.slots()[3].highRaw, 6);
}

TEST (MorphKnob, AssignRefusesOtherKindsAndStoredDataIsClampedOrDropped)
{
    FakeHost host;
    MorphKnob morph (host);
    morph.setAssignMode (true);
    morph.selectSlot (0);
    morph.assignFromRow (rowOf ("osc1.square"));
    EXPECT_EQ (host.logText, "Morph assignment requires a continuous parameter.\n");
    EXPECT_FALSE (morph.slots()[0].valid());

    morph.fromVar (morphWithSlot (R"({"index": 0, "source": "parameter", "parameterId": "no.such.row", "lowRaw": 1},
        {"index": 9, "source": "interfaceNrpn", "interfaceNrpn": 3072},
        {"index": 2, "source": "interfaceNrpn", "interfaceNrpn": 3072, "lowRaw": -50, "highRaw": 99999})"));
    EXPECT_FALSE (morph.slots()[0].valid());
    EXPECT_EQ (morph.slots()[2].lowRaw, 0);
    EXPECT_EQ (morph.slots()[2].highRaw, 4095);
}

TEST (Macros, TurnsTargetsByKindAndMirrorsWithoutSending)
{
    const int toggle = rowOf ("osc1.square"), enumRow = rowOf ("osc1.saw");
    const auto& t = ParameterCatalogue::row (toggle);
    const auto& e = ParameterCatalogue::row (enumRow);
    struct Case
    {
        int row;
        double knob;
        int expected;
    } cases[] = {
        { toggle, 49.0, t.offValue },          { toggle, 50.0, t.onValue },
        { toggle, 0.0, t.offValue },           { enumRow, 50.0, e.labels[1].value },
        { enumRow, 100.0, e.labels[2].value }, { rowOf ("filter1.frequency"), 50.0, 2048 },
    };
    for (const auto& c : cases)
    {
        FakeHost host;
        Macros macros (host);
        macros.setAssignMode (true);
        macros.selectMacro (2);
        macros.assignFrom (ParameterCatalogue::row (c.row).id);
        EXPECT_EQ (macros.statusText(), "PARAMETER ASSIGNED.");
        macros.setKnob (2, c.knob);
        ASSERT_EQ (host.edits.size(), 1u);
        EXPECT_EQ (host.edits[0].second, c.expected) << ParameterCatalogue::row (c.row).id << " " << c.knob;
    }
    FakeHost host;
    Macros macros (host);
    macros.fromVar (juce::JSON::parse (R"({"controls": [{"index": 0, "parameterId": "filter1.frequency", "value": 0},
                                                         {"index": 1, "parameterId": "gone.row", "value": 10}]})"));
    macros.mirror ("filter1.frequency", 4095);
    EXPECT_DOUBLE_EQ (macros.macro (0).knob, 100.0);
    EXPECT_TRUE (host.edits.empty());
    macros.setKnob (1, 40);
    EXPECT_EQ (macros.macro (1).display, "MACRO 2: ASSIGNMENT NOT FOUND.");
    EXPECT_TRUE (host.edits.empty());
}
