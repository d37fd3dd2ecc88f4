#pragma once

#include <array>

namespace orvo
{

/** One of the modulation curve shapes (pitch wheel, mod wheel and the like). */
struct CurveShape
{
    const char* name = "";
    int raw = 0;
};

/** The nine curve shapes a curve control steps through, one per click. */
class ValueCurveShapes
{
public:
    static constexpr int numShapes = 9;

    static const std::array<CurveShape, numShapes>& shapes();

    /** The shape at `index`, brought into 0..8 first (wrapping, so -1 is the last shape). */
    static const CurveShape& shape (int index);

    /** The index a click moves to from `index`. */
    static int next (int index);

    /** The shape whose raw value lies nearest to `raw` (the lower one on a tie), for a value
        that arrives from the instrument. */
    static int indexForRaw (int raw);
};

} // namespace orvo
