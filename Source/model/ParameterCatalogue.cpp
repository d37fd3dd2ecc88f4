#include "ParameterCatalogue.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace orvo
{
namespace
{
constexpr OrvoParameterInfo row (const char* id, const char* name, const char* section, int group, int kind, int nrpn,
                                 int rawMax, double displayMin, double displayMax, double step, int decimals,
                                 int format, int offValue, int onValue, std::initializer_list<ChoiceLabel> labels)
{
    OrvoParameterInfo info;
    info.id = id;
    info.name = name;
    info.section = section;
    info.group = group;
    info.kind = kind;
    info.nrpn = nrpn;
    info.rawMin = 0;
    info.rawMax = rawMax;
    info.displayMin = displayMin;
    info.displayMax = displayMax;
    info.displayStep = step;
    info.decimals = decimals;
    info.displayFormat = format;
    info.offValue = offValue;
    info.onValue = onValue;
    int n = 0;
    for (const auto& label : labels)
        if (n < 3)
            info.labels[(size_t)n++] = label;
    info.labelCount = n;
    return info;
}

// clang-format off
const std::array<OrvoParameterInfo, ParameterCatalogue::numRows> catalogueRows {{
    row ("performance.tempo", "Tempo", "CLOCK", 0, 0, 640, 4095, 0.458, 500, 0.001, 3, 9, 0, 4095, {  }),
    row ("performance.detune", "Detune", "KEYBOARD MODE", 0, 0, 3712, 4095, 0, 100, 1, 0, 0, 0, 4095, {  }),
    row ("performance.unisonx", "Unison X", "KEYBOARD MODE", 0, 0, 3715, 4095, 0, 16, 1, 0, 12, 0, 4095, {  }),
    row ("performance.monovox", "Monovox", "KEYBOARD MODE", 0, 0, 3717, 4095, 1, 16, 1, 0, 0, 0, 4095, {  }),
    row ("performance.transpose", "Transpose", "KEYBOARD MODE", 0, 0, 4481, 4095, -24, 24, 1, 0, 0, 0, 4095, {  }),
    row ("performance.arp.localbpm", "Local BPM", "ARPEGGIATOR", 0, 0, 900, 4095, 0.46, 600, 0.01, 2, 10, 0, 4095, {  }),
    row ("performance.arp.length", "Length", "ARPEGGIATOR", 0, 0, 902, 4095, 0, 100, 0.01, 2, 11, 0, 4095, {  }),
    row ("performance.arp.octave", "Octave", "ARPEGGIATOR", 0, 0, 904, 4095, -10, 10, 1, 0, 0, 0, 4095, {  }),
    row ("performance.arp.progressor", "Progressor", "ARPEGGIATOR", 0, 0, 924, 4095, -127, 127, 1, 0, 0, 0, 4095, {  }),
    row ("performance.arp.progmin", "Prog. Min", "ARPEGGIATOR", 0, 0, 925, 4095, -127, 127, 1, 0, 0, 0, 4095, {  }),
    row ("performance.arp.progmax", "Prog. Max", "ARPEGGIATOR", 0, 0, 926, 4095, -127, 127, 1, 0, 0, 0, 4095, {  }),
    row ("performance.portamento.time", "Time", "PORTAMENTO", 0, 0, -1, 4095, 0, 32.77, 0.01, 2, 13, 0, 4095, {  }),
    row ("performance.portamento.offset", "Offset", "PORTAMENTO", 0, 0, -1, 4095, -127, 127, 1, 0, 0, 0, 4095, {  }),
    row ("performance.lowerportamento.time", "Time", "PORTAMENTO", 0, 0, 3969, 4095, 0, 32.77, 0.01, 2, 13, 0, 4095, {  }),
    row ("performance.lowerportamento.offset", "Offset", "PORTAMENTO", 0, 0, 3984, 4095, -127, 127, 1, 0, 0, 0, 4095, {  }),
    row ("performance.wheel.toprange", "Top Range", "PITCH WHEEL & MOD WHEEL ASSIGN", 0, 0, 3841, 4095, 0, 48, 1, 0, 0, 0, 4095, {  }),
    row ("performance.wheel.bottomrange", "Bottom Range", "PITCH WHEEL & MOD WHEEL ASSIGN", 0, 0, 3843, 4095, 0, -48, 1, 0, 0, 0, 4095, {  }),
    row ("performance.wheel.scale", "Scale", "PITCH WHEEL & MOD WHEEL ASSIGN", 0, 0, 4099, 4095, 0, 100, 0.01, 2, 0, 0, 4095, {  }),
    row ("osc1.semitone", "Semitone", "OSC 1 TUNING", 1, 0, 1920, 4095, -60, 60, 1, 0, 1, 0, 4095, {  }),
    row ("osc1.cents", "Cents", "OSC 1 TUNING", 1, 0, 1921, 4095, -100, 100, 1, 0, 2, 0, 4095, {  }),
    row ("osc1.fine", "Fine", "OSC 1 TUNING", 1, 0, 1922, 4095, -100, 100, 1, 0, 3, 0, 4095, {  }),
    row ("osc2toosc1.softamount", "Soft Amount", "OSC 2 TO OSC 1 FM", 1, 0, 1932, 4095, 0, 100, 1, 0, 0, 0, 4095, {  }),
    row ("osc2toosc1.linfm", "OSC2 LIN FM", "OSC 2 TO OSC 1 FM", 1, 0, 1933, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc2toosc1.expfm", "OSC2 EXP FM", "OSC 2 TO OSC 1 FM", 1, 0, 1934, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc2toosc1.pwm", "OSC2 PWM", "OSC 2 TO OSC 1 FM", 1, 0, 1935, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc2toosc1.assign", "Assign", "OSC 2 TO OSC 1 FM", 1, 0, 1936, 4095, 0, 7, 1, 0, 0, 0, 4095, {  }),
    row ("osc.nzext.source", "NZEXT Source", "NZEXT OSCILLATOR MODULATION", 1, 0, 1925, 3075, 0, 3, 1, 0, 0, 0, 3075, {  }),
    row ("osc.nzext.osc1linfm", "OSC 1 LIN FM", "NZEXT OSCILLATOR MODULATION", 1, 0, 1926, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc.nzext.osc1expfm", "OSC 1 EXP FM", "NZEXT OSCILLATOR MODULATION", 1, 0, 1927, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc.nzext.osc1pwm", "OSC 1 PWM", "NZEXT OSCILLATOR MODULATION", 1, 0, 1928, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc.nzext.osc2expfm", "OSC 2 EXP FM", "NZEXT OSCILLATOR MODULATION", 2, 0, 1929, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc.nzext.osc2pwm", "OSC 2 PWM", "NZEXT OSCILLATOR MODULATION", 2, 0, 1930, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc1.square", "SQR", "OSC 1 WAVES", 1, 3, 1940, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc1.pwm", "OSC1 SQR WIDTH", "OSC 1 WAVES", 1, 0, 1947, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc1.env1level", "OSC1 SQR LEVEL", "OSC 1 WAVES", 1, 0, 1948, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc1.filterfm", "Filter FM", "OSC 1 WAVES", 1, 3, 1946, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc1.saw", "Saw", "OSC 1 WAVES", 1, 2, 1939, 2, 0, 2, 1, 0, 0, 0, 1, { {"Off", 0}, {"Pos", 1}, {"Neg", 2} }),
    row ("osc1.triangle", "TRI", "OSC 1 WAVES", 1, 3, 1938, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc1.sine", "Sine", "OSC 1 WAVES", 1, 3, 1937, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc1.env1pitch.enable", "Enable", "ENV 1 TO OSC 1 PITCH", 1, 3, 1952, 4096, 0, 1, 1, 0, 0, 0, 4096, {  }),
    row ("osc1.env1pitch.amount", "ENV 1 Level", "ENV 1 TO OSC 1 PITCH", 1, 0, 1953, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("osc1.env1pitch.offset", "Offset", "ENV 1 TO OSC 1 PITCH", 1, 0, 1954, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("osc2.semitone", "Semitone", "OSC 2 TUNING", 2, 0, 2048, 4095, -60, 60, 1, 0, 1, 0, 4095, {  }),
    row ("osc2.cents", "Cents", "OSC 2 TUNING", 2, 0, 2049, 4095, -100, 100, 1, 0, 2, 0, 4095, {  }),
    row ("osc2.fine", "Fine", "OSC 2 TUNING", 2, 0, 2050, 4095, -100, 100, 1, 0, 3, 0, 4095, {  }),
    row ("osc2.sync", "Sync", "OSC 2 TUNING", 2, 2, 2070, 2, 0, 2, 1, 0, 0, 0, 2, { {"Off", 0}, {"Hard", 1}, {"Soft", 2} }),
    row ("osc2.square", "SQR", "OSC 2 WAVES", 2, 3, 2055, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc2.pwm", "OSC2 SQR WIDTH", "OSC 2 WAVES", 2, 0, 2062, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc2.env1level", "OSC2 SQR LEVEL", "OSC 2 WAVES", 2, 0, 2060, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("osc2.filterfm", "Filter FM", "OSC 2 WAVES", 2, 3, 2061, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc2.saw", "Saw", "OSC 2 WAVES", 2, 2, 2054, 2, 0, 2, 1, 0, 0, 0, 1, { {"Off", 0}, {"Pos", 1}, {"Neg", 2} }),
    row ("osc2.triangle", "TRI", "OSC 2 WAVES", 2, 3, 2053, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc2.sine", "Sine", "OSC 2 WAVES", 2, 3, 2052, 1, 0, 1, 1, 0, 0, 0, 1, {  }),
    row ("osc2.env1pitch.enable", "Enable", "ENV 1 TO OSC 2 PITCH", 2, 3, 2067, 4096, 0, 1, 1, 0, 0, 0, 4096, {  }),
    row ("osc2.env1pitch.amount", "ENV 1 Level", "ENV 1 TO OSC 2 PITCH", 2, 0, 2068, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("osc2.env1pitch.offset", "Offset", "ENV 1 TO OSC 2 PITCH", 2, 0, 2069, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("prefilter.osc1", "OSC 1 LEVEL", "PRE-FILTER MIX", 3, 0, 2176, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("prefilter.subosc1", "SUB OSC 1 LEVEL", "PRE-FILTER MIX", 3, 0, 2178, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("prefilter.osc2", "OSC 2 LEVEL", "PRE-FILTER MIX", 3, 0, 2177, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("prefilter.subosc2", "SUB OSC 2 LEVEL", "PRE-FILTER MIX", 3, 0, 2179, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("prefilter.ringmod", "RING MOD LEVEL", "PRE-FILTER MIX", 3, 0, 2180, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("prefilter.noiseext", "NOISE/EXT LEVEL", "PRE-FILTER MIX", 3, 0, 2181, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("filter1.frequency", "Frequency", "FILTER 1 (12dB)", 3, 0, 2304, 4095, 0.0218, 22.3482, 0.0001, 4, 16, 0, 4095, {  }),
    row ("filter1.resonance", "Resonance", "FILTER 1 (12dB)", 3, 0, 2305, 4095, 0, 100, 0.01, 2, 17, 0, 4095, {  }),
    row ("filter1.keytrack", "Key Track", "FILTER 1 (12dB)", 3, 0, 2306, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("filter1.env2amount", "ENV 2 AMOUNT", "FILTER 1 (12dB)", 3, 0, 2307, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("filter2.frequency", "Frequency", "FILTER 2 (24 dB)", 3, 0, 2432, 4095, 0.0218, 44.696, 0.0001, 4, 16, 0, 4095, {  }),
    row ("filter2.resonance", "Resonance", "FILTER 2 (24 dB)", 3, 0, 2433, 4095, 0, 100, 0.01, 2, 17, 0, 4095, {  }),
    row ("filter2.keytrack", "Key Track", "FILTER 2 (24 dB)", 3, 0, 2434, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("filter2.env2amount", "ENV 2 AMOUNT", "FILTER 2 (24 dB)", 3, 0, 2435, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.osc1", "FILTER 1 HIGH PASS", "POST FILTER MIX", 3, 0, 2561, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.subosc1", "FILTER 1 LOW PASS", "POST FILTER MIX", 3, 0, 2560, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.osc2", "FILTER 1 BAND PASS", "POST FILTER MIX", 3, 0, 2562, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.subosc2", "FILTER 2 LOW PASS", "POST FILTER MIX", 3, 0, 2563, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.ringmod", "PRE FILTER", "POST FILTER MIX", 3, 0, 2564, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("postfilter.noiseext", "Post Filter Sources", "POST FILTER MIX", 3, 0, 2572, 4095, 0, 7, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.shape", "LFO 1 Shape", "LFO Bridge", 4, 0, 1040, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.rate", "LFO 1 Rate", "LFO Bridge", 4, 0, 1034, 4095, 0.0076295, 25, 0.0001, 2, 15, 0, 4095, {  }),
    row ("lfo1.delay", "LFO 1 Delay", "LFO Bridge", 4, 0, 1041, 4095, 0, 65535, 1, 0, 7, 0, 4095, {  }),
    row ("lfo1.phase", "LFO 1 Phase", "LFO Bridge", 4, 0, 1042, 4095, 0, 360, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.level", "LFO 1 Level", "LFO Bridge", 4, 0, 1046, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo1.offset", "LFO 1 Offset", "LFO Bridge", 4, 0, 1044, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo1.polarity", "LFO 1 Polarity", "LFO Bridge", 4, 0, 1045, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.wavewidth", "LFO 1 Wave Width", "LFO Bridge", 4, 0, 1043, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo1.triggersource", "LFO 1 Trigger Source", "LFO Bridge", 4, 0, 1028, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.triggerlevel", "LFO 1 Trigger Level", "LFO Bridge", 4, 0, 1029, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo1.triggertype", "LFO 1 Trigger Type", "LFO Bridge", 4, 0, 1030, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.enable", "LFO 1 Enable", "LFO Bridge", 4, 3, 1035, 4095, 0, 1, 1, 0, 0, 0, 2049, {  }),
    row ("lfo1.startson", "LFO 1 Starts On", "LFO Bridge", 4, 0, 1031, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.freerun", "LFO 1 Freerun", "LFO Bridge", 4, 3, 1032, 4095, 0, 1, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.syncsource", "LFO 1 Sync Source", "LFO Bridge", 4, 0, 1048, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo1.periodsize", "LFO 1 Period Size", "LFO Bridge", 4, 0, 1049, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.shape", "LFO 2 Shape", "LFO Bridge", 4, 0, 1168, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.rate", "LFO 2 Rate", "LFO Bridge", 4, 0, 1162, 4095, 0.0076295, 25, 0.0001, 2, 15, 0, 4095, {  }),
    row ("lfo2.delay", "LFO 2 Delay", "LFO Bridge", 4, 0, 1169, 4095, 0, 65535, 1, 0, 7, 0, 4095, {  }),
    row ("lfo2.phase", "LFO 2 Phase", "LFO Bridge", 4, 0, 1170, 4095, 0, 360, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.level", "LFO 2 Level", "LFO Bridge", 4, 0, 1174, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo2.offset", "LFO 2 Offset", "LFO Bridge", 4, 0, 1172, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo2.polarity", "LFO 2 Polarity", "LFO Bridge", 4, 0, 1173, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.wavewidth", "LFO 2 Wave Width", "LFO Bridge", 4, 0, 1171, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo2.triggersource", "LFO 2 Trigger Source", "LFO Bridge", 4, 0, 1156, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.triggerlevel", "LFO 2 Trigger Level", "LFO Bridge", 4, 0, 1157, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo2.triggertype", "LFO 2 Trigger Type", "LFO Bridge", 4, 0, 1158, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.enable", "LFO 2 Enable", "LFO Bridge", 4, 3, 1163, 4095, 0, 1, 1, 0, 0, 0, 2050, {  }),
    row ("lfo2.startson", "LFO 2 Starts On", "LFO Bridge", 4, 0, 1159, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.freerun", "LFO 2 Freerun", "LFO Bridge", 4, 3, 1160, 4095, 0, 1, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.syncsource", "LFO 2 Sync Source", "LFO Bridge", 4, 0, 1176, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo2.periodsize", "LFO 2 Period Size", "LFO Bridge", 4, 0, 1177, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.shape", "LFO 3 Shape", "LFO Bridge", 4, 0, 1296, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.rate", "LFO 3 Rate", "LFO Bridge", 4, 0, 1290, 4095, 0.0076295, 25, 0.0001, 2, 15, 0, 4095, {  }),
    row ("lfo3.delay", "LFO 3 Delay", "LFO Bridge", 4, 0, 1297, 4095, 0, 65535, 1, 0, 7, 0, 4095, {  }),
    row ("lfo3.phase", "LFO 3 Phase", "LFO Bridge", 4, 0, 1298, 4095, 0, 360, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.level", "LFO 3 Level", "LFO Bridge", 4, 0, 1302, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo3.offset", "LFO 3 Offset", "LFO Bridge", 4, 0, 1300, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo3.polarity", "LFO 3 Polarity", "LFO Bridge", 4, 0, 1301, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.wavewidth", "LFO 3 Wave Width", "LFO Bridge", 4, 0, 1299, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("lfo3.triggersource", "LFO 3 Trigger Source", "LFO Bridge", 4, 0, 1284, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.triggerlevel", "LFO 3 Trigger Level", "LFO Bridge", 4, 0, 1285, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("lfo3.triggertype", "LFO 3 Trigger Type", "LFO Bridge", 4, 0, 1286, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.enable", "LFO 3 Enable", "LFO Bridge", 4, 3, 1291, 4095, 0, 1, 1, 0, 0, 0, 2069, {  }),
    row ("lfo3.startson", "LFO 3 Starts On", "LFO Bridge", 4, 0, 1287, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.freerun", "LFO 3 Freerun", "LFO Bridge", 4, 3, 1288, 4095, 0, 1, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.syncsource", "LFO 3 Sync Source", "LFO Bridge", 4, 0, 1304, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("lfo3.periodsize", "LFO 3 Period Size", "LFO Bridge", 4, 0, 1305, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("sh.samplesource", "S&H Sample Source", "LFO Bridge", 4, 0, 1410, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("sh.level", "S&H Level", "LFO Bridge", 4, 0, 1412, 4095, -100, 100, 0.01, 2, 6, 0, 4095, {  }),
    row ("sh.offset", "S&H Offset", "LFO Bridge", 4, 0, 1411, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("sh.rate", "S&H Rate", "LFO Bridge", 4, 0, 1423, 4095, 0.02, 100, 0.01, 2, 14, 0, 4095, {  }),
    row ("sh.enable", "S&H Enable", "LFO Bridge", 4, 3, 1413, 4095, 0, 1, 1, 0, 0, 0, 4095, {  }),
    row ("sh.triggersource", "S&H Trigger Source", "LFO Bridge", 4, 0, 1416, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("sh.triggerlevel", "S&H Trigger Level", "LFO Bridge", 4, 0, 1417, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("sh.triggertype", "S&H Trigger Type", "LFO Bridge", 4, 0, 1418, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("sh.syncsource", "S&H Sync Source", "LFO Bridge", 4, 0, 1429, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("sh.periodsize", "S&H Period Size", "LFO Bridge", 4, 0, 1430, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.delaytime", "ENV 1 Delay Time", "Envelope Bridge", 5, 0, 2688, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.attacktime", "ENV 1 Attack Time", "Envelope Bridge", 5, 0, 2689, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.decay1time", "ENV 1 Decay 1 Time", "Envelope Bridge", 5, 0, 2690, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.decay2time", "ENV 1 Decay 2 Time", "Envelope Bridge", 5, 0, 2691, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.release1time", "ENV 1 Release 1 Time", "Envelope Bridge", 5, 0, 2692, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.release2time", "ENV 1 Release 2 Time", "Envelope Bridge", 5, 0, 2693, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.shape", "ENV 1 Shape", "Envelope Bridge", 5, 0, 2694, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.decay2level", "ENV 1 Decay 2 Level", "Envelope Bridge", 5, 0, 2695, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.sustainlevel", "ENV 1 Sustain Level", "Envelope Bridge", 5, 0, 2696, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.release2level", "ENV 1 Release 2 Level", "Envelope Bridge", 5, 0, 2697, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.offsetlevel", "ENV 1 Offset Level", "Envelope Bridge", 5, 0, 2698, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.attacklevel", "ENV 1 Attack Level", "Envelope Bridge", 5, 0, 2699, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.polarity", "ENV 1 Polarity", "Envelope Bridge", 5, 0, 2700, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.triggermode", "ENV 1 Trigger Mode", "Envelope Bridge", 5, 0, 2712, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.triggersource", "ENV 1 Trigger Source", "Envelope Bridge", 5, 0, 2713, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.triggerlevel", "ENV 1 Trigger Level", "Envelope Bridge", 5, 0, 2714, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.triggerpolarity", "ENV 1 Trigger Polarity", "Envelope Bridge", 5, 0, 2715, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.triggerenable", "ENV 1 Trigger Enable", "Envelope Bridge", 5, 0, 2716, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.retriggerstage", "ENV 1 Retrigger Stage", "Envelope Bridge", 5, 0, 2718, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.trigselect", "ENV 1 Trigger Select", "Envelope Bridge", 5, 0, 2722, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.loopstart", "ENV 1 Loop Start", "Envelope Bridge", 5, 0, 2723, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.loopend", "ENV 1 Loop End", "Envelope Bridge", 5, 0, 2724, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.loopcount", "ENV 1 Loop Count", "Envelope Bridge", 5, 0, 2725, 4095, 0, 255, 1, 0, 0, 0, 4095, {  }),
    row ("env1.looptype", "ENV 1 Loop Type", "Envelope Bridge", 5, 0, 2726, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.smoothtime", "ENV 1 Smooth Time", "Envelope Bridge", 5, 0, 2727, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env1.smoothslope", "ENV 1 Smooth Slope", "Envelope Bridge", 5, 0, 2728, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.reset", "ENV 1 Reset", "Envelope Bridge", 5, 0, 2730, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.sustainpedal", "ENV 1 Sustain Pedal", "Envelope Bridge", 5, 0, 2731, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env1.keytrack", "ENV 1 Key Track", "Envelope Bridge", 5, 0, 2732, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.keybase", "ENV 1 Key Base", "Envelope Bridge", 5, 0, 2733, 127, 0, 127, 1, 0, 0, 0, 127, {  }),
    row ("env1.leveltrack", "ENV 1 Level Track", "Envelope Bridge", 5, 0, 2734, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.velocitymod", "ENV 1 Velocity Mod", "Envelope Bridge", 5, 0, 2735, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env1.releasemod", "ENV 1 Release Mod", "Envelope Bridge", 5, 0, 2736, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.delaytime", "ENV 2 Delay Time", "Envelope Bridge", 5, 0, 2816, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.attacktime", "ENV 2 Attack Time", "Envelope Bridge", 5, 0, 2817, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.decay1time", "ENV 2 Decay 1 Time", "Envelope Bridge", 5, 0, 2818, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.decay2time", "ENV 2 Decay 2 Time", "Envelope Bridge", 5, 0, 2819, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.release1time", "ENV 2 Release 1 Time", "Envelope Bridge", 5, 0, 2820, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.release2time", "ENV 2 Release 2 Time", "Envelope Bridge", 5, 0, 2821, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.shape", "ENV 2 Shape", "Envelope Bridge", 5, 0, 2822, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.decay2level", "ENV 2 Decay 2 Level", "Envelope Bridge", 5, 0, 2823, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.sustainlevel", "ENV 2 Sustain Level", "Envelope Bridge", 5, 0, 2824, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.release2level", "ENV 2 Release 2 Level", "Envelope Bridge", 5, 0, 2825, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.offsetlevel", "ENV 2 Offset Level", "Envelope Bridge", 5, 0, 2826, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.attacklevel", "ENV 2 Attack Level", "Envelope Bridge", 5, 0, 2827, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.polarity", "ENV 2 Polarity", "Envelope Bridge", 5, 0, 2828, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.triggermode", "ENV 2 Trigger Mode", "Envelope Bridge", 5, 0, 2840, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.triggersource", "ENV 2 Trigger Source", "Envelope Bridge", 5, 0, 2841, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.triggerlevel", "ENV 2 Trigger Level", "Envelope Bridge", 5, 0, 2842, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.triggerpolarity", "ENV 2 Trigger Polarity", "Envelope Bridge", 5, 0, 2843, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.triggerenable", "ENV 2 Trigger Enable", "Envelope Bridge", 5, 0, 2844, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.retriggerstage", "ENV 2 Retrigger Stage", "Envelope Bridge", 5, 0, 2846, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.trigselect", "ENV 2 Trigger Select", "Envelope Bridge", 5, 0, 2850, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.loopstart", "ENV 2 Loop Start", "Envelope Bridge", 5, 0, 2851, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.loopend", "ENV 2 Loop End", "Envelope Bridge", 5, 0, 2852, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.loopcount", "ENV 2 Loop Count", "Envelope Bridge", 5, 0, 2853, 4095, 0, 255, 1, 0, 0, 0, 4095, {  }),
    row ("env2.looptype", "ENV 2 Loop Type", "Envelope Bridge", 5, 0, 2854, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.smoothtime", "ENV 2 Smooth Time", "Envelope Bridge", 5, 0, 2855, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env2.smoothslope", "ENV 2 Smooth Slope", "Envelope Bridge", 5, 0, 2856, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.reset", "ENV 2 Reset", "Envelope Bridge", 5, 0, 2858, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.sustainpedal", "ENV 2 Sustain Pedal", "Envelope Bridge", 5, 0, 2859, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env2.keytrack", "ENV 2 Key Track", "Envelope Bridge", 5, 0, 2860, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.keybase", "ENV 2 Key Base", "Envelope Bridge", 5, 0, 2861, 127, 0, 127, 1, 0, 0, 0, 127, {  }),
    row ("env2.leveltrack", "ENV 2 Level Track", "Envelope Bridge", 5, 0, 2862, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.velocitymod", "ENV 2 Velocity Mod", "Envelope Bridge", 5, 0, 2863, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env2.releasemod", "ENV 2 Release Mod", "Envelope Bridge", 5, 0, 2864, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.delaytime", "ENV 3 Delay Time", "Envelope Bridge", 5, 0, 2944, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.attacktime", "ENV 3 Attack Time", "Envelope Bridge", 5, 0, 2945, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.decay1time", "ENV 3 Decay 1 Time", "Envelope Bridge", 5, 0, 2946, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.decay2time", "ENV 3 Decay 2 Time", "Envelope Bridge", 5, 0, 2947, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.release1time", "ENV 3 Release 1 Time", "Envelope Bridge", 5, 0, 2948, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.release2time", "ENV 3 Release 2 Time", "Envelope Bridge", 5, 0, 2949, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.shape", "ENV 3 Shape", "Envelope Bridge", 5, 0, 2950, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.decay2level", "ENV 3 Decay 2 Level", "Envelope Bridge", 5, 0, 2951, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("env3.sustainlevel", "ENV 3 Sustain Level", "Envelope Bridge", 5, 0, 2952, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("env3.release2level", "ENV 3 Release 2 Level", "Envelope Bridge", 5, 0, 2953, 4095, 0, 100, 0.01, 2, 4, 0, 4095, {  }),
    row ("env3.offsetlevel", "ENV 3 Offset Level", "Envelope Bridge", 5, 0, 2954, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.attacklevel", "ENV 3 Attack Level", "Envelope Bridge", 5, 0, 2955, 4095, 0, 100, 0.01, 2, 8, 0, 4095, {  }),
    row ("env3.polarity", "ENV 3 Polarity", "Envelope Bridge", 5, 0, 2956, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.triggermode", "ENV 3 Trigger Mode", "Envelope Bridge", 5, 0, 2968, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.triggersource", "ENV 3 Trigger Source", "Envelope Bridge", 5, 0, 2969, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.triggerlevel", "ENV 3 Trigger Level", "Envelope Bridge", 5, 0, 2970, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.triggerpolarity", "ENV 3 Trigger Polarity", "Envelope Bridge", 5, 0, 2971, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.triggerenable", "ENV 3 Trigger Enable", "Envelope Bridge", 5, 0, 2972, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.retriggerstage", "ENV 3 Retrigger Stage", "Envelope Bridge", 5, 0, 2974, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.trigselect", "ENV 3 Trigger Select", "Envelope Bridge", 5, 0, 2978, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.loopstart", "ENV 3 Loop Start", "Envelope Bridge", 5, 0, 2979, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.loopend", "ENV 3 Loop End", "Envelope Bridge", 5, 0, 2980, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.loopcount", "ENV 3 Loop Count", "Envelope Bridge", 5, 0, 2981, 4095, 0, 255, 1, 0, 0, 0, 4095, {  }),
    row ("env3.looptype", "ENV 3 Loop Type", "Envelope Bridge", 5, 0, 2982, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.smoothtime", "ENV 3 Smooth Time", "Envelope Bridge", 5, 0, 2983, 4095, 0, 65535, 1, 0, 0, 0, 4095, {  }),
    row ("env3.smoothslope", "ENV 3 Smooth Slope", "Envelope Bridge", 5, 0, 2984, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.reset", "ENV 3 Reset", "Envelope Bridge", 5, 0, 2986, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.sustainpedal", "ENV 3 Sustain Pedal", "Envelope Bridge", 5, 0, 2987, 4095, 0, 4095, 1, 0, 0, 0, 4095, {  }),
    row ("env3.keytrack", "ENV 3 Key Track", "Envelope Bridge", 5, 0, 2988, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.keybase", "ENV 3 Key Base", "Envelope Bridge", 5, 0, 2989, 127, 0, 127, 1, 0, 0, 0, 127, {  }),
    row ("env3.leveltrack", "ENV 3 Level Track", "Envelope Bridge", 5, 0, 2990, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.velocitymod", "ENV 3 Velocity Mod", "Envelope Bridge", 5, 0, 2991, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
    row ("env3.releasemod", "ENV 3 Release Mod", "Envelope Bridge", 5, 0, 2992, 4095, -100, 100, 0.01, 2, 5, 0, 4095, {  }),
}};
// clang-format on

struct NrpnIndex
{
    std::unordered_map<int, std::vector<int>> byNrpn;
    std::unordered_map<std::string_view, int> byId;

    NrpnIndex()
    {
        for (int r = 0; r < ParameterCatalogue::numRows; ++r)
        {
            const auto& info = catalogueRows[(size_t)r];
            if (info.nrpn >= 0)
                byNrpn[info.nrpn].push_back (r);
            byId.emplace (info.id, r);
        }
    }
};

const NrpnIndex& index()
{
    static const NrpnIndex instance;
    return instance;
}
} // namespace

const std::array<OrvoParameterInfo, ParameterCatalogue::numRows>& ParameterCatalogue::rows()
{
    return catalogueRows;
}

const OrvoParameterInfo& ParameterCatalogue::row (int index)
{
    return catalogueRows[(size_t)std::clamp (index, 0, numRows - 1)];
}

std::optional<int> ParameterCatalogue::findById (std::string_view id)
{
    const auto& map = index().byId;
    if (auto it = map.find (id); it != map.end())
        return it->second;
    return std::nullopt;
}

std::optional<int> ParameterCatalogue::findByNrpn (int nrpn)
{
    if (nrpn < 0)
        return std::nullopt;
    const auto& map = index().byNrpn;
    if (auto it = map.find (nrpn); it != map.end() && !it->second.empty())
        return it->second.front();
    return std::nullopt;
}

std::vector<int> ParameterCatalogue::rowsForNrpn (int nrpn)
{
    if (nrpn < 0)
        return {};
    const auto& map = index().byNrpn;
    if (auto it = map.find (nrpn); it != map.end())
        return it->second;
    return {};
}

std::string ParameterCatalogue::nameForNrpn (int nrpn)
{
    if (auto r = findByNrpn (nrpn))
        return row (*r).name;
    return {};
}

std::string ParameterCatalogue::pageGroupName (int group)
{
    switch (group)
    {
        case 0:
            return "PERFORMANCE";
        case 1:
            return "OSC 1";
        case 2:
            return "OSC 2";
        case 3:
            return "PRE-FILTER MIX";
        case 4:
            return "LFOs";
        case 5:
            return "ENVELOPES";
        case 6:
            return "EFFECTS";
        default:
            return {};
    }
}

std::string ParameterCatalogue::controlKindName (int kind)
{
    switch (kind)
    {
        case kindContinuous:
            return "CONTINUOUS";
        case kindToggle:
            return "TOGGLE";
        case kindEnumButtons:
            return "ENUM BUTTONS";
        case kindLatchedButton:
            return "LATCHED BUTTON";
        case kindMomentaryButton:
            return "MOMENTARY BUTTON";
        default:
            return "UNKNOWN";
    }
}

int ParameterCatalogue::applyRawValue (const OrvoParameterInfo& info, int incoming)
{
    return std::clamp (incoming, info.rawMin, std::max (info.rawMin, info.rawMax));
}

bool ParameterCatalogue::isSwitchOn (const OrvoParameterInfo& info, int raw)
{
    return applyRawValue (info, raw) != info.offValue;
}

int ParameterCatalogue::toggledSwitchValue (const OrvoParameterInfo& info, int raw)
{
    return isSwitchOn (info, raw) ? info.offValue : info.onValue;
}

bool ParameterCatalogue::isEnvelopeRow (const OrvoParameterInfo& info)
{
    return std::strncmp (info.id, "env1.", 5) == 0 || std::strncmp (info.id, "env2.", 5) == 0 ||
           std::strncmp (info.id, "env3.", 5) == 0;
}

bool ParameterCatalogue::isTuningRow (const OrvoParameterInfo& info)
{
    static constexpr const char* tuningIds[] = { "osc1.semitone", "osc1.cents", "osc1.fine",
                                                 "osc2.semitone", "osc2.cents", "osc2.fine" };
    return std::any_of (std::begin (tuningIds), std::end (tuningIds),
                        [&] (const char* id) { return std::strcmp (id, info.id) == 0; });
}

} // namespace orvo
