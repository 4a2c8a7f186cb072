#!/usr/bin/env bash
# Draws the built-in receipt pictures into resources/receipt/ (top.png 430 × 189, bottom.png 430 × 430).
# Needs qt6-base-dev, qrencode and fonts-wqy-microhei.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

qrencode -t PNG -s 1 -m 0 -l M -o "$work/matrix.png" "示例二维码：请在打印设置中换成您自己的图片"
g++ -std=c++20 -fPIC -O1 -o "$work/receiptpictures" tools/receiptpictures/main.cpp \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/receiptpictures" "$work/matrix.png" \
    resources/receipt/top.png resources/receipt/bottom.png
