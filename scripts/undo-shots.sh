#!/usr/bin/env bash
# Starts the editor with the Virtual Orvo, turns three filter knobs and shows the Edit menu with the
# named undo step; then compares the Program with the instrument's stored version of the slot and
# shows the list of differing values. Pictures go to docs/screenshots/.
# Usage: scripts/undo-shots.sh [DISPLAY]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/shot-helpers.sh
ownDisplay "${1:-}" :91
openSyncedEditor

click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.6; }
drag() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) mousedown 1 mousemove $((X + $1)) $((Y + menu + $2 - 15)) \
         sleep 0.1 mousemove $((X + $1)) $((Y + menu + $2 + $3)) mouseup 1; sleep 0.8; }
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"; }
editMenu() { xdotool mousemove $((X + 70)) $((Y + 12)) click 1; sleep 0.8; }

click 423 61          # the FILTERS page
drag 202 349 -50      # Filter 1 Resonance
drag 234 323 -40      # Filter 1 Frequency, turned last: the step UNDO names
sleep 1.2             # the next ticks record the step
editMenu
shot undo-edit-menu.png
# COMPARE WITH THE ORVO'S STORED PROGRAM, the item below REDO
xdotool mousemove $((X + 200)) $((Y + 145)); sleep 0.4; xdotool click 1   # a rest first: a busy machine may miss a click at once
sleep 2.5             # the slot's bank is read back, then the list shows
shot compare-list.png
