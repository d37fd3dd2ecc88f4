#pragma once

#include "EditorEngine.h"
#include "data/ProgramCodec.h"
#include "effects/EffectsPageModel.h"
#include "library/ProgramDocument.h"

#include <functional>
#include <vector>

namespace orvo
{

/** The EFFECTS page and the modulation routes: NRPNs without a catalogue row that the MIDI thread
    queued go to the route fields or the effect controls, and a Program's effect bytes to the page. */
class EffectsController
{
public:
    explicit EffectsController (EditorEngine& engine);

    EffectsPageModel& page() { return model; }

    /** What the tick changed: the effects page, and the routes whose fields moved. */
    struct TickReport
    {
        bool effectsChanged = false;
        std::vector<int> changedRoutes;
    };
    TickReport tick();

    /** The effect settings and route fields of a Program that was synced or loaded; the next tick
        reports what changed. */
    void applyProgram (const DecodedProgramValues& values, const UnpackedProgram& unpacked);

    /** The effect and the route fields as document entries: "__effect:algorithm" and "__effect:" + each
        shown control's id, then "__mod:" + route + ":" + field for every route field. */
    std::vector<ParameterEntry> documentEntries() const;
    /** A route field or effect control value the editor chose itself (a generated Program): taken
        without sending and shown at the next tick. False for an NRPN neither has. */
    bool applyInterfaceValue (int nrpn, int value);

    /** Takes one such entry without sending; false for a key no control has. */
    bool applyDocumentEntry (const std::string& id, int raw);

    static constexpr const char* algorithmKey = "__effect:algorithm";

    /** The page was changed from outside (presets, readback); the next tick reports it. */
    void pageChanged() { pageReplaced = true; }
    /** A route field was changed from outside (undo, compare); the next tick reports the route. */
    void routeChanged (int route) { routesReplaced.push_back (route); }
    /** An effect NRPN from the instrument reached the page; for 3603, whether the algorithm changed. */
    std::function<void (int nrpn, int value, bool algorithmChanged)> onInstrumentEffectNrpn;
    /** Every value the instrument sent for an NRPN without a catalogue row, once taken (for the morph
        slots that follow it). */
    std::function<void (int nrpn, int value)> onIncomingValue;

private:
    EditorEngine& engine;
    EffectsPageModel model;
    bool hostMovedAControl = false, pageReplaced = false;
    std::vector<int> routesReplaced;
};

} // namespace orvo
