#!/usr/bin/env bash
# Takes pictures of the RENAME PROGRAM overlay (a valid and an invalid name) and of a loaded bank
# being sent to the Virtual Orvo, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
# A full bank in the library to load and send: what a backup of the Virtual Orvo's PRESET2 writes.
build/bin/orvo-cli backup --virtual --banks PRESET2 --library "$home/Orvo Editor" > /dev/null 2>&1
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  . scripts/shot-helpers.sh
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  # The Program name in the bottom bar: a double-click opens RENAME PROGRAM.
  xdotool mousemove $((X + 520)) $((Y + menu + 997)) click --repeat 2 --delay 80 1
  sleep 0.8
  xdotool key ctrl+a; xdotool type --delay 40 "Deep Bass 7"
  shot rename-program-valid
  xdotool key ctrl+a; xdotool type --delay 40 "   "
  shot rename-program-invalid
  xdotool key Escape; sleep 0.5
  # LOAD BANK with the backed-up bank: LOAD, then USER as the transfer target (Return takes the first button).
  fileItem 6; sleep 1.5; pickFirstFile; sleep 1.5
  xdotool key Return; sleep 1.5
  xdotool key Return; sleep 12
  shot bank-transfer-progress
  kill $pid $holder
'
rm -rf "$home"
