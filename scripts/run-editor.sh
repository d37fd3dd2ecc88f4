#!/usr/bin/env bash
# Installs what is missing, builds, and starts the editor connected to the built-in Virtual Orvo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec build/bin/OrvoEditor --virtual-orvo "$@"
