#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests, CLI checks, GUI smoke test), then
# builds the Debian package, installs it, runs it and removes it again (skipped when not root and
# without sudo, since installing needs it).
#   --sanitize  builds a Debug build with AddressSanitizer and UBSan in build-asan/ and runs the tests there
#   --clang     builds with clang in build-clang/ (warnings are errors there too) and runs the tests there
set -euo pipefail
cd "$(dirname "$0")/.."
variant() {
  local dir="$1"; shift
  cmake -S . -B "$dir" "$@" > "$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; exit 1; }
  cmake --build "$dir" -j"$(nproc)"
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)")
}
case "${1:-}" in
  --sanitize) bash scripts/setup.sh
              ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
                variant build-asan -DCMAKE_BUILD_TYPE=Debug -DORVO_SANITIZE=ON; exit 0 ;;
  --clang)    bash scripts/setup.sh clang-14
              CC=clang-14 CXX=clang++-14 variant build-clang -DCMAKE_BUILD_TYPE=Release; exit 0 ;;
  "") ;;
  *) echo "usage: scripts/test.sh [--sanitize | --clang]" >&2; exit 2 ;;
esac
bash scripts/setup.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/package-check.sh
