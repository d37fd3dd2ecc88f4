#!/usr/bin/env bash
# Starts the editor as a new user would (fresh settings and library, the Virtual Orvo), answers
# INITIAL SYNC, then takes pictures of the MIX SETTINGS overlay filled from the instrument and of the
# dialogs of the Program and Bank save/load flows, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  . scripts/shot-helpers.sh
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  # A Mix bank first (the bank arrow left of the bank name wraps to MIX (PRESET)), then MIX SETTINGS
  # in the bottom bar reads the Mix from the instrument.
  xdotool mousemove $((X + 67)) $((Y + menu + 997)) click 1
  sleep 1
  xdotool mousemove $((X + 800)) $((Y + menu + 997)) click 1
  sleep 2
  shot mix-settings
  xdotool mousemove $((X + 800)) $((Y + menu + 997)) click 1
  sleep 0.5
  # Back to the USER bank for the Program documents.
  xdotool mousemove $((X + 67)) $((Y + menu + 997)) click 1; sleep 0.3
  xdotool mousemove $((X + 67)) $((Y + menu + 997)) click 1; sleep 0.3
  xdotool mousemove $((X + 67)) $((Y + menu + 997)) click 1; sleep 0.3
  xdotool mousemove $((X + 67)) $((Y + menu + 997)) click 1; sleep 0.5
  # SAVE PROGRAM: the dialog, then Return saves under the proposed name.
  fileItem 1; shotScreen save-program-dialog
  xdotool key Return; sleep 1
  # LOAD PROGRAM: the dialog lists the file just saved; Down + Return picks it.
  fileItem 2; shotScreen load-program-dialog
  pickFirstFile; sleep 1.5
  shotScreen transfer-loaded-program
  xdotool key Escape; sleep 0.5
  # SAVE BANK, then LOAD BANK with the bank just written.
  fileItem 5; sleep 1.5; xdotool key Return; sleep 1.5
  fileItem 6; shotScreen load-bank-dialog
  pickFirstFile; sleep 1.5
  shotScreen load-bank-question
  kill $pid $holder
'
rm -rf "$home"
