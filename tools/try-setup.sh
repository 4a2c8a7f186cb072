#!/usr/bin/env bash
# Drives the shop's set-up through the real window on a virtual screen, as a new shop owner would from
# the keyboard: a fresh home, the shop's name, ticket header and telephone line typed in, the samples
# replaced, no pictures, the sample menu emptied. Then reads the database back and checks what was
# stored; screenshots of each page go to the output folder.
#   tools/try-setup.sh [build/quillmenu] [output folder]
# Needs tools/dev-tools.sh (Xvfb, xdotool, ImageMagick, sqlite3).
set -euo pipefail
# shellcheck source=tools/try-common.sh
. "$(dirname "$(realpath "$0")")/try-common.sh"
program=$(realpath "${1:-build/quillmenu}")
out=$(realpath -m "${2:-/tmp/try-setup}")
mkdir -p "$out"
if [[ -n "${TRY_SETUP_HOME:-}" ]]; then
    home=$TRY_SETUP_HOME
else
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
fi

drive() {
    openbox >/dev/null 2>&1 &
    sleep 1
    "$program" --home "$home" >"$out/program.log" 2>&1 &
    local pid=$!
    for _ in $(seq 50); do
        xdotool search --name '^开店向导$' >/dev/null 2>&1 && break
        sleep 0.2
    done
    local wizard
    wizard=$(xdotool search --name '^开店向导$' | head -1)
    xdotool windowactivate --sync "$wizard"
    sleep 0.5
    xdotool type --delay 40 '老王饺子馆'
    xdotool key Tab
    xdotool type --delay 40 '欢迎光临'
    xdotool key Tab space Tab
    xdotool type --delay 40 '订餐电话:0531-88886666'
    import -window root "$out/1-shop.png"
    xdotool key alt+n
    sleep 0.5
    import -window root "$out/2-printer.png"
    xdotool key alt+n
    sleep 0.5
    import -window root "$out/3-pictures.png"
    xdotool key alt+n
    sleep 0.5
    # The menu page: the second choice empties the sample menu.
    xdotool key Down
    import -window root "$out/4-menu.png"
    xdotool key alt+f
    sleep 1
    import -window root "$out/5-done.png"
    kill "$pid"
    wait "$pid" || true
}
if [[ "${TRY_SETUP_DRIVE:-}" == 1 ]]; then
    drive
    exit 0
fi
# xvfb-run's shell passes no functions on: the script runs itself on the virtual screen.
TRY_SETUP_DRIVE=1 TRY_SETUP_HOME="$home" xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$program" "$out"

db="$home/data/data.db"
query() { sqlite3 "$db" "$1"; }
check "店名" "老王饺子馆" "$(query "SELECT group_concat(店铺名称, '|') FROM 店名")"
check "票头" "欢迎光临" "$(query "SELECT group_concat(票头, '|') FROM 票头设置")"
check "chosen shop" "老王饺子馆" "$(query "SELECT 记录信息 FROM 记录 WHERE 记录内容 = '店铺名称'")"
check "extra line 1" "订餐电话:0531-88886666|1" \
    "$(query "SELECT (SELECT 记录信息 FROM 记录 WHERE 记录内容 = '附带信息1') || '|' || (SELECT 记录信息 FROM 记录 WHERE 记录内容 = '附带信息1勾选')")"
check "pictures" "0|0" \
    "$(query "SELECT (SELECT 记录信息 FROM 记录 WHERE 记录内容 = '顶部图片勾选') || '|' || (SELECT 记录信息 FROM 记录 WHERE 记录内容 = '底部图片勾选')")"
check "dishes" "0" "$(query "SELECT COUNT(*) FROM 菜单")"
check "set-up done" "1" "$(query "SELECT 记录信息 FROM 记录 WHERE 记录内容 = '开店向导'")"
exit $fail
