#!/usr/bin/env bash
# Installs the tools a developer uses to try the program as a user would (Debian 12, root or sudo):
# a virtual screen, keyboard driving, screenshots, PDF pages as pictures, the sqlite3 shell, a leak
# checker, an SVG renderer for tools/make-icons.sh and a small window manager that draws title bars on
# the virtual screen. The program and its tests do not need them.
set -euo pipefail

packages=(xvfb xauth xdotool imagemagick poppler-utils sqlite3 valgrind librsvg2-bin openbox)

# shellcheck source=tools/install-packages.sh
. "$(dirname "$0")/install-packages.sh"
install_missing_packages "${packages[@]}"
