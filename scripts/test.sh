#!/usr/bin/env bash
# Builds everything and runs the whole test suite: every suite headless on
# the offscreen platform in the Release build; every suite again in the
# sanitizer build (clang: AddressSanitizer with leak checks and
# UndefinedBehaviorSanitizer, each stopping at its first report); then
# each fuzz target for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=${TOLLIVAR_JOBS:-$(nproc)}

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
(cd build && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure)

scripts/sanitizer-build.sh build-sanitize
# The layer check reads the sources, not the build: once is enough.
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure -E '^layers$')

scripts/fuzz.sh 60 build-sanitize
echo "All tests passed."
