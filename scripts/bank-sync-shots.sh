#!/usr/bin/env bash
# Takes pictures of SYSTEM SYNC in progress (the Virtual Orvo at cable speed) and of the name
# comparison after a BANK SYNC, and of a selected slot that was never read, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  . scripts/shot-helpers.sh
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5

  # SYSTEM SYNC at cable speed: each bank takes about 96 s, so the overlay is caught in the first.
  build/bin/OrvoEditor --virtual-orvo --wire-rate > /dev/null 2>&1 & pid=$!
  for i in $(seq 1 300); do xdotool search --onlyvisible --name "^Initial Orvo Sync$" > /dev/null && break; sleep 0.2; done
  sleep 0.5; firstButton "Initial Orvo Sync"; sleep 9
  w=$(xdotool search --onlyvisible --name "^Orvo Editor$" | tail -n 1)
  eval "$(xdotool getwindowgeometry --shell "$w" | grep -E "^(X|Y|WIDTH|HEIGHT)=")"
  syncItem 3; sleep 1; firstButton "System Sync"; sleep 20
  shotScreen system-sync-progress
  kill $pid; sleep 1

  # BANK SYNC with the fast Virtual Orvo: the fresh library knows no names, so all 128 differ.
  eval "$(bash scripts/open-synced-editor.sh)"
  syncItem 2; sleep 1; firstButton "Bank Sync"; sleep 3
  shotScreen bank-sync-differences
  xdotool key Escape; sleep 1
  # A slot of a bank never read: the header says so instead of passing the old values off as its own.
  xdotool mousemove $((X + 8 + 119 * 2 + 60)) $((Y + menu + 62)) click 1; sleep 0.5
  xdotool mousemove $((X + 215)) $((Y + menu + 997)) click 1; sleep 2
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/screenshots/program-not-read.png
  kill $pid $holder
'
rm -rf "$home"
