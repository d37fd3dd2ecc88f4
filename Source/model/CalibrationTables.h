#pragma once

#include <cstddef>

namespace orvo
{

/** One measured point: the instrument's raw value and what it means in the instrument's units. */
struct CalibrationPoint
{
    int raw = 0;
    double display = 0.0;
};

/** A measured curve, points in rising raw order; the first point is at raw 0. */
struct CalibrationTable
{
    const CalibrationPoint* points = nullptr;
    std::size_t size = 0;

    const CalibrationPoint* begin() const { return points; }
    const CalibrationPoint* end() const { return points + size; }
};

/** The instrument's non-linear curves, measured on the hardware. */
namespace CalibrationTables
{
const CalibrationTable& filter1Frequency();
const CalibrationTable& filter2Frequency();
const CalibrationTable& tempo();
const CalibrationTable& localBpm();
const CalibrationTable& arpLength();
/** In envelope time units; one unit is 2 ms. */
const CalibrationTable& envelopeTime();

/** Piecewise-linear lookup at x (clamped to the table's raw span), bounded to the two display bounds
    in whichever order they come. An empty table yields the lower bound. */
double interpolate (const CalibrationTable& table, double x, double boundA, double boundB);
} // namespace CalibrationTables

} // namespace orvo
