# Shared by the benchmark scripts (sourced): the build, a temporary work folder that stkcli sees as Stampkeep's, and a
# timer.
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

# build_benchmarks DIR: builds DIR with the benchmark programs, which a plain build leaves out; the build's own output
# goes to standard error, apart from the figures.
build_benchmarks() {
    build "$1" -DSTAMPKEEP_BENCH=ON >&2
}

# make_work N [EXTENSION]: sets $work (removed at exit), with N empty files in $work/files (named with EXTENSION, txt
# without) and the app-path registration pointing at a stand-in program, so that stkcli runs without a window.
make_work() {
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    export XDG_CONFIG_HOME=$work/config
    mkdir -p "$XDG_CONFIG_HOME/stampkeep" "$work/files"
    printf '#!/bin/sh\n' > "$work/stampkeep" && chmod +x "$work/stampkeep"
    echo "$work/stampkeep" > "$XDG_CONFIG_HOME/stampkeep/app-path"
    (cd "$work/files" && seq -f "file%0${#1}g.${2:-txt}" "$1" | xargs touch)
}

# elapsed_ms COMMAND...: the wall time of one run, in milliseconds; the output is dropped.
elapsed_ms() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}
