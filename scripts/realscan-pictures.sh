#!/usr/bin/env bash
# Draws the grids the program measures on the real scans of tests/data/real
# into docs/real-<scan>.png: builds the algorithm tests and runs the
# real-paper table with TOLLIVAR_GRID_PICTURES_DIR set. Red boxes are the
# measured grid (each table framed whole, header and write-in row
# included), green crosses the hand-measured centres, blue the frame.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "${TOLLIVAR_JOBS:-$(nproc)}" --target algorithms_tests

mkdir -p docs
TOLLIVAR_GRID_PICTURES_DIR="$PWD/docs" QT_QPA_PLATFORM=offscreen \
    build/tests/algorithms_tests --gtest_filter='RealPaper.*'
echo "Pictures written to docs/real-*.png."
