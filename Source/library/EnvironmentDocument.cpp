#include "EnvironmentDocument.h"

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
    if (const auto& p = selection["program"]; p.isInt() || p.isInt64() || p.isDouble())
        state.selectedSlot = SlotNameTable::clampSlot ((int)p);

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
