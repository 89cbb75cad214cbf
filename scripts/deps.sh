#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qtbase5-dev qttools5-dev-tools qttranslations5-l10n qt5-image-formats-plugins
    libopencv-dev libgomp1
    libgtest-dev libbenchmark-dev
    # The sanitizer and fuzzing build: clang, its sanitizer and libFuzzer
    # runtimes, its OpenMP, and llvm-symbolizer on the PATH for the reports.
    clang-14 libclang-rt-14-dev libomp-14-dev llvm-14 llvm
    libsane-dev libsane1 sane-utils
    fonts-noto-cjk
    xdg-utils
    xvfb xauth
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages need root: run this command as root (or with sudo)." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
