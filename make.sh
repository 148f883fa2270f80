#!/usr/bin/env bash
# One entry point for building, testing, benchmarking and running the project.
#   ./make.sh test        install missing packages, build with sanitizers, run every test
#   ./make.sh test-clang  the same built with clang (in build/clang)
#   ./make.sh run [args]  build and start the newest runnable program (the reader)
#   ./make.sh run linework [args]
#                         build and start the drafting program
#   ./make.sh bench       build optimised and run the benchmarks
#   ./make.sh fuzz [target] [seconds]
#                         build the fuzz targets with clang and libFuzzer and run the target (or every
#                         one in turn) for the seconds given (10 each by default), in as many processes
#                         as there are cores (FUZZ_JOBS=N sets them); the corpus is kept in
#                         build/fuzz/corpus/<target> and starts from the target's seeds, the seed files
#                         of tools/make_fuzz_seeds.py and the kept inputs of tests/fuzz/repro/<target>;
#                         crashes land in build/fuzz/crashes/<target>; a table of every target's
#                         executions, executions per second and coverage ends the run; the clang build
#                         of the tests must compile first, and a run of every target runs its tests too
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)

jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# The packages of a list (tools/deps.txt unless another is named) that are not installed.
missing_packages() {
    local pkg
    sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "${1:-tools/deps.txt}" | while read -r pkg; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
            echo "$pkg"
        fi
    done
}

ensure_packages() {
    local missing
    missing=$(missing_packages "${1:-tools/deps.txt}" | tr '\n' ' ')
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

# The figures of a finished libFuzzer run from its log, "runs exec/s coverage" ("- - -" when it
# printed none): of each process, its last status line ('#N DONE cov: C ... exec/s: E'); the log
# of several jobs holds theirs one after another, each after a '==== Job J exited' line. Runs and
# rates add up; the coverage is the largest, since the jobs share their finds.
fuzz_figures() {
    awk 'function take(line,   s) {
            if (line == "") return
            found = 1
            if (match(line, /^#[0-9]+/)) runs += substr(line, 2, RLENGTH - 1)
            if (match(line, /exec\/s: [0-9]+/)) rate += substr(line, RSTART + 8, RLENGTH - 8)
            if (match(line, / cov: [0-9]+/)) { s = substr(line, RSTART + 6, RLENGTH - 6) + 0; if (s > cov) cov = s }
        }
        /^=+ Job [0-9]+ exited/ { take(last); last = ""; next }
        /^#[0-9]+/ && / cov: [0-9]/ { last = $0 }
        END { take(last); if (found) print runs, rate, cov; else print "- - -" }' "$1"
}

# The longest input among the folders named, and at least the 64 KiB libFuzzer mutates up to: a
# seed longer than the limit would be cut to its start and never be read whole.
fuzz_max_len() {
    find "$@" -type f -printf '%s\n' | awk 'BEGIN { n = 65536 } $1 > n { n = $1 } END { print n }'
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

# The test builds keep line tables only: a sanitizer's report still names every file and line, and
# the build is a tenth quicker without the full debug information nobody reads from them.
test_build_flags=(-DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON -DBUILD_TESTS=ON -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1)

sanitizer_options() {
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:strict_string_checks=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
}

run_tests() {
    sanitizer_options
    ctest --test-dir "$1" --output-on-failure -j "$jobs"
}

# The tests built with clang and the sanitizers: clang evaluates some things in another order
# than g++ (a by-value argument before the others of a call), so a fault one compiler hides
# shows under the other.
build_clang_tests() {
    ensure_packages tools/fuzz_deps.txt  # clang and its sanitizer runtimes
    CC=clang CXX=clang++ configure_and_build build/clang "${test_build_flags[@]}"
}

cmd=${1:-test}
[ $# -gt 0 ] && shift

case "$cmd" in
test)
    ensure_packages
    configure_and_build build/sanitize "${test_build_flags[@]}"
    run_tests build/sanitize
    ;;
test-clang)
    ensure_packages
    build_clang_tests
    run_tests build/clang
    ;;
run)
    ensure_packages
    configure_and_build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTS=OFF
    program=""
    candidates="lect32 Linework"
    # "./make.sh run linework [args]" starts the drafting program whatever else is built.
    if [ "${1:-}" = linework ]; then
        shift
        candidates="Linework"
    fi
    for candidate in $candidates; do
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
    ensure_packages tools/bench_deps.txt
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
fuzz)
    ensure_packages
    ensure_packages tools/fuzz_deps.txt
    # './make.sh fuzz 30' runs every target for 30 seconds.
    target=""
    if [ $# -gt 0 ] && ! [[ $1 =~ ^[0-9]+$ ]]; then
        target=${1%_fuzz}_fuzz
        shift
    fi
    seconds=${1:-10}
    # What fuzzing finds is often what the clang build of the tests shows already: it must
    # compile, and a run of every target runs its tests first.
    build_clang_tests
    if [ -z "$target" ]; then (run_tests build/clang); fi
    CC=clang CXX=clang++ configure_and_build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFUZZ=ON -DBUILD_TESTS=OFF
    targets=()
    for b in build/fuzz/bin/*_fuzz; do targets+=("$(basename "$b")"); done
    if [ -n "$target" ]; then
        if [ ! -x "build/fuzz/bin/$target" ]; then
            echo "make.sh: no fuzz target $target; there are: ${targets[*]}" >&2
            exit 2
        fi
        targets=("$target")
    fi
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    # Files of independent tools as further seeds; a missing tool (77) only leaves its formats out.
    python3 -B tools/make_fuzz_seeds.py build/fuzz/seed_files || [ $? = 77 ]
    # Several processes fuzz a target at once, as jobs sharing its corpus; each job writes its log
    # into the folder it starts in, and the run's log holds them all when they are done.
    workers=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}
    parallel=()
    if [ "$workers" -gt 1 ]; then parallel=(-jobs="$workers" -workers="$workers"); fi
    failed=()
    summary=()
    for t in "${targets[@]}"; do
        corpus=$root/build/fuzz/corpus/$t
        crashes=$root/build/fuzz/crashes/$t
        log=$root/build/fuzz/logs/$t.log
        jobs_folder=$root/build/fuzz/logs/$t
        mkdir -p "$corpus" "$crashes" "$jobs_folder"
        "build/fuzz/bin/$t" --write-seeds "$corpus"
        # libFuzzer reads every folder named and adds what it finds to the first one only.
        inputs=("$corpus")
        for folder in "$root/build/fuzz/seed_files/$t" "$root/tests/fuzz/repro/$t"; do
            if [ -d "$folder" ]; then inputs+=("$folder"); fi
        done
        started=build/fuzz/logs/$t.started
        touch "$started"
        max_len=$(fuzz_max_len "${inputs[@]}")
        echo "== $t: ${seconds} s, $workers process(es), inputs up to $max_len bytes, corpus $corpus"
        status=0
        (cd "$jobs_folder" && "$root/build/fuzz/bin/$t" "${parallel[@]}" -max_len="$max_len" -len_control=0 \
            -max_total_time="$seconds" -timeout=30 -artifact_prefix="$crashes/" \
            "${inputs[@]}" >"$log" 2>&1) || status=$?
        found=$(find "$crashes" -type f -newer "$started" | sort)
        result=ok
        if [ "$status" != 0 ] || [ -n "$found" ]; then
            tail -n 40 "$log"
            echo "make.sh: $t failed (exit $status); log $log; inputs: ${found:-none}" >&2
            failed+=("$t")
            result=FAILED
        fi
        summary+=("$t $(fuzz_figures "$log") $result")
    done
    echo "== ${#targets[@]} target(s), ${seconds} s each, $workers process(es) each"
    printf '%-26s %12s %10s %10s  %s\n' target runs exec/s coverage result
    for line in "${summary[@]}"; do
        # shellcheck disable=SC2086
        printf '%-26s %12s %10s %10s  %s\n' $line
    done
    if [ ${#failed[@]} -gt 0 ]; then
        echo "make.sh: fuzzing found faults in: ${failed[*]} (reproduce: build/fuzz/bin/<target> <input>)" >&2
        echo "make.sh: keep every input that failed: once the fault is fixed, copy it into" \
            "tests/fuzz/repro/<target>/ under a name that says what it broke and commit it;" \
            "every test run then loads it again (ctest -R <target>_repro)" >&2
        exit 1
    fi
    echo "make.sh: no faults found in ${#targets[@]} target(s)"
    ;;
*)
    echo "usage: ./make.sh test | test-clang | run [args] | bench [benchmark args] | fuzz [target] [seconds]" >&2
    exit 2
    ;;
esac
