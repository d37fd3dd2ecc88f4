#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo
{

/** How an oscillator's tuning controls move its pitch, read from the binary model built into the
    program (Resources/TuningModel.bin, written by scripts/make-tuning-model.py), and the pitch a
    played A4 comes out at from it.

    Format, little-endian:
        0   4  magic "OTUN"
        4   2  version, 1
        6   2  number of curves N, 1..8
        8   4  reference A4 in millihertz, 100 Hz to 2 kHz
        12     N curves: input (1 byte: 0 semitone, 1 cents, 2 fine), reserved (1 byte, 0),
               number of points P (2 bytes, 2..64), then P breakpoints of two signed 32-bit values:
               display value in hundredths (strictly rising) and pitch offset in hundredths of a cent
        end-4  4  CRC-32 (as zlib computes it) of every byte before it
    Each input has exactly one curve. Between breakpoints the offset is interpolated linearly,
    beyond the ends it stays at the end's offset. */
class TuningModel
{
public:
    enum Input
    {
        semitone = 0,
        cents = 1,
        fine = 2
    };
    static constexpr int numInputs = 3;

    /** Anything short, damaged or out of bounds gives nothing. */
    static std::optional<TuningModel> parse (const std::uint8_t* data, std::size_t size);
    /** The built-in model; null when it cannot be read, and then no estimate is shown. */
    static const TuningModel* embedded();

    double referenceHz() const { return reference; }
    /** The pitch offset in cents of one control at a display value. */
    double offsetCents (Input input, double display) const;
    /** The frequency of a played A4 with the oscillator's three tuning controls at these display values. */
    double estimateA4 (double semitones, double centsValue, double fineValue) const;

    /** The oscillator (1 or 2) whose semitone, cents or fine row `row` is; nothing for other rows. */
    static std::optional<int> oscillatorOfRow (int row);
    /** The catalogue rows of an oscillator's semitone, cents and fine controls. */
    static std::array<int, numInputs> rowsOfOscillator (int oscillator);
    /** From the oscillator's raw values, shown through the catalogue's display rules. */
    double estimateA4ForRaw (int oscillator, int semitoneRaw, int centsRaw, int fineRaw) const;

    /** "Estimated A4: 443.21 Hz". */
    static std::string estimateText (double hz);

private:
    struct Point
    {
        double display, cents;
    };
    double reference = 440.0;
    std::array<std::vector<Point>, numInputs> curves;
};

} // namespace orvo
