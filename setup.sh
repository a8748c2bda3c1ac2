#!/usr/bin/env bash
# One entry point for a fresh Debian machine:
#   ./setup.sh play   install what is missing, build the game and its data, start the game
#                     (further arguments go to the game: ./setup.sh play --fullscreen)
#   ./setup.sh test   install what is missing, build everything, run every test
#   ./setup.sh build  install what is missing and build (no run)
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
mode=${1:-play}
build_dir=${VG_BUILD_DIR:-$root/build}
jobs=${VG_JOBS:-$(nproc)}

install_packages() {
    local wanted missing=()
    wanted=$(grep -vE '^\s*(#|$)' scripts/debian-packages.txt)
    for pkg in $wanted; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "setup: installing ${missing[*]}"
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local dir=$1; shift
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

install_packages

case "$mode" in
play)
    configure_and_build "$build_dir"
    cd "$build_dir/game"
    exec ./vesperglint "${@:2}"
    ;;
build)
    configure_and_build "$build_dir"
    ;;
test)
    configure_and_build "$build_dir" -DVG_WERROR=ON
    scripts/check-format.sh
    # Parsers of untrusted files run under AddressSanitizer and UndefinedBehaviorSanitizer.
    scripts/run-fuzz.sh "$build_dir-fuzz"
    # Headless: SDL's dummy drivers stand in for the display and the audio device.
    export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
    ctest --test-dir "$build_dir" --output-on-failure -j "$jobs"
    ;;
*)
    echo "usage: $0 [play|test|build]" >&2
    exit 2
    ;;
esac
