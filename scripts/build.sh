#!/usr/bin/env bash
# Configures and builds everything into build/ (JUCE is compiled once and reused).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release "$@" > build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
cmake --build build -j"$(nproc)"
