#!/usr/bin/env bash
# Installs the Debian packages the project needs (only the missing ones) and configures and builds
# the project with CMake into build/. Safe to run again: it is quick when everything is in place.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake pkg-config ccache
    qt6-base-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev libgl-dev libxkbcommon-dev
    fonts-arphic-uming fonts-wqy-microhei
    cups-client
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ "${#missing[@]}" -gt 0 ]; then
    sudo_cmd=()
    [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
