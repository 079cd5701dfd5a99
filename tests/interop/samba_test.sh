#!/bin/bash
# Checks that a private Samba server shows Windows clients exactly the attributes and creation time that the platform
# layer stores in user.DOSATTRIB. Usage: samba_test.sh PATH_TO_DOSATTRIB_TOOL. Exits 77 when Samba cannot be run here.
set -u

tool=${1:?usage: samba_test.sh PATH_TO_DOSATTRIB_TOOL}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

smbd=$(command -v smbd || ls /usr/sbin/smbd 2>/dev/null) || skip "smbd is not installed"
command -v smbclient >/dev/null || skip "smbclient is not installed"

work=$(mktemp -d "${TMPDIR:-/tmp}/stampkeep-samba-XXXXXX") || fail "cannot create a temporary folder"
smbd_pid=
cleanup() {
    [ -n "$smbd_pid" ] && kill "$smbd_pid" 2>/dev/null && wait "$smbd_pid" 2>/dev/null
    chmod -R u+w "$work" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

port_answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

port=
for _ in $(seq 20); do
    candidate=$((20000 + RANDOM % 40000))
    if ! port_answers "$candidate"; then port=$candidate; break; fi
done
[ -n "$port" ] || skip "no free port found"

# Guests act as the account that runs the server when that is not root.
guest=nobody
[ "$(id -u)" -eq 0 ] || guest=$(id -un)

mkdir -p "$work"/{share,lock,state,cache,pid,private,ncalrpc}
chmod 755 "$work" "$work/share"
conf="$work/smb.conf"
cat >"$conf" <<CONF
[global]
    server role = standalone server
    interfaces = 127.0.0.1
    bind interfaces only = yes
    smb ports = $port
    disable netbios = yes
    lock directory = $work/lock
    state directory = $work/state
    cache directory = $work/cache
    pid directory = $work/pid
    private dir = $work/private
    ncalrpc dir = $work/ncalrpc
    log file = $work/smbd.log
    passdb backend = tdbsam:$work/private/passdb.tdb
    map to guest = Bad User
    guest account = $guest
    load printers = no
    printcap name = /dev/null
    disable spoolss = yes
    store dos attributes = yes
[share]
    path = $work/share
    guest ok = yes
    read only = no
CONF

setsid "$smbd" --foreground --no-process-group -s "$conf" </dev/null >"$work/smbd.out" 2>&1 &
smbd_pid=$!
for _ in $(seq 50); do
    port_answers "$port" && break
    kill -0 "$smbd_pid" 2>/dev/null || break
    sleep 0.1
done
if ! port_answers "$port"; then
    [ "$(id -u)" -eq 0 ] && fail "smbd did not start: $(tail -n 5 "$work/smbd.out" "$work/smbd.log" 2>/dev/null)"
    skip "smbd cannot run as $(id -un): $(tail -n 3 "$work/smbd.out" "$work/smbd.log" 2>/dev/null | tr '\n' ' ')"
fi

# 2001-05-06 13:14:15 UTC and 2010-01-02 03:04:05 UTC.
echo one >"$work/share/one.txt"
echo two >"$work/share/two.txt"
"$tool" set "$work/share/one.txt" 26 989154855 || fail "dosattrib_tool could not set one.txt"
"$tool" set "$work/share/two.txt" 21 1262401445 || fail "dosattrib_tool could not set two.txt"

# smbclient exits 0 even when a command fails, so its output is what counts.
allinfo() {
    LC_ALL=C TZ=UTC smbclient "//127.0.0.1/share" -p "$port" -N -s "$conf" -c "allinfo $1" 2>&1
}

status=0
check() {
    local name=$1 created=$2 attributes=$3 output ok=1
    output=$(allinfo "$name")
    grep -qx "create_time:[[:space:]]*$created" <<<"$output" || { echo "FAIL: $name: expected create_time $created"; ok=0; }
    grep -qx "attributes: $attributes" <<<"$output" || { echo "FAIL: $name: expected attributes $attributes"; ok=0; }
    [ $ok -eq 1 ] || { echo "$output"; status=1; }
}
check one.txt "Sun May  6 13:14:15 2001 UTC" "HSA (26)"
check two.txt "Sat Jan  2 03:04:05 2010 UTC" "RA (21)"
[ $status -eq 0 ] && echo "PASS: Samba shows the stored attributes and creation times"
exit $status
