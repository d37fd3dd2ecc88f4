#!/usr/bin/env bash
# Fills a fresh library with the Virtual Orvo's USER bank (a few documents tagged), opens the editor,
# searches the library folder with a tag filter, then tags the selected Program in the bank list,
# taking a picture after each step into docs/screenshots/.
# The X display defaults to :53; ORVO_XVFB_DISPLAY chooses another.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
lib="$home/Orvo Editor"
build/bin/orvo-cli backup --virtual --banks USER --library "$lib" > /dev/null 2>&1
/usr/bin/python3 - "$lib/Programs" <<'PY'
import json, os, sys
tags = [["lead", "mono"], ["lead", "bright"], ["bass", "mono"], ["pad", "dark"], ["lead", "mono", "dark"]]
for i, name in enumerate(sorted(os.listdir(sys.argv[1]))):
    path = os.path.join(sys.argv[1], name)
    doc = json.load(open(path), object_pairs_hook=dict)
    doc["tags"] = tags[i % len(tags)] if i % 3 == 0 else []
    json.dump(doc, open(path, "w"), indent=2)
PY
HOME="$home" xvfb-run -n "${ORVO_XVFB_DISPLAY:-53}" -s "-screen 0 1600x1200x24" bash -c '
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  eval "$(bash scripts/open-synced-editor.sh)"
  source scripts/shot-helpers.sh
  top=$((Y + HEIGHT - 1024))
  click() { xdotool mousemove $((X + $1)) $((top + $2)) click 1; sleep 0.6; }
  xdotool key ctrl+f; sleep 0.6
  click 300 106                # into the search field (no window manager here gives the window the focus)
  click 880 106                # LIBRARY FOLDER
  xdotool type --delay 60 "lead"; sleep 0.4
  click 431 218                # the MONO filter
  shot library-search-filtered
  click 729 106                # THIS BANK
  xdotool key ctrl+a BackSpace; sleep 0.3
  click 431 218                # MONO off again
  click 315 887                # LEAD on the selected Program
  click 896 913                # BRIGHT on the selected Program
  shot library-bank-tags
  kill $pid $holder
'
rm -rf "$home"
ls -l docs/screenshots/library-*.png
