#!/usr/bin/env bash
# stkcli in scripts and photo trees: dates in any locale, subfolders, letter case, links, a dry run, `--`, no display.
# Arguments: stkcli, stampkeep.
set -u
STKCLI=$(readlink -f "$1")
STAMPKEEP=$(readlink -f "$2")
export TZ=UTC LC_ALL=C QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/clisupport.sh"
make_registered_work
chmod 755 "$work"
cat >"$work/app/stampkeep" <<'STANDIN'
#!/bin/sh
for a in "$@"; do echo "[$a]"; done > "$(dirname "$0")/started"
STANDIN

run() { # EXPECTED_EXIT ARGS...: stkcli in the files folder, output in $out
    local expected=$1
    shift
    out=$(cd "$work/files" && "$STKCLI" "$@")
    expect_eq "exit code of stkcli $*" "$expected" "$?"
}
mtime() { stat -c %y "$work/files/$1" | cut -c1-19; }
moment="2001-05-06 13:14:15"

# --- an ISO date and a 24-hour time mean the same in every locale, beside the locale's own forms
for locale in de_DE.UTF-8 en_US.UTF-8 fi_FI.UTF-8; do
    fresh_files f
    out=$(cd "$work/files" && LC_ALL=$locale "$STKCLI" f /MS /D:2001-05-06 /T:13:14:15)
    expect_eq "$locale: ISO date, 24-hour time" "0|$moment" "$?|$(mtime f)"
    out=$(cd "$work/files" && LC_ALL=$locale "$STKCLI" f /MS /D:2001-05-06 /T:13:14)
    expect_eq "$locale: hours and minutes" "2001-05-06 13:14:00" "$(mtime f)"
done
out=$(cd "$work/files" && LC_ALL=fi_FI.UTF-8 "$STKCLI" f /MS /D:6.5.2001 /T:13.14.15)
expect_eq "fi_FI: the locale's own forms" "0|$moment" "$?|$(mtime f)"
run 1 f /MS /D:31/31/2001 /T:25:00
expect_eq "forms named" '"31/31/2001" is not a valid date: use 05/06/2001 or 2001-05-06
"25:00" is not a valid time: use 13:14:15 or 13:14' "$out"
out=$(cd "$work/files" && LC_ALL=fi_FI.UTF-8 "$STKCLI" f /MS /D:2001-31-31)
expect_eq "fi_FI forms" '"2001-31-31" is not a valid date: use 06.05.2001 or 2001-05-06' "$out"

# --- /SF after the pattern: every depth, any letter case, links to folders and files not followed
fresh_files a.jpg B.JPG notes.txt
mkdir -p "$work/files/sub/deep" "$work/outside"
: >"$work/files/sub/c.Jpg" && : >"$work/files/sub/deep/d.jpg" && : >"$work/outside/e.jpg"
touch -d '2002-01-01 10:00:00' "$work/outside/e.jpg"
ln -s "$work/outside" "$work/files/linked"
ln -s "$work/outside/e.jpg" "$work/files/sub/l.jpg"
run 0 '*.jpg' /SF /MS /D:2001-05-06 /T:13:14:15 /R2
expect_eq "subfolders listed in order, links reported" "$work/files/a.jpg
$work/files/B.JPG
$work/files/sub/c.Jpg
$work/files/sub/deep/d.jpg
$work/files/sub/l.jpg
Symbolic link, not followed" "$out"
expect_eq "every photo stamped" "$moment|$moment|$moment|$moment" \
    "$(mtime a.jpg)|$(mtime B.JPG)|$(mtime sub/c.Jpg)|$(mtime sub/deep/d.jpg)"
expect_eq "nothing through a link" "2002-01-01 10:00:00" "$(stat -c %y "$work/outside/e.jpg" | cut -c1-19)"
run 0 sub/l.jpg /MS /D:2001-05-06 /T:13:14:15
expect_eq "a named link is followed" "$moment" "$(stat -c %y "$work/outside/e.jpg" | cut -c1-19)"
run 0 '*.jpg' /SF
expect_eq "/SF handed to Stampkeep" "[/SF]|[--]|[*.jpg]" "$(paste -sd'|' "$work/app/started")"

# A folder the user cannot read is told, the rest is touched, and the run ends with 4.
mkdir "$work/files/sub/closed" && : >"$work/files/sub/closed/x.jpg"
chmod 000 "$work/files/sub/closed"
if [ "$(id -u)" -eq 0 ]; then
    chown -R stampkeep-test "$work/files" && chmod 755 "$work/config" "$work/config/stampkeep" "$work/app"
    out=$(cd "$work/files" && setpriv --reuid=stampkeep-test --regid=stampkeep-test --init-groups --reset-env \
        env TZ=UTC LC_ALL=C XDG_CONFIG_HOME="$work/config" "$STKCLI" '*.JPG' /MS /SF /D:2002-02-02 /T:02:02:02)
else
    out=$(cd "$work/files" && "$STKCLI" '*.JPG' /MS /SF /D:2002-02-02 /T:02:02:02)
fi
expect_eq "unreadable folder: exit code" 4 "$?"
expect_eq "unreadable folder: message" "Cannot search \"$work/files/sub/closed\": Permission denied" "$out"
expect_eq "unreadable folder: the rest touched" "2002-02-02 02:02:02" "$(mtime sub/deep/d.jpg)"
chmod 755 "$work/files/sub/closed"

# --- /N: the report of what would change, nothing written
stamps() { find "$work/files" "$work/outside" -exec stat -c '%n %y %z %a' {} + | sort; getfattr -R -d "$work/files" 2>/dev/null; }
before=$(stamps)
run 0 B.JPG /N /MS /D:2001-05-06 /T:13:14:15 /H+
expect_eq "dry run report" "Dry run: nothing is changed.
$work/files/B.JPG
	M: 05/06/2001 13:14:15	C: $(date -u -d @"$(stat -c %W "$work/files/B.JPG")" '+%m/%d/%Y %H:%M:%S')	  H  " "$out"
run 4 '*' /SF /N /ME /A+ /R- /R3
expect_eq "dry run: a file without a recorded date is counted" "$work/files/notes.txt
No recorded date in the file" "$(grep -A1 "^$work/files/notes.txt$" <<<"$out" | tr -d '\r')"
expect_eq "dry run: nothing written" "$before" "$(stamps)"
run 1 B.JPG /n
expect_eq "dry run for Stampkeep refused" '"/n" is not a valid switch' "$out"
[ -e "$work/app/started" ] && rm "$work/app/started"

# --- a shell's long list of one folder's names: a named link is followed, each file's own stamp is read where a part
# of it stays, the attributes come from each file itself
fresh_files
(cd "$work/files" && seq -f 'n%03g' 200 | xargs touch -d '2003-02-01 08:09:10')
touch -d '2004-03-02 11:12:13' "$work/files/n150"
chmod 444 "$work/files/n199"
ln -s n100 "$work/files/n120.link" && touch -h -d '2003-02-01 08:09:10' "$work/files/n120.link"
in_files() { # ARGS...: stkcli in the files folder with every name there first, as a shell's `./*` gives them
    out=$(cd "$work/files" && "$STKCLI" ./* "$@")
    expect_eq "exit code of stkcli ./* $*" 0 "$?"
}
in_files /MS /XD /T:13:14:15
expect_eq "own dates kept" "2003-02-01 13:14:15|2004-03-02 13:14:15" "$(mtime n001)|$(mtime n150)"
in_files /MS /D:2001-05-06 /T:13:14:15 /R-
expect_eq "every file stamped, the link's target too" "$moment|$moment|$moment" \
    "$(mtime n001)|$(mtime n100)|$(mtime n200)"
expect_eq "the link itself untouched, read-only cleared" "2003-02-01|6" \
    "$(stat -c %y "$work/files/n120.link" | cut -c1-10)|$(stat -c %a "$work/files/n199" | cut -c1)"

# --- `--` ends the switches, also in the command line handed to Stampkeep
fresh_files -n.txt
run 0 /MS /D:2001-05-06 /T:13:14:15 -- -n.txt
expect_eq "a name beginning with -" "$moment" "$(mtime -n.txt)"
run 0 -- -n.txt
expect_eq "handed after --" "[--]|[-n.txt]" "$(paste -sd'|' "$work/app/started")"
run 1 -- --help
expect_eq "--help after -- is a name" 'No files match "--help"' "$out"
rm -f "$work/app/started"

# --- no display: said, exit 2, nothing started
out=$(cd "$work/files" && env -u QT_QPA_PLATFORM "$STKCLI" -- -n.txt)
expect_eq "stkcli without a display" "2|Cannot start Stampkeep: no graphical display" "$?|$out"
[ -e "$work/app/started" ] && fail "Stampkeep started without a display"
err=$(env -u QT_QPA_PLATFORM "$STAMPKEEP" 2>&1 >/dev/null)
expect_eq "stampkeep without a display" "2|Cannot start Stampkeep: no graphical display" "$?|$err"

[ "$failures" -eq 0 ] && echo "stkcli scripts: all checks passed"
exit $((failures > 0))
