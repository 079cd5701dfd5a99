# Shared by the stkcli end-to-end scripts (sourced, after $work is set): checks that count failures, and fresh files.
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
