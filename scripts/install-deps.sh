#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and benchmark.
set -euo pipefail

packages=(
    build-essential cmake pkg-config ccache git patch
    juce-modules-source
    libpng-dev libjpeg-dev zlib1g-dev libfreetype-dev libx11-dev libxrandr-dev libxinerama-dev libxcursor-dev
    googletest libgtest-dev libbenchmark-dev
    xvfb x11-utils xauth imagemagick libxtst-dev python3 python3-pil
    clang libclang-rt-14-dev
    libasound2-dev libjack-jackd2-dev lilv-utils
    ardour
    dpkg-dev fakeroot lintian desktop-file-utils
    jackd2 jalv
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
