#include "layout/LayoutStyleLook.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace orvo;
using namespace orvo::layoutLook;

TEST (LayoutStyleLook, DrawsTheVisualSizeCentredAndClampedToTheBounds)
{
    struct Case
    {
        LayoutRect bounds;
        std::optional<int> size;
        Shape shape;
        LayoutRect drawn;
    };
    const Case cases[]{
        { { 10, 10, 20, 20 }, 12, Shape::round, { 14, 14, 12, 12 } },
        { { 10, 10, 20, 20 }, 40, Shape::round, { 10, 10, 20, 20 } },
        { { 0, 0, 40, 20 }, 30, Shape::round, { 10, 0, 20, 20 } },
        { { 0, 0, 150, 20 }, 100, Shape::bar, { 25, 0, 100, 20 } },
        { { 0, 0, 150, 20 }, 200, Shape::bar, { 0, 0, 150, 20 } },
        { { 0, 0, 80, 26 }, 16, Shape::box, { 5, 5, 70, 16 } },
        { { 0, 0, 80, 26 }, 0, Shape::box, { 0, 0, 80, 26 } },
        { { 5, 6, 80, 26 }, std::nullopt, Shape::round, { 5, 6, 80, 26 } },
    };
    for (const auto& c : cases)
        EXPECT_EQ (visualBounds (c.bounds, c.size, c.shape), c.drawn)
            << c.bounds.width << " at " << c.size.value_or (-1);
}

TEST (LayoutStyleLook, InsetsShiftsAndScalesLcdTextWithinItsBox)
{
    EXPECT_EQ (lcdTextArea ({ 0, 0, 100, 20 }, 4, 3, 2), (LayoutRect{ 4, 5, 92, 14 }));
    EXPECT_EQ (lcdTextArea ({ 0, 0, 100, 20 }, 0, 0, -3), (LayoutRect{ 0, -3, 100, 20 }));
    EXPECT_EQ (lcdTextArea ({ 0, 0, 100, 20 }, 80, 50, 0), (LayoutRect{ 49, 9, 2, 2 })); // never inside out
    EXPECT_EQ (lcdTextArea ({ 0, 0, 100, 20 }, -5, -5, 0), (LayoutRect{ 0, 0, 100, 20 }));
    EXPECT_FLOAT_EQ (lcdFontHeight (12.0f, std::nullopt), 12.0f);
    EXPECT_FLOAT_EQ (lcdFontHeight (12.0f, 1.5), 18.0f);
    EXPECT_FLOAT_EQ (lcdFontHeight (12.0f, 10.0), 48.0f);
    EXPECT_FLOAT_EQ (lcdFontHeight (12.0f, 0.1), 3.0f);
}

TEST (LayoutStyleLook, EveryButtonStyleLooksDifferentAndKeepsItsCaptionReadable)
{
    EXPECT_FALSE (buttonLook ("default", ColourScheme::of ({})));
    EXPECT_FALSE (buttonLook ("chrome", ColourScheme::of ({})));
    for (int layoutColor = 1; layoutColor <= 3; ++layoutColor)
    {
        Appearance a;
        a.layoutColor = layoutColor;
        const auto scheme = ColourScheme::of (a);
        std::set<std::tuple<juce::uint32, juce::uint32, float, float>> seen;
        for (const auto& style : LayoutStyle::buttonStyles())
        {
            if (style == "default")
                continue;
            const auto look = buttonLook (style, scheme);
            ASSERT_TRUE (look) << style;
            EXPECT_TRUE (
                seen.insert ({ look->fill.getARGB(), look->outline.getARGB(), look->cornerRadius, look->captionScale })
                    .second)
                << style << " looks like another style";
            for (const auto& [ink, fill] :
                 { std::pair (look->text, look->fill), std::pair (look->textOn, look->fillOn) })
                for (const float brighten :
                     { 0.0f, ColourScheme::buttonHoverBrightening, ColourScheme::buttonDownBrightening })
                    EXPECT_GE (contrastRatio (ink, fill.brighter (brighten)), 4.5)
                        << style << " in layout colour " << layoutColor;
        }
    }
    const auto scheme = ColourScheme::of ({});
    EXPECT_TRUE (buttonLook ("flat", scheme)->outline.isTransparent());
    EXPECT_EQ (buttonLook ("panel", scheme)->fill, scheme.panel);
    EXPECT_LT (buttonLook ("smallGrey", scheme)->captionScale, 1.0f);
    EXPECT_GT (buttonLook ("largeBlack", scheme)->captionScale, 1.0f);
}
