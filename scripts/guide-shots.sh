#!/usr/bin/env bash
# Makes every picture docs/guide.md shows: first the project's screenshot scripts (pages, sync, library,
# appearance, fidelity, bank sync, Wedge and user presets, generator, sidebar tools, parameter help,
# undo and compare, layout mode, layout styles and the range popup, the library panel, SysEx import
# and export), then the guide's own (the initial-sync question, a document opened from the command
# line), each under a virtual display with a fresh home folder. Pass --own to make only the guide's
# own pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != "--own" ]; then
  for s in screenshots sync-shots library-shots appearance-shots fidelity-shots bank-sync-shots wedge-shots generator-shots \
           tools-shots help-shots undo-shots layout-shots style-shots library-search-shots sysex-shots; do
    echo "== $s"; bash "scripts/$s.sh" > /dev/null
  done
fi
home=$(mktemp -d)
cat > "$home/Warm Pad.orvop" << 'DOC'
{"schema": "orvo.program.v1", "type": "program", "name": "Warm Pad",
 "parameters": [{"id": "filter1.frequency", "rawValue": 1800}]}
DOC
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  home="$1"; editor="$(pwd)/build/bin/OrvoEditor"
  waitFor() { for i in $(seq 1 150); do w=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | tail -n 1); [ -n "$w" ] && { echo "$w"; return 0; }; sleep 0.2; done; echo "no window $1" >&2; return 1; }
  shot() { sleep 1; w=$(waitFor "^Orvo Editor$"); eval "$(xdotool getwindowgeometry --shell "$w")"
           import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/$1.png"; }
  /usr/bin/python3 scripts/close-window.py --hold & holder=$!
  sleep 0.5
  # A first start with the Virtual Orvo: the ports open and the initial-sync question comes.
  "$editor" --virtual-orvo > /dev/null 2>&1 & pid=$!
  waitFor "^Initial Orvo Sync$" > /dev/null
  shot guide-initial-sync-question
  kill $pid; wait $pid 2> /dev/null || true
  # A document named on the command line (as the file manager does) opens as LOAD PROGRAM opens it.
  "$editor" "$home/Warm Pad.orvop" > /dev/null 2>&1 & pid=$!
  waitFor "^Transfer Loaded Program$" > /dev/null
  shot guide-opened-from-command-line
  kill $pid $holder
' bash "$home"
rm -rf "$home"
ls docs/screenshots/guide-*.png
