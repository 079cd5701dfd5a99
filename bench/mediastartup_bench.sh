#!/usr/bin/env bash
# What the recorded-date readers cost a run that reads no date: stkcli against the same program built with no media
# code at all (stkcli_nomedia), optionally an older stkcli (BEFORE=PATH), and GNU touch for scale. `--version`
# (median of ROUNDS runs, default 31) and a stamp-only run over N files (default 10,000; median of 11 rounds), the
# programs taking turns.
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
N=${2:-10000}
ROUNDS=${ROUNDS:-31}
[[ $ROUNDS =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive whole number, not '$ROUNDS'" >&2; exit 2; }
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
build_benchmarks "$BUILD"
make_work "$N"
cd "$work/files"

# Each program by its path; BEFORE, when set, names one more stkcli to compare (an older build).
paths=("$BUILD/stkcli" "$BUILD/stkcli_nomedia" ${BEFORE:+"$BEFORE"})
labels=(stkcli stkcli_nomedia ${BEFORE:+before})
count=${#paths[@]}
# Side by side in each round, the first program moving on by one each round.
for ((r = 0; r < ROUNDS; r++)); do
    for ((i = 0; i < count; i++)); do
        k=$(((r + i) % count))
        elapsed_us "${paths[k]}" --version >>"$work/${labels[k]}-version.us"
    done
    elapsed_us touch --version >>"$work/touch-version.us"
done
for ((r = 0; r < 11; r++)); do
    for ((i = 0; i < count; i++)); do
        k=$(((r + i) % count))
        elapsed_us "${paths[k]}" ./* /MS /D:05/06/01 /T:13:14:15 >>"$work/${labels[k]}-stamp.us"
    done
done
for label in "${labels[@]}"; do
    printf '%-15s --version %6s us   %s-file stamp run %8s us\n' "$label" "$(median <"$work/$label-version.us")" \
        "$N" "$(median <"$work/$label-stamp.us")"
done
printf '%-15s --version %6s us\n' "touch" "$(median <"$work/touch-version.us")"
