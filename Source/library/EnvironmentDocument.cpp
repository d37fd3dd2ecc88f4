#include "EnvironmentDocument.h"

#include "JsonStreamWriter.h"
#include "JsonText.h"

namespace orvo
{

juce::var buildEnvironmentDocument (const LibrarianState& state)
{
    auto* o = new juce::DynamicObject();
    juce::var doc (o);
    o->setProperty ("format", "OrvoExchange");
    o->setProperty ("extension", ".orvox");
    o->setProperty ("version", 1);
    o->setProperty ("name", "Orvo Editor Factory Default");
    o->setProperty ("description", "Factory default Orvo editor environment with starter patch tags.");
    o->setProperty ("createdBy", "Orvo Editor");
    o->setProperty ("programFileExtension", ".orvop");
    o->setProperty ("mixFileExtension", ".orvom");
    o->setProperty ("bankFileExtension", ".orvob");
    o->setProperty ("notes", jsonText (state.environmentNotes));

    juce::Array<juce::var> tags;
    for (const auto& t : state.tagListNames)
    {
        auto* tag = new juce::DynamicObject();
        tag->setProperty ("name", jsonText (t));
        tags.add (juce::var (tag));
    }
    o->setProperty ("tags", juce::var (tags));

    juce::Array<juce::var> banks;
    for (int bank = 0; bank < LibrarianState::numBanks; ++bank)
    {
        auto* b = new juce::DynamicObject();
        const auto displayName = jsonText (state.bankDisplayName (bank));
        b->setProperty ("id", jsonText (state.bankLabel (bank)));
        b->setProperty ("name", displayName);
        b->setProperty ("displayName", displayName);
        b->setProperty ("kind", LibrarianState::isProgramBank (bank) ? "program-bank" : "mix-bank");
        b->setProperty ("notes", jsonText (state.banks[(size_t)bank].notes));
        juce::Array<juce::var> slots;
        slots.ensureStorageAllocated (LibrarianState::numSlots);
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
            slots.add (buildSlotEntry (state, bank, slot, SlotEntryForm::environment));
        b->setProperty ("slots", juce::var (slots));
        banks.add (juce::var (b));
    }
    o->setProperty ("banks", juce::var (banks));

    auto* selection = new juce::DynamicObject();
    selection->setProperty ("bank", jsonText (state.bankLabel (state.selectedBank)));
    selection->setProperty ("program", SlotNameTable::clampSlot (state.selectedSlot));
    o->setProperty ("lastSelection", juce::var (selection));
    return doc;
}

namespace
{
bool isObject (const juce::var& v)
{
    return v.getDynamicObject() != nullptr;
}

/** One slot entry in its environment form, keys in the order buildSlotEntry gives them. */
void writeEnvironmentSlot (JsonStreamWriter& w, const LibrarianState& state, int bank, int slot)
{
    const auto& s = state.slot (bank, slot);
    const bool programBank = LibrarianState::isProgramBank (bank);
    const bool withSysEx = programBank && !s.programSysEx.empty();

    w.beginObject();
    w.key ("index");
    w.integer (slot);
    w.key ("type");
    w.string (programBank ? "program" : "mix");
    w.key ("name");
    w.string (state.names.name (bank, slot));
    w.key ("tags");
    w.beginArray();
    for (const auto& tag : s.tags)
        w.string (tag);
    w.endArray();
    w.key ("notes");
    w.string (s.notes);
    w.key ("source");
    w.string (withSysEx ? "cached-program-sysex" : "factory-default");
    if (isObject (s.wedgePreset))
    {
        w.key ("wedgePreset");
        w.value (s.wedgePreset);
    }
    if (s.parameters.isArray())
    {
        w.key ("parameters");
        w.value (s.parameters);
    }
    if (withSysEx)
    {
        w.key ("rawByteLength");
        w.integer ((long long)s.programSysEx.size());
        w.key ("sysexBase64");
        w.base64 (s.programSysEx.data(), s.programSysEx.size());
    }
    if (isObject (s.toolData))
    {
        w.key ("controlPages");
        w.value (s.toolData);
    }
    w.endObject();
}
} // namespace

void writeEnvironmentText (const LibrarianState& state, std::string& buffer, bool allOnOneLine)
{
    JsonStreamWriter w (buffer, allOnOneLine);
    const auto constant = [&w] (const char* key, const char* text)
    {
        w.key (key);
        w.string (text);
    };

    w.beginObject();
    constant ("format", "OrvoExchange");
    constant ("extension", ".orvox");
    w.key ("version");
    w.integer (1);
    constant ("name", "Orvo Editor Factory Default");
    constant ("description", "Factory default Orvo editor environment with starter patch tags.");
    constant ("createdBy", "Orvo Editor");
    constant ("programFileExtension", ".orvop");
    constant ("mixFileExtension", ".orvom");
    constant ("bankFileExtension", ".orvob");
    w.key ("notes");
    w.string (state.environmentNotes);

    w.key ("tags");
    w.beginArray();
    for (const auto& t : state.tagListNames)
    {
        w.beginObject();
        w.key ("name");
        w.string (t);
        w.endObject();
    }
    w.endArray();

    w.key ("banks");
    w.beginArray();
    for (int bank = 0; bank < LibrarianState::numBanks; ++bank)
    {
        const auto displayName = state.bankDisplayName (bank);
        w.beginObject();
        w.key ("id");
        w.string (state.bankLabel (bank));
        w.key ("name");
        w.string (displayName);
        w.key ("displayName");
        w.string (displayName);
        constant ("kind", LibrarianState::isProgramBank (bank) ? "program-bank" : "mix-bank");
        w.key ("notes");
        w.string (state.banks[(size_t)bank].notes);
        w.key ("slots");
        w.beginArray();
        for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
            writeEnvironmentSlot (w, state, bank, slot);
        w.endArray();
        w.endObject();
    }
    w.endArray();

    w.key ("lastSelection");
    w.beginObject();
    w.key ("bank");
    w.string (state.bankLabel (state.selectedBank));
    w.key ("program");
    w.integer (SlotNameTable::clampSlot (state.selectedSlot));
    w.endObject();

    w.endObject();
    w.finish();
}

bool loadEnvironmentObject (LibrarianState& state, const juce::var& root, const LibrarianLog& log, int* slotsApplied,
                            int* programDumps)
{
    auto* o = root.getDynamicObject();
    if (o == nullptr || !o->getProperty ("format").isString() || o->getProperty ("format").toString() != "OrvoExchange")
        return false;

    state.clear();
    int applied = 0, dumps = 0;
    if (const auto* banks = o->getProperty ("banks").getArray())
        for (int position = 0; position < banks->size(); ++position)
        {
            const auto& b = banks->getReference (position);
            if (b.getDynamicObject() == nullptr)
                continue;
            const auto byLabel =
                b["id"].isString() ? state.bankWithLabel (b["id"].toString().toStdString()) : std::optional<int>();
            const int bank = byLabel ? *byLabel : position;
            if (!LibrarianState::isValidBank (bank))
                continue;

            auto displayName = stdText (b["displayName"]);
            if (displayName.empty())
                displayName = stdText (b["name"]);
            // The label is what a bank without a name of its own shows; keeping it as a user name would
            // pin it when labels change.
            displayName = juce::String (displayName).trim().toStdString();
            state.names.setBankDisplayName (bank, displayName == state.bankLabel (bank) ? std::string() : displayName);
            state.banks[(size_t)bank].notes = stdText (b["notes"]);

            if (const auto* entries = b["slots"].getArray())
                for (const auto& entry : *entries)
                {
                    bool dumpFound = false;
                    if (applySlotEntry (state, bank, entry, nullptr, log, dumpFound))
                        ++applied;
                    dumps += dumpFound ? 1 : 0;
                }
        }

    state.environmentNotes = stdText (o->getProperty ("notes"));

    const auto selection = o->getProperty ("lastSelection");
    if (selection["bank"].isString())
        if (const auto bank = state.bankWithLabel (selection["bank"].toString().toStdString()))
            state.selectedBank = *bank;
    if (const auto p = documentInt (selection["program"]))
        state.selectedSlot = SlotNameTable::clampSlot (*p);

    if (slotsApplied != nullptr)
        *slotsApplied = applied;
    if (programDumps != nullptr)
        *programDumps = dumps;
    return true;
}

std::string environmentRefusedLine (const juce::File& file)
{
    return "Could not load Environment file. The selected file is not an Orvo Editor Environment document: " +
           file.getFullPathName().toStdString() + "\n";
}

DocumentLoadReport loadEnvironmentDocument (const juce::File& file)
{
    DocumentLoadReport report;
    report.kind = "environment";
    const LibrarianLog log = [&report] (const std::string& line) { report.log.push_back (line); };

    LibrarianState state;
    if (!loadEnvironmentObject (state, readJsonDocument (file), log, &report.slots, &report.programDumps))
    {
        const auto line = environmentRefusedLine (file);
        report.log.push_back (line);
        report.message = line.substr (0, line.size() - 1);
        return report;
    }
    report.ok = true;
    report.log.push_back ("Loaded Environment file: " + file.getFullPathName().toStdString() + "\n");
    return report;
}

} // namespace orvo
