#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting on a virtual X display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1920x1080x24" build/app/tollivar
fi
exec build/app/tollivar
