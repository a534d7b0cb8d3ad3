#!/usr/bin/env bash
# Builds the benchmarks and prints their figures as one table. Figures only: nothing here fails
# on time. Run it on an otherwise idle machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export BUILD_DIR=${BUILD_DIR:-build-bench}
PRESET=build-bench bash scripts/build.sh > /dev/null
export QT_QPA_PLATFORM=offscreen
echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%Y-%m-%d)"
# Each benchmark prints its headline figures as "| measure | figure | target |" rows, which make
# the table; everything else it prints is kept, by benchmark, as the details below the table.
rows=$(mktemp)
details=$(mktemp)
trap 'rm -f "$rows" "$details"' EXIT
for exe in "$BUILD_DIR"/bench/*/*_bench; do
    [ -x "$exe" ] || continue
    name=$(basename "$exe")
    if ! "$exe" > "$exe.out" 2>&1; then
        echo "| $name | did not finish: see its details | |" >> "$rows"
    fi
    grep '^|' "$exe.out" >> "$rows" || true
    if grep -q -v -e '^|' -e '^$' "$exe.out"; then
        echo "$name:" >> "$details"
        grep -v -e '^|' -e '^$' "$exe.out" | sed 's/^/    /' >> "$details"
    fi
    rm -f "$exe.out"
done
echo
echo "| measure | figure | target |"
echo "|---|---|---|"
cat "$rows"
echo
echo "Details:"
cat "$details"
