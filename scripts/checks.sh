# The checks of a test script: `check DESCRIPTION COMMAND...` runs the command and prints
# "ok: DESCRIPTION" or "FAILED: DESCRIPTION", counting failures; `checks_done NAME` ends with
# the count and the script's status. Sourced by scripts/test-package.sh and test-fleet.sh.
failures=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
checks_done() {
    if [ $failures -ne 0 ]; then
        echo "$1: $failures check(s) failed."
        exit 1
    fi
    echo "$1: every check passed."
}
