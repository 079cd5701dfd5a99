#!/usr/bin/env bash
# The console tests on a machine where Stampkeep is installed: with a registration in /etc/stampkeep/app-path that
# stkcli does see, every stkcli*_test.sh beside this script passes as on a bare machine. /etc changes only for this
# run, under an overlay in a private mount namespace.
#
#     registered_machine_test.sh STKCLI DOSATTRIB_TOOL STAMPKEEP
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
self=$here/$(basename "$0")

case ${1:-} in
--overlaid)
    # Stage 2, as (namespace) root: /etc under an overlay that takes the registration.
    shift
    layers=$(mktemp -d)
    mount -t tmpfs stampkeep-tests "$layers"
    mkdir "$layers/upper" "$layers/work"
    mount -t overlay stampkeep-tests -o "lowerdir=/etc,upperdir=$layers/upper,workdir=$layers/work" /etc
    mkdir -p /etc/stampkeep
    echo /usr/bin/stampkeep-registered-by-the-test >/etc/stampkeep/app-path
    if [ "$1" = as-root ]; then
        exec "$self" --registered "${@:4}"
    fi
    exec unshare --user --map-user="$2" --map-group="$3" -- "$self" --registered "${@:4}"
    ;;
--registered)
    # Stage 3, as the caller: the registration is there, and out of every test's reach.
    shift
    # shellcheck source=tests/cli/clisupport.sh
    source "$here/clisupport.sh"
    stkcli=$(readlink -f "$1")
    out=$(env XDG_CONFIG_HOME="$(mktemp -d)" "$stkcli" /? 2>&1) && code=0 || code=$?
    expect_eq "stkcli sees the machine's registration" "2" "$code"
    expect_eq "the registration it sees" "ERROR: Stampkeep is not present at the registered location:
/usr/bin/stampkeep-registered-by-the-test
Please reinstall Stampkeep." "$out"
    for test in "$here"/stkcli*_test.sh; do
        # Each test takes stkcli and the one more program it needs.
        case $(basename "$test") in
        stkcli_scripts_test.sh) arguments=("$1" "$3") ;;
        *) arguments=("$1" "$2") ;;
        esac
        log=$("$here/private_etc.sh" "$test" "${arguments[@]}" 2>&1) && code=0 || code=$?
        [ "$code" -eq 0 ] || [ "$code" -eq 77 ] || fail "$(basename "$test") ended with $code:"$'\n'"$log"
    done
    [ "$failures" -eq 0 ] && echo "every console test passed with a registration in /etc" && exit 0
    exit 1
    ;;
esac

# Stage 1: a private mount namespace; an ordinary user becomes the root of a user namespace of its own for it.
if [ "$(id -u)" -eq 0 ]; then
    unshare --mount true 2>/dev/null || { echo "skipped: no private mount namespace here"; exit 77; }
    exec unshare --mount --propagation private "$self" --overlaid as-root 0 0 "$@"
fi
unshare --user --map-root-user --mount true 2>/dev/null || { echo "skipped: no user namespaces here"; exit 77; }
exec unshare --user --map-root-user --mount "$self" --overlaid as-user "$(id -u)" "$(id -g)" "$@"
