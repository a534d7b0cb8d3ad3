#!/usr/bin/env bash
# Runs the Windows build of lumoq4ctl under Wine against the display simulator: the simulator
# (the Linux build's, on a pseudo-terminal) answers on COM1 of a private Wine prefix.
#
# Wine maps COM ports to the machine's /dev/ttyS* and re-creates those links every time its
# services start, and /dev/ttyS0 is this machine's console. So Wine runs only inside a private
# mount namespace (unshare -m) in which /dev/null is bound over every /dev/ttyS*, /dev/ttyUSB*
# and /dev/ttyACM*, in a prefix of its own. COM1 is named under HKLM\Software\Wine\Ports, so
# that Wine itself links com1 to the simulator's pty at each start (the ports it finds get the
# next numbers: com2 leads to /dev/ttyS0, which is /dev/null in here).
#
# Needs: build-windows (scripts/build-windows.sh), the simulator of LINUX_BUILD (default
# build-test), wine64 and root (for the mount namespace).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
win=${WINDOWS_BUILD:-build-windows}
linux=${LINUX_BUILD:-build-test}
sim=$root/$linux/tools/displaysim/lumoq4-display-sim
kit=${LUMOQ4_WINDOWS_KIT:-${XDG_CACHE_HOME:-$HOME/.cache}/lumoq4/windows-kit}
work=$(mktemp -d "${TMPDIR:-/tmp}/lumoq4-wine.XXXXXX")
sim_pid=
cleanup() {
    [ -z "$sim_pid" ] || kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

[ -x "$sim" ] || { echo "test-windows: no simulator at $sim" >&2; exit 1; }
if ! dpkg-query -W -f='${Status}' wine64 2>/dev/null | grep -q 'install ok installed'; then
    echo "== Installing wine64"
    if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends wine64
fi
# Debian's wine64 keeps its programs in /usr/lib/wine (the wine package adds the wrappers).
export PATH=$PATH:/usr/lib/wine
command -v wine64 > /dev/null || { echo "test-windows: wine64 is not installed" >&2; exit 1; }

# The program and every DLL it imports, found by following the PE imports (windeployqt does
# not run here): the kit's Qt, the compiler's runtime.
search=("$kit/qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
deploy() {
    local file=$1 dll found dir
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print $3}'); do
        [ -e "$work/app/$dll" ] && continue
        found=
        for dir in "${search[@]}"; do
            [ -f "$dir/$dll" ] && { found=$dir/$dll; break; }
        done
        [ -n "$found" ] || continue # a DLL of Windows itself
        cp "$found" "$work/app/$dll"
        deploy "$work/app/$dll"
    done
}
mkdir -p "$work/app"
cp "$win/src/ctl/lumoq4ctl.exe" "$work/app/"
deploy "$work/app/lumoq4ctl.exe"

"$sim" --headless --link "$work/display" > "$work/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do [ -e "$work/display" ] && break; sleep 0.1; done
[ -e "$work/display" ] || { cat "$work/sim.log"; echo "test-windows: no simulator" >&2; exit 1; }

export WORK=$work
unshare -m bash -euo pipefail -c '
    mount --make-rprivate /
    for dev in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
        if [ -e "$dev" ]; then
            mount --bind /dev/null "$dev"
            # Nothing goes on unless the port really is /dev/null now (major 1, minor 3).
            [ "$(stat -L -c %t:%T "$dev")" = 1:3 ] || { echo "$dev is not hidden" >&2; exit 1; }
        fi
    done
    export WINEPREFIX=$WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    relink() {
        rm -f "$WINEPREFIX"/dosdevices/com* "$WINEPREFIX"/dosdevices/lpt*
        ln -s "$(readlink -f "$WORK/display")" "$WINEPREFIX/dosdevices/com1"
    }
    wine64 wineboot -i > /dev/null 2>&1
    wineserver -w
    # A com1 link made by hand does not last: when the program starts, Wine'"'"'s serial driver
    # remakes it to /dev/ttyS0 (here /dev/null, no tty, so the handle is no serial port). A
    # port named under HKLM\Software\Wine\Ports is made first, at every start.
    wine64 reg add "HKLM\\Software\\Wine\\Ports" /v COM1 /t REG_SZ \
        /d "$(readlink -f "$WORK/display")" /f > /dev/null 2>&1
    wineserver -w
    # A server that stays keeps the prefix between the runs; it goes on every way out.
    wineserver -p
    trap "wineserver -k > /dev/null 2>&1 || true" EXIT
    relink
    ls -l "$WINEPREFIX/dosdevices" | grep -i -E "com|lpt" | sed "s/^/  /"
    run() { WINEDEBUG=${LUMOQ4_WINEDEBUG:--all} wine64 "$WORK/app/lumoq4ctl.exe" "$@"; }
    echo "== lumoq4ctl.exe --port COM1 version"
    run --port COM1 version | tee "$WORK/version.txt"
    echo "== lumoq4ctl.exe --port COM1 send HELLO WINE, then get"
    run --port COM1 send "HELLO WINE"
    run --port COM1 get | tee "$WORK/get.txt"
    ls -l "$WINEPREFIX/dosdevices" | grep -i -E "com|lpt" | sed "s/^/  after: /"
    [ "$(readlink -f "$WINEPREFIX/dosdevices/com1")" = "$(readlink -f "$WORK/display")" ] \
        || { echo "com1 did not lead to the simulator" >&2; exit 1; }
'
# The simulator's own version, and nothing else.
tr -d '\r' < "$work/version.txt" | grep -qx "V1.07" \
    || { echo "test-windows: COM1 did not give the simulator's version" >&2; exit 1; }
# The Windows console ends lines with CR LF.
tr -d '\r' < "$work/get.txt" | grep -qx "HELLO WINE *" \
    || { echo "test-windows: get did not read back what send wrote" >&2; exit 1; }
echo "Windows stage passed."
