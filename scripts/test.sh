#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, checks the direction of includes, builds everything and
# runs every test: the suite as built, the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and each fuzz target for a short while over its committed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)
status=0

echo "== Include rules"
bash scripts/check-includes.sh || status=1

echo "== Build and test"
BUILD_DIR=build-test bash scripts/build.sh
ctest --test-dir build-test --output-on-failure -j 2 --timeout 900 || status=1

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
BUILD_DIR=build-asan BUILD_TYPE=Debug bash scripts/build.sh -DLUMOQ4_BUILD_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=$sanitize" "-DCMAKE_EXE_LINKER_FLAGS=$sanitize"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 \
    ctest --test-dir build-asan --output-on-failure -j 2 --timeout 1800 || status=1

echo "== Fuzz targets, ${FUZZ_SECONDS:-20} s each"
CC=clang CXX=clang++ BUILD_DIR=build-fuzz bash scripts/build.sh -DLUMOQ4_FUZZ=ON \
    -DLUMOQ4_BUILD_GUI=OFF -DLUMOQ4_BUILD_TESTS=OFF -DLUMOQ4_BUILD_TOOLS=OFF -DLUMOQ4_BUILD_BENCH=OFF
bash scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-20}" || status=1

if [ $status -eq 0 ]; then echo "All test stages passed."; else echo "Some test stage failed."; fi
exit $status
