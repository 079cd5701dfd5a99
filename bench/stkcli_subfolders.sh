#!/usr/bin/env bash
# Times `stkcli PATTERN /SF` against `find -iname | xargs touch` on a tree of FOLDERS folders of FILES files each
# (default 1,000 x 100): the median of ROUNDS rounds (default 7) in which the two take turns; then stkcli's peak memory
# per listed file (peak RSS of the tree's run minus that of a run over one file). BUILD (default build/) is configured
# with the benchmark programs and built first.
#
#     bench/stkcli_subfolders.sh [BUILD [FOLDERS [FILES]]]
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
STKCLI=$BUILD/stkcli
FOLDERS=${2:-1000}
FILES=${3:-100}
ROUNDS=${ROUNDS:-7}
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
check_rounds
build_benchmarks "$BUILD"
make_registered_work
tree=$work/files/tree
for ((f = 0; f < FOLDERS; f++)); do
    mkdir -p "$tree/d$f"
    (cd "$tree/d$f" && seq -f "file%0${#FILES}g.txt" "$FILES" | xargs touch)
done
total=$((FOLDERS * FILES))

run() { # NAME: one run over the whole tree; a failed run stops the script, as its time would mean nothing
    case $1 in
        find) find "$tree" -iname '*.txt' -print0 | xargs -0 touch -d '2001-05-06 13:14:15' ;;
        stkcli) "$STKCLI" "$tree/*.txt" /SF /MS /D:2001-05-06 /T:13:14:15 ;;
    esac || { echo "stkcli_subfolders: the $1 run failed" >&2; exit 1; }
}

names=(find stkcli)
declare -A ms
for ((r = 0; r < ROUNDS; r++)); do
    for i in 0 1; do
        name=${names[(r + i) % 2]}
        ms[$name]=$(elapsed_ms run "$name")
        echo "${ms[$name]}" >>"$work/$name.ms"
    done
    awk -v x="${ms[stkcli]}" -v t="${ms[find]}" 'BEGIN { print (t > 0 ? x / t : 0) }' >>"$work/ratio"
done

peak_kb() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n1; }
one_kb=$(peak_kb "$STKCLI" "$tree/d0/file$(printf "%0${#FILES}d" 1).txt" /MS /D:2001-05-06 /T:13:14:15)
tree_kb=$(peak_kb "$STKCLI" "$tree/*.txt" /SF /MS /D:2001-05-06 /T:13:14:15)

echo "files, folders, rounds:   $total, $FOLDERS, $ROUNDS (medians)"
echo "find -iname | xargs touch: $(median <"$work/find.ms") ms"
echo "stkcli /SF /MS:           $(median <"$work/stkcli.ms") ms"
printf "ratio stkcli to find:     %.2f\n" "$(median <"$work/ratio")"
echo "peak RSS:                 one file ${one_kb} KiB, the tree ${tree_kb} KiB"
awk -v a="$tree_kb" -v b="$one_kb" -v n="$total" 'BEGIN { printf "bytes per listed file:    %.0f\n", (a - b) * 1024 / n }'
