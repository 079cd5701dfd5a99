# Shared by scripts/run and scripts/test: packages, configuring and building.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build and the tests need.
PACKAGES=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core librsvg2-bin
          samba smbclient
          libexiv2-dev exiv2 imagemagick libheif-dev libjxl-dev
          libheif-examples libjxl-tools ffmpeg libimage-exiftool-perl
          clang libclang-rt-14-dev strace time
          dpkg-dev file lintian desktop-file-utils appstream man-db
          locales tzdata xvfb xauth x11-utils)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The locales besides C that tests run in: German (language and date formats not English), in which scripts/test
# runs them once more, US English for a test that needs an English locale other than C, and Finnish, whose time
# separator is not `:`.
TEST_LOCALES=(de_DE.UTF-8 en_US.UTF-8 fi_FI.UTF-8)

# Generates those of them the machine lacks, leaving every other generated locale as it is.
install_test_locales() {
    local missing=()
    for name in "${TEST_LOCALES[@]}"; do
        LC_ALL=$name locale 2>&1 >/dev/null | grep -q . && missing+=("$name")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Generating locales: ${missing[*]}"
    for name in "${missing[@]}"; do
        grep -qx "$name UTF-8" /etc/locale.gen ||
            echo "$name UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
    done
    as_root locale-gen --keep-existing
}

# build DIR [cmake options...]: configures (options given also reach a folder configured before), then builds
# incrementally.
build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    elif [ $# -gt 0 ]; then
        cmake "$dir" "$@" >/dev/null
    fi
    cmake --build "$dir"
}

# The libFuzzer targets, each tests/fuzz/NAME_fuzz.cpp with its starting corpus in tests/fuzz/corpus/NAME.
FUZZ_TARGETS=(cmdline inifile datetime dosattrib verinfo handoff exifdate mediafile moviedate)

# Builds them in build-fuzz, with clang and the sanitizers.
build_fuzz() {
    if [ ! -f "$ROOT/build-fuzz/build.ninja" ]; then
        cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ -DSTAMPKEEP_FUZZ=ON
    fi
    cmake --build "$ROOT/build-fuzz" --target fuzz_targets
}

# fuzz_target NAME SECONDS: runs one target from its starting corpus and what earlier runs added (build-fuzz/corpus/NAME);
# an input that crashes, hangs or breaks a property is kept in build-fuzz/findings/NAME. Prints the figures; fails on
# a finding.
fuzz_target() {
    local name=$1 seconds=$2
    local corpus=$ROOT/build-fuzz/corpus/$name findings=$ROOT/build-fuzz/findings/$name
    local log=$ROOT/build-fuzz/fuzz-$name.log status=0
    mkdir -p "$corpus" "$findings"
    nice -n 10 "$ROOT/build-fuzz/${name}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "$ROOT/tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
    local runs speed found
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    found=$(grep -c 'Test unit written to' "$log" || true)
    echo "$name: ${runs:-0} executions (${speed:-0}/s), corpus $(find "$corpus" -type f | wc -l) inputs, $found findings"
    if [ "$status" -ne 0 ]; then
        grep -E -m 20 'ERROR|property broken|runtime error|SUMMARY|Test unit written to' "$log"
        echo "  full log: $log"
        return 1
    fi
}
