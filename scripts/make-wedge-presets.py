#!/usr/bin/python3
"""Writes Resources/WedgePresets.json, the table of the 228 Wedge effect presets.

Each preset is a name, the menu group it belongs to, an algorithm and one raw value (0..4095) for
every CONFIG output and PARAM control of that algorithm, in page and slot order. SEND (3604) and
PAN/BLEND (3605) belong to the Program, not to a preset, and are never listed. Preset 000 is the
captured "Concert Hall"; every other preset is voiced here from its name and group:

  * halls decay long and diffuse, with some pre-delay; rooms are short and dense; plates are
    bright with little pre-delay; gated and reverse reverbs use the gate or the reverse direction;
  * delays take the delay time their name implies (Stereo120bpm is a quarter note at 120 bpm,
    5.5 SecDelay the longest the mono delay holds, Slap Back about 90 ms) and feedback to match;
  * choruses and flangers modulate (rate and depth), flangers feed back, tremolo names use the
    tremolo, the rotary presets run the motor;
  * dual-send presets keep both outputs well up so that both paths are heard.

A voicing is a handful of qualities (size, brightness, pre-delay, modulation, delay time ...);
`value_for` turns a quality into the stored step of each control's value family and expands it
to a raw value the way the editor expands stored Program bytes. A small per-preset offset keeps
two presets of one algorithm from ever being identical. Run from anywhere:

    /usr/bin/python3 scripts/make-wedge-presets.py

The output is a JSON array of {"number", "name", "group", "algorithm", "settings": [[nrpn, raw]...]}.
"""

import json
import os
import re

ALGORITHMS = ["Large Hall", "Hall Reverb", "Stereo Room", "Room Reverb", "Chamber", "Ambience",
              "Large Plate", "Plate", "Room + Hall", "Room + Plate", "Plate + Hall", "Nonlinear Reverb",
              "Mono Delay", "Ping Pong Delay", "Multi Tap Delay", "Delay:Delay", "Stereo Chorus/Flanger",
              "Quad Chorus", "Chorus:Chorus", "Quad Pitch Shifter", "Lezlie > Room", "Delay > Room",
              "Chorus > Room", "Room > Flange", "Flange > Delay > Room", "Room + Delay", "Room + Chorus",
              "Room + Flange", "Room > Delay"]

# The controls of each algorithm without SEND and PAN/BLEND, as the effects page places them:
# (label, NRPN, value family). Where two labels share an NRPN only the first is listed.
CONTROLS = {
    0: [  # Large Hall
        ("OUT", 3606, "output"), ("DECAY", 3609, "large-hall-decay"), ("BOOST", 3610, "positive-255"),
        ("BASSF", 3611, "frequency-top-off"), ("LPF", 3612, "frequency-top-off"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("PDTIME", 3615, "time-0-250ms"), ("PDMIX", 3616, "percent-0-100"),
        ("LDAMP", 3618, "frequency-bottom-off"), ("HDAMP", 3619, "frequency-top-off"), ("SWIRL", 3621, "positive-50"),
        ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"), ("HOLD", 3625, "time-0-500ms"),
        ("RELEAS", 3626, "time-0-500ms"),
    ],
    1: [  # Hall Reverb
        ("OUT", 3606, "output"), ("DECAY", 3609, "hall-reverb-decay"), ("BOOST", 3610, "positive-255"),
        ("BASSF", 3611, "frequency-top-off"), ("LPF", 3612, "frequency-top-off"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("PDTIME", 3615, "time-0-500ms-fine"), ("PDMIX", 3616, "percent-0-100"),
        ("LDAMP", 3617, "frequency-bottom-off"), ("HDAMP", 3618, "frequency-top-off"), ("SWIRL", 3619, "positive-50"),
        ("DEPTH", 3620, "percent-0-100"), ("SPREAD", 3621, "time-0-500ms-fine"), ("SHAPE", 3622, "positive-4"),
        ("ELEVEL", 3623, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"), ("HOLD", 3625, "time-0-500ms"),
        ("RELEAS", 3626, "time-0-500ms"),
    ],
    2: [  # Stereo Room
        ("OUT", 3606, "output"), ("DECAY", 3609, "room-family-decay"), ("LPF", 3610, "frequency-top-off"),
        ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"), ("DENS", 3615, "percent-0-100"),
        ("DIFF", 3616, "percent-0-100"), ("LDAMP", 3618, "frequency-bottom-off"), ("HDAMP", 3619, "frequency-top-off"),
        ("SWIRL", 3621, "positive-50"), ("WIDTH", 3622, "stereo-width"), ("GATE", 3624, "percent-0-100"),
        ("HOLD", 3625, "time-0-500ms"), ("RELEAS", 3626, "time-0-500ms"),
    ],
    3: [  # Room Reverb
        ("OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"), ("LPF", 3610, "frequency-top-off"),
        ("PDTIME", 3611, "time-0-250ms"), ("PDMIX", 3612, "percent-0-100"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("LDAMP", 3615, "frequency-bottom-off"), ("HDAMP", 3616, "frequency-top-off"),
        ("SPREAD", 3618, "time-0-500ms"), ("SHAPE", 3619, "positive-4"), ("ELEVEL", 3620, "positive-99"),
        ("SWIRL", 3621, "positive-50"), ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"),
        ("HOLD", 3625, "time-0-500ms"), ("RELEAS", 3626, "time-0-500ms"),
    ],
    4: [  # Chamber
        ("OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"), ("LPF", 3610, "frequency-top-off"),
        ("PDTIME", 3611, "time-0-500ms"), ("PDMIX", 3612, "percent-0-100"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("LDAMP", 3615, "frequency-bottom-off"), ("HDAMP", 3616, "frequency-top-off"),
        ("SPREAD", 3618, "time-0-500ms"), ("SHAPE", 3619, "positive-4"), ("ELEVEL", 3620, "positive-99"),
        ("SWIRL", 3621, "positive-50"), ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"),
        ("HOLD", 3625, "time-0-500ms"), ("RELEAS", 3626, "time-0-500ms"),
    ],
    5: [  # Ambience
        ("OUT", 3607, "output"), ("DECAY", 3609, "ambience-decay"), ("LPF", 3610, "frequency-top-off"),
        ("PDTIME", 3611, "time-0-500ms"), ("PDMIX", 3612, "percent-0-100"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("LDAMP", 3615, "frequency-bottom-off"), ("HDAMP", 3616, "frequency-top-off"),
        ("SPREAD", 3618, "time-0-500ms"), ("SHAPE", 3619, "positive-4"), ("ELEVEL", 3620, "positive-99"),
        ("SWIRL", 3621, "positive-99"), ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"),
        ("HOLD", 3625, "time-0-500ms"), ("RELEAS", 3626, "time-0-500ms"),
    ],
    6: [  # Large Plate
        ("OUT", 3607, "output"), ("DECAY", 3609, "large-plate-decay"), ("LSHELF", 3610, "positive-255"),
        ("HPF", 3611, "frequency-bottom-off"), ("LPF", 3612, "frequency-top-off"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("PDTIME", 3615, "time-0-250ms"), ("PDMIX", 3616, "percent-0-100"),
        ("LDAMP", 3618, "frequency-bottom-off"), ("HDAMP", 3619, "frequency-bottom-off"), ("SWIRL", 3621, "positive-50"),
        ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"), ("HOLD", 3625, "time-0-500ms"),
        ("RELEAS", 3626, "time-0-500ms"),
    ],
    7: [  # Plate
        ("OUT", 3607, "output"), ("DECAY", 3609, "plate-decay"), ("LSHELF", 3610, "positive-255"),
        ("HPF", 3611, "frequency-bottom-off"), ("LPF", 3612, "frequency-top-off"), ("DENS", 3613, "percent-0-100"),
        ("DIFF", 3614, "percent-0-100"), ("PDTIME", 3615, "time-0-250ms"), ("PDMIX", 3616, "percent-0-100"),
        ("LDAMP", 3618, "frequency-bottom-off"), ("HDAMP", 3619, "frequency-top-off"), ("SWIRL", 3621, "positive-50"),
        ("DEPTH", 3622, "percent-0-100"), ("GATE", 3624, "gated-percent-0-100"), ("HOLD", 3625, "time-0-500ms"),
        ("RELEAS", 3626, "time-0-500ms"),
    ],
    8: [  # Room + Hall
        ("RM OUT", 3606, "output"), ("HL OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("LDAMP", 3618, "frequency-bottom-off"),
        ("HDAMP", 3619, "frequency-top-off"), ("DECAY", 3621, "hall-reverb-decay"), ("BOOST", 3623, "positive-255"),
        ("BASSF", 3624, "frequency-top-off"), ("LPF", 3626, "frequency-top-off"), ("DENS", 3627, "percent-0-100"),
        ("DIFF", 3628, "percent-0-100"), ("PDTIME", 3630, "time-0-250ms"), ("PDMIX", 3631, "percent-0-100"),
    ],
    9: [  # Room + Plate
        ("RM OUT", 3606, "output"), ("PL OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("LDAMP", 3618, "frequency-bottom-off"),
        ("HDAMP", 3619, "frequency-top-off"), ("DECAY", 3621, "plate-decay"), ("LSHELF", 3622, "positive-255"),
        ("HPF", 3623, "frequency-bottom-off"), ("LPF", 3624, "frequency-top-off"), ("DENS", 3625, "percent-0-100"),
        ("DIFF", 3626, "percent-0-100"), ("PDTIME", 3627, "time-0-250ms"), ("PDMIX", 3628, "percent-0-100"),
        ("LDAMP", 3630, "frequency-bottom-off"), ("HDAMP", 3631, "frequency-top-off"),
    ],
    10: [  # Plate + Hall
        ("PL OUT", 3606, "output"), ("HL OUT", 3607, "output"), ("DECAY", 3609, "plate-decay"),
        ("LSHELF", 3610, "positive-255"), ("HPF", 3611, "frequency-bottom-off"), ("LPF", 3612, "frequency-top-off"),
        ("DENS", 3613, "percent-0-100"), ("DIFF", 3614, "percent-0-100"), ("PDTIME", 3615, "time-0-250ms"),
        ("PDMIX", 3616, "percent-0-100"), ("LDAMP", 3618, "frequency-bottom-off"), ("HDAMP", 3619, "frequency-top-off"),
        ("DECAY", 3621, "hall-reverb-decay"), ("BOOST", 3623, "positive-255"), ("BFREQ", 3624, "frequency-top-off"),
        ("LPF", 3626, "frequency-top-off"), ("DENS", 3627, "percent-0-100"), ("DIFF", 3628, "percent-0-100"),
        ("PDTIME", 3630, "time-0-250ms"), ("PDMIX", 3631, "percent-0-100"),
    ],
    11: [  # Nonlinear Reverb
        ("OUT", 3607, "output"), ("TIME", 3609, "time-100-600ms"), ("LPF", 3610, "frequency-top-off"),
        ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"), ("DIR", 3615, "text-selector-2"),
        ("DENS", 3617, "percent-0-100"), ("DIFF", 3618, "percent-0-100"),
    ],
    12: [  # Mono Delay
        ("OUT", 3607, "output"), ("100MS", 3609, "positive-54"), ("10MS", 3610, "positive-9"),
        ("1MS", 3611, "positive-9"), ("FDBK", 3612, "bipolar-99"), ("LOCUT", 3613, "frequency-top-off"),
        ("HICUT", 3614, "frequency-bottom-off"), ("DENS", 3615, "percent-0-100"), ("RATE", 3616, "rate-0-6.470hz"),
        ("DEPTH", 3617, "time-0-250ms"), ("TREMR", 3621, "rate-0-6.470hz"), ("TREMD", 3622, "percent-0-100"),
        ("PANR", 3624, "rate-0-6.470hz"), ("PAND", 3625, "percent-0-100"),
    ],
    13: [  # Ping Pong Delay
        ("OUT", 3607, "output"), ("100MS", 3609, "positive-24"), ("10MS", 3610, "positive-9"),
        ("1MS", 3611, "positive-9"), ("FDBK", 3612, "bipolar-99"), ("LDAMP", 3613, "frequency-bottom-off"),
        ("HDAMP", 3614, "frequency-top-off"), ("DENS", 3615, "percent-0-100"),
    ],
    14: [  # Multi Tap Delay
        ("OUT", 3607, "output"), ("1TIME", 3609, "time-0-250ms"), ("1LEVEL", 3610, "positive-99"),
        ("1PAN", 3611, "bipolar-50"), ("1FDBK", 3612, "positive-99"), ("2TIME", 3615, "time-0-250ms"),
        ("2LEVEL", 3616, "positive-99"), ("2PAN", 3617, "bipolar-50"), ("2FDBK", 3618, "positive-99"),
        ("3TIME", 3621, "time-0-250ms"), ("3LEVEL", 3622, "positive-99"), ("3PAN", 3623, "bipolar-50"),
        ("3FDBK", 3624, "positive-99"), ("LOCUT", 3626, "frequency-bottom-off"), ("4TIME", 3627, "time-0-250ms"),
        ("4LEVEL", 3628, "positive-99"), ("4PAN", 3629, "bipolar-50"), ("4FDBK", 3630, "positive-99"),
        ("HICUT", 3632, "frequency-top-off"), ("5TIME", 3633, "time-0-250ms"), ("5LEVEL", 3634, "positive-99"),
        ("5PAN", 3635, "bipolar-50"), ("5FDBK", 3636, "positive-99"), ("MFDBK", 3638, "percent-0-100"),
    ],
    15: [  # Delay:Delay
        ("OUT L", 3608, "output"), ("OUT R", 3609, "output"), ("10MS", 3610, "positive-9"),
        ("1MS", 3611, "positive-9"), ("FDBK", 3612, "bipolar-99"), ("LOCUT", 3615, "frequency-top-off"),
        ("HICUT", 3616, "frequency-bottom-off"), ("RATE", 3617, "rate-0-6.470hz"), ("DEPTH", 3618, "time-0-250ms"),
        ("WAVE", 3619, "text-selector-2"), ("100MS", 3621, "positive-24"), ("10MS", 3622, "positive-9"),
        ("1MS", 3623, "positive-9"), ("FDBK", 3624, "bipolar-99"), ("LOCUT", 3627, "frequency-top-off"),
        ("HICUT", 3628, "frequency-bottom-off"), ("RATE", 3629, "rate-0-6.470hz"), ("DEPTH", 3630, "time-0-250ms"),
        ("WAVE", 3631, "text-selector-2"),
    ],
    16: [  # Stereo Chorus/Flanger
        ("OUT", 3608, "output"), ("RATE", 3609, "rate-0-6.470hz"), ("DEPTH", 3610, "time-0-250ms"),
        ("FDBK", 3611, "bipolar-99"), ("THRU0", 3612, "text-selector-2"), ("LPF", 3613, "frequency-top-off"),
        ("FBHPF", 3615, "frequency-bottom-off"), ("FBLPF", 3616, "frequency-top-off"), ("PDLYL", 3618, "time-0-250ms"),
        ("PDLYR", 3619, "time-0-250ms"), ("TRIG", 3621, "text-selector-4"), ("ATTACK", 3622, "positive-255"),
        ("RELEAS", 3623, "positive-255"),
    ],
    17: [  # Quad Chorus
        ("OUT", 3608, "output"), ("1RATE", 3609, "rate-0-6.470hz"), ("1DEPTH", 3610, "time-0-250ms"),
        ("1FDBK", 3611, "bipolar-99"), ("1WAVE", 3612, "text-selector-2"), ("1PDTIM", 3613, "time-0-250ms"),
        ("2RATE", 3615, "rate-0-6.470hz"), ("2DEPTH", 3616, "time-0-250ms"), ("2FDBK", 3617, "bipolar-99"),
        ("2WAVE", 3618, "text-selector-2"), ("2PDTIM", 3619, "time-0-250ms"), ("3RATE", 3621, "rate-0-6.470hz"),
        ("3DEPTH", 3622, "time-0-250ms"), ("3FDBK", 3623, "bipolar-99"), ("3WAVE", 3624, "text-selector-2"),
        ("3PDTIM", 3625, "time-0-250ms"), ("4RATE", 3627, "rate-0-6.470hz"), ("4DEPTH", 3628, "time-0-250ms"),
        ("4FDBK", 3629, "bipolar-99"), ("4WAVE", 3630, "text-selector-2"), ("4PDTIM", 3631, "time-0-250ms"),
        ("WIDTH", 3633, "bipolar-99"), ("2LEVEL", 3634, "positive-99"), ("3LEVEL", 3635, "positive-99"),
    ],
    18: [  # Chorus:Chorus
        ("OUT L", 3608, "output"), ("OUT R", 3609, "output"), ("DEPTH", 3610, "time-0-250ms"),
        ("FDBK", 3611, "bipolar-99"), ("PDTIM", 3612, "time-0-250ms"), ("LPF", 3615, "frequency-top-off"),
        ("FBHPF", 3616, "frequency-bottom-off"), ("FBLPF", 3617, "frequency-top-off"), ("WAVE", 3618, "text-selector-2"),
        ("THRU0", 3619, "text-selector-2"), ("RATE", 3621, "rate-0-6.470hz"), ("DEPTH", 3622, "time-0-250ms"),
        ("FDBK", 3623, "bipolar-99"), ("PDTIM", 3624, "time-0-250ms"), ("LPF", 3627, "frequency-top-off"),
        ("FBHPF", 3628, "frequency-bottom-off"), ("FBLPF", 3629, "frequency-top-off"), ("WAVE", 3630, "text-selector-2"),
        ("THRU0", 3631, "text-selector-2"),
    ],
    19: [  # Quad Pitch Shifter
        ("OUT", 3608, "output"), ("1SEMI", 3609, "bipolar-12"), ("1FINE", 3610, "bipolar-50"),
        ("1LEVEL", 3611, "positive-99"), ("1PAN", 3612, "bipolar-50"), ("1PDTIM", 3613, "time-0-250ms"),
        ("2SEMI", 3615, "bipolar-12"), ("2FINE", 3616, "bipolar-50"), ("2LEVEL", 3617, "positive-99"),
        ("2PAN", 3618, "bipolar-50"), ("2PDTIM", 3619, "time-0-250ms"), ("3SEMI", 3621, "bipolar-12"),
        ("3FINE", 3622, "bipolar-50"), ("3LEVEL", 3623, "positive-99"), ("3PAN", 3624, "bipolar-50"),
        ("3PDTIM", 3625, "time-0-250ms"), ("4SEMI", 3627, "bipolar-12"), ("4FINE", 3628, "bipolar-50"),
        ("4LEVEL", 3629, "positive-99"), ("4PAN", 3630, "bipolar-50"), ("4PDTIM", 3631, "time-0-250ms"),
    ],
    20: [  # Lezlie > Room
        ("MIX", 3606, "percent-0-100"), ("OUT", 3608, "output"), ("MOTOR", 3609, "text-selector-2"),
        ("SPEED", 3610, "text-selector-2"), ("HIROT", 3611, "time-0-250ms"), ("DECAY", 3615, "room-family-decay"),
        ("LPF", 3616, "frequency-top-off"), ("PDTIME", 3618, "time-0-250ms"), ("PDMIX", 3619, "percent-0-100"),
        ("DENS", 3621, "percent-0-100"), ("DIFF", 3622, "percent-0-100"), ("LDAMP", 3623, "frequency-bottom-off"),
        ("HDAMP", 3624, "frequency-top-off"), ("GATE", 3626, "gated-time-0-500ms"),
    ],
    21: [  # Delay > Room
        ("MIX", 3606, "percent-0-100"), ("OUT", 3608, "output"), ("100MS", 3609, "positive-24"),
        ("10MS", 3610, "positive-9"), ("1MS", 3611, "positive-9"), ("FDBK", 3612, "bipolar-99"),
        ("LOCUT", 3615, "frequency-top-off"), ("HICUT", 3616, "frequency-bottom-off"), ("DENS", 3618, "percent-0-100"),
        ("RATE", 3619, "rate-0-6.470hz"), ("DEPTH", 3620, "time-0-250ms"), ("TREMR", 3621, "rate-0-6.470hz"),
        ("TREMD", 3622, "percent-0-100"), ("PANR", 3624, "rate-0-6.470hz"), ("PAND", 3625, "percent-0-100"),
        ("DECAY", 3627, "room-family-decay"), ("LPF", 3628, "frequency-top-off"), ("DENS", 3630, "percent-0-100"),
        ("DIFF", 3631, "percent-0-100"), ("GATE", 3633, "gated-percent-0-100"), ("HOLD", 3634, "time-0-500ms"),
        ("RELEAS", 3635, "time-0-500ms"),
    ],
    22: [  # Chorus > Room
        ("MIX", 3606, "percent-0-100"), ("OUT", 3608, "output"), ("LRATE", 3609, "rate-0-6.470hz"),
        ("LDEPTH", 3610, "positive-255"), ("LFDBK", 3611, "bipolar-99"), ("LPDLY", 3612, "time-0-250ms"),
        ("RRATE", 3615, "rate-0-6.470hz"), ("RDEPTH", 3616, "positive-255"), ("RFDBK", 3617, "bipolar-99"),
        ("RPDLY", 3618, "time-0-250ms"), ("CLPF", 3621, "frequency-top-off"), ("CFBHPF", 3622, "frequency-bottom-off"),
        ("CFBLPF", 3623, "frequency-top-off"), ("DECAY", 3627, "room-family-decay"), ("RLPF", 3628, "frequency-top-off"),
        ("PDTIME", 3630, "time-0-250ms"), ("PDMIX", 3631, "percent-0-100"), ("DENS", 3633, "percent-0-100"),
        ("DIFF", 3634, "percent-0-100"), ("GATE", 3636, "gated-time-0-500ms"),
    ],
    23: [  # Room > Flange
        ("MIX", 3606, "percent-0-100"), ("OUT", 3608, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("RATE", 3621, "rate-0-6.470hz"),
        ("DEPTH", 3622, "time-0-250ms"), ("FDBK", 3623, "bipolar-99"), ("PDTIME", 3627, "time-0-250ms"),
        ("THRU0", 3628, "text-selector-2"), ("LPF", 3629, "frequency-top-off"), ("FBHPF", 3630, "frequency-bottom-off"),
        ("FBLPF", 3631, "frequency-top-off"), ("TRIG", 3633, "text-selector-4"), ("ATTACK", 3634, "positive-255"),
        ("RELEAS", 3635, "positive-255"),
    ],
    24: [  # Flange > Delay > Room
        ("MIX 1", 3606, "percent-0-100"), ("MIX 2", 3607, "percent-0-100"), ("OUT", 3608, "output"),
        ("RATE", 3609, "rate-0-6.470hz"), ("DEPTH", 3610, "time-0-250ms"), ("FDBK", 3611, "bipolar-99"),
        ("PDTIME", 3612, "time-0-250ms"), ("THRU0", 3613, "text-selector-2"), ("LPF", 3614, "frequency-top-off"),
        ("FBHPF", 3615, "frequency-bottom-off"), ("FBLPF", 3616, "frequency-top-off"), ("TRIG", 3618, "text-selector-4"),
        ("ATTACK", 3619, "positive-255"), ("RELEAS", 3620, "positive-255"), ("DELAY", 3621, "time-0-500ms"),
        ("FDBK", 3622, "bipolar-99"), ("HICUT", 3623, "frequency-top-off"), ("DECAY", 3627, "room-family-decay"),
        ("LPF", 3628, "frequency-top-off"), ("PDTIME", 3629, "time-0-250ms"), ("PDMIX", 3630, "percent-0-100"),
        ("DENS", 3633, "percent-0-100"), ("DIFF", 3634, "percent-0-100"), ("GATE", 3636, "gated-percent-0-100"),
    ],
    25: [  # Room + Delay
        ("RM OUT", 3606, "output"), ("DL OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("DENS", 3612, "percent-0-100"), ("DIFF", 3613, "percent-0-100"),
        ("GATE", 3615, "gated-percent-0-100"), ("HOLD", 3616, "time-0-500ms"), ("RELEAS", 3617, "time-0-500ms"),
        ("100MS", 3621, "positive-24"), ("10MS", 3622, "positive-9"), ("1MS", 3623, "positive-9"),
        ("FDBK", 3624, "bipolar-99"), ("LOCUT", 3627, "frequency-bottom-off"), ("HICUT", 3628, "frequency-top-off"),
        ("DENS", 3629, "percent-0-100"), ("RATE", 3631, "rate-0-6.470hz"), ("DEPTH", 3632, "time-0-250ms"),
        ("TREMR", 3633, "rate-0-6.470hz"), ("TREMD", 3634, "percent-0-100"), ("PANR", 3636, "rate-0-6.470hz"),
        ("PAND", 3637, "percent-0-100"),
    ],
    26: [  # Room + Chorus
        ("RM OUT", 3606, "output"), ("CH OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("HOLD", 3618, "time-0-500ms"),
        ("LRATE", 3621, "rate-0-6.470hz"), ("LDEPTH", 3622, "positive-255"), ("LFDBK", 3623, "bipolar-99"),
        ("LPDTIM", 3624, "time-0-250ms"), ("RRATE", 3627, "rate-0-6.470hz"), ("RDEPTH", 3628, "positive-255"),
        ("RFDBK", 3629, "bipolar-99"), ("RPDTIM", 3630, "time-0-250ms"), ("LPF", 3633, "frequency-top-off"),
        ("FBHPF", 3634, "frequency-bottom-off"), ("FBLPF", 3635, "frequency-top-off"),
    ],
    27: [  # Room + Flange
        ("RM OUT", 3606, "output"), ("FL OUT", 3607, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("HOLD", 3618, "time-0-500ms"),
        ("RATE", 3621, "rate-0-6.470hz"), ("DEPTH", 3622, "time-0-250ms"), ("FDBK", 3623, "bipolar-99"),
        ("PDTIM", 3624, "time-0-250ms"), ("THRU0", 3625, "text-selector-2"), ("LPF", 3626, "frequency-top-off"),
        ("FBHPF", 3627, "frequency-bottom-off"), ("FBLPF", 3628, "frequency-top-off"), ("TRIG", 3630, "text-selector-2"),
        ("ATTACK", 3631, "positive-255"), ("RELEAS", 3632, "positive-255"),
    ],
    28: [  # Room > Delay
        ("MIX", 3606, "percent-0-100"), ("OUT", 3608, "output"), ("DECAY", 3609, "room-family-decay"),
        ("LPF", 3610, "frequency-top-off"), ("PDTIME", 3612, "time-0-250ms"), ("PDMIX", 3613, "percent-0-100"),
        ("DENS", 3615, "percent-0-100"), ("DIFF", 3616, "percent-0-100"), ("GATE", 3618, "gated-percent-0-100"),
        ("HOLD", 3619, "time-0-500ms"), ("RELEAS", 3620, "time-0-500ms"), ("100MS", 3621, "positive-24"),
        ("10MS", 3622, "positive-9"), ("1MS", 3623, "positive-9"), ("FDBK", 3625, "bipolar-99"),
        ("LOCUT", 3627, "frequency-top-off"), ("HICUT", 3628, "frequency-bottom-off"), ("DENS", 3630, "percent-0-100"),
        ("RATE", 3631, "rate-0-6.470hz"), ("DEPTH", 3632, "time-0-250ms"), ("TREMR", 3633, "rate-0-6.470hz"),
        ("TREMD", 3634, "percent-0-100"), ("PANR", 3636, "rate-0-6.470hz"), ("PAND", 3637, "percent-0-100"),
    ],
}

# How a family's stored step expands to a raw value: (top step, factor) multiplies, (top, 0)
# takes the bottom of the step's share of the 4096 codes. Families without a rule are percent.
FAMILIES = {
    "frequency-top-off": (255, 16), "frequency-bottom-off": (255, 16), "positive-255": (255, 16),
    "rate-0-6.470hz": (255, 16), "time-0-250ms": (255, 16), "time-0-500ms-fine": (255, 16),
    "percent-0-100": (100, 40), "gated-percent-0-100": (100, 40), "output": (100, 40),
    "stereo-width": (100, 40), "time-100-600ms": (100, 40), "large-hall-decay": (100, 40),
    "hall-reverb-decay": (100, 40), "ambience-decay": (100, 40), "large-plate-decay": (100, 40),
    "plate-decay": (100, 40), "room-family-decay": (100, 40), "positive-4": (4, 820),
    "positive-50": (50, 81), "time-0-500ms": (50, 81), "gated-time-0-500ms": (50, 81),
    "positive-54": (54, 75), "positive-24": (24, 164), "positive-9": (9, 410),
    "positive-99": (99, 0), "bipolar-12": (24, 0), "bipolar-50": (100, 0), "bipolar-99": (198, 0),
    "text-selector-2": (1, 0), "text-selector-4": (3, 0),
}

GROUPS = [(0, "HALLS"), (10, "ROOMS"), (20, "PLATES"), (30, "OTHER REVERBS"), (40, "FILM / POST EFFECTS"),
          (50, "DELAYS"), (60, "CHORUS"), (65, "FLANGE"), (70, "MULTIEFFECTS"), (80, "DUAL-SEND REVERBS"),
          (90, "DUAL-SEND EFFECTS"), (100, "DEFAULT PROGRAMS")]

NAMES = [
    "Concert Hall", "Medium Hall", "Small Hall", "Darkness", "Bright Hall", "Classical", "String Hall",
    "Slow Bloom", "Warm Hall", "Stereo Hall", "Aggro Room", "Cedar Room", "Marble Room", "TightDrumTrk",
    "Bkg Vox Room", "Warm Studio", "BackWallSlap", "Paladium", "1st Reflect", "Smooth Drums", "Deep Plate",
    "Bright Plate", "Long Plate", "Slight Plate", "VintagePlate", "MemphisPlate", "MoTown Vocal",
    "Thin Plate", "EeeEmmTee 1", "Dark Plate", "Cathedral", "TitanicDepth", "ReflectDrums", "Vacuum",
    "Screech Gate", "Flashback", "LoudNeighbor", "SometimesEko", "Bell Swim", "Reverse Slap", "Kitchen",
    "Tiled Room", "Bedroom", "Stadium PA", "Hall Closet", "MediumChurch", "HollndTunnel", "Shower Stall",
    "RingyStairwl", "Gymnasium", "Groovy Echo", "Slap Back", "AmbientDelay", "Lead Vocal", "ChorusedDly",
    "Drum Remix", "70's Eko", "Wall'O Wedge", "3 Against 2", "Stereo120bpm", "SyrupyChorus",
    "WideStChorus", "StompboxChrs", "VocalThicken", "Fat Fretless", "Slow Sweeper", "YerBasicFlng",
    "TrashyFlange", "BassFlange", "Blues Flange", "Rockin' Lez", "Largo", "Dallas Jam", "NuAge Guitar",
    "Anthem", "Circles", "TremoWedge", "AutoWah", "Pinkish", "Wide Vibe", "Inst/Voice", "Drum/Voice",
    "Meat/Potatos", "Hrdwd/MedHll", "Small/Warm", "Small/Gold", "Vocal/Warmth", "Drum/Guitar",
    "Tiled/VoxBld", "Large/Small", "Splash/Slap", "Skysong", "Parallel", "In Orbital", "Dark/Deep",
    "Tight/Shimmr", "Tight Funk", "Warm/Sweeper", "WarmHl/StDly", "Brite/DualFl", "Large Hall",
    "Medium Hall", "TS Room Verb", "Room Reverb", "Chamber", "Drum Room", "Large Plate", "Goldfoil",
    "Room+Hall", "Room+Plate", "Plate+Hall", "Reversi", "Mono Delay", "PingPongDly", "MultiTapDly",
    "TS Delay", "Stereo Chorus", "Quad Chorus", "TS Flange", "Quad Pitch", "Lezlie", "Delay>Room",
    "Chorus>Room", "Room>Flange", "Flng>Dly>Rm", "Room+Delay", "Room+Chorus", "Room+Flange",
    "Basilica", "Medium Hall", "Rimshot Hall", "Japan Hall", "Acoustic Gtr", "Late Hall", "StevieVox",
    "Airy Hall", "Vocal Ballad", "Small Vocal", "Tight Room", "Harlem 1949", "Gated Toms", "Hardwood",
    "Percussion", "Bright Room", "GothamStudio", "Large Room", "CapitalChmbr", "StereoAmbnce",
    "Damped Plate", "Nashville", "Brass Plate", "Thin Plate", "Snare Plate", "Extra Small", "Home Plate",
    "90sDrumSpace", "Vocal PreDly", "Gtr Presence", "Wide Library", "Flanged Room", "Big Cave", "ReMiX",
    "Springss", "Sfortzando!", "Glimmer", "SubwayTunnel", "ArcticEchoes", "TapeEko+Room", "Big Bathroom",
    "9x9 Woodshed", "Scary Space", "The Mall", "Empty Hall", "Phone Booth", "Alley Slap", "FlyingSaucer",
    "AutoInterior", "Pentathol", "Ballad Delay", "Tape EkoEko", "KingSighting", "WallOfGuitar", "Doubler",
    "5.5 SecDelay", "Warm Ponger", "Dancin'Delay", "Ping Shing", "Dense Delay", "LagoonChorus",
    "Wide Chorus", "RezzoChorus", "12 String+3", "Real Chorus", "TruStrFlange", "Spicy Flange",
    "Wide Trigger", "Mild Flange", "TremoFlange", "Tearjerker", "Spinnies", "Dreamy", "Guitar god",
    "Tight Keys", "Slow Funk", "Quick Delay", "Half Red", "TorvellineFX", "Tremolo Soon", "Small/Late",
    "Dark/Light", "Chamber/Tomb", "Tight/Warm", "Cellar/Vntge", "Little/Late", "Cold/Warm", "Small/Medium",
    "Damped/Wet", "Tight/Loose", "Film Noir", "Dancetrance", "Ministri", "Lovesick", "Small/GtrChs",
    "Big&Wrm/Slap", "Funk, Baby", "60's/Tremolo", "Late/Wavy", "Relaxed Room",
]

# Preset 000 as captured from the instrument.
CONCERT_HALL = [(3606, 1760), (3609, 416), (3610, 112), (3611, 1280), (3612, 3720), (3613, 3640),
                (3614, 1072), (3615, 4000), (3616, 0), (3618, 768), (3619, 0), (3621, 2400), (3622, 0),
                (3624, 0), (3625, 0), (3626, 0)]


def group_of(number):
    base = number if number < 128 else number - 128
    heading = [h for start, h in GROUPS if start <= base][-1]
    return heading if number < 128 else "USER - " + heading


def has(name, *words):
    """Does the name hold any of the words? A word starting with "^" must begin a word of the name
    ("^late" finds "Late Hall" and "Small/Late", not "Plate")."""
    low = name.lower()
    return any(re.search(r"(?<![a-z])" + re.escape(w[1:]), low) if w.startswith("^") else w.lower() in low
               for w in words)


def algorithm_for(number, name, group):
    """The algorithm a preset runs, from its group and the words of its name."""
    g = group.replace("USER - ", "")
    if g == "DEFAULT PROGRAMS":
        return number - 100  # the default Programs follow the algorithm list
    if g == "HALLS":
        return 1 if has(name, "medium", "small", "vox", "vocal", "gtr", "rimshot", "string") else 0
    if g == "ROOMS":
        if has(name, "chmbr", "chamber", "cedar", "studio"):
            return 4
        if has(name, "tight", "drum", "percussion", "toms", "reflect", "slap"):
            return 5
        return 2 if has(name, "bright", "marble", "large", "harlem", "wide", "stereo") else 3
    if g == "PLATES":
        return 6 if has(name, "deep", "long", "large", "vintage", "damped", "brass", "dark") else 7
    if g in ("OTHER REVERBS", "FILM / POST EFFECTS"):
        if has(name, "gate", "screech", "reverse", "reflect", "flashback", "toms", "remix", "sfortzando", "vacuum"):
            return 11
        if has(name, "eko", "echo", "tunnel", "alley", "saucer"):
            return 28
        if has(name, "flange", "swim", "glimmer"):
            return 23
        if has(name, "cathedral", "titanic", "stadium", "church", "cave", "mall", "empty", "scary", "space",
               "gymnasium", "arctic", "library"):
            return 0
        if has(name, "kitchen", "tiled", "shower", "stair", "closet", "booth", "bathroom", "interior", "woodshed"):
            return 5
        return 3 if number % 2 else 2
    if g == "DELAYS":
        if has(name, "ping", "ponger", "3 against", "stereo120", "wall"):
            return 13
        if has(name, "multi", "dense", "groovy", "dancin", "remix"):
            return 14
        if has(name, "chorus", "doubler", "ambient", "tape", "king"):
            return 15
        return 12
    if g == "CHORUS":
        if has(name, "quad", "12 string", "wide", "lagoon"):
            return 17
        return 18 if has(name, "thicken", "real", "rezzo") else 16
    if g == "FLANGE":
        return 18 if has(name, "trem", "wide", "tru") else 16
    if g == "MULTIEFFECTS":
        if has(name, "lez", "spinnies", "circles", "vibe"):
            return 20
        if has(name, "dallas", "delay", "anthem", "guitar", "half"):
            return 21
        if has(name, "largo", "dreamy", "nuage", "tearjerker", "keys"):
            return 22
        if has(name, "wah", "trem", "funk", "torvelline"):
            return 24
        if has(name, "pinkish"):
            return 19
        return 23
    if g == "DUAL-SEND REVERBS":
        if has(name, "plate", "gold", "vntge", "wet", "damped", "shimmr", "bld"):
            return 9
        if has(name, "hll", "hall", "tomb", "late", "large", "warm"):
            return 8
        return 10 if number % 3 == 0 else 8
    if g == "DUAL-SEND EFFECTS":
        if has(name, "dly", "slap", "delay", "orbital", "noir"):
            return 25
        if has(name, "fl", "sweeper", "trem", "wavy"):
            return 27
        return 26
    raise ValueError(name)


def voicing(number, name, group, algorithm):
    """The qualities a preset's name and group suggest; every quality is 0..1 unless named in ms."""
    v = dict(size=0.5, bright=0.6, predelay=20, pdmix=0.0, mod=0.15, dens=0.7, diff=0.7, out=75, mix=40,
             gate=False, delay=350, fdbk=20, rate=0.2, depth=0.35, trem=False, reverse=False, motor_fast=False,
             early=0.5, width=0.6, out2=70)
    g = group.replace("USER - ", "")
    if algorithm in (0, 1):
        v.update(size=0.75, dens=0.85, diff=0.8, predelay=30, bright=0.55)
    if algorithm in (2, 3, 4, 5):
        v.update(size=0.25, dens=0.8, diff=0.6, predelay=8, bright=0.55)
    if algorithm in (6, 7):
        v.update(size=0.5, bright=0.85, predelay=4, dens=0.9, diff=0.85)
    if algorithm in (12, 13, 14, 15, 25, 28, 21):
        v.update(mod=0.1, mix=35)
    if algorithm in (16, 17, 18, 22, 26):
        v.update(rate=0.12, depth=0.45, fdbk=10, mix=50)
    if g == "FLANGE" or algorithm in (23, 24, 27):
        v.update(rate=0.08, depth=0.6, fdbk=60)
    rules = [
        (("small", "little", "tight", "extra", "closet", "booth", "bedroom", "kitchen", "short", "1st"),
         dict(size=0.15, predelay=4)),
        (("medium",), dict(size=0.45)),
        (("large", "concert", "cathedral", "basilica", "titanic", "stadium", "cave", "church", "big", "empty"),
         dict(size=0.9, predelay=45)),
        (("long", "slow bloom", "^late", "airy", "glimmer", "skysong", "dreamy"), dict(size=0.85, predelay=60)),
        (("dark", "warm", "damped", "deep", "cellar", "noir", "velvet"), dict(bright=0.3)),
        (("bright", "brite", "marble", "tiled", "shimmr", "gold", "brass", "glimmer", "snare", "presence"),
         dict(bright=0.95)),
        (("thin",), dict(size=0.3, bright=0.9)),
        (("vox", "vocal", "voice", "ballad"), dict(predelay=70, pdmix=0.5)),
        (("drum", "toms", "percussion", "rimshot", "snare", "hardwood"), dict(dens=0.95, diff=0.5)),
        (("gate", "screech", "sfortzando", "toms"), dict(gate=True)),
        (("reverse", "reversi", "flashback", "vacuum"), dict(reverse=True)),
        (("swim", "swirl", "wavy", "orbital", "saucer", "lovesick", "vibe", "sweeper"), dict(mod=0.6)),
        (("stereo", "wide", "lagoon", "library"), dict(width=0.95)),
        (("trem",), dict(trem=True)),
        (("rockin", "spinnies"), dict(motor_fast=True)),
        (("slap",), dict(delay=90, fdbk=5)),
        (("quick", "doubler"), dict(delay=35, fdbk=0)),
        (("eko", "echo", "tape"), dict(delay=320, fdbk=45)),
        (("ambient", "ballad", "lead vocal"), dict(delay=420, fdbk=35)),
        (("stereo120bpm",), dict(delay=500, fdbk=30)),
        (("3 against 2",), dict(delay=333, fdbk=30)),
        (("5.5 sec",), dict(delay=5499, fdbk=25)),
        (("dense", "wall"), dict(fdbk=65)),
        (("slow", "syrupy", "largo"), dict(rate=0.05, depth=0.6)),
        (("fast", "spicy", "trashy", "rezzo"), dict(rate=0.35, fdbk=75)),
        (("mild", "subtle", "slight", "smooth"), dict(depth=0.25, mod=0.05, fdbk=15)),
        (("fat", "thicken", "12 string", "real"), dict(depth=0.55)),
    ]
    for words, changes in rules:
        if has(name, *words):
            v.update(changes)
    if g.startswith("DUAL-SEND"):
        v.update(out=78, out2=72)
    return v


def clamp01(x):
    return max(0.0, min(1.0, x))


def value_for(label, family, v, tap):
    """The stored step of one control for a voicing, as a fraction of the family's top (0..1) or, for
    the delay-time digits, an absolute step (returned as int)."""
    base = label if label.endswith("MS") else re.sub(r"^\d(?=[A-Z])", "", label)  # the voice or tap number of quad and multi-tap controls
    cut_open = lambda openness: openness if family == "frequency-top-off" else 1.0 - openness
    if label.endswith("OUT") or label.startswith("OUT"):
        return (v["out2"] if label.startswith(("DL", "CH", "FL", "PL", "HL")) else v["out"]) / 100
    if base.startswith("MIX"):
        return v["mix"] / 100
    if base == "DECAY":
        return v["size"]
    if base == "TIME":
        if family == "time-100-600ms":
            return v["size"]
        return clamp01(min(v["delay"], 240) * (tap + 1) / 5 / 250 + 0.04 * tap)
    if base in ("LPF", "HICUT", "CLPF", "RLPF", "FBLPF", "CFBLPF"):
        return cut_open(v["bright"])
    if base in ("HPF", "LOCUT", "FBHPF", "CFBHPF", "LDAMP"):
        return cut_open(0.85)
    if base == "HDAMP":
        return cut_open(v["bright"] * 0.9)
    if base in ("BOOST", "LSHELF"):
        return 0.3 + 0.4 * (1 - v["bright"])
    if base in ("BASSF", "BFREQ"):
        return 0.3
    if base == "DENS":
        return v["dens"]
    if base == "DIFF":
        return v["diff"]
    if base in ("PDTIME", "PDTIM", "LPDLY", "RPDLY", "PDLYL", "PDLYR", "LPDTIM", "RPDTIM"):
        span = 500 if family.startswith("time-0-500") else 250
        ms = v["predelay"] if algorithm_is_reverb(family, base) else 8 + 4 * tap
        return clamp01(ms / span)
    if base == "PDMIX":
        return v["pdmix"]
    if base in ("SWIRL",):
        return v["mod"]
    if base == "DEPTH":
        return v["mod"] if family == "percent-0-100" else v["depth"]
    if base in ("LDEPTH", "RDEPTH"):
        return v["depth"]
    if base == "GATE":
        return 0.7 if v["gate"] else 0.0
    if base == "HOLD":
        return 0.45 if v["gate"] else 0.0
    if base == "RELEAS":
        return (0.2 if v["gate"] else 0.0) if family.startswith("time") else 0.35
    if base in ("SPREAD", "WIDTH"):
        return v["width"] if family != "bipolar-99" else 0.5 + v["width"] / 2
    if base == "SHAPE":
        return 0.5
    if base == "ELEVEL":
        return v["early"]
    if base == "DIR":
        return 1.0 if v["reverse"] else 0.0
    if base in ("100MS", "10MS", "1MS"):
        unit = {"100MS": 100, "10MS": 10, "1MS": 1}[base]
        top = FAMILIES[family][0]
        ms = v["delay"] * (1 + 0.5 * tap)  # the later taps of a multi-tap repeat further out
        steps = int(ms // unit) if unit == 100 else int(ms // unit) % 10
        return min(steps, top)
    if base in ("FDBK", "LFDBK", "RFDBK"):
        if family == "positive-99":
            return clamp01(v["fdbk"] / 99)
        return 0.5 + max(-99, min(99, v["fdbk"])) / 198
    if base == "MFDBK":
        return clamp01(v["fdbk"] / 100)
    if base in ("RATE", "LRATE", "RRATE"):
        return v["rate"] * (1 + 0.15 * tap)
    if base in ("TREMR", "PANR"):
        return 0.25 if v["trem"] or base == "PANR" and v["width"] > 0.9 else 0.0
    if base in ("TREMD", "PAND"):
        return 0.6 if v["trem"] or base == "PAND" and v["width"] > 0.9 else 0.0
    if base == "LEVEL":
        return 0.8 - 0.1 * tap
    if base == "PAN":
        return 0.5 + (0.4 if tap % 2 else -0.4) * v["width"]
    if base == "SEMI":
        return 0.5  # no transposition: the quad voices detune
    if base == "FINE":
        return 0.5 + (0.06 if tap % 2 else -0.06) * (1 + tap)
    if base in ("THRU0", "WAVE"):
        return 1.0 if v["mod"] > 0.5 else 0.0
    if base == "TRIG":
        return 1.0 if v.get("trigger") else 0.0
    if base == "ATTACK":
        return 0.2
    if base == "MOTOR":
        return 1.0
    if base == "SPEED":
        return 1.0 if v["motor_fast"] else 0.0
    if base == "DELAY":
        return clamp01(v["delay"] / 500)
    if base == "HIROT":
        return 0.2
    raise ValueError(label)


def algorithm_is_reverb(family, base):
    return base in ("PDTIME",)


def expand(family, step):
    top, factor = FAMILIES.get(family, (100, 40))
    step = max(0, min(top, step))
    if factor:
        return min(4095, step * factor)
    return min(4095, (step * 4096 + top) // (top + 1))


def settings_for(number, name, group, algorithm):
    if number == 0:
        return list(CONCERT_HALL)
    v = voicing(number, name, group, algorithm)
    if has(name, "wide trigger", "autowah", "trigger"):
        v["trigger"] = True
    out = []
    for label, nrpn, family in CONTROLS[algorithm]:
        tap = int(label[0]) - 1 if label[0].isdigit() else 0
        value = value_for(label, family, v, tap)
        top = FAMILIES.get(family, (100, 40))[0]
        step = value if isinstance(value, int) else round(clamp01(value) * top)
        out.append((nrpn, expand(family, step)))
    return out


def make_distinct(table):
    """Nudges a continuous control of a preset that repeats another of its algorithm."""
    seen = {}
    for p in table:
        key = (p["algorithm"], tuple(r for _, r in p["settings"]))
        bump = 1
        while key in seen:
            for i, (nrpn, raw) in enumerate(p["settings"]):
                label, _, family = CONTROLS[p["algorithm"]][i]
                if FAMILIES.get(family, (100, 40))[1] and raw + bump * FAMILIES[family][1] <= 4095 \
                        and not label.endswith(("MS",)):
                    p["settings"][i] = (nrpn, raw + bump * FAMILIES[family][1])
                    break
            bump += 1
            key = (p["algorithm"], tuple(r for _, r in p["settings"]))
        seen[key] = p["number"]


def build():
    table = []
    for number, name in enumerate(NAMES):
        group = group_of(number)
        algorithm = algorithm_for(number, name, group)
        table.append(dict(number=number, name=name, group=group, algorithm=algorithm,
                          settings=settings_for(number, name, group, algorithm)))
    make_distinct(table)
    return table


def main():
    assert len(NAMES) == 228
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "Resources", "WedgePresets.json")
    rows = []
    for p in build():
        settings = ", ".join(f"[{n}, {r}]" for n, r in p["settings"])
        rows.append('{"number": %d, "name": %s, "group": %s, "algorithm": %d, "settings": [%s]}'
                    % (p["number"], json.dumps(p["name"]), json.dumps(p["group"]), p["algorithm"], settings))
    text = "[\n" + ",\n".join(rows) + "\n]\n"
    with open(target + ".tmp", "w") as f:
        f.write(text)
    os.replace(target + ".tmp", target)
    print(f"{target}: {len(rows)} presets")


if __name__ == "__main__":
    main()
