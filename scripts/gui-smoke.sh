#!/usr/bin/env bash
# Starts the editor under a virtual display, waits for its window, asks it to close as the
# window manager would, and checks that it exits cleanly. A screenshot is left in OUT_DIR.
set -u
editor="$1"; out="${2:-/tmp/orvo-gui-smoke}"
mkdir -p "$out"
exec xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  editor="$1"; out="$2"
  /usr/bin/python3 "$3/close-window.py" --hold &
  holder=$!
  trap "kill $holder 2>/dev/null" EXIT
  sleep 0.5
  "$editor" > "$out/editor.log" 2>&1 &
  pid=$!
  wid=""
  for i in $(seq 1 100); do
    wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    kill -0 $pid 2>/dev/null || { echo "editor exited before showing its window"; cat "$out/editor.log"; exit 1; }
    sleep 0.2
  done
  [ -n "$wid" ] || { echo "no window titled Orvo Editor appeared"; kill $pid; exit 1; }
  sleep 1.5
  # The window is made again when it takes the native title bar: ask for it once more.
  wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" 2>/dev/null | tail -n 1)
  import -window root "$out/editor.png" 2>/dev/null || true
  /usr/bin/python3 "$3/close-window.py" "$wid" || { kill $pid; exit 1; }
  for i in $(seq 1 50); do
    kill -0 $pid 2>/dev/null || break
    sleep 0.2
  done
  if kill -0 $pid 2>/dev/null; then
    echo "editor did not exit after its window was closed"
    gdb -batch -p $pid -ex "thread apply all bt" 2>/dev/null | grep -E "^#[0-9]+ .* in (orvo|juce)::" | head -n 30
    kill -9 $pid; exit 1
  fi
  wait $pid; rc=$?
  [ $rc -eq 0 ] || { echo "editor exited with status $rc"; cat "$out/editor.log"; exit 1; }
  echo "window appeared and the editor exited cleanly"
' bash "$editor" "$out" "$(cd "$(dirname "$0")" && pwd)"
