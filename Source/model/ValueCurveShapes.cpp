#include "ValueCurveShapes.h"

#include <cstdlib>

namespace orvo
{
namespace
{
int wrap (int index)
{
    const int m = index % ValueCurveShapes::numShapes;
    return m < 0 ? m + ValueCurveShapes::numShapes : m;
}
} // namespace

const std::array<CurveShape, ValueCurveShapes::numShapes>& ValueCurveShapes::shapes()
{
    static constexpr std::array<CurveShape, numShapes> all{ { { "LINEAR", 0 },
                                                              { "EXP 1", 457 },
                                                              { "EXP 2", 913 },
                                                              { "EXP 3", 1367 },
                                                              { "LOG 1", 1820 },
                                                              { "LOG 2", 2276 },
                                                              { "LOG 3", 2732 },
                                                              { "S-CURVE 1", 3187 },
                                                              { "S-CURVE 2", 3641 } } };
    return all;
}

const CurveShape& ValueCurveShapes::shape (int index)
{
    return shapes()[(size_t)wrap (index)];
}

int ValueCurveShapes::next (int index)
{
    return wrap (wrap (index) + 1);
}

int ValueCurveShapes::indexForRaw (int raw)
{
    int best = 0;
    for (int i = 1; i < numShapes; ++i)
        if (std::abs ((long)raw - shapes()[(size_t)i].raw) < std::abs ((long)raw - shapes()[(size_t)best].raw))
            best = i;
    return best;
}

} // namespace orvo
