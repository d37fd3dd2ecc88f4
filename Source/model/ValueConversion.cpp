#include "ValueConversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace orvo
{
namespace
{
bool startsWith (std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare (0, prefix.size(), prefix) == 0;
}

bool endsWith (std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.compare (text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool endsWithAny (std::string_view text, std::initializer_list<std::string_view> suffixes)
{
    return std::any_of (suffixes.begin(), suffixes.end(), [&] (std::string_view s) { return endsWith (text, s); });
}

// Integer division here must truncate; floor matters only for the negative semitone side.
int floorDiv (int numerator, int denominator)
{
    return (int)std::floor ((double)numerator / (double)denominator);
}

double lowerOf (const OrvoParameterInfo& info)
{
    return std::min (info.displayMin, info.displayMax);
}
double upperOf (const OrvoParameterInfo& info)
{
    return std::max (info.displayMin, info.displayMax);
}

double convertByRule (const OrvoParameterInfo& info, ValueConversion::Rule rule, int r, std::optional<double> current)
{
    using Rule = ValueConversion::Rule;
    switch (rule)
    {
        case Rule::calibrationTable:
            return CalibrationTables::interpolate (*ValueConversion::tableFor (info), r, info.displayMin,
                                                   info.displayMax);
        case Rule::unipolarPercent:
            return ValueConversion::unipolarPercentFromRaw (r);
        case Rule::bipolarPercent:
            return ValueConversion::bipolarPercentFromRaw (r);
        case Rule::modulationLevel:
            return ValueConversion::modulationLevelFromRaw (r);
        case Rule::envelopeTimeFormula:
            return r <= info.rawMin ? 0.0 : ValueConversion::envelopeTimeFromRaw (r, false);
        case Rule::attackLevel:
            return ValueConversion::attackLevelFromRaw (r);
        case Rule::resonance:
            return ValueConversion::resonanceFromRaw (r);
        case Rule::envelopeTime:
            if (ValueConversion::showsZeroAsOff (info) && r <= info.rawMin)
                return 0.0;
            return ValueConversion::envelopeTimeFromRaw (r, false);
        case Rule::envelopeLevel:
        {
            // Envelope levels follow the time curve's shape, stretched over the display range.
            const int span = info.rawMax - info.rawMin;
            const int n = span == 0 ? 0 : (int)std::lround ((double)(r - info.rawMin) * 4095.0 / span);
            const double t = CalibrationTables::interpolate (CalibrationTables::envelopeTime(), n, 1.0, 65535.0);
            const double f = std::clamp ((t - 1.0) / 65534.0, 0.0, 1.0);
            return info.displayMin + (info.displayMax - info.displayMin) * f;
        }
        case Rule::semitone:
            return ValueConversion::semitoneFromRaw (r);
        case Rule::cents:
            return ValueConversion::centsFromRaw (r);
        case Rule::fine:
            return ValueConversion::fineFromRaw (r);
        case Rule::unchanged:
            return current.value_or (info.displayMin);
        case Rule::linear:
            break;
    }
    return info.displayMin +
           (double)(r - info.rawMin) / (double)(info.rawMax - info.rawMin) * (info.displayMax - info.displayMin);
}

/** Pulls a value that sits just beside the display centre onto it, so a knob at its middle
    reads as the round middle value rather than one step off. */
double applyCentreSnap (const OrvoParameterInfo& info, int r, double value)
{
    if (info.rawMax == info.rawMin || std::abs (2 * r - info.rawMin - info.rawMax) > 1)
        return value;
    const double centre = (info.displayMin + info.displayMax) / 2.0;
    if (info.displayStep != 0.0)
    {
        const double steps = (centre - info.displayMin) / info.displayStep;
        if (std::abs (steps - std::round (steps)) > 0.000001)
            return value;
    }
    if (std::abs (value - centre) <= std::max (2.0 * info.displayStep, 0.000001))
        return centre;
    return value;
}

/** The display value the knob shows without any custom window: rules, step, snap, display range. */
double naturalDisplay (const OrvoParameterInfo& info, int raw, std::optional<double> current)
{
    const int r = std::clamp (raw, info.rawMin, std::max (info.rawMin, info.rawMax));
    double value = convertByRule (info, ValueConversion::ruleFor (info), r, current);
    if (info.displayStep > 0.0)
        value = ValueConversion::roundToStep (value, info.displayStep);
    if (info.displayFormat == 0)
        value = applyCentreSnap (info, r, value);
    return value;
}

double naturalDisplayClamped (const OrvoParameterInfo& info, int raw)
{
    return std::clamp (naturalDisplay (info, raw, std::nullopt), lowerOf (info), upperOf (info));
}

/** Finds the raw value for a display value by bisection over the forward conversion, which never
    turns back on itself (every rule is monotonic in raw). */
int searchRaw (const OrvoParameterInfo& info, double target)
{
    const int first = info.rawMin;
    const int last = info.rawMax;
    const double sign = naturalDisplayClamped (info, last) >= naturalDisplayClamped (info, first) ? 1.0 : -1.0;
    auto f = [&] (int r) { return sign * naturalDisplayClamped (info, r); };
    const double t = sign * target;
    const double eps = 1e-9 * std::max (1.0, std::abs (target));

    if (t <= f (first) + eps)
        return first;
    if (t >= f (last) - eps)
        return last;

    // Invariant: f(lo) < t - eps <= f(hi).
    int lo = first, hi = last;
    while (hi - lo > 1)
    {
        const int mid = lo + (hi - lo) / 2;
        (f (mid) >= t - eps ? hi : lo) = mid;
    }

    const double below = f (lo), above = f (hi);
    const bool takeAbove = above - t <= eps || above - t <= t - below;
    const double chosen = takeAbove ? above : below;

    // The run of raw values showing `chosen`: [runStart, runEnd].
    int runStart = takeAbove ? hi : lo;
    int runEnd = runStart;
    {
        int a = first, b = runStart; // last raw below the run lies in [first - 1, runStart)
        while (a < b)
        {
            const int mid = a + (b - a) / 2;
            if (f (mid) >= chosen - eps)
                b = mid;
            else
                a = mid + 1;
        }
        runStart = a;
        a = runEnd;
        b = last;
        while (a < b)
        {
            const int mid = a + (b - a + 1) / 2;
            if (f (mid) <= chosen + eps)
                a = mid;
            else
                b = mid - 1;
        }
        runEnd = a;
    }
    if (runStart == first)
        return first;
    if (runEnd == last)
        return last;
    return runStart + (runEnd - runStart) / 2;
}
/** Response curves of the knob travel: share of the window reached at knob position p. */
double shapeTravel (int curve, double p)
{
    switch (curve)
    {
        case 1:
            return p * p;
        case 2:
            return 1.0 - (1.0 - p) * (1.0 - p);
        case 3:
            return p * p * (3.0 - 2.0 * p);
        default:
            return p;
    }
}

double unshapeTravel (int curve, double share)
{
    switch (curve)
    {
        case 1:
            return std::sqrt (share);
        case 2:
            return 1.0 - std::sqrt (1.0 - share);
        case 3:
        {
            // The S-curve has no handy closed inverse; it rises steadily, so bisect.
            double lo = 0.0, hi = 1.0;
            for (int i = 0; i < 60; ++i)
            {
                const double mid = 0.5 * (lo + hi);
                (shapeTravel (3, mid) < share ? lo : hi) = mid;
            }
            return 0.5 * (lo + hi);
        }
        default:
            return share;
    }
}

/** The raw values at the two ends of a control's window, lower raw first. */
std::pair<int, int> rawWindow (const OrvoParameterInfo& info, const CustomKnobRange& custom)
{
    const auto [lower, upper] = ValueConversion::limits (info, custom);
    const int a = ValueConversion::displayToRaw (info, lower).value_or (info.rawMin);
    const int b = ValueConversion::displayToRaw (info, upper).value_or (info.rawMax);
    if (custom.minimum || custom.maximum)
        return { std::min (a, b), std::max (a, b) };
    return { info.rawMin, std::max (info.rawMin, info.rawMax) };
}
} // namespace

ValueConversion::Rule ValueConversion::ruleFor (const OrvoParameterInfo& info)
{
    if (tableFor (info) != nullptr)
        return Rule::calibrationTable;
    switch (info.displayFormat)
    {
        case 4:
            return Rule::unipolarPercent;
        case 5:
            return Rule::bipolarPercent;
        case 6:
            return Rule::modulationLevel;
        case 7:
            return Rule::envelopeTimeFormula;
        case 8:
            return Rule::attackLevel;
        case 17:
            return Rule::resonance;
        default:
            break;
    }
    const std::string_view id = info.id;
    if (isEnvelopeTimeRow (info))
        return Rule::envelopeTime;
    if (startsWith (id, "env") && endsWith (id, "level"))
        return Rule::envelopeLevel;
    switch (info.displayFormat)
    {
        case 1:
            return Rule::semitone;
        case 2:
            return Rule::cents;
        case 3:
            return Rule::fine;
        default:
            break;
    }
    if (info.rawMax == info.rawMin)
        return Rule::unchanged;
    return Rule::linear;
}

std::string ValueConversion::formatName (int displayFormat)
{
    static constexpr const char* names[] = { "LINEAR",
                                             "SEMITONE DEAD ZONE",
                                             "OSC CENTS LOWER DISPLAY",
                                             "OSC FINE LOWER DISPLAY",
                                             "ORVO UNIPOLAR PERCENT",
                                             "ORVO BIPOLAR PERCENT",
                                             "ORVO MOD LEVEL",
                                             "ORVO ENVELOPE TIME",
                                             "ENV 3 ATTACK LEVEL",
                                             "TEMPO",
                                             "TEMPO FIT",
                                             "ARP LENGTH",
                                             "UNISON X",
                                             "PORTAMENTO TIME",
                                             "SAMPLE/HOLD RATE",
                                             "LFO RATE",
                                             "FILTER FREQUENCY",
                                             "FILTER RESONANCE" };
    if (displayFormat < 0 || displayFormat >= (int)std::size (names))
        return "UNKNOWN";
    return names[displayFormat];
}

const CalibrationTable* ValueConversion::tableFor (const OrvoParameterInfo& info)
{
    const std::string_view id = info.id;
    if (id == "filter1.frequency")
        return &CalibrationTables::filter1Frequency();
    if (id == "filter2.frequency")
        return &CalibrationTables::filter2Frequency();
    if (id == "performance.tempo")
        return &CalibrationTables::tempo();
    if (id == "performance.arp.localbpm")
        return &CalibrationTables::localBpm();
    if (id == "performance.arp.length")
        return &CalibrationTables::arpLength();
    return nullptr;
}

bool ValueConversion::isEnvelopeTimeRow (const OrvoParameterInfo& info)
{
    const std::string_view id = info.id;
    return startsWith (id, "env") && endsWithAny (id, { ".delaytime", ".attacktime", ".decay1time", ".decay2time",
                                                        ".release1time", ".release2time", ".smoothtime" });
}

bool ValueConversion::showsEnvelopeTime (const OrvoParameterInfo& info)
{
    const auto rule = ruleFor (info);
    return rule == Rule::envelopeTime || rule == Rule::envelopeTimeFormula;
}

bool ValueConversion::showsZeroAsOff (const OrvoParameterInfo& info)
{
    // Only these four envelope stages can be off; a row of the envelope-time format (the LFO delays)
    // reads 0 at the bottom of its range, which the time text shows as its shortest time, 2 ms.
    const auto rule = ruleFor (info);
    return rule == Rule::envelopeTime &&
           endsWithAny (info.id, { ".delaytime", ".decay1time", ".decay2time", ".release1time" });
}

double ValueConversion::rawToDisplay (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom,
                                      std::optional<double> current)
{
    const auto [lower, upper] = limits (info, custom);
    return std::clamp (naturalDisplay (info, raw, current), lower, upper);
}

std::optional<int> ValueConversion::displayToRaw (const OrvoParameterInfo& info, double display,
                                                  const CustomKnobRange& custom)
{
    if (!std::isfinite (display))
        return std::nullopt;
    if (info.rawMax <= info.rawMin)
        return info.rawMin;

    const auto [lower, upper] = limits (info, custom);
    const double target = std::clamp (display, lower, upper);

    if (ruleFor (info) == Rule::semitone)
    {
        const int s = (int)std::lround (std::clamp (target, -60.0, 60.0));
        return std::clamp (semitoneToRaw (s), info.rawMin, info.rawMax);
    }
    return searchRaw (info, target);
}

std::pair<double, double> ValueConversion::limits (const OrvoParameterInfo& info, const CustomKnobRange& custom)
{
    const double lower = lowerOf (info), upper = upperOf (info);
    // A stored window that no longer fits the row (say, from an old document) is ignored, not obeyed.
    const double lo =
        custom.minimum && std::isfinite (*custom.minimum) ? std::clamp (*custom.minimum, lower, upper) : lower;
    const double hi =
        custom.maximum && std::isfinite (*custom.maximum) ? std::clamp (*custom.maximum, lower, upper) : upper;
    if (lo > hi)
        return { lower, upper };
    return { lo, hi };
}

double ValueConversion::knobPositionForRaw (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom)
{
    const auto [first, last] = rawWindow (info, custom);
    if (last <= first)
        return 0.0;
    const double share = std::clamp ((double)(raw - first) / (double)(last - first), 0.0, 1.0);
    return std::clamp (unshapeTravel (custom.curve, share), 0.0, 1.0);
}

int ValueConversion::rawForKnobPosition (const OrvoParameterInfo& info, double position, const CustomKnobRange& custom)
{
    const auto [first, last] = rawWindow (info, custom);
    if (std::isnan (position) || last <= first)
        return first;
    const double share = std::clamp (shapeTravel (custom.curve, std::clamp (position, 0.0, 1.0)), 0.0, 1.0);
    return first + (int)std::lround (share * (last - first));
}

double ValueConversion::roundToStep (double value, double step)
{
    if (!(step > 0.0) || !std::isfinite (value))
        return value;
    const double steps = std::round (value / step);
    // Express the step as an integer count of 10^-k so the result is the nearest double to the
    // decimal the user reads, not 0.1 + 0.2 style noise.
    double scale = 1.0;
    for (int k = 0; k <= 9; ++k, scale *= 10.0)
    {
        const double units = step * scale;
        if (std::abs (units - std::round (units)) < 1e-9 * std::max (1.0, units))
            return steps * std::round (units) / scale;
    }
    return steps * step;
}

int ValueConversion::semitoneFromRaw (int raw)
{
    // A wide dead zone around the centre keeps the knob's middle at exactly no transposition.
    if (raw >= 2024 && raw < 2104)
        return 0;
    const int s = raw < 2024 ? floorDiv (raw - 2024, 32) : floorDiv (raw - 2072, 32);
    return std::clamp (s, -60, 60);
}

int ValueConversion::centsFromRaw (int raw)
{
    if (raw < 440)
        return -100;
    if (raw < 2024)
        return (raw - 440) / 16 - 99;
    if (raw < 2088)
        return 0;
    if (raw >= 3672)
        return 100;
    return (raw - 2088) / 16 + 1;
}

int ValueConversion::fineFromRaw (int raw)
{
    if (raw < 416)
        return -100;
    if (raw < 2000)
        return (raw - 416) / 16 - 99;
    if (raw < 2112)
        return 0;
    if (raw >= 3696)
        return 100;
    return (raw - 2112) / 16 + 1;
}

double ValueConversion::unipolarPercentFromRaw (int raw)
{
    const int r = std::clamp (raw, 0, 4095);
    if (r == 4095)
        return 100.0;
    return std::round (r * 160000.0 / 65535.0) / 100.0;
}

double ValueConversion::bipolarPercentFromRaw (int raw)
{
    const int r = std::clamp (raw, 0, 4095);
    if (r == 4095)
        return 100.0;
    return std::round ((r - 2048) * 320000.0 / 65535.0) / 100.0;
}

double ValueConversion::modulationLevelFromRaw (int raw)
{
    const int r = std::clamp (raw, 0, 4095);
    if (r == 4095)
        return 100.0;
    return std::round ((r - 2048) * 320000.0 / 65534.0) / 100.0;
}

double ValueConversion::attackLevelFromRaw (int raw)
{
    // The instrument reaches full level one step early, at 4094.
    return std::min (std::round (raw * 10000.0 / 4094.0), 10000.0) / 100.0;
}

double ValueConversion::resonanceFromRaw (int raw)
{
    if (raw == 0)
        return 0.0;
    return std::round ((16.0 * raw + 14.0) * 10000.0 / 65536.0) / 100.0;
}

double ValueConversion::envelopeTimeFromRaw (int raw, bool zeroIsOff)
{
    if (zeroIsOff && raw <= 0)
        return 0.0;
    return CalibrationTables::interpolate (CalibrationTables::envelopeTime(), raw, 1.0, 65535.0);
}

int ValueConversion::semitoneToRaw (int semitones)
{
    // Aim at the middle of each 32-wide semitone band so the instrument reads it back unchanged.
    const int s = std::clamp (semitones, -60, 60);
    if (s > 0)
        return 32 * s + 2087;
    if (s < 0)
        return 32 * s + 2039;
    return 2048;
}

int ValueConversion::sixteenBitToRaw (double value)
{
    if (std::isnan (value))
        return 0;
    const double v = std::clamp (value, 0.0, 65535.0);
    return std::clamp ((int)std::lround (v * 4095.0 / 65535.0), 0, 4095);
}

} // namespace orvo
