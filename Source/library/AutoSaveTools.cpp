#include "AutoSaveTools.h"
#include "JsonText.h"

#include "AtomicFile.h"
#include "FileNaming.h"

#include <algorithm>
#include <map>

namespace orvo
{
namespace
{
juce::var text (const std::string& s)
{
    return juce::var (juce::String (juce::CharPointer_UTF8 (s.c_str())));
}

juce::var tagArray (const std::vector<std::string>& tags)
{
    juce::Array<juce::var> out;
    for (const auto& t : tags)
        out.add (text (t));
    return juce::var (out);
}

/** The document's root object, or nothing when the file is missing, unreadable or not a JSON object. */
juce::var readObject (const juce::File& file)
{
    if (!file.existsAsFile())
        return {};
    juce::var parsed;
    if (parseJsonFile (file, parsed).failed() || !parsed.isObject() || parsed.getDynamicObject() == nullptr)
        return {};
    return parsed;
}

void setSlotFields (juce::DynamicObject& o, const SlotToolValues& v)
{
    o.setProperty ("name", text (v.name));
    o.setProperty ("normalizedName", text (normalizedName (v.name)));
}
} // namespace

AutoSaveTools::AutoSaveTools (const Clock& c, const AutoSaveToolsHost& h, Log logFn)
    : clock (c), host (h), log (std::move (logFn))
{
}

void AutoSaveTools::logLine (const std::string& line) const
{
    if (log)
        log (line);
}

bool AutoSaveTools::accepting() const
{
    return applyingDepth == 0 && host.autoSaveEnabled();
}

void AutoSaveTools::touch()
{
    pending = true;
    lastChangeMs = clock.nowMs();
}

void AutoSaveTools::markSlotDirty (int bank, int slot)
{
    if (!accepting() || bank < 0 || bank > 4 || slot < 0 || slot > 127)
        return;
    const std::pair<int, int> key{ bank, slot };
    if (std::find (slots.begin(), slots.end(), key) == slots.end())
        slots.push_back (key);
    touch();
}

void AutoSaveTools::markBankDirty (int bank)
{
    if (!accepting() || bank < 0 || bank > 4)
        return;
    banks.insert (bank);
    touch();
}

void AutoSaveTools::tick()
{
    if (!pending)
        return;
    if (!host.autoSaveEnabled())
    {
        // Switching auto save off drops what was waiting rather than writing it later.
        slots.clear();
        banks.clear();
        pending = false;
        return;
    }
    // The timer runs at 30 Hz; "more than 749 ms" keeps a change made exactly 750 ms ago in this tick.
    if (clock.nowMs() - lastChangeMs > debounceMs - 1.0)
        flush();
}

void AutoSaveTools::flush()
{
    const auto dirty = std::move (slots);
    const auto changedBanks = std::move (banks);
    slots.clear();
    banks.clear();
    pending = false;

    std::map<int, std::vector<int>> slotsByBank;
    for (const auto& [bank, slot] : dirty)
    {
        if (const auto file = host.programFileOfSlot (bank, slot))
            updateProgramFile (*file, bank, slot);
        slotsByBank[bank].push_back (slot);
    }

    for (int bank = 0; bank < 5; ++bank)
    {
        const auto it = slotsByBank.find (bank);
        const bool bankChanged = changedBanks.count (bank) > 0;
        if (it == slotsByBank.end() && !bankChanged)
            continue;
        if (const auto file = host.bankFileOf (bank))
            updateBankFile (*file, bank, it == slotsByBank.end() ? std::vector<int>() : it->second, bankChanged);
    }
}

void AutoSaveTools::updateProgramFile (const juce::File& file, int bank, int slot)
{
    const auto path = file.getFullPathName().toStdString();
    auto root = readObject (file);
    auto* o = root.getDynamicObject();
    if (o == nullptr)
    {
        logLine ("Auto Save Tools skipped invalid Program file: " + path + "\n");
        return;
    }

    const auto v = host.slotValues (bank, slot);
    setSlotFields (*o, v);
    o->setProperty ("bank", text (v.bankLabel));
    o->setProperty ("bankNumber", bank);
    o->setProperty ("program", slot);
    o->setProperty ("notes", text (v.notes));
    o->setProperty ("tags", tagArray (v.tags));
    if (!v.toolData.isVoid())
        o->setProperty ("controlPages", v.toolData);

    if (!writeTextFileAtomically (file, juce::JSON::toString (root)))
        logLine ("Auto Save Tools could not update Program file: " + path + "\n");
}

void AutoSaveTools::updateBankFile (const juce::File& file, int bank, const std::vector<int>& dirtySlotsOfBank,
                                    bool bankChanged)
{
    const auto path = file.getFullPathName().toStdString();
    auto root = readObject (file);
    auto* o = root.getDynamicObject();
    auto* entries = o != nullptr ? o->getProperty ("slots").getArray() : nullptr;
    if (o == nullptr || entries == nullptr)
    {
        logLine ("Auto Save Tools skipped invalid Bank file: " + path + "\n");
        return;
    }

    for (const int slot : dirtySlotsOfBank)
    {
        juce::DynamicObject* entry = nullptr;
        for (auto& e : *entries)
            if (auto* candidate = e.getDynamicObject(); candidate != nullptr && candidate->hasProperty ("index") &&
                                                        documentInt (candidate->getProperty ("index")) == slot)
            {
                entry = candidate;
                break;
            }
        if (entry == nullptr)
        {
            juce::DynamicObject::Ptr added (new juce::DynamicObject());
            added->setProperty ("index", slot);
            added->setProperty ("type", bank <= 2 ? "program" : "mix");
            entries->add (juce::var (added.get()));
            entry = added.get();
        }

        const auto v = host.slotValues (bank, slot);
        setSlotFields (*entry, v);
        entry->setProperty ("tags", tagArray (v.tags));
        entry->setProperty ("notes", text (v.notes));
        if (!v.toolData.isVoid())
            entry->setProperty ("controlPages", v.toolData);
    }

    if (bankChanged)
    {
        const auto b = host.bankValues (bank);
        o->setProperty ("displayName", text (b.displayName));
        o->setProperty ("name", text (b.displayName));
        o->setProperty ("bankNumber", bank);
        o->setProperty ("notes", text (b.notes));
    }

    if (!writeTextFileAtomically (file, juce::JSON::toString (root)))
        logLine ("Auto Save Tools could not update Bank file: " + path + "\n");
}

} // namespace orvo
