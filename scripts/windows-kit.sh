#!/usr/bin/env bash
# Rebuilds the Qt-for-Windows kit that scripts/build-windows.sh unpacks, for a maintainer who
# moves to another Qt version: qtbase and qtserialport for x86_64-w64-mingw32 (POSIX threads),
# cross-built on Debian with the host's Qt of the same version as QT_HOST_PATH (moc, rcc, uic
# come from there, so the host's qt6-base-dev must be exactly that version). It takes about 75
# minutes on a loaded 2-core machine. The test command never runs it: it only unpacks the ready
# kit in ../shared/windows-kit.
#
# Usage: scripts/windows-kit.sh [--dry-run] [VERSION [OUT]]
#   VERSION  Qt version (QT_VERSION, default 6.4.2); the host's qt6-base-dev must match it.
#   OUT      output folder (OUT_DIR, default build-windows-kit/); it gets qt/, the sources and
#            build trees under work/, qt<VERSION>-mingw-w64-x86_64.tar.xz and SHA256SUMS.
#   --dry-run  prints the long steps (apt, sources, configure, build, install, strip, pack)
#            instead of running them.
# qtbase is Debian's qt6-base source package (fetched with apt-get source through a private
# deb-src list; /etc/apt is not touched). qtserialport comes from the tarball in
# QTSERIALPORT_TARBALL (default ../shared/windows-kit/qtserialport-v<VERSION>-git.tar.xz beside
# the repository, an export of the upstream v<VERSION> tag). JOBS sets the build parallelism
# (default 2), SKIP_APT=1 skips installing the Debian packages. The archive's path is printed
# last; copy it and SHA256SUMS into the kit folder and update the 6.4.2 in build-windows.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

dry=0
args=()
for arg in "$@"; do
    case "$arg" in
        --dry-run) dry=1 ;;
        -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
        -*) echo "windows-kit: unknown option $arg" >&2; exit 2 ;;
        *) args+=("$arg") ;;
    esac
done
[ ${#args[@]} -le 2 ] || { echo "windows-kit: usage: $0 [--dry-run] [VERSION [OUT]]" >&2; exit 2; }

version=${args[0]:-${QT_VERSION:-6.4.2}}
out=${args[1]:-${OUT_DIR:-build-windows-kit}}
case "$out" in /*) ;; *) out=$root/$out ;; esac
out=${out%/}
if [ -z "$out" ] || [ "$out" = "$root" ]; then
    echo "windows-kit: the output folder must be a folder of its own" >&2; exit 2
fi
jobs=${JOBS:-2}
serialport_tarball=${QTSERIALPORT_TARBALL:-$(dirname "$root")/shared/windows-kit/qtserialport-v$version-git.tar.xz}
triple=x86_64-w64-mingw32
host_cmake_dir=/usr/lib/x86_64-linux-gnu/cmake
work=$out/work
prefix=$out/qt
toolchain=$out/mingw-toolchain.cmake
archive=qt$version-mingw-w64-x86_64.tar.xz

# Runs a long step, or only prints it with --dry-run.
run() {
    if [ "$dry" = 1 ]; then
        printf '+'; printf ' %q' "$@"; printf '\n'
    else
        "$@"
    fi
}
# Times a long step, nicely (the machine is shared).
step() {
    local name=$1 start
    shift
    echo "== $name"
    start=$(date +%s)
    run nice -n 19 "$@"
    [ "$dry" = 1 ] || echo "== $name took $(($(date +%s) - start)) s"
}

# -------------------------------------------------------------------------- packages
if [ "${SKIP_APT:-0}" != 1 ]; then
    if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
    echo "== Installing the Debian packages"
    run "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    run "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends dpkg-dev debian-archive-keyring cmake ninja-build perl \
        xz-utils file g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools \
        qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
fi

# The host's moc, rcc and uic build the kit and later every program built with it: the
# host's Qt must be the very version of the kit.
base_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$base_version" ] && [ "$dry" = 1 ]; then
    base_version="$version+dfsg-1"
    echo "windows-kit: qt6-base-dev is not installed; the commands below assume $base_version" >&2
fi
case "$base_version" in
    "$version"|"$version"[+-]*) ;;
    *) echo "windows-kit: the host's qt6-base is '$base_version', not $version" >&2; exit 1 ;;
esac
[ -f "$serialport_tarball" ] || [ "$dry" = 1 ] \
    || { echo "windows-kit: no qtserialport tarball $serialport_tarball (QTSERIALPORT_TARBALL)" >&2; exit 1; }

# -------------------------------------------------------------------------- sources
run mkdir -p "$work/src" "$work/build" "$work/apt/state/lists" "$work/apt/cache" \
    "$work/apt/etc/sources.list.d"
write_sources() {
    if [ "$dry" = 1 ]; then echo "+ write $1 (the bookworm deb-src entry)"; else cat > "$1"; fi
}
write_sources "$work/apt/etc/sources.list.d/deb-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
# apt's source lists, lists and caches all stay in work/ (apt makes its download folders).
apt_src=(-o Dir::Etc="$work/apt/etc" -o Dir::State="$work/apt/state"
         -o Dir::Cache="$work/apt/cache")
dsc=qt6-base_${base_version#*:}.dsc

echo "== Fetching Debian's qt6-base $base_version source into $work/src"
run apt-get "${apt_src[@]}" update -qq
if [ ! -f "$work/src/$dsc" ]; then
    run env -C "$work/src" apt-get "${apt_src[@]}" source --download-only "qt6-base=$base_version"
fi
run rm -rf "$work/src/qt6-base"
# dpkg-source applies Debian's patches.
run env -C "$work/src" dpkg-source -x "$dsc" qt6-base

echo "== Unpacking qtserialport from $serialport_tarball"
run rm -rf "$work/src/qtserialport"
run mkdir "$work/src/qtserialport"
run tar -C "$work/src/qtserialport" --strip-components=1 -xJf "$serialport_tarball"
if [ "$dry" != 1 ]; then
    grep -q "QT_REPO_MODULE_VERSION \"$version\"" "$work/src/qtserialport/.cmake.conf" \
        || { echo "windows-kit: $serialport_tarball is not qtserialport $version" >&2; exit 1; }
    # Its public headers must be the host's ones of the same version.
    for header in qserialport.h qserialportinfo.h qserialportglobal.h; do
        cmp "$work/src/qtserialport/src/serialport/$header" \
            "/usr/include/x86_64-linux-gnu/qt6/QtSerialPort/$header"
    done
fi

# -------------------------------------------------------------------------- toolchain
# The repository's toolchain file is the one the kit needs (Debian's gcc/g++-posix, windres,
# the mingw sysroot); the archive carries a copy, as mingw-toolchain.cmake.
run cp cmake/mingw-w64-x86_64.cmake "$toolchain"

# -------------------------------------------------------------------------- qtbase
qtbase_options=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix"
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR="$host_cmake_dir"
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF
    # No Linux .pc files; Debian's cross patch would otherwise turn androiddeployqt on.
    -DFEATURE_pkg_config=OFF -DFEATURE_androiddeployqt=OFF
    # Only Core, Gui, Widgets and Test are needed.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
    -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    -DFEATURE_testlib=ON
    # DirectWrite 3 without Direct2D leaves qwindows.dll unlinkable (Qt 6.4), so both are off.
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF
    # Tablet events need Qt's bundled wintab sources, which Debian removes.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_jpeg=OFF
    # Qt's bundled zlib, libpng, FreeType, HarfBuzz, PCRE2..., never the host's.
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_textmarkdownreader=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON
)
run rm -rf "$work/build/qtbase" "$prefix"
step "Configuring qtbase" cmake -S "$work/src/qt6-base" -B "$work/build/qtbase" "${qtbase_options[@]}"
step "Building qtbase" cmake --build "$work/build/qtbase" --parallel "$jobs"
step "Installing qtbase into $prefix" cmake --install "$work/build/qtbase"

# -------------------------------------------------------------------------- qtserialport
run rm -rf "$work/build/qtserialport"
step "Configuring qtserialport" "$prefix/bin/qt-cmake" -S "$work/src/qtserialport" \
    -B "$work/build/qtserialport" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
step "Building qtserialport" cmake --build "$work/build/qtserialport" --parallel "$jobs"
step "Installing qtserialport into $prefix" cmake --install "$work/build/qtserialport"

# -------------------------------------------------------------------------- strip and pack
echo "== Stripping the DLLs"
run find "$prefix" -name '*.dll' -exec "$triple-strip" --strip-unneeded {} +
if [ "$dry" != 1 ]; then
    for dll in Qt6Core Qt6Gui Qt6Widgets Qt6Test Qt6SerialPort; do
        [ -f "$prefix/bin/$dll.dll" ] || { echo "windows-kit: $dll.dll was not built" >&2; exit 1; }
    done
    [ -f "$prefix/plugins/platforms/qwindows.dll" ] \
        || { echo "windows-kit: qwindows.dll was not built" >&2; exit 1; }
fi
step "Packing $archive" tar -C "$out" -cJf "$out/$archive" qt mingw-toolchain.cmake
if [ "$dry" = 1 ]; then
    echo "+ (cd $out && sha256sum $archive > SHA256SUMS)"
else
    (cd "$out" && sha256sum "$archive" > SHA256SUMS)
fi
echo "$out/$archive"
