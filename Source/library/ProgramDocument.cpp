#include "ProgramDocument.h"
#include "JsonText.h"

#include "AtomicFile.h"
#include "FileNaming.h"
#include "ProgramDigests.h"

namespace orvo
{

juce::var textVar (const std::string& s)
{
    return juce::var (juce::String (juce::CharPointer_UTF8 (s.c_str())));
}

juce::var stringArrayVar (const std::vector<std::string>& items)
{
    juce::Array<juce::var> out;
    for (const auto& item : items)
        out.add (textVar (item));
    return juce::var (out);
}

juce::var parameterEntriesToVar (const std::vector<ParameterEntry>& entries)
{
    juce::Array<juce::var> out;
    for (const auto& e : entries)
    {
        auto* o = new juce::DynamicObject();
        o->setProperty ("id", textVar (e.id));
        o->setProperty ("rawValue", e.rawValue);
        o->setProperty ("page", textVar (e.page));
        o->setProperty ("section", textVar (e.section));
        out.add (juce::var (o));
    }
    return juce::var (out);
}

juce::String documentTimeStamp (juce::Time t)
{
    return t.toISO8601 (true);
}

void addProgramDigestKeys (juce::DynamicObject& o, const ByteVector& message)
{
    const auto d = computeProgramDigests (message);
    const std::pair<const char*, const std::string*> inDocumentOrder[] = {
        { "programPayloadSha256", &d.programPayloadSha256 },
        { "nameNeutralPayloadSha256", &d.nameNeutralPayloadSha256 },
        { "packedPayloadSha256", &d.packedPayloadSha256 },
        { "rawSysExSha256", &d.rawSysExSha256 },
    };
    for (const auto& [key, digest] : inDocumentOrder)
        if (!digest->empty())
            o.setProperty (key, textVar (*digest));
}

void addProgramSysExKeys (juce::DynamicObject& o, const ByteVector& message, bool withDigests)
{
    o.setProperty ("rawByteLength", (int)message.size());
    o.setProperty ("sysexBase64", juce::Base64::toBase64 (message.data(), message.size()));
    if (withDigests)
        addProgramDigestKeys (o, message);
}

juce::var buildProgramDocument (const SlotDocumentContent& c, const std::optional<ByteVector>& programSysEx,
                                juce::Time capturedAt)
{
    auto* o = new juce::DynamicObject();
    juce::var root (o);
    o->setProperty ("schema", documentkeys::programSchema);
    o->setProperty ("type", "program");
    o->setProperty ("extension", documentkeys::programExtension);
    o->setProperty ("name", textVar (c.name));
    o->setProperty ("normalizedName", textVar (normalizedName (c.name)));
    o->setProperty ("source", documentkeys::sourceLibrarian);
    o->setProperty ("bank", textVar (c.bankLabel));
    o->setProperty ("bankNumber", c.bank);
    o->setProperty ("program", c.slot);
    o->setProperty ("capturedAt", documentTimeStamp (capturedAt));
    o->setProperty ("notes", textVar (c.notes));
    o->setProperty ("tags", stringArrayVar (c.tags));
    o->setProperty ("parameters", c.parameters.isArray() ? c.parameters : juce::var (juce::Array<juce::var>()));
    o->setProperty ("controlPages", c.toolData.isObject() ? c.toolData : juce::var (new juce::DynamicObject()));
    if (c.wedgePreset.isObject())
        o->setProperty ("wedgePreset", c.wedgePreset);
    if (programSysEx && !programSysEx->empty())
        addProgramSysExKeys (*o, *programSysEx, true);
    return root;
}

juce::var buildImportedProgramDocument (const ImportedProgramInfo& info)
{
    const auto& m = info.message;
    const int opcode = m.size() > 5 ? m[5] : -1;
    auto* o = new juce::DynamicObject();
    juce::var root (o);
    o->setProperty ("schema", documentkeys::programSchema);
    o->setProperty ("type", "program");
    o->setProperty ("extension", documentkeys::programExtension);
    o->setProperty ("name", textVar (info.name));
    o->setProperty ("normalizedName", textVar (normalizedName (info.name)));
    o->setProperty ("source", documentkeys::sourceSysExImport);
    o->setProperty ("importedAt", documentTimeStamp (info.importedAt));
    o->setProperty ("originalSysexFile", info.originalSysExFile.getFileName());
    o->setProperty ("originalSysexPath", info.originalSysExFile.getFullPathName());
    o->setProperty ("orvoProgramDumpOpcode", opcode);
    o->setProperty ("dumpType", opcode == sysex::opStoredProgram ? "stored-program" : "program-edit-buffer");
    o->setProperty ("mappedParameterCount", info.mappedParameterCount);
    o->setProperty ("tags", juce::var (juce::Array<juce::var>()));
    o->setProperty ("notes", juce::String());
    // Only a stored Program says where it came from; an edit buffer dump has no slot.
    if (opcode == sysex::opStoredProgram && m.size() > 7)
    {
        o->setProperty ("bankNumber", (int)m[6]);
        o->setProperty ("program", (int)m[7]);
    }
    addProgramSysExKeys (*o, m, true);
    return root;
}

juce::var buildBankSyncProgramDocument (const std::string& name, const std::string& bankLabel, int bank, int slot,
                                        const ByteVector& message, juce::Time capturedAt)
{
    auto* o = new juce::DynamicObject();
    juce::var root (o);
    o->setProperty ("schema", documentkeys::programSchema);
    o->setProperty ("type", "program");
    o->setProperty ("name", textVar (name));
    o->setProperty ("normalizedName", textVar (normalizedName (name)));
    o->setProperty ("source", documentkeys::sourceBankSync);
    o->setProperty ("bank", textVar (bankLabel));
    o->setProperty ("bankNumber", bank);
    o->setProperty ("program", slot);
    o->setProperty ("capturedAt", documentTimeStamp (capturedAt));
    addProgramSysExKeys (*o, message, false);
    return root;
}

bool writeDocument (const juce::File& file, const juce::var& document, const std::string& kind,
                    const std::function<void (const std::string&)>& log)
{
    const auto path = file.getFullPathName().toStdString();
    const bool ok = (bool)writeTextFileAtomically (file, juce::JSON::toString (document));
    if (log)
        log ((ok ? "Saved " : "Could not save ") + kind + " file: " + path + "\n");
    return ok;
}

DocumentReadResult readProgramDocument (const juce::File& file)
{
    DocumentReadResult r;
    juce::var parsed;
    const bool parsedOk = file.existsAsFile() && parseJsonFile (file, parsed).wasOk();
    if (!parsedOk || !parsed.isObject() || !parsed.getProperty ("type", {}).isString() ||
        parsed.getProperty ("type", {}).toString() != "program")
    {
        r.failureLine = "Could not load Program file. The selected file is not an Orvo Editor program document: " +
                        file.getFullPathName().toStdString() + "\n";
        return r;
    }
    r.ok = true;
    r.root = parsed;
    return r;
}

} // namespace orvo
