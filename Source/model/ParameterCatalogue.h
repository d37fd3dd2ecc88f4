#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** Control kinds of a catalogue row. */
enum ControlKind : int
{
    kindContinuous = 0,
    kindToggle = 1,
    kindEnumButtons = 2,
    kindLatchedButton = 3,
    kindMomentaryButton = 4
};

struct ChoiceLabel
{
    const char* text = "";
    int value = 0;
};

/** One row of the parameter catalogue; the row index is the parameter's slot everywhere. */
struct OrvoParameterInfo
{
    const char* id = "";
    const char* name = "";
    const char* section = "";
    int group = 0;
    int kind = kindContinuous;
    int nrpn = -1;
    int rawMin = 0;
    int rawMax = 4095;
    double displayMin = 0.0;
    double displayMax = 0.0;
    double displayStep = 1.0;
    int decimals = 0;
    int displayFormat = 0;
    int offValue = 0;
    int onValue = 0;
    std::array<ChoiceLabel, 3> labels{};
    int labelCount = 0;
};

/** The static table of the instrument's 233 Program parameters. */
class ParameterCatalogue
{
public:
    static constexpr int numRows = 233;

    static const std::array<OrvoParameterInfo, numRows>& rows();
    static const OrvoParameterInfo& row (int index);

    /** Exact, case-sensitive match; first row in table order. */
    static std::optional<int> findById (std::string_view id);
    /** First row bound to the NRPN; -1 never matches. */
    static std::optional<int> findByNrpn (int nrpn);
    /** Every row bound to the NRPN, in row order. */
    static std::vector<int> rowsForNrpn (int nrpn);
    /** The row's name, or an empty string when no row carries the NRPN. */
    static std::string nameForNrpn (int nrpn);

    static std::string pageGroupName (int group);
    static std::string controlKindName (int kind);

    /** The value a row's control takes when handed `incoming`: clamped to the raw range. A value from
        the instrument or a Program is the state it holds, so a switch at its on value that is told
        "on" again stays on (toggling there made every confirmed click snap back). */
    static int applyRawValue (const OrvoParameterInfo& info, int incoming);
    /** A switch (toggle, latched or momentary button) is on at every value but its off value, the
        way the instrument reads it; its button and its value text agree on that. */
    static bool isSwitchOn (const OrvoParameterInfo& info, int raw);
    /** What a click on a switch sends: off when it is on, else its on value. */
    static int toggledSwitchValue (const OrvoParameterInfo& info, int raw);

    static bool isEnvelopeRow (const OrvoParameterInfo& info);
    static bool isTuningRow (const OrvoParameterInfo& info);
};

} // namespace orvo
