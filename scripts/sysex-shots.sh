#!/usr/bin/env bash
# Starts the editor as a new user would (fresh settings and library, the Virtual Orvo) with a bank
# .syx waiting in the library, answers INITIAL SYNC, and takes pictures of the IMPORT SYSEX question
# for that bank and of the EXPORT SYSEX choice, into docs/screenshots/.
# SHOT_DISPLAY=N uses display :N instead of the first free one.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
programs="$home/Orvo Editor/Programs"
mkdir -p "$programs"
build/bin/orvo-cli virtual-bank 1 "$programs/Preset Bank.syx" > /dev/null
display=(-a)
[ -n "${SHOT_DISPLAY:-}" ] && display=(-n "$SHOT_DISPLAY")
HOME="$home" xvfb-run "${display[@]}" -s "-screen 0 1600x1200x24" bash -c '
  . scripts/shot-helpers.sh
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  # IMPORT SYSEX, after LIBRARY AND TAGS (the environment items are disabled, so the keyboard passes over them).
  fileItem 8; sleep 1.5
  pickFirstFile; sleep 1.5
  shotScreen import-sysex-bank-question
  xdotool key Escape; sleep 0.5
  fileItem 9; shotScreen export-sysex-choice
  xdotool key Escape; sleep 0.3
  kill $pid $holder
'
rm -rf "$home"
