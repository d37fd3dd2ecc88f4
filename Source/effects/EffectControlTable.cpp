#include "effects/EffectControlTable.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <deque>
#include <map>
#include <mutex>

namespace orvo
{

namespace
{

struct ConfigItem
{
    const char* label;
    int nrpn;
};

struct PageItem
{
    const char* key;
    std::array<const char*, effects::slotsPerPage> labels; // "" is an empty slot
};

struct AlgorithmLayout
{
    int algorithm;
    std::vector<ConfigItem> config;
    std::vector<PageItem> pages;
};

// Shared pages, written once.
const PageItem roomDecayPage1{ "room_1", { "DECAY", "LPF", "", "PDTIME", "PDMIX", "" } };
const PageItem plateFirstPage{ "plate_1", { "DECAY", "LSHELF", "HPF", "LPF", "DENS", "DIFF" } };
const PageItem plateSecondPage{ "plate_2", { "PDTIME", "PDMIX", "", "LDAMP", "HDAMP", "" } };
const PageItem hallSecondPage{ "hall_2", { "DENS", "DIFF", "", "PDTIME", "PDMIX", "" } };
const PageItem delayTremoloPage{ "delay_3", { "TREMR", "TREMD", "", "PANR", "PAND", "" } };

AlgorithmLayout roomFamilyLayout (int algorithm)
{
    return { algorithm,
             { { "SEND", 3604 }, { "OUT", 3607 } },
             { { "1", { "DECAY", "LPF", "PDTIME", "PDMIX", "DENS", "DIFF" } },
               { "2", { "LDAMP", "HDAMP", "", "SPREAD", "SHAPE", "ELEVEL" } },
               { "3", { "SWIRL", "DEPTH", "", "GATE", "HOLD", "RELEAS" } } } };
}

AlgorithmLayout plateLayout (int algorithm)
{
    return { algorithm,
             { { "SEND", 3604 }, { "OUT", 3607 } },
             { { "1", { "DECAY", "LSHELF", "HPF", "LPF", "DENS", "DIFF" } },
               { "2", { "PDTIME", "PDMIX", "", "LDAMP", "HDAMP", "" } },
               { "3", { "SWIRL", "DEPTH", "", "GATE", "HOLD", "RELEAS" } } } };
}

/** Quad Chorus and Quad Pitch Shifter repeat one page per voice with the voice number in front. */
std::vector<PageItem> voicePages (const std::array<const char*, 5>& names)
{
    static std::deque<std::string> storage; // keeps the composed labels alive for the table's life
    std::vector<PageItem> pages;
    static const char* pageKeys[] = { "1", "2", "3", "4" };
    for (int n = 1; n <= 4; ++n)
    {
        PageItem page{ pageKeys[n - 1], { "", "", "", "", "", "" } };
        for (std::size_t i = 0; i < names.size(); ++i)
        {
            storage.push_back (std::to_string (n) + names[i]);
            page.labels[i] = storage.back().c_str();
        }
        pages.push_back (page);
    }
    return pages;
}

std::vector<AlgorithmLayout> buildLayouts()
{
    std::vector<AlgorithmLayout> layouts;
    layouts.push_back ({ 0,
                         { { "SEND", 3604 }, { "OUT", 3606 } },
                         { { "1", { "DECAY", "BOOST", "BASSF", "LPF", "DENS", "DIFF" } },
                           { "2", { "PDTIME", "PDMIX", "", "LDAMP", "HDAMP", "" } },
                           { "3", { "SWIRL", "DEPTH", "", "GATE", "HOLD", "RELEAS" } } } });
    layouts.push_back ({ 1,
                         { { "SEND", 3604 }, { "OUT", 3606 } },
                         { { "1", { "DECAY", "BOOST", "BASSF", "LPF", "DENS", "DIFF" } },
                           { "2", { "PDTIME", "PDMIX", "LDAMP", "HDAMP", "SWIRL", "DEPTH" } },
                           { "3", { "SPREAD", "SHAPE", "ELEVEL", "GATE", "HOLD", "RELEAS" } } } });
    layouts.push_back (roomFamilyLayout (3));
    layouts.push_back (roomFamilyLayout (4));
    layouts.push_back (roomFamilyLayout (5));
    layouts.push_back (plateLayout (6));
    layouts.push_back (plateLayout (7));
    layouts.push_back (
        { 11,
          { { "SEND", 3604 }, { "OUT", 3607 } },
          { { "1", { "TIME", "LPF", "", "PDTIME", "PDMIX", "" } }, { "2", { "DIR", "", "DENS", "DIFF", "", "" } } } });
    layouts.push_back ({ 12,
                         { { "SEND", 3604 }, { "OUT", 3607 } },
                         { { "1", { "100MS", "10MS", "1MS", "FDBK", "LOCUT", "HICUT" } },
                           { "2", { "DENS", "RATE", "DEPTH", "", "", "" } },
                           { "3", { "TREMR", "TREMD", "", "PANR", "PAND", "" } } } });
    layouts.push_back (
        { 13,
          { { "SEND", 3604 }, { "OUT", 3607 } },
          { { "1", { "100MS", "10MS", "1MS", "FDBK", "LDAMP", "HDAMP" } }, { "2", { "DENS", "", "", "", "", "" } } } });
    layouts.push_back ({ 14,
                         { { "SEND", 3604 }, { "OUT", 3607 } },
                         { { "1", { "1TIME", "1LEVEL", "1PAN", "1FDBK", "", "" } },
                           { "2", { "2TIME", "2LEVEL", "2PAN", "2FDBK", "", "" } },
                           { "3", { "3TIME", "3LEVEL", "3PAN", "3FDBK", "", "LOCUT" } },
                           { "4", { "4TIME", "4LEVEL", "4PAN", "4FDBK", "", "HICUT" } },
                           { "5", { "5TIME", "5LEVEL", "5PAN", "5FDBK", "", "MFDBK" } } } });
    layouts.push_back ({ 2,
                         { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT", 3606 } },
                         { { "1", { "DECAY", "LPF", "", "PDTIME", "PDMIX", "" } },
                           { "2", { "DENS", "DIFF", "", "LDAMP", "HDAMP", "" } },
                           { "3", { "SWIRL", "WIDTH", "", "GATE", "HOLD", "RELEAS" } } } });
    layouts.push_back ({ 16,
                         { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT", 3608 } },
                         { { "1", { "RATE", "DEPTH", "FDBK", "THRU0", "LPF", "" } },
                           { "2", { "FBHPF", "FBLPF", "", "PDLYL", "PDLYR", "" } },
                           { "3", { "TRIG", "ATTACK", "RELEAS", "", "", "" } } } });
    {
        AlgorithmLayout quadChorus{ 17, { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT", 3608 } }, {} };
        quadChorus.pages = voicePages ({ "RATE", "DEPTH", "FDBK", "WAVE", "PDTIM" });
        quadChorus.pages.push_back ({ "5", { "WIDTH", "2LEVEL", "3LEVEL", "", "", "" } });
        layouts.push_back (quadChorus);

        AlgorithmLayout pitchShifter{ 19, { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT", 3608 } }, {} };
        pitchShifter.pages = voicePages ({ "SEMI", "FINE", "LEVEL", "PAN", "PDTIM" });
        layouts.push_back (pitchShifter);
    }
    layouts.push_back ({ 8,
                         { { "SEND", 3604 }, { "BLEND", 3605 }, { "RM OUT", 3606 }, { "HL OUT", 3607 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "LDAMP", "HDAMP", "" } },
                           { "hall_1", { "DECAY", "", "BOOST", "BASSF", "", "LPF" } },
                           hallSecondPage } });
    layouts.push_back ({ 9,
                         { { "SEND", 3604 }, { "BLEND", 3605 }, { "RM OUT", 3606 }, { "PL OUT", 3607 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "LDAMP", "HDAMP", "" } },
                           plateFirstPage,
                           plateSecondPage } });
    layouts.push_back ({ 10,
                         { { "SEND", 3604 }, { "BLEND", 3605 }, { "PL OUT", 3606 }, { "HL OUT", 3607 } },
                         { plateFirstPage,
                           plateSecondPage,
                           { "hall_1", { "DECAY", "", "BOOST", "BFREQ", "", "LPF" } },
                           hallSecondPage } });
    layouts.push_back ({ 25,
                         { { "SEND", 3604 }, { "BLEND", 3605 }, { "RM OUT", 3606 }, { "DL OUT", 3607 } },
                         { { "room_1", { "DECAY", "LPF", "", "DENS", "DIFF", "" } },
                           { "room_2", { "GATE", "HOLD", "RELEAS", "", "", "" } },
                           { "delay_1", { "100MS", "10MS", "1MS", "FDBK", "", "" } },
                           { "delay_2", { "LOCUT", "HICUT", "DENS", "", "RATE", "DEPTH" } },
                           delayTremoloPage } });
    layouts.push_back ({ 26,
                         { { "SEND", 3604 }, { "RM OUT", 3606 }, { "CH OUT", 3607 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "HOLD", "", "" } },
                           { "chorus_1", { "LRATE", "LDEPTH", "LFDBK", "LPDTIM", "", "" } },
                           { "chorus_2", { "RRATE", "RDEPTH", "RFDBK", "RPDTIM", "", "" } },
                           { "chorus_3", { "LPF", "FBHPF", "FBLPF", "", "", "" } } } });
    layouts.push_back ({ 27,
                         { { "SEND", 3604 }, { "BLEND", 3605 }, { "RM OUT", 3606 }, { "FL OUT", 3607 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "HOLD", "", "" } },
                           { "flanger_1", { "RATE", "DEPTH", "FDBK", "PDTIM", "THRU0", "LPF" } },
                           { "flanger_2", { "FBHPF", "FBLPF", "", "TRIG", "ATTACK", "RELEAS" } } } });
    layouts.push_back ({ 18,
                         { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT L", 3608 }, { "OUT R", 3609 } },
                         { { "left_chorus_1", { "RATE", "DEPTH", "FDBK", "PDTIM", "", "" } },
                           { "left_chorus_2", { "LPF", "FBHPF", "FBLPF", "WAVE", "THRU0", "" } },
                           { "right_chorus_1", { "RATE", "DEPTH", "FDBK", "PDTIM", "", "" } },
                           { "right_chorus_2", { "LPF", "FBHPF", "FBLPF", "WAVE", "THRU0", "" } } } });
    layouts.push_back ({ 15,
                         { { "SEND", 3604 }, { "PAN", 3605 }, { "OUT L", 3608 }, { "OUT R", 3609 } },
                         { { "left_delay_1", { "100MS", "10MS", "1MS", "FDBK", "", "" } },
                           { "left_delay_2", { "LOCUT", "HICUT", "RATE", "DEPTH", "WAVE", "" } },
                           { "right_delay_1", { "100MS", "10MS", "1MS", "FDBK", "", "" } },
                           { "right_delay_2", { "LOCUT", "HICUT", "RATE", "DEPTH", "WAVE", "" } } } });
    layouts.push_back ({ 20,
                         { { "SEND", 3604 }, { "MIX", 3606 }, { "OUT", 3608 } },
                         { { "lezlie_1", { "MOTOR", "SPEED", "HIROT", "", "", "" } },
                           roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "LDAMP", "HDAMP", "", "GATE" } } } });
    layouts.push_back ({ 21,
                         { { "SEND", 3604 }, { "MIX", 3606 }, { "OUT", 3608 } },
                         { { "delay_1", { "100MS", "10MS", "1MS", "FDBK", "", "" } },
                           { "delay_2", { "LOCUT", "HICUT", "", "DENS", "RATE", "DEPTH" } },
                           delayTremoloPage,
                           { "room_1", { "DECAY", "LPF", "", "DENS", "DIFF", "" } },
                           { "room_2", { "GATE", "HOLD", "RELEAS", "", "", "" } } } });
    layouts.push_back ({ 22,
                         { { "SEND", 3604 }, { "MIX", 3606 }, { "OUT", 3608 } },
                         { { "chorus_1", { "LRATE", "LDEPTH", "LFDBK", "LPDLY", "", "" } },
                           { "chorus_2", { "RRATE", "RDEPTH", "RFDBK", "RPDLY", "", "" } },
                           { "chorus_3", { "CLPF", "CFBHPF", "CFBLPF", "", "", "" } },
                           { "room_1", { "DECAY", "RLPF", "", "PDTIME", "PDMIX", "" } },
                           { "room_2", { "DENS", "DIFF", "", "GATE", "", "" } } } });
    layouts.push_back ({ 23,
                         { { "SEND", 3604 }, { "MIX", 3606 }, { "OUT", 3608 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "", "", "" } },
                           { "flanger_1", { "RATE", "DEPTH", "FDBK", "", "", "" } },
                           { "flanger_2", { "PDTIME", "THRU0", "LPF", "FBHPF", "FBLPF", "" } },
                           { "flanger_3", { "TRIG", "ATTACK", "RELEAS", "", "", "" } } } });
    layouts.push_back ({ 28,
                         { { "SEND", 3604 }, { "MIX", 3606 }, { "OUT", 3608 } },
                         { roomDecayPage1,
                           { "room_2", { "DENS", "DIFF", "", "GATE", "HOLD", "RELEAS" } },
                           { "delay_1", { "100MS", "10MS", "1MS", "", "FDBK", "" } },
                           { "delay_2", { "LOCUT", "HICUT", "", "DENS", "RATE", "DEPTH" } },
                           delayTremoloPage } });
    layouts.push_back ({ 24,
                         { { "SEND", 3604 }, { "MIX 1", 3606 }, { "MIX 2", 3607 }, { "OUT", 3608 } },
                         { { "flanger_1", { "RATE", "DEPTH", "FDBK", "PDTIME", "THRU0", "LPF" } },
                           { "flanger_2", { "FBHPF", "FBLPF", "", "TRIG", "ATTACK", "RELEAS" } },
                           { "delay", { "DELAY", "FDBK", "HICUT", "", "", "" } },
                           { "room_1", { "DECAY", "LPF", "PDTIME", "PDMIX", "", "" } },
                           { "room_2", { "DENS", "DIFF", "", "GATE", "", "" } } } });
    return layouts;
}

struct ControlTable
{
    std::vector<DigitalEffectParameterMapping> rows;
    std::array<std::vector<int>, effects::numAlgorithms> byAlgorithm;
};

const ControlTable& controlTable()
{
    static const ControlTable table = []
    {
        ControlTable t;
        for (const auto& layout : buildLayouts())
        {
            const auto& algorithm = effectAlgorithm (layout.algorithm);
            auto add = [&] (const std::string& label, int nrpn, int page, int slot, const std::string& pageKey)
            {
                DigitalEffectParameterMapping row;
                row.algorithm = layout.algorithm;
                row.effectName = algorithm.name;
                row.pageName = page == 0 ? "CONFIG" : "PARAM" + std::to_string (page);
                row.label = label;
                row.nrpn = (unsigned)nrpn;
                row.page = (unsigned)page;
                row.slot = (unsigned)slot;
                row.pageKey = pageKey;
                row.id = effectParameterId (algorithm.key, pageKey, label);
                t.byAlgorithm[(std::size_t)layout.algorithm].push_back ((int)t.rows.size());
                t.rows.push_back (std::move (row));
            };
            // The CONFIG page keeps one place per NRPN, so a control sits where the instrument shows it
            // whichever of the outputs an algorithm uses.
            for (const auto& item : layout.config)
                add (item.label, item.nrpn, 0, item.nrpn - effects::sendNrpn, "config");
            int page = 1;
            for (const auto& p : layout.pages)
            {
                for (int slot = 0; slot < effects::slotsPerPage; ++slot)
                    if (*p.labels[(std::size_t)slot] != '\0')
                        add (p.labels[(std::size_t)slot], effects::selectionNrpn + 6 * page + slot, page, slot, p.key);
                ++page;
            }
        }
        return t;
    }();
    return table;
}

bool isValidAlgorithm (int algorithm)
{
    return algorithm >= 0 && algorithm < effects::numAlgorithms;
}

//==============================================================================
// Stored orders.

std::vector<int> reorderByNames (const std::vector<int>& rows, const std::vector<const char*>& names)
{
    const auto& table = effectControlTable();
    std::vector<int> result;
    std::vector<bool> used (rows.size(), false);
    for (const char* name : names)
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (!used[i] && table[(std::size_t)rows[i]].label == name)
            {
                used[i] = true;
                result.push_back (rows[i]);
                break;
            }
    // A partial match would drop controls, so the order is only taken when it accounts for all.
    return result.size() == rows.size() ? result : rows;
}

std::vector<int> buildStoredOrder (int algorithm)
{
    const auto& table = effectControlTable();
    std::vector<int> params, outputs;
    for (int r : effectRowsOf (algorithm))
    {
        const auto& row = table[(std::size_t)r];
        if (row.page > 0)
            params.push_back (r);
        else if (row.nrpn != (unsigned)effects::selectionNrpn && row.nrpn != (unsigned)effects::sendNrpn &&
                 row.nrpn != (unsigned)effects::panNrpn)
            outputs.push_back (r);
    }

    switch (algorithm)
    {
        case 2:
            params = reorderByNames (params, { "DECAY", "LPF", "PDTIME", "PDMIX", "DENS", "DIFF", "LDAMP", "HDAMP",
                                               "GATE", "HOLD", "RELEAS", "SWIRL", "WIDTH" });
            break;
        case 3:
        case 4:
        case 5:
            params =
                reorderByNames (params, { "DECAY", "LPF", "PDTIME", "PDMIX", "DENS", "DIFF", "LDAMP", "HDAMP", "SPREAD",
                                          "SHAPE", "ELEVEL", "GATE", "HOLD", "RELEAS", "SWIRL", "DEPTH" });
            break;
        case 14:
            params = reorderByNames (params, { "1TIME", "1LEVEL", "1PAN", "1FDBK",  "2TIME", "2LEVEL", "2PAN", "2FDBK",
                                               "3TIME", "3LEVEL", "3PAN", "3FDBK",  "LOCUT", "4TIME",  "4PAN", "4LEVEL",
                                               "4FDBK", "5TIME",  "5PAN", "5LEVEL", "MFDBK", "5FDBK",  "HICUT" });
            break;
        default:
            break;
    }

    auto pagesIn = [&] (unsigned first, unsigned last)
    {
        std::vector<int> out;
        for (int r : params)
            if (table[(std::size_t)r].page >= first && table[(std::size_t)r].page <= last)
                out.push_back (r);
        return out;
    };

    std::vector<int> order;
    auto append = [&order] (const std::vector<int>& rows) { order.insert (order.end(), rows.begin(), rows.end()); };
    std::vector<int> leftOver = outputs;

    const bool parallelOrDual = algorithm == 8 || algorithm == 9 || algorithm == 10 || algorithm == 25 ||
                                algorithm == 26 || algorithm == 27 || algorithm == 15 || algorithm == 18;
    const bool chainIntoSecond = algorithm == 20 || algorithm == 21 || algorithm == 22 || algorithm == 23;

    if (parallelOrDual && outputs.size() == 2)
    {
        append (pagesIn (1, 2));
        order.push_back (outputs[0]);
        append (pagesIn (3, 5));
        order.push_back (outputs[1]);
        leftOver.clear();
    }
    else if (chainIntoSecond && outputs.size() == 2)
    {
        const unsigned firstEffectPages = algorithm == 20 ? 1u : algorithm == 23 ? 2u : 3u;
        append (pagesIn (1, firstEffectPages));
        if (algorithm == 23)
            order.push_back (effects::placeholderRow);
        order.push_back (outputs[0]);
        append (pagesIn (firstEffectPages + 1, 5));
        order.push_back (outputs[1]);
        leftOver.clear();
    }
    else if (algorithm == 28 && outputs.size() == 2)
    {
        int release = -1;
        for (int r : params)
            if (table[(std::size_t)r].label == "RELEAS")
                release = r;
            else
                order.push_back (r);
        if (release >= 0)
            order.push_back (release);
        append (outputs);
        leftOver.clear();
    }
    else if (algorithm == 24 && outputs.size() == 3)
    {
        append (pagesIn (1, 2));
        order.push_back (outputs[0]);
        append (pagesIn (3, 3));
        order.push_back (outputs[1]);
        append (pagesIn (4, 5));
        order.push_back (outputs[2]);
        leftOver.clear();
    }
    else
    {
        append (params);
    }
    append (leftOver);
    return order;
}

} // namespace

//==============================================================================
const std::vector<DigitalEffectParameterMapping>& effectControlTable()
{
    return controlTable().rows;
}

const std::vector<int>& effectRowsOf (int algorithm)
{
    static const std::vector<int> none;
    return isValidAlgorithm (algorithm) ? controlTable().byAlgorithm[(std::size_t)algorithm] : none;
}

int effectRowForNrpn (int algorithm, int nrpn)
{
    for (int r : effectRowsOf (algorithm))
        if ((int)effectControlTable()[(std::size_t)r].nrpn == nrpn)
            return r;
    return -1;
}

int effectRowAt (int algorithm, int page, int slot)
{
    for (int r : effectRowsOf (algorithm))
    {
        const auto& row = effectControlTable()[(std::size_t)r];
        if ((int)row.page == page && (int)row.slot == slot)
            return r;
    }
    return -1;
}

int effectRowForLabel (int algorithm, std::string_view pageName, std::string_view label)
{
    for (int r : effectRowsOf (algorithm))
    {
        const auto& row = effectControlTable()[(std::size_t)r];
        if (row.pageName == pageName && row.label == label)
            return r;
    }
    return -1;
}

std::string effectParameterId (std::string_view algorithmKey, std::string_view pageKey, std::string_view label)
{
    std::string labelKey;
    for (char c : label)
        labelKey += c == ' ' ? '_' : (char)std::tolower ((unsigned char)c);
    return "effects.digital." + std::string (algorithmKey) + "." + std::string (pageKey) + "." + labelKey;
}

const std::vector<int>& effectStoredOrder (int algorithm)
{
    static std::once_flag once;
    static std::array<std::vector<int>, effects::numAlgorithms> orders;
    static const std::vector<int> none;
    std::call_once (once,
                    []
                    {
                        for (int a = 0; a < effects::numAlgorithms; ++a)
                            orders[(std::size_t)a] = buildStoredOrder (a);
                    });
    return isValidAlgorithm (algorithm) ? orders[(std::size_t)algorithm] : none;
}

int effectRowForStoredSlot (int algorithm, int k)
{
    const auto& order = effectStoredOrder (algorithm);
    if (k < 0 || k >= (int)order.size())
        return -1;
    return std::max (order[(std::size_t)k], -1);
}

std::string normaliseEffectLabel (std::string_view label)
{
    std::string out;
    for (char c : label)
        if (c != ' ' && c != '-')
            out += (char)std::toupper ((unsigned char)c);
    return out;
}

std::string effectLongName (std::string_view label)
{
    static const std::map<std::string, std::string, std::less<>> names{
        { "SEND", "Send" },
        { "OUT", "Output" },
        { "OUTL", "Output Left" },
        { "OUTR", "Output Right" },
        { "RMOUT", "Room Output" },
        { "HLOUT", "Hall Output" },
        { "PLOUT", "Plate Output" },
        { "DLOUT", "Delay Output" },
        { "CHOUT", "Chorus Output" },
        { "FLOUT", "Flanger Output" },
        { "MIX", "Mix" },
        { "MIX1", "Mix 1" },
        { "MIX2", "Mix 2" },
        { "BLEND", "Blend" },
        { "PAN", "Pan" },
        { "DECAY", "Decay" },
        { "BOOST", "Boost" },
        { "BASSF", "Bass Frequency" },
        { "BFREQ", "Bass Frequency" },
        { "LPF", "Low Pass Filter" },
        { "RLPF", "Room Low Pass Filter" },
        { "CLPF", "Chorus Low Pass Filter" },
        { "HPF", "High Pass Filter" },
        { "LSHELF", "Low Shelf" },
        { "DENS", "Density" },
        { "DIFF", "Diffusion" },
        { "PDTIME", "Pre-delay" },
        { "PREDELAY", "Pre-delay" },
        { "PDTIM", "Pre-delay Time" },
        { "PDMIX", "Pre-delay Mix" },
        { "PDLYL", "Left Pre-delay" },
        { "PDLYR", "Right Pre-delay" },
        { "LDAMP", "Low Damp" },
        { "LOWDAMP", "Low Damp" },
        { "HDAMP", "Hi Damp" },
        { "HIDAMP", "Hi Damp" },
        { "SWIRL", "Swirl" },
        { "DEPTH", "Depth" },
        { "GATE", "Gate" },
        { "HOLD", "Hold" },
        { "RELEAS", "Release" },
        { "RELEASE", "Release" },
        { "SPREAD", "Spread" },
        { "SHAPE", "Shape" },
        { "ELEVEL", "Early Reflection Level" },
        { "TIME", "Time" },
        { "DIR", "Direction" },
        { "100MS", "100 Milliseconds" },
        { "10MS", "10 Milliseconds" },
        { "1MS", "1 Millisecond" },
        { "FDBK", "Feedback" },
        { "LOCUT", "Low Cut" },
        { "HICUT", "High Cut" },
        { "RATE", "Rate" },
        { "TREMR", "Tremolo Rate" },
        { "TREMD", "Tremolo Depth" },
        { "PANR", "Pan Rate" },
        { "PAND", "Pan Depth" },
        { "LEVEL", "Level" },
        { "WIDTH", "Width" },
        { "FBHPF", "Feedback High Pass Filter" },
        { "FBLPF", "Feedback Low Pass Filter" },
        { "THRU0", "Through Zero" },
        { "TRIG", "Trigger" },
        { "ATTACK", "Attack" },
        { "WAVE", "Wave" },
        { "SEMI", "Semitone" },
        { "FINE", "Fine Tune" },
        { "MOTOR", "Motor" },
        { "SPEED", "Speed" },
        { "HIROT", "High Rotor" },
    };
    // Only for composing: the chorus pre-delays are written with the side in front.
    static const std::map<std::string, std::string, std::less<>> restOnly{ { "PDLY", "Pre-delay" } };

    const std::string key = normaliseEffectLabel (label);
    if (auto it = names.find (key); it != names.end())
        return it->second;

    auto restName = [&] (const std::string& rest) -> std::optional<std::string>
    {
        if (auto it = names.find (rest); it != names.end())
            return it->second;
        if (auto it = restOnly.find (rest); it != restOnly.end())
            return it->second;
        return std::nullopt;
    };

    std::size_t digits = 0;
    while (digits < key.size() && std::isdigit ((unsigned char)key[digits]))
        ++digits;
    if (digits > 0 && digits < key.size())
        if (auto rest = restName (key.substr (digits)))
            return "Part " + key.substr (0, digits) + " " + *rest;

    if (key.size() > 1)
    {
        const char* prefix = nullptr;
        switch (key[0])
        {
            case 'L':
                prefix = "Left ";
                break;
            case 'R':
                prefix = "Right ";
                break;
            case 'M':
                prefix = "Master ";
                break;
            case 'C':
                prefix = "Chorus ";
                break;
            default:
                break;
        }
        if (prefix != nullptr)
            if (auto rest = restName (key.substr (1)))
                return prefix + *rest;
    }
    return std::string (label);
}

namespace
{
struct PageName
{
    const char* stem;
    const char* abbreviation;
    const char* longPrefix;
};

// Longest stems first, so "left_delay" is not taken for "delay".
const PageName pageNames[] = {
    { "left_chorus", "L-CHRS", "Left Chorus " },
    { "right_chorus", "R-CHRS", "Right Chorus " },
    { "left_delay", "L-DLY", "Left Delay " },
    { "right_delay", "R-DLY", "Right Delay " },
    { "flanger", "FLANG", "Flanger " },
    { "chorus", "CHORS", "Chorus " },
    { "lezlie", "LEZLE", "Lezlie " },
    { "plate", "PLATE", "Plate " },
    { "delay", "DELAY", "Delay " },
    { "room", "ROOM", "Room " },
    { "hall", "HALL", "Hall " },
};

const PageName* pageNameFor (std::string_view pageKey)
{
    for (const auto& p : pageNames)
    {
        const std::string_view stem (p.stem);
        if (pageKey.substr (0, stem.size()) == stem && (pageKey.size() == stem.size() || pageKey[stem.size()] == '_'))
            return &p;
    }
    return nullptr;
}
} // namespace

std::string effectPageAbbreviation (std::string_view pageKey)
{
    const auto* p = pageNameFor (pageKey);
    return p != nullptr ? p->abbreviation : "";
}

std::string effectPageLongPrefix (std::string_view pageKey)
{
    const auto* p = pageNameFor (pageKey);
    return p != nullptr ? p->longPrefix : "";
}

} // namespace orvo
