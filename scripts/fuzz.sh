#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time,
# seeded from the shipped data, the generated assets in build/data (when built) and the TIFF
# layouts of the texture tests (written by build-fuzz/tests/fuzz/tiff_seeds).
#   scripts/fuzz.sh             20 seconds per target, or KESTRUN_FUZZ_SECONDS (what ./test runs)
#   scripts/fuzz.sh 600         ten minutes per target
#   scripts/fuzz.sh 60 course   one target (level, course, tiff, raw, settings, records)
# Targets run side by side, as many at a time as there are cores (KESTRUN_FUZZ_JOBS to
# choose). The corpus grows in fuzz-out/TARGET/corpus and is kept between runs. A crash, a
# leak, undefined behaviour or a timeout leaves its input in fuzz-out/TARGET/ and makes the
# script fail; run the target on that file alone to reproduce it:
#   build-fuzz/tests/fuzz/fuzz_TARGET fuzz-out/TARGET/crash-...
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-${KESTRUN_FUZZ_SECONDS:-20}}"
only="${2:-}"
jobs="${KESTRUN_FUZZ_JOBS:-$(nproc)}"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRUN_TESTS=OFF -DKESTRUN_BENCH=OFF -DKESTRUN_FUZZ=ON >/dev/null
targets=$(sed -n 's/^kestrun_add_fuzzer(\(fuzz_[a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)
if [ -n "$only" ]; then
    targets=$(printf '%s\n' $targets | grep -x "fuzz_$only" || true)
    if [ -z "$targets" ]; then
        echo "no fuzz target named '$only'" >&2
        exit 2
    fi
fi
# shellcheck disable=SC2086
cmake --build build-fuzz -j "$(nproc)" --target $targets

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Fuzzes one target in fuzz-out/NAME for the given time; its log goes to fuzz.log there and
# the fuzzer's exit status to status.
fuzz_one() {
    local target="$1" name="${1#fuzz_}"
    local work="fuzz-out/$name"
    mkdir -p "$work/corpus"
    echo running >"$work/status"
    if [ -d "tests/fuzz/seeds/$name" ]; then
        cp -f tests/fuzz/seeds/"$name"/* "$work/corpus/"
    fi
    if [ -x "tests/fuzz/seeds/$name.sh" ]; then
        "tests/fuzz/seeds/$name.sh" "$work/corpus"
    fi
    # A course may declare 65535 x 65535 cells: the reader then asks for that grid (4 GB, never
    # touched unless the cells are there) before it reads them, so single allocations may be
    # that large while the memory in use stays below 2 GB.
    local rc=0
    (cd "$work" && exec "../../build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=4096 -print_final_stats=1 corpus \
        >fuzz.log 2>&1) || rc=$?
    echo "$rc" >"$work/status"
}

for target in $targets; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    echo "fuzzing ${target#fuzz_} for ${seconds}s"
    fuzz_one "$target" &
done
wait

status=0
for target in $targets; do
    name="${target#fuzz_}"
    if [ "$(cat "fuzz-out/$name/status")" = 0 ]; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "fuzz-out/$name/fuzz.log")
        echo "fuzzer $name: ${runs:-?} runs, no problem found"
    else
        echo "fuzzer $name found a problem; see fuzz-out/$name/fuzz.log and the crash-*," \
             "leak-* or timeout-* file there" >&2
        tail -40 "fuzz-out/$name/fuzz.log" >&2
        status=1
    fi
done
exit $status
