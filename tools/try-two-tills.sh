#!/usr/bin/env bash
# Two tills on one PostgreSQL server, driven through the real windows on one virtual screen: a throwaway
# server on 127.0.0.1 (initdb + pg_ctl, as nobody when run as root), two program homes pointed at it with
# --database, an order typed and settled (F12) on till 1, then till 2 is looked at: its status line must
# show the order within two seconds. The order is read back from the server with psql; screenshots of
# both tills go to the output folder.
#   tools/try-two-tills.sh [build/quillmenu] [output folder]
# Needs the project's packages (postgresql) and tools/dev-tools.sh (Xvfb, xdotool, ImageMagick).
set -euo pipefail
program=$(realpath "${1:-build/quillmenu}")
out=$(realpath -m "${2:-/tmp/try-two-tills}")
mkdir -p "$out"
bin=/usr/lib/postgresql/15/bin

if [[ "${TWO_TILLS_DRIVE:-}" != 1 ]]; then
    work=$(mktemp -d)
    as_server=()
    if [[ $(id -u) == 0 ]]; then
        chown nobody "$work"
        as_server=(runuser -u nobody --)
    fi
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    "${as_server[@]}" "$bin/initdb" -D "$work/data" -U shop -A trust -E UTF8 --no-locale --no-sync >/dev/null
    "${as_server[@]}" "$bin/pg_ctl" -D "$work/data" -l "$work/server.log" -w \
        -o "-c listen_addresses=127.0.0.1 -p $port -c unix_socket_directories=$work" start >/dev/null
    stop_server() {
        "${as_server[@]}" "$bin/pg_ctl" -D "$work/data" -m fast -w stop >/dev/null || true
        rm -rf "$work"
    }
    trap stop_server EXIT
    psql -h 127.0.0.1 -p "$port" -U shop -d postgres -qc 'CREATE DATABASE shop' >/dev/null
    status=0
    TWO_TILLS_DRIVE=1 TWO_TILLS_URL="postgresql://shop@127.0.0.1:$port/shop" TWO_TILLS_WORK="$work" \
        xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$program" "$out" || status=$?
    orders=$(psql -h 127.0.0.1 -p "$port" -U shop -d shop -Atc "SELECT COUNT(*) || ' ' || MIN(收银机) FROM 存单")
    echo "orders on the server: $orders"
    [[ "$orders" == "1 柜台" ]] || status=1
    exit $status
fi

# On the virtual screen.
openbox >/dev/null 2>&1 &
openbox=$!
sleep 1
export QUILLMENU_PRINT_PDF="$TWO_TILLS_WORK/receipt.pdf"
pids=()
for till in 柜台 电话; do
    home="$TWO_TILLS_WORK/home-$till"
    mkdir -p "$home"
    printf '[till]\nname=%s\n' "$till" >"$home/收银机.ini"
    "$program" --home "$home" --no-setup --database "$TWO_TILLS_URL" >"$out/till-$till.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        [[ $(xdotool search --onlyvisible --name '^Quillmenu' 2>/dev/null | wc -l) -ge ${#pids[@]} ]] && break
        sleep 0.1
    done
done
mapfile -t windows < <(xdotool search --onlyvisible --name '^Quillmenu')
[[ ${#windows[@]} -ge 2 ]] || { echo "the two tills did not both open" >&2; exit 1; }
first=${windows[0]}
second=${windows[1]}
xdotool windowmove "$first" 0 0 windowmove "$second" 800 0
sleep 1
xdotool windowactivate --sync "$first"
sleep 0.3
xdotool key F1
xdotool type --delay 60 '101'
xdotool key Return
sleep 0.5
# The quantity box: 1.
xdotool key Return
sleep 0.3
xdotool key F12
sleep 2.5
import -window root "$out/both-tills.png"
for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
kill "$openbox" 2>/dev/null || true
