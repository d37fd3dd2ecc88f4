#include "HeadlessFixture.h"
#include "instrument/InstrumentProgram.h"
#include "library/JsonText.h"

#include <gtest/gtest.h>

using namespace orvo;

namespace
{
struct Generator : test::HeadlessFixture
{
    GeneratorController& generator = editor->session().generator();

    void connected()
    {
        editor->connect (false);
        editor->settle (2);
    }
    /** Moves virtual time in 1 ms steps, letting the instrument take what was sent. */
    void advance (int ms)
    {
        for (int i = 0; i < ms; ++i)
        {
            instrument.flush();
            editor->time.advance (1.0);
        }
    }
    int transferTotal() const
    {
        return (int)(generator.latest()->parameterEdits.size() + generator.latest()->interfaceEdits.size());
    }
    size_t count (const std::string& text) const
    {
        size_t n = 0;
        for (auto at = engine.log().text().find (text); at != std::string::npos;
             at = engine.log().text().find (text, at + 1))
            ++n;
        return n;
    }
};
} // namespace

TEST_F (Generator, SendsTheProgramAndTheInstrumentHoldsIt)
{
    connected();
    generator.settings = { 0.5, GeneratorSettings::Voice::either, true, true };
    generator.generate (1'765'000'123'460LL);
    EXPECT_TRUE (logContains ("BASS GENERATOR seed=1765000123460 recipe="));
    EXPECT_TRUE (logContains ("BASS GENERATOR guardrails:\n"));
    ASSERT_FALSE (generator.latest()->guardrailNotes.empty());
    for (const auto& note : generator.latest()->guardrailNotes)
        EXPECT_TRUE (logContains ("\n" + note + "\n")) << note;
    EXPECT_TRUE (logContains ("BASS GENERATOR complete: applied " + std::to_string (transferTotal()) +
                              " NRPN values to the editor. Queued "));
    advance (3000);
    EXPECT_EQ (generator.status(), "BASS ready to play.");
    EXPECT_TRUE (logContains ("BASS GENERATOR transfer complete: sent " + std::to_string (transferTotal()) +
                              " NRPN values. Ready to play.\n\n"));

    // What the Program keeps of each value: exact places hold it as generated, lossy ones as a store and
    // read of it gives back.
    const auto decoded = decodeUnpackedProgram (instrument.editBufferProgram());
    ProgramValues generated{};
    ProgramRows rows;
    for (const auto& edit : generator.latest()->parameterEdits)
        generated[(size_t)edit.row] = edit.raw, rows.set ((size_t)edit.row);
    auto blank = instrumentprogram::blank();
    const auto stored = instrumentprogram::storeValues (blank, generated, rows);
    const auto readBack = instrumentprogram::readValues (blank, generated);
    std::map<int, bool> exact;
    for (const auto& field : programFields())
        if (field.row >= 0 && !exact.count (field.row))
            exact[field.row] = fieldDomain (field).exact;
    std::vector<int> readBackRows;
    for (const auto& edit : generator.latest()->parameterEdits)
        if (stored.test ((size_t)edit.row))
        {
            EXPECT_EQ (decoded.raw[(size_t)edit.row], exact[edit.row] ? edit.raw : readBack[(size_t)edit.row])
                << edit.parameterId;
            readBackRows.push_back (edit.row);
        }
    EXPECT_GT (readBackRows.size(), 80u);
    // Read back over MIDI, the editor shows what the instrument holds.
    editor->session().sync().startProgramSync();
    editor->settle();
    ASSERT_TRUE (logContains ("SYNC: received Program edit buffer"));
    for (int row : readBackRows)
        EXPECT_EQ (engine.value (row), decoded.raw[(size_t)row]) << ParameterCatalogue::row (row).id;
}

TEST_F (Generator, PacesFourValuesEveryEighteenMillisecondsThenFinalizes)
{
    connected();
    generator.generate (77);
    const int total = transferTotal(), ticks = (total + 3) / 4;
    const int lastTick = GeneratorController::firstSendDelayMs + 18 * (ticks - 1);
    advance (24);
    EXPECT_EQ (generator.status(), "BASS sending NRPNs 0/" + std::to_string (total) + "...");
    advance (1);
    EXPECT_EQ (generator.status(), "BASS sending NRPNs 4/" + std::to_string (total) + "...");
    EXPECT_DOUBLE_EQ (*generator.progress(), 4.0 / total);
    advance (lastTick - 25 - 1);
    EXPECT_NE (generator.status(), "BASS finalizing...");
    advance (1);
    EXPECT_EQ (generator.status(), "BASS finalizing...");
    advance (139);
    EXPECT_EQ (generator.status(), "BASS finalizing...");
    advance (1);
    EXPECT_EQ (generator.status(), "BASS ready to play.");
}

TEST_F (Generator, ANewGenerationReplacesTheQueueAndAClosedOutputStopsIt)
{
    connected();
    generator.generate (1);
    advance (100);
    generator.generate (2);
    advance (3000);
    EXPECT_EQ (count ("GENERATOR transfer complete"), 1u);

    generator.generate (3);
    advance (25 + 18);
    engine.setOutput (nullptr);
    advance (18);
    EXPECT_EQ (generator.status(), "BASS transfer stopped; MIDI output closed with " +
                                       std::to_string (transferTotal() - 8) + " NRPNs remaining.");
    EXPECT_TRUE (logContains ("PROGRAM GENERATOR: transfer stopped because MIDI output closed.\n\n"));
    generator.generate (4);
    EXPECT_EQ (generator.status(), "BASS applied to the editor; MIDI output is not open.");
    EXPECT_TRUE (logContains (" MIDI output is not open; UI values will be applied but NRPNs will not be sent.\n"));
}

TEST_F (Generator, RatingsWriteAFeedbackRecordWithItsKeysInOrder)
{
    generator.rate (GeneratorController::Rating::safe);
    EXPECT_EQ (generator.status(), "Generate a Program first, then rate it.");
    generator.generate (5);
    const std::pair<GeneratorController::Rating, const char*> cases[] = {
        { GeneratorController::Rating::safe, "SAFE." },
        { GeneratorController::Rating::experimental, "EXPERIMENTAL." },
        { GeneratorController::Rating::bad, "BAD - NOT BASS" }
    };
    for (auto [rating, status] : cases)
    {
        generator.rate (rating, GeneratorController::BadReason::notBass);
        EXPECT_EQ (generator.status(), status);
    }
    const auto folder = editor->librarian().library().generatorIntakeFolder().getChildFile ("GenerationFeedback/Bass");
    const auto files = folder.findChildFiles (juce::File::findFiles, false, "*.json");
    ASSERT_EQ (files.size(), 3);
    const auto first = folder.getChildFile (juce::String (generator.latest()->generationId) + ".json");
    juce::var record;
    ASSERT_TRUE (parseJsonFile (first, record).wasOk());
    auto* o = record.getDynamicObject();
    ASSERT_NE (o, nullptr);
    const char* keys[] = { "schema",
                           "feedbackSavedAt",
                           "category",
                           "categoryLabel",
                           "rating",
                           "badReason",
                           "badReasonLabel",
                           "generationId",
                           "generatedAt",
                           "seed",
                           "recipeId",
                           "recipeDescription",
                           "appProgramName",
                           "appBank",
                           "appBankNumber",
                           "appProgram",
                           "channel",
                           "unisonVoices",
                           "voiceModePreference",
                           "voiceModeUsed",
                           "experimentalAmount",
                           "experimentalEdgeAuditionMode",
                           "preFilterTotal",
                           "postFilterTotal",
                           "parameterEditCount",
                           "interfaceEditCount",
                           "sendableNrpnCount",
                           "skippedCount",
                           "analogDistortionAvailable",
                           "analogDistortionUsed",
                           "analogDistortionType",
                           "digitalEffectsAvailable",
                           "digitalEffectsUsed",
                           "digitalEffectName",
                           "guardrailNotes",
                           "generatedParameterEdits",
                           "generatedInterfaceEdits" };
    ASSERT_EQ (o->getProperties().size(), (int)std::size (keys));
    for (int i = 0; i < (int)std::size (keys); ++i)
        EXPECT_EQ (o->getProperties().getName (i).toString(), keys[i]);
    EXPECT_EQ (record["schema"].toString(), "orvo.generator-feedback.v2");
    EXPECT_EQ (record["rating"].toString(), "safe");
    EXPECT_EQ (record["generatedParameterEdits"].size(), (int)generator.latest()->parameterEdits.size());
    EXPECT_TRUE (logContains ("BASS FEEDBACK: saved bad for " + generator.latest()->recipeId + " seed=5\n"));
}

TEST_F (Generator, FeedbackFailuresSayWhatFailed)
{
    const auto blocker = editor->folder().getChildFile ("not-a-folder");
    ASSERT_TRUE (blocker.replaceWithText ("x"));
    GeneratorController::Hooks hooks;
    hooks.feedbackFolder = [blocker] { return blocker; };
    GeneratorController own (engine, editor->session().effects(), hooks);
    own.generate (6);
    own.rate (GeneratorController::Rating::safe);
    EXPECT_EQ (own.status(), "Could not create the feedback folder.");
    EXPECT_TRUE (logContains ("BASS FEEDBACK: could not create " + blocker.getFullPathName().toStdString() + "\n"));
}
