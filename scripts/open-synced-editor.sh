#!/usr/bin/env bash
# Under a running X display: starts the editor with the Virtual Orvo, answers INITIAL SYNC, waits for
# the sync and prints shell assignments for the editor window (X, Y, WIDTH, HEIGHT, menu) and its pid.
# Used by the screenshot scripts: eval "$(bash scripts/open-synced-editor.sh)".
set -euo pipefail
cd "$(dirname "$0")/.."
build/bin/OrvoEditor --virtual-orvo > /dev/null 2>&1 &
pid=$!
d=""
for i in $(seq 1 300); do d=$(xdotool search --onlyvisible --name "^Initial Orvo Sync$" | tail -n 1 || true); [ -n "$d" ] && break; sleep 0.2; done
[ -n "$d" ] || { echo "the Initial Orvo Sync question did not appear" >&2; exit 1; }
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$d")"
# INITIAL SYNC is the first of the two buttons centred at the foot of the dialog.
xdotool mousemove $((X + WIDTH / 2 - 62)) $((Y + HEIGHT - 36)) click 1
sleep 8
w=$(xdotool search --onlyvisible --name "^Orvo Editor$" | tail -n 1)
xdotool getwindowgeometry --shell "$w" | grep -E "^(X|Y|WIDTH|HEIGHT)="
echo "menu=\$((HEIGHT - 1024))"
echo "pid=$pid"
