#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velmora, builds it, and then starts the program
# (`run`; without a display, the command-line finder on the sample files) or runs every
# test (`test`). Safe to repeat: packages already present are not fetched again, and the
# build only redoes what changed.
#
# `test --all`, or `test` with CI=true in the environment, goes on to the slow stages:
# the desktop smoke test under Xvfb, the Debian package with an install check, the
# fuzzers, and the whole suite once more under AddressSanitizer and UBSan.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELMORA_BUILD_DIR:-$here/build}"
sanitizer_build="${VELMORA_SANITIZER_BUILD_DIR:-$here/build-asan}"
fuzz_build="${VELMORA_FUZZ_BUILD_DIR:-$here/build-fuzz}"
fuzz_seconds="${VELMORA_FUZZ_SECONDS:-45}"
action="${1:-}"

packages=(
    g++ cmake ninja-build pkg-config libxxhash-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2
    python3
)
# Only for the slow stages.
stage_packages=(
    clang libclang-rt-14-dev
    xvfb xauth xdotool imagemagick openbox x11-utils
    dpkg-dev file desktop-file-utils lintian appstream devscripts
    weston qt6-wayland qt6ct
)

usage() {
    echo "usage: $0 run [program arguments] | test [--all] [ctest arguments]" >&2
    exit 2
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        command -v sudo >/dev/null || { echo "$1 needs root: run this as root or install sudo." >&2; exit 1; }
        sudo "$@"
    fi
}

install_packages() {
    local missing=()
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Extra configure options come from VELMORA_CMAKE_ARGS, for example
# VELMORA_CMAKE_ARGS=-DVELMORA_WITH_SANITIZERS=ON with a build folder of its own.
configure_and_build() {
    if [ ! -f "$build/CMakeCache.txt" ]; then
        # shellcheck disable=SC2086
        cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${VELMORA_CMAKE_ARGS:-}
    fi
    cmake --build "$build"
}

stage() {
    echo
    echo "=== $* ($(date +%T))"
}

smoke_test() {
    stage "Smoke test on an X display"
    "$here/tests/smoke/smoke.sh" "$build/velmora/velmora" "$build/smoke"
    stage "Caption contrast under a light palette, a one-colour skin and a dark palette"
    "$here/tests/smoke/looks.sh" "$build/velmora/velmora" "$build/smoke"
    stage "Smoke test on a Wayland compositor"
    "$here/tests/smoke/wayland.sh" "$build/velmora/velmora" "$build/smoke"
}

package_and_check() {
    stage "Debian package"
    rm -rf "$build/package"
    (cd "$build" && cpack -G DEB -B "$build/package")
    local deb
    deb="$(ls "$build"/package/velmora_*_*.deb)"
    "$here/packaging/check_package.sh" "$deb" "$build/smoke-installed"
}

fuzz() {
    stage "Fuzzers, $fuzz_seconds seconds each"
    if [ ! -f "$fuzz_build/CMakeCache.txt" ]; then
        cmake -S "$here" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_WITH_FUZZERS=ON \
            -DVELMORA_WITH_TESTS=OFF -DVELMORA_WITH_BENCHMARKS=OFF
    fi
    cmake -D VELMORA_FUZZ_SECONDS="$fuzz_seconds" "$fuzz_build" >/dev/null
    cmake --build "$fuzz_build" --target velmora_fuzzers
    # One fuzzer per core; each runs on one thread.
    ctest --test-dir "$fuzz_build" -L fuzz -j 2 --output-on-failure --timeout $((fuzz_seconds * 4 + 60))
}

sanitizer_tests() {
    stage "Every test under AddressSanitizer and UndefinedBehaviorSanitizer"
    if [ ! -f "$sanitizer_build/CMakeCache.txt" ]; then
        cmake -S "$here" -B "$sanitizer_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DVELMORA_WITH_SANITIZERS=ON -DVELMORA_WITH_BENCHMARKS=OFF
    fi
    cmake --build "$sanitizer_build"
    ctest --test-dir "$sanitizer_build" --output-on-failure --timeout 1200
}

case "$action" in
run)
    shift
    # Setting up talks on standard error, so that standard output holds only the rows below.
    {
        install_packages "${packages[@]}"
        configure_and_build
    } >&2
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        # No display for the windows: show what the finder makes of the sample files.
        # (It says 1 when it finds nothing, which is an answer, not a failure.)
        status=0
        "$build/velmora/velmora-find" --folder "$build/velmora/Samples" || status=$?
        [ "$status" -le 1 ] || exit "$status"
        echo "No display: the windows need one (run $0 run on a desktop); for your own files: $build/velmora/velmora-find --folder DIR (--help tells more)." >&2
        exit 0
    fi
    exec "$build/velmora/velmora" "$@"
    ;;
test)
    shift
    all=false
    [ "${CI:-}" = "true" ] && all=true
    if [ "${1:-}" = "--all" ]; then
        all=true
        shift
    fi
    if $all; then
        install_packages "${packages[@]}" "${stage_packages[@]}"
    else
        install_packages "${packages[@]}"
    fi
    configure_and_build
    (cd "$build" && ctest --output-on-failure --timeout 600 "$@")
    if $all; then
        smoke_test
        package_and_check
        fuzz
        sanitizer_tests
        stage "All stages passed"
    fi
    ;;
*)
    usage
    ;;
esac
