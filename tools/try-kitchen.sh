#!/usr/bin/env bash
# Tries the kitchen tickets through the real window on a virtual screen: two fake ESC/POS printers on
# 127.0.0.1 stand for the wok station (厨房, 80 mm) and the dumpling station (面点, 58 mm), a third for the
# receipt printer. On a fresh home (--no-setup) 白菜肉水饺 goes to 面点 and 王老吉 stays "不出单"; the
# stations' printers are set in the till's 后厨打印机.json, the receipt printer in 收银机.ini. An order of
# 空心菜 ×2, 白菜肉水饺 ×1 and 王老吉 ×2 is typed with xdotool and settled with F12. Then each printer
# must have received one job: its raster is decoded back to a picture (PNG beside the job), and the
# window is captured.
#   tools/try-kitchen.sh [build/quillmenu] [output folder]
# Needs tools/dev-tools.sh (Xvfb, xdotool, openbox, ImageMagick, sqlite3) and python3.
# shellcheck disable=SC2317  # the run is a function the script calls by name on the virtual screen
set -euo pipefail
# shellcheck source=tools/try-common.sh
. "$(dirname "$(realpath "$0")")/try-common.sh"
here=$(dirname "$(realpath "$0")")
if [[ -n "${KITCHEN_TRY_STEP:-}" ]]; then
    program=$KITCHEN_TRY_PROGRAM
    out=$KITCHEN_TRY_OUT
    home=$KITCHEN_TRY_HOME
else
    program=$(realpath "${1:-build/quillmenu}")
    out=$(realpath -m "${2:-/tmp/try-kitchen}")
    rm -rf "$out"
    home=$(mktemp -d)
fi
mkdir -p "$out"

# Waits up to ten seconds for a window whose title matches $1 and prints its id.
window() {
    for _ in $(seq 50); do
        if xdotool search --name "$1" 2>/dev/null | head -1; then
            return 0
        fi
        sleep 0.2
    done
    echo "no window $1" >&2
    return 1
}
shot() { import -window root "$out/$1.png"; }
typed() { xdotool type --delay 40 "$1"; }

# The first start makes the database; nothing else.
first_start() {
    "$program" --home "$home" --no-setup >"$out/program-1.log" 2>&1 &
    local pid=$!
    window '^Quillmenu' >/dev/null
    sleep 1
    kill "$pid"
    wait "$pid" || true
}

# A dish by its code, then its quantity in the prompt 菜品选择.
dish() {
    xdotool key F1
    sleep 0.3
    typed "$1"
    xdotool key Return
    window '^菜品选择$' >/dev/null
    sleep 0.3
    xdotool key ctrl+a
    typed "$2"
    xdotool key Return
    sleep 0.5
}

order_and_settle() {
    "$program" --home "$home" --no-setup >"$out/program-2.log" 2>&1 &
    local pid=$!
    local main
    main=$(window '^Quillmenu')
    xdotool windowactivate --sync "$main"
    sleep 1
    dish 108 2 # 空心菜, 厨房
    dish 005 1 # 白菜肉水饺, 面点
    dish 105 2 # 王老吉, 不出单
    shot 1-order
    xdotool key F12
    sleep 2
    shot 2-settled
    kill "$pid"
    wait "$pid" || true
}

if [[ -n "${KITCHEN_TRY_STEP:-}" ]]; then
    openbox >/dev/null 2>&1 &
    sleep 1
    "$KITCHEN_TRY_STEP"
    exit 0
fi

printers=()
cleanup() {
    for p in "${printers[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$home"
}
trap cleanup EXIT
for name in kitchen dumplings receipt; do
    python3 "$here/fake-escpos-printer.py" "$out/$name" --seconds 300 &
    printers+=($!)
done
for name in kitchen dumplings receipt; do
    for _ in $(seq 50); do [[ -f "$out/$name/port" ]] && break; sleep 0.1; done
done
port() { cat "$out/$1/port"; }

# xvfb-run's shell passes no functions on: the script runs itself on the virtual screen, once per run.
drive() {
    KITCHEN_TRY_STEP=$1 KITCHEN_TRY_HOME="$home" KITCHEN_TRY_PROGRAM="$program" KITCHEN_TRY_OUT="$out" \
        xvfb-run -a -s "-screen 0 1280x900x24" "$0"
}
drive first_start

db="$home/data/data.db"
sqlite3 "$db" "INSERT INTO 出品部门 (部门名称) VALUES ('面点');
               UPDATE 菜单 SET 出品部门 = '面点' WHERE 菜名 = '白菜肉水饺';"
cat >"$home/后厨打印机.json" <<JSON
{"stations": [
  {"station": "厨房", "kind": 1, "host": "127.0.0.1", "port": $(port kitchen), "paper": 80},
  {"station": "面点", "kind": 1, "host": "127.0.0.1", "port": $(port dumplings), "paper": 58}
]}
JSON
use_network_receipt_printer "$home/收银机.ini" "$(port receipt)"
drive order_and_settle

sleep 1
declare -A dots=([kitchen]=576 [dumplings]=384 [receipt]=384)
pictures=()
for name in kitchen dumplings receipt; do
    jobs=("$out/$name"/job-*.bin)
    [[ -e "${jobs[0]}" ]] || jobs=()
    check "$name jobs" 1 "${#jobs[@]}"
    for job in "${jobs[@]}"; do
        if decoded=$(python3 "$here/fake-escpos-printer.py" --decode "$job"); then
            echo "     $decoded"
            check "$name raster width" "${dots[$name]}" "$(sed -E 's/.*raster ([0-9]+)x.*/\1/' <<<"$decoded")"
            convert "$job.pbm" -bordercolor gray -border 4 "$job.png"
            pictures+=("$job.png")
        else
            fail=1
        fi
    done
done
# The decoded jobs side by side: the slips must show only their own station's dishes, no prices.
if ((${#pictures[@]})); then
    convert "${pictures[@]}" -gravity north -background white +append "$out/decoded-jobs.png"
fi
check "orders stored" 1 "$(sqlite3 "$db" "SELECT count(*) FROM 存单")"
check "lines stored" "空心菜 2.0,白菜肉水饺 1.0,王老吉 2.0" \
    "$(sqlite3 "$db" "SELECT group_concat(菜名 || ' ' || 数量, ',') FROM 存单详单")"
echo "pictures in $out"
exit $fail
