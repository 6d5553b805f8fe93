#!/usr/bin/env bash
# Runs every test on a fresh machine: installs the packages, builds everything in Release and runs
# CTest, then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, then a
# 60-second fuzz runs of the saved-state loader and of the preset-file reader. The Debian package is
# made from the Release build and checked after its tests.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

stage() { echo; echo "=== $1 ($(date +%H:%M:%S))"; }

stage "Release build and tests"
scripts/configure.sh build
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

stage "Debian package from the Release build, checked"
package_start=$SECONDS
scripts/package.sh
echo "The package stage took $((SECONDS - package_start)) s"

stage "Sanitizer build and tests"
scripts/sanitizer-tests.sh

stage "Saved-state fuzzing, 60 s"
scripts/fuzz-state.sh 60

stage "Preset-file fuzzing, 60 s"
scripts/fuzz-presets.sh 60

stage "All tests passed"
