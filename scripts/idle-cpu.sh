#!/usr/bin/env bash
# Idle CPU of the editor against a bare JUCE window with the same 30 Hz timer, under a virtual
# display: each program is started, left alone for a warm-up, then its CPU time is read from /proc
# over SECONDS seconds. The editor shows PAGE (a tab index; 1 is LFOs, with four displays).
# Usage: scripts/idle-cpu.sh [DISPLAY] [SECONDS] [PAGE]   (EDITOR_BIN=... measures another build)
set -euo pipefail
cd "$(dirname "$0")/.."
export DISPLAY=${1:-:92}
seconds=${2:-30}
page=${3:-1}
started_x=""
if ! xdpyinfo > /dev/null 2>&1; then
  Xvfb "$DISPLAY" -screen 0 1600x1200x24 > /dev/null 2>&1 & started_x=$!
  sleep 1
fi
home=$(mktemp -d)
export HOME="$home"
/usr/bin/python3 scripts/close-window.py --hold & holder=$!
trap 'kill $holder ${started_x} 2>/dev/null; rm -rf "$home"' EXIT
ticks=$(getconf CLK_TCK)

cpu() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
measure() { # pid -> percent of one core over $seconds
  local a b; a=$(cpu "$1"); sleep "$seconds"; b=$(cpu "$1")
  awk -v a="$a" -v b="$b" -v t="$ticks" -v s="$seconds" 'BEGIN { printf "%.2f", (b - a) * 100 / t / s }'
}
window() { for i in $(seq 1 100); do w=$(xdotool search --onlyvisible --name "^$1\$" | tail -n 1 || true); [ -n "$w" ] && break; sleep 0.2; done; echo "$w"; }

build/bin/orvo_bare_window > /dev/null 2>&1 & bare=$!
window "Bare Window" > /dev/null; sleep 5
bareCpu=$(measure $bare)
kill $bare

"${EDITOR_BIN:-build/bin/OrvoEditor}" > /dev/null 2>&1 & editor=$!
w=$(window "Orvo Editor"); sleep 3
w=$(window "Orvo Editor")
eval "$(xdotool getwindowgeometry --shell "$w")"
xdotool mousemove $((X + 8 + 119 * page + 60)) $((Y + HEIGHT - 1024 + 62)) click 1
xdotool mousemove $((X + WIDTH + 50)) $((Y + 10))
sleep 5
editorCpu=$(measure $editor)
kill $editor
echo "bare window: ${bareCpu}% of a core; editor on page $page: ${editorCpu}% of a core (over ${seconds} s)"
awk -v a="$bareCpu" -v b="$editorCpu" 'BEGIN { printf "difference: %.2f points\n", b - a }'
