#include "DisplayShapes.h"

#include "model/ModulationRouting.h"
#include "model/NamedValues.h"
#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"
#include "model/ValueCurveShapes.h"

#include <algorithm>
#include <cmath>

namespace orvo
{
namespace
{
constexpr double pi = 3.14159265358979323846;
constexpr int wavePoints = 160;

double display (const DisplayShapes::RawOf& raw, const std::string& id)
{
    const auto row = ParameterCatalogue::findById (id);
    if (!row)
        return 0.0;
    return ValueConversion::rawToDisplay (ParameterCatalogue::row (*row), raw (id));
}

std::string choiceName (const DisplayShapes::RawOf& raw, const std::string& id)
{
    const auto row = ParameterCatalogue::findById (id);
    const auto* choices = row ? NamedValues::forRow (ParameterCatalogue::row (*row)) : nullptr;
    return choices != nullptr ? NamedValues::nearest (*choices, raw (id)).name : std::string();
}

float toFloat (double v)
{
    return (float)std::clamp (v, -1.0, 1.0);
}

std::string percentText (double v)
{
    return std::to_string ((int)std::lround (v)) + "%";
}
} // namespace

double DisplayShapes::curve (int index, double t)
{
    t = std::clamp (t, 0.0, 1.0);
    switch (std::clamp (index, 0, ValueCurveShapes::numShapes - 1))
    {
        case 1:
        case 2:
        case 3: // EXP: slow start, the steeper the higher
            return std::pow (t, 1.0 + index);
        case 4:
        case 5:
        case 6: // LOG: fast start
            return 1.0 - std::pow (1.0 - t, index - 2.0);
        case 7:
            return t * t * (3.0 - 2.0 * t);
        case 8:
            return t * t * t * (t * (6.0 * t - 15.0) + 10.0);
        default:
            return t;
    }
}

ShapeDrawing DisplayShapes::oscillator (const RawOf& raw, int osc)
{
    const std::string o = "osc" + std::to_string (osc) + ".";
    const int saw = raw (o + "saw");
    const bool square = raw (o + "square") > 0, triangle = raw (o + "triangle") > 0, sine = raw (o + "sine") > 0;
    const double width = std::clamp (display (raw, o + "pwm") / 100.0, 0.02, 0.98);
    const double squareLevel = display (raw, o + "env1level") / 100.0;

    ShapeDrawing d;
    std::vector<std::string> parts;
    if (saw > 0)
        parts.push_back (saw == 1 ? "SAW +" : "SAW -");
    if (square)
        parts.push_back ("SQR " + percentText (width * 100.0) + " LEVEL " + percentText (squareLevel * 100.0));
    if (triangle)
        parts.push_back ("TRI");
    if (sine)
        parts.push_back ("SINE");
    if (osc == 2 && raw ("osc2.sync") > 0)
        parts.push_back (raw ("osc2.sync") == 1 ? "HARD SYNC" : "SOFT SYNC");
    for (const auto& p : parts)
        d.caption += (d.caption.empty() ? "" : "  ") + p;
    if (d.caption.empty())
        d.caption = "NO WAVE ON";

    std::vector<double> ys ((size_t)wavePoints + 1);
    double peak = 0.0;
    for (int i = 0; i <= wavePoints; ++i)
    {
        const double cycles = 2.0 * i / wavePoints;
        const double p = cycles - std::floor (cycles);
        double y = 0.0;
        if (saw > 0)
            y += (saw == 1 ? 1.0 : -1.0) * (2.0 * p - 1.0);
        if (square)
            y += squareLevel * (p < width ? 1.0 : -1.0);
        if (triangle)
            y += p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
        if (sine)
            y += std::sin (2.0 * pi * p);
        ys[(size_t)i] = y;
        peak = std::max (peak, std::abs (y));
    }
    for (int i = 0; i <= wavePoints; ++i)
        d.points.push_back ({ (float)i / wavePoints, toFloat (peak > 0.0 ? ys[(size_t)i] / peak : 0.0) });
    return d;
}

ShapeDrawing DisplayShapes::lfo (const RawOf& raw, int lfo)
{
    const std::string l = "lfo" + std::to_string (lfo) + ".";
    const auto shape = choiceName (raw, l + "shape");
    const auto polarity = choiceName (raw, l + "polarity");
    const double width = std::clamp (display (raw, l + "wavewidth") / 100.0, 0.02, 0.98);
    const double phase = display (raw, l + "phase") / 360.0;
    const double level = display (raw, l + "level") / 100.0;
    const double offset = display (raw, l + "offset") / 100.0;

    ShapeDrawing d;
    d.caption =
        shape + "  " + polarity + "  LEVEL " + percentText (level * 100.0) + "  OFFSET " + percentText (offset * 100.0);
    // The random shape takes a new value each quarter cycle here; a fixed sequence keeps the
    // drawing steady while nothing changes.
    static constexpr double randomSteps[] = { 0.62, -0.35, 0.91, -0.78, 0.14, -0.96, 0.48, -0.12 };
    for (int i = 0; i <= wavePoints; ++i)
    {
        const double t = 2.0 * i / wavePoints + phase;
        const double p = t - std::floor (t);
        double w = 0.0;
        if (shape == "TRIANGLE")
            w = p < width ? -1.0 + 2.0 * p / width : 1.0 - 2.0 * (p - width) / (1.0 - width);
        else if (shape == "RAMP UP")
            w = 2.0 * p - 1.0;
        else if (shape == "RAMP DOWN")
            w = 1.0 - 2.0 * p;
        else if (shape == "PULSE")
            w = p < width ? 1.0 : -1.0;
        else if (shape == "RANDOM")
            w = randomSteps[(size_t)std::clamp ((int)std::floor (t * 4.0), 0, 11) % 8];
        else
            w = std::sin (2.0 * pi * p);
        const double u = polarity == "POSITIVE" ? (w + 1.0) / 2.0 : polarity == "NEGATIVE" ? -(w + 1.0) / 2.0 : w;
        d.points.push_back ({ (float)i / wavePoints, toFloat (offset + level * u) });
    }
    return d;
}

ShapeDrawing DisplayShapes::envelope (const RawOf& raw, int env)
{
    const std::string e = "env" + std::to_string (env) + ".";
    const int shapeIndex = ValueCurveShapes::indexForRaw (raw (e + "shape"));
    // Times in ms (one unit is 2 ms); widths grow with the logarithm of the time, so a 2 ms attack
    // and a 20 s release both stay readable.
    const auto width = [&] (const char* field)
    {
        const double ms = 2.0 * display (raw, e + field);
        return ms <= 0.0001 ? 0.0 : 0.02 + std::log1p (ms / 4.0);
    };
    const auto level = [&] (const char* field) { return display (raw, e + field) / 100.0; };

    struct Segment
    {
        double width, to;
    };
    const double rest = level ("offsetlevel");
    const double delay = width ("delaytime");
    const Segment segments[] = {
        { width ("attacktime"), level ("attacklevel") },     { width ("decay1time"), level ("decay2level") },
        { width ("decay2time"), level ("sustainlevel") },    { -1.0, level ("sustainlevel") }, // the key is held
        { width ("release1time"), level ("release2level") }, { width ("release2time"), rest }
    };
    double total = delay;
    for (const auto& s : segments)
        total += std::max (0.0, s.width);
    const double sustainWidth = std::max (1.0, total * 0.2);
    total += sustainWidth;

    ShapeDrawing d;
    d.caption = std::string (ValueCurveShapes::shape (shapeIndex).name);
    double x = 0.0, y = rest;
    d.points.push_back ({ 0.0f, toFloat (y) });
    if (delay > 0.0)
        d.points.push_back ({ (float)((x += delay) / total), toFloat (y) });
    constexpr int steps = 16;
    for (const auto& s : segments)
    {
        const double w = s.width < 0.0 ? sustainWidth : s.width;
        const double from = y;
        for (int i = 1; i <= steps; ++i)
        {
            const double t = (double)i / steps;
            // Rising segments follow the curve, falling ones its mirror, so an EXP shape bows the
            // same way on the way up and down, as an analog envelope does.
            const double f = s.to >= from ? curve (shapeIndex, t) : 1.0 - curve (shapeIndex, 1.0 - t);
            d.points.push_back ({ (float)((x + w * t) / total), toFloat (from + (s.to - from) * f) });
        }
        x += w;
        y = s.to;
    }
    return d;
}

std::vector<std::string> DisplayShapes::routingSummary (const ModulationRouting& routing)
{
    std::vector<std::string> lines;
    for (int route = 0; route < ModulationRoutes::numRoutes; ++route)
    {
        const auto enable = routing.fieldView (route, ModulationField::enable);
        if (!enable || enable->raw <= 0)
            continue;
        std::string line = ModulationRoutes::all()[(size_t)route].name;
        if (const auto source = routing.fieldView (route, ModulationField::source))
            line += ": " + source->text;
        if (const auto destination = routing.fieldView (route, ModulationField::destination))
            line += " > " + destination->text;
        if (const auto level = routing.fieldView (route, ModulationField::level))
            line += "  " + level->text;
        lines.push_back (std::move (line));
    }
    return lines;
}

} // namespace orvo
