#!/usr/bin/env bash
# stkcli on 10,000 files of an ordinary user, every tenth of which belongs to root and so cannot be stamped by that
# user: exactly those are reported, the others get their stamp (also those their owner may not read), and the run
# ends with exit code 4. Needs root to give files to another user; stkcli runs as the user stampkeep-test.
set -u
STKCLI=$(readlink -f "$1")
export TZ=UTC LC_ALL=C
user=stampkeep-test

work=$(mktemp -d)
trap 'chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/config/stampkeep" "$work/app" "$work/files"
# The user runs its own copy, as the build folder may be closed to it.
cp "$STKCLI" "$work/stkcli"
printf '#!/bin/sh\n' > "$work/app/stampkeep"
chmod +x "$work/app/stampkeep"
echo "$work/app/stampkeep" > "$work/config/stampkeep/app-path"

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: needs root to give files to another user"
    exit 77
fi
if ! id "$user" >/dev/null 2>&1 && ! useradd --create-home --shell /usr/sbin/nologin "$user" 2>/dev/null; then
    echo "SKIP: the ordinary user $user cannot be created"
    exit 77
fi
chmod 755 "$work"

# Every tenth file belongs to root (readable, but only its owner may set its stamps); every tenth file after each of
# those is the user's own but closed to it (mode 000), which does not keep its owner from setting its stamps.
(cd "$work/files" && for i in $(seq -w 0 9999); do : > "f$i"; done)
closed=()
for i in $(seq -w 9 10 9999); do closed+=("$work/files/f$i"); done
printf 'Error: %s\nUnable to set file time: "Operation not permitted"\n' "${closed[@]}" > "$work/expected"
chown -R "$user:" "$work"
chown root: "${closed[@]}"
chmod 000 "$work"/files/f???0

out=$(cd "$work/files" && setpriv --reuid="$user" --regid="$user" --init-groups --reset-env \
    env TZ=UTC LC_ALL=C XDG_CONFIG_HOME="$work/config" "$work/stkcli" '*' /MS /D:01/02/2003 /T:04:05:06)
code=$?

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
[ "$code" -eq 4 ] || fail "exit code $code, expected 4"
[ "$out" == "$(cat "$work/expected")" ] || fail "the report is not exactly the 1,000 closed files:
$(diff <(echo "$out") "$work/expected" | head -n 10)"
touched=$(find "$work/files" -type f -newermt '2003-01-02 04:05:05' ! -newermt '2003-01-02 04:05:06' | wc -l)
[ "$touched" -eq 9000 ] || fail "$touched files carry the new stamp, expected 9000"
chmod -R u+r "$work/files"
untouched=$(find "$work/files" -type f -name 'f???9' -newermt '2003-01-02 04:05:05' ! -newermt '2003-01-02 04:05:06' | wc -l)
[ "$untouched" -eq 0 ] || fail "$untouched closed files carry the new stamp"

echo "stkcli: $touched of 10000 files touched, $(grep -c '^Error: ' <<<"$out") reported, $failures failures"
[ "$failures" -eq 0 ]
