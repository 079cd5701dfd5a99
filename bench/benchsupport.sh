# Shared by the benchmark scripts (sourced): the build, a temporary work folder that stkcli sees as Stampkeep's, and a
# timer.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "${BASH_SOURCE[0]}")/../tests/cli/clisupport.sh"

# build_benchmarks DIR: builds DIR with the benchmark programs, which a plain build leaves out; the build's own output
# goes to standard error, apart from the figures.
build_benchmarks() {
    build "$1" -DSTAMPKEEP_BENCH=ON >&2
}

# make_work N [EXTENSION]: the registered work folder of the stkcli tests, with N empty files in $work/files (named
# with EXTENSION, txt without).
make_work() {
    make_registered_work
    mkdir -p "$work/files"
    (cd "$work/files" && seq -f "file%0${#1}g.${2:-txt}" "$1" | xargs touch)
}

# elapsed_us COMMAND...: the wall time of one run, in microseconds; the output is dropped.
elapsed_us() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

# elapsed_ms COMMAND...: the same in milliseconds.
elapsed_ms() {
    local us
    us=$(elapsed_us "$@")
    echo $((us / 1000))
}

# check_rounds: ROUNDS must be a positive whole number.
check_rounds() {
    [[ $ROUNDS =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive whole number, not '$ROUNDS'" >&2; exit 2; }
}

# median: the median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
