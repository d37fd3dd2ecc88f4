#!/usr/bin/env bash
# Writes Resources/Default.layout.json: the place of every item of the editor as its own code lays
# it out (every page, overlay and sidebar tool), taken from a built editor under a virtual display
# with a fresh home folder, so no saved layout is in it. Rebuild afterwards to compile it in.
# Usage: scripts/write-default-layout.sh [EDITOR]
set -euo pipefail
cd "$(dirname "$0")/.."
editor="${1:-build/bin/OrvoEditor}"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
HOME="$home" xvfb-run -a -s "-screen 0 1600x1200x24" "$editor" --write-layout "$(pwd)/Resources/Default.layout.json"
