#include "engine/FitLayout.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST (FittingTheEditor, ScalesUniformlyAndCentresTheDesignSize)
{
    struct Case
    {
        int w, h;
        int x, y, fw, fh;
        double scale;
    };
    const Case cases[] = {
        { 1600, 1024, 160, 0, 1280, 1024, 1.0 }, { 750, 600, 0, 0, 750, 600, 600.0 / 1024.0 },
        { 1280, 1024, 0, 0, 1280, 1024, 1.0 },   { 2560, 2048, 0, 0, 2560, 2048, 2.0 },
        { 1280, 1400, 0, 188, 1280, 1024, 1.0 }, { 1000, 1000, 0, 100, 1000, 800, 1000.0 / 1280.0 },
    };
    for (const auto& c : cases)
    {
        const auto f = fitEditor (0, 0, c.w, c.h);
        EXPECT_EQ (f.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ (f.y, c.y) << c.w << "x" << c.h;
        EXPECT_EQ (f.width, c.fw) << c.w << "x" << c.h;
        EXPECT_EQ (f.height, c.fh) << c.w << "x" << c.h;
        EXPECT_DOUBLE_EQ (f.scale, c.scale) << c.w << "x" << c.h;
    }
}

TEST (FittingTheEditor, SurvivesDegenerateSizesAndOffsets)
{
    const auto zero = fitEditor (0, 0, 0, 0);
    EXPECT_EQ (zero.width, 1);
    EXPECT_EQ (zero.height, 1);
    EXPECT_DOUBLE_EQ (zero.scale, 0.01);

    const auto offset = fitEditor (10, 20, 1600, 1024);
    EXPECT_EQ (offset.x, 170);
    EXPECT_EQ (offset.y, 20);
}
