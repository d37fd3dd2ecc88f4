#include "DocumentLoading.h"

#include "model/TextMatching.h"

#include "JsonText.h"
#include "SysExMessageScan.h"

namespace orvo
{
namespace
{
bool isProgramBank (int bank)
{
    return bank >= 0 && bank <= 2;
}
bool isMixBank (int bank)
{
    return bank >= 3 && bank <= 4;
}
bool bankFits (DocumentKind kind, int bank)
{
    return kind == DocumentKind::program ? isProgramBank (bank) : isMixBank (bank);
}
std::string kindWord (DocumentKind kind)
{
    return kind == DocumentKind::program ? "Program" : "Mix";
}
std::string extensionOf (DocumentKind kind)
{
    return kind == DocumentKind::program ? documentkeys::programExtension : documentkeys::mixExtension;
}
std::string stringOf (const juce::var& v)
{
    return v.isString() ? v.toString().toStdString() : std::string();
}
std::vector<std::string> tagsOf (const juce::var& v)
{
    std::vector<std::string> tags;
    if (const auto* items = v.getArray())
        for (const auto& item : *items)
            if (item.isString())
                tags.push_back (item.toString().toStdString());
    return tags;
}
} // namespace

int targetBankForDocument (DocumentKind kind, int currentBank, const juce::var& root)
{
    if (bankFits (kind, currentBank))
        return currentBank;
    const auto declared = documentInt (root.getProperty ("bankNumber", {}));
    if (declared && bankFits (kind, *declared))
        return *declared;
    return kind == DocumentKind::program ? 0 : 3;
}

DocumentLoadOutcome loadDocument (const juce::File& file, DocumentKind kind, DocumentLoadHost& host)
{
    DocumentLoadOutcome outcome;
    const auto read = kind == DocumentKind::program ? readProgramDocument (file) : readMixDocument (file);
    if (!read.ok)
    {
        host.log (read.failureLine);
        return outcome;
    }
    const auto& root = read.root;
    const auto path = file.getFullPathName().toStdString();

    const int bank = targetBankForDocument (kind, host.currentBank(), root);
    const int slot = juce::jlimit (0, 127, host.currentSlot());
    outcome.bank = bank;
    outcome.slot = slot;

    auto name = juce::String (stringOf (root.getProperty ("name", {}))).trim().toStdString();
    if (name.empty())
        name = file.getFileNameWithoutExtension().toStdString();
    host.loadTagTable();

    host.setSlotName (bank, slot, name);
    host.setSlotTags (bank, slot, tagsOf (root.getProperty ("tags", {})));
    host.setSlotNotes (bank, slot, stringOf (root.getProperty ("notes", {})));
    const auto wedge = root.getProperty ("wedgePreset", {});
    host.setWedgePreset (bank, slot, wedge.isObject() ? wedge : juce::var());
    host.setSnapshot (bank, slot, {});

    if (kind == DocumentKind::program)
    {
        host.clearProgramSysEx (bank, slot);
        const int wanted = documentInt (root.getProperty ("program", {})).value_or (slot);
        const auto sysEx = decodeDocumentSysEx (root, wanted);
        if (!sysEx.message.empty())
            host.log (sysEx.message);
        if (sysEx.failed)
            outcome.problem = sysEx.message;
        if (sysEx.dump)
        {
            DecodedProgramValues values;
            std::string diagnostic;
            if (decodeProgramDump (*sysEx.dump, values, diagnostic))
            {
                host.applyProgramDump (bank, slot, *sysEx.dump, values);
                outcome.programSysExMapped = true;
            }
            else
            {
                outcome.problem = "Could not map Program SysEx data from the selected .orvop file.\n";
                host.log (outcome.problem);
            }
        }
    }

    bool snapshotFromDocument = false;
    const auto parameters = root.getProperty ("parameters", {});
    if (const auto* entries = parameters.getArray(); entries != nullptr && !entries->isEmpty())
    {
        host.setSnapshot (bank, slot, parameters);
        snapshotFromDocument = true;
        for (const auto& entry : *entries)
        {
            const auto id = entry.getProperty ("id", {});
            const auto raw = documentInt (entry.getProperty ("rawValue", {}));
            if (entry.isObject() && id.isString() && raw && host.setControlValue (id.toString().toStdString(), *raw))
                ++outcome.valuesSet;
        }
    }

    if (!read.mixPayload.empty())
    {
        auto title = std::string ("LOCAL .ORVOM MIX");
        if (!name.empty())
            title += " \xe2\x80\x9c" + name + "\xe2\x80\x9d";
        title += " LOADED";
        if (!host.showMixPayload (read.mixPayload, title))
            host.log ("Could not display the decoded Mix payload from " + path + "\n");
    }

    if (!snapshotFromDocument && (outcome.programSysExMapped || outcome.valuesSet > 0))
        host.takeSnapshotFromEditor (bank, slot);

    if (const auto toolData = root.getProperty ("controlPages", {}); toolData.isObject())
        host.applyToolData (bank, slot, toolData);

    host.recordDocumentPath (bank, slot, file);

    std::string detail;
    if (!read.mixPayload.empty())
        detail = " (complete Mix payload and editor metadata)";
    else if (outcome.valuesSet > 0)
        detail = " (" + std::to_string (outcome.valuesSet) + " editor parameters)";
    else if (outcome.programSysExMapped)
        detail = " (mapped local Program dump)";
    else
        detail = " (name and tags)";
    host.log ("Loaded " + kindWord (kind) + " file into " + host.bankLabel (bank) + " " + text::threeDigits (slot) +
              ": " + path + detail + "\n");

    if (kind == DocumentKind::mix)
        host.log ("The .orvom Mix was loaded locally only; no data was sent to the Orvo.\n");

    outcome.loaded = true;
    return outcome;
}

namespace
{
/** An editor with every control of the catalogue and nothing on screen. */
class CheckingHost final : public DocumentLoadHost
{
public:
    std::vector<std::string> lines;

    int currentBank() const override { return -1; }
    int currentSlot() const override { return 0; }
    std::string bankLabel (int bank) const override { return "bank " + std::to_string (bank); }
    void loadTagTable() override {}
    void setSlotName (int, int, const std::string&) override {}
    void setSlotTags (int, int, const std::vector<std::string>&) override {}
    void setSlotNotes (int, int, const std::string&) override {}
    void setWedgePreset (int, int, const juce::var&) override {}
    void setSnapshot (int, int, const juce::var&) override {}
    void takeSnapshotFromEditor (int, int) override {}
    void clearProgramSysEx (int, int) override {}
    void applyProgramDump (int, int, const ByteVector&, const DecodedProgramValues&) override {}
    bool setControlValue (const std::string& id, int) override
    {
        for (const auto& row : ParameterCatalogue::rows())
            if (id == row.id)
                return true;
        return false;
    }
    bool showMixPayload (const MixPayload&, const std::string&) override { return true; }
    void applyToolData (int, int, const juce::var&) override {}
    void recordDocumentPath (int, int, const juce::File&) override {}
    void log (const std::string& line) override { lines.push_back (line); }
};

std::string withoutLineBreak (std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}
} // namespace

DocumentCheckResult checkDocument (const juce::File& file, DocumentKind kind)
{
    CheckingHost host;
    const auto outcome = loadDocument (file, kind, host);
    DocumentCheckResult r;
    r.log = host.lines;
    r.slots = outcome.loaded ? 1 : 0;
    r.programDumps = outcome.programSysExMapped ? 1 : 0;
    r.ok = outcome.loaded && outcome.problem.empty();
    if (!outcome.loaded)
        r.message = withoutLineBreak (host.lines.empty() ? std::string() : host.lines.front());
    else if (!outcome.problem.empty())
        r.message = withoutLineBreak (outcome.problem);
    return r;
}

ChoiceDialog transferOfferAfterProgramLoad (bool editorHoldsProgramSysEx)
{
    ChoiceDialog d;
    d.title = "Transfer Loaded Program";
    d.message = "The loaded Program has been applied to the editor.\n\nWould you like to transfer the current editor "
                "values to the Orvo now?";
    if (editorHoldsProgramSysEx)
    {
        d.message += "\n\nThis Program file includes a raw Orvo Program SysEx dump. You can send that dump to the "
                     "currently selected USER slot, or send the editor's current parameter values.";
        d.buttons = { "SEND TO USER SLOT", "SEND EDITOR VALUES", "NOT NOW" };
    }
    else
        d.buttons = { "TRANSFER TO ORVO", "NOT NOW" };
    return d;
}

//==============================================================================
namespace
{
SavePlan dialogPlan (const SaveContext& c, std::vector<std::string> lines)
{
    SavePlan plan;
    plan.action = SavePlan::Action::openDialog;
    plan.logLines = std::move (lines);
    plan.dialogTitle = "Save " + kindWord (c.kind);
    plan.initialFile =
        c.documentFolder.getChildFile (defaultDocumentStem (c.kind, c.slotName, c.slot) + extensionOf (c.kind));
    plan.pattern = "*" + extensionOf (c.kind);
    return plan;
}
} // namespace

SavePlan planSave (const SaveContext& c)
{
    if (!bankFits (c.kind, c.bank))
    {
        SavePlan plan;
        const auto k = kindWord (c.kind);
        plan.logLines.push_back (k + " uses " + k + " slots. Select a " + k + " bank first.\n");
        return plan;
    }
    if (c.kind == DocumentKind::program || c.mixPayloadValid)
        return dialogPlan (c, {});
    if (!c.midiOutputOpen)
        return dialogPlan (c, { "No current Orvo Mix payload is cached, so Save Mix will create an editor-only .orvom "
                                "snapshot.\n" });
    SavePlan plan;
    plan.action = SavePlan::Action::readMixFirst;
    plan.logLines.push_back (
        "Save Mix: reading the complete current Mix payload from the Orvo before opening the save dialog.\n");
    return plan;
}

void PendingMixSave::begin (int bank, int slot)
{
    pending = true;
    pendingBank = bank;
    pendingSlot = slot;
}

SavePlan PendingMixSave::readFinished (bool gotPayload, const SaveContext& current)
{
    if (!pending)
        return {};
    pending = false;
    if (current.bank != pendingBank || current.slot != pendingSlot)
    {
        SavePlan plan;
        plan.logLines.push_back (
            "Save Mix cancelled because the selected Mix changed while its data was being read.\n");
        return plan;
    }
    std::vector<std::string> lines;
    if (!gotPayload)
        lines.push_back (
            "The current Orvo Mix payload was unavailable. Continuing with an editor-only .orvom snapshot.\n");
    return dialogPlan (current, std::move (lines));
}

bool saveDocumentToFile (const juce::File& file, const juce::var& document, DocumentKind kind,
                         const std::function<void (const std::string&)>& log)
{
    if (!writeDocument (file, document, kindWord (kind), log))
        return false;
    if (kind == DocumentKind::mix && log)
        log (document.hasProperty ("mixPayloadBase64")
                 ? "The .orvom file includes the complete 1,024-byte Orvo Mix payload.\n"
                 : "The .orvom file is an editor snapshot; no current Orvo Mix payload was available.\n");
    return true;
}

} // namespace orvo
