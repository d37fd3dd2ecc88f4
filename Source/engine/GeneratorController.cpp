#include "GeneratorController.h"

#include "library/AtomicFile.h"
#include "library/FileNaming.h"
#include "library/JsonText.h"
#include "model/InterfaceControls.h"
#include "model/ModulationRoutes.h"
#include "model/ValueText.h"

namespace orvo
{
namespace
{
const char* bankName (int bank)
{
    static const char* names[] = { "USER", "PRESET 1", "PRESET 2", "MIX 1", "MIX 2" };
    return names[std::clamp (bank, 0, 4)];
}

std::string sectionOfInterface (int nrpn)
{
    if (const auto* info = InterfaceControls::find (nrpn))
        return info->section;
    if (!ModulationRoutes::fieldsForNrpn (nrpn).empty())
        return "MOD ROUTING";
    return EditorEngine::isDigitalEffectNrpn (nrpn) || nrpn == 3609 ? "DIGITAL EFFECTS" : "";
}
} // namespace

GeneratorController::GeneratorController (EditorEngine& e, EffectsController& fx, Hooks h)
    : engine (e), effects (fx), hooks (std::move (h))
{
}

GeneratorController::~GeneratorController()
{
    *alive = false;
}

void GeneratorController::pressVoiceButton (GeneratorSettings::Voice voice)
{
    settings.voice = settings.voice == voice ? GeneratorSettings::Voice::either : voice;
    ++changes;
}

void GeneratorController::generate()
{
    generate (engine.clock().wallClockMs());
}

void GeneratorController::generate (std::int64_t seed)
{
    auto program = ProgramGenerator::generateBass (seed, settings, engine.outputChannel());
    ProgramGenerator::stamp (program, engine.clock().wallClockMs());
    generated = std::move (program);
    engine.log().append (ProgramGenerator::logText (*generated, engine.hasOutput()));
    apply();
    startTransfer();
}

void GeneratorController::apply()
{
    engine.notePlayerChange ("GENERATED PROGRAM", true);
    queue.clear();
    int applied = 0;
    skippedCount = 0;
    for (const auto& edit : generated->parameterEdits)
    {
        if (edit.row < 0)
        {
            ++skippedCount;
            continue;
        }
        engine.setValue (edit.row, edit.raw);
        ++applied;
        if (ParameterCatalogue::row (edit.row).nrpn >= 0)
            queue.push_back ({ edit.row, ParameterCatalogue::row (edit.row).nrpn, engine.value (edit.row), {} });
    }
    for (const auto& edit : generated->interfaceEdits)
    {
        if (edit.nrpn < 0)
        {
            ++skippedCount;
            continue;
        }
        // Routes and effect controls keep their values in the editor; page buttons show what the
        // instrument echoes back.
        effects.applyInterfaceValue (edit.nrpn, edit.raw);
        ++applied;
        queue.push_back ({ -1, edit.nrpn, edit.raw, edit.label });
    }
    std::string line = "BASS GENERATOR complete: applied " + std::to_string (applied) + " NRPN values to the editor";
    if (skippedCount > 0)
        line += ", skipped " + std::to_string (skippedCount) + " unmapped/missing values";
    engine.log().append (line + ". Queued " + std::to_string (queue.size()) +
                         " sendable NRPN values for the Orvo transfer.\n\n");
}

void GeneratorController::setStatus (std::string text, std::optional<double> fraction)
{
    statusText = std::move (text);
    transferProgress = fraction;
    ++changes;
}

void GeneratorController::startTransfer()
{
    const std::string label = "BASS";
    const auto mine = ++transferGeneration; // a newer generation silences every older tick
    sent = 0;
    finished = true;
    transferTotal = 0;
    if (!engine.hasOutput())
        return setStatus (label + " applied to the editor; MIDI output is not open.");
    if (queue.empty())
        return setStatus (label + " generator did not produce sendable NRPNs.");
    transferTotal = (int)queue.size();
    finished = false;
    setStatus (label + " sending NRPNs 0/" + std::to_string (transferTotal) + "...", 0.0);
    std::weak_ptr<bool> weak = alive;
    engine.scheduler().callAfter (firstSendDelayMs,
                                  [this, weak, mine]
                                  {
                                      if (auto a = weak.lock(); a && *a)
                                          transferTick (mine);
                                  });
}

void GeneratorController::transferTick (std::uint64_t mine)
{
    if (mine != transferGeneration || finished)
        return;
    const std::string label = "BASS";
    if (!engine.hasOutput())
    {
        finished = true;
        setStatus (label + " transfer stopped; MIDI output closed with " + std::to_string (queue.size() - sent) +
                   " NRPNs remaining.");
        engine.log().append ("PROGRAM GENERATOR: transfer stopped because MIDI output closed.\n\n");
        return;
    }
    for (int i = 0; i < valuesPerTick && sent < queue.size(); ++i, ++sent)
    {
        const auto& p = queue[sent];
        if (p.row >= 0)
            engine.sendCatalogue (p.row, p.raw);
        else
            engine.sendInterface (p.nrpn, p.raw, p.label);
    }
    std::weak_ptr<bool> weak = alive;
    auto later = [this, weak, mine] (int delay, std::function<void()> step)
    {
        engine.scheduler().callAfter (delay,
                                      [this, weak, mine, step]
                                      {
                                          if (auto a = weak.lock(); a && *a && mine == transferGeneration)
                                              step();
                                      });
    };
    if (sent < queue.size())
    {
        setStatus (label + " sending NRPNs " + std::to_string (sent) + "/" + std::to_string (transferTotal) + "...",
                   (double)sent / transferTotal);
        later (sendIntervalMs, [this, mine] { transferTick (mine); });
        return;
    }
    setStatus (label + " finalizing...", 1.0);
    later (finalizeDelayMs,
           [this, label]
           {
               finished = true;
               setStatus (label + " ready to play.");
               engine.log().append (label + " GENERATOR transfer complete: sent " + std::to_string (transferTotal) +
                                    " NRPN values. Ready to play.\n\n");
           });
}

juce::var GeneratorController::feedbackRecord (const GeneratedProgram& p, const std::string& rating,
                                               const std::string& badReason, const std::string& badReasonLabel,
                                               const std::string& savedAt, const std::string& programName, int bank,
                                               int slot, int sendable, int skipped)
{
    auto* o = new juce::DynamicObject();
    juce::var record (o);
    auto set = [o] (const char* key, const juce::var& v) { o->setProperty (key, v); };
    set ("schema", "orvo.generator-feedback.v2");
    set ("feedbackSavedAt", juce::String (savedAt));
    set ("category", juce::String (p.category));
    set ("categoryLabel", juce::String (p.categoryLabel));
    set ("rating", juce::String (rating));
    set ("badReason", juce::String (badReason));
    set ("badReasonLabel", juce::String (badReasonLabel));
    set ("generationId", juce::String (p.generationId));
    set ("generatedAt", juce::String (p.generatedAt));
    set ("seed", (juce::int64)p.seed);
    set ("recipeId", juce::String (p.recipeId));
    set ("recipeDescription", juce::String (p.recipeDescription));
    set ("appProgramName", juce::String (programName));
    set ("appBank", bankName (bank));
    set ("appBankNumber", bank);
    set ("appProgram", slot);
    set ("channel", p.channel);
    set ("unisonVoices", p.unisonVoices);
    set ("voiceModePreference", juce::String (p.voiceModePreference));
    set ("voiceModeUsed", juce::String (p.voiceModeUsed));
    set ("experimentalAmount", p.experimentalAmount);
    set ("experimentalEdgeAuditionMode", p.experimentalEdgeAuditionMode);
    set ("preFilterTotal", p.preFilterTotal);
    set ("postFilterTotal", p.postFilterTotal);
    set ("parameterEditCount", (int)p.parameterEdits.size());
    set ("interfaceEditCount", (int)p.interfaceEdits.size());
    set ("sendableNrpnCount", sendable);
    set ("skippedCount", skipped);
    set ("analogDistortionAvailable", p.analogDistortionAvailable);
    set ("analogDistortionUsed", p.analogDistortionUsed);
    set ("analogDistortionType", juce::String (p.analogDistortionType));
    set ("digitalEffectsAvailable", p.digitalEffectsAvailable);
    set ("digitalEffectsUsed", p.digitalEffectsUsed);
    set ("digitalEffectName", juce::String (p.digitalEffectName));
    juce::Array<juce::var> notes;
    for (const auto& n : p.guardrailNotes)
        notes.add (juce::String (n));
    set ("guardrailNotes", notes);
    juce::Array<juce::var> parameters;
    for (const auto& edit : p.parameterEdits)
    {
        auto* e = new juce::DynamicObject();
        const auto* info = edit.row >= 0 ? &ParameterCatalogue::row (edit.row) : nullptr;
        e->setProperty ("parameterId", juce::String (edit.parameterId));
        e->setProperty ("display", info ? juce::String (ValueText::displayText (*info, edit.raw)) : juce::String());
        e->setProperty ("valueKind", edit.display ? "display" : "raw");
        e->setProperty ("value", edit.value);
        e->setProperty ("raw", edit.raw);
        e->setProperty ("nrpn", info ? info->nrpn : -1);
        e->setProperty ("displayName", info ? info->name : "");
        e->setProperty ("sectionName", info ? info->section : "");
        e->setProperty ("rawMin", info ? info->rawMin : 0);
        e->setProperty ("rawMax", info ? info->rawMax : 0);
        e->setProperty ("displayMin", info ? info->displayMin : 0.0);
        e->setProperty ("displayMax", info ? info->displayMax : 0.0);
        parameters.add (juce::var (e));
    }
    set ("generatedParameterEdits", parameters);
    juce::Array<juce::var> interfaces;
    for (const auto& edit : p.interfaceEdits)
    {
        auto* e = new juce::DynamicObject();
        e->setProperty ("label", juce::String (edit.label));
        e->setProperty ("nrpn", edit.nrpn);
        e->setProperty ("rawValue", edit.raw);
        const auto routeFields = ModulationRoutes::fieldsForNrpn (edit.nrpn);
        e->setProperty ("parameterId",
                        juce::String (routeFields.empty()
                                          ? InterfaceControls::key (edit.nrpn)
                                          : ModulationRoutes::fieldKey (routeFields[0].route, routeFields[0].field)));
        const auto name = InterfaceControls::nameForNrpn (edit.nrpn);
        e->setProperty ("displayName", juce::String (name.empty() ? edit.label : name));
        e->setProperty ("sectionName", juce::String (sectionOfInterface (edit.nrpn)));
        interfaces.add (juce::var (e));
    }
    set ("generatedInterfaceEdits", interfaces);
    return record;
}

void GeneratorController::rate (Rating rating, BadReason reason)
{
    const std::string label = "BASS";
    if (!generated)
        return setStatus ("Generate a Program first, then rate it.");
    std::string ratingKey = rating == Rating::safe ? "safe" : rating == Rating::experimental ? "experimental" : "bad";
    std::string reasonKey, reasonLabel;
    if (rating == Rating::bad)
    {
        reasonKey = reason == BadReason::notBass           ? "not-bass"
                    : reason == BadReason::doesNotPlay     ? "does-not-play"
                    : reason == BadReason::tooExperimental ? "too-experimental"
                                                           : "";
        reasonLabel = reason == BadReason::notBass           ? "NOT BASS"
                      : reason == BadReason::doesNotPlay     ? "DOESNT PLAY"
                      : reason == BadReason::tooExperimental ? "TOO EXPERIMENTAL"
                                                             : "";
    }
    const auto folder = hooks.feedbackFolder ? hooks.feedbackFolder() : juce::File();
    if (folder == juce::File() || !folder.createDirectory())
    {
        engine.log().append (label + " FEEDBACK: could not create " + folder.getFullPathName().toStdString() + "\n");
        return setStatus ("Could not create the feedback folder.");
    }
    const int bank = engine.selectedBank(), slot = engine.selectedProgram();
    const auto record = feedbackRecord (*generated, ratingKey, reasonKey, reasonLabel,
                                        juce::Time (engine.clock().wallClockMs()).toISO8601 (true).toStdString(),
                                        hooks.slotName ? hooks.slotName (bank, slot) : std::string(), bank, slot,
                                        (int)queue.size(), skippedCount);
    // A second rating of the same generation is a second record, not a replacement.
    const auto file = uniqueFileIn (folder, generated->generationId, ".json");
    if (!writeFileAtomically (file, toJsonText (record)))
    {
        engine.log().append (label + " FEEDBACK: could not save " + file.getFullPathName().toStdString() + "\n");
        return setStatus ("Could not save feedback.");
    }
    engine.log().append (label + " FEEDBACK: saved " + ratingKey + " for " + generated->recipeId +
                         " seed=" + std::to_string (generated->seed) + "\n");
    engine.log().append (label + " FEEDBACK: JSON " + file.getFullPathName().toStdString() + "\n");
    setStatus (rating == Rating::safe           ? "SAFE."
               : rating == Rating::experimental ? "EXPERIMENTAL."
               : reasonLabel.empty()            ? "BAD."
                                                : "BAD - " + reasonLabel);
}

} // namespace orvo
