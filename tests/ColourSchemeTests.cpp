#include "engine/ColourScheme.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST (ColourScheme, MeasuresContrastAsWcagDoes)
{
    const struct
    {
        juce::uint32 a, b;
        double ratio;
    } cases[] = {
        { 0xff000000, 0xffffffff, 21.0 },
        { 0xff777777, 0xffffffff, 4.48 },
        { 0xffffffff, 0xff777777, 4.48 },
        { 0xff15213a, 0xff15213a, 1.0 },
    };
    for (const auto& c : cases)
        EXPECT_NEAR (contrastRatio (juce::Colour (c.a), juce::Colour (c.b)), c.ratio, 0.01)
            << std::hex << c.a << " on " << c.b;
}

TEST (ColourScheme, EveryCombinationOfChoicesKeepsTextReadableAndBoxesVisible)
{
    // Text needs 4.5:1 against whatever it is drawn on; a box's edge 3:1 against what surrounds it.
    std::vector<std::string> failures;
    const auto check = [&failures] (const Appearance& a, const std::vector<ColourScheme::Pair>& pairs, double least)
    {
        for (const auto& p : pairs)
            if (const auto ratio = contrastRatio (p.foreground, p.background); ratio < least)
                failures.push_back ("layout " + std::to_string (a.layoutColor) + ", LCD " +
                                    std::to_string (a.lcdColor) + ", value box " + std::to_string (a.valueBoxColor) +
                                    ", dropdown " + std::to_string (a.dropdownColor) + ", screen " +
                                    std::to_string (a.lcdScreenType) + ": " + p.what + " " +
                                    p.foreground.toDisplayString (false).toStdString() + " on " +
                                    p.background.toDisplayString (false).toStdString() + " is " +
                                    juce::String (ratio, 2).toStdString() + ":1");
    };
    for (int layout = 1; layout <= 3; ++layout)
        for (int lcd = 1; lcd <= 3; ++lcd)
            for (int box = 1; box <= 3; ++box)
                for (int dropdown = 1; dropdown <= 3; ++dropdown)
                    for (int screen = 1; screen <= 2; ++screen)
                    {
                        Appearance a;
                        a.layoutColor = layout;
                        a.lcdColor = lcd;
                        a.valueBoxColor = box;
                        a.dropdownColor = dropdown;
                        a.lcdScreenType = screen;
                        const auto scheme = ColourScheme::of (a);
                        check (a, scheme.textPairs(), 4.5);
                        check (a, scheme.boxEdges(), 3.0);
                    }
    std::string firstFew;
    for (size_t i = 0; i < failures.size() && i < 10; ++i)
        firstFew += "\n" + failures[i];
    EXPECT_TRUE (failures.empty()) << failures.size() << " failures:" << firstFew;
}
