#!/usr/bin/env bash
# Opens the editor with the Virtual Orvo, generates a bass Program from the generator panel and rates it,
# taking a picture after each step into docs/screenshots/.
# The X display defaults to :52; ORVO_XVFB_DISPLAY chooses another.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
HOME="$home" xvfb-run -n "${ORVO_XVFB_DISPLAY:-52}" -s "-screen 0 1600x1200x24" bash -c '
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  top=$((Y + HEIGHT - 1024))
  shot() { import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/$1.png"; }
  click() { xdotool mousemove $((X + $1)) $((top + $2)) click 1; sleep 0.6; }
  click 817 22                 # GENERATOR in the header
  click 470 192                # GEN RANGE to the 50 percent snap
  click 369 256                # ANALOG DIST
  click 509 256                # DIGITAL FX
  click 90 107                 # BASS generates
  sleep 2.5                    # the transfer takes about a second
  shot generator-after-generation
  click 479 936                # BAD FEEDBACK (NOT BASS)
  click 99 936                 # SAFE FEEDBACK
  sleep 0.5
  shot generator-after-rating
  kill $pid $holder
'
rm -rf "$home"
ls -l docs/screenshots/generator-*.png
