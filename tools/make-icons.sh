#!/usr/bin/env bash
# Renders the program icon packaging/icons/org.quillmenu.Quillmenu.svg into the PNG sizes the program
# carries as its window icon and installs into the icon theme: resources/icons/quillmenu-{48,128,256}.png.
# Needs librsvg2-bin (rsvg-convert) and optipng when present.
set -euo pipefail
cd "$(dirname "$0")/.."

mkdir -p resources/icons
for size in 48 128 256; do
    out=resources/icons/quillmenu-$size.png
    rsvg-convert -w "$size" -h "$size" packaging/icons/org.quillmenu.Quillmenu.svg -o "$out"
    if command -v optipng >/dev/null; then
        optipng -quiet -o5 -strip all "$out"
    fi
done
