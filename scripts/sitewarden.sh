#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then starts the program or runs the tests.
#   scripts/sitewarden.sh run    build and start the program
#   scripts/sitewarden.sh test   build and run every test
set -euo pipefail

cd "$(dirname "$0")/.."
what=${1:-run}
build=${BUILD_DIR:-build}

packages=(cmake ninja-build g++ qt6-base-dev qt6-qpa-plugins libgl-dev libgtest-dev libgmock-dev
          fonts-wqy-microhei)

install_missing() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build" --parallel "$(nproc)"
}

case "$what" in
run)
    install_missing "${packages[@]}"
    configure_and_build -DSITEWARDEN_TESTS=OFF
    exec "$build/bin/sitewarden"
    ;;
test)
    install_missing "${packages[@]}"
    configure_and_build -DSITEWARDEN_TESTS=ON
    export QT_QPA_PLATFORM=offscreen
    ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
