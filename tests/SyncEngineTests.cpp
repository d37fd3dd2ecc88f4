#include "EngineFixture.h"
#include "SysExTestSupport.h"
#include "sync/SyncEngine.h"

using namespace orvo;
using namespace orvo::testing;

namespace
{
/** An instrument stand-in that only records the requests; the test delivers each answer itself. */
struct ScriptedOrvo final : MidiOutputConnection
{
    std::vector<ByteVector> requests;
    std::string name() const override { return "Scripted Orvo"; }
    bool send (const std::uint8_t* data, size_t size) override
    {
        if (size > 0 && data[0] == 0xF0)
            requests.emplace_back (data, data + size);
        return true;
    }
};

/** A Global that reports the Program channel and the last selected Program. */
ByteVector globalDump (int programChannel, int bank, int program)
{
    ByteVector global (15850, 0);
    global[14] = 1;
    global[15] = (std::uint8_t)programChannel;
    global[15843] = (std::uint8_t)program;
    global[15844] = (std::uint8_t)bank;
    return globalDumpMessage (global);
}

struct ProgramSync : test::EngineFixture
{
    SyncEngine sync{ engine };
    ScriptedOrvo* orvo = nullptr;

    void SetUp() override
    {
        auto out = std::make_unique<ScriptedOrvo>();
        orvo = out.get();
        engine.setOutput (std::move (out));
        sync.attach();
    }

    void deliver (const ByteVector& m) { engine.handleIncomingMidi (m.data(), m.size()); }

    /** Advances virtual time in timer ticks. */
    void run (double ms)
    {
        for (double t = 0; t < ms; t += 33.0)
        {
            time.advance (33.0);
            engine.tick();
            sync.onSyncTick();
        }
    }

    /** An edit-buffer dump carrying `values` wherever the Program has a place for them. */
    ByteVector editBufferWith (const std::array<int, ParameterCatalogue::numRows>& values)
    {
        auto program = programNamed ("");
        std::bitset<ParameterCatalogue::numRows> all;
        all.set();
        writeProgramValues (program, values, all);
        return buildProgramDump (program, sysex::opProgramEditBuffer, sysex::editBufferSubCode);
    }
};
} // namespace

TEST_F (ProgramSync, SendsModeGlobalAndEditBufferRequestsInOrder)
{
    sync.startProgramSync();
    EXPECT_EQ (orvo->requests, (std::vector<ByteVector>{ framed ({ 0x0D, 0x00, 0xF7 }), framed ({ 0x09, 0x00, 0xF7 }),
                                                         framed ({ 0x03, 0x10, 0xF7 }) }));
    EXPECT_TRUE (sync.overlay().visible);
    EXPECT_EQ (sync.overlay().text, "Waiting for Orvo Global state...");
    EXPECT_TRUE (logContains ("Requested Orvo Program edit buffer: F0 00 00 0E 1D 03 10 F7\n"));
}

// Every decoded value reaching its control is covered end to end against the Virtual Orvo; here the
// stages, the reported selection and the overlay.
TEST_F (ProgramSync, AppliesTheEditBufferToTheControlsWithoutSendingAnything)
{
    std::array<int, ParameterCatalogue::numRows> values{};
    values[(size_t)row ("env1.attacktime")] = 1234;
    int applied = 0;
    sync.onProgramApplied = [&] (const DecodedProgramValues&, const UnpackedProgram& p, const ByteVector& message)
    { applied += p.size() == 2048 && message.size() > 2048; };
    sync.startProgramSync();
    orvo->requests.clear();
    deliver (globalDump (3, 1, 42));
    EXPECT_EQ (sync.stage(), SyncEngine::waitingForEditBuffer);
    deliver (editBufferWith (values));
    run (100);

    EXPECT_EQ (applied, 1);
    EXPECT_EQ (engine.value (row ("env1.attacktime")), 1234);
    EXPECT_TRUE (orvo->requests.empty()) << "nothing is echoed back";
    const auto reported = sync.takeReportedSelection();
    ASSERT_TRUE (reported.has_value());
    EXPECT_EQ (std::make_pair (reported->bank, reported->program), std::make_pair (1, 42));
    EXPECT_FALSE (sync.takeReportedSelection().has_value()) << "a report is taken once";
    EXPECT_TRUE (logContains (
        "SYNC: PROGRAM mode was explicitly selected. Applying active Program bank=1 program=042 to the editor.\n"));
    EXPECT_FALSE (sync.isActive());
    EXPECT_EQ (sync.overlay().text, "Sync complete.");
    time.advance (SyncEngine::overlayCloseDelayMs + 1);
    EXPECT_FALSE (sync.overlay().visible);
}

TEST_F (ProgramSync, AGlobalAfterTheEditBufferLeavesTheSyncCompleteAndStillReportsTheSelection)
{
    sync.startProgramSync();
    std::array<int, ParameterCatalogue::numRows> values{};
    deliver (editBufferWith (values));
    EXPECT_EQ (sync.stage(), SyncEngine::complete);
    deliver (globalDump (1, 0, 5));
    EXPECT_EQ (sync.stage(), SyncEngine::complete);
    EXPECT_EQ (sync.reportedProgram(), 5);
}

TEST_F (ProgramSync, AMissingEditBufferTimesOutAndTheSyncEnds)
{
    sync.startProgramSync();
    deliver (globalDump (1, 0, 0));
    run (12100);
    EXPECT_TRUE (logContains (
        "SYNC: timed out waiting for Orvo Program edit buffer. Continuing without edit-buffer refresh.\n\n"));
    EXPECT_FALSE (sync.isActive());
}

TEST_F (ProgramSync, CancelIgnoresLateReplies)
{
    sync.startProgramSync();
    run (500);
    sync.cancelSync();
    EXPECT_TRUE (logContains ("PROGRAM SYNC: cancelled by user. Late Orvo responses will be ignored.\n\n"));
    EXPECT_FALSE (sync.overlay().visible);

    std::array<int, ParameterCatalogue::numRows> values{};
    values.fill (1);
    deliver (globalDump (1, 2, 9));
    deliver (editBufferWith (values));
    run (100);
    EXPECT_EQ (sync.reportedProgram(), -1);
    EXPECT_EQ (engine.value (row ("osc1.semitone")), 0) << "a late edit buffer changes nothing";
}

TEST_F (ProgramSync, NeedsAnOpenOutput)
{
    engine.setOutput (nullptr);
    sync.startProgramSync();
    EXPECT_FALSE (sync.isActive());
    EXPECT_TRUE (logContains ("No MIDI output is open. Open the Orvo MIDI output first.\n"));
}
