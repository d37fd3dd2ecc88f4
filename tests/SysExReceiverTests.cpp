#include "SysExTestSupport.h"
#include "midi/SysExReceiver.h"

#include <gtest/gtest.h>

#include <random>

using namespace orvo;
using namespace orvo::testing;
using Claim = SysExReceiver::Claim;

namespace
{
/** Global data of `size` bytes, zero but for the bytes given as (offset, value). */
ByteVector global (std::size_t size, std::initializer_list<std::pair<int, int>> bytes)
{
    ByteVector data (size, 0);
    for (const auto& [at, value] : bytes)
        data[(std::size_t)at] = (std::uint8_t)value;
    return data;
}

ByteVector mix (bool signed_)
{
    ByteVector m (1024, 0);
    m[0] = signed_ ? 182 : 0;
    m[1] = 10;
    return m;
}

/** The sync's side of the hooks, as plain fields the tests set. */
struct FakeSync
{
    std::optional<int> bankRequest;
    bool mixPending = false, wantsEditBuffer = false, awaitsEditBuffer = false;
    bool diagnostic = false, monitor = false;
    int responses = 0;

    std::vector<GlobalDumpReport> globals;
    std::vector<std::tuple<int, int, std::size_t>> stored; // bank, program, message size
    std::vector<MixPayload> mixes;
    std::vector<ByteVector> editBuffers;
    std::string log;

    SysExReceiver::Hooks hooks()
    {
        SysExReceiver::Hooks h;
        h.activeBankRequest = [this] { return bankRequest; };
        h.takeMixReadPending = [this] { return std::exchange (mixPending, false); };
        h.wantsProgramEditBuffer = [this] { return wantsEditBuffer; };
        h.syncAwaitsEditBuffer = [this] { return awaitsEditBuffer; };
        h.editBufferResponses = [this] { return responses; };
        h.diagnosticLogOn = [this] { return diagnostic; };
        h.midiInputMonitorOn = [this] { return monitor; };
        h.globalDumpReceived = [this] (const GlobalDumpReport& r) { globals.push_back (r); };
        h.storedProgramReceived = [this] (int bank, int program, const ByteVector& m)
        { stored.emplace_back (bank, program, m.size()); };
        h.mixDumpReceived = [this] (const MixPayload& p) { mixes.push_back (p); };
        h.programEditBufferReceived = [this] (const ByteVector& m) { editBuffers.push_back (m); };
        return h;
    }
};

struct Receiver
{
    FakeSync sync;
    SysExReceiver receiver{ sync.hooks(), [this] (const std::string& line) { sync.log += line; } };
};

} // namespace

//==============================================================================
TEST (SysExReceiverGlobal, TakesInRangeSettingsLogsThemAndHandsOnTheSelection)
{
    Receiver r;
    // Program 5 high byte first, bank 2 low byte first.
    const auto message =
        globalDumpMessage (global (15850, { { 14, 5 }, { 15, 9 }, { 16, 1 }, { 15843, 5 }, { 15844, 2 } }));

    EXPECT_EQ (r.receiver.handleSysEx (message), Claim::globalDump);
    EXPECT_EQ (r.receiver.programChannel(), 9);
    EXPECT_EQ (r.receiver.mixChannel(), 5);
    EXPECT_EQ (r.receiver.bankSelectType(), 1);
    EXPECT_EQ (r.sync.log, "SYNC: received Orvo Global dump raw-bytes=" + std::to_string (message.size()) +
                               " unpacked-bytes=15850\n"
                               "SYNC: Orvo MIDI select settings program-channel=9 mix-channel=5 bank-select-type=1.\n");
    ASSERT_EQ (r.sync.globals.size(), 1u);
    const auto& report = r.sync.globals[0];
    EXPECT_TRUE (report.programSelectionValid);
    EXPECT_EQ (report.fields.lastProgramNumber, 5);
    EXPECT_EQ (report.fields.lastProgramBank, 2);
    EXPECT_EQ (report.fields.lastMixNumber, 0);
    EXPECT_EQ (report.unpackedLength, 15850u);
}

TEST (SysExReceiverGlobal, AShortDumpStillSetsTheChannelsAndReportsTheUnreadableSelection)
{
    Receiver r;
    r.receiver.setSelectSettings (2, 3, 0);
    // The Program channel 0 is out of range, so the old one is kept.
    EXPECT_EQ (r.receiver.handleSysEx (globalDumpMessage (global (20, { { 14, 16 }, { 16, 2 } }))), Claim::globalDump);
    EXPECT_EQ (r.receiver.programChannel(), 2);
    EXPECT_EQ (r.receiver.mixChannel(), 16);
    EXPECT_EQ (r.receiver.bankSelectType(), 2);
    EXPECT_NE (r.sync.log.find ("program-channel=2 mix-channel=16 bank-select-type=2.\n"), std::string::npos);
    EXPECT_NE (r.sync.log.find ("SYNC: could not parse Program bank/program from Orvo Global offsets 15842/15844.\n"),
               std::string::npos);
    ASSERT_EQ (r.sync.globals.size(), 1u);
    EXPECT_FALSE (r.sync.globals[0].programSelectionValid);

    r.sync.log.clear();
    r.receiver.handleSysEx (globalDumpMessage (global (15850, { { 15842, 1 }, { 15843, 1 }, { 15845, 1 } })));
    EXPECT_NE (r.sync.log.find ("could not parse Program bank/program"), std::string::npos);
}

//==============================================================================
TEST (SysExReceiverDispatch, OffersEachMessageToTheHandlersInOrder)
{
    const auto stored = buildProgramDump (programNamed ("", 0x11), 0, 1, 42);
    const auto editBuffer = buildProgramDump (programNamed ("", 0x11), 2, 0x10);
    auto oneShort = stored;
    oneShort.erase (oneShort.end() - 2);

    struct Case
    {
        const char* what;
        ByteVector message;
        std::optional<int> bankRequest;
        bool mixPending, wantsEditBuffer;
        Claim expected;
    };
    const Case cases[] = {
        { "stored dump while its bank is read", stored, 1, false, false, Claim::bankProgramDump },
        { "stored dump of another bank", stored, 0, false, false, Claim::unclaimed },
        { "stored dump one byte short still counts its slot", oneShort, 1, false, false, Claim::bankProgramDump },
        { "slot byte out of range", withByte (stored, 7, 0x80), 1, false, false, Claim::unclaimed },
        { "Mix dump while a Mix read is pending", mixDumpMessage (mix (true)), std::nullopt, true, false,
          Claim::mixDump },
        { "edit buffer when wanted", editBuffer, std::nullopt, false, true, Claim::programEditBuffer },
        { "edit buffer when not wanted", editBuffer, std::nullopt, false, false, Claim::unclaimed },
        { "Global before everything", globalDumpMessage (ByteVector (20, 0)), 1, true, true, Claim::globalDump },
        { "F7-less Global", framed ({ 0x08, 0x01, 0x02 }), std::nullopt, true, true, Claim::unclaimed },
        { "wrong model byte", withByte (editBuffer, 4, 0x1C), std::nullopt, true, true, Claim::unclaimed },
        { "unknown opcode", framed ({ 0x05, 0x00, 0xF7 }), 0, true, true, Claim::unclaimed },
        { "empty", ByteVector{}, 0, true, true, Claim::unclaimed },
    };
    for (const auto& c : cases)
    {
        Receiver r;
        r.sync.bankRequest = c.bankRequest;
        r.sync.mixPending = c.mixPending;
        r.sync.wantsEditBuffer = c.wantsEditBuffer;
        EXPECT_EQ (r.receiver.handleSysEx (c.message), c.expected) << c.what;

        using Stored = std::vector<std::tuple<int, int, std::size_t>>;
        EXPECT_EQ (r.sync.stored,
                   (c.expected == Claim::bankProgramDump ? Stored{ { 1, 42, c.message.size() } } : Stored{}))
            << c.what;
        EXPECT_EQ (r.sync.mixes.size(), c.expected == Claim::mixDump ? 1u : 0u) << c.what;
        EXPECT_EQ (r.sync.editBuffers.size(), c.expected == Claim::programEditBuffer ? 1u : 0u) << c.what;
    }
}

TEST (SysExReceiverDispatch, ClearsTheMixFlagFirstAndHandsOnAFailedMix)
{
    Receiver r;
    r.sync.mixPending = true;
    EXPECT_EQ (r.receiver.handleSysEx (mixDumpMessage (mix (false))), Claim::mixDump);
    EXPECT_FALSE (r.sync.mixPending);
    ASSERT_EQ (r.sync.mixes.size(), 1u);
    EXPECT_TRUE (r.sync.mixes[0].empty()) << "the failure is handed on as an empty payload";

    EXPECT_EQ (r.receiver.handleSysEx (mixDumpMessage (mix (true))), Claim::unclaimed)
        << "a second reply finds nothing pending";

    r.sync.mixPending = true;
    EXPECT_EQ (r.receiver.handleSysEx (mixDumpMessage (mix (true))), Claim::mixDump);
    ASSERT_EQ (r.sync.mixes.size(), 2u);
    EXPECT_EQ (r.sync.mixes[1].size(), 1024u);
}

//==============================================================================
TEST (SysExReceiverLog, DescribesUnclaimedMessagesOnlyWhenAskedTo)
{
    const auto orvo = framed ({ 0x05, 0x10, 0xF7 });
    const ByteVector foreign{ 0xF0, 0x43, 0x10, 0xF7 };
    ByteVector longMessage = framed ({ 0x05 });
    longMessage.resize (29, 0x01);
    longMessage.push_back (0xF7);
    const std::string note = "SYNC: unclassified SysEx logged during sync; edit-buffer progress is only advanced by "
                             "parsed Program edit-buffer dumps.\n";

    struct Case
    {
        const char* what;
        ByteVector message;
        bool diagnostic, monitor, awaits;
        std::string expected;
    };
    const Case cases[] = {
        { "diagnostic log off", orvo, false, true, true, "" },
        { "neither monitor nor sync", orvo, true, false, false, "" },
        { "monitor on", orvo, true, true, false,
          "SYNC: received SysEx bytes=8 Orvo=yes opcode=0x05 sub=0x10 first-bytes=f0 00 00 0e 1d 05 10 f7\n" },
        { "foreign maker", foreign, true, true, false,
          "SYNC: received SysEx bytes=4 Orvo=no first-bytes=f0 43 10 f7\n" },
        { "during sync", orvo, true, false, true,
          "SYNC: received SysEx bytes=8 response=3 Orvo=yes opcode=0x05 sub=0x10 first-bytes=f0 00 00 0e 1d 05 10 "
          "f7\n" +
              note },
        { "long message", longMessage, true, true, false,
          "SYNC: received SysEx bytes=30 Orvo=yes opcode=0x05 sub=0x01 first-bytes=f0 00 00 0e 1d 05 01 01 01 01 01 01 "
          "01 01 01 01 01 01 01 01 01 01 01 01 ...\n" },
    };
    for (const auto& c : cases)
    {
        Receiver r;
        r.sync.diagnostic = c.diagnostic;
        r.sync.monitor = c.monitor;
        r.sync.awaitsEditBuffer = c.awaits;
        r.sync.responses = 3;
        EXPECT_EQ (r.receiver.handleSysEx (c.message), Claim::unclaimed) << c.what;
        EXPECT_EQ (r.sync.log, c.expected) << c.what;
    }

    const ByteVector sixBytes{ 0xF0, 0x00, 0x00, 0x0E, 0x1D, 0x02 };
    EXPECT_EQ (SysExReceiver::unclaimedLine (sixBytes.data(), sixBytes.size(), std::nullopt),
               "SYNC: received SysEx bytes=6 Orvo=yes opcode=0x02 first-bytes=f0 00 00 0e 1d 02\n");
    const ByteVector fiveBytes{ 0xF0, 0x00, 0x00, 0x0E, 0x1D };
    EXPECT_EQ (SysExReceiver::unclaimedLine (fiveBytes.data(), fiveBytes.size(), 0),
               "SYNC: received SysEx bytes=5 response=0 Orvo=no first-bytes=f0 00 00 0e 1d\n");
}

TEST (SysExReceiverLog, SurvivesAReceiverWithoutHooksOrLog)
{
    SysExReceiver bare ({}, nullptr);
    const auto stored = buildProgramDump (programNamed ("", 0x11), 0, 0, 0);
    EXPECT_EQ (bare.handleSysEx (stored), Claim::unclaimed);
    EXPECT_EQ (bare.handleSysEx (globalDumpMessage (ByteVector (20, 1))), Claim::globalDump);
    EXPECT_EQ (bare.handleSysEx (nullptr, 12), Claim::unclaimed);
}

//==============================================================================
TEST (SysExReceiverRobustness, RandomAndMangledMessagesAreNeverClaimedWrongly)
{
    std::mt19937 rng (99);
    const auto stored = buildProgramDump (programNamed ("", 0x11), 0, 0, 3);
    Receiver r;
    r.sync.bankRequest = 0;
    r.sync.wantsEditBuffer = true;
    r.sync.diagnostic = r.sync.monitor = true;

    for (int i = 0; i < 3000; ++i)
    {
        ByteVector m;
        switch (i % 3)
        {
            case 0: // noise of any length
                m.resize (rng() % 64);
                for (auto& b : m)
                    b = (std::uint8_t)rng();
                break;
            case 1: // a real dump cut or padded
                m = stored;
                m.resize (rng() % 2400);
                break;
            default: // a framed message with random opcode and body
                m = framed ({ (int)(rng() % 16) });
                m.resize (6 + rng() % 40, 0x01);
                if (rng() % 2)
                    m.push_back (0xF7);
        }
        r.sync.mixPending = true;
        const auto claim = r.receiver.handleSysEx (m);
        const bool endsF7 = !m.empty() && m.back() == 0xF7;
        if (claim != Claim::unclaimed)
        {
            EXPECT_TRUE (endsF7 && hasOrvoFrame (m.data(), m.size())) << i;
        }
    }
}
