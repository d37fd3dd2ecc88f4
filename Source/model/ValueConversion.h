#pragma once

#include "model/CalibrationTables.h"
#include "model/ParameterCatalogue.h"

#include <optional>
#include <string>
#include <utility>

namespace orvo
{

/** A narrower window of a control's display range chosen in the range popup, with the response
    curve of its knob travel. An empty window means the control covers its whole display range. */
struct CustomKnobRange
{
    std::optional<double> minimum;
    std::optional<double> maximum;
    int curve = 0;

    bool isDefault() const { return !minimum && !maximum && curve == 0; }
    bool operator== (const CustomKnobRange& other) const
    {
        return minimum == other.minimum && maximum == other.maximum && curve == other.curve;
    }
};

/** Raw values to the instrument's own units and back, row by row. Nothing here keeps state. */
class ValueConversion
{
public:
    /** Which conversion a row uses; the first one that fits in this order wins. */
    enum class Rule
    {
        calibrationTable, // by id: filter frequencies, tempo, local BPM, arpeggiator length
        unipolarPercent,
        bipolarPercent,
        modulationLevel,
        envelopeTimeFormula,
        attackLevel,
        resonance,
        envelopeTime,  // envelope stage times, picked out by id
        envelopeLevel, // envelope levels by id that no format formula claimed
        semitone,
        cents,
        fine,
        unchanged, // empty raw range: the control keeps what it shows
        linear
    };

    static Rule ruleFor (const OrvoParameterInfo& info);

    /** The name shown after "MAPPING: " for a display format code. */
    static std::string formatName (int displayFormat);

    /** The calibration table a row is read through by its id, or nullptr. */
    static const CalibrationTable* tableFor (const OrvoParameterInfo& info);

    /** Envelope stage times (delay, attack, decay 1/2, release 1/2, smooth). */
    static bool isEnvelopeTimeRow (const OrvoParameterInfo& info);
    /** Rows whose display value is a time in envelope units and whose text is "ms"/"s". */
    static bool showsEnvelopeTime (const OrvoParameterInfo& info);
    /** Rows where raw 0 switches the stage off rather than meaning the shortest time. */
    static bool showsZeroAsOff (const OrvoParameterInfo& info);

    /** The display value a control shows for `raw`: the row's conversion, step rounding, centre
        snap and the custom window. `current` is what an empty-range control keeps showing. */
    static double rawToDisplay (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom = {},
                                std::optional<double> current = std::nullopt);

    /** The raw value to send for a display value (typed or dragged): the value is brought into the
        control's window, then the raw value whose display is nearest to it is chosen, from the middle
        of the run of raw values that show it. Nothing for a value that is not a number. */
    static std::optional<int> displayToRaw (const OrvoParameterInfo& info, double display,
                                            const CustomKnobRange& custom = {});

    /** The window a control's value is limited to: the custom bounds where they are usable, else
        the display range; always lower <= upper. */
    static std::pair<double, double> limits (const OrvoParameterInfo& info, const CustomKnobRange& custom = {});

    /** Where a knob sits (0..1) for a raw value. The travel runs over the raw values of the control's
        window, so the instrument's own taper (filter tables, envelope times) is kept, and the custom
        window's response curve bends it: 1 starts slowly, 2 starts fast, 3 is slow at both ends. */
    static double knobPositionForRaw (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom = {});

    /** The raw value a knob position (0..1, clamped) selects; the inverse of knobPositionForRaw. */
    static int rawForKnobPosition (const OrvoParameterInfo& info, double position, const CustomKnobRange& custom = {});

    /** round(value / step) x step, landing on the exact decimal of the step where it has one. */
    static double roundToStep (double value, double step);

    // The instrument's fixed formulas; each takes an already clamped raw value.
    static int semitoneFromRaw (int raw);
    static int centsFromRaw (int raw);
    static int fineFromRaw (int raw);
    static double unipolarPercentFromRaw (int raw);
    static double bipolarPercentFromRaw (int raw);
    static double modulationLevelFromRaw (int raw);
    static double attackLevelFromRaw (int raw);
    static double resonanceFromRaw (int raw);
    /** Envelope time units (1 unit = 2 ms); 0 at raw 0 for stages that can be off. */
    static double envelopeTimeFromRaw (int raw, bool zeroIsOff);

    /** The raw value the instrument reads as the whole semitone `semitones` (-60..60). */
    static int semitoneToRaw (int semitones);

    /** A 16-bit value as a 12-bit raw value. */
    static int sixteenBitToRaw (double value);
};

} // namespace orvo
