#!/usr/bin/env bash
# stkcli setting photos' stamps from the date each one records: real files made here with ImageMagick and exiv2.
# Usage: stkcli_photos_test.sh STKCLI DOSATTRIB_TOOL
set -u
STKCLI=$(readlink -f "$1")
TOOL=$(readlink -f "$2")
export TZ=UTC LC_ALL=C
for program in convert exiv2; do
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
expect_eq "errors only: the file without a date" "Error: $work/files/notes.txt" "$out"
expect_eq "its other changes still apply" "20" "$("$TOOL" get notes.txt)"

[ $failures -eq 0 ] || exit 1
echo "stkcli photos: all checks passed"
