#!/usr/bin/env bash
# Installs the Debian 12 packages the editor, its tests and its GUI checks need, and any packages
# named as arguments (the clang build and the fuzzers add theirs); skips what is there.
set -euo pipefail
packages=("$@" cmake g++ make pkg-config juce-modules-source libgtest-dev libgmock-dev libbenchmark-dev
          libfreetype-dev libfontconfig1-dev libasound2-dev libx11-dev libxrandr-dev libxinerama-dev
          libxcursor-dev libxext-dev libxcomposite-dev libgl-dev libgtk-3-dev
          xvfb xauth xdotool imagemagick python3-xlib fonts-dejavu-core dpkg-dev file groff-base)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
