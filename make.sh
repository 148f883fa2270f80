#!/usr/bin/env bash
# One entry point for building, testing, benchmarking and running the project.
#   ./make.sh test        install missing packages, build with sanitizers, run every test
#   ./make.sh run [args]  build and start the newest runnable program
#   ./make.sh bench       build optimised and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

jobs=$(nproc 2>/dev/null || echo 2)

missing_packages() {
    local pkg
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' tools/deps.txt | while read -r pkg; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$pkg"
        fi
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages | tr '\n' ' ')
    [ -z "${missing// /}" ] && return 0
    echo "make.sh: installing missing packages: $missing"
    local sudo=()
    if [ "$(id -u)" != 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo -n)
        else
            echo "make.sh: not root and no sudo; install these packages first: $missing" >&2
            exit 1
        fi
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -q </dev/null
    # shellcheck disable=SC2086
    "${sudo[@]}" apt-get install -y -q --no-install-recommends $missing </dev/null
}

generator() {
    if command -v ninja >/dev/null 2>&1; then echo "-GNinja"; fi
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$root" -B "$dir" $(generator) -DWERROR=ON "$@"
    cmake --build "$dir" -j "$jobs"
}

cmd=${1:-test}
[ $# -gt 0 ] && shift

case "$cmd" in
test)
    ensure_packages
    configure_and_build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DBUILD_TESTS=ON
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:strict_string_checks=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
    ;;
run)
    ensure_packages
    configure_and_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTS=OFF
    program=""
    for candidate in lect32 Linework; do
        if [ -x "build/release/bin/$candidate" ]; then program=$candidate; break; fi
    done
    if [ -z "$program" ]; then
        echo "make.sh: no runnable program is built yet (the platform layer and libraries only)."
        exit 0
    fi
    exec "build/release/bin/$program" "$@"
    ;;
bench)
    ensure_packages
    configure_and_build build/bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF -DBUILD_BENCH=ON
    found=0
    for b in build/bench/bin/bench_*; do
        [ -x "$b" ] || continue
        found=1
        echo "== $(basename "$b")"
        "$b" "$@"
    done
    [ "$found" = 1 ] || echo "make.sh: no benchmarks are built yet."
    ;;
*)
    echo "usage: ./make.sh test | run [args] | bench [benchmark args]" >&2
    exit 2
    ;;
esac
