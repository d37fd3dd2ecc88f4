#include "HeadlessFixture.h"
#include "effects/WedgePresets.h"

#include <set>
#include <sstream>

using namespace orvo;

namespace
{
// Written out from the preset list, not from the table.
const char* const names =
    "Concert Hall|Medium Hall|Small Hall|Darkness|Bright Hall|Classical|String Hall|Slow Bloom|Warm Hall|Stereo Hall|"
    "Aggro Room|Cedar Room|Marble Room|TightDrumTrk|Bkg Vox Room|Warm Studio|BackWallSlap|Paladium|1st Reflect|"
    "Smooth Drums|Deep Plate|Bright Plate|Long Plate|Slight Plate|VintagePlate|MemphisPlate|MoTown Vocal|Thin Plate|"
    "EeeEmmTee 1|Dark Plate|Cathedral|TitanicDepth|ReflectDrums|Vacuum|Screech Gate|Flashback|LoudNeighbor|"
    "SometimesEko|Bell Swim|Reverse Slap|Kitchen|Tiled Room|Bedroom|Stadium PA|Hall Closet|MediumChurch|HollndTunnel|"
    "Shower Stall|RingyStairwl|Gymnasium|Groovy Echo|Slap Back|AmbientDelay|Lead Vocal|ChorusedDly|Drum Remix|70's Eko|"
    "Wall'O Wedge|3 Against 2|Stereo120bpm|SyrupyChorus|WideStChorus|StompboxChrs|VocalThicken|Fat Fretless|"
    "Slow Sweeper|YerBasicFlng|TrashyFlange|BassFlange|Blues Flange|Rockin' Lez|Largo|Dallas Jam|NuAge Guitar|Anthem|"
    "Circles|TremoWedge|AutoWah|Pinkish|Wide Vibe|Inst/Voice|Drum/Voice|Meat/Potatos|Hrdwd/MedHll|Small/Warm|"
    "Small/Gold|Vocal/Warmth|Drum/Guitar|Tiled/VoxBld|Large/Small|Splash/Slap|Skysong|Parallel|In Orbital|Dark/Deep|"
    "Tight/Shimmr|Tight Funk|Warm/Sweeper|WarmHl/StDly|Brite/DualFl|Large Hall|Medium Hall|TS Room Verb|Room Reverb|"
    "Chamber|Drum Room|Large Plate|Goldfoil|Room+Hall|Room+Plate|Plate+Hall|Reversi|Mono Delay|PingPongDly|"
    "MultiTapDly|TS Delay|Stereo Chorus|Quad Chorus|TS Flange|Quad Pitch|Lezlie|Delay>Room|Chorus>Room|Room>Flange|"
    "Flng>Dly>Rm|Room+Delay|Room+Chorus|Room+Flange|Basilica|Medium Hall|Rimshot Hall|Japan Hall|Acoustic Gtr|"
    "Late Hall|StevieVox|Airy Hall|Vocal Ballad|Small Vocal|Tight Room|Harlem 1949|Gated Toms|Hardwood|Percussion|"
    "Bright Room|GothamStudio|Large Room|CapitalChmbr|StereoAmbnce|Damped Plate|Nashville|Brass Plate|Thin Plate|"
    "Snare Plate|Extra Small|Home Plate|90sDrumSpace|Vocal PreDly|Gtr Presence|Wide Library|Flanged Room|Big Cave|"
    "ReMiX|Springss|Sfortzando!|Glimmer|SubwayTunnel|ArcticEchoes|TapeEko+Room|Big Bathroom|9x9 Woodshed|Scary Space|"
    "The Mall|Empty Hall|Phone Booth|Alley Slap|FlyingSaucer|AutoInterior|Pentathol|Ballad Delay|Tape EkoEko|"
    "KingSighting|WallOfGuitar|Doubler|5.5 SecDelay|Warm Ponger|Dancin'Delay|Ping Shing|Dense Delay|LagoonChorus|"
    "Wide Chorus|RezzoChorus|12 String+3|Real Chorus|TruStrFlange|Spicy Flange|Wide Trigger|Mild Flange|TremoFlange|"
    "Tearjerker|Spinnies|Dreamy|Guitar god|Tight Keys|Slow Funk|Quick Delay|Half Red|TorvellineFX|Tremolo Soon|"
    "Small/Late|Dark/Light|Chamber/Tomb|Tight/Warm|Cellar/Vntge|Little/Late|Cold/Warm|Small/Medium|Damped/Wet|"
    "Tight/Loose|Film Noir|Dancetrance|Ministri|Lovesick|Small/GtrChs|Big&Wrm/Slap|Funk, Baby|60's/Tremolo|Late/Wavy|"
    "Relaxed Room";

const std::vector<std::pair<int, int>> concertHall = { { 3606, 1760 }, { 3609, 416 }, { 3610, 112 }, { 3611, 1280 },
                                                       { 3612, 3720 }, { 3613, 3640 }, { 3614, 1072 }, { 3615, 4000 },
                                                       { 3616, 0 },    { 3618, 768 },  { 3619, 0 },    { 3621, 2400 },
                                                       { 3622, 0 },    { 3624, 0 },    { 3625, 0 },    { 3626, 0 } };

struct Wedge : test::HeadlessFixture
{
    WedgePresetController& wedge = editor->session().wedge();
    void advance (double ms)
    {
        editor->time.advance (ms);
        instrument.flush();
    }
    void fromInstrument (int nrpn, int value)
    {
        for (const auto& cc : buildNrpnMessages (1, nrpn, value))
            engine.handleIncomingMidi (cc.data(), cc.size());
        editor->session().tick();
    }
};
} // namespace

TEST (WedgeTable, HoldsEveryPresetWithExactlyItsAlgorithmsControls)
{
    const auto& table = wedgePresets();
    ASSERT_EQ (table.size(), 228u);
    std::istringstream expected (names);
    std::set<std::pair<int, std::vector<std::pair<int, int>>>> distinct;
    for (const auto& p : table)
    {
        std::string name;
        std::getline (expected, name, '|');
        EXPECT_EQ (p.name, name) << p.number;
        std::vector<int> wanted; // CONFIG outputs and PARAM controls, one per NRPN, SEND and PAN left out
        for (int r : effectRowsOf (p.algorithm))
            if (const int n = (int)effectControlTable()[(size_t)r].nrpn;
                n != 3604 && n != 3605 && std::find (wanted.begin(), wanted.end(), n) == wanted.end())
                wanted.push_back (n);
        std::vector<int> got;
        for (const auto& [nrpn, raw] : p.settings)
        {
            got.push_back (nrpn);
            EXPECT_TRUE (raw >= 0 && raw <= 4095) << p.number << " " << nrpn;
        }
        EXPECT_EQ (got, wanted) << p.number << " " << p.name;
        EXPECT_TRUE (distinct.insert ({ p.algorithm, p.settings }).second) << "repeats: " << p.number;
    }
    EXPECT_EQ (table[0].algorithm, 0);
    EXPECT_EQ (table[0].settings, concertHall);
}

TEST (WedgeTable, MenuHeadingsAndAssignmentNumbers)
{
    const std::vector<std::pair<int, std::string>> headings = {
        { 0, "HALLS" }, { 9, "" }, { 65, "FLANGE" }, { 100, "DEFAULT PROGRAMS" }, { 127, "" },
        { 128, "USER - HALLS" }, { 218, "USER - DUAL-SEND EFFECTS" }, { 228, "" }, { 193, "USER - FLANGE" },
    };
    for (const auto& [n, h] : headings)
        EXPECT_EQ (wedgeMenuHeading (n), h) << n;
    EXPECT_EQ (wedgeMenuHeading (128 + 100), ""); // the user half has no default Programs
    EXPECT_EQ (wedgeMenuItemText (*findWedgePreset (59)), "059 Stereo120bpm");

    const auto object = wedgeAssignmentObject (*findWedgePreset (227));
    EXPECT_EQ (object["schema"].toString(), "orvo.wedge-preset-assignment.v1");
    EXPECT_EQ (object["group"].toString(), "Brevant Wedge");
    EXPECT_EQ (object["name"].toString(), "Relaxed Room");
    const std::vector<std::pair<juce::String, int>> reads = {
        { R"({"program": 227})", 227 }, { R"({"program": 228})", -1 }, { R"({"program": -1})", -1 },
        { R"({"program": "5"})", -1 },  { R"({"wedgePreset": {"program": 12}})", 12 }, { "{}", -1 },
    };
    for (const auto& [json, n] : reads)
        EXPECT_EQ (wedgeAssignmentNumber (juce::JSON::parse (json)), n) << json;
}

TEST_F (Wedge, SendsAtItsPaceAndLeavesTheInstrumentWithThePresetsValues)
{
    editor->connect (false);
    editor->settle();
    wedge.selectPreset (0);
    EXPECT_EQ (wedge.progress().title, "Sending Wedge 000 Concert Hall");
    EXPECT_EQ (WedgePresetController::estimateText (16), "0.2");
    EXPECT_EQ (instrument.effectValue (3603), effectSelectionRawToSend (0));
    // Three pairs at 80 ms and every 18 ms after: 6 ticks for 16 pairs, the last at 170 ms.
    const std::vector<std::tuple<double, int, int>> steps = { { 79, 3606, -1 },  { 1, 3610, 112 },  { 0, 3611, -1 },
                                                              { 89, 3626, -1 }, { 1, 3626, 0 } };
    for (const auto& [ms, nrpn, value] : steps)
    {
        advance (ms);
        EXPECT_EQ (instrument.effectValue (nrpn), value) << nrpn;
    }
    EXPECT_EQ (wedge.progress().text, "Settings sent; opening the Orvo Digital Effects CONFIG screen...");
    advance (17);
    EXPECT_FALSE (logContains ("CONFIG screen via MIDI-edit SysEx"));
    advance (1);
    EXPECT_TRUE (logContains ("WEDGE PRESET: selected Orvo Digital Effects CONFIG screen via MIDI-edit SysEx "
                              "F0 00 00 0E 1D 0E 1C 00 00 00 01 F7\n"));
    EXPECT_TRUE (logContains ("WEDGE PRESET: Concert Hall transfer complete in 188 ms.\n"));
    EXPECT_EQ (wedge.progress().text, "Concert Hall sent to Orvo in 188 ms.");
    EXPECT_EQ (buildMidiEditMessage (sysex::midiEditTargetEffectsConfig, 0, 0, 1),
               (ByteVector{ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x0E, 0x1C, 0x00, 0x00, 0x00, 0x01, 0xF7 }));
    for (const auto& [nrpn, raw] : concertHall)
        EXPECT_EQ (instrument.effectValue (nrpn), raw) << nrpn;
    EXPECT_EQ (wedge.currentAssignment(), 0);
}

TEST_F (Wedge, TheInstrumentsEchoIsDroppedInsideItsWindows)
{
    editor->connect (false);
    editor->settle();
    wedge.selectPreset (0);
    advance (188); // the send is complete: both marks are measured from here
    // (ms later, NRPN, value, taken): a value that is taken clears the assignment, so it is put back after each.
    const std::vector<std::tuple<double, int, int, bool>> cases = {
        { 1199, 3609, 999, false }, { 1, 3609, 416, false }, { 0, 3609, 500, true }, { 0, 3604, 1, false },
        { 3799, 3610, 112, false }, { 1, 3610, 112, true },
    };
    auto& slot = editor->librarian().state().slot (0, 0);
    for (const auto& [ms, nrpn, value, taken] : cases)
    {
        advance (ms);
        fromInstrument (nrpn, value);
        EXPECT_EQ (wedge.currentAssignment() == wedge::noPreset, taken) << nrpn << "=" << value;
        slot.wedgePreset = wedgeAssignmentObject (*findWedgePreset (0));
    }
    EXPECT_EQ (editor->session().effects().page().state().nrpnValue (3609), 500);
    EXPECT_TRUE (logContains ("Cleared current Program's Wedge preset assignment: digital-effect value changed.\n"));
}

TEST_F (Wedge, WithoutAnOutputOnlyTheEditorAndTheAssignmentChange)
{
    wedge.selectPreset (112); // Mono Delay
    EXPECT_EQ (editor->session().effects().page().algorithm(), 12);
    EXPECT_EQ (wedge.currentAssignment(), 112);
    EXPECT_TRUE (logContains ("WEDGE PRESET 112 Mono Delay applied to the editor; MIDI output is not open, so nothing "
                              "was sent to the Orvo.\n"));
    EXPECT_FALSE (wedge.progress().visible);
    EXPECT_EQ (instrument.effectValue (3603), -1);
    // The slot's assignment is what its Program document is saved with.
    const auto& assignment = editor->librarian().state().slot (0, 0).wedgePreset;
    EXPECT_EQ (assignment["program"], juce::var (112));
    EXPECT_EQ (assignment["name"], juce::var ("Mono Delay"));

    wedge.editorSelectedAlgorithm (12); // the same algorithm keeps it
    EXPECT_EQ (wedge.currentAssignment(), 112);
    wedge.editorSelectedAlgorithm (13);
    EXPECT_TRUE (logContains ("Cleared current Program's Wedge preset assignment: digital-effect algorithm changed.\n"));
    wedge.selectPreset (228);
    EXPECT_TRUE (logContains ("WEDGE PRESET 228: captured Orvo settings have not been embedded yet; nothing was sent.\n"));
}

TEST_F (Wedge, ClosingTheOutputMidSendFails)
{
    editor->connect (false);
    editor->settle();
    wedge.selectPreset (0);
    advance (100);
    editor->session().midi().closeAll();
    advance (18);
    EXPECT_EQ (wedge.progress().text, "MIDI output closed before the preset finished.");
    EXPECT_FALSE (wedge.isSending());
}
