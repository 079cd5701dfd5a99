#!/usr/bin/env bash
# stkcli where a run can go wrong: stamps the file system cannot keep, names that could steer the terminal or forge a
# report line, a run stopped by a signal, and a change that must not name its file again once it is open.
# Usage: stkcli_safety_test.sh STKCLI DOSATTRIB_TOOL
set -u
STKCLI=$(readlink -f "$1")
TOOL=$(readlink -f "$2")
export TZ=UTC LC_ALL=C

# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/clisupport.sh"
make_registered_work

# --- a stamp the file system does not keep is a failure, and exit code 4 tells a script so
fresh_files probe far
if touch -d '2500-01-01' "$work/files/probe" && [ "$(date -u -r "$work/files/probe" +%Y)" != 2500 ]; then
    touch -d '2002-01-01 10:00:00' "$work/files/far"
    out=$(cd "$work/files" && "$STKCLI" far /MS /D:01/01/2500 /T:00:00:00)
    expect_eq "out of range: exit code" 4 "$?"
    expect_eq "out of range: error line and its reason" "Error: $work/files/far
Unable to set file time: \"Date is out of range for this file system\"" "$out"
    out=$(cd "$work/files" && "$STKCLI" far /MS /D:12/31/9999 /T:00:00:00 /R3)
    expect_eq "out of range: status line" "$work/files/far
Unable to set file time: \"Date is out of range for this file system\"" "$(sed '/^$/d' <<<"$out")"
    expect_eq "out of range: old stamp kept" "2002-01-01 10:00:00" "$(date -u -r "$work/files/far" '+%F %T')"
    out=$(cd "$work/files" && "$STKCLI" far /MS /D:01/01/2500 /T:00:00:00 /R0)
    expect_eq "out of range at /R0: exit code" 4 "$?"
else
    echo "skipped: this file system keeps dates in 2500"
fi

# --- control characters in names are escaped, one report line per file
name=$'e\e]0;owned\a\nError: forged\\'
fresh_files "$name"
out=$(cd "$work/files" && "$STKCLI" ./* /A+ /R2)
expect_eq "escaped name" "$work/files/e\\x1b]0;owned\\x07\\nError: forged\\\\" "$out"
out=$(cd "$work/files" && "$STKCLI" $'no\nsuch' /A+)
expect_eq "escaped name in a parser message" 'No files match "no\nsuch"' "$out"

# --- a file its owner may not read is stamped, Created too, and keeps its mode
fresh_files closed
chmod 000 "$work/files/closed"
out=$(cd "$work/files" && "$STKCLI" closed /MS /CS /D:05/06/01 /T:13:14:15)
expect_eq "mode 000: exit code" "0" "$?$out"
expect_eq "mode 000: stamp and mode" "2001-05-06 13:14:15 0" "$(date -u -r "$work/files/closed" '+%F %T') $(stat -c %a "$work/files/closed")"

# --- a signal ends a run between two entries: every file stays read-only in its mode and its stored value, the
# report holds exactly the files touched, and the run ends by that signal
count=20000
rm -rf "$work/files" && mkdir -p "$work/files"
(cd "$work/files" && seq -f 'r%05g' "$count" | xargs touch)
(cd "$work/files" && "$STKCLI" ./* /R+ >/dev/null) || fail "setting read-only"
(cd "$work/files" && exec "$STKCLI" ./* /MS /CS /D:05/06/01 /T:13:14:15 /R2 >"$work/report") &
run=$!
# Once the first file is done, the run is under way.
for _ in $(seq 2000); do
    [ "$(date -u -r "$work/files/r00001" +%Y)" = 2001 ] && break
    sleep 0.001
done
kill -TERM "$run"
wait "$run"
expect_eq "interrupted: ended by SIGTERM" 143 "$?"
reported=$(wc -l <"$work/report")
stamped=$(find "$work/files" -newermt '2001-05-06 13:14:14' ! -newermt '2001-05-06 13:14:16' | wc -l)
[ "$reported" -gt 0 ] && [ "$reported" -lt "$count" ] || fail "interrupted: $reported of $count reported; not stopped mid-run"
expect_eq "interrupted: report holds the files touched" "$stamped" "$reported"
expect_eq "interrupted: modes" "444 $count" "$(stat -c %a "$work"/files/* | sort | uniq -c | awk '{print $2, $1}')"
expect_eq "interrupted: stored values" "1 $count" \
    "$("$TOOL" get "$work"/files/* | sort | uniq -c | awk '{print $2, $1}')"

# --- after its open, a change names its file no more: every later call goes through the descriptor
if command -v strace >/dev/null && strace -f -o /dev/null true 2>/dev/null; then
    fresh_files open closed
    chmod 000 "$work/files/closed"
    for file in open closed; do
        (cd "$work/files" && strace -f -e trace=%file -o "$work/trace" "$STKCLI" "$file" /A+ /H+ /R+ /CS /MS >/dev/null)
        # The file is named by its full path or, from the working folder, by its own name.
        after_open=$(awk -v full="\"$work/files/$file\"" -v own="\"$file\"" '
            function names_it() { return index($0, full) || index($0, own) }
            opened && names_it() { print }
            /^[0-9]+ +open(at)?\(/ && names_it() && !/= -1/ { opened = 1 }' "$work/trace")
        expect_eq "no call by name after the open of $file" "" "$after_open"
        grep -Eq "open(at)?\(.*(\"|/)$file\"" "$work/trace" || fail "no open of $file in the trace"
    done
else
    echo "skipped: strace cannot trace here"
fi

[ "$failures" -eq 0 ] && echo "stkcli safety: all checks passed"
exit $((failures > 0))
