#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velmora, builds it, and then starts the program
# (`run`) or runs every test (`test`). Safe to repeat: packages already present are not
# fetched again, and the build only redoes what changed.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELMORA_BUILD_DIR:-$here/build}"
action="${1:-}"

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2
    python3
)

usage() {
    echo "usage: $0 run|test [ctest arguments]" >&2
    exit 2
}

install_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Installing ${missing[*]} needs root: run this as root or install sudo." >&2; exit 1; }
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
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

case "$action" in
run)
    shift
    install_packages
    configure_and_build
    exec "$build/velmora/velmora" "$@"
    ;;
test)
    shift
    install_packages
    configure_and_build
    cd "$build"
    ctest --output-on-failure --timeout 600 "$@"
    ;;
*)
    usage
    ;;
esac
