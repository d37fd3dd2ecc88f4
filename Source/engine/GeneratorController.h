#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "tools/ProgramGenerator.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvo
{

/** The generator panel's engine: generates a Program, applies it to the editor without sending,
    paces its NRPNs to the instrument through the scheduler, and saves the player's rating of it. */
class GeneratorController
{
public:
    static constexpr int firstSendDelayMs = 25;
    static constexpr int sendIntervalMs = 18;
    static constexpr int valuesPerTick = 4;
    static constexpr int finalizeDelayMs = 140;

    struct Hooks
    {
        /** The folder feedback records go to. */
        std::function<juce::File()> feedbackFolder;
        /** The name of the slot the editor has selected, for the feedback record. */
        std::function<std::string (int bank, int program)> slotName;
    };

    GeneratorController (EditorEngine& engine, EffectsController& effects, Hooks hooks);
    ~GeneratorController();

    GeneratorSettings settings;
    /** GEN RANGE from the slider, with its snaps. */
    void setRange (double position) { settings.experimentalAmount = ProgramGenerator::snapRange (position); }
    /** MONO and POLY: pressing the active one again lets the generator choose. */
    void pressVoiceButton (GeneratorSettings::Voice voice);

    /** Generates with the wall clock's milliseconds as the seed. */
    void generate();
    void generate (std::int64_t seed);
    const GeneratedProgram* latest() const { return generated ? &*generated : nullptr; }

    enum class Rating
    {
        safe,
        experimental,
        bad
    };
    enum class BadReason
    {
        none,
        notBass,
        doesNotPlay,
        tooExperimental
    };
    void rate (Rating rating, BadReason reason = BadReason::none);

    /** The status line and the transfer's progress (0..1, or nothing when no transfer shows). */
    const std::string& status() const { return statusText; }
    std::optional<double> progress() const { return transferProgress; }
    bool transferring() const { return transferTotal > 0 && !finished; }
    /** Counts every change the panel shows, so the view repaints only when it moved. */
    std::uint64_t changeCount() const { return changes; }

    /** The feedback record of the latest generation, as written. */
    static juce::var feedbackRecord (const GeneratedProgram& program, const std::string& rating,
                                     const std::string& badReason, const std::string& badReasonLabel,
                                     const std::string& savedAt, const std::string& programName, int bank, int slot,
                                     int sendable, int skipped);

private:
    void apply();
    void startTransfer();
    void transferTick (std::uint64_t mine);
    void setStatus (std::string text, std::optional<double> fraction = std::nullopt);

    EditorEngine& engine;
    EffectsController& effects;
    Hooks hooks;
    std::optional<GeneratedProgram> generated;
    /** One sendable value: a catalogue row's, or an interface NRPN's with its log label. */
    struct Pending
    {
        int row = -1, nrpn = -1, raw = 0;
        std::string label;
    };
    std::vector<Pending> queue;
    size_t sent = 0;
    int transferTotal = 0, skippedCount = 0;
    bool finished = false;
    std::uint64_t transferGeneration = 0;
    std::string statusText;
    std::optional<double> transferProgress;
    std::uint64_t changes = 0;
    std::shared_ptr<bool> alive = std::make_shared<bool> (true);
};

} // namespace orvo
