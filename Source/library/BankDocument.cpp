#include "BankDocument.h"
#include "JsonText.h"

#include "FileNaming.h"
#include "ProgramDigests.h"
#include "SysExMessageScan.h"

namespace orvo
{
namespace
{
void logLine (const LibrarianLog& log, const std::string& line)
{
    if (log)
        log (line);
}

juce::var tagArray (const std::vector<std::string>& tags)
{
    juce::Array<juce::var> out;
    for (const auto& t : tags)
        out.add (jsonText (t));
    return juce::var (out);
}

std::optional<int> integerOf (const juce::var& v)
{
    if (v.isInt() || v.isInt64() || v.isDouble())
    {
        const double d = (double)v;
        if (d >= -2147483648.0 && d <= 2147483647.0 && d == (double)(long long)d)
            return (int)(long long)d;
    }
    return std::nullopt;
}

bool isObject (const juce::var& v)
{
    return v.getDynamicObject() != nullptr;
}

/** The Program dump a document's "sysexBase64" gives for `wantedSlot`, with the reason logged when
    there is none and the note when the text held several messages. */
std::optional<ByteVector> dumpOfDocument (const juce::var& document, int wantedSlot, const LibrarianLog& log)
{
    auto result = decodeDocumentSysEx (document, wantedSlot);
    if (!result.message.empty())
        logLine (log, result.message);
    return std::move (result.dump);
}

bool hasSysExText (const juce::var& document)
{
    const auto text = document["sysexBase64"];
    return !text.isVoid() && !(text.isString() && text.toString().isEmpty());
}

/** A "programFile" is a bare file name; anything that could point elsewhere is not followed. */
bool isPlainFileName (const juce::String& name)
{
    return name.isNotEmpty() && !name.containsAnyOf ("/\\:") && name != "." && name != "..";
}

/** The SysEx (and, when asked, the parameters) of the Program document an entry refers to. */
void readReferencedProgram (const juce::String& fileName, const ProgramFileFolders& folders, int slot,
                            const LibrarianLog& log, std::optional<ByteVector>& dump, juce::var* parameters)
{
    if (!isPlainFileName (fileName))
        return;
    juce::File found;
    for (const auto& folder : { folders.programsFolder, folders.bankFolder })
        if (folder != juce::File() && folder.getChildFile (fileName).existsAsFile())
        {
            found = folder.getChildFile (fileName);
            break;
        }
    if (found == juce::File())
        return; // a missing Program document is passed over without a word

    const auto program = readJsonDocument (found);
    if (!isObject (program))
        return;
    const auto wanted = integerOf (program["program"]);
    dump = dumpOfDocument (program, wanted ? *wanted : slot, log);
    if (parameters != nullptr)
        if (const auto* list = program["parameters"].getArray(); list != nullptr && !list->isEmpty())
            *parameters = program["parameters"];
}
} // namespace

juce::var readJsonDocument (const juce::File& file)
{
    if (!file.existsAsFile())
        return {};
    juce::var parsed;
    if (parseJsonFile (file, parsed).failed())
        return {};
    return parsed;
}

juce::var buildSlotEntry (const LibrarianState& state, int bank, int slot, SlotEntryForm form)
{
    const auto& s = state.slot (bank, slot);
    const auto& name = state.names.name (bank, slot);
    const bool withSysEx = LibrarianState::isProgramBank (bank) && !s.programSysEx.empty();

    auto* o = new juce::DynamicObject();
    juce::var entry (o);
    o->setProperty ("index", slot);
    o->setProperty ("type", LibrarianState::isProgramBank (bank) ? "program" : "mix");
    o->setProperty ("name", jsonText (name));
    if (form == SlotEntryForm::bank)
        o->setProperty ("normalizedName", jsonText (normalizedName (name)));
    o->setProperty ("tags", tagArray (s.tags));
    o->setProperty ("notes", jsonText (s.notes));
    // The environment marks every slot; a bank only says where SysEx came from when it carries some.
    if (form == SlotEntryForm::environment)
        o->setProperty ("source", withSysEx ? "cached-program-sysex" : "factory-default");
    else if (withSysEx)
        o->setProperty ("source", "cached-program-sysex");
    if (isObject (s.wedgePreset))
        o->setProperty ("wedgePreset", s.wedgePreset);
    if (s.parameters.isArray())
        o->setProperty ("parameters", s.parameters);
    if (withSysEx)
    {
        o->setProperty ("rawByteLength", (int)s.programSysEx.size());
        o->setProperty ("sysexBase64", juce::Base64::toBase64 (s.programSysEx.data(), s.programSysEx.size()));
        if (form == SlotEntryForm::bank)
        {
            const auto digests = computeProgramDigests (s.programSysEx);
            for (const auto& [key, digest] : digests.entries())
                if (!digest->empty())
                    o->setProperty (key, jsonText (*digest));
        }
    }
    if (isObject (s.toolData))
        o->setProperty ("controlPages", s.toolData);
    return entry;
}

juce::var buildBankDocument (const LibrarianState& state, int bank, juce::Time capturedAt)
{
    bank = SlotNameTable::clampBank (bank);
    const auto displayName = state.bankDisplayName (bank);
    const auto label = state.bankLabel (bank);

    auto* o = new juce::DynamicObject();
    juce::var doc (o);
    o->setProperty ("schema", "orvo.bank.v1");
    o->setProperty ("type", LibrarianState::isProgramBank (bank) ? "program-bank" : "mix-bank");
    o->setProperty ("extension", ".orvob");
    o->setProperty ("name", jsonText (displayName));
    o->setProperty ("displayName", jsonText (displayName));
    o->setProperty ("bank", jsonText (label));
    o->setProperty ("bankId", jsonText (label));
    o->setProperty ("normalizedName", jsonText (normalizedName (displayName)));
    o->setProperty ("bankNumber", bank);
    o->setProperty ("capturedAt", capturedAt.toISO8601 (true));
    o->setProperty ("notes", jsonText (state.banks[(size_t)bank].notes));
    juce::Array<juce::var> slots;
    slots.ensureStorageAllocated (LibrarianState::numSlots);
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        slots.add (buildSlotEntry (state, bank, slot, SlotEntryForm::bank));
    o->setProperty ("slots", juce::var (slots));
    return doc;
}

std::optional<std::string> bankDocumentKind (const juce::var& root)
{
    auto* o = root.getDynamicObject();
    if (o == nullptr)
        return std::nullopt;
    const auto kindValue = o->hasProperty ("type") ? o->getProperty ("type") : o->getProperty ("kind");
    if (!kindValue.isString())
        return std::nullopt;
    const auto kind = kindValue.toString();
    if (kind != "program-bank" && kind != "mix-bank")
        return std::nullopt;
    if (!o->getProperty ("slots").isArray())
        return std::nullopt;
    return kind.toStdString();
}

std::string bankRefusedLine (const juce::File& file)
{
    return "Could not load Bank file. The selected file is not an Orvo Editor Bank document: " +
           file.getFullPathName().toStdString() + "\n";
}

std::optional<int> applySlotEntry (LibrarianState& state, int bank, const juce::var& entry,
                                   const ProgramFileFolders* folders, const LibrarianLog& log, bool& dumpFound)
{
    dumpFound = false;
    if (!isObject (entry) || !LibrarianState::isValidBank (bank))
        return std::nullopt;
    const auto index = integerOf (entry["index"]);
    if (!index || !LibrarianState::isValidSlot (*index))
        return std::nullopt;
    const int slot = *index;

    // The entry describes the whole slot: nothing of what the slot held before survives it.
    state.clearSlot (bank, slot);
    auto& s = state.slot (bank, slot);
    state.names.setName (bank, slot, juce::String (stdText (entry["name"])).trim().toStdString());
    s.tags = normalizeTagKeys (entry["tags"]);
    s.notes = stdText (entry["notes"]);
    if (isObject (entry["wedgePreset"]))
        s.wedgePreset = entry["wedgePreset"];
    if (const auto* list = entry["parameters"].getArray(); list != nullptr && !list->isEmpty())
        s.parameters = entry["parameters"];

    if (LibrarianState::isProgramBank (bank))
    {
        std::optional<ByteVector> dump;
        if (hasSysExText (entry))
            dump = dumpOfDocument (entry, slot, log);
        else if (folders != nullptr && entry["programFile"].isString())
            readReferencedProgram (entry["programFile"].toString(), *folders, slot, log, dump,
                                   s.parameters.isVoid() ? &s.parameters : nullptr);
        if (dump && !dump->empty())
        {
            s.programSysEx = std::move (*dump);
            dumpFound = true;
        }
    }

    if (isObject (entry["controlPages"]))
        s.toolData = entry["controlPages"];
    return slot;
}

int targetBankFor (const LibrarianState& state, bool programKind, const juce::var& root)
{
    const auto ofKind = [programKind] (int bank)
    { return LibrarianState::isValidBank (bank) && LibrarianState::isProgramBank (bank) == programKind; };
    if (ofKind (state.selectedBank))
        return state.selectedBank;
    if (const auto n = integerOf (root["bankNumber"]); n && ofKind (*n))
        return *n;
    return programKind ? 0 : 3;
}

BankLoadResult loadBankLocally (LibrarianState& state, const juce::var& root, const std::string& kind,
                                const juce::File& bankFile, const juce::File& programsFolder, const LibrarianLog& log)
{
    BankLoadResult result;
    const bool programKind = kind == "program-bank";
    const int bank = targetBankFor (state, programKind, root);
    result.targetBank = bank;

    auto displayName = stdText (root["displayName"]);
    if (displayName.empty())
        displayName = stdText (root["name"]);
    if (displayName.empty())
        displayName = bankFile.getFileNameWithoutExtension().toStdString();
    state.names.setBankDisplayName (bank, juce::String (displayName).trim().toStdString());
    state.banks[(size_t)bank].notes = stdText (root["notes"]);

    const ProgramFileFolders folders{ programsFolder, bankFile.getParentDirectory() };
    std::vector<bool> hasDump (LibrarianState::numSlots, false);
    if (const auto* entries = root["slots"].getArray())
        for (const auto& entry : *entries)
        {
            bool dumpFound = false;
            if (const auto slot = applySlotEntry (state, bank, entry, &folders, log, dumpFound))
            {
                ++result.slotsApplied;
                hasDump[(size_t)*slot] = dumpFound;
            }
        }
    // A slot listed twice ends up as its last entry says, so the list is taken from the final state.
    for (int slot = 0; slot < LibrarianState::numSlots; ++slot)
        if (hasDump[(size_t)slot])
            result.dumps.emplace_back (slot, state.slot (bank, slot).programSysEx);

    state.banks[(size_t)bank].documentFile = bankFile;

    result.loadedLine =
        "Loaded Bank file into " + state.bankLabel (bank) + ": " + bankFile.getFullPathName().toStdString();
    if (!result.dumps.empty())
        result.loadedLine += " (" + std::to_string (result.dumps.size()) + " cached Program dumps)";
    result.loadedLine += "\n";
    return result;
}

DocumentLoadReport loadBankDocument (const juce::File& file, const juce::File& programsFolder)
{
    DocumentLoadReport report;
    report.kind = "bank";
    const LibrarianLog log = [&report] (const std::string& line) { report.log.push_back (line); };

    const auto root = readJsonDocument (file);
    const auto kind = bankDocumentKind (root);
    if (!kind)
    {
        const auto line = bankRefusedLine (file);
        report.log.push_back (line);
        report.message = line.substr (0, line.size() - 1);
        return report;
    }

    LibrarianState state;
    const auto result = loadBankLocally (state, root, *kind, file, programsFolder, log);
    report.log.push_back (result.loadedLine);
    report.ok = true;
    report.slots = result.slotsApplied;
    report.programDumps = (int)result.dumps.size();
    return report;
}

} // namespace orvo
