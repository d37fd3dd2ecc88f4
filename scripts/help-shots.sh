#!/usr/bin/env bash
# Starts the editor with the Virtual Orvo under a virtual display, syncs, and takes the pages with
# their displays (OSCILLATORS, LFOs, ENVELOPES) and PARAMETER HELP for three parameters, into
# docs/screenshots/. Usage: scripts/help-shots.sh [DISPLAY]
set -euo pipefail
cd "$(dirname "$0")/.."
export DISPLAY=${1:-:92}
out=docs/screenshots
mkdir -p "$out"
started_x=""
if ! xdpyinfo > /dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1600x1200x24 > /dev/null 2>&1 & started_x=$!
  sleep 1
fi
home=$(mktemp -d)
export HOME="$home"
/usr/bin/python3 scripts/close-window.py --hold & holder=$!
sleep 0.5
eval "$(bash scripts/open-synced-editor.sh)"
trap 'kill $pid $holder ${started_x} 2>/dev/null; rm -rf "$home"' EXIT
source scripts/shot-helpers.sh

click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.6; }
page() { click $((8 + 119 * $1 + 60)) 62; }
away() { xdotool mousemove $((X + WIDTH + 40)) $((Y + 40)); }
# A sidebar's tool chooser opens a list of 24-pixel rows below it:
# PARAMETER DETAILS, MONITOR, MIDI CONTROL, MORPH KNOB, MACROS, NOTES, PARAMETER HELP.
tool() { click 1100 "$1"; click 1100 $(($1 + 27 + 24 * $2)); }
bottom=510

page 2; away; shot oscillators
page 1; away; shot lfos
page 4; away; shot envelopes

tool $bottom 6                  # PARAMETER HELP
page 2; click 44 719; away      # OSC 1 Saw
shot parameter-help-osc1-saw
page 1; click 44 125; away      # LFO 1 Shape
shot parameter-help-lfo1-shape
page 4; click 368 273; away     # ENV 2 Attack Time
shot parameter-help-env2-attack
