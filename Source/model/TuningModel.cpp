#include "TuningModel.h"

#include "model/EmbeddedResources.h"
#include "model/ParameterCatalogue.h"
#include "model/ValueConversion.h"
#include "model/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace orvo
{
namespace
{
constexpr int maxCurves = 8;
constexpr std::size_t minPoints = 2, maxPoints = 64;

std::uint32_t crc32 (const std::uint8_t* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/** Reads little-endian fields and refuses to run past the end. */
class Reader
{
public:
    Reader (const std::uint8_t* d, std::size_t n) : data (d), size (n) {}

    bool has (std::size_t n) const { return n <= size - position; }
    std::size_t remaining() const { return size - position; }

    std::uint32_t unsignedValue (int bytes)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= (std::uint32_t)data[position + (std::size_t)i] << (8 * i);
        position += (std::size_t)bytes;
        return v;
    }

    std::int32_t signedValue()
    {
        const auto u = unsignedValue (4);
        std::int32_t v;
        std::memcpy (&v, &u, sizeof v);
        return v;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};
} // namespace

std::optional<TuningModel> TuningModel::parse (const std::uint8_t* data, std::size_t size)
{
    constexpr std::size_t headerSize = 12, checksumSize = 4;
    if (data == nullptr || size < headerSize + checksumSize)
        return std::nullopt;
    const std::size_t bodySize = size - checksumSize;
    Reader checksum (data + bodySize, checksumSize);
    if (checksum.unsignedValue (4) != crc32 (data, bodySize))
        return std::nullopt;

    Reader in (data, bodySize);
    if (std::memcmp (data, "OTUN", 4) != 0)
        return std::nullopt;
    in.unsignedValue (4);
    const auto version = in.unsignedValue (2);
    const auto curveCount = in.unsignedValue (2);
    const auto millihertz = in.unsignedValue (4);
    if (version != 1 || curveCount < 1 || curveCount > maxCurves || millihertz < 100000 || millihertz > 2000000)
        return std::nullopt;

    TuningModel model;
    model.reference = millihertz / 1000.0;
    for (std::uint32_t c = 0; c < curveCount; ++c)
    {
        if (!in.has (4))
            return std::nullopt;
        const auto input = in.unsignedValue (1);
        const auto reserved = in.unsignedValue (1);
        const auto points = (std::size_t)in.unsignedValue (2);
        if (input >= (std::uint32_t)numInputs || reserved != 0 || !model.curves[input].empty() || points < minPoints ||
            points > maxPoints || !in.has (points * 8))
            return std::nullopt;
        auto& curve = model.curves[input];
        for (std::size_t p = 0; p < points; ++p)
        {
            const double display = in.signedValue() / 100.0;
            const double offset = in.signedValue() / 100.0;
            if (!curve.empty() && display <= curve.back().display)
                return std::nullopt;
            curve.push_back ({ display, offset });
        }
    }
    if (in.remaining() != 0)
        return std::nullopt;
    for (const auto& curve : model.curves)
        if (curve.empty())
            return std::nullopt;
    return model;
}

const TuningModel* TuningModel::embedded()
{
    static const std::optional<TuningModel> model = []
    {
        const auto resource = embeddedResource ("TuningModel.bin");
        return parse (resource.data, resource.size);
    }();
    return model ? &*model : nullptr;
}

double TuningModel::offsetCents (Input input, double display) const
{
    const auto& curve = curves[(std::size_t)std::clamp ((int)input, 0, numInputs - 1)];
    if (curve.empty() || !std::isfinite (display))
        return 0.0;
    if (display <= curve.front().display)
        return curve.front().cents;
    for (std::size_t i = 1; i < curve.size(); ++i)
        if (display <= curve[i].display)
        {
            const auto& a = curve[i - 1];
            const auto& b = curve[i];
            return a.cents + (display - a.display) / (b.display - a.display) * (b.cents - a.cents);
        }
    return curve.back().cents;
}

double TuningModel::estimateA4 (double semitones, double centsValue, double fineValue) const
{
    const double offset =
        offsetCents (semitone, semitones) + offsetCents (cents, centsValue) + offsetCents (fine, fineValue);
    return reference * std::pow (2.0, offset / 1200.0);
}

std::optional<int> TuningModel::oscillatorOfRow (int row)
{
    for (int osc = 1; osc <= 2; ++osc)
    {
        const auto rows = rowsOfOscillator (osc);
        if (std::find (rows.begin(), rows.end(), row) != rows.end())
            return osc;
    }
    return std::nullopt;
}

std::array<int, TuningModel::numInputs> TuningModel::rowsOfOscillator (int oscillator)
{
    const std::string prefix = oscillator == 2 ? "osc2." : "osc1.";
    std::array<int, numInputs> rows{};
    const char* names[] = { "semitone", "cents", "fine" };
    for (int i = 0; i < numInputs; ++i)
        rows[(std::size_t)i] = ParameterCatalogue::findById (prefix + names[i]).value_or (-1);
    return rows;
}

double TuningModel::estimateA4ForRaw (int oscillator, int semitoneRaw, int centsRaw, int fineRaw) const
{
    const auto rows = rowsOfOscillator (oscillator);
    const int raws[] = { semitoneRaw, centsRaw, fineRaw };
    double display[numInputs]{};
    for (int i = 0; i < numInputs; ++i)
        if (rows[(std::size_t)i] >= 0)
            display[i] = ValueConversion::rawToDisplay (ParameterCatalogue::row (rows[(std::size_t)i]), raws[i]);
    return estimateA4 (display[0], display[1], display[2]);
}

std::string TuningModel::estimateText (double hz)
{
    return "Estimated A4: " + ValueText::formatNumber (hz, 2) + " Hz";
}

} // namespace orvo
