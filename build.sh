#!/usr/bin/env bash
# Sets up, builds and runs Velmorant on Debian 12.
#   ./build.sh run    install what is missing, build, make the database if there is none, open the window
#   ./build.sh test   install what is missing, build, run the whole test suite (plain and sanitized)
#   ./build.sh bench  install what is missing, build in release mode, run the benchmarks [options...]
#                     (bench/run is the same)
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")"

packages=(g++ cmake make ninja-build pkg-config qt6-base-dev qt6-svg-dev libgl-dev libsqlite3-dev libswe-dev
          swe-basic-data libhowardhinnant-date-dev tzdata libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev
          poppler-utils sqlite3 fonts-liberation2 fonts-dejavu-core clang-format libgeonames-dev
          python3-icalendar postgresql libpq-dev)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing: ${missing[*]}. Run this as root once (or install sudo) to install them." >&2
            exit 1
        fi
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR [cmake options...]
build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir"
}

case "${1:-}" in
run)
    install_missing
    build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORANT_BUILD_TESTS=OFF -DVELMORANT_BUILD_BENCH=OFF
    exec build/release/bin/velmorant-start
    ;;
test)
    install_missing
    build build/ci -DCMAKE_BUILD_TYPE=Debug -DVELMORANT_WERROR=ON -DVELMORANT_BUILD_BENCH=OFF
    cmake --build build/ci --target format-check
    (cd build/ci && ctest --output-on-failure -j2)
    echo "== The same suite under the address and undefined-behaviour sanitizers"
    build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVELMORANT_WERROR=ON -DVELMORANT_SANITIZE=ON -DVELMORANT_BUILD_BENCH=OFF
    (cd build/sanitize && ctest --output-on-failure -j2)
    ;;
bench)
    shift
    install_missing
    build build/bench -DCMAKE_BUILD_TYPE=Release -DVELMORANT_BUILD_TESTS=OFF
    # By default each benchmark runs seven short times, interleaved with the others, so that a figure
    # and its baseline are taken under the same conditions; the table keeps the fastest of the seven.
    [ $# -gt 0 ] || set -- --benchmark_repetitions=7 --benchmark_min_time=0.2 --benchmark_enable_random_interleaving=true
    exec build/bench/bin/velmorant_bench "$@"
    ;;
*)
    echo "usage: $0 run|test|bench" >&2
    exit 2
    ;;
esac
