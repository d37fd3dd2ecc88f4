#!/usr/bin/env bash
# Takes a picture of each page at the design size under a virtual display, into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
editor="${1:-build/bin/OrvoEditor}"
out="docs/screenshots"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1400x1200x24" bash -c '
  editor="$1"; out="$2"
  /usr/bin/python3 "$3/close-window.py" --hold &
  sleep 0.5
  "$editor" > /tmp/orvo-screenshots.log 2>&1 &
  pid=$!
  for i in $(seq 1 100); do wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" | head -n 1); [ -n "$wid" ] && break; sleep 0.2; done
  sleep 1.5
  # The window is made again when it takes the native title bar: ask for it once more.
  wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" | tail -n 1)
  eval "$(xdotool getwindowgeometry --shell "$wid")"
  echo "window $wid at $X,$Y size ${WIDTH}x${HEIGHT}"
  # The menu bar sits above the 1280 x 1024 editor; the tabs are a row of six at y = 62.
  menu=$((HEIGHT - 1024))
  names=(performance lfos oscillators filters envelopes effects)
  for t in 0 1 2 3 4 5; do
    xdotool mousemove $((X + 8 + 119 * t + 60)) $((Y + menu + 62)) click 1
    sleep 0.8
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/${names[$t]}.png"
  done
  # The EFFECTS page is shown last: pick algorithms from its menu (the list opens below it, 24 px a line).
  comboX=$((X + 8 + 406 + 150)); comboY=$((Y + menu + 84 + 15))
  wheel() { xdotool mousemove $comboX $comboY click 1; sleep 0.6; xdotool mousemove $comboX $((comboY + 25 + 24 * $1)) click 1; sleep 0.8; }
  wheel 8;  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/effects-parallel.png"
  wheel 15;  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/effects-dual-mono.png"
  wheel 24;  import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/effects-triple-chain.png"
  kill $pid
  kill %1 2>/dev/null || true
' bash "$editor" "$out" "$(pwd)/scripts"
ls "$out"
