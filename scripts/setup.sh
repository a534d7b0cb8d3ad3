#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need. Safe to run again:
# it installs only what is missing. Runs apt-get as root, or through sudo.
set -euo pipefail

packages=(build-essential cmake qt6-base-dev qt6-serialport-dev libgtest-dev
          xvfb xauth lrzsz socat imagemagick clang libclang-rt-14-dev python3
          clang-format clang-tidy
          dpkg-dev lintian appstream ansible-core)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
