#include "DocumentTestSupport.h"
#include "LibraryTestSupport.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::testing;

namespace
{
MixPayload samplePayload()
{
    MixPayload p (sysex::mixUnpackedLength);
    for (size_t i = 0; i < p.size(); ++i)
        p[i] = (std::uint8_t) ((i * 37 + 11) & 0xFF);
    p[0] = 0xB6;
    p[1] = 0x0A;
    return p;
}

SlotDocumentContent mixSlot()
{
    SlotDocumentContent c;
    c.bank = 3;
    c.slot = 2;
    c.name = "Stage";
    c.bankLabel = "MIX 1";
    c.parameters = parameterEntriesToVar ({});
    return c;
}

juce::var mixRoot (std::initializer_list<std::pair<const char*, juce::var>> keys)
{
    auto* o = new juce::DynamicObject();
    o->setProperty ("type", "mix");
    for (const auto& [k, v] : keys)
        o->setProperty (k, v);
    return juce::var (o);
}
} // namespace

TEST (MixDocument, KeepsEveryPayloadByteThroughASaveAndLoad)
{
    TemporaryFolder tmp;
    const auto payload = samplePayload();
    CachedMixPayload cached{ payload, 3, 2 };
    ASSERT_TRUE (cached.isValidFor (3, 2));
    EXPECT_FALSE (cached.isValidFor (3, 1));
    EXPECT_FALSE ((CachedMixPayload{ payload, 2, 2 }).isValidFor (2, 2));

    const auto doc = buildMixDocument (mixSlot(), &payload, juce::Time::getCurrentTime());
    auto keys = keysOf (doc);
    EXPECT_EQ (std::vector<std::string> (keys.begin(), keys.begin() + 3),
               (std::vector<std::string>{ "schema", "type", "extension" }));
    EXPECT_EQ (
        std::vector<std::string> (keys.end() - 4, keys.end()),
        (std::vector<std::string>{ "controlPages", "mixPayloadEncoding", "mixPayloadByteLength", "mixPayloadBase64" }));
    EXPECT_EQ (doc["schema"].toString(), "orvo.mix.v1");

    const auto file = tmp / "Mixes/Stage.orvom";
    std::vector<std::string> log;
    ASSERT_TRUE (saveDocumentToFile (file, doc, DocumentKind::mix, [&] (auto l) { log.push_back (l); }));
    EXPECT_EQ (log.back(), "The .orvom file includes the complete 1,024-byte Orvo Mix payload.\n");

    const auto read = readMixDocument (file);
    ASSERT_TRUE (read.ok) << read.failureLine;
    EXPECT_EQ (read.mixPayload, payload);

    RecordingLoadHost host;
    host.bank = 0; // a Program bank is selected: the Mix goes to its own bank
    const auto outcome = loadDocument (file, DocumentKind::mix, host);
    ASSERT_TRUE (outcome.loaded);
    EXPECT_EQ (outcome.bank, 3);
    EXPECT_EQ (host.mixTitles, (std::vector<std::string>{ "LOCAL .ORVOM MIX \xe2\x80\x9cStage\xe2\x80\x9d LOADED" }));
    EXPECT_TRUE (host.clearedSysEx.empty());
    ASSERT_GE (host.lines.size(), 2u);
    EXPECT_EQ (host.lines[host.lines.size() - 2],
               "Loaded Mix file into MIX (USER) 000: " + file.getFullPathName().toStdString() +
                   " (complete Mix payload and editor metadata)\n");
    EXPECT_EQ (host.lines.back(), "The .orvom Mix was loaded locally only; no data was sent to the Orvo.\n");
}

TEST (MixDocument, WithoutPayloadKeysLoadsAsASnapshot)
{
    TemporaryFolder tmp;
    auto slot = mixSlot();
    slot.parameters = parameterEntriesToVar ({ { "known", 5, "P", "S" }, { "unknown", 6, "P", "S" } });
    const auto doc = buildMixDocument (slot, nullptr, juce::Time::getCurrentTime());
    EXPECT_FALSE (doc.hasProperty ("mixPayloadBase64"));
    EXPECT_FALSE (doc.hasProperty ("sysexBase64"));
    const auto file = tmp / "snap.ORVOM";
    std::vector<std::string> log;
    ASSERT_TRUE (saveDocumentToFile (file, doc, DocumentKind::mix, [&] (auto l) { log.push_back (l); }));
    EXPECT_EQ (log.back(), "The .orvom file is an editor snapshot; no current Orvo Mix payload was available.\n");

    RecordingLoadHost host;
    host.bank = 4;
    host.controls = { { "known", 0 } };
    ASSERT_TRUE (loadDocument (file, DocumentKind::mix, host).loaded);
    EXPECT_TRUE (host.mixTitles.empty());
    EXPECT_EQ (host.controls["known"], 5);
    EXPECT_TRUE (juce::String (host.lines.front()).endsWith (" (1 editor parameters)\n"));

    slot.parameters = parameterEntriesToVar ({});
    const auto nameOnly =
        writeText (tmp / "n.orvom", juce::JSON::toString (buildMixDocument (slot, nullptr, {})).toStdString());
    RecordingLoadHost bare;
    bare.bank = 3;
    ASSERT_TRUE (loadDocument (nameOnly, DocumentKind::mix, bare).loaded);
    EXPECT_TRUE (juce::String (bare.lines.front()).endsWith (" (name and tags)\n"));
}

TEST (MixDocument, RefusesEachBadDocumentWithItsReason)
{
    TemporaryFolder tmp;
    const auto payload = samplePayload();
    const auto good = juce::Base64::toBase64 (payload.data(), payload.size());
    auto shortPayload = payload;
    shortPayload.pop_back();
    auto unsigned_ = payload;
    unsigned_[0] = 0xA6;
    const juce::var enc ("orvo-unpacked-8bit-base64");
    struct Case
    {
        const char* label;
        juce::var root;
        std::string reason;
    };
    const std::vector<Case> cases = {
        { "not mix", mixRoot ({ { "type", "Mix" } }), "The selected file is not an Orvo Editor Mix document." },
        { "schema", mixRoot ({ { "schema", "orvo.mix.v2" } }),
          "The selected Mix file uses an unsupported schema: orvo.mix.v2" },
        { "extension", mixRoot ({ { "extension", ".orvop" } }),
          "The selected Mix document does not identify itself as an .orvom file." },
        { "encoding", mixRoot ({ { "mixPayloadBase64", good }, { "mixPayloadByteLength", 1024 } }),
          "The Mix payload uses an unsupported encoding." },
        { "declared 1023",
          mixRoot ({ { "mixPayloadEncoding", enc }, { "mixPayloadByteLength", 1023 }, { "mixPayloadBase64", good } }),
          "The Mix payload has an invalid declared byte length." },
        { "declared missing", mixRoot ({ { "mixPayloadEncoding", enc }, { "mixPayloadBase64", good } }),
          "The Mix payload has an invalid declared byte length." },
        { "base64",
          mixRoot ({ { "mixPayloadEncoding", enc }, { "mixPayloadByteLength", 1024 }, { "mixPayloadBase64", "!!" } }),
          "The Mix payload is not valid Base64 data." },
        { "length",
          mixRoot ({ { "mixPayloadEncoding", enc },
                     { "mixPayloadByteLength", 1024 },
                     { "mixPayloadBase64", juce::Base64::toBase64 (shortPayload.data(), shortPayload.size()) } }),
          "The decoded Mix payload is not 1,024 bytes." },
        { "signature",
          mixRoot ({ { "mixPayloadEncoding", enc },
                     { "mixPayloadByteLength", 1024 },
                     { "mixPayloadBase64", juce::Base64::toBase64 (unsigned_.data(), unsigned_.size()) } }),
          "The decoded Mix payload does not have the expected Orvo signature." },
    };
    for (const auto& c : cases)
    {
        const auto file = writeText (tmp / "bad.orvom", juce::JSON::toString (c.root).toStdString());
        RecordingLoadHost host;
        host.bank = 3;
        EXPECT_FALSE (loadDocument (file, DocumentKind::mix, host).loaded) << c.label;
        EXPECT_EQ (host.calls, 0) << c.label;
        EXPECT_EQ (host.lines, (std::vector<std::string>{ "Could not load Mix file: " + c.reason + " " +
                                                          file.getFullPathName().toStdString() + "\n" }))
            << c.label;
    }
    // Letter case of the extension key does not matter; a corrupt file is not a Mix document.
    const auto upper = writeText (tmp / "u.orvom", "{\"type\":\"mix\",\"extension\":\".ORVOM\"}");
    EXPECT_TRUE (readMixDocument (upper).ok);
    EXPECT_FALSE (readMixDocument (writeText (tmp / "c.orvom", "{\"type\":")).ok);
}
