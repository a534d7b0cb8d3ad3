#!/usr/bin/env bash
# Sets up, builds, starts the simulated display on a pseudo-terminal and then the program with
# COM1 mapped to it. With a real display attached, map its port instead (see README).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export BUILD_DIR=${BUILD_DIR:-build}
bash scripts/build.sh

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop to show the windows on (DISPLAY is not set)."
    echo "Run it in a virtual one instead:  xvfb-run -a scripts/run.sh"
    exit 1
fi

sim="$BUILD_DIR/tools/displaysim/lumoq4-display-sim"
link="${XDG_RUNTIME_DIR:-/tmp}/lumoq4-display-$$"
if [ -z "${LUMOQ4_COM1:-}" ] && [ -x "$sim" ]; then
    "$sim" --link "$link" > "$link.log" 2>&1 &
    sim_pid=$!
    trap 'kill $sim_pid 2>/dev/null || true; rm -f "$link" "$link.log"' EXIT
    for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
    export LUMOQ4_COM1="$link"
    echo "Simulated display on $LUMOQ4_COM1 (COM1)."
fi
"$BUILD_DIR/src/gui/app/lumoq4-utility"
