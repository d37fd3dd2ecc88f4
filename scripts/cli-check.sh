#!/usr/bin/env bash
# orvo-cli as a script would use it: exact output, exit codes for usage errors and bad input.
set -u
cli="$1"; fail=0
check() { if [ "$2" != "$3" ]; then echo "FAIL $1: expected [$3] got [$2]"; fail=1; fi; }
check "nrpn bytes" "$("$cli" nrpn 1 1920 2048)" "b0 63 0f b0 62 00 b0 06 10 b0 26 00"
check "nrpn channel 16" "$("$cli" nrpn 16 3077 4095)" "bf 63 18 bf 62 05 bf 06 1f bf 26 7f"
"$cli" nrpn 1 1920 > /dev/null 2>&1; check "nrpn usage exit" "$?" "2"
"$cli" nrpn 0 1920 5 > /dev/null 2>&1; check "nrpn bad channel exit" "$?" "1"
"$cli" nrpn 1 abc 5 > /dev/null 2>&1; check "nrpn bad number exit" "$?" "1"
"$cli" > /dev/null 2>&1; check "no command exit" "$?" "2"
check "catalogue rows" "$("$cli" catalogue | grep -c '"row": ')" "233"
check "catalogue row 36" "$("$cli" catalogue | grep '"row": 36,' | grep -o '"labels": .*')" \
  '"labels": [{"text": "Off", "value": 0}, {"text": "Pos", "value": 1}, {"text": "Neg", "value": 2}]},'
check "display semitone" "$("$cli" display osc1.semitone 2048)" '{"id": "osc1.semitone", "raw": 2048, "display": 0, "text": "0"}'
check "display clamps" "$("$cli" display osc1.semitone 9999 | grep -o '"raw": [0-9]*')" '"raw": 4095'
"$cli" display nope 1 > /dev/null 2>&1; check "display unknown id exit" "$?" "1"
"$cli" display osc1.semitone > /dev/null 2>&1; check "display usage exit" "$?" "2"
if [ -x /usr/bin/python3 ]; then
  "$cli" catalogue | /usr/bin/python3 -c 'import json,sys; rows=json.load(sys.stdin); assert len(rows)==233 and rows[16]["displayMax"]==-48' \
    || { echo "FAIL catalogue is not valid JSON"; fail=1; }
fi
vb="$(mktemp -d)"
"$cli" virtual-bank 1 "$vb/preset1.syx" > /dev/null; check "virtual-bank exit" "$?" "0"
check "virtual-bank inspects valid" "$("$cli" inspect "$vb/preset1.syx" | grep -o '"valid": true' | wc -l)" "128"
check "inspect lists effects" "$("$cli" inspect "$vb/preset1.syx" | grep -o '"effects": {"algorithm": [0-9]*' | wc -l)" "128"
"$cli" virtual-bank 3 "$vb/x.syx" > /dev/null 2>&1; check "virtual-bank bad bank exit" "$?" "1"
"$cli" virtual-bank 1 "$vb/preset1.syx/x.syx" > /dev/null 2>&1; check "virtual-bank unwritable exit" "$?" "1"
"$cli" virtual-bank 1 > /dev/null 2>&1; check "virtual-bank usage exit" "$?" "2"
# Files too large for any SysEx collection are refused before they are read; huge message counts stay bounded.
truncate -s 65M "$vb/huge.syx"
"$cli" inspect "$vb/huge.syx" > /dev/null 2>&1; check "inspect refuses a 65 MB file" "$?" "1"
head -c 30000 /dev/zero | tr '\0' '\360' > "$vb/f0.syx"
check "inspect counts every F0" "$("$cli" inspect "$vb/f0.syx" | grep -o '"messages": [0-9]*, "programs"')" '"messages": 30000, "programs"'
check "inspect lists at most 10000" "$("$cli" inspect "$vb/f0.syx" | grep -o '"index": [0-9]*' | wc -l)" "10000"
# Re-addressing and renaming every Program of a file; a number past 127 fails and writes nothing.
"$cli" rebuild "$vb/preset1.syx" 0 0 "$vb/user.syx" > /dev/null; check "rebuild exit" "$?" "0"
check "rebuild addresses USER" "$("$cli" inspect "$vb/user.syx" | grep -o '"opcode": 0, "bank": 0, "program": 127')" '"opcode": 0, "bank": 0, "program": 127'
"$cli" rebuild "$vb/preset1.syx" 0 1 "$vb/late.syx" > /dev/null; check "rebuild past 127 exit" "$?" "1"
check "rebuild past 127 writes nothing" "$(ls "$vb/late.syx" 2>/dev/null | wc -l)" "0"
check "rebuild past 127 says why" "$("$cli" rebuild "$vb/preset1.syx" 0 1 "$vb/late.syx" | grep -o '"index": 127, "ok": false, "message": "[^"]*"')" '"index": 127, "ok": false, "message": "The selected Program number is outside the Orvo Program range."'
check "rename names every Program" "$("$cli" rename "$vb/preset1.syx" "NEW NAME" "$vb/named.syx" > /dev/null && "$cli" inspect "$vb/named.syx" | grep -o '"name": "NEW NAME"' | wc -l)" "128"
"$cli" rename "$vb/preset1.syx" "SEVENTEEN LETTERS" "$vb/bad.syx" > /dev/null; check "rename too long exit" "$?" "1"
# Import as the editor does: a bank, and split into Programs, both export back byte for byte; a file
# that holds no Program writes nothing.
check "import bank" "$("$cli" import "$vb/preset1.syx" --library "$vb/ilib" | grep -o '"kind": "bank", "programs": 128')" '"kind": "bank", "programs": 128'
"$cli" import "$vb/preset1.syx" --library "$vb/ilib" --split > "$vb/split.json"; check "import split exit" "$?" "0"
check "import split writes 128" "$(ls "$vb"/ilib/Programs/preset1/*.orvop | wc -l)" "128"
"$cli" export bank "$vb/ilib/Banks/preset1.orvob" "$vb/again.syx" > /dev/null; check "export bank exit" "$?" "0"
check "export bank gives the file back" "$(cmp "$vb/preset1.syx" "$vb/again.syx" && echo same)" "same"
for f in $(grep -o '"[^"]*\.orvop"' "$vb/split.json" | tr -d '"'); do "$cli" export program "$f" "$vb/one.syx" > /dev/null && cat "$vb/one.syx"; done > "$vb/split-again.syx"
check "split Programs give the file back" "$(cmp "$vb/preset1.syx" "$vb/split-again.syx" > /dev/null && echo same)" "same"
"$cli" import "$vb/preset1.syx" "$vb/f0.syx" --library "$vb/ilib2" > /dev/null 2> "$vb/err.txt"; check "import of a non-Program file exit" "$?" "1"
check "import names the refused file" "$(grep -c "f0.syx" "$vb/err.txt")" "1"
check "import writes only the good file" "$(find "$vb/ilib2" -name '*.orvo*' | wc -l)" "1"
"$cli" import "$vb/preset1.syx" > /dev/null 2>&1; check "import usage exit" "$?" "2"
# The library's tag table tags the Programs it knows, whatever their slot.
first=$("$cli" inspect "$vb/preset1.syx" | grep -o '"programPayloadSha256": "[0-9a-f]*"' | head -n 1 | grep -o '[0-9a-f]\{64\}')
mkdir -p "$vb/tlib"; echo "[{\"sha256\": \"SHA256:$first\", \"tags\": \"Bass; dark\"}]" > "$vb/tlib/KnownProgramTags.json"
"$cli" import "$vb/preset1.syx" --library "$vb/tlib" --split > /dev/null
check "import tags a known Program" "$("$cli" tags "$vb/tlib/Programs" | grep -c '"tags": \["bass", "dark"\]')" "1"
"$cli" export bank "$vb/preset1.syx" "$vb/x.syx" > /dev/null 2>&1; check "export of a non-document exit" "$?" "1"
# A backup of the Virtual Orvo writes what BANK SYNC writes, and the editor loads it back.
check "backup summary" "$("$cli" backup --virtual --banks USER --library "$vb/lib" 2>/dev/null | grep -o '"bank": "USER", "received": 128\|"programs": [0-9]*' | tr '\n' ' ')" '"bank": "USER", "received": 128 "programs": 128 '
check "backup bank loads" "$("$cli" check "$vb"/lib/Banks/*.orvob | grep -o '"programDumps": [0-9]*')" '"programDumps": 128'
check "tags lists the bank's 128 slots" "$("$cli" tags "$vb"/lib/Banks | grep -o '"programPayloadSha256": "[0-9a-f]\{64\}"' | wc -l)" "128"
check "tags of a Program agree with its bank slot" "$("$cli" tags "$vb"/lib/Programs | grep -o '"programPayloadSha256": "[0-9a-f]*"' | sort -u | wc -l)" "$("$cli" tags "$vb"/lib/Banks | grep -o '"programPayloadSha256": "[0-9a-f]*"' | sort -u | wc -l)"
"$cli" tags "$vb/nothing-here.orvop" > /dev/null 2>&1; check "tags of a missing file exit" "$?" "1"
"$cli" backup --virtual --banks USER,NOPE --library "$vb/lib" > /dev/null 2>&1; check "backup bad bank exit" "$?" "2"
"$cli" restore --virtual "$vb/preset1.syx" --bank USER > /dev/null 2>&1; check "restore of a non-bank file exit" "$?" "1"
"$cli" restore --virtual "$vb/preset1.syx" --bank PRESET3 > /dev/null 2>&1; check "restore bad bank exit" "$?" "2"
check "wedge lists 228" "$("$cli" wedge | grep -c '^{"number": ')" "228"
check "wedge 59" "$("$cli" wedge 59 | grep -o '"name": "Stereo120bpm", "group": "DELAYS", "algorithm": 13, "settings": \[{"nrpn": 3607, ')" \
  '"name": "Stereo120bpm", "group": "DELAYS", "algorithm": 13, "settings": [{"nrpn": 3607, '
"$cli" wedge 228 > /dev/null 2>&1; check "wedge 228 exit" "$?" "1"
"$cli" wedge 1 2 > /dev/null 2>&1; check "wedge usage exit" "$?" "2"
# The generator: one seed and settings give one Program; --out writes the edit buffer the instrument holds.
gen="$("$cli" generate --seed 42 --range 0.5 --voice mono --digital-fx)"
check "generate repeats itself" "$("$cli" generate --seed 42 --range 0.5 --voice mono --digital-fx)" "$gen"
check "generate names its seed and range" "$(echo "$gen" | grep -o '^{"seed": 42, "recipeId": "learned_[a-z_]*", "experimentalAmount": 0.5, ' | wc -l)" "1"
check "generate forces mono" "$(echo "$gen" | grep -o '"label": "KEYBOARD POLYPHONY MONO", "nrpn": 3716, "raw": 4095')" \
  '"label": "KEYBOARD POLYPHONY MONO", "nrpn": 3716, "raw": 4095'
"$cli" generate --seed 42 --out "$vb/gen.syx" > /dev/null; check "generate --out exit" "$?" "0"
check "generate --out is an edit-buffer dump" "$(stat -c %s "$vb/gen.syx") $("$cli" inspect "$vb/gen.syx" | grep -o '"valid": true' | wc -l)" "2349 1"
"$cli" generate --seed x > /dev/null 2>&1; check "generate bad seed exit" "$?" "1"
"$cli" generate --seed 1 --range 2 > /dev/null 2>&1; check "generate bad range exit" "$?" "1"
"$cli" generate --range 0.5 > /dev/null 2>&1; check "generate usage exit" "$?" "2"
rm -rf "$vb"
# Help for every command, from the same texts as the man page and the completion.
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | grep -E '^  [a-z]' | awk '{print $1}')
check "help lists commands" "$(echo $commands)" "$("$cli" 2>&1 | sed -n 's/^usage: orvo-cli <\(.*\)> .*/\1/p' | tr '|' ' ')"
for c in $commands; do
  check "$c --help" "$("$cli" $c --help | head -n 1 | awk '{print $3}')" "$c"
  "$cli" $c --help > /dev/null; check "$c --help exit" "$?" "0"
  check "$c has a summary" "$("$cli" $c --help | sed -n 3p | grep -cE '^[A-Z].{10,}\.$')" "1"
done
# Two Programs compared value by value: identical ones give empty lists, a bank is refused.
vb="$(mktemp -d)"; "$cli" virtual-bank 1 "$vb/preset1.syx" > /dev/null
"$cli" generate --seed 1 --out "$vb/g1.syx" > /dev/null; "$cli" generate --seed 2 --out "$vb/g2.syx" > /dev/null
check "diff identical" "$("$cli" diff "$vb/g1.syx" "$vb/g1.syx" | grep -o '"differences": \[\], "effects": \[\]')" '"differences": [], "effects": []'
check "diff lists differences" "$("$cli" diff "$vb/g1.syx" "$vb/g2.syx" | grep -c '"differences": \[{"id": "')" "1"
"$cli" diff "$vb/g1.syx" "$vb/preset1.syx" > /dev/null 2>&1; check "diff refuses a bank" "$?" "1"
"$cli" diff "$vb/g1.syx" > /dev/null 2>&1; check "diff usage exit" "$?" "2"
rm -rf "$vb"
check "version" "$("$cli" --version | grep -cE '^orvo-cli [0-9]+\.[0-9]+\.[0-9]+$')" "1"
check "man page is clean roff" "$("$cli" --man | groff -man -ww -z 2>&1)" ""
check "completion" "$(bash -c "source <("$cli" --bash-completion); COMP_WORDS=(orvo-cli ins); COMP_CWORD=1; _orvo_cli; echo \${COMPREPLY[*]}")" "inspect"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
