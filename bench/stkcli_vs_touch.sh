#!/usr/bin/env bash
# Times stkcli against GNU touch on the same N files (default 10,000): stamps only, then attributes only; the median
# of ROUNDS rounds (default 11) in which the three commands take turns. BUILD (default build/) is configured with the
# benchmark programs and built first.
#
#     bench/stkcli_vs_touch.sh [BUILD [N]]
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
STKCLI=$BUILD/stkcli
N=${2:-10000}
ROUNDS=${ROUNDS:-11}
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
check_rounds
build_benchmarks "$BUILD"
make_work "$N"

# run NAME [WRAPPER...]: one run of a compared command on every file, under WRAPPER if given. A failed run stops the
# script, as its time or its calls would mean nothing.
run() {
    local name=$1
    shift
    case $name in
        touch) "$@" touch -d '2001-05-06 13:14:15' ./* ;;
        stamp) "$@" "$STKCLI" ./* /MS /D:05/06/01 /T:13:14:15 ;;
        attr) "$@" "$STKCLI" ./* /A+ /R+ ;;
        unattr) "$@" "$STKCLI" ./* /A- /R- >/dev/null ;; # so that every /A+ /R+ run has attributes to change
    esac || { echo "stkcli_vs_touch: the $name run failed with exit code $?" >&2; exit 1; }
}


# Each round's ratios come from runs side by side, so that a busy moment of the machine falls on both sides of the
# ratio; the first command moves on by one each round, so that none is always first.
cd "$work/files"
names=(touch stamp attr)
declare -A ms
for ((r = 0; r < ROUNDS; r++)); do
    for i in 0 1 2; do
        name=${names[(r + i) % 3]}
        ms[$name]=$(elapsed_ms run "$name")
        echo "${ms[$name]}" >>"$work/$name.ms"
        if [ "$name" = attr ]; then run unattr; fi
    done
    for name in stamp attr; do
        awk -v x="${ms[$name]}" -v t="${ms[touch]}" 'BEGIN { print (t > 0 ? x / t : 0) }' >>"$work/$name.ratio"
    done
done

# calls_per_file NAME: system calls per file of one run, when strace is at hand.
calls_per_file() {
    command -v strace >/dev/null || { echo "(no strace)"; return; }
    run "$1" strace -f -c -o "$work/strace.txt" >/dev/null
    awk -v n="$N" '$NF == "total" { printf "%.1f\n", $(NF-2) / n }' "$work/strace.txt"
}
touch_calls=$(calls_per_file touch)
stamp_calls=$(calls_per_file stamp)
attr_calls=$(calls_per_file attr)
run unattr

echo "files, rounds:            $N, $ROUNDS (medians)"
echo "GNU touch -d:             $(median <"$work/touch.ms") ms"
echo "stkcli /MS /D: /T:        $(median <"$work/stamp.ms") ms"
echo "stkcli /A+ /R+:           $(median <"$work/attr.ms") ms"
printf "ratio /MS to touch:       %.2f\n" "$(median <"$work/stamp.ratio")"
printf "ratio /A+ /R+ to touch:   %.2f\n" "$(median <"$work/attr.ratio")"
echo "system calls per file:    touch ${touch_calls}, stkcli /MS ${stamp_calls}, stkcli /A+ /R+ ${attr_calls}"
# The same calls in bare loops: how much of the ratio the calls alone take.
"$BUILD/call_floor" "$work/files"
