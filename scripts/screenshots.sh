#!/usr/bin/env bash
# Makes the README's pictures: builds the end-to-end roads, runs them with
# their pictures going to a scratch folder and copies five of them into
# docs/. The roads run headless; Chinese needs an installed CJK font.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
if ! fc-list :lang=zh family | grep -q .; then
    echo "No Chinese font installed (fonts-noto-cjk): the pictures would show boxes." >&2
    exit 1
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" --target roads_tests

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
(cd build && TOLLIVAR_SHOTS_DIR="$shots" QT_QPA_PLATFORM=offscreen \
    ctest -R '^roads_tests\.' --output-on-failure)

# The road of a new card: picture label in the road, name in docs/.
pictures=(
    "start:start-page"
    "viewer:page-viewer"
    "objective-dialog:objective-block"
    "association-dialog:association-dialog"
    "save-message:save-message"
)
mkdir -p docs
for picture in "${pictures[@]}"; do
    label=${picture%%:*}
    found=("$shots"/CardRoad-[0-9][0-9]-"$label".png)
    if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
        echo "The road took no picture \"$label\"." >&2
        exit 1
    fi
    cp "${found[0]}" "docs/${picture#*:}.png"
done
echo "Pictures written to docs/."
