#!/usr/bin/env bash
# Configures a build folder: scripts/configure.sh BUILD_DIR [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="$1"
shift
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release "$@" > "$build_dir.configure.log" 2>&1 \
    || { cat "$build_dir.configure.log"; exit 1; }
