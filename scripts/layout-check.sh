#!/usr/bin/env bash
# Checks the editor's layout against the built-in default under a virtual display:
# 1. every item of the running editor (every page, overlay and sidebar tool) has a place in
#    Resources/Default.layout.json;
# 2. a layout file in the library that moves five items (a control, a button, the bottom bar's name, a
#    panel header and the range popup's APPLY) and makes a page taller puts them there at the next
#    start (the popup's when it opens);
# 3. with only broken layout files (bad JSON, not a layout) the editor starts with the built-in look.
# Usage: scripts/layout-check.sh EDITOR [DEFAULT_LAYOUT]
set -euo pipefail
editor="$1"
default="${2:-$(cd "$(dirname "$0")/.." && pwd)/Resources/Default.layout.json}"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home"
run() { xvfb-run -a -s "-screen 0 1600x1200x24" "$editor" --write-layout "$1" > "$home/run.log" 2>&1 \
          || { echo "the editor could not write its layout"; cat "$home/run.log"; exit 1; }; }

run "$home/look.layout.json"
python3 - "$home/look.layout.json" "$default" <<'PY'
import json, sys
look = json.load(open(sys.argv[1])); default = json.load(open(sys.argv[2]))
ids = {t["id"] for t in look["targets"]}
known = {t["id"] for t in default["targets"]}
missing = sorted(ids - known)
if missing:
    sys.exit("%d items of the editor have no place in the default layout, e.g. %s" % (len(missing), missing[:5]))
print("all %d items of the editor are in the default layout" % len(ids))
PY

layouts="$home/Orvo Editor/Layouts"
mkdir -p "$layouts"
python3 - "$home/look.layout.json" "$layouts/Moved.layout.json" <<'PY'
import json, sys
look = json.load(open(sys.argv[1]))
chosen = [t for t in look["targets"] if t["id"] in ("param.osc1.semitone", "editor.header.sendShown", "bottom.patchName",
                                                    "editor.osc.osc1Tuning.header", "popup.range.apply")]
assert len(chosen) == 5, chosen
for t in chosen:
    t["x"] += 30; t["y"] += 12
json.dump({"format": "OrvoLayoutOverrides", "version": 8, "targets": chosen,
           "pageHeights": [{"id": "page2", "height": 1500}]}, open(sys.argv[2], "w"))
PY
run "$home/after.layout.json"
python3 - "$layouts/Moved.layout.json" "$home/after.layout.json" <<'PY'
import json, sys
moved = {t["id"]: t for t in json.load(open(sys.argv[1]))["targets"]}
after = {t["id"]: t for t in json.load(open(sys.argv[2]))["targets"]}
for id, t in moved.items():
    got = tuple(after[id][k] for k in ("x", "y", "width", "height"))
    want = tuple(t[k] for k in ("x", "y", "width", "height"))
    if got != want:
        sys.exit("%s is at %s after the restart, not at %s" % (id, got, want))
heights = {p["id"]: p["height"] for p in json.load(open(sys.argv[2]))["pageHeights"]}
if heights.get("page2") != 1500:
    sys.exit("the taller page is %s high after the restart, not 1500" % heights.get("page2"))
print("the five moved items came back where they were moved, and the page kept its height")
PY

rm "$layouts/Moved.layout.json"
printf '{"format": "OrvoLayoutOverrides", "targets": [' > "$layouts/Broken.layout.json"
printf '{"format": "SomethingElse", "targets": []}' > "$layouts/Other.layout.json"
run "$home/fallback.layout.json"
python3 - "$home/look.layout.json" "$home/fallback.layout.json" <<'PY'
import json, sys
look = {t["id"]: t for t in json.load(open(sys.argv[1]))["targets"]}
after = {t["id"]: t for t in json.load(open(sys.argv[2]))["targets"]}
moved = [id for id in look if look[id] != after.get(id)]
if moved:
    sys.exit("with broken layout files %d items are not where the built-in layout puts them, e.g. %s" % (len(moved), moved[:3]))
print("broken layout files were passed over; the editor kept the built-in layout")
PY
