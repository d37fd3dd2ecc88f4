#pragma once

#include "effects/EffectState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** One NRPN the effects page asks its owner to send. */
struct EffectNrpnSend
{
    int nrpn = 0;
    int raw = 0;
    std::string actionLabel;
};

/** What one slot of the effects page shows. An empty slot has filled false and nothing else. */
struct EffectControlView
{
    bool filled = false;
    int row = -1;
    int page = 0, slot = 0;
    std::string label, longName, id, family;
    int nrpn = 0;
    int raw = 0;
    std::string valueText, rangeText;
};

/** The EFFECTS page without its window: the category and algorithm menus, the CONFIG page and
    PARAM1..PARAM5 of the current algorithm, six slots each, and the NRPNs its edits send.
    The view draws what this says and forwards the user's actions; sending stays with the owner. */
class EffectsPageModel
{
public:
    EffectsPageModel();

    EffectState& state() { return effectState; }
    const EffectState& state() const { return effectState; }
    int algorithm() const { return effectState.algorithm(); }

    //==== menus ====
    /** "All" and the six categories. */
    static std::vector<std::string> categoryMenu();
    const std::string& selectedCategory() const { return category; }
    /** An unknown name selects "All". */
    void selectCategory (std::string_view name);
    /** The algorithm indices the algorithm menu lists, in index order. */
    std::vector<int> algorithmMenu() const;

    //==== algorithm selection ====
    /** The user chose an algorithm: it becomes current and the page is rebuilt; the returned NRPN 3603
        goes to the instrument. With resetCategory the category menu follows the algorithm. */
    EffectNrpnSend chooseAlgorithm (int index, bool resetCategory = false);
    /** Shows an algorithm without sending (presets, decoded Programs). */
    void showAlgorithm (int index, bool resetCategory);
    /** NRPN 3603 arrived: shown without sending, category reset, the raw value kept for 3603.
        True when the algorithm changed, which is when the owner may start a readback. */
    bool receiveSelection (int raw);

    //==== pages ====
    /** "CONFIG", "PARAM1" ... "PARAM5". */
    static std::string pageName (int page);
    /** The sub-effect's display abbreviation of a page ("ROOM", "L-DLY"), empty when it has none. */
    std::string pageAbbreviation (int page) const;
    /** Does the current algorithm have any control on the page? */
    bool pageUsed (int page) const;
    EffectControlView control (int page, int slot) const;

    //==== values ====
    /** The user moved a slot's control: stored and handed back for sending; none for an empty slot. */
    std::optional<EffectNrpnSend> userEdit (int page, int slot, int raw);
    /** A host parameter addressed by the control's ParameterId ("effects.digital." + algorithm key + "." +
        page key + "." + label key): applied as if the user had moved that control and handed back for
        sending. Only the current algorithm's controls take a value; a key of another algorithm (or no
        control at all) changes nothing and gives none, since switching the whole effect because a host
        automated one of its knobs would throw away the sound the player hears. */
    std::optional<EffectNrpnSend> hostParameterInput (std::string_view parameterId, int raw);
    /** An effect NRPN from the instrument other than 3603: shown, nothing sent. */
    void applyIncomingValue (int nrpn, int raw);
    /** A decoded Program's effect settings; returns the log lines of skipped parameters. */
    std::string applyProgram (const StoredEffectBytes& bytes);

private:
    void followAlgorithmInCategoryMenu();

    EffectState effectState;
    std::string category;
};

} // namespace orvo
