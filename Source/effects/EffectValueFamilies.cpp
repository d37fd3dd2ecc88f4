#include "effects/EffectValueFamilies.h"

#include "effects/EffectControlTable.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <vector>

namespace orvo
{

namespace ef = effectfamily;

namespace
{

enum class Expansion
{
    none,
    multiply, // min(b, top) x factor
    ceiling   // the bottom of step b's share of the 4096 codes, N = top + 1 steps
};

struct FamilyRule
{
    const char* name;
    Expansion expansion;
    int top;
    int factor;
};

const FamilyRule familyRules[] = {
    { ef::frequencyTopOff, Expansion::multiply, 255, 16 },
    { ef::frequencyBottomOff, Expansion::multiply, 255, 16 },
    { ef::positive255, Expansion::multiply, 255, 16 },
    { ef::rate, Expansion::multiply, 255, 16 },
    { ef::time250, Expansion::multiply, 255, 16 },
    { ef::time500Fine, Expansion::multiply, 255, 16 },
    { ef::percent, Expansion::multiply, 100, 40 },
    { ef::gatedPercent, Expansion::multiply, 100, 40 },
    { ef::output, Expansion::multiply, 100, 40 },
    { ef::stereoRoomWidth, Expansion::multiply, 100, 40 },
    { ef::time100To600, Expansion::multiply, 100, 40 },
    { ef::largeHallDecay, Expansion::multiply, 100, 40 },
    { ef::hallReverbDecay, Expansion::multiply, 100, 40 },
    { ef::ambienceDecay, Expansion::multiply, 100, 40 },
    { ef::largePlateDecay, Expansion::multiply, 100, 40 },
    { ef::plateDecay, Expansion::multiply, 100, 40 },
    { ef::roomFamilyDecay, Expansion::multiply, 100, 40 },
    { ef::positive4, Expansion::multiply, 4, 820 },
    { ef::positive50, Expansion::multiply, 50, 81 },
    { ef::time500, Expansion::multiply, 50, 81 },
    { ef::gatedTime500, Expansion::multiply, 50, 81 },
    { ef::positive54, Expansion::multiply, 54, 75 },
    { ef::positive24, Expansion::multiply, 24, 164 },
    { ef::positive9, Expansion::multiply, 9, 410 },
    { ef::positive99, Expansion::ceiling, 99, 0 },
    { ef::bipolar12, Expansion::ceiling, 24, 0 },
    { ef::bipolar50, Expansion::ceiling, 100, 0 },
    { ef::bipolar99, Expansion::ceiling, 198, 0 },
    { ef::selector2, Expansion::ceiling, 1, 0 },
    { ef::selector4, Expansion::ceiling, 3, 0 },
    { ef::configPan, Expansion::none, -1, 0 },
    { ef::send, Expansion::none, -1, 0 },
};

const FamilyRule* ruleFor (std::string_view family)
{
    for (const auto& rule : familyRules)
        if (family == rule.name)
            return &rule;
    return nullptr;
}

bool is (std::string_view family, const char* name)
{
    return family == name;
}

int clampRaw (int raw)
{
    return std::clamp (raw, 0, 4095);
}

std::string number (int n)
{
    return std::to_string (n);
}

std::string fixed (double value, int decimals)
{
    char buffer[32];
    std::snprintf (buffer, sizeof (buffer), "%.*f", decimals, value);
    return buffer;
}

/** Up to three decimals with trailing zeros and a trailing point removed. */
std::string trimmed (double value)
{
    std::string text = fixed (value, 3);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

bool endsWith (const std::string& text, std::string_view tail)
{
    return text.size() >= tail.size() && text.compare (text.size() - tail.size(), tail.size(), tail) == 0;
}

bool oneOf (const std::string& text, std::initializer_list<const char*> names)
{
    return std::any_of (names.begin(), names.end(), [&] (const char* n) { return text == n; });
}

bool algorithmIn (int algorithm, std::initializer_list<int> set)
{
    return std::find (set.begin(), set.end(), algorithm) != set.end();
}

bool isNumberedForm (const std::string& label, std::string_view base)
{
    return label.size() > base.size() && std::isdigit ((unsigned char)label[0]) && endsWith (label, base);
}

//==============================================================================
// Decay and frequency tables. The instrument only gives first and last values and a few points;
// in between the times rise geometrically and faster towards the top, as its own decay knobs do.

struct Anchor
{
    int index;
    double value;
};

std::array<double, ef::decayTableSize> decayCurve (std::vector<Anchor> anchors)
{
    constexpr double bend = 1.5;
    std::array<double, ef::decayTableSize> table{};
    for (std::size_t a = 0; a + 1 < anchors.size(); ++a)
    {
        const auto from = anchors[a], to = anchors[a + 1];
        const double span = std::log (to.value / from.value);
        for (int i = from.index; i <= to.index; ++i)
        {
            const double t = (double)(i - from.index) / (to.index - from.index);
            const double seconds = from.value * std::exp (span * std::pow (t, bend));
            table[(std::size_t)i] = std::round (seconds * 1000.0) / 1000.0;
        }
    }
    return table;
}

struct DecayTables
{
    std::array<double, ef::decayTableSize> largeHall = decayCurve ({ { 0, 1.33 }, { 100, 242.42 } });
    // Room + Hall's captured stored value 61 lands on raw 2520; the curve passes through what the
    // instrument shows there.
    std::array<double, ef::decayTableSize> hallReverb = decayCurve ({ { 0, 1.97 }, { 63, 4.856 }, { 100, 143.98 } });
    std::array<double, ef::decayTableSize> ambience = decayCurve ({ { 0, 0.65 }, { 100, 22.364 } });
    std::array<double, ef::decayTableSize> largePlate = decayCurve ({ { 0, 0.567 }, { 100, 65.535 } });
    std::array<double, ef::decayTableSize> plate =
        decayCurve ({ { 0, 1.325 }, { 1, 1.405 }, { 2, 1.637 }, { 99, 54.41 }, { 100, 81.309 } });
    std::array<double, ef::decayTableSize> roomFamily = decayCurve ({ { 0, 1.0 }, { 100, 81.53 } });
};

const DecayTables& decayTables()
{
    static const DecayTables tables;
    return tables;
}

//==============================================================================
std::string selector2Text (const std::string& label, int choice)
{
    static const char* const offOn[] = { "OFF", "ON" };
    static const char* const direction[] = { "REVERSE", "FORWARD" };
    static const char* const speed[] = { "SLOW", "FAST" };
    static const char* const wave[] = { "SINE", "TRIANGLE" };
    const char* const* names = offOn;
    if (label == "DIR")
        names = direction;
    else if (label == "SPEED")
        names = speed;
    else if (endsWith (label, "WAVE"))
        names = wave;
    return names[choice];
}

std::string selector2Range (const std::string& label)
{
    if (label == "DIR")
        return "REVERSE OR FORWARD";
    if (label == "SPEED")
        return "SLOW OR FAST";
    if (endsWith (label, "WAVE"))
        return "SINE OR TRIANGLE";
    return "OFF OR ON";
}

} // namespace

//==============================================================================
const std::array<const char*, 32>& effectfamily::all()
{
    static const std::array<const char*, 32> names = []
    {
        std::array<const char*, 32> n{};
        for (std::size_t i = 0; i < n.size(); ++i)
            n[i] = familyRules[i].name;
        return n;
    }();
    return names;
}

std::string effectValueFamily (int algorithm, std::string_view rawLabel, int nrpn)
{
    const std::string label = normaliseEffectLabel (rawLabel);
    if (label.empty())
        return {};

    if (label == "SEND")
        return ef::send;
    if (label == "PAN" && nrpn == 3605)
        return ef::configPan;
    if (label.find ("OUT") != std::string::npos)
        return ef::output;
    if (oneOf (label, { "BLEND", "MIX", "MIX1", "MIX2", "DENS", "DIFF", "PDMIX", "TREMD", "PAND", "MFDBK" }))
        return ef::percent;

    if (label == "DECAY")
    {
        if (algorithm == 0 && nrpn == 3609)
            return ef::largeHallDecay;
        if ((algorithm == 1 && nrpn == 3609) || (algorithm == 8 && nrpn == 3621) || (algorithm == 10 && nrpn == 3621))
            return ef::hallReverbDecay;
        if (algorithm == 5 && nrpn == 3609)
            return ef::ambienceDecay;
        if (algorithm == 6 && nrpn == 3609)
            return ef::largePlateDecay;
        if ((algorithm == 7 && nrpn == 3609) || (algorithm == 10 && nrpn == 3609) || (algorithm == 9 && nrpn == 3621))
            return ef::plateDecay;
        return ef::roomFamilyDecay;
    }
    if (label == "TIME")
        return ef::time100To600;
    if (label == "100MS")
        return algorithm == 12 ? ef::positive54 : ef::positive24;
    if (oneOf (label, { "10MS", "1MS" }))
        return ef::positive9;
    if (oneOf (label, { "FDBK", "LFDBK", "RFDBK" }))
        return ef::bipolar99;
    if (oneOf (label, { "RATE", "LRATE", "RRATE", "TREMR", "PANR" }))
        return ef::rate;
    if (oneOf (label, { "LPF", "RLPF", "CLPF", "FBLPF", "CFBLPF", "BASSF", "BFREQ" }))
        return ef::frequencyTopOff;
    if (label == "HICUT")
        return algorithmIn (algorithm, { 14, 25, 24 }) ? ef::frequencyTopOff : ef::frequencyBottomOff;
    if (label == "LOCUT")
        return algorithmIn (algorithm, { 14, 25 }) ? ef::frequencyBottomOff : ef::frequencyTopOff;
    if (label == "HDAMP")
        return algorithm == 6 ? ef::frequencyBottomOff : ef::frequencyTopOff;
    if (oneOf (label, { "LDAMP", "HPF", "FBHPF", "CFBHPF" }))
        return ef::frequencyBottomOff;
    if (label == "PDTIME")
        return algorithm == 1 ? ef::time500Fine : algorithmIn (algorithm, { 4, 5 }) ? ef::time500 : ef::time250;
    if (oneOf (label, { "PDTIM", "PDLYL", "PDLYR", "LPDLY", "RPDLY", "LPDTIM", "RPDTIM", "HIROT" }))
        return ef::time250;
    if (label == "SPREAD")
        return algorithm == 1 ? ef::time500Fine : ef::time500;
    if (oneOf (label, { "HOLD", "DELAY" }))
        return ef::time500;
    if (label == "RELEAS")
        return algorithmIn (algorithm, { 16, 23, 24, 27 }) ? ef::positive255 : ef::time500;
    if (oneOf (label, { "BOOST", "LSHELF", "ATTACK", "LDEPTH", "RDEPTH" }))
        return ef::positive255;
    if (label == "SHAPE")
        return ef::positive4;
    if (label == "ELEVEL")
        return algorithm == 1 ? ef::percent : ef::positive99;
    if (label == "SWIRL")
        return algorithm == 5 ? ef::positive99 : ef::positive50;
    if (label == "GATE")
        return algorithm == 2 ? ef::percent : algorithmIn (algorithm, { 20, 22 }) ? ef::gatedTime500 : ef::gatedPercent;
    if (label == "DEPTH")
        return algorithmIn (algorithm, { 0, 1, 3, 4, 5, 6, 7 }) ? ef::percent : ef::time250;
    if (label == "WIDTH")
        return algorithm == 17 ? ef::bipolar99 : ef::stereoRoomWidth;
    if (label == "TRIG")
        return algorithm == 27 ? ef::selector2 : ef::selector4;
    if (oneOf (label, { "DIR", "MOTOR", "SPEED", "THRU0", "WAVE" }))
        return ef::selector2;

    // Tap and voice numbers in front of a base name.
    if (isNumberedForm (label, "TIME"))
        return ef::time250;
    if (endsWith (label, "FDBK"))
        return algorithm == 17 ? ef::bipolar99 : ef::positive99;
    if (endsWith (label, "RATE"))
        return ef::rate;
    if (endsWith (label, "LEVEL"))
        return ef::positive99;
    if (endsWith (label, "WAVE"))
        return ef::selector2;
    if (endsWith (label, "PDTIM"))
        return ef::time250;
    if (endsWith (label, "SEMI"))
        return ef::bipolar12;
    if (endsWith (label, "FINE") || endsWith (label, "PAN"))
        return ef::bipolar50;
    if (endsWith (label, "DEPTH"))
        return ef::time250;
    return {};
}

EffectExpansion expandEffectValue (std::string_view family, int stored)
{
    const auto* rule = ruleFor (family);
    if (rule == nullptr || rule->expansion == Expansion::none)
        return {};
    const int b = std::min (std::clamp (stored, 0, 255), rule->top);
    if (b == 0)
        return { 0, true };
    if (is (family, ef::largePlateDecay) && b == 50)
        return { 2760, true };
    if (rule->expansion == Expansion::multiply)
        return { b * rule->factor, true };
    const int steps = rule->top + 1;
    return { (b * 4096 + steps - 1) / steps, true };
}

int effectFamilyStoredTop (std::string_view family)
{
    const auto* rule = ruleFor (family);
    return rule != nullptr ? rule->top : -1;
}

const std::array<double, ef::frequencyTableSize>& effectFrequencyTable()
{
    static const auto table = []
    {
        std::array<double, ef::frequencyTableSize> t{};
        const double first = 0.029, last = 41.3;
        for (int i = 0; i < ef::frequencyTableSize; ++i)
            t[(std::size_t)i] = first * std::pow (last / first, (double)i / (ef::frequencyTableSize - 1));
        t.back() = last;
        return t;
    }();
    return table;
}

const std::array<double, ef::decayTableSize>* effectDecayTable (std::string_view family)
{
    const auto& t = decayTables();
    if (is (family, ef::largeHallDecay))
        return &t.largeHall;
    if (is (family, ef::hallReverbDecay))
        return &t.hallReverb;
    if (is (family, ef::ambienceDecay))
        return &t.ambience;
    if (is (family, ef::largePlateDecay))
        return &t.largePlate;
    if (is (family, ef::plateDecay))
        return &t.plate;
    if (is (family, ef::roomFamilyDecay))
        return &t.roomFamily;
    return nullptr;
}

std::string effectFrequencyText (double kHz)
{
    if (kHz <= 1.0)
        return number ((int)std::lround (kHz * 1000.0)) + " Hz";
    return trimmed (kHz) + "K";
}

std::string effectDecayText (double seconds)
{
    return trimmed (seconds) + "s";
}

std::string effectValueText (std::string_view family, int rawIn, std::string_view rawLabel)
{
    const int r = clampRaw (rawIn);
    const std::string label = normaliseEffectLabel (rawLabel);
    const auto& frequencies = effectFrequencyTable();

    if (is (family, ef::frequencyTopOff))
    {
        const int i = r / 16;
        return i == 255 ? "OFF" : effectFrequencyText (frequencies[(std::size_t)i]);
    }
    if (is (family, ef::frequencyBottomOff))
    {
        const int i = r / 16;
        return i == 0 ? "OFF" : effectFrequencyText (frequencies[(std::size_t) (i - 1)]);
    }
    if (is (family, ef::positive255))
        return number (r / 16);
    if (is (family, ef::rate))
        return fixed (r >= 4080 ? 6.470 : (r / 16) * 0.0254, 3) + "Hz";
    if (is (family, ef::time250))
        return number (std::min (r / 16, 250)) + "ms";
    if (is (family, ef::time500Fine))
        return number (std::min (r / 16, 250) * 2) + "ms";
    if (is (family, ef::percent))
        return number (std::min (r / 40, 100)) + (label == "DEPTH" ? "%" : "");
    if (is (family, ef::gatedPercent))
    {
        const int v = std::min (r / 40, 100);
        return v == 0 ? "OFF" : number (v) + "%";
    }
    if (is (family, ef::output))
        return fixed (std::min (r, 4000) / 40.0, 2);
    if (is (family, ef::stereoRoomWidth))
        return number (std::min (r / 40, 100));
    if (is (family, ef::time100To600))
        return number ((std::min (r / 40, 100) + 20) * 5) + "ms";
    if (const auto* table = effectDecayTable (family))
        return effectDecayText ((*table)[(std::size_t)std::min (r / 40, 100)]);
    if (is (family, ef::positive4))
        return number (std::min (r / 820, 4));
    if (is (family, ef::positive50))
        return number (std::min (r / 81, 50));
    if (is (family, ef::time500))
        return number (std::min (r / 81, 50) * 10) + "ms";
    if (is (family, ef::gatedTime500))
    {
        const int v = std::min (r / 81, 50);
        return v == 0 ? "OFF" : number (v * 10) + "ms";
    }
    if (is (family, ef::positive54))
        return number (std::min (r / 75, 54));
    if (is (family, ef::positive24))
        return number (std::min (r / 164, 24));
    if (is (family, ef::positive9))
        return number (std::min (r / 410, 9));
    if (is (family, ef::positive99))
        return number (std::min (r * 100 / 4096, 99));
    if (is (family, ef::bipolar12))
        return number (std::min (r * 25 / 4096, 24) - 12);
    if (is (family, ef::bipolar50))
        return number (std::min (r * 101 / 4096, 100) - 50);
    if (is (family, ef::bipolar99))
        return number (std::min (r * 199 / 4096, 198) - 99);
    if (is (family, ef::selector2))
        return selector2Text (label, std::min (r * 2 / 4095, 1));
    if (is (family, ef::selector4))
    {
        static const char* const choices[] = { "OFF", "L", "R", "LR" };
        return choices[std::min (r / 1024, 3)];
    }
    if (is (family, ef::configPan))
    {
        const double v = r == 4095 ? 100.0 : std::round ((r - 2048) * 100.0 / 2048.0 * 100.0) / 100.0;
        if (v < 0.0)
            return "L" + fixed (-v, 2);
        return v > 0.0 ? "R" + fixed (v, 2) : fixed (0.0, 2);
    }
    if (is (family, ef::send))
        return fixed (r * 100.0 / 4095.0, 2);
    return number (r);
}

std::string effectRangeText (std::string_view family, std::string_view rawLabel)
{
    const std::string label = normaliseEffectLabel (rawLabel);
    struct RangeText
    {
        const char* family;
        const char* text;
    };
    static const RangeText texts[] = {
        { ef::frequencyTopOff, "29 HZ TO 41.3 KHZ, THEN OFF" },
        { ef::frequencyBottomOff, "OFF, THEN 29 HZ TO 41.3K" },
        { ef::positive255, "0 TO 255" },
        { ef::rate, "0.000Hz TO 6.470Hz" },
        { ef::time250, "0ms TO 250ms" },
        { ef::time500Fine, "0 MS TO 500 MS" },
        { ef::gatedPercent, "OFF, THEN 1% TO 100%" },
        { ef::output, "0.00 TO 100.00" },
        { ef::stereoRoomWidth, "0 TO 100" },
        { ef::time100To600, "100ms TO 600ms" },
        { ef::largeHallDecay, "1.33s TO 242.42s" },
        { ef::hallReverbDecay, "1.97s TO 143.98s" },
        { ef::ambienceDecay, "0.650s TO 22.364s" },
        { ef::largePlateDecay, "0.567s TO 65.535s" },
        { ef::plateDecay, "1.325s TO 81.309s" },
        { ef::roomFamilyDecay, "1.000s TO 81.530s" },
        { ef::positive4, "0 TO 4" },
        { ef::positive50, "0 TO 50" },
        { ef::time500, "0ms TO 500ms (10ms STEPS)" },
        { ef::gatedTime500, "OFF, THEN 10ms TO 500ms" },
        { ef::positive54, "0 TO 54" },
        { ef::positive24, "0 TO 24" },
        { ef::positive9, "0 TO 9" },
        { ef::positive99, "0 TO 99" },
        { ef::bipolar12, "-12 TO 12" },
        { ef::bipolar50, "-50 TO 50" },
        { ef::bipolar99, "-99 TO 99" },
        { ef::selector4, "OFF, L, R, OR LR" },
        { ef::configPan, "L100.00 TO R100.00" },
        { ef::send, "0.00 TO 100.00" },
    };
    if (is (family, ef::percent))
        return label == "DEPTH" ? "0% TO 100%" : "0 TO 100";
    if (is (family, ef::selector2))
        return selector2Range (label);
    for (const auto& t : texts)
        if (family == t.family)
            return t.text;
    return {};
}

const EffectCapturedException* findEffectCapturedException (int algorithm, std::string_view label, int lookupNrpn,
                                                            int stored)
{
    static const EffectCapturedException table[] = {
        { 6, "DECAY", 3609, 50, 2760, "1.467s" }, { 8, "DECAY", 3621, 61, 2520, "4.856s" },
        { 28, "PDTIME", 3612, 50, 1600, "" },     { 28, "PDMIX", 3613, 50, 400, "" },
        { 28, "DENS", 3615, 0, 2000, "" },        { 28, "DIFF", 3616, 0, 2000, "" },
        { 28, "HOLD", 3619, 80, 0, "" },          { 28, "RELEAS", 3620, 100, 0, "" },
        { 23, "FDBK", 3623, 20, 433, "" },        { 23, "FBHPF", 3630, 9, 0, "" },
    };
    for (const auto& e : table)
        if (e.algorithm == algorithm && e.nrpn == lookupNrpn && e.stored == stored && label == e.label)
            return &e;
    return nullptr;
}

} // namespace orvo
