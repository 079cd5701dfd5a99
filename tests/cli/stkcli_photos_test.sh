#!/usr/bin/env bash
# stkcli setting photos' and videos' stamps from the date each one records: real files made here with ImageMagick,
# exiv2, exiftool, heif-enc, cjxl and ffmpeg.
# Usage: stkcli_photos_test.sh STKCLI DOSATTRIB_TOOL
set -u
STKCLI=$(readlink -f "$1")
TOOL=$(readlink -f "$2")
export TZ=UTC LC_ALL=C
for program in convert exiv2 exiftool heif-enc cjxl ffmpeg; do
    command -v $program >/dev/null || { echo "skipped: $program is missing"; exit 77; }
done

# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/clisupport.sh"
make_registered_work
fresh_files notes.txt
cd "$work/files" || exit 1
convert -size 8x8 xc:red taken.jpg
convert -size 8x8 xc:blue plain.png
cp taken.jpg local.jpg
# Taken at 13:14:15.5 two hours east of UTC; the second photo has no offset, so the machine's zone (UTC) counts.
exiv2 -M'set Exif.Photo.DateTimeOriginal 2001:05:06 13:14:15' -M'set Exif.Photo.SubSecTimeOriginal 5' \
    -M'set Exif.Photo.OffsetTimeOriginal +02:00' taken.jpg
exiv2 -M'set Exif.Photo.DateTimeOriginal 2010:01:02 03:04:05' local.jpg
touch -d '2020-02-02 02:02:02' ./*

out=$("$STKCLI" '*' /ME /CE /R3)
expect_eq "a file without a recorded date: exit code" 4 "$?"
expect_eq "report" "$work/files/local.jpg
	M: 01/02/2010 03:04:05	C: 01/02/2010 03:04:05	     

$work/files/notes.txt
No recorded date in the file

$work/files/plain.png
No recorded date in the file

$work/files/taken.jpg
	M: 05/06/2001 11:14:15	C: 05/06/2001 11:14:15	     " "$out"
expect_eq "Modified on disk" "2001-05-06 11:14:15.500000000" "$(date -u -r taken.jpg '+%F %T.%N')"
expect_eq "Created in user.DOSATTRIB" "989147655" "$("$TOOL" created taken.jpg)"
expect_eq "no date: stamps kept" "2020-02-02 02:02:02 none" "$(date -u -r plain.png '+%F %T') $("$TOOL" created plain.png)"

out=$("$STKCLI" notes.txt taken.jpg /CE /A+)
expect_eq "errors only: exit code" 4 "$?"
expect_eq "errors only: the file without a date, and why" "Error: $work/files/notes.txt
No recorded date in the file" "$out"
expect_eq "its other changes still apply" "20" "$("$TOOL" get notes.txt)"

# One of each newer kind, all recorded at 2021-06-12 12:03:22 UTC: HEIC and AVIF from libheif's encoder, JPEG XL from
# cjxl, an MP4's movie header time and a MOV's QuickTime creation date (local time with its offset).
mkdir "$work/media" && cd "$work/media" || exit 1
convert -size 16x16 xc:green source.jpg
exiftool -q -overwrite_original -DateTimeOriginal='2021:06:12 14:03:22' -SubSecTimeOriginal=25 \
    -OffsetTimeOriginal=+02:00 source.jpg
heif-enc -q 50 -o photo.heic source.jpg >/dev/null
heif-enc -A -q 50 -o photo.avif source.jpg >/dev/null
cjxl source.jpg photo.jxl >/dev/null 2>&1
rm source.jpg
clip() { ffmpeg -loglevel error -f lavfi -i color=c=blue:s=16x16:d=0.1 "$@"; }
clip -metadata creation_time=2021-06-12T12:03:22Z clip.mp4
clip -movflags use_metadata_tags -metadata com.apple.quicktime.creationdate=2021-06-12T14:03:22.25+02:00 clip.mov
"$STKCLI" '*' /ME
expect_eq "newer kinds: exit code" 0 "$?"
for file in photo.heic photo.avif photo.jxl clip.mov; do
    expect_eq "$file: Modified" "2021-06-12 12:03:22.250000000" "$(date -u -r $file '+%F %T.%N')"
done
expect_eq "clip.mp4: Modified" "2021-06-12 12:03:22.000000000" "$(date -u -r clip.mp4 '+%F %T.%N')"

# A run that reads no recorded date never loads the readers; one that does, does.
loads() { LD_DEBUG=files "$STKCLI" "$@" 2>&1 >/dev/null | grep -q 'file=.*stampkeep_media.so' && echo yes || echo no; }
expect_eq "stamp-only run: plugin not loaded" no "$(loads photo.heic /MS /D:01/02/2003 /T:04:05:06)"
expect_eq "recorded-date run: plugin loaded" yes "$(loads photo.heic /ME)"

# Without its plugin, a run that reads dates says why for each file; the other stamps still apply.
mkdir "$work/bare" && cp "$STKCLI" "$work/bare/stkcli"
out=$("$work/bare/stkcli" photo.heic /ME /CS /D:01/02/2003 /T:04:05:06 /R3)
expect_eq "missing plugin: exit code" 4 "$?"
expect_eq "missing plugin: the reason" "Cannot read recorded dates: $work/bare/stampkeep_media.so: cannot open \
shared object file: No such file or directory" "$(sed -n 2p <<<"$out" | tr -d '\r')"
expect_eq "missing plugin: Created still set" "2003-01-02 04:05:06" "$(date -u -d @"$("$TOOL" created photo.heic)" '+%F %T')"

# A stop request ends a long read within one entry: a 2 GB sparse file that begins like a JPEG, SIGTERM after 0.3 s.
printf '\xff\xd8\xff\xe0\x00\x10JFIF\x00' >huge.jpg && truncate -s 2G huge.jpg
start=$(date +%s%N)
"$STKCLI" huge.jpg /ME >/dev/null &
sleep 0.3
kill -TERM $!
wait $!
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
expect_eq "stopped read: ended by SIGTERM" 143 "$status"
[ "$elapsed_ms" -lt 1300 ] || fail "stopped read: took $elapsed_ms ms, over a second after the signal"

[ $failures -eq 0 ] || exit 1
echo "stkcli photos: all checks passed"
