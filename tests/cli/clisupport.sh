# Shared by the stkcli end-to-end scripts (sourced): checks that count failures, a work folder with a registered
# stand-in for Stampkeep, and fresh files.
# shellcheck shell=bash

failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_eq() { # name expected actual
    [ "$2" == "$3" ] || fail "$1"$'\n'"  expected: $(printf %q "$2")"$'\n'"  actual:   $(printf %q "$3")"
}

fresh_files() { # names...: $work/files holds exactly these, empty
    rm -rf "$work/files" && mkdir -p "$work/files"
    for name in "$@"; do : > "$work/files/$name"; done
}

# make_registered_work: sets $work (removed at exit) and XDG_CONFIG_HOME inside it, with a stand-in Stampkeep at
# $work/app/stampkeep registered for stkcli, so that stkcli runs without a window.
make_registered_work() {
    work=$(mktemp -d)
    trap 'chmod -R u+rwX "$work" 2>/dev/null; rm -rf "$work"' EXIT
    export XDG_CONFIG_HOME=$work/config
    mkdir -p "$XDG_CONFIG_HOME/stampkeep" "$work/app"
    printf '#!/bin/sh\n' >"$work/app/stampkeep" && chmod +x "$work/app/stampkeep"
    echo "$work/app/stampkeep" >"$XDG_CONFIG_HOME/stampkeep/app-path"
}
