#!/usr/bin/env bash
# Runs a command out of reach of the machine's own Stampkeep registration: in a private mount namespace with an
# empty folder over /etc/stampkeep, so that an installed package changes no test's outcome. Nothing is written.
#
#     tests/cli/private_etc.sh COMMAND [ARGUMENTS...]
set -euo pipefail

# Nothing to hide: no such folder, or one already empty (an outer run hid it).
if [ ! -d /etc/stampkeep ] || [ -z "$(ls -A /etc/stampkeep)" ]; then
    exec "$@"
fi
hide='mount -t tmpfs -o mode=755,size=64k stampkeep-tests /etc/stampkeep'
if [ "$(id -u)" -eq 0 ]; then
    exec unshare --mount --propagation private bash -c "$hide"' && exec "$@"' bash "$@"
fi
# An ordinary user mounts as the root of a user namespace of its own, then runs the command under its own ids again,
# without privileges, so that permission bits count as they do outside.
# shellcheck disable=SC2016 # expanded by the inner shell
again='exec unshare --user --map-user="$1" --map-group="$2" -- "${@:3}"'
exec unshare --user --map-root-user --mount bash -c "$hide && $again" bash "$(id -u)" "$(id -g)" "$@"
