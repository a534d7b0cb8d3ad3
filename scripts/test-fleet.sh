#!/usr/bin/env bash
# Runs the fleet playbooks of docs/fleet with Debian's Ansible against this machine: an
# inventory of "displays" that are all localhost, each with its own simulated display on a
# pseudo-terminal, lumoq4ctl and the simulator from the build-test build (built if missing).
#   version.yml: every display's version is collected; a silent display is reported, not fatal.
#   firmware.yml, batches of 2 over 5 displays, display3 going silent at block 2: the hosts of
#   batch 1 (and display4 beside display3) receive the image, display5 is never touched, the
#   playbook fails, the service password never shows and no private folder is left behind.
#   scripts/test-fleet.sh
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build-test
cmake --preset "$build" > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j 2 --target lumoq4ctl lumoq4-display-sim > "$build.fleet.log" 2>&1 \
    || { cat "$build.fleet.log"; exit 1; }
sim="$root/$build/tools/displaysim/lumoq4-display-sim"

work=$(mktemp -d /tmp/lumoq4-fleet.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
source scripts/checks.sh

# Display N answers the version V2.0N; display3 stops answering at block 2; display6 is silent.
start_display() { # start_display N OPTIONS...
    local n=$1
    shift
    "$sim" --headless --link "$work/fleet.$n" --save-image "$work/image.$n" "$@" \
        > "$work/sim.$n.out" 2> "$work/sim.$n.err" &
    pids+=($!)
}
for n in 1 2 4 5; do start_display $n --firmware-version "V2.0$n"; done
start_display 3 --firmware-version V2.03 --silent-at-block 2
start_display 6 --silent
for n in 1 2 3 4 5 6; do
    for _ in $(seq 100); do [ -e "$work/fleet.$n" ] && break; sleep 0.1; done
done

{
    echo "[displays]"
    for n in 1 2 3 4 5; do echo "display$n lumoq4_port=$work/fleet.$n"; done
    echo "[displays:vars]"
    echo "ansible_connection=local"
    echo "ansible_python_interpreter=/usr/bin/python3"
} > "$work/fleet.ini"
printf '[displays]\ndisplay6 lumoq4_port=%s\n' "$work/fleet.6" > "$work/silent.ini"

mkdir -p "$work/ansible" "$work/tmp" "$work/config"
: > "$work/ansible.cfg"
export ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_HOME="$work/ansible" ANSIBLE_NOCOLOR=1
export ANSIBLE_LOCAL_TEMP="$work/ansible/tmp" ANSIBLE_REMOTE_TMP="$work/ansible/tmp"
export ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_FORKS=6
export TMPDIR="$work/tmp" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen
export PATH="$root/$build/src/ctl:$PATH"

echo "-- version.yml"
start=$SECONDS
version_rc=0
ansible-playbook -i "$work/fleet.ini" -i "$work/silent.ini" docs/fleet/version.yml \
    -e "lumoq4_report=$work/versions.json" > "$work/version.log" 2>&1 || version_rc=$?
cat "$work/version.log"
echo "version.yml took $((SECONDS - start)) s"
check "version.yml succeeds although display6 does not answer" test $version_rc -eq 0
check "the report holds every display's version, and display6's silence" python3 -c '
import json, sys
report = json.load(open(sys.argv[1]))
assert sorted(report) == ["display1", "display2", "display3", "display4", "display5",
                          "display6"], report
for n in range(1, 6):
    answer = report["display%d" % n]
    assert answer["version"] == "V2.0%d" % n and answer["exit"] == 0, answer
assert report["display6"]["exit"] == 4 and "version" not in report["display6"], report
' "$work/versions.json"
summary_names_everyone() {
    grep -q '"display1: V2.01 ' "$work/version.log" && grep -q '"display5: V2.05 ' "$work/version.log" \
        && grep -q '"display6: no version (exit 4: ' "$work/version.log"
}
check "the summary has a line for each display" summary_names_everyone

echo "-- firmware.yml"
python3 -c 'import sys; open(sys.argv[1], "wb").write(bytes(range(256)) + b"LumoQ4" * 7 + b"!!")' \
    "$work/image.bin"
printf 'lumoq4_service_password: KQZD\n' > "$work/secrets.yml"
printf 'fleet-test\n' > "$work/vault-pass"
ansible-vault encrypt --vault-password-file "$work/vault-pass" "$work/secrets.yml" > /dev/null
cp "$work/sim.5.err" "$work/sim.5.err.before"
start=$SECONDS
firmware_rc=0
ansible-playbook -v -i "$work/fleet.ini" docs/fleet/firmware.yml \
    -e "firmware_image=$work/image.bin" -e batch_size=2 -e "lumoq4_report=$work/rollout.jsonl" \
    -e '{"lumoq4_firmware_options": ["--crc"]}' \
    -e "@$work/secrets.yml" --vault-password-file "$work/vault-pass" \
    > "$work/firmware.log" 2>&1 || firmware_rc=$?
cat "$work/firmware.log"
echo "firmware.yml took $((SECONDS - start)) s"
check "firmware.yml fails (exit 2)" test $firmware_rc -eq 2
# The image as the display keeps it: padded with 0x1A to whole blocks of 128 bytes.
python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); d += b"\x1a" * (-len(d) % 128)
open(sys.argv[2], "wb").write(d)' "$work/image.bin" "$work/expected.bin"
for n in 1 2 4; do
    check "display$n received the image" cmp "$work/expected.bin" "$work/image.$n"
done
check "display3 received no whole image" test ! -e "$work/image.3"
check "display5 (batch 3) received nothing" cmp "$work/sim.5.err.before" "$work/sim.5.err"
check "display5 never ran a task" bash -c "! grep -q '^display5 ' '$work/firmware.log'"
check "each host's answer of batches 1 and 2 is reported" python3 -c '
import json, sys
lines = [json.loads(line) for line in open(sys.argv[1])]
by_host = {line["host"]: line for line in lines}
assert sorted(by_host) == ["display1", "display2", "display3", "display4"], lines
for host in ("display1", "display2", "display4"):
    assert by_host[host]["exit"] == 0 and by_host[host]["blocks"] == 3, by_host[host]
assert by_host["display3"]["exit"] == 4, by_host["display3"]
' "$work/rollout.jsonl"
check "the service password never shows" bash -c "! grep -q KQZD '$work/firmware.log'"
check "no private folder is left on the hosts" test -z "$(ls -A "$work/tmp")"

checks_done test-fleet
