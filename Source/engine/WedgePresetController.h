#pragma once

#include "EditorEngine.h"
#include "EffectsController.h"
#include "effects/EffectsProgress.h"
#include "effects/WedgePresets.h"

#include <functional>
#include <memory>
#include <string>

namespace orvo
{

/** Picking a Wedge preset: it is applied to the EFFECTS page at once, assigned to the current Program
    slot, then sent to the instrument at a pace its effects processor keeps up with (the algorithm,
    80 ms, then three settings every 18 ms), ending on the instrument's CONFIG screen. */
class WedgePresetController
{
public:
    static constexpr int firstSettingsDelayMs = 80;
    static constexpr int tickMs = 18;
    static constexpr int pairsPerTick = 3;
    static constexpr int hideAfterSuccessMs = 700;
    static constexpr int hideAfterFailureMs = 1500;

    /** Where the slot assignments live (the librarian's slot table). */
    struct Assignments
    {
        std::function<juce::var (int bank, int slot)> get;
        std::function<void (int bank, int slot, const juce::var& assignment)> set;
    };

    WedgePresetController (EditorEngine& engine, EffectsController& effects, Assignments assignments);
    ~WedgePresetController();

    void selectPreset (int number);

    /** The current Program slot's preset number, or wedge::noPreset. */
    int currentAssignment() const;
    /** Removes the current slot's assignment, if it has one, with a log line giving the reason. */
    void clearAssignment (const std::string& reason);

    /** An effect NRPN arrived from the instrument. */
    void instrumentChangedEffect (int nrpn);
    /** The editor's own paths selected an algorithm. */
    void editorSelectedAlgorithm (int index);

    bool isSending() const { return sending; }
    const EffectsProgress& progress() const { return overlay; }

    /** "0.2": the send's length in seconds for a number of pairs, as the overlay shows it. */
    static std::string estimateText (int pairs);

private:
    void sendNextPairs (unsigned generation);
    void openConfigScreen (unsigned generation);
    void finish (unsigned generation, bool ok, const std::string& text);
    void after (int ms, std::function<void()> step);

    EditorEngine& engine;
    EffectsController& effects;
    Assignments assignments;
    EffectsProgress overlay;
    const WedgePreset* current = nullptr;
    unsigned sendGeneration = 0;
    std::size_t nextPair = 0;
    double startedMs = 0.0;
    std::string estimate;
    bool sending = false;
    std::shared_ptr<bool> alive = std::make_shared<bool> (true);
};

} // namespace orvo
