#include "ToolsController.h"

#include "PagePlan.h"
#include "effects/EffectControlTable.h"
#include "library/AutoSaveTools.h"
#include "model/InterfaceControls.h"
#include "model/ModulationRoutes.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace orvo
{

ToolsController::ToolsController (EditorEngine& e, EffectsController& fx, LibrarianState& s, AutoSaveTools& a)
    : engine (e), effects (fx), state (s), autoSave (a), morphKnob (*this), macroKnobs (*this)
{
    mirroredValues.assign (Macros::count, -1);
    controllerSettingsChanged();
    // MIDI thread: decode and queue; the message thread applies.
    engine.onControllerMessage = [this] (const std::uint8_t* data, size_t size)
    {
        std::optional<ControllerMessage> m;
        {
            std::lock_guard<std::mutex> lock (inputLock);
            m = decoder.feed (data, size);
        }
        if (m)
            queue (*m);
    };
    engine.onForwardedNrpn = [this] (const NrpnEvent& event, int)
    {
        ControllerMessage m;
        m.inputType = (int)ControlInputType::nrpn;
        m.channel = event.channel;
        m.controller = event.parameter >> 7;
        m.controllerLsb = event.parameter & 127;
        m.value14 = event.value;
        m.value7 = event.value >> 7;
        queue (m);
    };
    const auto mirror = [this] (int nrpn, int value)
    {
        if (morphKnob.mirrorNrpn (nrpn, value))
            changed = true;
        if (InterfaceControls::find (nrpn) != nullptr)
            macroKnobs.mirror (InterfaceControls::key (nrpn), value);
    };
    engine.onInterfaceSent = mirror;
    effects.onIncomingValue = mirror;
    engine.toolStateOut = [this] { return toolData(); };
    engine.toolStateIn = [this] (const juce::var& object)
    {
        // The restored state may have moved the selection; its tools belong to that slot, which the
        // next tick shows.
        applyToolData (object);
        storeToolData (engine.selectedBank(), engine.selectedProgram());
    };
}

ToolsController::~ToolsController()
{
    engine.onControllerMessage = nullptr;
    engine.onForwardedNrpn = nullptr;
    engine.toolStateOut = nullptr;
    engine.toolStateIn = nullptr;
    engine.onInterfaceSent = nullptr;
    effects.onIncomingValue = nullptr;
}

void ToolsController::controllerSettingsChanged()
{
    const auto& s = engine.settings();
    if (s.controllerDecodeMode == decodeMode && s.controllerListenChannel == listenChannel)
        return;
    decodeMode = s.controllerDecodeMode;
    listenChannel = s.controllerListenChannel;
    // The decoder lives on the MIDI thread; it is only replaced under the input lock.
    std::lock_guard<std::mutex> lock (inputLock);
    decoder.setMode (decodeMode);
    decoder.setListenChannel (listenChannel);
}

void ToolsController::queue (const ControllerMessage& message)
{
    {
        std::lock_guard<std::mutex> lock (inputLock);
        // A stalled message thread keeps the newest messages, so the last value still wins.
        if (pending.size() >= inputQueueLimit)
            pending.erase (pending.begin(), pending.begin() + (std::ptrdiff_t) (inputQueueLimit / 2));
        pending.push_back (message);
    }
    if (onControllerInput)
        onControllerInput();
}

//==============================================================================
void ToolsController::tick()
{
    // A selection change or a load replaced the slot's tool data: the tools show the new slot.
    const int bank = state.selectedBank, slot = state.selectedSlot;
    if (LibrarianState::isValidBank (bank) && LibrarianState::isValidSlot (slot))
    {
        const auto& stored = state.slot (bank, slot).toolData;
        if (bank != shownBank || slot != shownSlot || !(stored == shownToolData))
        {
            shownBank = bank;
            shownSlot = slot;
            shownToolData = stored;
            AutoSaveTools::ScopedApplyingToolData applying (autoSave);
            applyToolData (stored);
        }
    }
    controllerSettingsChanged();
    followSelection();
    processControllerInput();

    for (int i = 0; i < Macros::count; ++i)
    {
        const auto& id = macroKnobs.macro (i).parameterId;
        const auto row = id.empty() ? std::nullopt : ParameterCatalogue::findById (id);
        if (!row)
            continue;
        if (const int v = engine.value (*row); v != mirroredValues[(size_t)i])
        {
            if (mirroredValues[(size_t)i] >= 0)
            {
                macroKnobs.mirror (id, v);
                changed = true;
            }
            mirroredValues[(size_t)i] = v;
        }
    }
}

void ToolsController::followSelection()
{
    const int row = engine.selected(), nrpn = engine.selectedInterfaceNrpn();
    if (row == seenRow && nrpn == seenInterface)
        return;
    seenRow = row;
    seenInterface = nrpn;
    if (row >= 0)
        controlChosen (ParameterCatalogue::row (row).id);
    else if (nrpn >= 0)
        controlChosen (InterfaceControls::key (nrpn));
}

void ToolsController::processControllerInput()
{
    {
        std::lock_guard<std::mutex> lock (inputLock);
        working.swap (pending);
    }
    if (working.empty())
        return;
    if (learn.load())
    {
        if (!target.empty())
        {
            assign (target, working.front().input());
            setLearning (false);
        }
        working.clear();
        return;
    }
    // Only each target's last position counts: a flood between two ticks costs one send per target.
    std::vector<std::pair<std::string, double>> latest;
    for (const auto& m : working)
    {
        auto id = controlMap.match (m);
        if (id.empty())
            continue;
        auto it = std::find_if (latest.begin(), latest.end(), [&id] (const auto& p) { return p.first == id; });
        if (it != latest.end())
            latest.erase (it);
        latest.emplace_back (std::move (id), m.position());
    }
    working.clear();
    for (const auto& [id, t] : latest)
        applyPosition (id, t);
    if (!latest.empty())
        changed = true;
}

void ToolsController::applyPosition (const std::string& targetId, double t)
{
    t = std::clamp (t, 0.0, 1.0);
    const auto resolved = resolve (targetId);
    switch (resolved.kind)
    {
        case Target::row:
        {
            const auto& info = ParameterCatalogue::row (resolved.index);
            int raw = 0;
            if (info.kind == kindToggle || info.kind == kindLatchedButton)
                raw = t >= 0.5 ? info.onValue : info.offValue;
            else if (info.kind == kindEnumButtons && info.labelCount > 0)
                raw = info.labels[(size_t)std::lround ((info.labelCount - 1) * t)].value;
            else
                raw = (int)std::lround ((info.rawMax - info.rawMin) * t + info.rawMin);
            engine.toolEdit (resolved.index, raw);
            break;
        }
        case Target::interfaceControl:
        {
            const int v = std::clamp ((int)std::lround (t * 4095), 0, 4095);
            editInterface (resolved.index, v,
                           InterfaceControls::actionLabel (*InterfaceControls::find (resolved.index), v));
            break;
        }
        case Target::effect:
            if (engine.effectParameterInput)
                engine.effectParameterInput (targetId.substr (9), (int)std::lround (t * 4095));
            break;
        case Target::route:
            if (const auto info = ModulationRoutes::resolve (targetId))
                if (const auto send = engine.modulation().setField (
                        targetId, (int)std::lround ((info->rawMax - info->rawMin) * t + info->rawMin)))
                    engine.sendInterface (send->nrpn, send->value, send->actionLabel);
            break;
        case Target::morphKnob:
            morphKnob.setKnob (t * 100.0);
            break;
        case Target::macro:
            macroKnobs.setKnob (resolved.index, t * 100.0);
            break;
        case Target::none:
            break;
    }
}

//==============================================================================
ToolsController::Target ToolsController::resolve (const std::string& id) const
{
    Target t;
    t.id = id;
    if (id == "__morph")
        return { Target::morphKnob, 0, id, "MORPH KNOB" };
    if (id.rfind ("__macro", 0) == 0 && id.size() == 8 && id[7] >= '1' && id[7] <= '8')
        return { Target::macro, id[7] - '1', id, "MACRO " + id.substr (7) };
    if (id.rfind ("__interface:", 0) == 0)
    {
        const auto digits = id.substr (12);
        if (!digits.empty() && digits.size() <= 5 && digits.find_first_not_of ("0123456789") == std::string::npos)
            if (const auto* info = InterfaceControls::find (std::stoi (digits)))
                return { Target::interfaceControl, info->nrpn, id, info->caption };
        return t;
    }
    if (id.rfind ("__effect:", 0) == 0)
    {
        const auto key = id.substr (9);
        for (const auto& c : effectControlTable())
            if (c.id == key)
                return { Target::effect, (int)c.nrpn, id, c.effectName + " " + c.label };
        return t;
    }
    if (id.rfind (ModulationRoutes::keyPrefix, 0) == 0)
    {
        if (const auto info = ModulationRoutes::resolve (id))
            return { Target::route, info->route, id, info->label };
        return t;
    }
    if (const auto row = ParameterCatalogue::findById (id))
        return { Target::row, *row, id, ParameterCatalogue::row (*row).name };
    return t;
}

void ToolsController::selectTarget (const std::string& targetId)
{
    if (resolve (targetId).kind != Target::none)
    {
        target = targetId;
        changed = true;
    }
}

void ToolsController::controlChosen (const std::string& targetId)
{
    const auto resolved = resolve (targetId);
    if (resolved.kind == Target::none)
        return;
    if (resolved.kind == Target::row && morphKnob.assignMode() && morphKnob.selectedSlot() >= 0)
        morphKnob.assignFromRow (resolved.index);
    if ((resolved.kind == Target::row || resolved.kind == Target::interfaceControl) && macroKnobs.assignMode() &&
        macroKnobs.selectedMacro() >= 0)
        macroKnobs.assignFrom (targetId);
    target = targetId;
    changed = true;
}

bool ToolsController::assign (const std::string& targetId, const MidiControlInput& input)
{
    const auto resolved = resolve (targetId);
    if (resolved.kind == Target::none || !controlMap.assign (targetId, resolved.name, input))
        return false;
    log ("MIDI CONTROL assigned " + input.normalised().text() + " to " + resolved.name + ".\n");
    recordChange ("midi control assignment changed");
    return true;
}

void ToolsController::clearAssignment (const std::string& targetId)
{
    if (!controlMap.clear (targetId))
        return;
    log ("MIDI CONTROL cleared for " + resolve (targetId).name + ".\n");
    recordChange ("midi control assignment cleared");
}

void ToolsController::setLearning (bool on)
{
    learn.store (on);
    // While learning, the instrument's own knobs can be learned too.
    engine.forwardNrpnsToControl.store (on);
    changed = true;
}

std::string ToolsController::assignmentText (const std::string& targetId) const
{
    const auto* a = controlMap.find (targetId);
    return a == nullptr ? "MIDI CONTROL: -" : "MIDI CONTROL: " + a->input.text();
}

//==============================================================================
void ToolsController::editRow (int row, int raw)
{
    engine.toolEdit (row, raw);
    // The macro's own move is not a change to mirror back into it.
    for (int i = 0; i < Macros::count; ++i)
        if (macroKnobs.macro (i).parameterId == ParameterCatalogue::row (row).id)
            mirroredValues[(size_t)i] = engine.value (row);
}

void ToolsController::editInterface (int nrpn, int value, const std::string& actionLabel)
{
    engine.toolInterfaceEdit (nrpn, value, actionLabel);
}

void ToolsController::recordChange (const std::string& what)
{
    // A knob that moves many controls is one edit of its own name.
    if (what.rfind ("morph", 0) == 0)
        engine.notePlayerChange ("MORPH", true);
    else if (what == "macro value changed")
        engine.notePlayerChange ("MACRO", true);
    engine.markEdited();
    storeToolData();
    autoSave.markSlotDirty (state.selectedBank, state.selectedSlot);
    changed = true;
}

int ToolsController::randomBelow (int n)
{
    if (n <= 1)
        return 0;
    return random ? std::clamp (random (n), 0, n - 1) : juce::Random::getSystemRandom().nextInt (n);
}

std::vector<MorphCandidate> ToolsController::randomiseCandidates() const
{
    std::vector<MorphCandidate> list;
    std::set<int> seen;
    for (const auto& plan : pagePlans())
        for (const auto& panel : plan.panels)
            for (int row : panel.rows)
            {
                const auto& info = ParameterCatalogue::row (row);
                if (info.kind == kindContinuous && info.nrpn >= 0 && seen.insert (row).second)
                    list.push_back ({ row, info.name, info.nrpn, false, engine.value (row) });
            }
    for (int nrpn : { 3072, 3073, 3331, 3332 })
        if (const auto* info = InterfaceControls::find (nrpn))
            list.push_back ({ -1, info->caption, nrpn, InterfaceControls::usesPanDisplay (*info), 0 });
    auto& page = effects.page();
    for (int p = 0; p < 6; ++p)
        for (int s = 0; s < 6; ++s)
            if (const auto c = page.control (p, s); c.filled)
                list.push_back ({ -1, c.label, c.nrpn, false, c.raw });
    return list;
}

//==============================================================================
std::string ToolsController::notes() const
{
    const int bank = state.selectedBank, slot = state.selectedSlot;
    if (!LibrarianState::isValidBank (bank) || !LibrarianState::isValidSlot (slot))
        return {};
    return state.slot (bank, slot).notes;
}

void ToolsController::setNotes (const std::string& text)
{
    const int bank = state.selectedBank, slot = state.selectedSlot;
    if (!LibrarianState::isValidBank (bank) || !LibrarianState::isValidSlot (slot) ||
        state.slot (bank, slot).notes == text)
        return;
    state.slot (bank, slot).notes = text;
    autoSave.markSlotDirty (bank, slot);
    changed = true;
}

bool ToolsController::liveToolsHoldAnything() const
{
    return morphKnob.anyValid() || macroKnobs.anyAssigned() || !controlMap.empty();
}

juce::var ToolsController::toolData() const
{
    const int bank = state.selectedBank, slot = state.selectedSlot;
    const bool validSlot = LibrarianState::isValidBank (bank) && LibrarianState::isValidSlot (slot);
    if (!liveToolsHoldAnything() && validSlot && state.slot (bank, slot).toolData.isObject())
        return state.slot (bank, slot).toolData;
    auto* o = new juce::DynamicObject();
    o->setProperty ("version", 1);
    o->setProperty ("morph", morphKnob.toVar());
    o->setProperty ("macros", macroKnobs.toVar());
    o->setProperty ("midiControl", controlMap.toVar());
    return juce::var (o);
}

void ToolsController::storeToolData()
{
    storeToolData (state.selectedBank, state.selectedSlot);
}

void ToolsController::storeToolData (int bank, int slot)
{
    if (!LibrarianState::isValidBank (bank) || !LibrarianState::isValidSlot (slot))
        return;
    auto* o = new juce::DynamicObject();
    o->setProperty ("version", 1);
    o->setProperty ("morph", morphKnob.toVar());
    o->setProperty ("macros", macroKnobs.toVar());
    o->setProperty ("midiControl", controlMap.toVar());
    state.slot (bank, slot).toolData = juce::var (o);
    if (bank == shownBank && slot == shownSlot)
        shownToolData = state.slot (bank, slot).toolData;
}

void ToolsController::applyToolData (const juce::var& object)
{
    morphKnob.fromVar (object.getProperty ("morph", {}));
    macroKnobs.fromVar (object.getProperty ("macros", {}));
    controlMap.fromVar (object.getProperty ("midiControl", {}),
                        [this] (const std::string& id) { return resolve (id).kind != Target::none; });
    mirroredValues.assign (Macros::count, -1);
    changed = true;
}

//==============================================================================
int ToolsController::clipboardPage() const
{
    for (int pane : { SidebarModel::top, SidebarModel::bottom })
        switch (engine.sidebars().tool (pane))
        {
            case SidebarModel::morphKnob:
                return SidebarSettings::morph;
            case SidebarModel::macros:
                return SidebarSettings::macros;
            case SidebarModel::notes:
                return SidebarSettings::notes;
            case SidebarModel::midiControl:
                return SidebarSettings::midiControl;
            default:
                break;
        }
    return -1;
}

bool ToolsController::canPasteSidebarSettings() const
{
    const int page = clipboardPage();
    return page >= 0 && SidebarSettings::read (engine.services().clipboard.getText(), (SidebarSettings::Page) page).has_value();
}

void ToolsController::copySidebarSettings()
{
    const int page = clipboardPage();
    if (page < 0)
    {
        log ("Copy sidebar settings is unavailable. Select Morph Knob, Macros, MIDI Control, or Notes first.\n");
        return;
    }
    const auto p = (SidebarSettings::Page)page;
    juce::var settings;
    std::string scope;
    switch (p)
    {
        case SidebarSettings::morph:
            settings = morphKnob.toVar();
            break;
        case SidebarSettings::macros:
            settings = macroKnobs.toVar();
            break;
        case SidebarSettings::midiControl:
            settings = controlMap.toVar();
            break;
        case SidebarSettings::notes:
        {
            auto* o = new juce::DynamicObject();
            o->setProperty ("text", juce::String (notes()));
            settings = juce::var (o);
            scope = LibrarianState::isProgramBank (state.selectedBank) ? "program" : "mix";
            break;
        }
    }
    engine.services().clipboard.setText (SidebarSettings::write (p, settings, scope));
    log (std::string ("Copied ") + SidebarSettings::label (p) + " settings.\n");
}

void ToolsController::pasteSidebarSettings()
{
    const int page = clipboardPage();
    if (page < 0)
    {
        log ("Paste sidebar settings is unavailable. Select Morph Knob, Macros, MIDI Control, or Notes first.\n");
        return;
    }
    const auto p = (SidebarSettings::Page)page;
    const auto settings = SidebarSettings::read (engine.services().clipboard.getText(), p);
    if (!settings)
    {
        log (std::string ("Paste ") + SidebarSettings::label (p) +
             " settings blocked. The clipboard does not contain matching settings.\n");
        return;
    }
    {
        AutoSaveTools::ScopedApplyingToolData applying (autoSave);
        switch (p)
        {
            case SidebarSettings::morph:
                morphKnob.fromVar (*settings);
                break;
            case SidebarSettings::macros:
                macroKnobs.fromVar (*settings);
                mirroredValues.assign (Macros::count, -1);
                break;
            case SidebarSettings::midiControl:
                controlMap.fromVar (*settings,
                                    [this] (const std::string& id) { return resolve (id).kind != Target::none; });
                break;
            case SidebarSettings::notes:
                setNotes (settings->getProperty ("text", "").toString().toStdString());
                break;
        }
        storeToolData();
        recordChange ("pasted sidebar settings");
    }
    log (std::string ("Pasted ") + SidebarSettings::label (p) + " settings.\n");
}

} // namespace orvo
