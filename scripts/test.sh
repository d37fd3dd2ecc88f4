#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests, CLI checks, GUI smoke test), then
# builds the Debian package, installs it, runs it and removes it again (skipped when not root and
# without sudo, since installing needs it).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")
bash scripts/package-check.sh
