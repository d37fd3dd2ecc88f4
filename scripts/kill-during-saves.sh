#!/usr/bin/env bash
# Kills a process with kill -9 while it saves a large document, again and again, and checks after
# each kill that the document is whole (the old or the new version, never a mix) and that the next
# start leaves no temporary file beside it.
#
# usage: scripts/kill-during-saves.sh SAVE_LOOP [KILLS=50] [BYTES=8000000] [FOLDER=$TMPDIR]
#   SAVE_LOOP is the built orvo_save_loop (build/bin/orvo_save_loop); this script builds nothing.
set -u
loop="$1"; kills="${2:-50}"; bytes="${3:-8000000}"
dir="$(mktemp -d -p "${4:-${TMPDIR:-/tmp}}" orvo-kill-saves.XXXXXX)"
trap 'rm -rf "$dir"' EXIT
file="$dir/Docs/Big.orvob"; mkdir -p "$dir/Docs"
head -c "$bytes" /dev/zero | tr '\0' a > "$dir/version-a"
head -c "$((bytes + 1))" /dev/zero | tr '\0' b > "$dir/version-b"
leftovers() { find "$dir/Docs" -maxdepth 1 -name '.Big.orvob.*.tmp' | wc -l; }

"$loop" "$file" "$bytes" 1 || { echo "FAIL: the first save failed"; exit 1; }
fail=0; hitMidWrite=0; sawA=0; sawB=0
for ((i = 1; i <= kills; i++)); do
  "$loop" "$file" "$bytes" &
  pid=$!
  sleep "0.$(printf '%03d' $((RANDOM % 400 + 20)))"
  kill -9 "$pid"; wait "$pid" 2> /dev/null
  if cmp -s "$file" "$dir/version-a"; then sawA=$((sawA + 1))
  elif cmp -s "$file" "$dir/version-b"; then sawB=$((sawB + 1))
  else echo "FAIL kill $i: the document is neither version ($(stat -c %s "$file" 2> /dev/null || echo missing) bytes)"; fail=1
  fi
  [ "$(leftovers)" -gt 0 ] && hitMidWrite=$((hitMidWrite + 1))
  "$loop" "$file" "$bytes" 0   # the next start
  n="$(leftovers)"
  [ "$n" -eq 0 ] || { echo "FAIL kill $i: $n temporary files left after the next start"; fail=1; }
done
echo "$kills kills: document whole every time: $([ $fail -eq 0 ] && echo yes || echo NO);" \
  "versions a/b seen $sawA/$sawB; $hitMidWrite kills left a temporary file, all removed at the next start: $([ $fail -eq 0 ] && echo yes || echo NO)"
exit $fail
