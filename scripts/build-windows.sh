#!/usr/bin/env bash
# Builds lumoq4-utility.exe and lumoq4ctl.exe for 64-bit Windows on this Debian machine: the
# mingw-w64 compiler from Debian, Qt 6.4.2 for Windows from the ready kit (never rebuilt here;
# scripts/windows-kit.sh is for a maintainer who moves to another Qt version).
#
# The kit is ../shared/windows-kit beside the repository, or ../../shared/windows-kit for a
# worktree one folder further down (WINDOWS_KIT_DIR overrides both). Its
# archive is checked against its SHA256SUMS and unpacked into the cache folder
# ${XDG_CACHE_HOME:-$HOME/.cache}/lumoq4/windows-kit, again only when that is missing or the sum
# changed. SKIP_APT=1 skips the installation of the Debian packages. The build goes to
# build-windows/ (BUILD_DIR overrides it), through the build-windows preset.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

kit_dir=${WINDOWS_KIT_DIR:-}
if [ -z "$kit_dir" ]; then
    for candidate in "$root/../shared/windows-kit" "$root/../../shared/windows-kit"; do
        [ -d "$candidate" ] && { kit_dir=$candidate; break; }
    done
fi
[ -n "$kit_dir" ] || { echo "build-windows: no ../shared/windows-kit; set WINDOWS_KIT_DIR" >&2; exit 1; }
archive=qt6.4.2-mingw-w64-x86_64.tar.xz
cache=${XDG_CACHE_HOME:-$HOME/.cache}/lumoq4/windows-kit
build=${BUILD_DIR:-build-windows}

if [ "${SKIP_APT:-0}" != 1 ]; then
    need=()
    for pkg in g++-mingw-w64-x86-64-posix mingw-w64-tools qt6-base-dev qt6-base-dev-tools \
               ninja-build xz-utils; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' \
            || need+=("$pkg")
    done
    if [ ${#need[@]} -gt 0 ]; then
        echo "== Installing ${need[*]}"
        if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
        "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
            --no-install-recommends "${need[@]}"
    fi
fi

[ -f "$kit_dir/$archive" ] || { echo "build-windows: no $archive in $kit_dir" >&2; exit 1; }
sum=$(grep " $archive\$" "$kit_dir/SHA256SUMS" | cut -d' ' -f1)
[ -n "$sum" ] || { echo "build-windows: $archive has no sum in $kit_dir/SHA256SUMS" >&2; exit 1; }
if [ "$(cat "$cache/.sha256" 2>/dev/null)" != "$sum" ] \
   || [ ! -f "$cache/qt/lib/cmake/Qt6/qt.toolchain.cmake" ]; then
    echo "== Checking and unpacking the Qt kit into $cache"
    (cd "$kit_dir" && grep " $archive\$" SHA256SUMS | sha256sum -c --quiet -)
    rm -rf "$cache" && mkdir -p "$cache"
    tar -C "$cache" -xJf "$kit_dir/$archive"
    echo "$sum" > "$cache/.sha256"
fi
export LUMOQ4_WINDOWS_KIT=$cache

echo "== Building for Windows in $build"
cmake --preset build-windows -B "$build" > "$build.configure.log" 2>&1 \
    || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)"
for exe in src/gui/app/lumoq4-utility.exe src/ctl/lumoq4ctl.exe; do
    [ -f "$build/$exe" ] || { echo "build-windows: $build/$exe was not built" >&2; exit 1; }
    echo "$root/$build/$exe"
done
