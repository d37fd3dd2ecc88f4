#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 60).
# A crashing, leaking, hanging or memory-hungry input is copied into fuzz/corpus/regressions/<target>/,
# where the normal test run replays it. Exits non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
targets=(sysexFile sysexImport programDecode document libraryHead midiInput editorState toolSettings settingsFile userPreset layoutDocument)
bash scripts/setup.sh clang-14 libclang-rt-14-dev

mkdir -p build-fuzz
CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVO_FUZZ=ON \
    -DORVO_BUILD_TESTS=OFF -DORVO_BUILD_BENCH=OFF > build-fuzz/configure.log
cmake --build build-fuzz -j2 --target orvo_fuzzers

found=0
summary=()
for t in "${targets[@]}"; do
    corpus="build-fuzz/corpus/$t"
    artifacts="build-fuzz/artifacts/$t"
    regressions="fuzz/corpus/regressions/$t"
    rm -rf "$artifacts"
    mkdir -p "$corpus" "$artifacts" "$regressions"
    cp -n "$regressions"/* "$corpus"/ 2>/dev/null || true
    log="build-fuzz/fuzz-$t.log"
    status=0
    # Inputs stay within what a regression file may weigh (64 KB); a 10 s input counts as a hang.
    "build-fuzz/bin/fuzz_$t" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -artifact_prefix="$artifacts/" -print_final_stats=1 > "$log" 2>&1 || status=$?
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    line="$t: $execs executions"
    if [ "$status" -ne 0 ]; then
        found=1
        line+=" -- FOUND A FAULT (exit $status, see $log)"
        for a in "$artifacts"/*; do
            [ -f "$a" ] || continue
            cp "$a" "$regressions/"
            line+=", kept $regressions/$(basename "$a")"
        done
    fi
    summary+=("$line")
    echo "$line"
done

echo "---"
printf '%s\n' "${summary[@]}"
exit "$found"
