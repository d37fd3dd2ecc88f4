#include "EditorDocumentHost.h"

namespace orvo
{

EditorDocumentHost::EditorDocumentHost (LibrarianEditor& e, LibrarianState& s, LibrarianLog l)
    : editor (e), state (s), logFn (std::move (l))
{
}

juce::var EditorDocumentHost::editorParameters (const LibrarianEditor& editor)
{
    std::vector<ParameterEntry> entries;
    entries.reserve ((size_t)ParameterCatalogue::numRows);
    for (int r = 0; r < ParameterCatalogue::numRows; ++r)
    {
        const auto& info = ParameterCatalogue::row (r);
        entries.push_back ({ info.id, editor.value (r), ParameterCatalogue::pageGroupName (info.group), info.section });
    }
    for (auto& e : editor.extraParameters())
        entries.push_back (std::move (e));
    return parameterEntriesToVar (entries);
}

void EditorDocumentHost::loadTagTable()
{
    if (loadTagTableHook)
        loadTagTableHook();
}

void EditorDocumentHost::setSlotName (int bank, int slot, const std::string& name)
{
    loadingBank = bank;
    loadingSlot = slot;
    state.names.setName (bank, slot, name);
}

void EditorDocumentHost::setSlotTags (int bank, int slot, const std::vector<std::string>& tags)
{
    juce::Array<juce::var> keys;
    for (const auto& t : tags)
        keys.add (jsonText (t));
    state.slot (bank, slot).tags = normalizeTagKeys (juce::var (keys));
}

void EditorDocumentHost::setSlotNotes (int bank, int slot, const std::string& notes)
{
    state.slot (bank, slot).notes = notes;
}

void EditorDocumentHost::setWedgePreset (int bank, int slot, const juce::var& assignment)
{
    state.slot (bank, slot).wedgePreset = assignment;
}

void EditorDocumentHost::setSnapshot (int bank, int slot, const juce::var& parameters)
{
    state.slot (bank, slot).parameters = parameters;
}

void EditorDocumentHost::takeSnapshotFromEditor (int bank, int slot)
{
    state.slot (bank, slot).parameters = editorParameters (editor);
}

void EditorDocumentHost::clearProgramSysEx (int bank, int slot)
{
    state.slot (bank, slot).programSysEx.clear();
}

void EditorDocumentHost::applyProgramDump (int bank, int slot, const ByteVector& dump,
                                           const DecodedProgramValues& values)
{
    editor.applyProgramValues (values.raw, values.defined);
    currentSysEx = dump;
    if (LibrarianState::isProgramBank (bank))
        state.slot (bank, slot).programSysEx = dump;
    if (programAppliedHook)
        programAppliedHook (values, unpackProgramDump (dump), dump);
    log ("Applied loaded Program SysEx to the editor: " + std::to_string (values.defined.count()) +
         " mapped parameters.\n");
}

bool EditorDocumentHost::setControlValue (const std::string& id, int rawValue)
{
    const auto row = ParameterCatalogue::findById (id);
    if (!row)
        return editor.setControlByKey (id, rawValue);
    // As the document holds it (clamped only): the toggle rule of incoming values must not flip a
    // latched button that the document stores as on.
    editor.setValue (*row, rawValue);
    return true;
}

bool EditorDocumentHost::showMixPayload (const MixPayload& payload, const std::string& title)
{
    return showMixHook && showMixHook (payload, loadingBank, loadingSlot, title);
}

void EditorDocumentHost::applyToolData (int bank, int slot, const juce::var& controlPages)
{
    state.slot (bank, slot).toolData = controlPages;
}

void EditorDocumentHost::recordDocumentPath (int bank, int slot, const juce::File& file)
{
    state.slot (bank, slot).documentFile = file;
}

void EditorDocumentHost::log (const std::string& line)
{
    if (logFn)
        logFn (line);
}

} // namespace orvo
