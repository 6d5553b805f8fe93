#!/usr/bin/env bash
# Fuzzes the saved-state loader with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#   scripts/fuzz-state.sh [SECONDS]     default 60
# Starts from the committed seed corpus (real saved states, plus what earlier long runs grew from
# them, minimised) and the earlier findings; new corpus entries go to
# build-fuzz/corpus, crashing inputs to build-fuzz/findings (add those to tests/fuzz/regressions/state).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"

CC=clang CXX=clang++ scripts/configure.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMBRA_SANITIZE=fuzzer-no-link,address,undefined -DLUMBRA_BUILD_FUZZERS=ON \
    -DLUMBRA_BUILD_TESTS=OFF -DLUMBRA_BUILD_BENCH=OFF -DLUMBRA_BUILD_TOOLS=OFF
cmake --build build-fuzz -j2 --target lumbra_state_fuzzer

mkdir -p build-fuzz/corpus build-fuzz/findings
cp -n tests/fuzz/corpus/state/* tests/fuzz/corpus/state-grown/* tests/fuzz/regressions/state/* build-fuzz/corpus/ 2>/dev/null || true

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
build-fuzz/tests/fuzz/lumbra_state_fuzzer build-fuzz/corpus \
    -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
    -dict=tests/fuzz/state.dict -artifact_prefix=build-fuzz/findings/ -print_final_stats=1
