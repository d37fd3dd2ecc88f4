#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orvo
{

/** The value families: how a control's stored byte, its 12-bit raw value and its text relate. */
namespace effectfamily
{
constexpr const char* frequencyTopOff = "frequency-top-off";
constexpr const char* frequencyBottomOff = "frequency-bottom-off";
constexpr const char* positive255 = "positive-255";
constexpr const char* rate = "rate-0-6.470hz";
constexpr const char* time250 = "time-0-250ms";
constexpr const char* time500Fine = "time-0-500ms-fine-capture-required";
constexpr const char* percent = "percent-0-100";
constexpr const char* gatedPercent = "gated-percent-0-100";
constexpr const char* output = "digital-fx-out-0.00-100.00-whole-number-captured";
constexpr const char* stereoRoomWidth = "stereo-room-width-0-100-captured";
constexpr const char* time100To600 = "time-100-600ms";
constexpr const char* largeHallDecay = "large-hall-decay";
constexpr const char* hallReverbDecay = "hall-reverb-decay";
constexpr const char* ambienceDecay = "ambience-decay";
constexpr const char* largePlateDecay = "large-plate-decay";
constexpr const char* plateDecay = "plate-decay";
constexpr const char* roomFamilyDecay = "room-family-decay";
constexpr const char* positive4 = "positive-4";
constexpr const char* positive50 = "positive-50";
constexpr const char* time500 = "time-0-500ms";
constexpr const char* gatedTime500 = "gated-time-0-500ms";
constexpr const char* positive54 = "positive-54";
constexpr const char* positive24 = "positive-24";
constexpr const char* positive9 = "positive-9";
constexpr const char* positive99 = "positive-99";
constexpr const char* bipolar12 = "bipolar-12";
constexpr const char* bipolar50 = "bipolar-50";
constexpr const char* bipolar99 = "bipolar-99";
constexpr const char* selector2 = "text-selector-2";
constexpr const char* selector4 = "text-selector-4";
constexpr const char* configPan = "config-pan";
constexpr const char* send = "unipolar-percent-0.00-100.00-reused";

/** Every family name, the ones without a stored form last. */
const std::array<const char*, 32>& all();

constexpr int frequencyTableSize = 255;
constexpr int decayTableSize = 101;
} // namespace effectfamily

/** The family of a control, from its algorithm, label and NRPN; empty when no rule matches. */
std::string effectValueFamily (int algorithm, std::string_view label, int nrpn);

/** A stored byte turned into the raw value the editor holds; not valid for a family that is not
    kept in the parameter bytes or that is unknown. */
struct EffectExpansion
{
    int raw = 0;
    bool valid = false;
};
EffectExpansion expandEffectValue (std::string_view family, int stored);

/** The largest stored value the family keeps, or -1 when it has no stored form. */
int effectFamilyStoredTop (std::string_view family);

/** The text a control shows for a raw value. Some families word their choices after the control,
    so the label is given where known. Unknown families show the raw number. */
std::string effectValueText (std::string_view family, int raw, std::string_view label = {});

/** The range text of the parameter details; empty for an unknown family. */
std::string effectRangeText (std::string_view family, std::string_view label = {});

/** Frequencies in kHz, 255 entries rising from 0.029 to 41.3. */
const std::array<double, effectfamily::frequencyTableSize>& effectFrequencyTable();
/** The decay table of a decay family in seconds, or nullptr for any other family. */
const std::array<double, effectfamily::decayTableSize>* effectDecayTable (std::string_view family);

/** "29 Hz", "1.2K", "41.3K". */
std::string effectFrequencyText (double kHz);
/** "1.467s", "81.53s". */
std::string effectDecayText (double seconds);

/** A stored value the instrument expands to something other than its family says, with the text it
    shows for it where that too is fixed. */
struct EffectCapturedException
{
    int algorithm;
    const char* label;
    int nrpn; // the stored order's number for the control: 3609 + stored slot
    int stored;
    int raw;
    const char* display; // empty when the family's text stands
};
const EffectCapturedException* findEffectCapturedException (int algorithm, std::string_view label, int lookupNrpn,
                                                            int stored);

} // namespace orvo
