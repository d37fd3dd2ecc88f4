#include "EngineFixture.h"
#include "instrument/FactoryPrograms.h"
#include "instrument/VirtualOrvo.h"
#include "shell/MidiConnection.h"
#include "sync/SyncEngine.h"

using namespace orvo;

namespace
{
/** The editor's engine, its MIDI connection and sync, against the Virtual Orvo. */
struct InitialSync : test::EngineFixture
{
    VirtualOrvo instrument;
    VirtualOrvoMidiDevices devices { nullptr, instrument };
    std::unique_ptr<MidiConnection> connection;
    SyncEngine sync { engine };

    void SetUp() override
    {
        engine.setOutput (nullptr);
        sync.attach();
        connection = std::make_unique<MidiConnection> (engine, devices);
        connection->onInitialSync = [this] { sync.startProgramSync(); };
    }
    void TearDown() override { connection.reset(); }

    /** Lets the instrument's thread deliver, then runs the editor's timer. */
    void settle()
    {
        for (int i = 0; i < 10; ++i)
        {
            instrument.flush();
            time.advance (33.0);
            sync.onSyncTick();
            engine.tick();
        }
    }
};
} // namespace

TEST_F (InitialSync, FillsTheEditorWithTheInstrumentsEditBuffer)
{
    prompts.answers = { 0 }; // INITIAL SYNC
    connection->openVirtualOrvo();
    ASSERT_EQ (prompts.shown.size(), 1u);
    settle();

    EXPECT_FALSE (sync.isActive());
    DecodedProgramValues expected;
    std::string diagnostic;
    const auto dump = buildProgramDump (instrument.editBufferProgram(), sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    ASSERT_TRUE (decodeProgramDump (dump, expected, diagnostic));
    int compared = 0;
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        if (expected.defined.test ((size_t) r))
        {
            const auto& info = ParameterCatalogue::row (r);
            EXPECT_EQ (engine.value (r), std::clamp (expected.raw[(size_t) r], info.rawMin, info.rawMax)) << info.id;
            ++compared;
        }
    EXPECT_GT (compared, 150);
    EXPECT_TRUE (logContains ("SYNC: received Program edit buffer; queued mapped OSC/ENV/LFO/S&H UI refresh.\n"));
}

TEST_F (InitialSync, AnEditReadsBackThroughTheNextProgramSync)
{
    prompts.answers = { 1 }; // NOT NOW
    connection->openVirtualOrvo();
    settle();
    const int cutoff = row ("filter1.frequency");
    engine.userEdit (cutoff, 1234);
    settle();
    engine.applyValue (cutoff, 0); // forget it locally, as if the editor had been restarted
    settle();

    sync.startProgramSync();
    settle();
    EXPECT_EQ (engine.value (cutoff), 1234);
}

TEST_F (InitialSync, ASilentInstrumentTimesOut)
{
    VirtualOrvoFaults faults;
    faults.noReply = true;
    instrument.setFaults (faults);
    prompts.answers = { 0 };
    connection->openVirtualOrvo();
    for (int i = 0; i < 400; ++i)
    {
        time.advance (33.0);
        sync.onSyncTick();
    }
    EXPECT_TRUE (logContains ("SYNC: timed out waiting for Orvo Global state. Sync cancelled before requesting Program-bank comparison.\n\n"));
}
