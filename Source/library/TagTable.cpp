#include "TagTable.h"

#include "AtomicFile.h"
#include "JsonText.h"
#include "LibrarianState.h"

#include <algorithm>

namespace orvo
{

std::string defaultTagTableText()
{
    auto* example = new juce::DynamicObject();
    example->setProperty ("name", "Example Program");
    example->setProperty ("programPayloadSha256", "replace-with-64-character-sha256");
    example->setProperty ("tags", juce::Array<juce::var>{ "bass", "mono" });

    auto* root = new juce::DynamicObject();
    root->setProperty ("schema", "orvo.program-tag-associations.v1");
    root->setProperty ("version", 1);
    root->setProperty ("hashAlgorithm", "sha256");
    root->setProperty ("primaryHashTarget", "unpacked-program-payload");
    root->setProperty ("description", "User-editable table for automatically tagging known Orvo Program SysEx imports. "
                                      "Add records to programs, or replace this file with output from an external "
                                      "tag-table builder.");
    root->setProperty ("programs", juce::Array<juce::var>());
    root->setProperty ("exampleProgram", juce::var (example));

    return toJsonText (juce::var (root)); // JUCE's writer ends its lines with CR LF
}

void ensureDefaultTagTable (const juce::File& file)
{
    if (!file.exists())
        (void)writeFileAtomically (file, defaultTagTableText());
}

std::string normaliseDigestText (const juce::String& text)
{
    auto t = text.trim().toLowerCase();
    if (t.containsChar (':'))
        t = t.fromFirstOccurrenceOf (":", false, false);
    std::string hex;
    for (auto c : t)
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))
            hex.push_back ((char)c);
    return hex.size() == 64 ? hex : std::string();
}

namespace
{
/** The value under the first of `keys` the object has. */
juce::var firstOf (const juce::var& object, std::initializer_list<const char*> keys)
{
    if (auto* o = object.getDynamicObject())
        for (auto* key : keys)
            if (o->hasProperty (key))
                return o->getProperty (key);
    return {};
}

std::string digestOf (const juce::var& record, std::initializer_list<const char*> keys)
{
    auto value = firstOf (record, keys);
    if (value.isVoid())
        value = firstOf (record.getProperty ("hashes", {}), keys);
    return value.isString() ? normaliseDigestText (value.toString()) : std::string();
}

void collectRecords (const juce::var& list, const std::string& defaultSource, TagTable& table)
{
    if (!list.isArray())
        return;
    for (const auto& r : *list.getArray())
    {
        if (!r.isObject())
            continue;
        TagTableRecord record;
        record.name = stdText (firstOf (r, { "name", "programName", "title" }));
        const auto source = firstOf (r, { "source", "bank", "collection" });
        record.source = source.isString() ? stdText (source) : defaultSource;
        record.programPayloadSha256 = digestOf (r, { "programPayloadSha256", "programSha256", "unpackedProgramSha256",
                                                     "unpackedPayloadSha256", "payloadSha256", "sha256", "hash" });
        record.nameNeutralPayloadSha256 = digestOf (r, { "nameNeutralPayloadSha256", "nameNeutralProgramSha256" });
        record.packedPayloadSha256 = digestOf (r, { "packedPayloadSha256", "packedProgramSha256" });
        record.rawSysExSha256 = digestOf (r, { "rawSysExSha256", "rawSysexSha256", "rawSha256", "fileSha256" });
        record.tags = normalizeTagKeys (r.getProperty ("tags", {}));
        table.records.push_back (std::move (record));
    }
}

void collectFromObject (const juce::var& object, const std::string& defaultSource, TagTable& table)
{
    for (auto* key : { "programs", "entries", "records" })
        collectRecords (object.getProperty (key, {}), defaultSource, table);
}
} // namespace

TagTable tagTableFromJson (const juce::var& root)
{
    TagTable table;
    if (root.isArray())
        collectRecords (root, {}, table);
    else if (root.isObject())
    {
        collectFromObject (root, {}, table);
        if (const auto banks = root.getProperty ("banks", {}); banks.isArray())
            for (const auto& bank : *banks.getArray())
                if (bank.isObject())
                    collectFromObject (bank, stdText (firstOf (bank, { "name", "source", "bank" })), table);
    }
    return table;
}

TagTable loadTagTable (const juce::File& file)
{
    std::string error;
    juce::var root;
    if (!file.existsAsFile())
        error = "The tag association table does not exist.";
    else if (file.getSize() == 0)
        error = "The tag association table is empty or could not be read.";
    else if (juce::MemoryBlock bytes; !file.loadFileAsData (bytes))
        error = "The tag association table is empty or could not be read.";
    else if (parseJson (std::string_view ((const char*)bytes.getData(), bytes.getSize()), root).failed())
        error = "The tag association table is not valid JSON.";
    else if (!root.isObject() && !root.isArray())
        error = "The tag association table must be a JSON object or array.";

    if (error.empty())
    {
        auto table = tagTableFromJson (root);
        table.sourceName = file.getFullPathName().toStdString();
        return table;
    }
    (void)parseJson (std::string_view (defaultTagTableText()), root);
    auto table = tagTableFromJson (root);
    table.sourceName = "built-in default tag table";
    table.error = error;
    return table;
}

std::vector<std::string> TagTable::tagsFor (const ProgramDigests& digests) const
{
    const auto gather = [this] (const std::string& digest, std::string TagTableRecord::*key)
    {
        juce::Array<juce::var> all;
        if (!digest.empty())
            for (const auto& r : records)
                if (r.*key == digest)
                    for (const auto& t : r.tags)
                        all.add (juce::String (t));
        return normalizeTagKeys (juce::var (all));
    };
    auto tags = gather (digests.programPayloadSha256, &TagTableRecord::programPayloadSha256);
    if (tags.empty())
        tags = gather (digests.nameNeutralPayloadSha256, &TagTableRecord::nameNeutralPayloadSha256);
    return tags;
}

} // namespace orvo
