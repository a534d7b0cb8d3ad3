#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over every source file of src/ and tools/ that
# a build compiles, and through HeaderFilterRegex over their headers; fails on any finding,
# printing each. It reads the build's compile_commands.json (default: build-test, the test
# command's build; make one with PRESET=build-test bash scripts/build.sh). The files run in
# parallel, one clang-tidy per core.
#   scripts/check-tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
if [ -z "$tidy" ]; then
    echo "check-tidy: clang-tidy is not installed (scripts/setup.sh installs it)."
    exit 1
fi
if [ ! -f "$build/compile_commands.json" ]; then
    echo "check-tidy: $build/compile_commands.json is missing; build first (PRESET=build-test bash scripts/build.sh)."
    exit 1
fi
# Only the files the build compiles: a program left out of its configuration has no command.
files=$(git ls-files 'src/*.cpp' 'tools/*.cpp' | while read -r f; do
    if grep -q "\"file\": \"$PWD/$f\"" "$build/compile_commands.json"; then echo "$f"; fi
done)
count=$(echo "$files" | wc -l)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if echo "$files" | xargs -P "$(nproc)" -n 4 "$tidy" -p "$build" --quiet > "$log" 2>&1; then
    echo "clang-tidy: $count files clean."
else
    grep -v -e '^[0-9]* warnings\? generated\.$' -e '^Suppressed [0-9]* warnings' \
        -e '^Use -header-filter' -e 'warnings\? treated as errors\?' "$log" || true
    echo "clang-tidy: findings above ($count files checked)."
    exit 1
fi
