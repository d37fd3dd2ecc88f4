// Copy and paste of a value, whole-page sends, host parameter input and the editor-state document.
#include "EditorEngine.h"
#include "PagePlan.h"
#include "EditNames.h"
#include "library/JsonText.h"
#include "model/InterfaceControls.h"

#include <juce_core/juce_core.h>

#include <cmath>
#include <cstring>

namespace orvo
{
namespace
{
bool sameShape (const OrvoParameterInfo& a, const OrvoParameterInfo& b)
{
    constexpr double tolerance = 0.000001;
    if (a.kind != b.kind || a.displayFormat != b.displayFormat || a.rawMin != b.rawMin || a.rawMax != b.rawMax ||
        a.decimals != b.decimals || std::fabs (a.displayMin - b.displayMin) >= tolerance ||
        std::fabs (a.displayMax - b.displayMax) >= tolerance || std::fabs (a.displayStep - b.displayStep) >= tolerance)
        return false;
    if ((a.kind == kindToggle || a.kind == kindLatchedButton) && (a.offValue != b.offValue || a.onValue != b.onValue))
        return false;
    if (a.kind == kindEnumButtons)
    {
        if (a.labelCount != b.labelCount)
            return false;
        for (int i = 0; i < a.labelCount; ++i)
            if (std::strcmp (a.labels[(size_t)i].text, b.labels[(size_t)i].text) != 0 ||
                a.labels[(size_t)i].value != b.labels[(size_t)i].value)
                return false;
    }
    return true;
}
} // namespace

bool EditorEngine::canCopySelected() const
{
    return selectedRow >= 0 && ParameterCatalogue::row (selectedRow).kind != kindMomentaryButton;
}

bool EditorEngine::canPasteSelected() const
{
    if (selectedRow < 0 || !copied.present)
        return false;
    const auto& target = ParameterCatalogue::row (selectedRow);
    return target.kind != kindMomentaryButton && sameShape (copied.shape, target);
}

void EditorEngine::copySelectedValue()
{
    if (!canCopySelected())
    {
        monitorLog.append ("Copy parameter value is unavailable. Select a copyable parameter first.\n");
        return;
    }
    copied.present = true;
    copied.shape = ParameterCatalogue::row (selectedRow);
    copied.value = values[(size_t)selectedRow];
    monitorLog.append (std::string ("Copied ") + copied.shape.name + " value " + std::to_string (copied.value) + ".\n");
}

void EditorEngine::pasteSelectedValue()
{
    if (selectedRow < 0)
    {
        monitorLog.append ("Paste parameter value is unavailable. Select a compatible target parameter first.\n");
        return;
    }
    const auto& target = ParameterCatalogue::row (selectedRow);
    if (!canPasteSelected())
    {
        monitorLog.append (std::string ("Paste parameter value blocked. Copied ") +
                           (copied.present ? copied.shape.name : "nothing") + " is not compatible with " + target.name +
                           ".\n");
        return;
    }
    const int v = std::clamp (copied.value, target.rawMin, target.rawMax);
    notePlayerChange ("PASTE " + editNameOfRow (selectedRow), true);
    setValue (selectedRow, v);
    edited = true;
    if (onDisplayedValueEdited)
        onDisplayedValueEdited();
    if (editorSettings.sendChangesImmediately)
        sendCatalogue (selectedRow, v);
    monitorLog.append (std::string ("Pasted ") + copied.shape.name + " value " + std::to_string (v) + " to " +
                       target.name + ".\n");
}

void EditorEngine::transferCurrentMidi()
{
    if (midiOutput == nullptr)
    {
        monitorLog.append (
            "No MIDI output is open. Open the Orvo MIDI output before transferring current MIDI values.\n");
        return;
    }
    int sent = 0;
    for (int r = 0; r < numRows; ++r)
        if (ParameterCatalogue::row (r).nrpn >= 0)
        {
            sendCatalogue (r, values[(size_t)r]);
            ++sent;
        }
    monitorLog.append ("Transferred current MIDI editor values to Orvo: " + std::to_string (sent) + " parameters.\n");
}

std::vector<int> EditorEngine::rowsOfPage (int tab) const
{
    std::vector<int> rows;
    for (const auto& plan : pagePlans())
        if (plan.tab == tab)
            for (const auto& panel : plan.panels)
                rows.insert (rows.end(), panel.rows.begin(), panel.rows.end());
    return rows;
}

std::pair<std::string, std::string> EditorEngine::sendShownValues()
{
    for (int r : rowsOfPage (currentPage))
        sendCatalogue (r, values[(size_t)r]);
    return { "Send Shown Values",
             "The editor sent every value currently shown on this page. Use this after changing pages "
             "or recalling a patch when you want the Orvo to match the visible controls." };
}

void EditorEngine::receiveHostParameter (const std::string& key, double value, int)
{
    const bool previous = hostInput;
    hostInput = true;
    const int raw = std::isfinite (value) ? (int)std::lround (value) : 0;
    const std::string interfacePrefix = "__interface:";
    const std::string effectPrefix = "__effect:";
    if (key.rfind (interfacePrefix, 0) == 0)
    {
        const auto digits = key.substr (interfacePrefix.size());
        if (!digits.empty() && digits.find_first_not_of ("0123456789") == std::string::npos && digits.size() < 6)
            if (const auto* info = InterfaceControls::find (std::stoi (digits)))
            {
                const int v = std::clamp (raw, 0, 16383);
                interfaceValueChanges.emplace_back (info->nrpn, v);
                sendInterface (info->nrpn, v, InterfaceControls::actionLabel (*info, v));
            }
    }
    else if (key.rfind ("__mod:", 0) == 0 && modulationRouting.value (key).has_value())
    {
        if (auto send = modulationRouting.setField (key, raw))
            sendInterface (send->nrpn, send->value, send->actionLabel);
    }
    else if (key.rfind (effectPrefix, 0) == 0 && effectParameterInput &&
             effectParameterInput (key.substr (effectPrefix.size()), raw))
    {
        // The effects page took the value and sent its NRPN.
    }
    else if (auto row = ParameterCatalogue::findById (key))
    {
        notePlayerChange (editNameOfRow (*row));
        setValue (*row, raw);
        sendCatalogue (*row, values[(size_t)*row]);
    }
    hostInput = previous;
}

std::vector<std::pair<int, int>> EditorEngine::takeInterfaceValueChanges()
{
    return std::exchange (interfaceValueChanges, {});
}

std::string EditorEngine::produceEditorState() const
{
    auto* root = new juce::DynamicObject();
    root->setProperty ("schema", "orvo.editor.plugin-state.v1");
    root->setProperty ("version", 1);
    root->setProperty ("selectedPageTabIndex", currentPage);
    root->setProperty ("selectedBankIndex", bankIndex.load());
    root->setProperty ("selectedProgramIndex", programTens + programUnits);
    juce::Array<juce::var> parameters;
    for (int r = 0; r < numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        auto* p = new juce::DynamicObject();
        p->setProperty ("id", juce::String (info.id));
        p->setProperty ("rawValue", values[(size_t)r]);
        p->setProperty ("page", juce::String (ParameterCatalogue::pageGroupName (info.group)));
        p->setProperty ("section", juce::String (info.section));
        parameters.add (juce::var (p));
    }
    root->setProperty ("parameters", parameters);
    if (toolStateOut)
        root->setProperty ("controlPages", toolStateOut());
    else
    {
        auto* tools = new juce::DynamicObject();
        tools->setProperty ("version", 1);
        tools->setProperty ("morph", juce::var (new juce::DynamicObject()));
        tools->setProperty ("macros", juce::Array<juce::var>());
        tools->setProperty ("midiControl", juce::var (new juce::DynamicObject()));
        root->setProperty ("controlPages", juce::var (tools));
    }
    return juce::JSON::toString (juce::var (root)).toStdString();
}

bool EditorEngine::restoreEditorState (const std::string& document)
{
    juce::var parsed;
    if (parseJson (std::string_view (document), parsed).failed())
        parsed = juce::var();
    auto* root = parsed.getDynamicObject();
    if (root == nullptr || root->getProperty ("schema").toString() != "orvo.editor.plugin-state.v1")
    {
        monitorLog.append ("Editor state not restored: the document is not an Orvo editor state.\n");
        return false;
    }
    const auto number = [root] (const char* key) -> std::optional<int>
    {
        const auto v = root->getProperty (key);
        return documentInt (v.isDouble() ? juce::var (std::round ((double)v)) : v);
    };
    if (auto b = number ("selectedBankIndex"))
        bankIndex = std::clamp (*b, 0, 4);
    if (auto p = number ("selectedProgramIndex"))
    {
        const int program = std::clamp (*p, 0, 127);
        programTens = program / 10 * 10;
        programUnits = program - programTens;
    }
    int count = 0;
    if (const auto* list = root->getProperty ("parameters").getArray())
        for (const auto& entry : *list)
            if (auto* o = entry.getDynamicObject())
                if (auto row = ParameterCatalogue::findById (o->getProperty ("id").toString().toStdString()))
                {
                    const auto v = o->getProperty ("rawValue");
                    if (const auto raw = documentInt (v.isDouble() ? juce::var (std::round ((double)v)) : v))
                    {
                        setValue (*row, *raw);
                        pendingValues[(size_t)*row].store (-1);
                        ++count;
                    }
                }
    if (const auto tools = root->getProperty ("controlPages"); tools.isObject() && toolStateIn)
        toolStateIn (tools);
    if (auto t = number ("selectedPageTabIndex"))
        setPage (*t);
    if (editorSettings.diagnosticMode)
        monitorLog.append ("Restored VST editor state: bank=" + std::to_string (bankIndex.load()) +
                           " program=" + std::to_string (programTens + programUnits) +
                           " page=" + std::to_string (currentPage) + " parameters=" + std::to_string (count) + "\n");
    return true;
}

} // namespace orvo
