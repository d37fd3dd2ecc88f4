#pragma once

#include "model/ValueConversion.h"

#include <string>
#include <string_view>
#include <vector>

namespace orvo
{

/** The custom knob range popup without its window: the two bound fields, the response curve and
    what APPLY and CLEAR do with them. The popup component shows these texts and forwards clicks. */
class ParameterRangeRules
{
public:
    static constexpr const char* acceptedCharacters = "0123456789+-.% ";

    static constexpr const char* minimumCaption = "CUSTOM MINIMUM";
    static constexpr const char* maximumCaption = "CUSTOM MAXIMUM";
    static constexpr const char* useCurrentCaption = "USE CURRENT";
    static constexpr const char* curveCaption = "RESPONSE CURVE";
    static constexpr const char* useDefaultCaption = "USE DEFAULT";
    static constexpr const char* applyCaption = "APPLY";
    static constexpr const char* clearCaption = "CLEAR";

    static constexpr const char* invalidMinimumMessage = "ENTER A VALID MINIMUM VALUE.";
    static constexpr const char* invalidMaximumMessage = "ENTER A VALID MAXIMUM VALUE.";
    static constexpr const char* minimumOutsideMessage = "Minimum must be within the normal range.";
    static constexpr const char* maximumOutsideMessage = "Maximum must be within the normal range.";
    static constexpr const char* minimumNotBelowMessage = "Minimum must be less than maximum.";
    static constexpr const char* singleValueMessage = "Custom range must contain at least two parameter values.";

    // The bottom-bar confirmation that clears every control's custom range.
    static constexpr const char* clearAllTitle = "CLEAR KNOBS";
    static constexpr const char* clearAllQuestion = "CLEAR ALL CUSTOM KNOB RANGES?";
    static constexpr const char* clearAllConfirmCaption = "CONFIRM";
    static constexpr const char* clearAllCancelCaption = "CANCEL";

    /** The layout id of the popup, and of its items: "popup.range." + the item's name. */
    static constexpr const char* popupLayoutId = "popup.range";
    static const std::vector<std::string>& popupItemIds();

    /** Response curves of the knob travel inside a custom range; 0 is the default, straight travel. */
    static const std::vector<std::string>& curveNames();

    static bool acceptsCharacter (char c);
    /** The text with every character the fields refuse taken out. */
    static std::string acceptedPart (std::string_view text);

    enum class Outcome
    {
        stored,  // the range and curve go onto the control and the popup closes
        cleared, // the control goes back to its whole range and the popup closes
        refused  // the message shows in the popup, which stays open; nothing changes
    };

    struct ApplyResult
    {
        Outcome outcome = Outcome::refused;
        std::string message;
        CustomKnobRange range; // what the control takes when not refused

        bool accepted() const { return outcome != Outcome::refused; }
    };

    /** The APPLY rules on the raw field texts. */
    static ApplyResult apply (const OrvoParameterInfo& info, std::string_view minimumText, std::string_view maximumText,
                              int curve);

    /** Opens the form for a control, its fields filled from the range it carries now. */
    ParameterRangeRules (const OrvoParameterInfo& info, const CustomKnobRange& current);

    /** "NORMAL RANGE  " + minimum + "  TO  " + maximum, with the row's decimals. */
    std::string normalRangeText() const;

    void setMinimumText (std::string_view text);
    void setMaximumText (std::string_view text);
    const std::string& minimumText() const { return minimum; }
    const std::string& maximumText() const { return maximum; }

    /** USE CURRENT: the field takes the control's current value in display units. */
    void useCurrentAsMinimum (int raw);
    void useCurrentAsMaximum (int raw);

    /** Out-of-list curves fall back to the default. */
    void setCurve (int newCurve);
    void useDefaultCurve() { curve = 0; }
    int selectedCurve() const { return curve; }

    /** APPLY on the fields; a refusal's message stays readable in message(). */
    ApplyResult apply();
    /** CLEAR: the control loses its custom range and curve. */
    ApplyResult clear();

    const std::string& message() const { return lastMessage; }

private:
    std::string currentText (int raw) const;

    OrvoParameterInfo info;
    std::string minimum, maximum;
    int curve = 0;
    std::string lastMessage;
};

} // namespace orvo
