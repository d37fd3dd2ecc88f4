#include "HeadlessFixture.h"
#include "instrument/InstrumentProgram.h"
#include "model/ValueConversion.h"
#include "model/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace orvo;

// What the player sees once the instrument has spoken: after it confirms an edit, and after a sync.
namespace
{
struct Fidelity : test::HeadlessFixture
{
    std::string shown (int row) { return ValueText::displayText (ParameterCatalogue::row (row), engine.value (row)); }
};

int word (const UnpackedProgram& p, int at)
{
    return (p[(size_t)at] << 8) | p[(size_t)at + 1];
}
int signedByte (const UnpackedProgram& p, int at)
{
    return (int)(std::int8_t)p[(size_t)at];
}
} // namespace

TEST_F (Fidelity, EverySwitchAndChoiceShowsWhatWasSentOnceTheInstrumentConfirmsIt)
{
    editor->connect (false);
    editor->settle (2);
    int checked = 0;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        if (info.nrpn < 0)
            continue;
        std::vector<std::pair<int, std::string>> states; // what is sent, what the control must show
        if (info.kind == kindToggle || info.kind == kindLatchedButton)
            states = { { info.onValue, "ON" }, { info.offValue, "OFF" }, { info.onValue, "ON" } };
        else if (info.kind == kindEnumButtons)
            for (int i = 0; i < info.labelCount; ++i)
                states.emplace_back (info.labels[(size_t)i].value, info.labels[(size_t)i].text);
        for (const auto& [raw, text] : states)
        {
            engine.userEdit (r, raw);
            editor->settle (2); // the instrument's echo arrives and is applied
            EXPECT_EQ (engine.value (r), raw) << info.id;
            EXPECT_EQ (shown (r), text) << info.id;
            EXPECT_EQ (instrument.editBufferValue (r), raw) << info.id;
            ++checked;
        }
    }
    EXPECT_GE (checked, 60);
}

TEST_F (Fidelity, EveryFactoryProgramShowsWhatTheInstrumentStores)
{
    // How the instrument itself reads the fields it stores as the number it shows.
    using Reader = std::function<int (const UnpackedProgram&)>;
    const std::pair<const char*, Reader> storedAsShown[] = {
        { "performance.detune", [] (const UnpackedProgram& p) { return (int)p[1942]; } },
        { "performance.unisonx", [] (const UnpackedProgram& p) { return (int)p[1941]; } },
        { "performance.monovox", [] (const UnpackedProgram& p) { return (p[1939] & 15) + 1; } },
        { "performance.arp.octave", [] (const UnpackedProgram& p) { return signedByte (p, 1755); } },
        { "performance.arp.progressor", [] (const UnpackedProgram& p) { return signedByte (p, 1751); } },
        { "performance.portamento.offset", [] (const UnpackedProgram& p) { return signedByte (p, 1785); } },
        { "osc2.sync", [] (const UnpackedProgram& p) { return p[114] & 3; } },
        { "osc.nzext.source", [] (const UnpackedProgram& p) { return p[111] & 3; } },
        { "filter1.keytrack",
          [] (const UnpackedProgram& p) { return (int)std::lround ((std::int16_t)word (p, 1796) * 100.0 / 32768.0); } },
    };
    const char* flagRoutes[] = { "FILTER 1 MOD 1", "FILTER 1 MOD 2", "FILTER 1 MOD 3",
                                 "FILTER 2 MOD 1", "FILTER 2 MOD 2", "FILTER 2 MOD 3" };

    editor->connect (false);
    int programs = 0;
    for (int bank = 0; bank < 3; ++bank)
        for (int slot = 0; slot < 128; ++slot)
        {
            instrument.selectOnPanel (bank, slot);
            editor->session().sync().startProgramSync();
            editor->settle (3);
            const auto program = instrument.editBufferProgram();
            const auto where = std::to_string (bank) + "/" + std::to_string (slot);
            ASSERT_EQ (engine.selectedBank(), bank) << where;
            ASSERT_EQ (engine.selectedProgram(), slot) << where;

            ProgramRows stored;
            instrumentprogram::readValues (program, {}, &stored);
            for (int r = 0; r < ParameterCatalogue::numRows; ++r)
            {
                if (!stored[(size_t)r])
                    continue; // no place in the Program: the editor keeps its own value
                ASSERT_EQ (shown (r),
                           ValueText::displayText (ParameterCatalogue::row (r), instrument.editBufferValue (r)))
                    << ParameterCatalogue::row (r).id << " in " << where;
            }
            for (const auto& [id, read] : storedAsShown)
            {
                const int r = *ParameterCatalogue::findById (id);
                ASSERT_EQ (std::lround (ValueConversion::rawToDisplay (ParameterCatalogue::row (r), engine.value (r))),
                           read (program))
                    << id << " in " << where;
            }

            const auto& routes = engine.modulation();
            for (int i = 0; i < 6; ++i)
                ASSERT_EQ (routes.value (*ModulationRoutes::indexOf (flagRoutes[i]), ModulationField::enable),
                           (program[(size_t)(333 + 16 * i)] & 3) == 0 ? 1 : 0)
                    << flagRoutes[i] << " in " << where;
            for (int n = 0; n < 3; ++n)
            {
                const int b = 1116 + 52 * n,
                          route = *ModulationRoutes::indexOf ("LFO " + std::to_string (n + 1) + " MOD");
                ASSERT_EQ (routes.value (route, ModulationField::enable), program[(size_t)(b + 37)] != 0 ? 1 : 0)
                    << where;
                const double level = ValueConversion::rawToDisplay (ModulationRoutes::levelShape(),
                                                                    *routes.value (route, ModulationField::level));
                ASSERT_NEAR (level, (std::int16_t)word (program, b + 24) * 100.0 / 32768.0, 0.1)
                    << where; // two raw steps
            }
            ++programs;
        }
    EXPECT_EQ (programs, 384);
}
