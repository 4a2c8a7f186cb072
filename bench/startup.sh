#!/usr/bin/env bash
# Start-up against a bare Qt window: process start to the window mapped, polled every 5 ms, median of
# five runs each, on one virtual screen; warm (page cache kept) and, as root, cold (page cache dropped
# before each run). Prints both medians and their ratio (goal: the program within 1.5× of the window).
#   bench/startup.sh [build] [home]     (home: a program home to start on, e.g. a million-order one)
# Needs tools/dev-tools.sh (Xvfb, xdotool).
set -euo pipefail
build=$(realpath "${1:-build}")
home=${2:-}
if [[ -z "${STARTUP_ON_SCREEN:-}" ]]; then
    STARTUP_ON_SCREEN=1 exec xvfb-run -a -s "-screen 0 1280x900x24" "$0" "$@"
fi
if [[ -z "$home" ]]; then
    home=$(mktemp -d)
    trap 'rm -rf "$home"' EXIT
    # A first start creates the database, which the runs then open.
    "$build/quillmenu" --home "$home" --no-setup >/dev/null 2>&1 &
    first=$!
    until xdotool search --onlyvisible --name '^Quillmenu' >/dev/null 2>&1; do sleep 0.05; done
    kill "$first"
    wait "$first" || true
fi

# Milliseconds from the start of `command` to a visible window whose title matches `title`.
time_to_window() {
    local title=$1
    shift
    local start end pid
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --name "$title" >/dev/null 2>&1; do
        if ! kill -0 "$pid" 2>/dev/null || (($(date +%s%N) - start > 30000000000)); then
            echo "no window \"$title\" from $1" >&2
            exit 1
        fi
        sleep 0.005
    done
    end=$(date +%s%N)
    # Killed outright: a closing program would first make the day's copy of a big database, and the next
    # start would find the home still in use.
    kill -9 "$pid"
    wait "$pid" 2>/dev/null || true
    echo $(((end - start) / 1000000))
}

median() { sort -n | sed -n 3p; }

drop_caches() {
    sync
    echo 3 >/proc/sys/vm/drop_caches 2>/dev/null
}

measure() { # warm|cold, title, command...
    local mode=$1
    shift
    for _ in 1 2 3 4 5; do
        [[ "$mode" == cold ]] && drop_caches
        time_to_window "$@"
        sleep 0.3
    done | median
}

modes=(warm)
if [[ $(id -u) == 0 ]] && drop_caches; then modes+=(cold); fi
for mode in "${modes[@]}"; do
    bare=$(measure "$mode" '^barewindow$' "$build/bench/quillmenu_barewindow")
    program=$(measure "$mode" '^Quillmenu' "$build/quillmenu" --home "$home" --no-setup)
    ratio=$(awk -v p="$program" -v b="$bare" 'BEGIN { printf "%.2f", p / b }')
    echo "$mode: bare Qt window ${bare} ms, quillmenu ${program} ms, ratio ${ratio} (goal ≤ 1.50)"
done
