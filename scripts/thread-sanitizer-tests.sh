#!/usr/bin/env bash
# Builds the concurrency test with ThreadSanitizer and runs it: the audio thread, the message
# thread (state, tempo, meters) and a host automation thread at once; any data race fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/configure.sh build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMBRA_SANITIZE=thread \
    -DLUMBRA_BUILD_BENCH=OFF
cmake --build build-tsan -j2 --target lumbra_thread_tests

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:history_size=4"
build-tsan/tests/lumbra_thread_tests
