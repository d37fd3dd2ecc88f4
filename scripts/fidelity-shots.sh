#!/usr/bin/env bash
# Starts the editor as a new user would (fresh settings, the Virtual Orvo), answers INITIAL SYNC, turns
# OSC 1 SQR on and takes a picture once the Orvo has confirmed it, then steps to the next Program and
# takes a picture of the unsaved-edits question, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  top=$((Y + HEIGHT - 1024))
  xdotool mousemove $((X + 8 + 119 * 2 + 60)) $((top + 62)) click 1   # OSCILLATORS
  sleep 0.8
  xdotool mousemove $((X + 261)) $((top + 615)) click 1               # OSC 1 SQR
  sleep 1.2
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/screenshots/switch-turned-on.png
  xdotool mousemove $((X + 318)) $((top + 997)) click 1               # the next Program
  sleep 1.5
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/screenshots/unsaved-program-question.png
  kill $pid $holder
'
rm -rf "$home"
