#include "EffectsReadback.h"

#include <algorithm>

namespace orvo
{

namespace
{
std::string algorithmNameOrDefault (int index)
{
    return index >= 0 && index < effects::numAlgorithms ? effectAlgorithmName (index) : "Digital Effect";
}
} // namespace

EffectsReadback::EffectsReadback (EditorEngine& e, EffectsController& fx, ProgramDataRequests r)
    : engine (e), effects (fx), requests (std::move (r))
{
}

EffectsReadback::~EffectsReadback()
{
    *alive = false;
}

void EffectsReadback::after (int ms, std::function<void()> step)
{
    std::weak_ptr<bool> weak = alive;
    engine.services().scheduler.callAfter (ms, [weak, step = std::move (step)]
    {
        if (auto a = weak.lock(); a && *a)
            step();
    });
}

void EffectsReadback::logLine (const std::string& line)
{
    // The readback's own lines belong to the diagnostic log.
    if (engine.diagnosticLogOn())
        engine.log().append (line);
}

void EffectsReadback::start (int algorithm)
{
    const auto mine = ++generation;
    running = true;
    overlay.show (title, "Waiting for the Orvo to load " + algorithmNameOrDefault (algorithm) + "...", 0.12);
    after (settleMs, [this, mine, algorithm] { attempt (mine, algorithm, 0); });
}

void EffectsReadback::attempt (unsigned mine, int algorithm, int attemptNumber)
{
    if (mine != generation || algorithm != effects.page().algorithm())
        return;
    if (requests.isProgramDataBusy && requests.isProgramDataBusy())
    {
        if (attemptNumber < maxBusyAttempts)
        {
            overlay.update ("Waiting for another Orvo data request to finish...", 0.28);
            after (busyRetryMs, [this, mine, algorithm, attemptNumber] { attempt (mine, algorithm, attemptNumber + 1); });
            return;
        }
        logLine ("Digital Effects readback was skipped because another Orvo Program read is still active.\n");
        return finish (mine, false, "Could not read the effect because another Orvo data request is still active.");
    }
    if (!engine.hasOutput())
    {
        logLine ("Digital Effects readback could not start because no Orvo MIDI output is open.\n");
        return finish (mine, false, "No Orvo MIDI output is open. Effect values were not loaded.");
    }
    overlay.update ("Requesting the current parameter values from the Orvo...", 0.52);
    pendingToken = mine;
    expected = algorithm;
    if (requests.requestEditBufferRefresh)
        requests.requestEditBufferRefresh ("to read the selected Digital Effects parameters", algorithm);
    after (timeoutMs, [this, mine] { timedOut (mine); });
}

void EffectsReadback::timedOut (unsigned mine)
{
    if (pendingToken != mine)
        return;
    pendingToken = 0;
    if (requests.clearEditBufferRefresh)
        requests.clearEditBufferRefresh();
    if (mine != generation)
        return;
    logLine ("Digital Effects readback timed out waiting for the Orvo Program edit buffer.\n");
    finish (mine, false, "Timed out waiting for effect data from the Orvo.");
}

void EffectsReadback::replyReceived (const std::optional<UnpackedProgram>& program)
{
    if (pendingToken == 0)
        return;
    const auto mine = std::exchange (pendingToken, 0u);
    if (!program || program->empty())
    {
        logLine ("Digital Effects readback received an Orvo Program dump that could not be parsed.\n");
        return finish (mine, false, "The Orvo responded, but its effect data could not be read.");
    }
    if (apply (*program, expected))
        finish (mine, true, "Effect parameters loaded from the Orvo.");
    else
        finish (mine, false, "The returned effect data did not match the selected effect.");
}

bool EffectsReadback::apply (const UnpackedProgram& program, int expectedAlgorithm)
{
    auto& page = effects.page();
    if (expectedAlgorithm != clampEffectAlgorithm (page.algorithm()))
    {
        logLine ("Ignored an older Digital Effects readback after the effect selection changed.\n");
        return false;
    }
    const auto bytes = storedEffectBytesOf (program);
    const int selectionRaw = effectSelectionRawFromProgram (bytes.algorithmByte.value_or (0));
    const int reported = std::min (selectionRaw * effects::numAlgorithms / 4095, effects::lastAlgorithm);
    if (!bytes.algorithmByte || reported != expectedAlgorithm)
    {
        logLine ("Digital Effects readback was not applied: expected algorithm " + effectAlgorithmName (expectedAlgorithm) +
                 ", but the Orvo Program dump reported " + algorithmNameOrDefault (bytes.algorithmByte ? reported : -1) + ".\n");
        return false;
    }
    auto& state = page.state();
    int count = 0;
    state.storeNrpnValue (effects::selectionNrpn, selectionRaw);
    ++count;
    if (bytes.sendWord)
        state.applyNrpnValue (effects::sendNrpn, std::clamp (effectWordToRaw (*bytes.sendWord), 0, 4095)), ++count;
    if (bytes.panWord)
        state.applyNrpnValue (effects::panNrpn, std::clamp (effectWordToRaw (*bytes.panWord), 0, 4095)), ++count;
    std::string skipped;
    for (int k = 0; k < (int)bytes.parameters.size(); ++k)
        if (applyStoredEffectParameter (state, expectedAlgorithm, k, bytes.parameters[(size_t)k], skipped))
            ++count;
    logLine (skipped);
    effects.pageChanged();
    logLine ("Read " + std::to_string (count) + " visible Digital Effects controls from the Orvo for " +
             effectAlgorithmName (expectedAlgorithm) + ".\n");
    return true;
}

void EffectsReadback::finish (unsigned mine, bool ok, const std::string& text)
{
    if (mine != generation)
        return;
    running = false;
    if (!overlay.visible)
        return;
    overlay.update (text, ok ? 1.0 : 0.72);
    after (ok ? hideAfterSuccessMs : hideAfterFailureMs, [this, mine]
    {
        if (mine == generation && !running)
            overlay.hide();
    });
}

} // namespace orvo
