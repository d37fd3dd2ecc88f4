#include "MixDocument.h"
#include "JsonText.h"

#include "SysExMessageScan.h"

namespace orvo
{

bool CachedMixPayload::isValidFor (int currentBank, int currentSlot) const
{
    return currentBank >= 3 && currentSlot >= 0 && currentSlot <= 127 && bank == currentBank && slot == currentSlot &&
           payload.size() == sysex::mixUnpackedLength && hasMixSignature (payload);
}

juce::var buildMixDocument (const SlotDocumentContent& content, const MixPayload* validPayload, juce::Time capturedAt)
{
    // Same builder as a Program, minus the Program SysEx, so both kinds keep one key order.
    auto root = buildProgramDocument (content, std::nullopt, capturedAt);
    auto* o = root.getDynamicObject();
    o->setProperty ("schema", documentkeys::mixSchema);
    o->setProperty ("type", "mix");
    o->setProperty ("extension", documentkeys::mixExtension);
    if (validPayload != nullptr)
    {
        o->setProperty ("mixPayloadEncoding", documentkeys::mixPayloadEncoding);
        o->setProperty ("mixPayloadByteLength", (int)sysex::mixUnpackedLength);
        o->setProperty ("mixPayloadBase64", juce::Base64::toBase64 (validPayload->data(), validPayload->size()));
    }
    return root;
}

MixPayloadDecode decodeMixPayload (const juce::var& root)
{
    MixPayloadDecode r;
    const auto text = root.getProperty ("mixPayloadBase64", {});
    if (text.isVoid() || (text.isString() && text.toString().isEmpty()))
        return r;
    const auto encoding = root.getProperty ("mixPayloadEncoding", {});
    if (!encoding.isString() || encoding.toString() != documentkeys::mixPayloadEncoding)
    {
        r.error = "The Mix payload uses an unsupported encoding.";
        return r;
    }
    if (documentInt (root.getProperty ("mixPayloadByteLength", {})) != (int)sysex::mixUnpackedLength)
    {
        r.error = "The Mix payload has an invalid declared byte length.";
        return r;
    }
    ByteVector bytes;
    juce::MemoryOutputStream decoded;
    if (!text.isString() || !juce::Base64::convertFromBase64 (decoded, text.toString()))
    {
        r.error = "The Mix payload is not valid Base64 data.";
        return r;
    }
    const auto* data = static_cast<const std::uint8_t*> (decoded.getData());
    bytes.assign (data, data + decoded.getDataSize());
    if (bytes.size() != sysex::mixUnpackedLength)
    {
        r.error = "The decoded Mix payload is not 1,024 bytes.";
        return r;
    }
    if (!hasMixSignature (bytes))
    {
        r.error = "The decoded Mix payload does not have the expected Orvo signature.";
        return r;
    }
    r.payload = std::move (bytes);
    return r;
}

DocumentReadResult readMixDocument (const juce::File& file)
{
    DocumentReadResult r;
    const auto fail = [&] (const std::string& reason)
    {
        r.failureLine = "Could not load Mix file: " + reason + " " + file.getFullPathName().toStdString() + "\n";
        return r;
    };

    juce::var parsed;
    const bool parsedOk = file.existsAsFile() && parseJsonFile (file, parsed).wasOk();
    const auto type = parsed.getProperty ("type", {});
    if (!parsedOk || !parsed.isObject() || !type.isString() || type.toString() != "mix")
        return fail ("The selected file is not an Orvo Editor Mix document.");

    const auto schema = parsed.getProperty ("schema", {}).toString();
    if (schema.isNotEmpty() && schema != documentkeys::mixSchema)
        return fail ("The selected Mix file uses an unsupported schema: " + schema.toStdString());

    const auto extension = parsed.getProperty ("extension", {}).toString();
    if (extension.isNotEmpty() && !extension.equalsIgnoreCase (documentkeys::mixExtension))
        return fail ("The selected Mix document does not identify itself as an .orvom file.");

    auto decoded = decodeMixPayload (parsed);
    if (!decoded.error.empty())
        return fail (decoded.error);

    r.ok = true;
    r.root = parsed;
    r.mixPayload = std::move (decoded.payload);
    return r;
}

} // namespace orvo
