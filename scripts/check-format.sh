#!/usr/bin/env bash
# Checks that every tracked .cpp and .h file is formatted as .clang-format says, and fails
# naming each file that is not. Formatting is clang-format 14's (Debian 12); another version
# may lay some lines out differently. To fix a file: clang-format -i FILE.
#   scripts/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."
format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ]; then
    echo "check-format: clang-format is not installed (scripts/setup.sh installs it)."
    exit 1
fi
files=$(git ls-files '*.cpp' '*.h')
count=$(echo "$files" | wc -l)
rc=0
report=$(echo "$files" | xargs "$format" --dry-run --Werror 2>&1) || rc=$?
unformatted=$(echo "$report" \
    | sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ -n "$unformatted" ]; then
    echo "$unformatted" | sed 's/^/not formatted: /'
    echo "Formatting: $(echo "$unformatted" | wc -l) of $count files differ (fix with: clang-format -i FILE)."
    exit 1
fi
if [ $rc -ne 0 ]; then
    echo "$report"
    echo "check-format: clang-format failed."
    exit 1
fi
echo "Formatting holds: $count files."
