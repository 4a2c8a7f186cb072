#!/usr/bin/env bash
# Drives a known customer's delivery order through the real window on a virtual screen, as a cashier
# would with "数量默认 1，不再询问" and "电话后四位查找顾客" on: 108 Enter, 005 Enter, F3, the telephone's
# last four digits, F12: 14 key presses. The receipt goes to a fake network printer on 127.0.0.1. Then
# reads the database back: the order carries the customer's whole number, name and address.
#   tools/try-delivery.sh [build/quillmenu] [output folder]
# Needs tools/dev-tools.sh (Xvfb, xdotool, ImageMagick, sqlite3) and python3.
set -euo pipefail
# shellcheck source=tools/try-common.sh
. "$(dirname "$(realpath "$0")")/try-common.sh"
here=$(dirname "$(realpath "$0")")

wait_for_window() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name '^Quillmenu' >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "no main window" >&2
    return 1
}

if [[ -n "${DELIVERY_TRY_STEP:-}" ]]; then
    openbox >/dev/null 2>&1 &
    sleep 1
    "$DELIVERY_TRY_PROGRAM" --home "$DELIVERY_TRY_HOME" --no-setup >>"$DELIVERY_TRY_OUT/program.log" 2>&1 &
    pid=$!
    wait_for_window
    sleep 1
    if [[ "$DELIVERY_TRY_STEP" == order ]]; then
        for key in 1 0 8 Return 0 0 5 Return F3 8 0 0 0; do
            xdotool key "$key"
            sleep 0.15
        done
        sleep 0.5
        import -window root "$DELIVERY_TRY_OUT/before-F12.png"
        xdotool key F12
        sleep 2
    fi
    kill "$pid"
    wait "$pid" || true
    exit 0
fi

program=$(realpath "${1:-build/quillmenu}")
out=$(realpath -m "${2:-/tmp/try-delivery}")
rm -rf "$out"
mkdir -p "$out"
home=$(mktemp -d)
python3 "$here/fake-escpos-printer.py" "$out/receipt" --seconds 120 &
printer=$!
trap 'kill $printer 2>/dev/null || true; rm -rf "$home"' EXIT
for _ in $(seq 50); do [[ -f "$out/receipt/port" ]] && break; sleep 0.1; done

drive() {
    DELIVERY_TRY_STEP=$1 DELIVERY_TRY_HOME="$home" DELIVERY_TRY_PROGRAM="$program" DELIVERY_TRY_OUT="$out" \
        xvfb-run -a -s "-screen 0 1280x900x24" "$0"
}
# A first start creates the database; the customer, the settings and the printer go in with it closed.
drive first_start
db="$home/data/data.db"
sqlite3 "$db" "INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('13800138000', '张三', '一号路');
               DELETE FROM 记录 WHERE 记录内容 IN ('数量默认1', '电话后四位');
               INSERT INTO 记录 VALUES ('数量默认1', '1'), ('电话后四位', '1');"
use_network_receipt_printer "$home/收银机.ini" "$(cat "$out/receipt/port")"
drive order

check "order" "13800138000|张三|一号路|2" \
    "$(sqlite3 "$db" "SELECT 电话 || '|' || 姓名 || '|' || 地址 || '|' || (SELECT count(*) FROM 存单详单 WHERE 存单ID = 存单.ID) FROM 存单")"
check "customer's orders" "1" "$(sqlite3 "$db" "SELECT 订餐次数 FROM 客户 WHERE 电话 = '13800138000'")"
jobs=("$out/receipt"/job-*.bin)
[[ -e "${jobs[0]}" ]] || jobs=()
check "receipts printed" 1 "${#jobs[@]}"
echo "screenshot: $out/before-F12.png"
exit $fail
