#include "ValueText.h"

#include "NamedValues.h"

#include "model/ModulationRoutes.h"
#include "model/TextMatching.h"
#include "model/ValueCurveShapes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

namespace orvo
{
using text::trim;
using text::equalsIgnoringCase;
namespace
{
bool removeSuffixIgnoringCase (std::string_view& text, std::string_view suffix)
{
    if (text.size() < suffix.size() || !equalsIgnoringCase (text.substr (text.size() - suffix.size()), suffix))
        return false;
    text.remove_suffix (suffix.size());
    return true;
}

bool isButton (const OrvoParameterInfo& info)
{
    return info.kind == kindToggle || info.kind == kindLatchedButton || info.kind == kindMomentaryButton;
}

bool isFilterFrequency (const OrvoParameterInfo& info)
{
    return info.displayFormat == 16;
}

/** A label typed by name: enum labels, named choices, or ON/OFF on a button. */
std::optional<int> rawForLabel (const OrvoParameterInfo& info, std::string_view text)
{
    if (const auto* choices = NamedValues::forRow (info))
        for (const auto& c : *choices)
            if (equalsIgnoringCase (text, c.name))
                return c.raw;
    if (info.kind == kindEnumButtons)
    {
        for (int i = 0; i < std::clamp (info.labelCount, 0, (int)info.labels.size()); ++i)
            if (equalsIgnoringCase (text, info.labels[(size_t)i].text))
                return info.labels[(size_t)i].value;
    }
    else if (isButton (info))
    {
        if (equalsIgnoringCase (text, "ON"))
            return info.onValue;
        if (equalsIgnoringCase (text, "OFF"))
            return info.offValue;
    }
    return std::nullopt;
}

bool contains (std::string_view text, std::string_view part)
{
    return text.find (part) != std::string_view::npos;
}

bool startsWith (std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && text.compare (0, prefix.size(), prefix) == 0;
}

bool endsWith (std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.compare (text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
bool isInterfaceSwitch (std::string_view label, int nrpn, int rawMin, int rawMax)
{
    const bool switchLabel = (nrpn >= 2610 && nrpn <= 2612) || endsWith (label, " ENABLE") ||
                             contains (label, " ENABLE ") || contains (label, " BYPASS") ||
                             contains (label, " INVERT") || label == "FILTER FEEDBACK" ||
                             label == "VOICE MIX VOICE OUTPUT" || label == "ANALOG DISTORTION MAIN OUTPUT" ||
                             label == "ANALOG DISTORTION DFX1 OUTPUT" || label == "ANALOG DISTORTION DFX2 OUTPUT";
    return rawMax > rawMin && switchLabel;
}

bool isCurveShape (std::string_view label) { return contains (label, "CURVE SHAPE"); }

bool isModulationAmount (std::string_view label)
{
    return contains (label, " MOD ") && (endsWith (label, " LEVEL") || endsWith (label, " OFFSET"));
}

bool isPercentage (std::string_view label, int nrpn)
{
    return nrpn == 3072 || nrpn == 3073 || nrpn == 3331 || nrpn == 3332 || (nrpn >= 3604 && nrpn <= 3631) ||
           startsWith (label, "VOICE MIX LEVEL") || startsWith (label, "VOICE MIX PAN") ||
           startsWith (label, "ANALOG DISTORTION SEND") || startsWith (label, "ANALOG DISTORTION OUTPUT");
}

/** Fraction of the way from rawMin to rawMax; 0 for an empty range. */
double fractionOf (int raw, int rawMin, int rawMax)
{
    return rawMax > rawMin ? (double) (raw - rawMin) / (double) (rawMax - rawMin) : 0.0;
}

struct NamedChoice
{
    const char* name;
    int raw;
};

/** The name of the choice nearest to raw, the lower one on a tie. */
std::string nearestChoice (const std::vector<NamedChoice>& choices, int raw)
{
    const NamedChoice* best = nullptr;
    for (const auto& c : choices)
        if (best == nullptr || std::abs (c.raw - raw) < std::abs (best->raw - raw))
            best = &c;
    return best != nullptr ? best->name : std::string();
}

/** Names spread evenly over the range, the first at rawMin and the last at rawMax. */
std::vector<NamedChoice> spreadOver (std::initializer_list<const char*> names, int rawMin, int rawMax)
{
    std::vector<NamedChoice> choices;
    const int steps = std::max ((int) names.size() - 1, 1);
    int i = 0;
    for (const char* name : names)
        choices.push_back ({ name, rawMin + (int) std::lround ((double) i++ * (rawMax - rawMin) / steps) });
    return choices;
}

/** The choices of the controls whose range text names their ends; none for any other NRPN. */
std::vector<NamedChoice> namedChoices (int nrpn, int rawMin, int rawMax)
{
    switch (nrpn)
    {
        case 913:
            return spreadOver ({ "NEGATIVE", "POSITIVE", "ABSOLUTE NEGATIVE", "ABSOLUTE POSITIVE" }, rawMin, rawMax);
        case 2182:
        case 2227:
            // The source is picked by a small number (1 is white noise), not by a share of the range.
            return { { "OFF", rawMin }, { "WHITE", rawMin + 1 }, { "PINK", rawMin + 2 }, { "RED", rawMin + 3 },
                     { "EXTERNAL", rawMin + 4 } };
        case 2465:
            return spreadOver ({ "OFF", "LOWPASS", "HIGHPASS", "BANDPASS" }, rawMin, rawMax);
        case 3078:
            // The three values the output button sends in turn.
            return { { "MAIN", 1365 }, { "AUX", 2730 }, { "OFF", 4095 } };
        case 3333:
            return spreadOver ({ "EASY", "LIGHT", "HEAVY", "KILLER" }, rawMin, rawMax);
        default:
            return {};
    }
}
} // namespace

std::string ValueText::formatNumber (double value, int decimals)
{
    if (!std::isfinite (value))
        return {};
    const int digits = std::clamp (decimals, 0, 9);
    char buffer[64];
    std::snprintf (buffer, sizeof buffer, "%.*f", digits, value);
    std::string text = buffer;
    // A tiny negative value rounds to "-0.00", which reads as a sign error.
    if (text.front() == '-' && text.find_first_not_of ("-0.") == std::string::npos)
        text.erase (0, 1);
    return text;
}

std::string ValueText::displayText (const OrvoParameterInfo& info, int raw, const CustomKnobRange& custom)
{
    const int r = std::clamp (raw, info.rawMin, std::max (info.rawMin, info.rawMax));
    if (info.kind == kindEnumButtons)
    {
        for (int i = 0; i < std::clamp (info.labelCount, 0, (int)info.labels.size()); ++i)
            if (info.labels[(size_t)i].value == r)
                return info.labels[(size_t)i].text;
    }
    else if (isButton (info))
    {
        return ParameterCatalogue::isSwitchOn (info, r) ? "ON" : "OFF";
    }
    if (const auto* choices = NamedValues::forRow (info))
        return NamedValues::nearest (*choices, r).name;
    return textForDisplayValue (info, ValueConversion::rawToDisplay (info, r, custom));
}

std::string ValueText::textForDisplayValue (const OrvoParameterInfo& info, double display)
{
    if (ValueConversion::showsEnvelopeTime (info))
        return envelopeTimeText (display, ValueConversion::showsZeroAsOff (info));
    if (isFilterFrequency (info))
        return formatNumber (display, info.decimals) + " kHz";
    return formatNumber (display, info.decimals);
}

std::string ValueText::envelopeTimeText (double units, bool zeroIsOff)
{
    if (std::isnan (units))
        return {};
    if (zeroIsOff && units <= 0.0001)
        return "OFF";
    // One table unit is 2 ms.
    const long ms = 2 * std::clamp (std::lround (std::clamp (units, 1.0, 65535.0)), 1L, 65535L);
    if (ms < 1000)
        return std::to_string (ms) + " ms";
    return formatNumber ((double)ms / 1000.0, 2) + " s";
}

std::optional<double> ValueText::parseNumber (std::string_view text)
{
    text = trim (text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
    {
        negative = text.front() == '-';
        text.remove_prefix (1);
    }
    const bool hasDigit =
        std::any_of (text.begin(), text.end(), [] (char c) { return std::isdigit ((unsigned char)c); });
    const bool onlyDigitsAndPoint =
        std::all_of (text.begin(), text.end(), [] (char c) { return std::isdigit ((unsigned char)c) || c == '.'; });
    if (!hasDigit || !onlyDigitsAndPoint || std::count (text.begin(), text.end(), '.') > 1)
        return std::nullopt;

    // from_chars wants a digit before the point; ".5" is a fine thing to type.
    std::string digits (text);
    if (digits.front() == '.')
        digits.insert (digits.begin(), '0');
    double value = 0.0;
    const auto result = std::from_chars (digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || result.ptr != digits.data() + digits.size() || !std::isfinite (value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> ValueText::parseDisplayText (const OrvoParameterInfo& info, std::string_view text)
{
    text = trim (text);
    if (auto raw = rawForLabel (info, text))
        return ValueConversion::rawToDisplay (info, *raw);

    if (ValueConversion::showsEnvelopeTime (info))
    {
        if (equalsIgnoringCase (text, "OFF"))
            return ValueConversion::showsZeroAsOff (info) ? std::optional<double> (0.0) : std::nullopt;
        auto number = text;
        if (removeSuffixIgnoringCase (number, "ms"))
        {
            if (auto ms = parseNumber (number))
                return *ms / 2.0;
            return std::nullopt;
        }
        if (removeSuffixIgnoringCase (number, "s"))
        {
            if (auto seconds = parseNumber (number))
                return *seconds * 500.0;
            return std::nullopt;
        }
    }

    if (!text.empty() && text.back() == '%')
        text.remove_suffix (1);
    if (isFilterFrequency (info) && removeSuffixIgnoringCase (text, "kHz"))
        text = trim (text);
    return parseNumber (text);
}

TypedValue ValueText::rawForTypedText (const OrvoParameterInfo& info, std::string_view text,
                                       const CustomKnobRange& custom)
{
    TypedValue result;
    const auto trimmed = trim (text);
    if (auto labelled = rawForLabel (info, trimmed))
    {
        result.status = TypedValue::Status::ok;
        result.raw = std::clamp (*labelled, info.rawMin, std::max (info.rawMin, info.rawMax));
        result.display = ValueConversion::rawToDisplay (info, result.raw, custom);
        return result;
    }

    const auto value = parseDisplayText (info, trimmed);
    if (!value)
        return result;

    // Accept what the shown text could have rounded away at either end of the window.
    const auto [lower, upper] = ValueConversion::limits (info, custom);
    const double slack =
        std::max (0.5 * std::pow (10.0, -std::clamp (info.decimals, 0, 9)), 0.5 * std::max (info.displayStep, 0.0)) +
        1e-9;
    if (*value < lower - slack || *value > upper + slack)
    {
        result.status = TypedValue::Status::outOfRange;
        return result;
    }

    if (isButton (info))
    {
        // A button has two states; any number other than zero means on.
        result.raw = std::abs (*value) > 0.0001 ? info.onValue : info.offValue;
    }
    else if (auto raw = ValueConversion::displayToRaw (info, *value, custom))
    {
        result.raw = *raw;
    }
    else
    {
        return result;
    }
    result.status = TypedValue::Status::ok;
    result.display = ValueConversion::rawToDisplay (info, result.raw, custom);
    return result;
}

std::string ValueText::interfaceRangeText (std::string_view label, int nrpn, int rawMin, int rawMax,
                                           std::string_view minText, std::string_view maxText)
{
    if (isInterfaceSwitch (label, nrpn, rawMin, rawMax))
        return "OFF TO ON";

    if (isCurveShape (label))
        return "LINEAR TO S-CURVE 2";

    if (isModulationAmount (label))
        return "-100.00 TO 100.00";

    if (isPercentage (label, nrpn))
        return contains (label, "PAN") ? "L 100.0 TO R 100.0" : "0.0 TO 100.0";

    switch (nrpn)
    {
        case 913:
            return "NEGATIVE TO ABSOLUTE POSITIVE";
        case 2182:
        case 2227:
            return "OFF TO EXTERNAL";
        case 2465:
            return "OFF TO BANDPASS";
        case 3078:
            return "MAIN / AUX / OFF";
        case 3333:
            return "EASY / LIGHT / HEAVY / KILLER";
        default:
            break;
    }

    if (minText.empty() || maxText.empty())
        return std::to_string (rawMin) + " TO " + std::to_string (rawMax);
    return std::string (minText) + " TO " + std::string (maxText);
}

std::string ValueText::interfaceValueText (std::string_view label, int nrpn, int raw, int rawMin, int rawMax)
{
    const int r = std::clamp (raw, rawMin, std::max (rawMin, rawMax));

    if (isInterfaceSwitch (label, nrpn, rawMin, rawMax))
        return r > rawMin ? "ON" : "OFF";

    if (isCurveShape (label))
        return ValueCurveShapes::shape (ValueCurveShapes::indexForRaw (r)).name;

    if (isModulationAmount (label))
    {
        // The routing overlay's level form, with this control's range laid over its 0..4095.
        const auto& shape = ModulationRoutes::levelShape();
        const double f = fractionOf (r, rawMin, rawMax);
        return displayText (shape, shape.rawMin + (int) std::lround (f * (shape.rawMax - shape.rawMin)));
    }

    if (isPercentage (label, nrpn))
    {
        const double f = fractionOf (r, rawMin, rawMax);
        if (! interfaceUsesPanDisplay (label, nrpn))
            return formatNumber (f * 100.0, 1);
        // Both raw values either side of an even range's middle read as centre.
        const double pan = f * 200.0 - 100.0;
        const auto amount = formatNumber (std::fabs (pan), 1);
        if (amount == "0.0")
            return "C";
        return (pan < 0.0 ? "L " : "R ") + amount;
    }

    const auto choices = namedChoices (nrpn, rawMin, rawMax);
    if (! choices.empty())
        return nearestChoice (choices, r);

    return std::to_string (r);
}

bool ValueText::interfaceUsesPanDisplay (std::string_view label, int nrpn)
{
    return isPercentage (label, nrpn) && contains (label, "PAN");
}

} // namespace orvo
