#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR for SECONDS each, starting from its committed corpus
# (new inputs go to a scratch folder, the corpus stays as committed). A crash fails the run and
# leaves the input beside the build.
#   scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-20}
failed=0
passed=0
for dir in fuzz/*/; do
    name=$(basename "$dir")
    exe=$(find "$build/fuzz/$name" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x 2>/dev/null | head -1 || true)
    [ -n "$exe" ] || continue
    scratch=$(mktemp -d)
    echo "-- $(basename "$exe"): $seconds s"
    if "$exe" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/crash-$name-" "$scratch" "$dir/corpus" > "$build/fuzz-$name.log" 2>&1; then
        grep -E 'stat::number_of_executed_units|Done' "$build/fuzz-$name.log" | tail -1
        passed=$((passed + 1))
    else
        tail -40 "$build/fuzz-$name.log"
        failed=$((failed + 1))
    fi
    rm -rf "$scratch"
done
echo "fuzz: $passed passed, $failed failed"
[ $failed -eq 0 ]
