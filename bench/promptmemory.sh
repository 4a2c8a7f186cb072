#!/bin/bash
# Memory held by the quantity prompt: starts the real program on a throw-away home under a virtual screen
# (the growth shows only with real X windows and key events, not on the offscreen platform), opens the
# prompt with Enter and cancels it with Esc N times after 100 warm-up prompts, and prints the resident
# memory before and after.
#   bench/promptmemory.sh build/quillmenu 1000
set -eu
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
program=$(realpath "$1")
prompts=${2:-1000}
home=$(mktemp -d)
trap 'kill "$app" 2>/dev/null; rm -rf "$home"' EXIT
QT_QPA_PLATFORM=xcb "$program" --home "$home" --no-setup >/dev/null 2>&1 &
app=$!
sleep 4
window=$(xdotool search --name Quillmenu | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
xdotool key F1
sleep 0.3
xdotool type 108
sleep 0.3
resident() { awk '/VmRSS/ { print $2 }' "/proc/$app/status"; }
prompt() {
    for _ in $(seq "$1"); do
        xdotool key Return
        sleep 0.03
        xdotool key Escape
        sleep 0.03
    done
}
prompt 100
before=$(resident)
prompt "$prompts"
after=$(resident)
echo "resident memory after warm-up:       $before kB"
echo "resident memory after $prompts prompts: $after kB"
awk -v a="$after" -v b="$before" -v n="$prompts" 'BEGIN { printf "growth per prompt:                   %.3f kB\n", (a - b) / n }'
