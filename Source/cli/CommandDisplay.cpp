#include "CliCommand.h"
#include "JsonOut.h"

#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"
#include "model/ValueText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <ostream>

namespace orvo::cli
{
namespace
{
/** A whole number with an optional sign; huge values saturate, since they clamp to the row anyway. */
std::optional<long long> parseWholeNumber (const std::string& text)
{
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix (1);
    if (digits.empty() || !std::all_of (digits.begin(), digits.end(), [] (char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long value = 0;
    const auto result = std::from_chars (digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = LLONG_MAX;
    return negative ? -value : value;
}
} // namespace

int runDisplay (const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
    {
        err << "usage: orvo-cli display ID RAW\n";
        return exitUsage;
    }

    const auto row = ParameterCatalogue::findById (args[0]);
    if (!row)
    {
        err << "unknown parameter id: " << args[0] << "\n";
        return exitBadInput;
    }
    const auto raw = parseWholeNumber (args[1]);
    if (!raw)
    {
        err << "raw value is not a whole number: " << args[1] << "\n";
        return exitBadInput;
    }

    const auto& info = ParameterCatalogue::row (*row);
    const int clamped = (int)std::clamp<long long> (*raw, info.rawMin, info.rawMax);
    out << "{\"id\": " << jsonString (info.id) << ", \"raw\": " << clamped
        << ", \"display\": " << jsonNumber (ValueConversion::rawToDisplay (info, clamped))
        << ", \"text\": " << jsonString (ValueText::displayText (info, clamped)) << "}\n";
    return exitOk;
}

static CommandRegistration
    reg ("display", "display ID RAW", &runDisplay,
         { "Show a raw value as the editor shows it",
           "Prints the value RAW of the parameter ID (such as osc1.semitone) as JSON: the raw value clamped to the "
           "parameter's range, the display value and the text the editor shows. An unknown ID or a RAW that is not "
           "a whole number is refused." });

} // namespace orvo::cli
