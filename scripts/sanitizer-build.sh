#!/usr/bin/env bash
# Configures and builds the sanitizer build into <build dir> (default:
# build-sanitize): clang, AddressSanitizer with leak checks and
# UndefinedBehaviorSanitizer, and the fuzz targets. Further arguments name
# the targets to build (default: all). TOLLIVAR_JOBS sets the parallel
# jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build-sanitize}
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DTOLLIVAR_SANITIZE=address,undefined -DTOLLIVAR_FUZZ=ON -DTOLLIVAR_BUILD_BENCH=OFF >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$build_dir" -j "${TOLLIVAR_JOBS:-$(nproc)}" --target "$@"
else
    cmake --build "$build_dir" -j "${TOLLIVAR_JOBS:-$(nproc)}"
fi
