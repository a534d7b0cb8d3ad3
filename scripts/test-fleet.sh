#!/usr/bin/env bash
# Runs the playbooks of docs/fleet with Debian's Ansible against "displays" that are all this
# machine, each with its own simulated display (lumoq4ctl and the simulator from build-test).
# version.yml collects every version and reports a silent display; firmware.yml in batches of 2
# over 5 displays, display3 cancelling block 2, stops after batch 2: display5 is untouched.
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

# Display N answers the version V2.0N; display3 cancels block 2 (CAN); display6 is silent.
start_display() { # start_display N OPTIONS...
    local n=$1
    shift
    "$sim" --headless --link "$work/fleet.$n" --save-image "$work/image.$n" "$@" \
        > "$work/sim.$n.out" 2> "$work/sim.$n.err" &
    pids+=($!)
}
for n in 1 2 4 5; do start_display $n --firmware-version "V2.0$n"; done
start_display 3 --firmware-version V2.03 --cancel-at-block 2
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
check "the report holds every display's version, and display6's silence" python3 -c 'import json, sys
got = {host: (a.get("version"), a["exit"]) for host, a in json.load(open(sys.argv[1])).items()}
assert got == {"display1": ("V2.01", 0), "display2": ("V2.02", 0), "display3": ("V2.03", 0),
               "display4": ("V2.04", 0), "display5": ("V2.05", 0), "display6": (None, 4)}, got
' "$work/versions.json"
check "the summary shows versions and the silence" test "$(grep -cE \
    '"display(1: V2.01|5: V2.05|6: no version \(exit 4: Device does not respond.\))' "$work/version.log")" -eq 3

echo "-- firmware.yml"
# 300 bytes; the display keeps them padded with 0x1A to whole blocks of 128 bytes.
python3 -c 'import sys; d = bytes(range(256)) + b"LumoQ4" * 7 + b"!!"; open(sys.argv[1], "wb").write(d)
open(sys.argv[2], "wb").write(d + b"\x1a" * 84)' "$work/image.bin" "$work/expected.bin"
printf 'lumoq4_service_password: KQZD\n' > "$work/secrets.yml"
printf 'fleet-test\n' > "$work/vault-pass"
ansible-vault encrypt --vault-password-file "$work/vault-pass" "$work/secrets.yml" > /dev/null
cp "$work/sim.5.err" "$work/sim.5.err.before"
start=$SECONDS
firmware_rc=0
ansible-playbook -v -i "$work/fleet.ini" docs/fleet/firmware.yml \
    -e "firmware_image=$work/image.bin" -e batch_size=2 -e "lumoq4_report=$work/rollout.jsonl" \
    -e "@$work/secrets.yml" --vault-password-file "$work/vault-pass" \
    > "$work/firmware.log" 2>&1 || firmware_rc=$?
cat "$work/firmware.log"
echo "firmware.yml took $((SECONDS - start)) s"
check "firmware.yml fails (exit 2)" test $firmware_rc -eq 2
for n in 1 2 4; do
    check "display$n received the image" cmp "$work/expected.bin" "$work/image.$n"
done
check "display3 received no whole image" test ! -e "$work/image.3"
check "display5 (batch 3) received nothing" cmp "$work/sim.5.err.before" "$work/sim.5.err"
check "display5 never ran a task" test -z "$(grep '^display5 ' "$work/firmware.log")"
check "each host's answer of batches 1 and 2 is reported" python3 -c 'import json, sys
got = {a["host"]: (a["outcome"], a["accepted"], a["exit"]) for a in map(json.loads, open(sys.argv[1]))}
assert got == {"display1": ("complete", 3, 0), "display2": ("complete", 3, 0),
               "display3": ("cancelled-by-display", 1, 6), "display4": ("complete", 3, 0)}, got
' "$work/rollout.jsonl"
check "the service password never shows" test -z "$(grep KQZD "$work/firmware.log")"
check "no private folder is left on the hosts" test -z "$(ls -A "$work/tmp")"

echo "-- firmware.yml, options as a text and a failing copy"
printf '[displays]\ndisplay1 lumoq4_port=%s ansible_connection=local %s\n' "$work/fleet.1" \
    ansible_python_interpreter=/usr/bin/python3 > "$work/one.ini"
rm -f "$work/image.1"
text_rc=0
ansible-playbook -i "$work/one.ini" docs/fleet/firmware.yml -e "firmware_image=$work/image.bin" \
    -e lumoq4_firmware_options=--crc -e "@$work/secrets.yml" \
    --vault-password-file "$work/vault-pass" > "$work/text.log" 2>&1 || text_rc=$?
cat "$work/text.log"
check "options given as a text are used (exit 0)" test $text_rc -eq 0
check "display1 received the image again" cmp "$work/expected.bin" "$work/image.1"
missing_rc=0
ansible-playbook -i "$work/one.ini" docs/fleet/firmware.yml \
    -e "firmware_image=$work/missing.bin" -e "@$work/secrets.yml" \
    --vault-password-file "$work/vault-pass" > "$work/missing.log" 2>&1 || missing_rc=$?
cat "$work/missing.log"
check "an image that cannot be copied fails the host (exit 2)" test $missing_rc -eq 2
check "the password never shows" test -z "$(grep KQZD "$work/text.log" "$work/missing.log")"
check "no private folder is left after either run" test -z "$(ls -A "$work/tmp")"

checks_done test-fleet
