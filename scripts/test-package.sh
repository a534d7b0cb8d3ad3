#!/usr/bin/env bash
# Builds the Debian package, checks it (lintian: an error fails; appstreamcli; its files),
# installs it, has the installed lumoq4ctl read the installed simulator's version and removes
# the package again, also on failure. Never installs over an installed lumoq4-utility.
#   scripts/test-package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
name=lumoq4-utility
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)

if dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "ok installed"; then
    echo "test-package: $name is installed on this machine; remove it first (apt-get remove $name)."
    exit 1
fi

work=$(mktemp -d)
installed=0
sim_pid=
cleanup() {
    [ -z "$sim_pid" ] || { kill "$sim_pid" && wait "$sim_pid"; } 2>/dev/null || true
    if [ $installed -eq 1 ]; then
        "${sudo[@]}" dpkg --purge "$name" > "$work/remove.log" 2>&1 \
            && echo "removed $name" || { cat "$work/remove.log"; echo "could not remove $name"; }
    fi
    rm -rf "$work"
}
trap cleanup EXIT
source scripts/checks.sh

bash scripts/package.sh > "$work/package.log" 2>&1 || { cat "$work/package.log"; exit 1; }
deb=$(tail -n 1 "$work/package.log")
echo "package: $deb"

echo "-- lintian"
lintian_rc=0
lintian --fail-on error --display-info "$deb" > "$work/lintian.log" 2>&1 || lintian_rc=$?
grep -v "^running with root privileges" "$work/lintian.log" || echo "(lintian: no tags)"
check "lintian reports no error" test $lintian_rc -eq 0

echo "-- contents"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort > "$work/contents"
cat > "$work/expected" <<'LIST'
./usr/bin/lumoq4-display-sim
./usr/bin/lumoq4-utility
./usr/bin/lumoq4ctl
./usr/share/applications/lumoq4-utility.desktop
./usr/share/bash-completion/completions/lumoq4ctl
./usr/share/doc/lumoq4-utility/changelog.Debian.gz
./usr/share/doc/lumoq4-utility/copyright
./usr/share/icons/hicolor/64x64/apps/lumoq4-utility.png
./usr/share/lintian/overrides/lumoq4-utility
./usr/share/man/man1/lumoq4-display-sim.1.gz
./usr/share/man/man1/lumoq4-utility.1.gz
./usr/share/man/man1/lumoq4ctl.1.gz
./usr/share/metainfo/example.lumoq4.utility.metainfo.xml
LIST
check "the package holds exactly the expected files" diff "$work/expected" "$work/contents"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
depends_on_qt() { [[ $depends == *"libqt6serialport6 (>= "* && $depends == *"libqt6widgets6 (>= "* ]]; }
check "the computed dependencies name the serial and widget libraries" depends_on_qt
dpkg-deb -x "$deb" "$work/root"
check "appstreamcli validates the metadata with the desktop file" \
    appstreamcli validate-tree --no-net "$work/root"

echo "-- installed"
"${apt[@]}" install -s "./$deb" > "$work/simulate.log" 2>&1 || { cat "$work/simulate.log"; exit 1; }
if grep -q "^Remv" "$work/simulate.log"; then
    cat "$work/simulate.log"
    echo "test-package: installing would remove other packages; not installing."
    exit 1
fi
installed=1
"${apt[@]}" install -y -qq "./$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
echo "installed $(dpkg-query -W -f='${Package} ${Version}' "$name")"
ldd /usr/bin/lumoq4-utility > "$work/ldd"
check "/usr/bin/lumoq4-utility finds every library" test -z "$(grep "not found" "$work/ldd")"

export XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
/usr/bin/lumoq4-display-sim --headless --link "$work/display" --firmware-version V4.21 \
    > "$work/sim.out" 2> "$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do [ -e "$work/display" ] && break; sleep 0.1; done
text=$(/usr/bin/lumoq4ctl --port "$work/display" version 2>&1) || true
json=$(/usr/bin/lumoq4ctl --port "$work/display" --json version 2>&1) || true
echo "lumoq4ctl version: $text"$'\n'"lumoq4ctl --json version: $json"
check "the installed lumoq4ctl reads the simulator's version" test "$text" = V4.21
check "its JSON answer carries the version and exit 0" python3 -c 'import json, sys
a = json.loads(sys.argv[1]); assert (a["version"], a["status"], a["exit"]) == ("V4.21", 0, 0), a' "$json"

checks_done test-package
