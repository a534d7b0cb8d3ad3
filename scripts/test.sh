#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, checks the direction of includes and the formatting, builds
# everything and runs every test: the suite as built, clang-tidy over src/ and tools/, the suite
# again under AddressSanitizer and UndefinedBehaviorSanitizer, each fuzz target for a short
# while over its committed corpus, the Debian package (built, checked, installed, run and
# removed), the fleet playbooks and the Windows build. The builds are the presets of
# CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each build goes to its preset's folder (CMakePresets.json), whatever the caller's environment.
unset BUILD_DIR BUILD_TYPE
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
status=0

echo "== Include rules"
bash scripts/check-includes.sh || status=1

echo "== Formatting"
bash scripts/check-format.sh || status=1

echo "== Build and test"
PRESET=build-test bash scripts/build.sh
ctest --preset build-test || status=1

echo "== clang-tidy"
bash scripts/check-tidy.sh build-test || status=1

echo "== Build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
PRESET=build-asan bash scripts/build.sh
ctest --preset build-asan || status=1

echo "== Fuzz targets, ${FUZZ_SECONDS:-20} s each"
PRESET=build-fuzz bash scripts/build.sh
bash scripts/fuzz.sh build-fuzz "${FUZZ_SECONDS:-20}" || status=1

echo "== Debian package: build, lintian, install, run, remove"
bash scripts/test-package.sh || status=1

echo "== Fleet playbooks against simulated displays"
bash scripts/test-fleet.sh || status=1

echo "== Windows: lumoq4-utility.exe and lumoq4ctl.exe built with mingw-w64, lumoq4ctl.exe under Wine"
if bash scripts/build-windows.sh; then
    bash scripts/test-windows.sh || status=1
else
    status=1
fi

if [ $status -eq 0 ]; then echo "All test stages passed."; else echo "Some test stage failed."; fi
exit $status
