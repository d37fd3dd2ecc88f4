#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

class ModulationRouting;

/** A drawing of what a group of values does: points with x from 0 to 1 across the display and y
    from -1 (bottom) to 1 (top), and a caption. Equal drawings compare equal, so a display repaints
    only when its drawing changes. */
struct ShapeDrawing
{
    struct Point
    {
        float x = 0.0f, y = 0.0f;
        bool operator== (const Point& o) const { return x == o.x && y == o.y; }
    };
    std::vector<Point> points;
    std::string caption;
    bool operator== (const ShapeDrawing& o) const { return points == o.points && caption == o.caption; }
    bool operator!= (const ShapeDrawing& o) const { return !(*this == o); }
};

/** The pictures of the oscillator, LFO and envelope displays, computed from raw values by
    ParameterId, and the lines of the routing summary. */
class DisplayShapes
{
public:
    /** The raw value of a catalogue row by id. */
    using RawOf = std::function<int (std::string_view id)>;

    /** Curve shape `index` (0..8, as ValueCurveShapes numbers them) at t in 0..1; 0 at 0 and 1 at 1. */
    static double curve (int index, double t);

    /** One oscillator's wave mix over two cycles, scaled to its peak. */
    static ShapeDrawing oscillator (const RawOf& raw, int osc);
    /** One LFO over two cycles, with its polarity, level and offset applied. */
    static ShapeDrawing lfo (const RawOf& raw, int lfo);
    /** One envelope from key down to the end of its release, sustain drawn at a fixed width; y is
        the level, segments bent by the envelope's curve shape. */
    static ShapeDrawing envelope (const RawOf& raw, int env);

    /** One line per enabled route: name, source, destination where it has one, level. */
    static std::vector<std::string> routingSummary (const ModulationRouting& routing);
};

} // namespace orvo
