#!/usr/bin/env bash
# The Debian package: built by CPack in the build folder, its contents and its checks (lintian, the desktop entry,
# the AppStream data), then unpacked into a throwaway root and used there by an ordinary user: stkcli's help and a
# touch, Stampkeep started offscreen and closed with its settings in the user's configuration folder, and the manual
# page. Usage: package_test.sh BUILD_FOLDER. Needs root, to run the unpacked programs as another user.
set -u
build=$(readlink -f "$1")
user=stampkeep-test
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: the package test needs root to run the unpacked programs as an ordinary user"
    exit 77
fi
id "$user" >/dev/null 2>&1 || useradd --create-home --shell /usr/sbin/nologin "$user"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/../cli/clisupport.sh"

rm -f "$build"/stampkeep_*.deb
(cd "$build" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$build"/stampkeep_*.deb)

# --- what the package holds
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for file in etc/stampkeep/app-path usr/bin/stampkeep usr/bin/stkcli usr/share/man/man1/stkcli.1.gz \
    usr/share/man/man1/stampkeep.1.gz usr/share/applications/org.stampkeep.Stampkeep.desktop \
    usr/share/metainfo/org.stampkeep.Stampkeep.metainfo.xml usr/share/icons/hicolor/64x64/apps/stampkeep.png \
    usr/share/icons/hicolor/scalable/apps/stampkeep.svg usr/share/stampkeep/stampkeep.html \
    usr/share/doc/stampkeep/copyright usr/share/doc/stampkeep/changelog.Debian.gz \
    "usr/lib/$(gcc -print-multiarch)/stampkeep/stampkeep_media.so"; do
    grep -qx "./$file" <<<"$contents" || fail "the package lacks $file"
done
expect_eq "conffiles" "/etc/stampkeep/app-path" "$(dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./conffiles)"
dpkg-deb -f "$deb" Depends | grep -q 'qt6-qpa-plugins' || fail "no dependency on the Qt platform plugins"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependencies from the shared libraries"
dpkg-deb -f "$deb" Depends | grep -q 'libheif1.*libjxl' || fail "no dependencies from the media plugin's libraries"
# The one warning left: the package is not uploaded to Debian, so its changelog closes no bug report.
expect_eq "lintian" "" "$(lintian --suppress-tags initial-upload-closes-no-bugs "$deb" 2>/dev/null)"

root=$work/root
dpkg -x "$deb" "$root"
expect_eq "registration" "/usr/bin/stampkeep" "$(cat "$root/etc/stampkeep/app-path")"
desktop-file-validate "$root/usr/share/applications/org.stampkeep.Stampkeep.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root/usr/share/metainfo/org.stampkeep.Stampkeep.metainfo.xml" >/dev/null ||
    fail "AppStream data"
file "$root/usr/bin/stkcli" | grep -q 'stripped' && ! file "$root/usr/bin/stkcli" | grep -q 'not stripped' ||
    fail "stkcli is not stripped"

# --- used by an ordinary user, with the registration in its own configuration folder
home=$work/home
mkdir -p "$home/.config/stampkeep" "$home/files" "$work/run"
echo "$root/usr/bin/stampkeep" >"$home/.config/stampkeep/app-path"
: >"$home/files/note.txt"
chown -R "$user:" "$home" "$work/run"
chmod 700 "$work/run"
# A command array rather than a function, so that a program started in the background is itself the job.
as_user=(setpriv --reuid="$user" --regid="$user" --init-groups --reset-env
    env HOME="$home" XDG_RUNTIME_DIR="$work/run" TZ=UTC LC_ALL=C QT_QPA_PLATFORM=offscreen)

expect_eq "stkcli --help" "Command-line switches for STKCLI:" "$("${as_user[@]}" "$root/usr/bin/stkcli" --help | head -n 1)"
"${as_user[@]}" sh -c "cd '$home/files' && '$root/usr/bin/stkcli' note.txt /MS /D:05/06/01 /T:13:14:15" ||
    fail "stkcli could not touch a file"
expect_eq "touched" "2001-05-06 13:14:15" "$(date -u -r "$home/files/note.txt" '+%F %T')"
# The installed plugin reads a recorded date: a movie whose header was made at 2001-05-06 11:14:15 UTC (seconds from
# 1904 in the movie header's creation time).
printf "\\x00\\x00\\x00\\x1cmoov\\x00\\x00\\x00\\x14mvhd\\x00\\x00\\x00\\x00$(printf '\\x%s' $(printf '%08x' \
    $((989147655 + 2082844800)) | fold -w2))\\x00\\x00\\x00\\x00" >"$home/files/clip.mov"
chown "$user:" "$home/files/clip.mov"
"${as_user[@]}" sh -c "cd '$home/files' && '$root/usr/bin/stkcli' clip.mov /ME" || fail "stkcli read no recorded date"
expect_eq "recorded date" "2001-05-06 11:14:15" "$(date -u -r "$home/files/clip.mov" '+%F %T')"

"${as_user[@]}" "$root/usr/bin/stampkeep" 2>"$work/stampkeep.err" &
window=$!
for _ in $(seq 50); do
    [ -n "$(find "$work/run" -name '*.socket' 2>/dev/null)" ] && break
    sleep 0.1
done
kill -TERM "$window"
wait "$window"
grep -q '^\[Settings\]' "$home/.config/stampkeep/stampkeep.ini" 2>/dev/null ||
    fail "Stampkeep wrote no settings to the user's configuration folder: $(cat "$work/stampkeep.err")"
[ ! -e "$root/usr/bin/stampkeep.ini" ] || fail "Stampkeep wrote its settings beside the installed program"
expect_eq "Stampkeep's messages" "" "$(cat "$work/stampkeep.err")"

man -l "$root/usr/share/man/man1/stkcli.1.gz" 2>/dev/null | grep -q 'EXIT STATUS' || fail "stkcli's manual page"
man -l "$root/usr/share/man/man1/stampkeep.1.gz" 2>/dev/null | grep -q 'stampkeep' || fail "stampkeep's manual page"

[ "$failures" -eq 0 ] && echo "package: all checks passed"
exit $((failures > 0))
