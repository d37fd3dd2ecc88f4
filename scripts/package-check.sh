#!/usr/bin/env bash
# Builds the Debian package, installs it (dpkg -i, then apt-get install -f for what it depends on),
# runs both programs from the installed paths, starts the installed editor under a virtual display
# with a document named on its command line, hands a second document to it from a second start,
# takes a screenshot (OUT_DIR/installed-editor.png), removes the package and checks that nothing of it
# is left but the library the editor wrote for its user.
# Installing needs root: as another user without sudo this check is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2> /dev/null || { echo "package-check: skipped (installing a package needs root or sudo)"; exit 0; }
  SUDO="sudo"
fi
if dpkg-query -W -f='${Status}' orvo-editor 2> /dev/null | grep -q "ok installed"; then
  echo "package-check: orvo-editor is installed already; remove it first (this check removes what it installs)"
  exit 1
fi
out="${1:-build/package-check}"
mkdir -p "$out"; out="$(cd "$out" && pwd)"

bash scripts/package.sh > "$out/package.log" 2>&1 || { cat "$out/package.log"; exit 1; }
deb="$(ls build/orvo-editor_*.deb)"
version="$(dpkg-deb -f "$deb" Version)"
fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: expected [$3] got [$2]"; fail=1; fi; }
apt() { $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 "$@"; }

echo "Depends: $(dpkg-deb -f "$deb" Depends)"
$SUDO dpkg -i "$deb" > "$out/install.log" 2>&1 || true   # missing dependencies leave it unconfigured
apt install -f -y -qq >> "$out/install.log" 2>&1
check "installed" "$(dpkg-query -W -f='${Status}' orvo-editor)" "install ok installed"
dpkg -L orvo-editor | sort > "$out/files.txt"

# From the installed paths, not the build tree.
check "orvo-cli path" "$(command -v orvo-cli)" "/usr/bin/orvo-cli"
check "orvo-cli --version" "$(/usr/bin/orvo-cli --version)" "orvo-cli $version"
check "OrvoEditor --version" "$(/usr/bin/OrvoEditor --version)" "OrvoEditor $version"
# Minimal images tell dpkg to leave manual pages out; then there is nothing to read.
if grep -rqs "path-exclude.*/usr/share/man" /etc/dpkg/dpkg.cfg.d/; then
  echo "man page: not checked (this system leaves manual pages out)"
elif command -v man > /dev/null; then
  check "man page" "$(man -w orvo-cli 2> /dev/null)" "/usr/share/man/man1/orvo-cli.1.gz"
  check "editor man page" "$(man -w OrvoEditor 2> /dev/null)" "/usr/share/man/man1/OrvoEditor.1.gz"
  check "man page text" "$(man -P cat orvo-cli 2> /dev/null | grep -cE '^ +virtual-bank BANK OUT.syx')" "1"
else
  check "man page text" "$(zcat /usr/share/man/man1/orvo-cli.1.gz | grep -c 'virtual\\-bank')" "1"
fi
check "editor man page is clean roff" "$(zcat /usr/share/man/man1/OrvoEditor.1.gz 2>&1 | groff -man -ww -z 2>&1)" ""
check "completion" "$(bash -c 'source /usr/share/bash-completion/completions/orvo-cli
  COMP_WORDS=(orvo-cli vi); COMP_CWORD=1; _orvo_cli; echo "${COMPREPLY[*]}"')" "virtual-bank"
for f in /usr/share/applications/orvo-editor.desktop /usr/share/mime/packages/orvo-editor.xml \
         /usr/share/icons/hicolor/scalable/apps/orvo-editor.svg /usr/share/icons/hicolor/48x48/apps/orvo-editor.png \
         /usr/share/doc/orvo-editor/copyright; do
  [ -f "$f" ] || { echo "FAIL not installed: $f"; fail=1; }
done
if command -v update-mime-database > /dev/null; then
  check "document type" "$(grep -c ':\*\.orvo[pmbx]$\|:\*\.orvopreset$' /usr/share/mime/globs2)" "5"
fi
if command -v update-desktop-database > /dev/null; then
  check "opens its documents" "$(grep -c '^application/x-orvo-[a-z]*=orvo-editor.desktop' /usr/share/applications/mimeinfo.cache)" "5"
fi
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate /usr/share/applications/orvo-editor.desktop || fail=1
fi

# A player of its own: the editor's settings and library go to this home, which the removal must keep.
home="$(mktemp -d)"
cat > "$home/Check.orvop" << 'DOC'
{"schema": "orvo.program.v1", "type": "program", "name": "Package Check",
 "parameters": [{"id": "filter1.frequency", "rawValue": 1234}]}
DOC
printf 'not a document\n' > "$home/notes.txt"
check "orvo-cli check" "$(/usr/bin/orvo-cli check "$home/Check.orvop" | grep -o '"ok": [a-z]*')" '"ok": true'

HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '
  out="$1"; home="$2"
  /usr/bin/python3 scripts/close-window.py --hold &
  holder=$!
  trap "kill $holder 2> /dev/null" EXIT
  sleep 0.5
  waitFor() { for i in $(seq 1 100); do w=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | tail -n 1); [ -n "$w" ] && { echo "$w"; return 0; }; sleep 0.2; done; return 1; }
  cd "$home"
  /usr/bin/OrvoEditor Check.orvop > "$out/editor.log" 2>&1 &
  pid=$!
  waitFor "^Orvo Editor$" > /dev/null || { echo "FAIL the installed editor showed no window"; cat "$out/editor.log"; kill $pid; exit 1; }
  # Loading a Program ends with the offer to transfer it: the document was opened as LOAD opens it.
  waitFor "^Transfer Loaded Program$" > /dev/null || { echo "FAIL the document named on the command line was not loaded"; kill $pid; exit 1; }
  sleep 1
  import -window root "$out/installed-editor.png" 2> /dev/null || true
  # A second start hands its document to the running editor and ends at once.
  timeout 10 /usr/bin/OrvoEditor notes.txt; rc=$?
  [ $rc -eq 0 ] || { echo "FAIL the second start ended with status $rc"; kill $pid; exit 1; }
  waitFor "^Open Document$" > /dev/null || { echo "FAIL the running editor did not take the second start'"'"'s document"; kill $pid; exit 1; }
  [ "$(pgrep -c -f "^/usr/bin/OrvoEditor")" = "1" ] || { echo "FAIL more than one editor is running"; kill $pid; exit 1; }
  import -window root "$out/installed-editor-handoff.png" 2> /dev/null || true
  kill $pid; for i in $(seq 1 50); do kill -0 $pid 2> /dev/null || break; sleep 0.2; done
  kill -9 $pid 2> /dev/null || true
  echo "the installed editor opened the document and took the second start'"'"'s"
' bash "$out" "$home" || fail=1
find "$home" -name "Default.orvox" | grep -q . || { echo "FAIL the editor wrote no library under its user's home"; fail=1; }
find "$home" -type f | sort > "$out/library-before-removal.txt"

apt purge -y -qq orvo-editor > "$out/remove.log" 2>&1
check "removed" "$(dpkg-query -W -f='${Status}' orvo-editor 2> /dev/null || echo gone)" "gone"
while read -r f; do
  [ -d "$f" ] || [ ! -e "$f" ] || { echo "FAIL left behind: $f"; fail=1; }
done < "$out/files.txt"
if [ -f /usr/share/mime/globs2 ]; then
  check "document types removed" "$(grep -c 'orvo' /usr/share/mime/globs2 || true)" "0"
fi
if [ -f /usr/share/applications/mimeinfo.cache ]; then
  check "desktop entry unregistered" "$(grep -c 'orvo-editor.desktop' /usr/share/applications/mimeinfo.cache || true)" "0"
fi
check "library kept" "$(find "$home" -type f | sort)" "$(cat "$out/library-before-removal.txt")"
rm -rf "$home"
[ $fail -eq 0 ] && echo "package-check: passed ($deb)" || echo "package-check: FAILED"
exit $fail
