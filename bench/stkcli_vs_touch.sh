#!/usr/bin/env bash
# Times stkcli against GNU touch on the same N files (default 10,000), in one run: stamps only, then attributes only.
set -euo pipefail
STKCLI=$(readlink -f "${1:-$(dirname "$0")/../build/stkcli}")
N=${2:-10000}
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
make_work "$N"

# lesser A B: the smaller number; B may be empty.
lesser() { if [ -z "$2" ] || [ "$1" -lt "$2" ]; then echo "$1"; else echo "$2"; fi; }

# The best of five rounds; the programs take turns within a round, so that a busy moment of the machine does not
# fall on one of them alone.
cd "$work/files"
touch_ms= stamp_ms= attr_ms=
for _ in 1 2 3 4 5; do
    t=$(elapsed_ms touch -d '2001-05-06 13:14:15' ./*)
    s=$(elapsed_ms "$STKCLI" ./* /MS /D:05/06/01 /T:13:14:15)
    a=$(elapsed_ms "$STKCLI" ./* /A+ /R+)
    "$STKCLI" ./* /A- /R- >/dev/null
    touch_ms=$(lesser "$t" "$touch_ms")
    stamp_ms=$(lesser "$s" "$stamp_ms")
    attr_ms=$(lesser "$a" "$attr_ms")
done

# calls_per_file COMMAND...: system calls per file of one run, when strace is at hand.
calls_per_file() {
    command -v strace >/dev/null || { echo "(no strace)"; return; }
    strace -f -c -o "$work/strace.txt" "$@" >/dev/null
    awk -v n="$N" '$NF == "total" { printf "%.1f\n", $(NF-2) / n }' "$work/strace.txt"
}
touch_calls=$(calls_per_file touch -d '2001-05-06 13:14:15' ./*)
stamp_calls=$(calls_per_file "$STKCLI" ./* /MS /D:05/06/01 /T:13:14:15)

echo "files:                    $N"
echo "GNU touch -d:             ${touch_ms} ms"
echo "stkcli /MS /D: /T:        ${stamp_ms} ms"
echo "stkcli /A+ /R+:           ${attr_ms} ms"
awk -v s="$stamp_ms" -v t="$touch_ms" 'BEGIN { printf "ratio stkcli/touch:       %.2f\n", (t > 0 ? s / t : 0) }'
echo "system calls per file:    touch ${touch_calls}, stkcli /MS ${stamp_calls}"
# The same calls in bare loops: how much of the ratio the calls alone take.
call_floor=$(dirname "$STKCLI")/call_floor
if [ -x "$call_floor" ]; then "$call_floor" "$work/files"; fi
