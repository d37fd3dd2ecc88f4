#!/usr/bin/python3
"""Writes Resources/ParameterHelp.json, the help texts of the PARAMETER HELP pane and the parameter
details: one row per key with "id", "title", "description", "tips" and "details".

The keys are the catalogue ids, the interface keys ("__interface:" + NRPN), the modulation route
field keys ("__mod:" + route + ":" + field word), the tool targets ("__morph", "__macro1".."8"),
the wheel keys and one "effect-family:" row per digital-effect value family. Controls that exist
once per unit (OSC 1 and 2, LFO 1 to 3, ENV 1 to 3, the filters) share one text written for the
control, with the unit filled in; everything else has its own text. Run from anywhere:

    /usr/bin/python3 scripts/make-parameter-help.py
"""

import json
import os

ROWS = []


def add(key, title, description, tips, details):
    ROWS.append({"id": key, "title": title, "description": description, "tips": tips, "details": details})


# ---------------------------------------------------------------- performance page
add("performance.tempo", "CLOCK TEMPO",
    "The Program's master clock in beats per minute. LFOs, the S&H, the arpeggiator and clocked envelopes that are set to sync follow it.",
    "Set the tempo of the song first, then tune LFO and arpeggiator divisions against it rather than against free rates.",
    "0.458 to 500 BPM, shown with three decimals.")
add("performance.detune", "UNISON DETUNE",
    "Spreads the pitch of the voices stacked by Unison X against each other. Zero keeps them in tune; higher values give a wide, chorused unison.",
    "Around 10 to 25 gives a thick but still focused lead; above 50 the stack turns into a deliberately out-of-tune swarm.",
    "0 to 100. Has no effect while Unison X is 1, because there is nothing to detune against.")
add("performance.unisonx", "UNISON VOICES",
    "How many voices each key plays at once. Stacking voices makes a fatter sound but reduces the polyphony left for chords.",
    "Two to four voices with a little Detune is the classic fat mono lead; use Mono mode with it so the stack does not eat chords.",
    "1 to 16 voices per key. The instrument divides its voices between the keys held, so 16 leaves a single note.")
add("performance.monovox", "MONO VOICES",
    "The number of voices a mono key uses while the keyboard is in MONO. More voices stacked on one note give a heavier mono sound.",
    "Combine with Detune for a wide mono bass; keep it at 1 for a plain, tight single-voice line.",
    "1 to 16. Only heard while KEYBOARD MODE is set to MONO.")
add("performance.transpose", "TRANSPOSE",
    "Shifts every note the keyboard plays by whole semitones, without retuning the oscillators themselves.",
    "Use it to play a part in a comfortable key, or to move a bass Program an octave down (-12) without touching both oscillators.",
    "-24 to +24 semitones. Incoming MIDI notes are transposed as well.")
add("performance.arp.localbpm", "ARP LOCAL BPM",
    "The arpeggiator's own tempo, used when its sync source is set to the local clock instead of the master clock.",
    "A local tempo lets the arpeggio run at a different speed from the LFOs, for example double time against a slow pulse.",
    "0.46 to 600 BPM, two decimals.")
add("performance.arp.length", "ARP GATE LENGTH",
    "How long each arpeggiated note is held, as a share of one step. Short values give staccato plucks, long values legato lines.",
    "Pair a short length with a fast ENV 3 release for percussive sequences; near 100 the notes tie into each other.",
    "0 to 100 percent of the step.")
add("performance.arp.octave", "ARP OCTAVE RANGE",
    "How many octaves the arpeggio climbs or falls before it starts again. Negative values run the extra octaves downward.",
    "One or two octaves keep a bass arpeggio in its register; wide ranges suit sparkling pad arpeggios.",
    "-10 to +10 octaves.")
add("performance.arp.progressor", "ARP PROGRESSOR",
    "Adds a step-by-step shift to the arpeggio: each pass through the pattern moves by this amount, so the pattern evolves instead of repeating.",
    "Small values make a slowly climbing figure; set Prog. Min and Prog. Max to keep it from wandering out of range.",
    "-127 to +127 per pass, limited by Prog. Min and Prog. Max.")
add("performance.arp.progmin", "ARP PROGRESSOR MINIMUM",
    "The lowest point the progressor may reach before it wraps or turns back.",
    "Keep Prog. Min below Prog. Max; equal values freeze the progressor.",
    "-127 to +127.")
add("performance.arp.progmax", "ARP PROGRESSOR MAXIMUM",
    "The highest point the progressor may reach before it wraps or turns back.",
    "A narrow window between minimum and maximum gives a short repeating climb; a wide one a long evolving line.",
    "-127 to +127.")
add("performance.portamento.time", "UPPER PORTAMENTO TIME",
    "The glide time of the upper portamento: how long a new note takes to slide from the pitch of the previous one.",
    "It has no NRPN: the editor keeps it with the Program, and a Program sent or stored carries it. Use the lower portamento's TIME to hear glide changes at once.",
    "0 to 32.77 seconds. Not wired.")
add("performance.portamento.offset", "UPPER PORTAMENTO OFFSET",
    "Offsets where the upper glide starts, in steps above or below the previous note.",
    "Like the upper time it has no NRPN and travels only with the whole Program; the lower OFFSET changes the glide at once.",
    "-127 to +127. Not wired.")
add("performance.lowerportamento.time", "PORTAMENTO TIME",
    "How long a new note takes to glide from the pitch of the previous note. Zero turns the glide off.",
    "Short times (50 to 150 ms) give a lead a vocal slur; long times are an effect. Use the Mode and 1 SPEED / OCTAVE switches to decide whether the time is fixed or per octave.",
    "0 to 32.77 seconds.")
add("performance.lowerportamento.offset", "PORTAMENTO OFFSET",
    "Starts the glide from a point offset from the previous note, so every new note scoops in from above or below.",
    "A small negative offset with a short time gives a guitar-like scoop into each note, even without legato playing.",
    "-127 to +127 steps.")
add("performance.wheel.toprange", "PITCH WHEEL UP RANGE",
    "How far the pitch wheel bends up at its top end, in semitones.",
    "2 is the usual setting for keyboard parts; 12 allows octave dives for leads. The Osc 1 and Osc 2 switches choose which oscillators follow.",
    "0 to 48 semitones.")
add("performance.wheel.bottomrange", "PITCH WHEEL DOWN RANGE",
    "How far the pitch wheel bends down at its bottom end. Set separately from the up range, so a wheel can bend down further than up.",
    "A deep down range (-12 or -24) with a short up range makes dive bombs easy without losing fine bends upward.",
    "0 to -48 semitones.")
add("performance.wheel.scale", "WHEEL SCALE",
    "Scales how strongly the wheels act on their destinations, as a percentage of their full range.",
    "Lower it for subtle expression on a Program whose wheel routes were set for big sweeps.",
    "0 to 100 percent, two decimals.")

# ---------------------------------------------------------------- oscillators (one text per unit)
for n in (1, 2):
    o = "osc%d" % n
    other = 2 if n == 1 else 1
    add(o + ".semitone", "OSC %d SEMITONE" % n,
        "Coarse tuning of oscillator %d in semitones. Its sub oscillator follows one octave below." % n,
        "Set OSC %d a fifth (+7) or an octave (+12) against OSC %d for classic interval stacks; keep both at 0 for a unison sound that Cents can thicken." % (n, other),
        "-60 to +60 semitones. The editor sends tuning twice, the second time after a short settle, so the instrument lands exactly on the value.")
    add(o + ".cents", "OSC %d CENTS" % n,
        "Fine tuning of oscillator %d in cents (hundredths of a semitone)." % n,
        "Detune one oscillator by 3 to 8 cents against the other for a slow beating chorus; larger values sound out of tune.",
        "-100 to +100 cents.")
    add(o + ".fine", "OSC %d FINE" % n,
        "The finest tuning step of oscillator %d, below a cent, for matching the instrument to a reference pitch." % n,
        "Use it with the Estimated A4 display to tune the Program to 440 Hz or to another instrument.",
        "-100 to +100 fine steps.")
    add(o + ".square", "OSC %d SQUARE WAVE" % n,
        "Switches the square (pulse) wave of oscillator %d on or off. Its width and level have their own controls." % n,
        "A square at 50 percent width is hollow and woody; narrow it with SQR WIDTH for a thinner, nasal tone.",
        "On or off. Several waves of one oscillator can be on at once; they are mixed.")
    add(o + ".pwm", "OSC %d SQUARE WIDTH" % n,
        "The pulse width of oscillator %d's square wave. 50 percent is a symmetric square; lower values give a narrow pulse." % n,
        "Modulate the width with a slow LFO (the OSC%d PWM route) for the moving, string-like pulse-width sound." % n,
        "0 to 100 percent. The Settings menu's SQR Width Fix chooses whether 50 or 52 percent counts as the centre.")
    add(o + ".env1level", "OSC %d SQUARE LEVEL" % n,
        "The level of oscillator %d's square wave in the oscillator's own wave mix." % n,
        "Lower it to blend a little square under a saw for body without the square's hollowness.",
        "0 to 100 percent.")
    add(o + ".filterfm", "OSC %d FILTER FM" % n,
        "Sends oscillator %d to the filter cutoff at audio rate, so the filter is frequency-modulated by the oscillator." % n,
        "Gives a growling, metallic edge; try it on basses with moderate resonance.",
        "On or off.")
    add(o + ".saw", "OSC %d SAW WAVE" % n,
        "Turns oscillator %d's sawtooth on, with a rising (Pos) or falling (Neg) ramp." % n,
        "Pos and Neg sound the same alone, but mixed with the other oscillator or the square the polarity changes the combined shape.",
        "Off, Pos or Neg.")
    add(o + ".triangle", "OSC %d TRIANGLE WAVE" % n,
        "Switches the triangle wave of oscillator %d on. The triangle is soft, with only odd harmonics falling off quickly." % n,
        "Under a saw it adds weight at the fundamental; alone it makes flutes and soft basses.",
        "On or off.")
    add(o + ".sine", "OSC %d SINE WAVE" % n,
        "Switches the sine wave of oscillator %d on: the pure fundamental without harmonics." % n,
        "Use it for sub weight, or route it through the pre-filter source switches (OSC %d SINE) to the filters." % n,
        "On or off.")
    add(o + ".env1pitch.enable", "ENV 1 TO OSC %d PITCH" % n,
        "Lets envelope 1 move the pitch of oscillator %d." % n,
        "Turn it on for pitch sweeps, drum-like blips or sync sweeps (with OSC 2 Sync on).",
        "On or off; the on value the instrument uses is 4096.")
    add(o + ".env1pitch.amount", "ENV 1 TO OSC %d PITCH AMOUNT" % n,
        "How far envelope 1 moves the pitch of oscillator %d, upward for positive values and downward for negative ones." % n,
        "A short ENV 1 with a large amount makes a percussive pitch drop; small amounts add a natural scoop to brass.",
        "-100 to +100 percent of the envelope.")
    add(o + ".env1pitch.offset", "ENV 1 TO OSC %d PITCH OFFSET" % n,
        "A fixed pitch offset added to the envelope's pitch modulation of oscillator %d." % n,
        "Use it to start the sweep from a point other than the played note.",
        "-100 to +100 percent.")
add("osc2.sync", "OSC 2 SYNC",
    "Synchronises oscillator 2 to oscillator 1. Hard sync restarts OSC 2's cycle at every cycle of OSC 1; soft sync only nudges it.",
    "Hard sync with OSC 2 tuned above OSC 1 and its pitch swept by ENV 1 gives the classic tearing sync lead.",
    "Off, Hard or Soft.")

add("osc2toosc1.softamount", "OSC 2 TO OSC 1 SOFT AMOUNT",
    "The strength of the soft coupling between the oscillators that Assign selects.",
    "Small amounts add subtle harmonic interaction; large ones lock the oscillators into each other.",
    "0 to 100.")
add("osc2toosc1.linfm", "OSC 2 TO OSC 1 LINEAR FM",
    "Linear frequency modulation of oscillator 1 by oscillator 2. Linear FM keeps the pitch stable while adding sidebands.",
    "Tune the oscillators to simple ratios (unison, octave, fifth) for bell and electric-piano tones; odd ratios give clangorous sounds.",
    "0 to 100 percent.")
add("osc2toosc1.expfm", "OSC 2 TO OSC 1 EXPONENTIAL FM",
    "Exponential frequency modulation of oscillator 1 by oscillator 2: the classic analog cross-mod that also bends the pitch.",
    "A little gives grit and growl; a lot gives noisy, metallic chaos. Envelope it for sounds that start harsh and settle.",
    "0 to 100 percent.")
add("osc2toosc1.pwm", "OSC 2 TO OSC 1 PWM",
    "Modulates the pulse width of oscillator 1's square with oscillator 2 at audio rate.",
    "Works only while OSC 1's square is on; gives a buzzy, rich tone that changes with the OSC 2 tuning.",
    "0 to 100 percent.")
add("osc2toosc1.assign", "OSC 2 TO OSC 1 ASSIGN",
    "Chooses which oscillator-to-oscillator modulations the soft amount acts on.",
    "Step through the settings while holding a note: each one couples the oscillators differently.",
    "0 to 7.")
add("osc.nzext.source", "NOISE/EXT MODULATION SOURCE",
    "Chooses the noise colour or the external input that the NZEXT modulations below apply to the oscillators.",
    "White noise gives breathy, unstable pitch; the external input lets another sound roughen the oscillators.",
    "0 to 3: the noise colours and the external input.")
add("osc.nzext.osc1linfm", "NOISE/EXT TO OSC 1 LINEAR FM",
    "Linear frequency modulation of oscillator 1 by the noise or external source.",
    "Small amounts give a breathy, airy edge to flutes and pads.",
    "0 to 100 percent.")
add("osc.nzext.osc1expfm", "NOISE/EXT TO OSC 1 EXPONENTIAL FM",
    "Exponential frequency modulation of oscillator 1 by noise: the pitch wanders randomly.",
    "Keep it low for analog drift; raise it for wind and surf effects.",
    "0 to 100 percent.")
add("osc.nzext.osc1pwm", "NOISE/EXT TO OSC 1 PWM",
    "Modulates the pulse width of oscillator 1 with noise, roughening the square.",
    "Needs OSC 1's square on. A subtle amount makes a static square feel alive.",
    "0 to 100 percent.")
add("osc.nzext.osc2expfm", "NOISE/EXT TO OSC 2 EXPONENTIAL FM",
    "Exponential frequency modulation of oscillator 2 by noise.",
    "Roughen OSC 2 only, so OSC 1 keeps the pitch centre while OSC 2 adds texture.",
    "0 to 100 percent.")
add("osc.nzext.osc2pwm", "NOISE/EXT TO OSC 2 PWM",
    "Modulates the pulse width of oscillator 2 with noise.",
    "Needs OSC 2's square on.",
    "0 to 100 percent.")

# ---------------------------------------------------------------- mixers and filters
for key, name, what in (
        ("prefilter.osc1", "OSC 1 LEVEL", "oscillator 1's wave mix"),
        ("prefilter.subosc1", "SUB OSC 1 LEVEL", "the sub oscillator one octave below oscillator 1"),
        ("prefilter.osc2", "OSC 2 LEVEL", "oscillator 2's wave mix"),
        ("prefilter.subosc2", "SUB OSC 2 LEVEL", "the sub oscillator one octave below oscillator 2"),
        ("prefilter.ringmod", "RING MOD LEVEL", "the ring modulator, the product of the two oscillators"),
        ("prefilter.noiseext", "NOISE/EXT LEVEL", "the noise generator or the external input")):
    tip = {
        "prefilter.osc1": "Leave headroom: with both oscillators and subs up the filters overdrive, which can be a sound of its own.",
        "prefilter.subosc1": "A sub under a saw lead or bass adds weight without muddying the upper harmonics.",
        "prefilter.osc2": "Balance it against OSC 1 by ear with both tuned to unison before setting intervals.",
        "prefilter.subosc2": "Keep one sub only for most basses; two subs at once can sound boomy.",
        "prefilter.ringmod": "Detune the oscillators to non-octave intervals for bells and metallic tones.",
        "prefilter.noiseext": "A touch of noise adds breath to pads and attack to plucks; the source is chosen on the FILTERS page.",
    }[key]
    add(key, "PRE-FILTER " + name,
        "The level at which %s enters the filters." % what,
        tip,
        "0 to 100 percent.")
for n, slope, top in ((1, "12 dB multi-mode", "22.35"), (2, "24 dB low-pass", "44.70")):
    f = "filter%d" % n
    add(f + ".frequency", "FILTER %d CUTOFF" % n,
        "The cutoff frequency of filter %d, the %s filter. Lower values darken the sound." % (n, slope),
        "Set the cutoff with ENV 2 Amount at zero first, then add the envelope so the sweep starts from where the sound is right.",
        "0.0218 to %s kHz through the measured calibration of this filter." % top)
    add(f + ".resonance", "FILTER %d RESONANCE" % n,
        "Emphasis at the cutoff frequency of filter %d. High values make the filter ring and, near the top, whistle on its own." % n,
        "Moderate resonance with an envelope sweep gives the squelchy bass; keep it low on pads to avoid a whistling edge.",
        "0 to 100.")
    add(f + ".keytrack", "FILTER %d KEY TRACK" % n,
        "How much the cutoff of filter %d follows the played note. At 100 the filter opens an octave for every octave played." % n,
        "Around 50 keeps high notes from sounding dull; 100 with high resonance lets the filter be played in tune.",
        "0 to 100 percent.")
    add(f + ".env2amount", "FILTER %d ENV 2 AMOUNT" % n,
        "How far envelope 2 opens filter %d above its cutoff." % n,
        "The shape of ENV 2 becomes the shape of the brightness: a fast decay gives a pluck, a slow attack a swell.",
        "0 to 100 percent.")
for key, name, tip in (
        ("postfilter.osc1", "FILTER 1 HIGH PASS", "A little high-pass thins a pad so it sits above the bass."),
        ("postfilter.subosc1", "FILTER 1 LOW PASS", "The usual output of filter 1; start from it and add the others to taste."),
        ("postfilter.osc2", "FILTER 1 BAND PASS", "Band pass with resonance gives vocal and nasal tones."),
        ("postfilter.subosc2", "FILTER 2 LOW PASS", "The steeper 24 dB slope: fatter and darker than filter 1's low pass."),
        ("postfilter.ringmod", "PRE FILTER", "Mixes in the unfiltered signal, useful for keeping bite under a closed filter.")):
    add(key, "POST-FILTER " + name,
        "The level of the %s signal in the mix after the filters." % name.lower().replace("filter", "filter"),
        tip,
        "0 to 100 percent.")
add("postfilter.noiseext", "POST-FILTER SOURCES",
    "Chooses which pre-filter sources are sent around the filters directly: OSC 1 SINE, OSC 2 SINE and RING MOD, one bit each.",
    "Sending a sine past the filters keeps a clean fundamental under a heavily filtered sound.",
    "0 to 7, the three switches as bits 0, 1 and 2 on NRPN 2610, 2611 and 2612.")

# ---------------------------------------------------------------- LFOs and S&H
LFO = [
    ("shape", "SHAPE", "The waveform of LFO {n}: SINE, TRIANGLE, RAMP UP, RAMP DOWN, PULSE or RANDOM.",
     "Sine and triangle for vibrato and sweeps, ramps for rhythmic swells, pulse for trills, random for sample-and-hold-like steps.",
     "Six shapes; the display on the LFOs page draws the one chosen."),
    ("rate", "RATE", "How fast LFO {n} cycles, in Hz.",
     "5 to 6 Hz is a natural vibrato; below 0.5 Hz the LFO becomes a slow sweep over several bars.",
     "0.0076 to 25 Hz."),
    ("delay", "DELAY", "How long LFO {n} waits after a key is pressed before it starts.",
     "A delay of a few hundred milliseconds lets a note speak cleanly before vibrato sets in, as a singer would.",
     "OFF (starts at once) or up to 131 s."),
    ("phase", "PHASE", "The point in its cycle at which LFO {n} starts when it is triggered.",
     "90 degrees starts a sine at its peak, useful for filter sweeps that should open first.",
     "0 to 360 degrees."),
    ("level", "LEVEL", "The depth of LFO {n}'s output before the routes scale it.",
     "Keep it at 100 and set the depth on the route; lower it when one LFO feeds several routes that should all be subtler.",
     "0 to 100 percent."),
    ("offset", "OFFSET", "Shifts LFO {n}'s output up or down, so the modulation is centred away from zero.",
     "With a positive polarity and an offset the LFO only ever pushes a destination one way.",
     "-100 to +100 percent."),
    ("polarity", "POLARITY", "Whether LFO {n} swings both ways (BIPOLAR) or only above (POSITIVE) or below (NEGATIVE) zero.",
     "Use POSITIVE for tremolo-style level changes and for filter wobble that never closes below the cutoff.",
     "NEGATIVE, BIPOLAR or POSITIVE."),
    ("wavewidth", "WAVE WIDTH", "Changes the symmetry of LFO {n}'s wave: the duty cycle of the pulse and the lean of the triangle.",
     "Narrow pulse widths give short blips; a leaning triangle becomes a ramp.",
     "0 to 100 percent; 50 is symmetric."),
    ("triggersource", "TRIGGER SOURCE", "The signal that restarts LFO {n} when the trigger is enabled.",
     "Trigger from the keyboard so each note starts the wobble at the same point.",
     "The instrument's list of trigger sources."),
    ("triggerlevel", "TRIGGER LEVEL", "The threshold the trigger source must cross to restart LFO {n}.",
     "Raise it when a noisy trigger source restarts the LFO too often.",
     "-100 to +100 percent."),
    ("triggertype", "TRIGGER TYPE", "How LFO {n} reacts to its trigger: FREE RUN, KEY, NORMAL, LEGATO, ONE SHOT or CLOCK.",
     "ONE SHOT turns the LFO into an extra envelope; LEGATO restarts only on detached notes.",
     "Six types."),
    ("enable", "ENABLE", "Switches LFO {n} on or off. Its routes are silent while it is off.",
     "Switch an LFO off to hear a Program without its movement when checking the basic tone.",
     "On or off."),
    ("startson", "STARTS ON", "Chooses what starts LFO {n} running.",
     "Start on key for per-note movement, or leave it running for movement across notes.",
     "The instrument's list of start events."),
    ("freerun", "FREE RUN", "Lets LFO {n} run continuously, ignoring key presses.",
     "Free-running LFOs make chords move as one; key-triggered ones make every note move alike.",
     "On or off."),
    ("syncsource", "SYNC SOURCE", "The clock LFO {n} locks its rate to when synced.",
     "Sync to the master clock to keep wobbles in time with the arpeggiator.",
     "The instrument's list of sync sources."),
    ("periodsize", "PERIOD SIZE", "The note length of one LFO {n} cycle while it is synced to a clock.",
     "Quarter and eighth notes suit wobble basses; whole bars suit slow sweeps.",
     "The instrument's list of clock divisions."),
]
for n in (1, 2, 3):
    for field, title, d, t, x in LFO:
        add("lfo%d.%s" % (n, field), "LFO %d %s" % (n, title), d.format(n=n), t, x)
SH = [
    ("samplesource", "SAMPLE SOURCE", "The signal the sample-and-hold measures at each step.",
     "Sample noise for random stepped filter sweeps; sample an LFO for stepped patterns that repeat.",
     "The instrument's list of modulation sources."),
    ("level", "LEVEL", "The depth of the held steps.", "Keep depth low on pitch routes unless you want wild random melodies.",
     "-100 to +100 percent."),
    ("offset", "OFFSET", "Shifts the held steps up or down.", "Centre the steps where the destination sounds best.",
     "-100 to +100 percent."),
    ("rate", "RATE", "How often the sample-and-hold takes a new sample.",
     "Match the rate to the tempo for rhythmic random patterns.", "0.02 to 100 Hz."),
    ("enable", "ENABLE", "Switches the sample-and-hold on or off.", "Its routes are silent while it is off.", "On or off."),
    ("triggersource", "TRIGGER SOURCE", "The signal that forces a new sample.",
     "Trigger from the keyboard so every note gets a new random value.", "The instrument's list of trigger sources."),
    ("triggerlevel", "TRIGGER LEVEL", "The threshold the trigger source must cross.",
     "Raise it if sampling happens too often.", "-100 to +100 percent."),
    ("triggertype", "TRIGGER TYPE", "How the sample-and-hold reacts to its trigger.",
     "ONE SHOT takes one sample per note and holds it.", "Six types, as for the LFOs."),
    ("syncsource", "SYNC SOURCE", "The clock the sample rate locks to when synced.",
     "Sync to the master clock for steps in time with the music.", "The instrument's list of sync sources."),
    ("periodsize", "PERIOD SIZE", "The note length of one step while synced.",
     "Sixteenths give busy random patterns; quarters calmer ones.", "The instrument's list of clock divisions."),
]
for field, title, d, t, x in SH:
    add("sh." + field, "S&H " + title, "Sample and hold: " + d[0].lower() + d[1:], t, x)

# ---------------------------------------------------------------- envelopes
ENV_ROLE = {1: "pitch and modulation", 2: "the filters", 3: "the amplifier (loudness)"}
ENV = [
    ("delaytime", "DELAY TIME", "The time ENV {n} waits after a key press before its attack starts.",
     "Delay a modulation envelope so an effect (a filter swell, a pitch dip) arrives after the note has spoken.", "OFF or 2 ms to 131 s."),
    ("attacktime", "ATTACK TIME", "How long ENV {n} takes to rise from its start to the attack level.",
     "Under 5 ms for plucks and basses; hundreds of milliseconds for pads and swells.", "2 ms to 131 s."),
    ("decay1time", "DECAY 1 TIME", "How long ENV {n} takes to fall from the attack level to the decay 2 level.",
     "A short decay 1 with a lower decay 2 level makes a sharp transient before the body of the note.", "OFF or 2 ms to 131 s."),
    ("decay2time", "DECAY 2 TIME", "How long ENV {n} takes to move from the decay 2 level to the sustain level.",
     "Use the second decay for a slow fade after the initial drop, like a piano note.", "OFF or 2 ms to 131 s."),
    ("release1time", "RELEASE 1 TIME", "How long ENV {n} takes after the key is released to reach the release 2 level.",
     "Two release stages let a sound drop quickly and then ring out softly.", "OFF or 2 ms to 131 s."),
    ("release2time", "RELEASE 2 TIME", "How long ENV {n} takes to fall from the release 2 level to its end.",
     "Long release 2 times give pads their tail; keep them short for tight basses.", "2 ms to 131 s."),
    ("shape", "SHAPE", "The curve of ENV {n}'s segments: LINEAR, EXP 1 to 3, LOG 1 to 3 or S-CURVE 1 and 2.",
     "Exponential curves sound natural on loudness and filters; linear suits pitch sweeps. The envelope display draws the curve chosen.",
     "Nine curve shapes."),
    ("decay2level", "DECAY 2 LEVEL", "The level ENV {n} reaches at the end of decay 1.",
     "Set it between the attack and sustain levels for a two-stage fall.", "{levels}"),
    ("sustainlevel", "SUSTAIN LEVEL", "The level ENV {n} holds while the key stays down.",
     "Zero sustain makes every note decay away like a plucked string, however long the key is held.", "{levels}"),
    ("release2level", "RELEASE 2 LEVEL", "The level ENV {n} reaches at the end of release 1.",
     "A low but not silent release 2 level leaves a soft tail after a fast first release.", "{levels}"),
    ("offsetlevel", "OFFSET LEVEL", "The level ENV {n} starts from and returns to.",
     "An offset lets a modulation envelope rest above or below zero between notes.", "-100 to +100 percent."),
    ("attacklevel", "ATTACK LEVEL", "The peak ENV {n} rises to at the end of its attack.",
     "Lower it below the sustain level for sounds that swell after the attack.", "{attack}"),
    ("polarity", "POLARITY", "Whether ENV {n} acts as it is drawn or inverted.",
     "Invert a filter envelope for sounds that close on the attack and open as they decay.", "The instrument's polarity choices."),
    ("triggermode", "TRIGGER MODE", "How ENV {n} restarts: RETRIGGER, LEGATO, RESET, RESET LEGATO, ONE SHOT, ONE SHOT LEGATO, FREE RUN or LOOP.",
     "LEGATO keeps the envelope running through tied notes, essential for smooth mono lines; LOOP turns it into a complex LFO.",
     "Eight named modes."),
    ("triggersource", "TRIGGER SOURCE", "The signal that starts ENV {n} besides the keyboard.",
     "Trigger from an LFO or the clock for rhythmic envelopes on held chords.", "The instrument's list of trigger sources."),
    ("triggerlevel", "TRIGGER LEVEL", "The threshold the trigger source must cross to start ENV {n}.",
     "Raise it to ignore small movements of the trigger source.", "-100 to +100 percent."),
    ("triggerpolarity", "TRIGGER POLARITY", "Whether ENV {n} triggers on a rising or a falling trigger signal.",
     "Falling triggers can fire an envelope when another one ends.", "The instrument's polarity choices."),
    ("triggerenable", "TRIGGER ENABLE", "Lets the trigger source start ENV {n}.",
     "Leave it off for ordinary keyboard envelopes.", "The instrument's enable choices."),
    ("retriggerstage", "RETRIGGER STAGE", "The stage ENV {n} jumps to when it is retriggered while running.",
     "Retriggering into decay instead of attack avoids clicks on fast repeated notes.", "The envelope's stages."),
    ("trigselect", "TRIGGER SELECT", "Chooses which trigger events ENV {n} listens to.",
     "Combine with Trigger Source for envelopes that fire on both keys and clock.", "The instrument's trigger choices."),
    ("loopstart", "LOOP START", "The first stage of ENV {n}'s loop.",
     "Loop decay 1 to decay 2 for a pulsing sustain.", "The envelope's stages."),
    ("loopend", "LOOP END", "The last stage of ENV {n}'s loop before it jumps back to the loop start.",
     "Keep the end after the start; a one-stage loop just repeats that stage.", "The envelope's stages."),
    ("loopcount", "LOOP COUNT", "How many times ENV {n} runs its loop before it moves on.",
     "A few loops make a flutter at the start of a note; the highest values loop as long as the key is held.", "0 to 255."),
    ("looptype", "LOOP TYPE", "How ENV {n} loops: forward, back and forth, or held.",
     "Back-and-forth loops give a smoother pulsing than forward loops.", "The instrument's loop types."),
    ("smoothtime", "SMOOTH TIME", "Smooths sudden jumps in ENV {n}'s output over this time.",
     "A few milliseconds of smoothing remove clicks when a retrigger restarts a loud envelope.", "2 ms to 131 s."),
    ("smoothslope", "SMOOTH SLOPE", "The curve of ENV {n}'s smoothing.",
     "Steeper slopes keep the attack snappy while still removing clicks.", "0 to 4095."),
    ("reset", "RESET", "Whether ENV {n} starts from zero or from its current level when it restarts.",
     "Resetting gives every note the same attack; not resetting avoids clicks in fast playing.", "The instrument's reset choices."),
    ("sustainpedal", "SUSTAIN PEDAL", "Lets the sustain pedal hold ENV {n} in its sustain stage.",
     "Turn it off on a modulation envelope that should not follow the pedal.", "On or off."),
    ("keytrack", "KEY TRACK", "Shortens or lengthens ENV {n}'s times with the played note.",
     "Positive values make high notes faster, as on acoustic instruments.", "-100 to +100 percent."),
    ("keybase", "KEY BASE", "The note at which key tracking has no effect on ENV {n}.",
     "Set it to the middle of the part's range so the tracking spreads both ways.", "MIDI note 0 to 127."),
    ("leveltrack", "LEVEL TRACK", "Scales ENV {n}'s levels with the played note.",
     "Negative values keep high notes from getting harsher.", "-100 to +100 percent."),
    ("velocitymod", "VELOCITY MOD", "How strongly key velocity scales ENV {n}.",
     "On ENV 3 it makes the Program touch sensitive; on ENV 2 harder playing opens the filter.", "-100 to +100 percent."),
    ("releasemod", "RELEASE MOD", "How strongly release velocity changes ENV {n}'s release.",
     "Lifting the key quickly then shortens the tail, for expressive endings.", "-100 to +100 percent."),
]
for n in (1, 2, 3):
    levels = "0 to 100 percent." if n == 3 else "-100 to +100 percent."
    attack = "0 to 100 percent, shown as loudness." if n == 3 else "-100 to +100 percent."
    for field, title, d, t, x in ENV:
        desc = d.format(n=n)
        if field == "attacktime":
            desc += " ENV %d usually drives %s." % (n, ENV_ROLE[n])
        add("env%d.%s" % (n, field), "ENV %d %s" % (n, title), desc, t, x.format(levels=levels, attack=attack))

# ---------------------------------------------------------------- interface controls
IFACE = [
    (643, "CLOCK MOD VOX", "Chooses which voice's modulation drives the clock modulation route.", "Leave it on the first voice unless a per-voice clock wobble is wanted.", "The instrument's voice choices."),
    (652, "CLOCK START", "Whether the clock starts freely (NORMAL) or on the first key press (KEYDOWN).", "KEYDOWN makes the arpeggiator and synced LFOs start in time with your playing.", "NORMAL or KEYDOWN."),
    (897, "ARP RUN", "Starts and stops the arpeggiator.", "Stop it while setting up the sound, then run it to hear the pattern.", "The instrument's run states."),
    (899, "ARP CHORD", "Plays the held notes together on each step instead of one after another.", "Chord mode with a short gate gives rhythmic stabs from a held chord.", "The instrument's chord settings."),
    (901, "ARP LATCH", "Keeps the arpeggio running after the keys are released.", "Latch a pattern and play over it with both hands free for the knobs.", "The instrument's latch settings."),
    (903, "ARP TYPE", "The order the arpeggiator plays the held notes in: up, down, up and down, random and the like.", "Up-down sounds smooth; random suits textures.", "The instrument's pattern types."),
    (905, "ARP CENTER", "The note the arpeggio pattern centres on.", "Move it to keep a pattern in the register of the part.", "The instrument's centre settings."),
    (907, "ARP SYNC SOURCE", "The clock the arpeggiator follows: the master clock, its local BPM or external MIDI clock.", "Use external clock to lock the arpeggio to a sequencer.", "The instrument's sync sources."),
    (908, "ARP STEP SIZE", "The note length of one arpeggio step.", "Sixteenths for driving patterns, eighths for calmer ones.", "The instrument's clock divisions."),
    (910, "ARP TRIGGER ENABLE", "Lets a trigger signal advance the arpeggiator.", "Leave it off for clock-driven arpeggios.", "Off or on."),
    (911, "ARP TRIGGER SOURCE TYPE", "The kind of signal that triggers the arpeggiator.", "A modulation source here turns the arpeggio into an irregular rhythm.", "The instrument's source types."),
    (912, "ARP TRIGGER LEVEL", "The threshold the arpeggiator's trigger signal must cross.", "Raise it when the arpeggio advances too often.", "The instrument's level range."),
    (913, "ARP TRIGGER TYPE", "How the trigger signal is read: negative, positive or absolute.", "Absolute triggers on both halves of a bipolar source, doubling the rate.", "NEGATIVE to ABSOLUTE POSITIVE."),
    (914, "ARP RE-TRIGGER", "Restarts the arpeggio pattern on each new key press.", "On keeps the pattern aligned with your playing.", "Off or on."),
    (915, "ARP TRIGGER VOX", "The voice whose trigger advances the arpeggiator.", "Leave it on the first voice for ordinary use.", "The instrument's voice choices."),
    (916, "ARP TRIGGER MODE", "How trigger events and the clock work together to advance the arpeggio.", "Try each mode with a slow LFO as trigger source.", "The instrument's trigger modes."),
    (1793, "OSC ENGINE", "Selects the oscillator engine state of the Program.", "Change it while holding a note to compare the engines.", "The instrument's engine states."),
    (1794, "FILTER ENGINE", "Selects the filter engine state of the Program.", "Compare the states on a resonant sweep.", "The instrument's engine states."),
    (2182, "NOISE/EXT SOURCE", "Chooses what feeds the NOISE/EXT level of the pre-filter mix: a noise colour or the external input.", "White noise is brightest; pink and red noise are darker and suit wind and surf.", "OFF to EXTERNAL."),
    (2465, "FILTER 2 INPUT", "Chooses what filter 2 receives: nothing, the pre-filter mix, or one of filter 1's outputs, which puts the filters in series.", "Feeding filter 1's band pass into filter 2 gives a narrow, vocal series filter.", "OFF to BANDPASS."),
    (2610, "PRE-FILTER SOURCE OSC 1 SINE", "Sends oscillator 1's sine around the filters into the post-filter mix.", "Keeps a clean fundamental under a filtered sound.", "Off or on; bit 0 of POST FILTER SOURCES."),
    (2611, "PRE-FILTER SOURCE OSC 2 SINE", "Sends oscillator 2's sine around the filters into the post-filter mix.", "Use it for a sub layer that the filter sweep does not touch.", "Off or on; bit 1 of POST FILTER SOURCES."),
    (2612, "PRE-FILTER SOURCE RING MOD", "Sends the ring modulator around the filters into the post-filter mix.", "Bells stay bright even with the filter closed.", "Off or on; bit 2 of POST FILTER SOURCES."),
    (3077, "VOICE MIX VOICE OUTPUT", "Switches the voice output of the voice mix on or off.", "Switch it off to hear only what the effects return.", "Off or on."),
    (3078, "VOICE MIX OUTPUT", "Routes the voice mix to the MAIN output, the AUX output, or turns it OFF. Each press moves to the next.", "AUX lets a layer be processed separately on the mixing desk.", "MAIN / AUX / OFF."),
    (3333, "ANALOG DISTORTION TYPE", "The character of the analog distortion: EASY, LIGHT, HEAVY or KILLER.", "EASY and LIGHT add warmth; HEAVY and KILLER are for aggressive leads and basses.", "EASY / LIGHT / HEAVY / KILLER."),
    (3603, "DIGITAL EFFECTS SELECTION", "Chooses the digital effect algorithm of the Program: reverbs, delays, choruses and their combinations.", "Pick the algorithm first; its controls appear on the EFFECTS page.", "The effect algorithm number."),
    (3716, "KEYBOARD POLYPHONY", "Plays the Program polyphonically (POLY) or as a single line (MONO).", "MONO with legato envelopes and portamento gives classic lead and bass lines.", "MONO or POLY."),
    (3718, "KEYBOARD ASSIGN", "How new notes take voices: ROTARY cycles through the voices, LOWEST always takes the lowest free one.", "ROTARY lets release tails ring on; LOWEST gives the most consistent sound from voice to voice.", "LOWEST or ROTARY."),
    (3845, "PITCH WHEEL OSC 1", "Lets the pitch wheel bend oscillator 1.", "Bend only one oscillator for a detuning effect rather than a pitch bend.", "On or off."),
    (3846, "PITCH WHEEL OSC 2", "Lets the pitch wheel bend oscillator 2.", "Keep both on for ordinary bends.", "On or off."),
    (3976, "PORTAMENTO ENABLE", "Switches the glide between notes on or off.", "Turn it on with MONO for slides on legato playing.", "On or off."),
    (3978, "PORTAMENTO OSC ENABLE", "Chooses which oscillators glide.", "Gliding only one oscillator makes an interval open up between notes.", "The instrument's oscillator choices."),
    (3979, "PORTAMENTO FILTER ENABLE", "Lets the filter cutoff glide along with the pitch, so key tracking follows the slide.", "On keeps the tone even during long glides.", "The instrument's filter choices."),
    (3980, "PORTAMENTO MODE", "When the glide happens: always, or only on legato (overlapping) notes.", "Legato-only glide lets you choose note by note whether to slide.", "The instrument's portamento modes."),
    (3981, "PORTAMENTO SPEED", "Whether the glide takes the same time for every interval (1 SPEED) or a time per octave (OCTAVE).", "OCTAVE sounds natural for big leaps; 1 SPEED keeps glides in rhythm.", "1 SPEED or OCTAVE."),
    (3983, "PORTAMENTO KEYBOARD", "Which part of the keyboard glides.", "Restrict the glide to the upper keys for lead lines over a held bass.", "The instrument's keyboard choices."),
]
for nrpn, title, d, t, x in IFACE:
    add("__interface:%d" % nrpn, title, d, t, x)

# ---------------------------------------------------------------- modulation routes
ROUTES = [
    ("CLOCK MOD", False, "the master clock's tempo", "Modulate the tempo with a slow LFO for drifting, humanised arpeggios."),
    ("PORTAMENTO MOD", False, "the portamento time", "Velocity here makes hard-played notes glide faster."),
    ("SEQUENCER MOD", False, "the sequencer", "Use a slow source to vary the sequence over time."),
    ("ARP MOD", False, "the arpeggiator", "An LFO here makes the arpeggio breathe in and out."),
    ("OSC1 OSC2FM", True, "the cross-modulation of oscillator 1 by oscillator 2", "An envelope on the FM amount gives sounds that start bright and metallic and settle."),
    ("OSC1 PWM", True, "oscillator 1's pulse width", "A slow triangle LFO here is the classic PWM string sound."),
    ("OSC1 MOD1", True, "a destination of oscillator 1 chosen below", "Vibrato: an LFO at about 5 Hz to pitch, with the mod wheel as a second route for depth."),
    ("OSC1 MOD2", True, "a second destination of oscillator 1", "Use the second slot for a different source on the same oscillator, such as an envelope."),
    ("OSC1 MOD3", True, "a third destination of oscillator 1", "Keep a spare slot for expression sources like aftertouch."),
    ("OSC2 PWM", True, "oscillator 2's pulse width", "Use a different LFO rate than OSC1 PWM for a wider ensemble."),
    ("OSC2 MOD1", True, "a destination of oscillator 2 chosen below", "Pitch modulation of OSC 2 only is a quick way to get sync sweeps."),
    ("OSC2 MOD2", True, "a second destination of oscillator 2", "Pair with OSC2 MOD1 for two sources on one oscillator."),
    ("OSC2 MOD3", True, "a third destination of oscillator 2", "A spare slot for expression sources."),
    ("OSC 1 LEVEL MOD", False, "oscillator 1's level in the pre-filter mix", "An envelope here crossfades oscillator 1 in or out during the note."),
    ("OSC 2 LEVEL MOD", False, "oscillator 2's level in the pre-filter mix", "Fade OSC 2 in slowly for pads that thicken as they sustain."),
    ("SUB OSC 1 LEVEL MOD", False, "sub oscillator 1's level", "Velocity on the sub gives more weight to hard-played bass notes."),
    ("SUB OSC 2 LEVEL MOD", False, "sub oscillator 2's level", "Keep sub movement subtle; big level swings in the bass are very audible."),
    ("RING MOD LEVEL MOD", False, "the ring modulator's level", "A fast envelope here adds a metallic click to the start of notes."),
    ("NOISE/EXTERNAL LEVEL MOD", False, "the noise or external level", "An envelope on noise gives breath at the start of each note."),
    ("FILTER 1 MOD 1", True, "a destination of filter 1 chosen below", "The usual use is an LFO or the mod wheel on the cutoff."),
    ("FILTER 1 MOD 2", True, "a second destination of filter 1", "Velocity to cutoff makes the filter respond to touch."),
    ("FILTER 1 MOD 3", True, "a third destination of filter 1", "Aftertouch to resonance is a good expression route."),
    ("FILTER 2 MOD 1", True, "a destination of filter 2 chosen below", "Modulate filter 2 differently from filter 1 for a moving stereo-like blend."),
    ("FILTER 2 MOD 2", True, "a second destination of filter 2", "Velocity to cutoff for touch response."),
    ("FILTER 2 MOD 3", True, "a third destination of filter 2", "A spare slot for expression sources."),
    ("FILTER 1 LOW PASS MOD", False, "filter 1's low-pass output level", "Crossfade between the filter outputs with an LFO for a shifting tone."),
    ("FILTER 1 HIGH PASS MOD", False, "filter 1's high-pass output level", "An envelope here adds a bright attack that fades away."),
    ("FILTER 1 BAND PASS MOD", False, "filter 1's band-pass output level", "Modulate it for vocal movement."),
    ("FILTER 1 MIX LEVEL MOD", False, "filter 1's level in the mix", "Balance the filters against each other during the note."),
    ("FILTER 2 LOW PASS MOD", False, "filter 2's low-pass output level", "Fade the 24 dB filter in for a darker sustain."),
    ("PRE FILTER MOD", False, "the unfiltered signal's level", "Let some dry signal in on the attack for extra bite."),
    ("ENV 1 MOD 1", True, "a parameter of envelope 1 chosen below", "Velocity to attack time makes soft notes swell and hard ones snap."),
    ("ENV 1 MOD 2", True, "a second parameter of envelope 1", "Key position to decay for natural-sounding high notes."),
    ("ENV 1 MOD 3", True, "a third parameter of envelope 1", "A spare slot for expression sources."),
    ("ENV 2 MOD 1", True, "a parameter of envelope 2 chosen below", "Velocity to ENV 2's amount gives touch-sensitive brightness."),
    ("ENV 2 MOD 2", True, "a second parameter of envelope 2", "Modulate its decay for plucks that vary with playing."),
    ("ENV 2 MOD 3", True, "a third parameter of envelope 2", "A spare slot for expression sources."),
    ("ENV 3 MOD 1", True, "a parameter of envelope 3 chosen below", "Velocity to release for expressive endings."),
    ("ENV 3 MOD 2", True, "a second parameter of envelope 3", "Key position to release for natural tails."),
    ("ENV 3 MOD 3", True, "a third parameter of envelope 3", "A spare slot for expression sources."),
    ("VOICE MIX MOD", True, "the voice mix (level or pan) chosen below", "An LFO on pan spreads a pad across the stereo field."),
    ("ANALOG DISTORTION MOD", False, "the analog distortion", "Velocity here makes hard-played notes more aggressive."),
    ("DIGITAL EFFECTS MOD", True, "a digital effect control chosen below", "The mod wheel on the effect mix brings in reverb or delay on demand."),
    ("LFO 1 MOD", True, "a parameter of LFO 1 chosen below", "The mod wheel on LFO 1's level is the classic vibrato depth control."),
    ("LFO 2 MOD", True, "a parameter of LFO 2 chosen below", "An envelope on the LFO rate makes vibrato speed up during a note."),
    ("LFO 3 MOD", True, "a parameter of LFO 3 chosen below", "Modulating one LFO with another gives complex, non-repeating movement."),
    ("S&H MOD", False, "the sample-and-hold", "Modulate its rate for random patterns that speed up and slow down."),
]
FIELDS = [
    ("enable", "ENABLE", "Switches the route on or off. While it is off the route does nothing, but its settings are kept.",
     "Switch a route off to compare the sound with and without it.", "Off or on."),
    ("source", "SOURCE", "Chooses the modulation source: an LFO, an envelope, a wheel, velocity, noise and the other sources of the instrument.",
     "The MOD ROUTING overlay lists the sources by category.", "79 sources in 12 categories."),
    ("destination", "DESTINATION", "Chooses what the route modulates.",
     "The destinations differ from route to route; the overlay lists those of this route.", "The route's destination list."),
    ("level", "LEVEL", "How strongly the source moves the destination; negative values invert the modulation.",
     "Start small: many destinations, pitch above all, react strongly.", "-100.00 to +100.00."),
    ("offset", "OFFSET", "A fixed amount added to the modulation, shifting where it is centred.",
     "Use an offset with a positive-only source to move the destination in both directions.", "-100.00 to +100.00."),
]
for name, has_destination, what, tip in ROUTES:
    for word, ftitle, d, t, x in FIELDS:
        if word == "destination" and not has_destination:
            continue
        add("__mod:%s:%s" % (name, word), "%s %s" % (name, ftitle),
            "The %s route modulates %s. %s" % (name, what, d), t + " " + tip, x)

# ---------------------------------------------------------------- tools and wheels
add("__morph", "MORPH KNOB",
    "Morphs the Program between the endpoints stored in the MORPH KNOB slots: turning it moves every assigned parameter at once.",
    "Store a dark and a bright version of a sound as the two endpoints and play the knob like a filter sweep with more dimensions.",
    "0 to 100 percent between the slot's endpoints.")
for m in range(1, 9):
    add("__macro%d" % m, "MACRO %d" % m,
        "Macro knob %d moves every parameter assigned to it together, each within its own range." % m,
        "Assign a few related parameters (cutoff, resonance, envelope amount) to one macro for a single expressive control.",
        "Assign by MIDI learn in the MACROS tool.")
add("pitch_wheel_osc_1", "PITCH WHEEL TO OSC 1",
    "Whether the pitch wheel bends oscillator 1.",
    "Bend one oscillator only for a detune effect instead of a pitch bend.", "On or off.")
add("pitch_wheel_osc_2", "PITCH WHEEL TO OSC 2",
    "Whether the pitch wheel bends oscillator 2.",
    "With OSC 2 synced to OSC 1, bending OSC 2 alone gives a sync sweep from the wheel.", "On or off.")
add("pitch_wheel_top_curve", "PITCH WHEEL UP CURVE",
    "The response curve of the pitch wheel's upper half: how the bend grows as the wheel moves.",
    "EXP curves give fine control near the centre and big bends only at the end of the travel.",
    "Nine curve shapes, LINEAR to S-CURVE 2.")
add("pitch_wheel_bottom_curve", "PITCH WHEEL DOWN CURVE",
    "The response curve of the pitch wheel's lower half.",
    "A LOG curve makes downward dives arrive quickly.", "Nine curve shapes, LINEAR to S-CURVE 2.")
add("mod_wheel_curve", "MOD WHEEL CURVE",
    "The response curve of the mod wheel: how its routes follow the wheel's travel.",
    "EXP curves keep vibrato subtle over most of the travel; S-CURVE gives a gentle start and end.",
    "Nine curve shapes, LINEAR to S-CURVE 2.")
add("__effect:algorithm", "DIGITAL EFFECT ALGORITHM",
    "The digital effect algorithm of the Program, chosen on the EFFECTS page.",
    "Wedge presets set the algorithm and all of its controls in one go.", "The instrument's effect algorithms.")

# ---------------------------------------------------------------- digital-effect value families
FAMILIES = [
    ("frequency-top-off", "EFFECT FILTER FREQUENCY", "A filter frequency of the effect; at the top of its range the filter is off, letting all highs through.",
     "Roll off the highs of a reverb or delay so it sits behind the dry sound.", "Frequency table steps; the highest step reads OFF."),
    ("frequency-bottom-off", "EFFECT LOW CUT FREQUENCY", "A low-cut frequency of the effect; at the bottom of its range the filter is off.",
     "Cut the lows of a reverb to keep basses clean.", "Frequency table steps; the lowest step reads OFF."),
    ("positive-255", "EFFECT AMOUNT", "A general amount of the effect on a 0 to 255 scale.", "Move it in small steps; most sounds live in the middle.", "0 to 255."),
    ("rate-0-6.470hz", "EFFECT MODULATION RATE", "The speed of the effect's internal modulation, as in a chorus or flanger.",
     "Slow rates (under 1 Hz) for lush choruses, faster ones for vibrato and leslie-like effects.", "0 to 6.47 Hz."),
    ("time-0-250ms", "EFFECT SHORT TIME", "A short delay time of the effect, such as a chorus or flanger delay.", "Shorter times flange, longer ones double.", "0 to 250 ms."),
    ("time-0-500ms-fine-capture-required", "EFFECT FINE TIME", "A finely stepped delay time of the effect.", "Set by ear against the tempo.", "0 to 500 ms."),
    ("percent-0-100", "EFFECT PERCENTAGE", "A percentage control of the effect, such as depth, feedback or mix.", "Feedback above about 80 percent builds up quickly.", "0 to 100 percent."),
    ("gated-percent-0-100", "EFFECT GATED PERCENTAGE", "A percentage control of a gated effect.", "Use with the gate time to shape gated reverbs.", "0 to 100 percent."),
    ("digital-fx-out-0.00-100.00-whole-number-captured", "EFFECT OUTPUT LEVEL", "The output level of the effect.", "Balance it against the dry sound with the SEND and PAN/BLEND controls.", "0.00 to 100.00."),
    ("stereo-room-width-0-100-captured", "EFFECT STEREO WIDTH", "The stereo width of the room or reverb.", "Narrow the width for a focused mono-compatible sound.", "0 to 100."),
    ("time-100-600ms", "EFFECT PRE-DELAY TIME", "A delay time from 100 to 600 ms.", "Use tempo-related values for rhythmic echoes.", "100 to 600 ms."),
    ("large-hall-decay", "LARGE HALL DECAY", "The decay time of the large hall reverb.", "Long decays suit slow pads; shorten them for busy parts.", "The hall's decay table in seconds."),
    ("hall-reverb-decay", "HALL REVERB DECAY", "The decay time of the hall reverb.", "Shorten it as the tempo gets faster.", "The hall's decay table in seconds."),
    ("ambience-decay", "AMBIENCE DECAY", "The decay of the ambience reverb, a short natural space.", "Short ambience adds space without a noticeable tail.", "The ambience decay table in seconds."),
    ("large-plate-decay", "LARGE PLATE DECAY", "The decay time of the large plate reverb.", "Plates are bright and dense; they suit leads and vocals-like pads.", "The plate's decay table in seconds."),
    ("plate-decay", "PLATE DECAY", "The decay time of the plate reverb.", "Medium plate decays flatter percussive sounds.", "The plate's decay table in seconds."),
    ("room-family-decay", "ROOM DECAY", "The decay time of the room reverbs.", "Rooms stay tight; use them for basses and drums-like sounds.", "The room decay table in seconds."),
    ("positive-4", "EFFECT SMALL STEP SELECTOR", "A control with five steps, 0 to 4.", "Step through them while playing.", "0 to 4."),
    ("positive-50", "EFFECT AMOUNT (0 TO 50)", "An amount from 0 to 50.", "Move in small steps.", "0 to 50."),
    ("time-0-500ms", "EFFECT DELAY TIME", "A delay time of the effect up to half a second.", "Quarter note at 120 BPM is 500 ms; eighth note 250 ms.", "0 to 500 ms."),
    ("gated-time-0-500ms", "EFFECT GATE TIME", "How long the gate of a gated reverb stays open.", "Short gates give the 1980s gated drum sound on percussive patches.", "0 to 500 ms."),
    ("positive-54", "EFFECT AMOUNT (0 TO 54)", "An amount from 0 to 54.", "Move in small steps.", "0 to 54."),
    ("positive-24", "EFFECT AMOUNT (0 TO 24)", "An amount from 0 to 24, such as a pitch shift in semitones.", "12 is an octave.", "0 to 24."),
    ("positive-9", "EFFECT AMOUNT (0 TO 9)", "A control with ten steps, 0 to 9.", "Step through them while playing.", "0 to 9."),
    ("positive-99", "EFFECT AMOUNT (0 TO 99)", "An amount from 0 to 99.", "Move in small steps.", "0 to 99."),
    ("bipolar-12", "EFFECT BIPOLAR AMOUNT (12)", "A control centred on zero, from -12 to +12, such as a pitch shift in semitones.", "Zero is neutral.", "-12 to +12."),
    ("bipolar-50", "EFFECT BIPOLAR AMOUNT (50)", "A control centred on zero, from -50 to +50, such as a detune or balance.", "Zero is neutral.", "-50 to +50."),
    ("bipolar-99", "EFFECT BIPOLAR AMOUNT (99)", "A control centred on zero, from -99 to +99.", "Zero is neutral.", "-99 to +99."),
    ("text-selector-2", "EFFECT TWO-WAY SWITCH", "Chooses one of two settings of the effect.", "Compare both while playing.", "Two named settings."),
    ("text-selector-4", "EFFECT FOUR-WAY SELECTOR", "Chooses one of four settings of the effect.", "Compare them while playing.", "Four named settings."),
    ("config-pan", "EFFECT OUTPUT PAN", "Places an effect output in the stereo field.", "Pan two delay outputs apart for a ping-pong feel.", "L 100.0 to R 100.0."),
    ("unipolar-percent-0.00-100.00-reused", "EFFECT SEND", "How much of the voice goes into the digital effects.", "Keep the send moderate and raise the effect output instead for a cleaner mix.", "0.00 to 100.00 percent."),
]
for family, title, d, t, x in FAMILIES:
    add("effect-family:" + family, title, d, t, x)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    seen = set()
    for row in ROWS:
        assert row["id"] not in seen, row["id"]
        seen.add(row["id"])
    with open(os.path.join(root, "Resources", "ParameterHelp.json"), "w", encoding="utf-8") as out:
        json.dump(ROWS, out, indent=1, ensure_ascii=False)
        out.write("\n")
    print("%d help rows" % len(ROWS))


if __name__ == "__main__":
    main()
