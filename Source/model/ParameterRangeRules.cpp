#include "ParameterRangeRules.h"

#include "model/ValueText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>

namespace orvo
{
namespace
{
struct FieldValue
{
    bool valid = true;
    std::optional<double> value; // empty: no custom bound
};

FieldValue readField (std::string_view text)
{
    while (!text.empty() && std::isspace ((unsigned char)text.front()))
        text.remove_prefix (1);
    while (!text.empty() && std::isspace ((unsigned char)text.back()))
        text.remove_suffix (1);
    if (text.empty())
        return {};
    if (text.back() == '%')
        text.remove_suffix (1);
    if (auto number = ValueText::parseNumber (text))
        return { true, number };
    return { false, std::nullopt };
}

/** Enough digits to give back exactly the bound that was stored. */
std::string boundText (double value)
{
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision)
    {
        std::snprintf (buffer, sizeof buffer, "%.*g", precision, value);
        if (std::strtod (buffer, nullptr) == value)
            break;
    }
    return buffer;
}
} // namespace

const std::vector<std::string>& ParameterRangeRules::popupItemIds()
{
    // In the order the popup shows them, top to bottom.
    static const std::vector<std::string> ids = []
    {
        std::vector<std::string> v;
        for (const char* name : { "normalRange", "minimumLabel", "customMinimum", "useCurrentMinimum", "maximumLabel",
                                  "customMaximum", "useCurrentMaximum", "curveLabel", "curve", "useDefaultCurve",
                                  "message", "apply", "clear" })
            v.push_back (std::string (popupLayoutId) + "." + name);
        return v;
    }();
    return ids;
}

const std::vector<std::string>& ParameterRangeRules::curveNames()
{
    static const std::vector<std::string> names{ "LINEAR", "SLOW START", "FAST START", "S-CURVE" };
    return names;
}

bool ParameterRangeRules::acceptsCharacter (char c)
{
    return c != '\0' && std::strchr (acceptedCharacters, c) != nullptr;
}

std::string ParameterRangeRules::acceptedPart (std::string_view text)
{
    std::string kept;
    std::copy_if (text.begin(), text.end(), std::back_inserter (kept), acceptsCharacter);
    return kept;
}

ParameterRangeRules::ApplyResult ParameterRangeRules::apply (const OrvoParameterInfo& info,
                                                             std::string_view minimumText, std::string_view maximumText,
                                                             int curve)
{
    ApplyResult result;
    const auto minField = readField (minimumText);
    if (!minField.valid)
    {
        result.message = invalidMinimumMessage;
        return result;
    }
    const auto maxField = readField (maximumText);
    if (!maxField.valid)
    {
        result.message = invalidMaximumMessage;
        return result;
    }

    // Rows whose display runs downwards (0 to -48) are handled by their lower and upper ends.
    const double lower = std::min (info.displayMin, info.displayMax);
    const double upper = std::max (info.displayMin, info.displayMax);
    const double tol = std::max (std::abs (info.displayMax - info.displayMin) * 0.000000001, 0.0000001);

    auto givenMin = minField.value;
    auto givenMax = maxField.value;
    // A bound typed at the normal end is no narrowing at all.
    if (givenMin && std::abs (*givenMin - lower) <= tol)
        givenMin.reset();
    if (givenMax && std::abs (*givenMax - upper) <= tol)
        givenMax.reset();

    if (!givenMin && !givenMax && curve == 0)
    {
        result.outcome = Outcome::cleared;
        return result;
    }

    if (givenMin && (*givenMin < lower || *givenMin > upper))
    {
        result.message = minimumOutsideMessage;
        return result;
    }
    if (givenMax && (*givenMax < lower || *givenMax > upper))
    {
        result.message = maximumOutsideMessage;
        return result;
    }

    const double lo = givenMin.value_or (lower);
    const double hi = givenMax.value_or (upper);
    if (!(lo < hi))
    {
        result.message = minimumNotBelowMessage;
        return result;
    }

    if (ValueConversion::displayToRaw (info, lo) == ValueConversion::displayToRaw (info, hi))
    {
        result.message = singleValueMessage;
        return result;
    }

    result.outcome = Outcome::stored;
    result.range.minimum = givenMin;
    result.range.maximum = givenMax;
    result.range.curve = curve;
    return result;
}

ParameterRangeRules::ParameterRangeRules (const OrvoParameterInfo& row, const CustomKnobRange& current) : info (row)
{
    if (current.minimum)
        minimum = boundText (*current.minimum);
    if (current.maximum)
        maximum = boundText (*current.maximum);
    setCurve (current.curve);
}

std::string ParameterRangeRules::normalRangeText() const
{
    return "NORMAL RANGE  " + ValueText::formatNumber (info.displayMin, info.decimals) + "  TO  " +
           ValueText::formatNumber (info.displayMax, info.decimals);
}

void ParameterRangeRules::setMinimumText (std::string_view text)
{
    minimum = acceptedPart (text);
}

void ParameterRangeRules::setMaximumText (std::string_view text)
{
    maximum = acceptedPart (text);
}

std::string ParameterRangeRules::currentText (int raw) const
{
    // The parameter's own value, not the one narrowed by the range being edited.
    return ValueText::formatNumber (ValueConversion::rawToDisplay (info, raw), info.decimals);
}

void ParameterRangeRules::useCurrentAsMinimum (int raw)
{
    minimum = currentText (raw);
}

void ParameterRangeRules::useCurrentAsMaximum (int raw)
{
    maximum = currentText (raw);
}

void ParameterRangeRules::setCurve (int newCurve)
{
    curve = newCurve >= 0 && newCurve < (int)curveNames().size() ? newCurve : 0;
}

ParameterRangeRules::ApplyResult ParameterRangeRules::apply()
{
    auto result = apply (info, minimum, maximum, curve);
    lastMessage = result.message;
    return result;
}

ParameterRangeRules::ApplyResult ParameterRangeRules::clear()
{
    minimum.clear();
    maximum.clear();
    curve = 0;
    lastMessage.clear();
    ApplyResult result;
    result.outcome = Outcome::cleared;
    return result;
}

} // namespace orvo
