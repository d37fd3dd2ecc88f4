#include "TagHashExport.h"

#include "FileNaming.h"
#include "JsonText.h"
#include "ProgramDigests.h"
#include "data/ProgramLayout.h"

#include <algorithm>

namespace orvo
{
namespace
{
bool exportable (const std::string& tag) { return tag != "favorite" && tag != "custom"; }

std::vector<std::string> exportableTags (const std::vector<std::string>& tags)
{
    std::vector<std::string> kept;
    std::copy_if (tags.begin(), tags.end(), std::back_inserter (kept), exportable);
    return kept;
}

juce::var stringArray (const std::vector<std::string>& items)
{
    juce::Array<juce::var> a;
    for (const auto& s : items)
        a.add (juce::String::fromUTF8 (s.c_str()));
    return a;
}
} // namespace

int countExportableTaggedSlots (const LibrarianState& state)
{
    int count = 0;
    for (int bank = 0; bank < 3; ++bank)
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
            count += exportableTags (state.slot (bank, slot).tags).empty() ? 0 : 1;
    return count;
}

std::vector<int> banksWithExportableTags (const LibrarianState& state)
{
    std::vector<int> banks;
    for (int bank = 0; bank < 3; ++bank)
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
            if (! exportableTags (state.slot (bank, slot).tags).empty())
            {
                banks.push_back (bank);
                break;
            }
    return banks;
}

TagHashExport buildTagHashExport (const LibrarianState& state, const ReceivedBanks& received,
                                  const std::string& appVersion, juce::Time createdAt)
{
    TagHashExport result;
    struct Record
    {
        std::string nameNeutral;
        std::vector<std::string> tags;
    };
    std::map<std::string, Record> records; // sorted by the payload digest
    for (int bank = 0; bank < 3; ++bank)
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        {
            const auto tags = exportableTags (state.slot (bank, slot).tags);
            if (tags.empty())
                continue;
            ++result.tagged;
            const auto b = received.find (bank);
            const auto dump = b == received.end() ? nullptr : [&]() -> const ByteVector* {
                const auto s = b->second.find (slot);
                return s == b->second.end() ? nullptr : &s->second;
            }();
            const auto digests = dump != nullptr ? computeProgramDigests (*dump) : ProgramDigests{};
            if (digests.programPayloadSha256.empty())
            {
                ++result.unavailable;
                continue;
            }
            const auto ours = normalizedName (state.names.name (bank, slot));
            const auto theirs = normalizedName (readProgramName (unpackProgramDump (*dump)));
            if (ours.empty() || theirs.empty() || ours != theirs)
            {
                ++result.mismatched;
                continue;
            }
            auto [it, added] = records.try_emplace (digests.programPayloadSha256, Record{ digests.nameNeutralPayloadSha256, {} });
            if (! added)
                ++result.duplicates;
            for (const auto& t : tags)
                it->second.tags.push_back (t);
        }
    result.records = (int)records.size();

    std::vector<std::string> eligible;
    std::copy_if (canonicalTagKeys().begin(), canonicalTagKeys().end(), std::back_inserter (eligible), exportable);
    auto* root = new juce::DynamicObject();
    juce::var doc (root);
    root->setProperty ("schema", "orvo.tag-hash-export.v1");
    root->setProperty ("version", 1);
    root->setProperty ("createdBy", "Orvo Editor");
    root->setProperty ("appVersion", juce::String (appVersion));
    root->setProperty ("createdAt", createdAt.toISO8601 (true));
    root->setProperty ("hashAlgorithm", "sha256");
    root->setProperty ("hashSpecVersion", 1);
    root->setProperty ("primaryHashTarget", "unpacked-program-payload");
    root->setProperty ("secondaryHashTarget", "unpacked-program-payload-name-neutral");
    root->setProperty ("nameNeutralByteRange", "2-17");
    root->setProperty ("nameNeutralReplacement", "ASCII space (0x20)");
    root->setProperty ("eligibleTags", stringArray (eligible));
    root->setProperty ("excludedTags", stringArray ({ "favorite", "custom" }));
    juce::Array<juce::var> list;
    for (const auto& [digest, record] : records)
    {
        // The merged tags of duplicates, each once, in canonical order.
        std::vector<std::string> tags;
        const auto& merged = record.tags; // a lambda may not capture a structured binding before C++20
        std::copy_if (eligible.begin(), eligible.end(), std::back_inserter (tags), [&merged] (const std::string& t) {
            return std::find (merged.begin(), merged.end(), t) != merged.end();
        });
        auto* r = new juce::DynamicObject();
        r->setProperty ("programPayloadSha256", juce::String (digest));
        r->setProperty ("nameNeutralPayloadSha256", juce::String (record.nameNeutral));
        r->setProperty ("tags", stringArray (tags));
        list.add (juce::var (r));
    }
    root->setProperty ("records", list);
    auto* summary = new juce::DynamicObject();
    summary->setProperty ("taggedProgramSlots", result.tagged);
    summary->setProperty ("exportedProgramRecords", result.records);
    summary->setProperty ("duplicateProgramSlots", result.duplicates);
    summary->setProperty ("skippedUnavailable", result.unavailable);
    summary->setProperty ("skippedMismatched", result.mismatched);
    root->setProperty ("summary", juce::var (summary));
    result.text = juce::JSON::toString (doc).replace ("\r\n", "\n").replace ("\n", "\r\n").toStdString();
    return result;
}

std::string tagHashExportMessage (const TagHashExport& r, bool cancelled)
{
    return std::string (cancelled ? "The collection was cancelled, and the available results were saved."
                                  : "The tag hash file was created successfully.")
           + "\n\nExported unique Programs: " + std::to_string (r.records) + "\nDuplicate Program slots merged: "
           + std::to_string (r.duplicates) + "\nSkipped because complete data was unavailable: "
           + std::to_string (r.unavailable) + "\nSkipped because the Program did not match its librarian slot: "
           + std::to_string (r.mismatched)
           + "\n\nPlease attach this file to an e-mail to the Orvo team at the address in the Orvo manual, so its tags "
             "can help other players.";
}

} // namespace orvo
