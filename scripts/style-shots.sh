#!/usr/bin/env bash
# Pictures of the layout's style attributes and of the range popup in layout mode, into
# docs/screenshots/. The editor starts with a layout in the library that restyles a few items (a
# shorter knob, buttons in several styles, LCD text scaled, inset and shifted, a smaller LED); then
# layout mode opens a knob's range popup inside the editor (right-click), selects and moves its
# APPLY button and saves; after a restart the popup opens in its call-out box with APPLY where it
# was moved. Usage: scripts/style-shots.sh [DISPLAY] (a virtual X server is started there unless
# one runs).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/shot-helpers.sh
ownDisplay "${1:-}" :57
layouts="$home/Orvo Editor/Layouts"
mkdir -p "$layouts"
layoutEditingSettings
cat > "$layouts/Styled.layout.json" <<JSON
{"format": "OrvoLayoutOverrides", "version": 8,
 "targets": [{"id": "editor.header.midiStatus", "x": 990, "y": 23, "width": 276, "height": 15}], "styles": [
  {"id": "param.filter1.frequency", "visualSize": 70},
  {"id": "param.filter1.resonance", "lcdTextScale": 1.4, "lcdVerticalShift": 1},
  {"id": "editor.header.sendShown", "buttonStyle": "lightGrey"},
  {"id": "editor.header.modRouting", "buttonStyle": "largeBlack"},
  {"id": "editor.header.midiSettings", "buttonStyle": "greyRectangle"},
  {"id": "editor.header.generator", "buttonStyle": "panel"},
  {"id": "editor.header.library", "buttonStyle": "flat"},
  {"id": "bottom.mixSettings", "buttonStyle": "smallGrey", "visualSize": 18},
  {"id": "bottom.clearKnobs", "buttonStyle": "topBar"},
  {"id": "bottom.bankName", "lcdTextScale": 1.3, "lcdVerticalShift": 2},
  {"id": "editor.header.midiStatus", "lcdTextScale": 1.2, "lcdHorizontalInset": 12, "lcdVerticalShift": -1},
  {"id": "bottom.bankLabel", "textVerticalShift": -7},
  {"id": "bottom.programLed", "visualSize": 8}
]}
JSON

stop() { kill "$pid" "$holder" 2> /dev/null || true; wait "$pid" 2> /dev/null || true; sleep 0.5; }
at() { xdotool mousemove $((X + $1)) $((Y + menu + $2)); }
click() { at "$1" "$2"; xdotool click "${3:-1}"; sleep 0.6; }

startEditorWindow
shot layout-styles
click 1126 100                     # LAYOUT in the LAYOUT EDIT tool
click 160 322 3                    # right-click FILTER 1 Frequency: its range popup in the editor
click 274 517                      # the popup's APPLY button
# dragged 150 pixels left and 24 down on the overlay
at 274 517; xdotool mousedown 1; at 200 530; sleep 0.1; at 124 541; sleep 0.2; xdotool mouseup 1; sleep 1; at 130 600; sleep 0.5
shot layout-range-popup
click 1031 129                     # SAVE: the alert counts the edited popup item
shotScreen layout-popup-saved
xdotool key Return; sleep 0.5
stop

startEditorWindow
click 160 322 3                    # right-click the knob again, now outside layout mode
shotScreen range-popup-after-restart
stop
python3 - "$layouts" <<'PY'
import json, pathlib, sys
saved = [p for p in pathlib.Path(sys.argv[1]).glob("*.layout.json")]
for p in saved:
    targets = {t["id"]: t for t in json.load(open(p))["targets"]}
    print(p.name, "popup.range.apply:", targets.get("popup.range.apply"))
PY
