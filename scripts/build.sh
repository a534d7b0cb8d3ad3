#!/usr/bin/env bash
# Configures and builds one of the configure presets of CMakePresets.json (PRESET, default:
# build) into the folder of the same name, or into BUILD_DIR when that is set. BUILD_TYPE
# overrides the preset's build type; extra arguments go to cmake. The options of each build
# (build type, warnings as errors, sanitizers, compiler, compile_commands.json) live in the
# presets alone, so `cmake --preset NAME` by hand gives the same build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-build}
build=${BUILD_DIR:-$preset}
args=(--preset "$preset" -B "$build")
[ -z "${BUILD_TYPE:-}" ] || args+=("-DCMAKE_BUILD_TYPE=$BUILD_TYPE")
cmake "${args[@]}" "$@" > "$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
