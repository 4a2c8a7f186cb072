#!/usr/bin/env bash
# Installs the tools a developer uses to try the program as a user would (Debian 12, root or sudo):
# a virtual screen, keyboard driving, screenshots, PDF pages as pictures, the sqlite3 shell, a leak
# checker, an SVG renderer for tools/make-icons.sh and a small window manager that draws title bars on
# the virtual screen. The program and its tests do not need them.
set -euo pipefail

packages=(xvfb xauth xdotool imagemagick poppler-utils sqlite3 valgrind librsvg2-bin openbox)

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
