#!/usr/bin/env bash
# Times the window's touch of N selected rows (Modified from the displayed date/time, default 100,000) against
# stkcli doing the same to the same files, in one run; best of three each. BUILD (default build/) is configured with
# the benchmark programs and built first.
#
#     bench/touch_bench.sh [BUILD [N]]
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
N=${2:-100000}
export TZ=UTC LC_ALL=C QT_QPA_PLATFORM=offscreen

source "$(dirname "$0")/benchsupport.sh"
build_benchmarks "$BUILD"
make_work "$N"
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The whole stkcli command; stkcli expands the quoted wildcard itself.
stkcli_ms() { elapsed_ms "$BUILD/stkcli" "$work/files/*" /MS /D:05/06/01 /T:13:14:15; }

# The window's touch run alone, as touch_bench measures it inside the program.
window_ms() {
    "$BUILD/touch_bench" "$work/files" | tee "$work/window.txt" | awk '/^touch run:/ { print $3 }'
}

best() { sort -n | head -1; }

stkcli_best=$(for _ in 1 2 3; do stkcli_ms; done | best)
window_best=$(for _ in 1 2 3; do window_ms; done | best)

echo "files:                       $N"
echo "stkcli /MS /D: /T: (whole):  ${stkcli_best} ms"
echo "window touch run:            ${window_best} ms"
grep 'status bar repaints' "$work/window.txt" | sed 's/^/window (last run) /'
awk -v w="$window_best" -v s="$stkcli_best" 'BEGIN { printf "ratio window/stkcli:         %.2f\n", (s > 0 ? w / s : 0) }'
