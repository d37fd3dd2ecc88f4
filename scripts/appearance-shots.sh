#!/usr/bin/env bash
# Screenshots of the editor connected to the Virtual Orvo in each layout colour, into docs/screenshots/.
# Each run gets a fresh home folder whose settings file holds the colours to show.
set -euo pipefail
cd "$(dirname "$0")/.."
editor="$(pwd)/build/bin/OrvoEditor"
out="$(pwd)/docs/screenshots"
scripts="$(pwd)/scripts"
shot() { # name layout lcd led screen page diagnostic
  local home; home=$(mktemp -d)
  mkdir -p "$home/Orvo Editor"
  cat > "$home/Orvo Editor/Orvo Editor.settings" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="parameterDetailsModeDefaultsApplied" val="1"/>
  <VALUE name="defaultPage" val="$6"/>
  <VALUE name="layoutColor" val="$2"/>
  <VALUE name="lcdColor" val="$3"/>
  <VALUE name="valueBoxColor" val="$3"/>
  <VALUE name="dropdownMenuColor" val="$3"/>
  <VALUE name="defaultLedColor" val="$4"/>
  <VALUE name="lcdScreenType" val="$5"/>
  <VALUE name="diagnosticMode" val="$7"/>
</PROPERTIES>
XML
  HOME="$home" xvfb-run -a -s "-screen 0 1400x1200x24" bash -c '
    /usr/bin/python3 "$3/close-window.py" --hold & holder=$!
    sleep 0.5
    "$1" --virtual-orvo > /dev/null 2>&1 & pid=$!
    for i in $(seq 1 100); do wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" | head -n 1); [ -n "$wid" ] && break; sleep 0.2; done
    sleep 3
    wid=$(xdotool search --onlyvisible --name "^Orvo Editor$" | tail -n 1)
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
    kill $pid $holder
  ' bash "$editor" "$out/$1.png" "$scripts"
  rm -rf "$home"
}
shot connected-virtual-orvo 1 1 1 2 6 0
shot layout-classic-blue 1 1 1 2 2 1
shot layout-limited-red 2 2 2 1 4 1
shot layout-heck-black 3 3 4 2 1 1
ls "$out"
