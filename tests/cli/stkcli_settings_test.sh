#!/usr/bin/env bash
# stkcli and what may stand in the settings file's place: a FIFO, a folder, a file past 1 MiB, one it may not read,
# one saved with a byte-order mark. A run without a preset switch never opens the file; a preset switch says why the
# file was not read. Every run is killed after 10 s (a stop signal waits for the run), so that one that blocks fails
# instead of hanging.
# Usage: stkcli_settings_test.sh STKCLI
set -u
STKCLI=$(readlink -f "$1")
export TZ=UTC LC_ALL=C

# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/clisupport.sh"
make_registered_work
# No ../share/stampkeep beside the stand-in, so the settings file lies beside it.
ini=$work/app/stampkeep.ini

# run EXPECTED_EXIT ARGS...: runs stkcli in the files folder, keeps its output in $out.
run() {
    local expected=$1
    shift
    out=$(cd "$work/files" && timeout -k 5 10 "$STKCLI" "$@")
    local code=$?
    expect_eq "exit code of stkcli $*" "$expected" "$code"
}

mtime() { date -u -r "$work/files/$1" '+%F %T'; }

# --- without a preset switch the settings file is not looked at, so a FIFO there holds nothing up
rm -rf "$ini" && mkfifo "$ini"
fresh_files a.txt
run 0 a.txt /A+ /R2
expect_eq "FIFO, no preset: file reported" "$work/files/a.txt" "$out"
touch -d '2002-01-01 10:00:00' "$work/files/a.txt"
run 0 a.txt /A+ /MS /D:05/06/01 /T:13:14:15
expect_eq "FIFO, no preset: file touched" "2001-05-06 13:14:15" "$(mtime a.txt)"

# A regular file, so that a traced run which did read it could not block: a run without a preset does not name it.
if command -v strace >/dev/null && strace -f -o /dev/null true 2>/dev/null; then
    rm -f "$ini" && printf '[Preset1]\nEnabled=1\nMod=1\n' > "$ini"
    (cd "$work/files" && timeout -k 5 10 strace -f -e trace=%file -o "$work/trace" "$STKCLI" a.txt /A+ >/dev/null)
    expect_eq "no preset: settings file not named by any call" "" "$(grep 'stampkeep\.ini' "$work/trace")"
    rm -f "$ini" && mkfifo "$ini"
else
    echo "skipped: strace cannot trace here"
fi

# --- a preset switch says why the file was not read, then that the preset is not configured, and touches nothing
refused() { # NAME REASON
    touch -d '2002-01-01 10:00:00' "$work/files/a.txt"
    run 1 a.txt /1
    expect_eq "$1: messages" "Cannot read $ini: $2
Preset # 1 is not configured." "$out"
    expect_eq "$1: file not touched" "2002-01-01 10:00:00" "$(mtime a.txt)"
}
refused FIFO "not a regular file"
rm -f "$ini" && mkdir "$ini"
refused folder "not a regular file"
rmdir "$ini" && printf '[Preset1]\nEnabled=1\nMod=1\n' > "$ini" && truncate -s 2M "$ini"
refused "2 MiB file" "2.1 MB, more than a settings file may hold (1 MiB)"
printf '[Preset1]\nEnabled=1\nMod=1\n' > "$ini" && chmod 000 "$ini"
if [ "$(id -u)" -ne 0 ]; then
    refused "unreadable file" "Permission denied"
else
    echo "skipped: root reads a file of mode 000"
fi
rm -f "$ini"

# --- a byte-order mark before the first section: preset 1 is found and used
printf '\xEF\xBB\xBF[Preset1]\r\nEnabled=1\r\nClock=-1\r\nDate=05/06/01\r\nTime=13:14:15\r\nMod=1\r\n' > "$ini"
touch -d '2002-01-01 10:00:00' "$work/files/a.txt"
run 0 a.txt /1
expect_eq "byte-order mark: preset applied" "2001-05-06 13:14:15" "$(mtime a.txt)"

[ "$failures" -eq 0 ] && echo "stkcli settings file: all checks passed"
exit $((failures > 0))
