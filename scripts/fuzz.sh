#!/usr/bin/env bash
# Builds and runs the libFuzzer targets of fuzz/ (fuzz/README.md).
#
#   scripts/fuzz.sh build DIR            configure DIR from fuzz/ with clang++ and build every target
#   scripts/fuzz.sh run DIR [TARGET...]  run the targets of DIR (all when none is named) one after
#                                        the other: FUZZ_SECONDS seconds each (60 when unset), or
#                                        FUZZ_RUNS executions each when that is set
#   scripts/fuzz.sh check BINARY RUNS WORK
#                                        the regression check of `make test`: RUNS executions of one
#                                        target from its seed corpus alone, with a fixed seed
#
# A run keeps what it finds in DIR/corpus/TARGET, next to the seeds in
# fuzz/corpus/TARGET that it reads but never writes, and a failing input in
# DIR/artifacts/. The model's own lines on standard error (" *** ...") are
# closed off (-close_fd_mask=2); libFuzzer's, the sanitizers' and the
# targets' reports still show. Runs one target at a time: they share the
# machine with everything else.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
common=(-close_fd_mask=2 -timeout=30 -print_final_stats=1)

usage()
{
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
}

build()
{
    local dir="$1"
    cmake -S "$root/fuzz" -B "$dir" -DCMAKE_CXX_COMPILER="${FUZZ_CXX:-clang++}" >/dev/null
    cmake --build "$dir" -j"${JOBS:-2}"
}

run()
{
    local dir="$1"
    shift
    local targets=("$@")
    if [ ${#targets[@]} -eq 0 ]; then
        for f in "$root"/fuzz/*Fuzzer.cc; do
            targets+=("$(basename "$f" .cc)")
        done
    fi
    local limit=(-max_total_time="${FUZZ_SECONDS:-60}")
    if [ -n "${FUZZ_RUNS:-}" ]; then
        limit=(-runs="$FUZZ_RUNS")
    fi
    mkdir -p "$dir/artifacts"
    local failed=()
    for t in "${targets[@]}"; do
        mkdir -p "$dir/corpus/$t"
        echo "=== $t ${limit[*]}"
        if ! "$dir/$t" "${common[@]}" "${limit[@]}" -artifact_prefix="$dir/artifacts/$t-" \
            "$dir/corpus/$t" "$root/fuzz/corpus/$t"; then
            failed+=("$t")
        fi
    done
    if [ ${#failed[@]} -gt 0 ]; then
        echo "fuzz: failed: ${failed[*]} (inputs in $dir/artifacts/)" >&2
        exit 1
    fi
}

# A fresh corpus directory each time and a fixed seed: the same executions
# at every `make test`.
check()
{
    local binary="$1" runs="$2" work="$3"
    local t
    t="$(basename "$binary")"
    rm -rf "$work/$t"
    mkdir -p "$work/$t/corpus"
    "$binary" "${common[@]}" -seed=1 -runs="$runs" -artifact_prefix="$work/$t/" \
        "$work/$t/corpus" "$root/fuzz/corpus/$t"
}

case "${1:-}" in
build) [ $# -eq 2 ] || usage; build "$2" ;;
run) [ $# -ge 2 ] || usage; shift; run "$@" ;;
check) [ $# -eq 4 ] || usage; check "$2" "$3" "$4" ;;
*) usage ;;
esac
