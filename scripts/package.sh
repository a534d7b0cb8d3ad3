#!/usr/bin/env bash
# Builds the Debian package lumoq4-utility: the build-package preset (Release, prefix /usr, no
# tests or benchmarks) with Debian's hardening flags, then cpack, which strips the programs,
# compresses the manual pages and the changelog and computes the dependencies with
# dpkg-shlibdeps. The last line printed is the path of the .deb, in build-package/.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
unset BUILD_DIR BUILD_TYPE
bash scripts/setup.sh

build=build-package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake reads no CPPFLAGS: the preprocessor's flags (_FORTIFY_SOURCE) go with the compiler's.
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
PRESET=$build bash scripts/build.sh "-DCMAKE_CXX_FLAGS=$cxxflags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$ldflags"

rm -f "$build"/lumoq4-utility_*.deb
(cd "$build" && cpack --config CPackConfig.cmake) > "$build.cpack.log" 2>&1 \
    || { cat "$build.cpack.log"; exit 1; }
debs=("$build"/lumoq4-utility_*.deb)
[ -f "${debs[0]}" ] || { cat "$build.cpack.log"; echo "package.sh: cpack made no package"; exit 1; }
echo "${debs[0]}"
