#!/usr/bin/env bash
# Builds the Debian package of the editor and orvo-cli: build/orvo-editor_VERSION_ARCH.deb.
# Reuses build/ (JUCE is compiled once) and builds only what the package holds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
cmake --build build --target OrvoEditor orvo-cli orvo_cli_docs -j"$(nproc)"
rm -f build/orvo-editor_*.deb
(cd build && cpack -G DEB > cpack.log 2>&1) || { cat build/cpack.log; exit 1; }
ls build/orvo-editor_*.deb
