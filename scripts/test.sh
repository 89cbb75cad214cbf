#!/usr/bin/env bash
# Builds everything and runs the whole test suite: every suite headless on
# the offscreen platform in the Release build; every suite again in the
# sanitizer build (clang: AddressSanitizer with leak checks and
# UndefinedBehaviorSanitizer, each stopping at its first report); then
# each fuzz target for a minute. Prints how long each part took.
# TOLLIVAR_JOBS sets the parallel jobs (default: every core).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=${TOLLIVAR_JOBS:-$(nproc)}

took() { echo "$1 took $((SECONDS - started)) s."; started=$SECONDS; }
started=$SECONDS

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
(cd build && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure)
took "Release build and tests"

scripts/sanitizer-build.sh build-sanitize
# The layer check reads the sources, not the build: once is enough.
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure -E '^layers$')
took "Sanitizer build and tests"

scripts/fuzz.sh 60 build-sanitize
took "Fuzzing"
echo "All tests passed."
