#include "effects/EffectAlgorithms.h"
#include "effects/EffectControlTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

using namespace orvo;

namespace
{
const DigitalEffectParameterMapping& row (int r)
{
    return effectControlTable()[(std::size_t)r];
}

std::vector<std::string> storedLabels (int algorithm)
{
    std::vector<std::string> labels;
    for (int r : effectStoredOrder (algorithm))
        labels.push_back (r >= 0 ? row (r).label : "(unused byte)");
    return labels;
}

/** Splits "room: DECAY · LPF · hall: DECAY" into its labels, dropping the sub-effect words. */
std::vector<std::string> parseOrder (const std::string& text)
{
    std::vector<std::string> labels;
    std::size_t start = 0;
    const std::string separator = " · ";
    while (start <= text.size())
    {
        auto end = text.find (separator, start);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr (start, end - start);
        if (auto colon = item.find (": "); colon != std::string::npos)
            item = item.substr (colon + 2);
        labels.push_back (item);
        start = end + separator.size();
    }
    return labels;
}
} // namespace

//==============================================================================
TEST (EffectAlgorithms, ListTwentyNineAlgorithmsWithUniqueKeysAndKnownCategories)
{
    const auto& all = effectAlgorithms();
    std::set<std::string> keys, names;
    const std::set<std::string> categories (effectCategories().begin(), effectCategories().end());
    for (int i = 0; i < effects::numAlgorithms; ++i)
    {
        EXPECT_EQ (all[(std::size_t)i].index, i);
        keys.insert (all[(std::size_t)i].key);
        names.insert (all[(std::size_t)i].name);
        EXPECT_EQ (categories.count (all[(std::size_t)i].category), 1u) << all[(std::size_t)i].name;
    }
    EXPECT_EQ (keys.size(), 29u);
    EXPECT_EQ (names.size(), 29u);

    struct Case
    {
        int index;
        const char* name;
        const char* key;
        const char* category;
    };
    for (const auto& c :
         { Case{ 0, "Large Hall", "large_hall", "Single" }, Case{ 2, "Stereo Room", "stereo_room", "Stereo" },
           Case{ 24, "Flange > Delay > Room", "flange_to_delay_to_room_multi_3", "Triple Chain" },
           Case{ 27, "Room + Flange", "room_plus_flange", "Parallel" },
           Case{ 28, "Room > Delay", "room_to_delay", "Multi Chain" } })
    {
        EXPECT_STREQ (effectAlgorithm (c.index).name, c.name);
        EXPECT_STREQ (effectAlgorithm (c.index).key, c.key);
        EXPECT_STREQ (effectAlgorithm (c.index).category, c.category);
    }
}

TEST (EffectAlgorithms, OutOfRangeIndicesAndUnknownNamesFallBackSafely)
{
    EXPECT_EQ (effectAlgorithmName (40), "Room > Delay");
    EXPECT_EQ (effectAlgorithmName (-3), "Large Hall");
    EXPECT_EQ (effectCategoryForName ("Chorus:Chorus"), "Dual Mono");
    EXPECT_EQ (effectCategoryForName ("Spring Reverb"), "Single");
    EXPECT_TRUE (effectAlgorithmIsIn (24, "All"));
    EXPECT_FALSE (effectAlgorithmIsIn (29, "All"));
}

TEST (EffectSelectionValues, ConvertBetweenRawAndIndexBothWays)
{
    struct Case
    {
        int raw, index;
    };
    for (const auto& c : { Case{ 0, 0 }, Case{ 141, 0 }, Case{ 142, 1 }, Case{ 3954, 28 }, Case{ 4095, 28 },
                           Case{ -20, 0 }, Case{ 16383, 28 } })
        EXPECT_EQ (effectAlgorithmForSelectionRaw (c.raw), c.index) << c.raw;

    EXPECT_EQ (effectSelectionRawToSend (0), 0);
    EXPECT_EQ (effectSelectionRawToSend (28), 3954);
    EXPECT_EQ (effectSelectionRawFromProgram (28), 4095);
    EXPECT_EQ (effectSelectionRawFromProgram (40), 4095);
    EXPECT_EQ (effectSelectionRawFromProgram (0), 0);

    for (int index = 0; index < effects::numAlgorithms; ++index)
    {
        EXPECT_EQ (effectAlgorithmForSelectionRaw (effectSelectionRawToSend (index)), index);
        EXPECT_EQ (effectAlgorithmForSelectionRaw (effectSelectionRawFromProgram (index)), index);
    }
}

//==============================================================================
TEST (EffectControlTable, Holds567RowsGroupedInTheInstrumentsOrder)
{
    const auto& table = effectControlTable();
    ASSERT_EQ (table.size(), (std::size_t)effects::numControls);

    const std::vector<int> groupOrder{ 0, 1, 3,  4,  5,  6,  7,  11, 12, 13, 14, 2,  16, 17, 19,
                                       8, 9, 10, 25, 26, 27, 18, 15, 20, 21, 22, 23, 28, 24 };
    std::vector<int> seen;
    for (const auto& r : table)
        if (seen.empty() || seen.back() != r.algorithm)
            seen.push_back (r.algorithm);
    EXPECT_EQ (seen, groupOrder);

    EXPECT_EQ (effectRowsOf (11).size(), 9u);
    EXPECT_EQ (effectRowsOf (17).size(), 26u);
    EXPECT_TRUE (effectRowsOf (29).empty());
    EXPECT_TRUE (effectRowsOf (-1).empty());
}

TEST (EffectControlTable, PlacesEveryControlOnItsPageSlotAndNrpn)
{
    std::set<std::string> ids;
    for (const auto& r : effectControlTable())
    {
        ids.insert (r.id);
        EXPECT_EQ (r.effectName, effectAlgorithmName (r.algorithm));
        ASSERT_LT (r.page, 6u);
        ASSERT_LT (r.slot, 6u);
        if (r.page == 0)
        {
            EXPECT_EQ (r.pageName, "CONFIG");
            EXPECT_GE (r.nrpn, 3604u);
            EXPECT_LE (r.nrpn, 3609u);
        }
        else
        {
            EXPECT_EQ (r.pageName, "PARAM" + std::to_string (r.page));
            EXPECT_EQ (r.nrpn, 3603u + 6u * r.page + r.slot) << r.id;
        }
        // A page and slot hold one control.
        EXPECT_EQ (effectRowAt (r.algorithm, (int)r.page, (int)r.slot), &r - &effectControlTable()[0]);
    }
    EXPECT_EQ (ids.size(), (std::size_t)effects::numControls);

    struct Case
    {
        int algorithm;
        const char* pageName;
        const char* label;
        unsigned nrpn, page, slot;
    };
    for (const auto& c : { Case{ 0, "CONFIG", "SEND", 3604, 0, 0 }, Case{ 0, "CONFIG", "OUT", 3606, 0, 2 },
                           Case{ 0, "PARAM3", "RELEAS", 3626, 3, 5 }, Case{ 14, "PARAM5", "MFDBK", 3638, 5, 5 },
                           Case{ 24, "CONFIG", "MIX 2", 3607, 0, 3 } })
    {
        const int r = effectRowForLabel (c.algorithm, c.pageName, c.label);
        ASSERT_GE (r, 0) << c.label;
        EXPECT_EQ (row (r).nrpn, c.nrpn) << c.label;
        EXPECT_EQ (row (r).page, c.page) << c.label;
        EXPECT_EQ (row (r).slot, c.slot) << c.label;
    }
    EXPECT_EQ (effectRowForLabel (0, "PARAM4", "DECAY"), -1);
    EXPECT_EQ (effectRowAt (0, 0, 1), -1);
    EXPECT_EQ (effectRowAt (0, 7, 0), -1);
}

TEST (EffectControlTable, BuildsParameterIdsFromKeyPageKeyAndLabel)
{
    struct Case
    {
        int algorithm;
        const char* pageName;
        const char* label;
        const char* id;
    };
    for (const auto& c : { Case{ 0, "CONFIG", "SEND", "effects.digital.large_hall.config.send" },
                           Case{ 8, "PARAM3", "DECAY", "effects.digital.room_plus_hall.hall_1.decay" },
                           Case{ 25, "PARAM3", "100MS", "effects.digital.room_plus_delay.delay_1.100ms" },
                           Case{ 24, "PARAM3", "DELAY", "effects.digital.flange_to_delay_to_room_multi_3.delay.delay" },
                           Case{ 15, "PARAM4", "WAVE", "effects.digital.delay_delay.right_delay_2.wave" },
                           Case{ 19, "PARAM3", "3SEMI", "effects.digital.quad_pitch_shifter.3.3semi" } })
    {
        const int r = effectRowForLabel (c.algorithm, c.pageName, c.label);
        ASSERT_GE (r, 0) << c.id;
        EXPECT_EQ (row (r).id, c.id);
    }
}

//==============================================================================
TEST (EffectStoredOrders, MatchTheInstrumentsTableForEveryAlgorithm)
{
    const std::string roomFamily = "DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · LDAMP · HDAMP · SPREAD · SHAPE · "
                                   "ELEVEL · GATE · HOLD · RELEAS · SWIRL · DEPTH · OUT";
    const std::string plates = "DECAY · LSHELF · HPF · LPF · DENS · DIFF · PDTIME · PDMIX · LDAMP · HDAMP · SWIRL · "
                               "DEPTH · GATE · HOLD · RELEAS · OUT";
    const std::map<int, std::string> expected{
        { 0, "DECAY · BOOST · BASSF · LPF · DENS · DIFF · PDTIME · PDMIX · LDAMP · HDAMP · SWIRL · DEPTH · GATE · "
             "HOLD · RELEAS · OUT" },
        { 1, "DECAY · BOOST · BASSF · LPF · DENS · DIFF · PDTIME · PDMIX · LDAMP · HDAMP · SWIRL · DEPTH · SPREAD · "
             "SHAPE · ELEVEL · GATE · HOLD · RELEAS · OUT" },
        { 2, "DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · LDAMP · HDAMP · GATE · HOLD · RELEAS · SWIRL · WIDTH · "
             "OUT" },
        { 3, roomFamily },
        { 4, roomFamily },
        { 5, roomFamily },
        { 6, plates },
        { 7, plates },
        { 8, "room: DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · LDAMP · HDAMP · RM OUT · hall: DECAY · BOOST · "
             "BASSF · LPF · DENS · DIFF · PDTIME · PDMIX · HL OUT" },
        { 9, "room: DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · LDAMP · HDAMP · RM OUT · plate: DECAY · LSHELF · "
             "HPF · LPF · DENS · DIFF · PDTIME · PDMIX · LDAMP · HDAMP · PL OUT" },
        { 10, "plate: DECAY · LSHELF · HPF · LPF · DENS · DIFF · PDTIME · PDMIX · LDAMP · HDAMP · PL OUT · hall: "
              "DECAY · BOOST · BFREQ · LPF · DENS · DIFF · PDTIME · PDMIX · HL OUT" },
        { 11, "TIME · LPF · PDTIME · PDMIX · DIR · DENS · DIFF · OUT" },
        { 12, "100MS · 10MS · 1MS · FDBK · LOCUT · HICUT · DENS · RATE · DEPTH · TREMR · TREMD · PANR · PAND · OUT" },
        { 13, "100MS · 10MS · 1MS · FDBK · LDAMP · HDAMP · DENS · OUT" },
        { 14, "1TIME · 1LEVEL · 1PAN · 1FDBK · 2TIME · 2LEVEL · 2PAN · 2FDBK · 3TIME · 3LEVEL · 3PAN · 3FDBK · LOCUT "
              "· 4TIME · 4PAN · 4LEVEL · 4FDBK · 5TIME · 5PAN · 5LEVEL · MFDBK · 5FDBK · HICUT · OUT" },
        { 15, "left: 100MS · 10MS · 1MS · FDBK · LOCUT · HICUT · RATE · DEPTH · WAVE · OUT L · right: 100MS · 10MS · "
              "1MS · FDBK · LOCUT · HICUT · RATE · DEPTH · WAVE · OUT R" },
        { 16, "RATE · DEPTH · FDBK · THRU0 · LPF · FBHPF · FBLPF · PDLYL · PDLYR · TRIG · ATTACK · RELEAS · OUT" },
        { 17, "1RATE · 1DEPTH · 1FDBK · 1WAVE · 1PDTIM · 2RATE · 2DEPTH · 2FDBK · 2WAVE · 2PDTIM · 3RATE · 3DEPTH · "
              "3FDBK · 3WAVE · 3PDTIM · 4RATE · 4DEPTH · 4FDBK · 4WAVE · 4PDTIM · WIDTH · 2LEVEL · 3LEVEL · OUT" },
        { 18, "left: RATE · DEPTH · FDBK · PDTIM · LPF · FBHPF · FBLPF · WAVE · THRU0 · OUT L · right: RATE · DEPTH · "
              "FDBK · PDTIM · LPF · FBHPF · FBLPF · WAVE · THRU0 · OUT R" },
        { 19, "1SEMI · 1FINE · 1LEVEL · 1PAN · 1PDTIM · 2SEMI · 2FINE · 2LEVEL · 2PAN · 2PDTIM · 3SEMI · 3FINE · "
              "3LEVEL · 3PAN · 3PDTIM · 4SEMI · 4FINE · 4LEVEL · 4PAN · 4PDTIM · OUT" },
        { 20, "MOTOR · SPEED · HIROT · MIX · DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · LDAMP · HDAMP · GATE · OUT" },
        { 21, "100MS · 10MS · 1MS · FDBK · LOCUT · HICUT · DENS · RATE · DEPTH · TREMR · TREMD · PANR · PAND · MIX · "
              "DECAY · LPF · DENS · DIFF · GATE · HOLD · RELEAS · OUT" },
        { 22, "LRATE · LDEPTH · LFDBK · LPDLY · RRATE · RDEPTH · RFDBK · RPDLY · CLPF · CFBHPF · CFBLPF · MIX · DECAY "
              "· RLPF · PDTIME · PDMIX · DENS · DIFF · GATE · OUT" },
        { 23, "DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · (unused byte) · MIX · RATE · DEPTH · FDBK · PDTIME · THRU0 "
              "· LPF · FBHPF · FBLPF · TRIG · ATTACK · RELEAS · OUT" },
        { 24, "RATE · DEPTH · FDBK · PDTIME · THRU0 · LPF · FBHPF · FBLPF · TRIG · ATTACK · RELEAS · MIX 1 · DELAY · "
              "FDBK · HICUT · MIX 2 · DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · GATE · OUT" },
        { 25, "room: DECAY · LPF · DENS · DIFF · GATE · HOLD · RELEAS · RM OUT · delay: 100MS · 10MS · 1MS · FDBK · "
              "LOCUT · HICUT · DENS · RATE · DEPTH · TREMR · TREMD · PANR · PAND · DL OUT" },
        { 26, "room: DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · HOLD · RM OUT · chorus: LRATE · LDEPTH · LFDBK · "
              "LPDTIM · RRATE · RDEPTH · RFDBK · RPDTIM · LPF · FBHPF · FBLPF · CH OUT" },
        { 27, "room: DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · HOLD · RM OUT · flanger: RATE · DEPTH · FDBK · PDTIM "
              "· THRU0 · LPF · FBHPF · FBLPF · TRIG · ATTACK · RELEAS · FL OUT" },
        { 28, "DECAY · LPF · PDTIME · PDMIX · DENS · DIFF · GATE · HOLD · 100MS · 10MS · 1MS · FDBK · LOCUT · HICUT · "
              "DENS · RATE · DEPTH · TREMR · TREMD · PANR · PAND · RELEAS · MIX · OUT" },
    };
    ASSERT_EQ (expected.size(), 29u);
    for (const auto& [algorithm, order] : expected)
    {
        const auto labels = storedLabels (algorithm);
        EXPECT_EQ (labels, parseOrder (order)) << effectAlgorithmName (algorithm);
        EXPECT_LE (labels.size(), 30u);
    }
}

TEST (EffectStoredOrders, GiveNoRowBeyondTheOrderForThePlaceholderOrForABadAlgorithm)
{
    EXPECT_EQ (effectRowForStoredSlot (23, 6), -1);
    ASSERT_GE (effectRowForStoredSlot (23, 7), 0);
    EXPECT_EQ (row (effectRowForStoredSlot (23, 7)).label, "MIX");
    EXPECT_EQ (effectRowForStoredSlot (13, 8), -1);
    EXPECT_EQ (effectRowForStoredSlot (13, 29), -1);
    EXPECT_EQ (effectRowForStoredSlot (13, -1), -1);
    EXPECT_EQ (effectRowForStoredSlot (29, 0), -1);
    EXPECT_TRUE (effectStoredOrder (-4).empty());
}

//==============================================================================
TEST (EffectNames, LongNamesComeFromTheListOrFromPrefixAndRest)
{
    struct Case
    {
        const char* label;
        const char* longName;
    };
    for (const auto& c : { Case{ "DECAY", "Decay" }, Case{ "OUT L", "Output Left" }, Case{ "MIX 2", "Mix 2" },
                           Case{ "RLPF", "Room Low Pass Filter" }, Case{ "3SEMI", "Part 3 Semitone" },
                           Case{ "MFDBK", "Master Feedback" }, Case{ "CFBHPF", "Chorus Feedback High Pass Filter" },
                           Case{ "WOBBLE", "WOBBLE" }, Case{ "", "" } })
        EXPECT_EQ (effectLongName (c.label), c.longName) << c.label;
}

TEST (EffectNames, SubEffectPagesHaveTheirDisplayAbbreviations)
{
    struct Case
    {
        const char* pageKey;
        const char* abbreviation;
        const char* prefix;
    };
    for (const auto& c : { Case{ "room_2", "ROOM", "Room " }, Case{ "left_delay_1", "L-DLY", "Left Delay " },
                           Case{ "right_chorus_2", "R-CHRS", "Right Chorus " }, Case{ "delay", "DELAY", "Delay " },
                           Case{ "1", "", "" }, Case{ "roomy", "", "" } })
    {
        EXPECT_EQ (effectPageAbbreviation (c.pageKey), c.abbreviation) << c.pageKey;
        EXPECT_EQ (effectPageLongPrefix (c.pageKey), c.prefix) << c.pageKey;
    }
}
