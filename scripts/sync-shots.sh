#!/usr/bin/env bash
# Starts the editor as a new user would (fresh settings, the Virtual Orvo), answers INITIAL SYNC,
# and takes pictures of the six pages it filled and of the routing overlay, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  for t in 0 1 2 3 4 5; do
    name=$(echo "performance lfos oscillators filters envelopes effects" | cut -d" " -f$((t + 1)))
    xdotool mousemove $((X + 8 + 119 * t + 60)) $((Y + HEIGHT - 1024 + 62)) click 1
    sleep 0.8
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/after-sync-$name.png"
  done
  # The routing overlay (the header button MOD ROUTING).
  xdotool mousemove $((X + 8 + 514 + 55)) $((Y + HEIGHT - 1024 + 22)) click 1
  sleep 0.8
  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/after-sync-modulation-routing.png"
  kill $pid $holder
'
rm -rf "$home"
