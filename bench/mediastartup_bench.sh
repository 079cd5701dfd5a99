#!/usr/bin/env bash
# What the recorded-date readers cost a run that reads no date: stkcli against the same program built with no media
# code at all (stkcli_nomedia), and GNU touch for scale. `--version` (median of ROUNDS runs, default 31) and a
# stamp-only run over N files (default 10,000; median of 11 rounds), the programs taking turns.
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


programs=(stkcli stkcli_nomedia)
for ((r = 0; r < ROUNDS; r++)); do
    for i in 0 1; do
        program=${programs[(r + i) % 2]}
        elapsed_us "$BUILD/$program" --version >>"$work/$program-version.us"
    done
    elapsed_us touch --version >>"$work/touch-version.us"
done
for ((r = 0; r < 11; r++)); do
    for i in 0 1; do
        program=${programs[(r + i) % 2]}
        elapsed_us "$BUILD/$program" ./* /MS /D:05/06/01 /T:13:14:15 >>"$work/$program-stamp.us"
    done
done
for program in stkcli stkcli_nomedia; do
    printf '%-15s --version %6s us   %s-file stamp run %8s us\n' "$program" "$(median <"$work/$program-version.us")" \
        "$N" "$(median <"$work/$program-stamp.us")"
done
printf '%-15s --version %6s us\n' "touch" "$(median <"$work/touch-version.us")"
