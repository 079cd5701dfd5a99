#!/usr/bin/env bash
# stkcli end to end: exact messages, exit codes and stamps on disk, in a temporary folder of its own.
set -u
STKCLI=$(readlink -f "$1")
export TZ=UTC LC_ALL=C
# Stampkeep is started only where a window can be shown; the stand-in below needs none.
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY

work=$(mktemp -d)
trap 'chattr -i "$work"/files/* 2>/dev/null; chmod -R u+w "$work"; rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
app=$work/app
mkdir -p "$app" "$XDG_CONFIG_HOME/stampkeep" "$work/files"
# shellcheck source=tests/cli/clisupport.sh
source "$(dirname "$0")/clisupport.sh"

# run EXPECTED_EXIT ARGS...: runs stkcli in the files folder, keeps its output in $out.
run() {
    local expected=$1
    shift
    out=$(cd "$work/files" && "$STKCLI" "$@")
    local code=$?
    expect_eq "exit code of stkcli $*" "$expected" "$code"
}

mtime() { stat -c %y "$work/files/$1" | cut -c1-19; }
# The modified and created stamps of a file as the detail line shows them.
shown_mtime() { date -u -r "$work/files/$1" '+%m/%d/%Y %H:%M:%S'; }
shown_birth() { date -u -d @"$(stat -c %W "$work/files/$1")" '+%m/%d/%Y %H:%M:%S'; }

# A stand-in for Stampkeep that records how it was started.
cat > "$app/stampkeep" <<'STANDIN'
#!/bin/sh
{ pwd; for a in "$@"; do echo "[$a]"; done; } > "$(dirname "$0")/started.tmp"
mv "$(dirname "$0")/started.tmp" "$(dirname "$0")/started"
STANDIN
chmod +x "$app/stampkeep"

started() { # waits for the stand-in and prints what it recorded
    for _ in $(seq 100); do [ -f "$app/started" ] && break; sleep 0.05; done
    cat "$app/started" 2>/dev/null
    rm -f "$app/started"
}

# --- help and version need no registration; /? does
run 0 --version
expect_eq "version" "stkcli $(sed -n 's/^project(Stampkeep VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")" "$out"
run 0 x.txt -h
expect_eq "-h anywhere" "Command-line switches for STKCLI:" "$(head -n1 <<<"$out")"
run 0 x.txt /A+ --help
expect_eq "--help anywhere" "Command-line switches for STKCLI:" "$(head -n1 <<<"$out")"

# --- registration
run 3 /?
expect_eq "unregistered" "ERROR: Cannot find the Stampkeep registration (~/.config/stampkeep/app-path or /etc/stampkeep/app-path). Please reinstall Stampkeep." "$out"
echo "$app/missing" > "$XDG_CONFIG_HOME/stampkeep/app-path"
run 2 x.txt /A+
expect_eq "missing program" "ERROR: Stampkeep is not present at the registered location:
$app/missing
Please reinstall Stampkeep." "$out"
echo "$app" > "$XDG_CONFIG_HOME/stampkeep/app-path"
run 2 /?
: > "$app/not-executable"
echo "$app/not-executable" > "$XDG_CONFIG_HOME/stampkeep/app-path"
run 2 /?
rm "$app/not-executable"
echo "$app/stampkeep" > "$XDG_CONFIG_HOME/stampkeep/app-path"

# --- help
run 0
expect_eq "help without arguments" "Command-line switches for STKCLI:" "$(head -n1 <<<"$out")"
expect_eq "help length" 30 "$(wc -l <<<"$out")"
help=$out
run 0 ''
expect_eq "an empty argument is skipped" "$help" "$out"
run 0 --help
expect_eq "--help" "$help" "$out"
run 0 -?
expect_eq "-?" "$help" "$out"

# --- bad command lines: every message, exit 1, nothing touched, nothing started
fresh_files x.txt
touch -d '2002-01-01 10:00:00' "$work/files/x.txt"
run 1 x.txt /MS /Q /S:1801 none.txt
expect_eq "bad switches" '"/Q" is not a valid switch
Sequential increment is limited to half an hour (1800 seconds)
No files match "none.txt"' "$out"
expect_eq "nothing touched" "2002-01-01 10:00:00" "$(mtime x.txt)"
ls "$app" | grep -qx started && fail "Stampkeep started after a bad command line"

# --- handing over to Stampkeep
run 0 x.txt
expect_eq "files alone go to Stampkeep" "$work/files
[--]
[x.txt]" "$(started)"
run 0 /A+ /r- /MS /S:30 /T:13:14:15
expect_eq "switches alone go to Stampkeep" "$work/files
[/T:13:14:15]
[/MS]
[/S:30]
[/A+]
[/R-]" "$(started)"
run 0 x.txt /ZS
expect_eq "no action switch goes to Stampkeep" "$work/files
[/ZS]
[--]
[x.txt]" "$(started)"
run 0 /
expect_eq "a lone / is the root folder" "$work/files
[--]
[/]" "$(started)"

# --- a Stampkeep that cannot be started: said, with exit code 2
printf '#!/nonexistent/interpreter\n' > "$app/broken" && chmod +x "$app/broken"
echo "$app/broken" > "$XDG_CONFIG_HOME/stampkeep/app-path"
run 2 x.txt
expect_eq "failed start" "Unable to start $app/broken: No such file or directory" "$out"
echo "$app/stampkeep" > "$XDG_CONFIG_HOME/stampkeep/app-path"

# --- folders named with a trailing /, and searches that fail for another reason than no match
fresh_files f
mkdir "$work/files/d1" && ln -s d1 "$work/files/link"
run 0 d1/ link/ /A+ /R2
expect_eq "trailing / names the folder" "$work/files/d1
$work/files/link" "$out"
run 1 f/ /A+
expect_eq "a file named as a folder" "Cannot search \"f/\": Not a directory" "$out"
long=$(printf 'x%.0s' $(seq 5000))
run 1 "$long" /A+
expect_eq "name too long" "Cannot search \"$long\": File name too long" "$out"

# --- touching
fresh_files x.txt
run 0 x.txt /A+ /R3
expect_eq "add archive" "$work/files/x.txt
	M: $(shown_mtime x.txt)	C: $(shown_birth x.txt)	A    " "$out"

fresh_files a.txt B.txt c.txt
run 0 "*.txt" a.txt /R- /R2
expect_eq "sorted once, letter case aside" "$work/files/a.txt
$work/files/B.txt
$work/files/c.txt" "$out"

fresh_files a b c
run 0 a b c /MS /T:23:59:30 /D:05/06/01 /S:60
expect_eq "midnight carry" "2001-05-06 23:59:30|2001-05-07 00:00:30|2001-05-07 00:01:30" \
    "$(mtime a)|$(mtime b)|$(mtime c)"

fresh_files s
touch -d '2002-01-01 10:00:00' "$work/files/s"
run 0 s /CS /D:05/06/01 /T:13:14:15
run 0 s /MC /CM /R3
expect_eq "swap" "$work/files/s
	M: 05/06/2001 13:14:15	C: 01/01/2002 10:00:00	     " "$out"

fresh_files d t
touch -d '2002-03-04 05:06:07' "$work/files/d" "$work/files/t"
run 0 d /MS /XD /T:10:11:12 /D:05/06/01
run 0 t /MS /XT /D:05/06/01 /T:10:11:12
expect_eq "keep date / keep time" "2002-03-04 10:11:12|2001-05-06 05:06:07" "$(mtime d)|$(mtime t)"

fresh_files ro
chmod a-w "$work/files/ro"
run 0 ro /MS /D:05/06/01 /T:13:14:15 /R3
expect_eq "read-only kept" "$work/files/ro
	M: 05/06/2001 13:14:15	C: $(shown_birth ro)	   R " "$out"
expect_eq "read-only mode" "-r--r--r--" "$(stat -c %A "$work/files/ro")"
# A new Created stamp and hidden bit are stored on a file that stays read-only.
run 0 ro /CS /D:01/02/99 /T:01:02:03 /H+ /R3
expect_eq "stored on a read-only file" "$work/files/ro
	M: 05/06/2001 13:14:15	C: 01/02/1999 01:02:03	  HR " "$out"
expect_eq "read-only mode after storing" "-r--r--r--" "$(stat -c %A "$work/files/ro")"

# A stamp-only run reads and writes no stored attributes, of read-only entries neither.
fresh_files rh h
run 0 rh h /CS /D:01/02/99 /T:01:02:03 /H+ /R+
run 0 h /R-
run 0 rh h /MS /D:05/06/01 /T:13:14:15
run 0 rh h /A- /R3
expect_eq "stored attributes kept by a stamp-only run" "$work/files/h
	M: 05/06/2001 13:14:15	C: 01/02/1999 01:02:03	  H  
$work/files/rh
	M: 05/06/2001 13:14:15	C: 01/02/1999 01:02:03	  HR " "$(sed '/^$/d' <<<"$out")"

# --- presets
ini=$app/stampkeep.ini
printf '[Preset1]\nEnabled=1\nClock=1\nMod=1\n' > "$ini"
fresh_files p
run 0 p /1
expect_eq "zero seconds clock" "00" "$(date -u -r "$work/files/p" +%S)"

printf '[Preset2]\nEnabled=1\nClock=-1\nDate=05/06/01\nTime=13:14:15\nMod=1\nUseSeq=0\n' > "$ini"
fresh_files p1 p2 p3
run 0 "p*" /2
expect_eq "one second apart without SeqNum" "2001-05-06 13:14:15|2001-05-06 13:14:16|2001-05-06 13:14:17" \
    "$(mtime p1)|$(mtime p2)|$(mtime p3)"
# The parser's check of the preset and the touch read their keys from one reading of the file.
(cd "$work/files" && strace -f -e trace=open,openat -o "$work/opens" "$STKCLI" "p*" /2 >/dev/null)
expect_eq "settings file read once" 1 "$(grep -c 'stampkeep\.ini' "$work/opens")"

printf '[Preset3]\nEnabled=1\nClock=5\nDate=05/06/01\nTime=13:14:15\nMod=1\nUseTime=0\n' > "$ini"
fresh_files q1 q2
touch -d '2002-03-04 05:06:07' "$work/files/q1"
touch -d '2002-03-04 08:09:10' "$work/files/q2"
run 0 "q*" /3
expect_eq "own time of day, no step" "2001-05-06 05:06:07|2001-05-06 08:09:10" "$(mtime q1)|$(mtime q2)"

printf '[Preset4]\nEnabled=1\nMod=3\n' > "$ini"
run 0 q1 /4
expect_eq "a folder preset goes to Stampkeep" "$work/files
[/4]
[--]
[q1]" "$(started)"
run 1 q1 /5
expect_eq "unconfigured preset" "Preset # 5 is not configured." "$out"

# --- a file that cannot be touched is reported while the others are touched
if [ "$(id -u)" -eq 0 ] && fresh_files f1 f2 && chattr +i "$work/files/f1" 2>/dev/null; then
    run 4 "f*" /MS /D:05/06/01 /T:13:14:15
    expect_eq "error line and its reason" "Error: $work/files/f1
Unable to set file time: \"Operation not permitted\"" "$out"
    expect_eq "other file touched" "2001-05-06 13:14:15" "$(mtime f2)"
    chattr -i "$work/files/f1"
fi

[ "$failures" -eq 0 ] && echo "stkcli: all checks passed"
exit $((failures > 0))
