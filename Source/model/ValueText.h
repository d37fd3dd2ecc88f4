#pragma once

#include "model/ValueConversion.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvo
{

/** What came of text the user typed into a value box. */
struct TypedValue
{
    enum class Status
    {
        ok,
        notANumber, // nothing readable as a value of this row
        outOfRange  // a number, but outside what the control covers
    };

    Status status = Status::notANumber;
    int raw = 0;          // the raw value to apply; meaningful only when ok
    double display = 0.0; // the display value that raw shows; meaningful only when ok

    bool ok() const { return status == Status::ok; }
};

/** The texts a control shows for its value, and reading typed values back. */
class ValueText
{
public:
    /** value with exactly `decimals` digits after the point; never "-0". */
    static std::string formatNumber (double value, int decimals);

    /** The text beside a control for a raw value: envelope times as "OFF"/" ms"/" s", enum rows by
        label, button rows as "ON"/"OFF", everything else as the display value with the row's decimals. */
    static std::string displayText (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom = {});

    /** The text for a display value of a row that is not a button (for previews while dragging). */
    static std::string textForDisplayValue (const OrvoParameterInfo& info, double display);

    /** An envelope time in table units (1 unit = 2 ms). */
    static std::string envelopeTimeText (double units, bool zeroIsOff);

    /** Reads a plain number: optional sign, digits with at most one point, surrounding spaces.
        Anything else (letters, two points, "1e3", "inf") is not a number. */
    static std::optional<double> parseNumber (std::string_view text);

    /** Reads typed text as a display value of the row. Besides plain numbers it takes a trailing
        "%", "OFF" and " ms"/" s" for envelope times, and label texts of enum and button rows. */
    static std::optional<double> parseDisplayText (const OrvoParameterInfo& info, std::string_view text);

    /** Typed text to the raw value to apply. Values beyond the control's window by more than the
        text's rounding are refused so that a slip of the keyboard does not jump the knob. */
    static TypedValue rawForTypedText (const OrvoParameterInfo& info, std::string_view text,
                                       const CustomKnobRange& custom = {});

    /** The range text of a control without a catalogue row (parameter details). `minText` and
        `maxText` are the control's value texts at its two ends, empty when it has none. */
    static std::string interfaceRangeText (std::string_view label, int nrpn, int rawMin, int rawMax,
                                           std::string_view minText, std::string_view maxText);

    /** The value text of a control without a catalogue row, in the same forms as its range text:
        switches "OFF"/"ON"; curve shapes by name; " MOD ... LEVEL"/" OFFSET" as -100.00..100.00;
        percentages "0.0".."100.0" and pans "L 100.0" .. "C" .. "R 100.0"; the named choices of 913,
        2182/2227, 2465, 3078 and 3333 by name; anything else as the raw number. `raw` is clamped
        to rawMin..rawMax first. */
    static std::string interfaceValueText (std::string_view label, int nrpn, int raw, int rawMin, int rawMax);

    /** Does a control without a catalogue row show its value as a pan position? */
    static bool interfaceUsesPanDisplay (std::string_view label, int nrpn);
};

} // namespace orvo
