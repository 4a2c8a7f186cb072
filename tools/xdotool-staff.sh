#!/usr/bin/env bash
# Drives staff mode through the real windows on a virtual screen, from keyboard and mouse as the shop
# would: on a fresh home the owner turns staff mode on in 员工与权限… and adds the cashier 小张; a paid
# order of today is put in the database; at the next start the cashier signs in on the cover, opens the
# history, deletes the order, is asked "需要店长授权" and the owner types the password. Then reads the
# database back with sqlite3 and checks the record of changes; screenshots of each step go to the output
# folder.
#   tools/xdotool-staff.sh [build/quillmenu] [output folder]
# Needs tools/dev-tools.sh (Xvfb, xdotool, openbox, ImageMagick, sqlite3).
# shellcheck disable=SC2317  # the two runs are functions the script calls by name on the virtual screen
set -euo pipefail
# shellcheck source=tools/try-common.sh
. "$(dirname "$(realpath "$0")")/try-common.sh"
if [[ -n "${STAFF_TRY_STEP:-}" ]]; then
    program=$STAFF_TRY_PROGRAM
    out=$STAFF_TRY_OUT
else
    program=$(realpath "${1:-build/quillmenu}")
    out=$(realpath -m "${2:-/tmp/xdotool-staff}")
fi
mkdir -p "$out"
if [[ -n "${STAFF_TRY_HOME:-}" ]]; then
    home=$STAFF_TRY_HOME
else
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
fi
db="$home/data/data.db"
owner='王店主'
cashier='小张'
password='owner-pass-2026'
pin='7351'

# Waits up to ten seconds for a window whose title is exactly $1 and prints its id.
window() {
    for _ in $(seq 50); do
        if xdotool search --name "^$1\$" 2>/dev/null | head -1; then
            return 0
        fi
        sleep 0.2
    done
    echo "no window $1" >&2
    return 1
}
shot() { import -window root "$out/$1.png"; }
typed() { xdotool type --delay 40 "$1"; }

# The first run: staff mode on, the cashier added.
set_up_staff() {
    "$program" --home "$home" --no-setup >"$out/program-1.log" 2>&1 &
    local pid=$!
    local main staff
    main=$(window 'Quillmenu.*')
    xdotool windowactivate --sync "$main"
    sleep 0.5
    # 设置菜单 from the keyboard; from the top, Up wraps round to its last entry, 员工与权限….
    xdotool key alt+s
    sleep 0.5
    xdotool key Up Return
    staff=$(window '员工与权限')
    sleep 0.5
    shot 1-staff-window
    xdotool key space # 开启员工模式…
    sleep 0.7
    typed "$owner"
    xdotool key Return
    sleep 0.7
    typed "$password"
    xdotool key Return
    sleep 0.7
    typed "$password"
    xdotool key Return
    sleep 1.5 # the password's slow hash
    shot 2-staff-mode-on
    xdotool windowactivate --sync "$staff"
    # The name box, below the list of staff.
    xdotool mousemove --window "$staff" 200 380 click --repeat 3 1
    sleep 0.3
    typed "$cashier"
    # The role: the first choice, 收银员; then 保存员工 and the PIN twice.
    xdotool key Tab Home Tab space
    sleep 0.7
    typed "$pin"
    xdotool key Return
    sleep 0.7
    typed "$pin"
    xdotool key Return
    sleep 1.5
    shot 3-cashier-added
    kill "$pid"
    wait "$pid" || true
}

# The second run: the cashier signs in, deletes the order, the owner allows it.
cashier_deletes() {
    "$program" --home "$home" --no-setup >"$out/program-2.log" 2>&1 &
    local pid=$!
    local cover history
    cover=$(window '登录')
    sleep 1
    shot 4-sign-in-cover
    xdotool windowactivate --sync "$cover"
    # From the PIN box back to the names, the cashier is the second; then the PIN.
    xdotool key shift+Tab Down Tab
    sleep 0.3
    typed "$pin"
    xdotool key Return
    sleep 1.5
    shot 5-signed-in
    xdotool key alt+l # 历史单据
    history=$(window '历史订单')
    sleep 1
    xdotool windowactivate --sync "$history"
    # The newest order, the list's first row.
    xdotool mousemove --window "$history" 300 84 click 1
    sleep 0.5
    shot 6-history
    xdotool key Delete
    sleep 1
    shot 7-delete-question
    xdotool key Return # 是
    window '需要店长授权' >/dev/null
    sleep 0.5
    shot 8-authorisation
    typed "$password"
    xdotool key Return
    sleep 1.5
    shot 9-deleted
    xdotool key Escape
    sleep 0.5
    kill "$pid"
    wait "$pid" || true
}

if [[ -n "${STAFF_TRY_STEP:-}" ]]; then
    openbox >/dev/null 2>&1 &
    sleep 1
    "$STAFF_TRY_STEP"
    exit 0
fi

query() { sqlite3 "$db" "$1"; }
# xvfb-run's shell passes no functions on: the script runs itself on the virtual screen, once per run.
drive() {
    STAFF_TRY_STEP=$1 STAFF_TRY_HOME="$home" STAFF_TRY_PROGRAM="$program" STAFF_TRY_OUT="$out" \
        xvfb-run -a -s "-screen 0 1280x900x24" "$0"
}
drive set_up_staff
today=$(date '+%Y-%m-%d')
query "INSERT INTO 存单 (编号, 票头, 店铺名称, 时间, 减免, 减免份数, 减免金额, 合计, 支付方式, 已付, 实付, 桌号,
           电话, 姓名, 地址, 是否结算, 备注, 收银机, 操作员)
       VALUES (1, '微信点餐', '白云快餐', '$today 11:30:00', '', 0, 0, 41, '现金支付', 50, 41, '号牌 3', '', '',
           '', 1, '', '一号机', '$cashier');
       INSERT INTO 存单详单 (存单ID, 销售时间, 菜名, 数量, 单位, 小计)
       VALUES (last_insert_rowid(), '$today 11:30:00', '酸菜鱼', 1, '份', 16),
              (last_insert_rowid(), '$today 11:30:00', '王老吉', 2, '瓶', 25);"
drive cashier_deletes

check "staff" "$owner|店主,$cashier|收银员" "$(query "SELECT group_concat(姓名 || '|' || 角色, ',') FROM 员工")"
check "orders left" "0" "$(query "SELECT count(*) FROM 存单")"
check "lines left" "0" "$(query "SELECT count(*) FROM 存单详单")"
check "deletion recorded" "$cashier|$owner|1" \
    "$(query "SELECT 人员 || '|' || 授权人 || '|' || 编号 FROM 操作记录 WHERE 操作 = '删除订单'")"
check "the order kept in the record" "1" \
    "$(query "SELECT count(*) FROM 操作记录 WHERE 操作 = '删除订单' AND 之前 LIKE '%实付：41%' AND 之前 LIKE '%酸菜鱼%'")"
check "actions" "开启员工模式,添加员工,删除订单" "$(query "SELECT group_concat(操作, ',') FROM 操作记录")"
check "no password in the file" "0" "$(cat "$db" "$db-wal" 2>/dev/null | grep -c -a -F "$password" || true)"
echo "the record of changes:"
query "SELECT ID, 时间, 人员, 授权人, 收银台, 操作, 编号 FROM 操作记录"
exit $fail
