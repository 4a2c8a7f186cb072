#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it: the files it installs, the dependencies it
# declares, the desktop entry and the AppStream metainfo, and that the packaged program starts.
# Usage: check-package.sh BUILD_DIR. Exits 77 (skipped) when a packaging tool is not installed.
set -euo pipefail

build=$(cd "${1:?usage: check-package.sh BUILD_DIR}" && pwd)
id=org.quillmenu.Quillmenu

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (tools/setup.sh installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
problem() {
    echo "FAIL: $*"
    fail=1
}

(cd "$build" && cpack --config CPackConfig.cmake -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    echo "FAIL: cpack did not build the package"
    exit 1
}
debs=("$work"/out/quillmenu_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no quillmenu_*.deb in $work/out"; exit 1; }
deb=${debs[0]}
echo "package: $(basename "$deb")"

# The file list: exactly these files, nothing from the build or the tests.
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort >"$work/files"
sort >"$work/expected" <<LIST
usr/bin/quillmenu
usr/lib/quillmenu/libquillmenu_charts.so
usr/share/applications/$id.desktop
usr/share/doc/quillmenu/README.md
usr/share/doc/quillmenu/copyright
usr/share/doc/quillmenu/怎样使用软件.html
usr/share/doc/quillmenu/打印不了怎么办.html
usr/share/doc/quillmenu/图表组件帮助.html
usr/share/doc/quillmenu/菜单示例.csv
usr/share/doc/quillmenu/客户示例.csv
usr/share/icons/hicolor/128x128/apps/$id.png
usr/share/icons/hicolor/256x256/apps/$id.png
usr/share/icons/hicolor/48x48/apps/$id.png
usr/share/icons/hicolor/scalable/apps/$id.svg
usr/share/metainfo/$id.metainfo.xml
LIST
if ! diff -u "$work/expected" "$work/files"; then
    problem "the package's file list differs from the expected one (- expected, + packaged)"
fi

# The dependencies: the Qt libraries found by dpkg-shlibdeps and what the program loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/[ (].*//')
for need in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6sql6 libqt6printsupport6 libqt6charts6 \
    libqt6sql6-sqlite qt6-translations-l10n fonts-arphic-uming fonts-wqy-microhei; do
    grep -qxF "$need" <<<"$names" || problem "Depends lacks $need"
done
# Help documents open through xdg-open.
grep -qw xdg-utils <<<"$(dpkg-deb -f "$deb" Recommends)" || problem "Recommends lacks xdg-utils"
[ "$(dpkg-deb -f "$deb" Package)" = quillmenu ] || problem "the package is not named quillmenu"

# The packaged files themselves.
dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/$id.desktop" || problem "desktop-file-validate"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/$id.metainfo.xml" || problem "appstreamcli validate"
for size in 48 128 256; do
    file=$work/root/usr/share/icons/hicolor/${size}x$size/apps/$id.png
    dims=$(od -An -tu1 -j16 -N8 "$file" | awk '{print $3*256+$4 "x" $7*256+$8}')
    [ "$dims" = "${size}x$size" ] || problem "the $size px icon is $dims"
done
grep -q '^Icon='"$id"'$' "$work/root/usr/share/applications/$id.desktop" || problem "the desktop entry names another icon"
# The chart module, loaded by the program when it draws its first chart: it loads with the libraries the
# package depends on and exports the program's entry.
module=$work/root/usr/lib/quillmenu/libquillmenu_charts.so
readelf -d "$module" | grep -q 'NEEDED.*libQt6Charts' || problem "the chart module does not link Qt Charts"
python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1]).quillmenu_chart_drawer' "$module" ||
    problem "the chart module does not load or lacks its entry"
! readelf -d "$work/root/usr/bin/quillmenu" | grep -q 'NEEDED.*libQt6Charts' ||
    problem "the program links Qt Charts itself; it should load it with the chart module"
version=$("$work/root/usr/bin/quillmenu" --version) || problem "the packaged program does not run"
[ "$version" = "Quillmenu $(dpkg-deb -f "$deb" Version)" ] || problem "quillmenu --version says '$version'"

[ "$fail" -eq 0 ] && echo "package checked: $(wc -l <"$work/files") files"
exit "$fail"
