#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a bounded time,
# seeded from the shipped data and the shared TIFF corpus.
#   scripts/fuzz.sh             20 seconds per target (what ./test runs)
#   scripts/fuzz.sh 600         ten minutes per target
#   scripts/fuzz.sh 60 course   one target
# A crash leaves its input in fuzz-out/TARGET/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-20}"
only="${2:-}"

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKESTRUN_TESTS=OFF -DKESTRUN_BENCH=OFF -DKESTRUN_FUZZ=ON >/dev/null
targets=$(sed -n 's/^kestrun_add_fuzzer(\(fuzz_[a-z_]*\).*/\1/p' tests/fuzz/CMakeLists.txt)
# shellcheck disable=SC2086
cmake --build build-fuzz -j "$(nproc)" --target $targets

status=0
for target in $targets; do
    name="${target#fuzz_}"
    if [ -n "$only" ] && [ "$only" != "$name" ]; then continue; fi
    seeds="tests/fuzz/seeds/$name"
    work="fuzz-out/$name"
    mkdir -p "$work/corpus"
    if [ -d "$seeds" ]; then cp -r "$seeds/." "$work/corpus/"; fi
    if [ -x "tests/fuzz/seeds/$name.sh" ]; then "tests/fuzz/seeds/$name.sh" "$work/corpus"; fi
    echo "fuzzing $name for ${seconds}s"
    if ! (cd "$work" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
            "../../build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
            -rss_limit_mb=4096 -print_final_stats=0 corpus >fuzz.log 2>&1); then
        echo "fuzzer $name found a problem; see $work/fuzz.log and the crash-* file there" >&2
        tail -40 "$work/fuzz.log" >&2
        status=1
    fi
done
exit $status
