#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit tests, CLI checks, GUI smoke test).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
