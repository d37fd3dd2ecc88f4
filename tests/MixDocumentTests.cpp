#include "DocumentTestSupport.h"

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
    auto root = jsonObject (keys);
    root.getDynamicObject()->setProperty ("type", "mix");
    return root;
}
} // namespace

TEST (MixDocument, CarriesThePayloadOnlyWhenTheCacheIsTheSlotsAndKeepsEveryByte)
{
    TemporaryFolder tmp;
    const auto payload = samplePayload();
    CachedMixPayload cached{ payload, 3, 2 };
    EXPECT_TRUE (cached.isValidFor (3, 2));
    EXPECT_FALSE (cached.isValidFor (3, 1));
    EXPECT_FALSE ((CachedMixPayload{ payload, 2, 2 }).isValidFor (2, 2)) << "a Program bank holds no Mix";

    const auto doc = buildMixDocument (mixSlot(), &payload, juce::Time::getCurrentTime());
    const auto keys = keysOf (doc);
    EXPECT_EQ (std::vector<std::string> (keys.begin(), keys.begin() + 3), words ("schema type extension"));
    EXPECT_EQ (std::vector<std::string> (keys.end() - 4, keys.end()),
               words ("controlPages mixPayloadEncoding mixPayloadByteLength mixPayloadBase64"));
    EXPECT_EQ (doc["schema"].toString(), "orvo.mix.v1");
    const auto read = readMixDocument (writeText (tmp / "Stage.orvom", juce::JSON::toString (doc).toStdString()));
    ASSERT_TRUE (read.ok) << read.failureLine;
    EXPECT_EQ (read.mixPayload, payload);

    const auto snapshot = buildMixDocument (mixSlot(), nullptr, juce::Time::getCurrentTime());
    EXPECT_FALSE (snapshot.hasProperty ("mixPayloadBase64") || snapshot.hasProperty ("sysexBase64"));
    const auto readSnapshot =
        readMixDocument (writeText (tmp / "Snap.ORVOM", juce::JSON::toString (snapshot).toStdString()));
    EXPECT_TRUE (readSnapshot.ok && readSnapshot.mixPayload.empty());
}

// The Load Mix flow checks the wrong type, extension and declared length; here the other reasons.
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
    const std::vector<std::tuple<const char*, juce::var, std::string>> cases = {
        { "schema", mixRoot ({ { "schema", "orvo.mix.v2" } }),
          "The selected Mix file uses an unsupported schema: orvo.mix.v2" },
        { "encoding", mixRoot ({ { "mixPayloadBase64", good }, { "mixPayloadByteLength", 1024 } }),
          "The Mix payload uses an unsupported encoding." },
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
    for (const auto& [label, root, reason] : cases)
    {
        const auto file = writeText (tmp / "bad.orvom", juce::JSON::toString (root).toStdString());
        RecordingLoadHost host;
        host.bank = 3;
        EXPECT_FALSE (loadDocument (file, DocumentKind::mix, host).loaded) << label;
        EXPECT_EQ (host.calls, 0) << label;
        EXPECT_EQ (host.lines, (std::vector<std::string>{ "Could not load Mix file: " + reason + " " +
                                                          file.getFullPathName().toStdString() + "\n" }))
            << label;
    }
    // Letter case of the extension key does not matter; a corrupt file is not a Mix document.
    const auto upper = writeText (tmp / "u.orvom", "{\"type\":\"mix\",\"extension\":\".ORVOM\"}");
    EXPECT_TRUE (readMixDocument (upper).ok);
    EXPECT_FALSE (readMixDocument (writeText (tmp / "orvom", "{\"type\":")).ok);
}
