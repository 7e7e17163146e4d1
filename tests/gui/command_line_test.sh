#!/usr/bin/env bash
# `torvane` options that end before any window, run with no display under a time limit, so a
# program that opened a window (or waited for one) fails instead of hanging.
#   command_line_test.sh PROGRAM VERSION
set -uo pipefail
program=$1
version=$2
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# Whether FILE matches PATTERN; the pattern "empty" asks for an empty file.
matches() {
    if [ "$2" = empty ]; then [ ! -s "$1" ]; else grep -Eq -- "$2" "$1"; fi
}

# expected status | stdout pattern | stderr pattern | arguments...
check() {
    local status=$1 stdout=$2 stderr=$3
    shift 3
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 20 "$program" "$@" >"$out" 2>"$err"
    local rc=$?
    if [ "$rc" -ne "$status" ] || ! matches "$out" "$stdout" || ! matches "$err" "$stderr"; then
        echo "FAIL: torvane $*: status $rc (expected $status)" >&2
        sed 's/^/  out: /' "$out" >&2
        sed 's/^/  err: /' "$err" >&2
        failures=$((failures + 1))
    fi
}

check 0 '^Usage: torvane \[options\] \[FILE\]$' empty -h some.chg
check 0 "^torvane ${version//./\\.}\$" empty --version
check 2 empty "Unknown option 'bogus'" --bogus
check 2 empty 'unknown language "de" \(en or zh_CN\)' --lang de
check 2 empty "Missing value after '-platform'" -platform

if [ "$failures" -ne 0 ]; then
    echo "$failures case(s) failed" >&2
    exit 1
fi
echo "all command-line cases passed"
