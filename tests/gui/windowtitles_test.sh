#!/usr/bin/env bash
# Stampkeep on a real X server, where Qt formats window titles (the offscreen platform does not): the main window is
# named exactly "Stampkeep" and the command-line error box exactly "Stampkeep command-line error", with nothing such
# as " — Stampkeep" appended. Usage: windowtitles_test.sh PATH_TO_STAMPKEEP. Exits 77 without xvfb-run or xwininfo.
set -u

program=$(readlink -f "${1:?usage: windowtitles_test.sh PATH_TO_STAMPKEEP}")
skip() { echo "SKIP: $*"; exit 77; }
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed"
command -v xwininfo >/dev/null || skip "xwininfo is not installed"

work=$(mktemp -d "${TMPDIR:-/tmp}/stampkeep-titles-XXXXXX") || { echo "FAIL: cannot create a temporary folder"; exit 1; }
trap 'rm -rf "$work"' EXIT
# A copy of the program, so that its settings file is this test's; a home, configuration and runtime folder of its
# own, so that no running Stampkeep receives the command line instead.
cp "$program" "$work/stampkeep"
mkdir -p "$work/home" "$work/config"
mkdir -m 700 "$work/runtime"
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
# xwininfo writes the names in the locale's character set; the em dash must stay one.
export LC_ALL=C.UTF-8

# Run on the X server that xvfb-run starts: starts the program with the given arguments, waits up to 10 s for a
# top-level window named exactly $1, and fails when there is none or when a window's name has the application's name
# appended.
# shellcheck disable=SC2016
check_on_server='
expected=$1
shift
"$STAMPKEEP" "$@" >/dev/null 2>&1 &
pid=$!
# The names of the windows the program shows: the children of the root that have a window class (the hidden ones Qt
# keeps for itself have none).
names() { xwininfo -root -tree | sed -n "s/^     0x[0-9a-f]* \"\(.*\)\": (\"[^\"]*\" \"[^\"]*\").*/\1/p"; }
for _ in $(seq 100); do
    names | grep -qxF "$expected" && break
    sleep 0.1
done
found=$(names)
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
if ! grep -qxF "$expected" <<<"$found"; then
    echo "FAIL: no top-level window named \"$expected\"; top-level names:"
    printf "  %s\n" "$found"
    exit 1
fi
if grep -F "— Stampkeep" <<<"$found"; then
    echo "FAIL: a window name has the application name appended (started with: $*)"
    exit 1
fi
'

failures=0
run_case() { # expected name, arguments...
    STAMPKEEP=$work/stampkeep xvfb-run -a bash -c "$check_on_server" check "$@" || failures=$((failures + 1))
}

run_case "Stampkeep"
run_case "Stampkeep command-line error" /Q

[ "$failures" -eq 0 ] || exit 1
echo "PASS: window titles"
