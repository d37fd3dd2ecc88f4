#!/usr/bin/env bash
# Starts the editor with the Virtual Orvo in Diagnostic Mode with LAYOUT EDIT and PARAMETER
# ATTRIBUTES in the sidebars, enters layout mode (Ctrl+L), selects two items, moves one and gives
# it a bigger caption, and takes pictures into docs/screenshots/. Usage: scripts/layout-shots.sh [DISPLAY]
# (a virtual X server is started on DISPLAY unless one runs there).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/shot-helpers.sh
ownDisplay "${1:-}" :93
layoutEditingSettings
# Diagnostic Mode asks no INITIAL SYNC question: the window itself is waited for.
startEditorWindow

click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; sleep 0.6; }
shot() { sleep 0.6; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$1"; }

click 1126 100                     # LAYOUT in the LAYOUT EDIT tool
click 150 122                      # the first control of the page
xdotool keydown shift; click 150 148; xdotool keyup shift   # and the one below it
# The second one dragged 40 pixels right and 10 down on the overlay.
xdotool mousemove $((X + 150)) $((Y + menu + 148)) mousedown 1 mousemove $((X + 170)) $((Y + menu + 153)) \
        sleep 0.1 mousemove $((X + 190)) $((Y + menu + 158)) mouseup 1
sleep 0.8
shot layout-mode-selection.png
click 816 22                       # the GENERATOR header button: a caption to restyle
click 1143 746                     # TEXT in PARAMETER ATTRIBUTES
xdotool key ctrl+a; xdotool type --delay 40 "GEN"; xdotool key Return
sleep 0.8
click 679 993                      # the PROGRAM light of the bottom bar turns red
click 1177 825
xdotool key Down Down Return; sleep 0.6
shot layout-mode-attributes.png
click 1031 129                     # SAVE: the alert says what was verified and where
sleep 1
shot layout-saved.png
ls "$home/Orvo Editor/Layouts" "$home/Orvo Editor/Layouts/Backups" 2>/dev/null || true
