#include "WedgePresetController.h"

#include "midi/SysExProtocol.h"
#include "model/TextMatching.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orvo
{

namespace
{
const std::string configScreenHex = "F0 00 00 0E 1D 0E 1C 00 00 00 01 F7";
}

WedgePresetController::WedgePresetController (EditorEngine& e, EffectsController& fx, Assignments a)
    : engine (e), effects (fx), assignments (std::move (a))
{
}

WedgePresetController::~WedgePresetController()
{
    *alive = false;
}

std::string WedgePresetController::estimateText (int pairs)
{
    const int ticks = (pairs + 2) / pairsPerTick;
    char buf[16];
    std::snprintf (buf, sizeof buf, "%.1f", (ticks * tickMs + firstSettingsDelayMs) / 1000.0);
    return buf;
}

void WedgePresetController::after (int ms, std::function<void()> step)
{
    std::weak_ptr<bool> weak = alive;
    engine.services().scheduler.callAfter (ms, [weak, step = std::move (step)]
    {
        if (auto a = weak.lock(); a && *a)
            step();
    });
}

void WedgePresetController::selectPreset (int number)
{
    ++sendGeneration;
    sending = false;
    const auto* preset = findWedgePreset (number);
    if (preset == nullptr)
    {
        engine.log().append ("WEDGE PRESET " + text::threeDigits (number) +
                             ": captured Orvo settings have not been embedded yet; nothing was sent.\n");
        return;
    }
    current = preset;
    engine.notePlayerChange ("WEDGE PRESET " + preset->name, true);
    auto& page = effects.page();
    page.showAlgorithm (preset->algorithm, true);
    page.state().storeNrpnValue (effects::selectionNrpn, effectSelectionRawToSend (page.algorithm()));
    for (const auto& [nrpn, raw] : preset->settings)
        page.state().applyNrpnValue (nrpn, std::clamp (raw, 0, 4095));
    effects.pageChanged();
    if (assignments.set)
        assignments.set (engine.selectedBank(), engine.selectedProgram(), wedgeAssignmentObject (*preset));

    const auto label = wedgeMenuItemText (*preset);
    if (!engine.hasOutput())
    {
        engine.log().append ("WEDGE PRESET " + label +
                             " applied to the editor; MIDI output is not open, so nothing was sent to the Orvo.\n");
        return;
    }
    sending = true;
    nextPair = 0;
    startedMs = engine.clock().nowMs();
    estimate = estimateText ((int)preset->settings.size());
    overlay.show ("Sending Wedge " + label,
                  "Selecting " + effectAlgorithmName (preset->algorithm) + " · about " + estimate + " seconds total", 0.0);
    // The instrument echoes every value; those echoes must not clear the assignment just made.
    engine.effectSendGuard().open (startedMs);
    const int raw = effectSelectionRawToSend (preset->algorithm);
    engine.sendInterface (effects::selectionNrpn, raw, "WEDGE PRESET DIGITAL EFFECT");
    engine.effectSendGuard().recordSent (effects::selectionNrpn, raw);
    overlay.update ("Orvo effect selected; sending settings...", 1.0 / ((double)preset->settings.size() + 2.0));
    const auto generation = sendGeneration;
    after (firstSettingsDelayMs, [this, generation] { sendNextPairs (generation); });
}

void WedgePresetController::sendNextPairs (unsigned generation)
{
    if (generation != sendGeneration || current == nullptr)
        return;
    if (!engine.hasOutput())
        return finish (generation, false, "MIDI output closed before the preset finished.");
    const auto& settings = current->settings;
    for (int i = 0; i < pairsPerTick && nextPair < settings.size(); ++i, ++nextPair)
    {
        const int raw = std::clamp (settings[nextPair].second, 0, 4095);
        engine.sendInterface (settings[nextPair].first, raw, "WEDGE PRESET " + current->name);
        engine.effectSendGuard().recordSent (settings[nextPair].first, raw);
    }
    // A send slowed down by a busy machine must not outlast the windows that hold off its own echoes.
    engine.effectSendGuard().open (engine.clock().nowMs());
    const auto total = settings.size();
    overlay.update ("Sending setting " + std::to_string (nextPair) + " of " + std::to_string (total) + " · about " +
                        estimate + " seconds total",
                    (double)(nextPair + 1) / (double)(total + 2));
    if (nextPair < total)
        return after (tickMs, [this, generation] { sendNextPairs (generation); });
    overlay.update ("Settings sent; opening the Orvo Digital Effects CONFIG screen...", overlay.fraction);
    after (tickMs, [this, generation] { openConfigScreen (generation); });
}

void WedgePresetController::openConfigScreen (unsigned generation)
{
    if (generation != sendGeneration)
        return;
    if (!engine.hasOutput())
        return finish (generation, false, "MIDI output closed before the Digital Effects CONFIG screen selection.");
    engine.sendSysEx (buildMidiEditMessage (sysex::midiEditTargetEffectsConfig, 0, 0, 1));
    engine.log().append ("WEDGE PRESET: selected Orvo Digital Effects CONFIG screen via MIDI-edit SysEx " +
                         configScreenHex + "\n");
    const auto elapsed = std::to_string ((long long)std::llround (engine.clock().nowMs() - startedMs));
    const std::string name = current != nullptr ? current->name : "Wedge preset";
    engine.log().append ("WEDGE PRESET: " + name + " transfer complete in " + elapsed + " ms.\n");
    engine.effectSendGuard().open (engine.clock().nowMs());
    finish (generation, true, name + " sent to Orvo in " + elapsed + " ms.");
}

void WedgePresetController::finish (unsigned generation, bool ok, const std::string& text)
{
    sending = false;
    overlay.update (text, ok ? 1.0 : overlay.fraction);
    after (ok ? hideAfterSuccessMs : hideAfterFailureMs, [this, generation]
    {
        if (generation == sendGeneration && !sending)
            overlay.hide();
    });
}

int WedgePresetController::currentAssignment() const
{
    if (!assignments.get)
        return wedge::noPreset;
    return wedgeAssignmentNumber (assignments.get (engine.selectedBank(), engine.selectedProgram()));
}

void WedgePresetController::clearAssignment (const std::string& reason)
{
    if (currentAssignment() == wedge::noPreset || !assignments.set)
        return;
    assignments.set (engine.selectedBank(), engine.selectedProgram(), juce::var());
    engine.log().append ("Cleared current Program's Wedge preset assignment: " + reason + ".\n");
}

void WedgePresetController::instrumentChangedEffect (int nrpn)
{
    if (EffectSendGuard::isGuarded (nrpn))
        clearAssignment ("digital-effect value changed");
}

void WedgePresetController::editorSelectedAlgorithm (int index)
{
    const auto* assigned = findWedgePreset (currentAssignment());
    if (assigned != nullptr && assigned->algorithm != clampEffectAlgorithm (index))
        clearAssignment ("digital-effect algorithm changed");
}

} // namespace orvo
