#!/usr/bin/env bash
# Installs the Debian packages the project needs (only the missing ones) and configures and builds
# the project with CMake into build/. Safe to run again: it is quick when everything is in place.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake pkg-config ccache
    qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql postgresql postgresql-client qt6-charts-dev libqt6opengl6-dev libgl-dev libxkbcommon-dev
    fonts-arphic-uming fonts-wqy-microhei
    cups-client poppler-utils
    qt6-translations-l10n desktop-file-utils appstream
    libsodium-dev
)

# shellcheck source=tools/install-packages.sh
. tools/install-packages.sh
install_missing_packages "${packages[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
