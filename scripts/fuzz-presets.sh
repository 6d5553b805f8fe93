#!/usr/bin/env bash
# Fuzzes the .vstpreset reader with libFuzzer (clang, AddressSanitizer, UndefinedBehaviorSanitizer).
#   scripts/fuzz-presets.sh [SECONDS]     default 60
# Starts from the committed seed corpus (the factory bank as preset files); new corpus entries go
# to build-fuzz/corpus-preset, crashing inputs to build-fuzz/findings-preset.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"

CC=clang CXX=clang++ scripts/configure.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMBRA_SANITIZE=fuzzer-no-link,address,undefined -DLUMBRA_BUILD_FUZZERS=ON \
    -DLUMBRA_BUILD_TESTS=OFF -DLUMBRA_BUILD_BENCH=OFF -DLUMBRA_BUILD_TOOLS=OFF
cmake --build build-fuzz -j2 --target lumbra_preset_fuzzer

mkdir -p build-fuzz/corpus-preset build-fuzz/findings-preset
cp -n tests/fuzz/corpus/preset/* build-fuzz/corpus-preset/ 2>/dev/null || true

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
build-fuzz/tests/fuzz/lumbra_preset_fuzzer build-fuzz/corpus-preset \
    -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=4096 \
    -dict=tests/fuzz/preset.dict -artifact_prefix=build-fuzz/findings-preset/ -print_final_stats=1
