#!/usr/bin/env bash
# Builds the benchmarks and prints their figures as one table. Figures only: nothing here fails
# on time. Run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export BUILD_DIR=${BUILD_DIR:-build-bench}
BUILD_TYPE=Release bash scripts/build.sh -DLUMOQ4_BUILD_TESTS=OFF > /dev/null
export QT_QPA_PLATFORM=offscreen
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%Y-%m-%d)"
echo
echo "| measure | figure | target |"
echo "|---|---|---|"
for exe in "$BUILD_DIR"/bench/*/*_bench; do
    [ -x "$exe" ] || continue
    name=$(basename "$exe")
    # Rows that a benchmark prints as "| ... |" stand as they are; other lines become a row each.
    "$exe" 2>/dev/null | while IFS= read -r line; do
        case "$line" in
            "|"*) echo "$line" ;;
            "") ;;
            *) echo "| $name: $line | | |" ;;
        esac
    done || echo "| $name | did not run | |"
done
