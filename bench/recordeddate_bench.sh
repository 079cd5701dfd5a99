#!/usr/bin/env bash
# Times reading the recorded date of N real JPEGs (default 1,000) against a stamp-only stkcli touch of the same files,
# per photo: the median of ROUNDS rounds (default 11) in which the two take turns. Each photo is 640x480 with a
# thumbnail and a camera's usual tags, its date taken with a fraction and an offset.
set -euo pipefail
BUILD=$(readlink -f "${1:-$(dirname "$0")/../build}")
N=${2:-1000}
ROUNDS=${ROUNDS:-11}
[[ $ROUNDS =~ ^[1-9][0-9]*$ ]] || { echo "ROUNDS must be a positive whole number, not '$ROUNDS'" >&2; exit 2; }
for tool in convert exiv2; do
    command -v $tool >/dev/null || { echo "recordeddate_bench: $tool is missing (scripts/test installs it)" >&2; exit 2; }
done
export TZ=UTC LC_ALL=C

source "$(dirname "$0")/benchsupport.sh"
build_benchmarks "$BUILD"
make_work "$N" jpg

cd "$work"
convert -size 640x480 gradient:navy-orange photo.jpg
convert photo.jpg -resize 160x120 photo-thumb.jpg
exiv2 -it photo.jpg
for file in files/*.jpg; do cp photo.jpg "$file"; done
exiv2 -M'set Exif.Image.Make Stampkeep' -M'set Exif.Image.Model Bench 1' -M'set Exif.Image.DateTime 2001:05:07 09:00:00' \
    -M'set Exif.Photo.ExposureTime 1/125' -M'set Exif.Photo.FNumber 28/10' -M'set Exif.Photo.ISOSpeedRatings 200' \
    -M'set Exif.Photo.FocalLength 35/1' -M'set Exif.Photo.DateTimeOriginal 2001:05:06 13:14:15' \
    -M'set Exif.Photo.SubSecTimeOriginal 25' -M'set Exif.Photo.OffsetTimeOriginal +02:00' \
    -M'set Exif.Photo.DateTimeDigitized 2001:05:06 13:14:15' files/*.jpg

# run NAME: one run of a compared command on every photo. A failed run stops the script, as its time would mean
# nothing.
run() {
    case $1 in
        read) dated=$("$BUILD/recordeddate_bench" ./*.jpg)
              [ "$dated" = "$N" ] || { echo "recordeddate_bench: $dated of $N photos dated" >&2; exit 1; } ;;
        stamp) "$BUILD/stkcli" ./*.jpg /MS /D:05/06/01 /T:13:14:15 ;;
    esac || { echo "recordeddate_bench: the $1 run failed with exit code $?" >&2; exit 1; }
}

# median: the median of the numbers on standard input.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Side by side in each round, the first command moving on by one each round, so that a busy moment of the machine
# falls on both and neither is always first.
cd files
names=(read stamp)
for ((r = 0; r < ROUNDS; r++)); do
    for i in 0 1; do
        name=${names[(r + i) % 2]}
        elapsed_ms run "$name" >>"$work/$name.ms"
    done
done

per_photo() { awk -v ms="$1" -v n="$N" 'BEGIN { printf "%.3f", ms / n }'; }
read_ms=$(median <"$work/read.ms")
stamp_ms=$(median <"$work/stamp.ms")
echo "photos, rounds:                  $N, $ROUNDS (medians, whole commands)"
echo "reading recorded dates:          $read_ms ms, $(per_photo "$read_ms") ms per photo"
echo "stkcli /MS /D: /T: (stamp only): $stamp_ms ms, $(per_photo "$stamp_ms") ms per photo"
