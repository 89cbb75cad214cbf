#!/usr/bin/env bash
# Builds everything and runs the whole test suite: all suites headless on
# the offscreen platform, then the model, canvas, widget and program suites
# again under AddressSanitizer, since those free framing items in several
# places.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
(cd build && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure)

asan_suites=(model_tests canvas_tests widgets_tests app_tests)
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLLIVAR_ASAN=ON -DTOLLIVAR_BUILD_BENCH=OFF >/dev/null
available=$(cmake --build build-asan --target help)
targets=()
for suite in "${asan_suites[@]}"; do
    if grep -qx "\.\.\. $suite" <<<"$available"; then
        targets+=("$suite")
    fi
done
if [ ${#targets[@]} -gt 0 ]; then
    cmake --build build-asan -j "$jobs" --target "${targets[@]}"
    regex=$(IFS='|'; echo "^(${targets[*]})(\\.|\$)")
    (cd build-asan && QT_QPA_PLATFORM=offscreen ctest -j "$jobs" --output-on-failure -R "$regex")
fi
echo "All tests passed."
