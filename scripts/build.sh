#!/usr/bin/env bash
# Configures and builds into <build dir> (default: build). Extra arguments go to CMake.
# TOLLIVAR_JOBS sets the parallel jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build}
shift || true
cmake -S . -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j "${TOLLIVAR_JOBS:-$(nproc)}"
