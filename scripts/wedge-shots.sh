#!/usr/bin/env bash
# Starts the editor as a new user would (fresh settings, the Virtual Orvo), answers INITIAL SYNC and
# takes pictures of the EFFECTS page's preset tools into docs/screenshots/: the WEDGE PRESET menu, a
# Wedge preset on its way to the instrument, and the user preset overlay of each kind.
# Usage: scripts/wedge-shots.sh [DISPLAY]   (default :51)
set -euo pipefail
cd "$(dirname "$0")/.."
display="${1:-:51}"
home=$(mktemp -d)
Xvfb "$display" -screen 0 1600x1200x24 > /dev/null 2>&1 & xvfb=$!
trap 'kill $xvfb 2> /dev/null || true; rm -rf "$home"' EXIT
sleep 1
export DISPLAY="$display" HOME="$home"
bash -c '
  shot() { sleep 0.9; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/$1.png"; }
  click() { xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1; }
  # A popup menu by keyboard: Down n times selects its n-th item.
  pick() { sleep 0.6; for i in $(seq 1 $1); do xdotool key Down; sleep 0.05; done; xdotool key Return; }
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  click $((8 + 119 * 5 + 60)) 62; sleep 0.8          # the EFFECTS tab
  click 742 99; sleep 0.9                            # WEDGE PRESET: the menu is wider than the window
  import -window root -crop 1600x1200+0+0 +repage docs/screenshots/wedge-preset-menu.png
  # 187 Dense Delay: 24 settings, about a quarter of a second; one picture is taken while it runs.
  xdotool key --delay 15 $(for i in $(seq 1 188); do printf "Down "; done) Return
  sleep 0.06; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/screenshots/wedge-preset-sending.png
  sleep 0.3; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage docs/screenshots/wedge-preset-sent.png
  sleep 1
  click 907 99; pick 1; shot user-presets-effects    # USER PRESETS > EFFECTS
  click 832 712; sleep 0.3                           # CLOSE (the fifth button)
  click 907 99; pick 3; shot user-presets-envelope   # ENV 2
  click 832 712; sleep 0.3
  click 907 99; pick 11; shot user-presets-section   # PRE-FILTER MIX
  kill $pid $holder
'
