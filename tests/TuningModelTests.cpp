#include "EngineFixture.h"

#include "engine/SidebarModel.h"
#include "model/EmbeddedResources.h"
#include "model/TuningModel.h"

#include <cmath>

using namespace orvo;

namespace
{
std::uint32_t crc32Of (const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (auto b : bytes)
    {
        crc ^= b;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1u) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

/** Writes a model the way scripts/make-tuning-model.py does, so tests can bend one field at a time. */
struct ModelBytes
{
    std::string magic = "OTUN";
    int version = 1;
    std::uint32_t millihertz = 440000;
    struct Curve
    {
        int input;
        std::vector<std::pair<int, int>> points; // hundredths of a display unit, hundredths of a cent
        int reserved = 0;
    };
    std::vector<Curve> curves{ { 0, { { -6000, -600000 }, { 6000, 600000 } } },
                               { 1, { { -10000, -10000 }, { 10000, 10000 } } },
                               { 2, { { -10000, -1000 }, { 10000, 1000 } } } };
    std::vector<std::uint8_t> trailing;

    std::vector<std::uint8_t> build() const
    {
        std::vector<std::uint8_t> out (magic.begin(), magic.end());
        const auto put = [&out] (std::uint32_t v, int bytes)
        {
            for (int i = 0; i < bytes; ++i)
                out.push_back ((std::uint8_t) (v >> (8 * i)));
        };
        put ((std::uint32_t)version, 2);
        put ((std::uint32_t)curves.size(), 2);
        put (millihertz, 4);
        for (const auto& c : curves)
        {
            put ((std::uint32_t)c.input, 1);
            put ((std::uint32_t)c.reserved, 1);
            put ((std::uint32_t)c.points.size(), 2);
            for (const auto& [display, cents] : c.points)
            {
                put ((std::uint32_t)display, 4);
                put ((std::uint32_t)cents, 4);
            }
        }
        out.insert (out.end(), trailing.begin(), trailing.end());
        put (crc32Of (out), 4);
        return out;
    }
};

std::optional<TuningModel> parse (const std::vector<std::uint8_t>& bytes)
{
    return TuningModel::parse (bytes.data(), bytes.size());
}

std::string osc1Estimate (const TuningModel& model, int semitoneRaw, int centsRaw, int fineRaw)
{
    return TuningModel::estimateText (model.estimateA4ForRaw (1, semitoneRaw, centsRaw, fineRaw));
}
} // namespace

TEST (TuningModel, TheBuiltInModelPutsAPlayedA4WhereTheTuningControlsSay)
{
    const auto* model = TuningModel::embedded();
    ASSERT_NE (model, nullptr);
    EXPECT_DOUBLE_EQ (model->referenceHz(), 440.0);

    struct Case
    {
        int semitone, cents, fine;
        const char* text;
    };
    // Raws inside each control's dead zone, then whole semitones (32s + 2087 above zero, 32s + 2039
    // below), a cent step below, an end, and a mix.
    const Case cases[] = {
        { 2024, 2024, 2000, "Estimated A4: 440.00 Hz" },   { 2471, 2050, 2050, "Estimated A4: 880.00 Hz" },
        { 1655, 2050, 2050, "Estimated A4: 220.00 Hz" },   { 2048, 439, 2050, "Estimated A4: 415.30 Hz" },
        { 4095, 2050, 2050, "Estimated A4: 14080.00 Hz" }, { 2048, 2050, 0, "Estimated A4: 437.47 Hz" },
        { 2104, 2872, 2050, "Estimated A4: 479.82 Hz" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (osc1Estimate (*model, c.semitone, c.cents, c.fine), c.text)
            << c.semitone << " " << c.cents << " " << c.fine;
}

TEST (TuningModel, InterpolatesBetweenBreakpointsAndHoldsTheEnds)
{
    ModelBytes bytes;
    bytes.millihertz = 442000;
    bytes.curves[0].points = { { -6000, -600000 }, { 0, 0 }, { 6000, 603000 } }; // a stretched top half
    const auto model = parse (bytes.build());
    ASSERT_TRUE (model.has_value());
    EXPECT_DOUBLE_EQ (model->referenceHz(), 442.0);
    EXPECT_DOUBLE_EQ (model->offsetCents (TuningModel::semitone, 12), 1206.0);
    EXPECT_DOUBLE_EQ (model->offsetCents (TuningModel::semitone, -12), -1200.0);
    EXPECT_DOUBLE_EQ (model->offsetCents (TuningModel::semitone, 80), 6030.0);
    EXPECT_DOUBLE_EQ (model->offsetCents (TuningModel::fine, -250), -10.0);
    EXPECT_NEAR (model->estimateA4 (0, 0, 0), 442.0, 1e-9);
    EXPECT_NEAR (model->estimateA4 (12, -6, 0), 884.0, 1e-9);
}

TEST (TuningModel, DamagedOrShortModelsGiveNoEstimate)
{
    ASSERT_TRUE (parse (ModelBytes().build()).has_value());

    const auto good = ModelBytes().build();
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE (TuningModel::parse (good.data(), size).has_value()) << "cut to " << size;
    for (size_t i = 0; i < good.size(); ++i)
    {
        auto bent = good;
        bent[i] ^= 0x10;
        EXPECT_FALSE (parse (bent).has_value()) << "byte " << i;
    }
    EXPECT_FALSE (TuningModel::parse (nullptr, 76).has_value());

    // Intact checksums around wrong contents.
    std::vector<ModelBytes> wrong (10);
    wrong[0].magic = "OTUX";
    wrong[1].version = 2;
    wrong[2].curves.pop_back();                           // fine missing
    wrong[3].curves[2].input = 1;                         // cents twice
    wrong[4].curves[1].points = { { 0, 0 }, { 0, 100 } }; // not rising
    wrong[5].curves[1].points = { { 0, 0 } };             // one point
    wrong[6].trailing = { 0 };                            // a stray byte
    wrong[7].millihertz = 0;                              // no reference
    wrong[8].curves[0].input = 7;                         // unknown input
    wrong[9].curves[0].points.assign (65, { 0, 0 });      // too many points
    for (size_t i = 0; i < wrong.size(); ++i)
        EXPECT_FALSE (parse (wrong[i].build()).has_value()) << "case " << i;
}

TEST (TuningModel, TheBuiltInResourceIsTheGeneratorsOutput)
{
    const auto resource = embeddedResource ("TuningModel.bin");
    ASSERT_NE (resource.data, nullptr);
    EXPECT_EQ (std::vector<std::uint8_t> (resource.data, resource.data + resource.size), ModelBytes().build());
    EXPECT_EQ (embeddedResource ("NoSuchFile.bin").data, nullptr);
    EXPECT_EQ (embeddedResource ("NoSuchFile.bin").size, 0u);
}

using TuningDetails = test::EngineFixture;

TEST_F (TuningDetails, ShowTheEstimateOfTheSelectedOscillatorOnItsTuningRowsOnly)
{
    for (const char* id : { "osc1.semitone", "osc1.cents", "osc1.fine", "osc2.semitone", "osc2.cents", "osc2.fine" })
        engine.applyValue (row (id), 2048);
    engine.userEdit (row ("osc2.semitone"), 2471);

    engine.selectRow (row ("osc2.fine"));
    EXPECT_NE (engine.parameterDetailsText().find ("\nEstimated A4: 880.00 Hz"), std::string::npos)
        << engine.parameterDetailsText();
    engine.selectRow (row ("osc1.cents"));
    EXPECT_NE (engine.parameterDetailsText().find ("\nEstimated A4: 440.00 Hz"), std::string::npos);
    engine.selectRow (row ("osc1.square"));
    EXPECT_EQ (engine.parameterDetailsText().find ("Estimated A4"), std::string::npos);

    const auto valueOf = [this] (int r) { return engine.value (r); };
    EXPECT_EQ (SidebarModel::tuningEstimateText (row ("osc2.cents"), valueOf), "Estimated A4: 880.00 Hz");
    EXPECT_EQ (SidebarModel::tuningEstimateText (row ("osc2.cents"), valueOf, nullptr), "") << "no model, no estimate";
    EXPECT_EQ (SidebarModel::tuningEstimateText (row ("performance.tempo"), valueOf), "");
    EXPECT_EQ (SidebarModel::tuningEstimateText (-1, valueOf), "");
}
