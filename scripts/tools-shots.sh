#!/usr/bin/env bash
# Starts the editor with the Virtual Orvo, puts the performance tools in the sidebars and uses them:
# MORPH KNOB (RANDOM, then the knob turned), MACROS (two macros assigned and one turned), MIDI CONTROL
# (the Virtual Controller opened, a filter learned from its 14-bit knob and moved by it) and NOTES
# (typed notes). Pictures go to docs/screenshots/. Usage: scripts/tools-shots.sh [DISPLAY]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/shot-helpers.sh
ownDisplay "${1:-}" :53
openSyncedEditor

click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.6; }
drag() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) mousedown 1 mousemove $((X + $1)) $((Y + menu + $2 - 15)) \
         sleep 0.1 mousemove $((X + $1)) $((Y + menu + $2 + $3)) mouseup 1; sleep 0.8; }
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"; }
# A sidebar's tool chooser opens a list of 24-pixel rows below it:
# PARAMETER DETAILS, MONITOR, MIDI CONTROL, MORPH KNOB, MACROS, NOTES, PARAMETER HELP.
tool() { click 1100 "$1"; click 1100 $(($1 + 27 + 24 * $2)); }
top=67
bottom=510

click 423 61          # the FILTERS page
tool $top 3           # MORPH KNOB
tool $bottom 4        # MACROS
click 1220 131        # RANDOM fills the four slots
drag 1040 130 -40     # the morph knob turned up
click 1056 542        # ASSIGN, MACRO 1, Filter 1 Frequency
click 1020 652
click 234 323
click 1056 542        # ASSIGN, MACRO 2, Filter 1 Resonance
click 1088 652
click 202 349
drag 1010 612 -45     # macro 1 turned
shot morph-knob-and-macros.png

tool $top 2           # MIDI CONTROL
tool $bottom 5        # NOTES
click 1096 99         # the controller input list: the Virtual Controller, OPEN
click 1050 122
click 1236 99
click 1196 125        # decode mode CC 14-BIT
click 1150 188
click 258 323         # Filter 1 Frequency is the target
click 1056 196        # LEARN, then the Virtual Controller's knob moves
xdotool mousemove $((X + 1000)) $((Y + menu + 447)) mousedown 1 mousemove $((X + 1040)) $((Y + menu + 447)) sleep 0.3 \
        mousemove $((X + 1100)) $((Y + menu + 447)) sleep 0.3 mousemove $((X + 1180)) $((Y + menu + 447)) mouseup 1
sleep 0.8
click 1100 620        # NOTES: typed into the selected slot
xdotool type --delay 60 "Warm pad for the second verse. Filter 1 on the controller's CC 7/39; macro 1 opens it."
sleep 0.8
shot midi-control-and-notes.png
# The Edit menu names the tool its sidebar-settings items act on.
xdotool mousemove $((X + 70)) $((Y + 12)) click 1
sleep 0.8
shot edit-menu-sidebar-settings.png
xdotool key Escape
