#!/usr/bin/env bash
# Times stkcli against GNU touch on the same N files (default 10,000), in one run: stamps only, then attributes only.
set -euo pipefail
STKCLI=$(readlink -f "${1:-$(dirname "$0")/../build/stkcli}")
N=${2:-10000}
export TZ=UTC LC_ALL=C

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/stampkeep" "$work/files"
printf '#!/bin/sh\n' > "$work/stampkeep" && chmod +x "$work/stampkeep"
echo "$work/stampkeep" > "$XDG_CONFIG_HOME/stampkeep/app-path"
(cd "$work/files" && seq -f 'file%05g.txt' "$N" | xargs touch)

# best_of COMMAND...: the shortest wall time of five runs, in milliseconds.
best_of() {
    local best=
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null
        end=$(date +%s%N)
        local ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

cd "$work/files"
touch_ms=$(best_of touch -d '2001-05-06 13:14:15' ./*)
stamp_ms=$(best_of "$STKCLI" ./* /MS /D:05/06/01 /T:13:14:15)
attr_ms=$(best_of "$STKCLI" ./* /A+ /R+)
"$STKCLI" ./* /A- /R- >/dev/null

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
