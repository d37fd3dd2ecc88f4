# Helpers for the screenshot scripts, sourced under the virtual display once X, Y, WIDTH and HEIGHT
# (the editor window) are known.

# The editor window, and the top-left of the 1600 x 1200 screen (where dialogs show).
shot() { sleep 0.9; import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "docs/screenshots/$1.png"; }
shotScreen() { sleep 1.5; import -window root -crop 1400x1100+0+0 +repage "docs/screenshots/$1.png"; }
# The n-th item of a menu by keyboard: File is opened, Right moves `menu` menus on, Down n selects.
menuItem() { xdotool mousemove $((X + 22)) $((Y + 11)) click 1; sleep 0.5
             for i in $(seq 1 "$1"); do xdotool key Right; sleep 0.1; done
             for i in $(seq 1 "$2"); do xdotool key Down; sleep 0.1; done; xdotool key Return; }
fileItem() { menuItem 0 "$1"; }
syncItem() { menuItem 3 "$1"; }
# The file dialogs sit in the middle of the 1600 x 1200 screen: the first file of the list is here.
pickFirstFile() { xdotool mousemove 619 443 click --repeat 2 --delay 80 1; }
# The first of two buttons centred at the foot of the topmost dialog titled $1.
firstButton() { local d; d=$(xdotool search --onlyvisible --name "^$1\$" | tail -n 1)
                eval "$(xdotool getwindowgeometry --shell "$d" | sed "s/^/D/")"
                xdotool mousemove $((DX + DWIDTH / 2 - 62)) $((DY + DHEIGHT - 36)) click 1; }

# For the scripts that run on a DISPLAY of their own: starts a virtual X server there unless one runs,
# and leaves its pid in XVFB_PID (empty when it was already running).
ensureDisplay() { XVFB_PID=""
                  if [ ! -e "/tmp/.X${DISPLAY#:}-lock" ]; then
                    Xvfb "$DISPLAY" -screen 0 1600x1200x24 > /dev/null 2>&1 & XVFB_PID=$!; sleep 1
                  fi; }

# The set-up of a script that runs on a display of its own (DISPLAY $1, else $2): a virtual X server
# there unless one runs, "out", a fresh home folder, and a trap that ends what the script started.
ownDisplay() { export DISPLAY=${1:-$2}; ensureDisplay; out=docs/screenshots; mkdir -p "$out"
               home=$(mktemp -d); export HOME="$home"; pid=""; holder=""
               trap 'kill $pid $holder $XVFB_PID 2> /dev/null; rm -rf "$home"' EXIT; }
# The window closer, then the editor with the Virtual Orvo after INITIAL SYNC (sets X, Y, WIDTH,
# HEIGHT, menu and pid).
openSyncedEditor() { /usr/bin/python3 scripts/close-window.py --hold & holder=$!; sleep 0.5
                     eval "$(bash scripts/open-synced-editor.sh)"; }

# For the layout pictures: a settings file that opens the FILTERS page in Diagnostic Mode with LAYOUT
# EDIT over PARAMETER ATTRIBUTES (under "home" from ownDisplay).
layoutEditingSettings() { mkdir -p "$home/Orvo Editor"
                          cat > "$home/Orvo Editor/Orvo Editor.settings" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<PROPERTIES>
  <VALUE name="parameterDetailsModeDefaultsApplied" val="1"/>
  <VALUE name="defaultPage" val="3"/>
  <VALUE name="diagnosticMode" val="1"/>
  <VALUE name="defaultSidebarTop" val="8"/>
  <VALUE name="defaultSidebarBottom" val="9"/>
</PROPERTIES>
XML
}
# The window closer, then the editor with the Virtual Orvo, not waiting for a sync (Diagnostic Mode asks
# none); sets X, Y, WIDTH, HEIGHT, menu, pid and holder.
startEditorWindow() { /usr/bin/python3 scripts/close-window.py --hold & holder=$!; sleep 0.5
                      build/bin/OrvoEditor --virtual-orvo > /dev/null 2>&1 & pid=$!
                      for i in $(seq 1 100); do w=$(xdotool search --onlyvisible --name "^Orvo Editor$" | head -n 1 || true); [ -n "$w" ] && break; sleep 0.2; done
                      sleep 3
                      w=$(xdotool search --onlyvisible --name "^Orvo Editor$" | tail -n 1)
                      eval "$(xdotool getwindowgeometry --shell "$w" | grep -E "^(X|Y|WIDTH|HEIGHT)=")"
                      menu=$((HEIGHT - 1024)); }
