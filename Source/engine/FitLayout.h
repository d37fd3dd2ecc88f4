#pragma once

#include <algorithm>
#include <cmath>

namespace orvo
{

/** Where the fixed-size editor sits inside a window of any size, and at what scale. */
struct FitResult
{
    int x = 0, y = 0, width = 0, height = 0;
    double scale = 1.0;
};

inline FitResult fitEditor (int x, int y, int w, int h, int designWidth = 1280, int designHeight = 1024)
{
    w = std::max (w, 1);
    h = std::max (h, 1);
    FitResult f;
    if ((double) w / h >= (double) designWidth / designHeight)
    {
        f.height = h;
        f.width = std::clamp ((int) std::lround (h * (double) designWidth / designHeight), 1, w);
        f.scale = (double) h / designHeight;
    }
    else
    {
        f.width = w;
        f.height = std::clamp ((int) std::lround (w * (double) designHeight / designWidth), 1, h);
        f.scale = (double) w / designWidth;
    }
    f.scale = std::max (f.scale, 0.01);
    f.x = x + w / 2 - f.width / 2;
    f.y = y + h / 2 - f.height / 2;
    return f;
}

} // namespace orvo
