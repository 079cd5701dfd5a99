#!/usr/bin/env bash
# Times stkcli reading the recorded date of N real files of each kind (default 1,000: JPEG photos, HEIC photos from
# libheif's encoder, short MP4 clips) against a stamp-only stkcli run over the same files, per file: the median of
# ROUNDS rounds (default 11) in which the two take turns. Each file's date has a fraction and an offset.
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
N=${2:-1000}
ROUNDS=${ROUNDS:-11}
[[ $ROUNDS =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive whole number, not '$ROUNDS'" >&2; exit 2; }
for tool in convert exiftool heif-enc ffmpeg; do
    command -v $tool >/dev/null || { echo "recordeddate_bench: $tool is missing (scripts/test installs it)" >&2; exit 2; }
done
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
build_benchmarks "$BUILD"
make_work "$N" jpg

# One sample of each kind, as a camera or phone would write it, copied N times.
cd "$work"
convert -size 640x480 gradient:navy-orange sample.jpg
exiftool -q -overwrite_original -Make=Stampkeep -Model='Bench 1' -ExposureTime=1/125 -FNumber=2.8 -ISO=200 \
    -DateTimeOriginal='2001:05:06 13:14:15' -SubSecTimeOriginal=25 -OffsetTimeOriginal=+02:00 sample.jpg
heif-enc -q 50 -o sample.heic sample.jpg >/dev/null
ffmpeg -loglevel error -f lavfi -i testsrc=s=320x240:d=1 -pix_fmt yuv420p -metadata creation_time=2001-05-06T11:14:15Z \
    sample.mp4
for kind in jpg heic mp4; do
    mkdir -p "$kind" && for ((i = 0; i < N; i++)); do cp "sample.$kind" "$kind/$i.$kind"; done
done

# run KIND NAME: one run of a compared command on every file of KIND. A failed run stops the script, as its time would
# mean nothing.
run() {
    case $2 in
        read) "$BUILD/stkcli" "$work/$1/*" /ME ;;
        stamp) "$BUILD/stkcli" "$work/$1/*" /MS /D:05/06/01 /T:13:14:15 ;;
    esac || { echo "recordeddate_bench: the $2 run over $1 failed with exit code $?" >&2; exit 1; }
}

per_file() { awk -v ms="$1" -v n="$N" 'BEGIN { printf "%.3f", ms / n }'; }

echo "files of each kind, rounds:  $N, $ROUNDS (medians, whole commands)"
names=(read stamp)
for kind in jpg heic mp4; do
    # Side by side in each round, the first command moving on by one each round, so that a busy moment of the machine
    # falls on both and neither is always first.
    for ((r = 0; r < ROUNDS; r++)); do
        for i in 0 1; do
            name=${names[(r + i) % 2]}
            elapsed_ms run "$kind" "$name" >>"$work/$kind-$name.ms"
        done
    done
    read_ms=$(median <"$work/$kind-read.ms")
    stamp_ms=$(median <"$work/$kind-stamp.ms")
    extra=$(awk -v r="$read_ms" -v s="$stamp_ms" 'BEGIN { print r - s }')
    printf '%-4s /ME %8s ms, stamp only %8s ms: %s ms per file for the date\n' "$kind" "$read_ms" "$stamp_ms" \
        "$(per_file "$extra")"
done
