#include "CalibrationTables.h"

#include <algorithm>
#include <cmath>

namespace orvo
{
namespace
{
// clang-format off
constexpr CalibrationPoint filter1Points[] {
    { 0, 0.0218 }, { 24, 0.0232 }, { 60, 0.0255 }, { 98, 0.0282 }, { 127, 0.0304 }, { 334, 0.0549 }, { 545, 0.092 },
    { 790, 0.1663 }, { 960, 0.2484 }, { 1066, 0.3204 }, { 1303, 0.5583 }, { 1512, 0.8936 }, { 1732, 1.4323 },
    { 1965, 2.3038 }, { 2076, 2.8451 }, { 2208, 3.6163 }, { 2413, 5.0944 }, { 2526, 6.0606 }, { 2771, 8.6531 },
    { 2971, 11.13 }, { 3261, 15.1637 }, { 3529, 19.189 }, { 3745, 22.3482 }, { 4096, 22.3482 }
};

constexpr CalibrationPoint filter2Points[] {
    { 0, 0.0218 }, { 24, 0.0236 }, { 65, 0.0263 }, { 90, 0.0283 }, { 139, 0.0325 }, { 206, 0.0393 }, { 311, 0.053 },
    { 421, 0.0723 }, { 580, 0.1126 }, { 664, 0.142 }, { 831, 0.224 }, { 1004, 0.356 }, { 1225, 0.6529 },
    { 1430, 1.068 }, { 1671, 1.9936 }, { 1812, 2.6616 }, { 1932, 3.3978 }, { 2045, 4.3971 }, { 2266, 6.7414 },
    { 2398, 8.7709 }, { 2526, 10.6916 }, { 2855, 17.7557 }, { 3016, 22.156 }, { 3358, 32.5941 }, { 3618, 40.8661 },
    { 3745, 44.696 }, { 4095, 44.696 }
};

constexpr CalibrationPoint tempoPoints[] {
    { 0, 0.458 }, { 189, 12.131 }, { 289, 15.666 }, { 423, 18.61 }, { 505, 20.619 }, { 700, 25.316 },
    { 814, 28.222 }, { 949, 31.579 }, { 1015, 33.595 }, { 1118, 36.32 }, { 1275, 40.761 }, { 1387, 44.248 },
    { 1522, 48.86 }, { 1712, 56.285 }, { 1860, 63.291 }, { 2061, 72.639 }, { 2164, 78.74 }, { 2190, 80 },
    { 2264, 85.227 }, { 2445, 98.039 }, { 2469, 100 }, { 2503, 102.74 }, { 2590, 111.111 }, { 2641, 116.279 },
    { 2677, 120 }, { 2826, 138.889 }, { 2905, 150 }, { 3044, 175.439 }, { 3222, 222.222 }, { 3452, 309.278 },
    { 3589, 400 }, { 3625, 441.176 }, { 3654, 500 }, { 4095, 500 }
};

constexpr CalibrationPoint localBpmPoints[] {
    { 0, 0.46 }, { 34, 0.98 }, { 76, 2.22 }, { 159, 4.73 }, { 190, 5.7 }, { 238, 7.23 }, { 288, 8.87 },
    { 353, 11.05 }, { 391, 12.37 }, { 411, 13.07 }, { 459, 14.79 }, { 498, 16.22 }, { 529, 17.38 }, { 625, 21.11 },
    { 694, 23.92 }, { 819, 29.3 }, { 877, 31.95 }, { 963, 36.06 }, { 1045, 40.16 }, { 1109, 43.54 }, { 1198, 48.47 },
    { 1376, 59.29 }, { 1490, 67.11 }, { 1570, 72.99 }, { 1694, 82.87 }, { 1771, 89.29 }, { 1836, 95.24 },
    { 1916, 103.09 }, { 2000, 111.94 }, { 2171, 132.74 }, { 2305, 152.28 }, { 2400, 166.67 }, { 2546, 193.55 },
    { 2718, 232.56 }, { 2931, 297.03 }, { 3096, 365.85 }, { 3209, 428.57 }, { 3297, 483.87 }, { 3371, 545.45 },
    { 3384, 566.04 }, { 3414, 588.24 }, { 3416, 600 }, { 4095, 600 }
};

constexpr CalibrationPoint arpLengthPoints[] {
    { 0, 0 }, { 47, 0 }, { 82, 0.01 }, { 145, 0.02 }, { 256, 0.03 }, { 305, 0.04 }, { 389, 0.05 }, { 424, 0.06 },
    { 480, 0.07 }, { 522, 0.08 }, { 541, 0.09 }, { 589, 0.1 }, { 646, 0.12 }, { 714, 0.14 }, { 764, 0.16 },
    { 834, 0.19 }, { 876, 0.21 }, { 922, 0.23 }, { 993, 0.27 }, { 1067, 0.31 }, { 1142, 0.37 }, { 1281, 0.49 },
    { 1378, 0.6 }, { 1496, 0.76 }, { 1596, 0.93 }, { 1726, 1.2 }, { 1892, 1.65 }, { 2033, 2.16 }, { 2185, 2.88 },
    { 2315, 3.69 }, { 2430, 4.58 }, { 2578, 6.05 }, { 2775, 8.75 }, { 2925, 11.59 }, { 3108, 16.31 }, { 3238, 20.8 },
    { 3479, 32.61 }, { 3581, 39.45 }, { 3791, 68.35 }, { 3900, 71.51 }, { 4069, 97.61 }, { 4074, 98.9 },
    { 4095, 100 }
};

constexpr CalibrationPoint envelopeTimePoints[] {
    { 0, 1 }, { 22, 1 }, { 31, 2 }, { 33, 3 }, { 76, 5 }, { 80, 6 }, { 97, 7 }, { 116, 8 }, { 135, 9 }, { 140, 10 },
    { 159, 11 }, { 160, 12 }, { 182, 13 }, { 186, 15 }, { 209, 16 }, { 240, 19 }, { 289, 24 }, { 321, 27 },
    { 360, 32 }, { 386, 35 }, { 417, 39 }, { 456, 44 }, { 473, 47 }, { 497, 51 }, { 567, 62 }, { 599, 68 },
    { 682, 84 }, { 718, 93 }, { 754, 103 }, { 800, 113 }, { 854, 128 }, { 911, 146 }, { 965, 167 }, { 1047, 198 },
    { 1107, 225 }, { 1228, 290 }, { 1329, 357 }, { 1398, 411 }, { 1456, 462 }, { 1497, 500 }, { 1503, 505 },
    { 1645, 670 }, { 1770, 860 }, { 1933, 1175 }, { 2070, 1520 }, { 2193, 1920 }, { 2330, 2515 }, { 2469, 3265 },
    { 2601, 4140 }, { 2781, 5800 }, { 3013, 8955 }, { 3148, 11520 }, { 3458, 20670 }, { 3607, 27135 },
    { 3729, 34070 }, { 3871, 44395 }, { 3975, 53895 }, { 4041, 61290 }, { 4078, 65295 }, { 4095, 65535 }
};
// clang-format on

template <std::size_t N> constexpr CalibrationTable tableOf (const CalibrationPoint (&points)[N])
{
    return { points, N };
}
} // namespace

namespace CalibrationTables
{
const CalibrationTable& filter1Frequency()
{
    static constexpr CalibrationTable table = tableOf (filter1Points);
    return table;
}

const CalibrationTable& filter2Frequency()
{
    static constexpr CalibrationTable table = tableOf (filter2Points);
    return table;
}

const CalibrationTable& tempo()
{
    static constexpr CalibrationTable table = tableOf (tempoPoints);
    return table;
}

const CalibrationTable& localBpm()
{
    static constexpr CalibrationTable table = tableOf (localBpmPoints);
    return table;
}

const CalibrationTable& arpLength()
{
    static constexpr CalibrationTable table = tableOf (arpLengthPoints);
    return table;
}

const CalibrationTable& envelopeTime()
{
    static constexpr CalibrationTable table = tableOf (envelopeTimePoints);
    return table;
}

double interpolate (const CalibrationTable& table, double x, double boundA, double boundB)
{
    const double lower = std::min (boundA, boundB);
    const double upper = std::max (boundA, boundB);
    if (table.size == 0 || std::isnan (x))
        return lower;

    const auto& first = table.points[0];
    const auto& last = table.points[table.size - 1];
    x = std::clamp (x, (double)first.raw, (double)last.raw);

    double value = last.display;
    if (x <= first.raw)
    {
        value = first.display;
    }
    else
    {
        auto above = std::find_if (table.begin(), table.end(), [x] (const CalibrationPoint& p) { return p.raw >= x; });
        if (above != table.end())
        {
            const auto& below = *(above - 1);
            const double span = (double)above->raw - (double)below.raw;
            // Two points on the same raw value would divide by zero; the earlier one wins.
            value = span < 0.000001 ? below.display
                                    : below.display + (x - below.raw) / span * (above->display - below.display);
        }
    }
    return std::clamp (value, lower, upper);
}
} // namespace CalibrationTables

} // namespace orvo
