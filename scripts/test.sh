#!/usr/bin/env bash
# Runs every test on a fresh machine: installs the packages, builds everything and runs CTest.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

start=$(date +%s)
scripts/configure.sh build
cmake --build build -j2
echo "Build took $(( $(date +%s) - start )) s"

ctest --test-dir build --output-on-failure -j2
