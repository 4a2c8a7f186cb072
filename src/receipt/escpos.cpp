#include "receipt/escpos.h"

#include <QImage>

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace qm::escpos {

namespace {

constexpr int ESC = 0x1b;
constexpr int GS = 0x1d;

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int value : values)
        out.append(char(value));
    return out;
}

void appendWord(QByteArray& out, int value) {
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

} // namespace

QByteArray initialize() {
    return bytes({ESC, '@'});
}

QByteArray raster(const QImage& mono) {
    const int width = mono.width();
    const int height = mono.height();
    const int rowBytes = (width + 7) / 8;
    // Dots past the right edge in the last byte stay white whatever the image holds there.
    const auto lastMask = uchar(0xff << ((8 - width % 8) % 8));
    // Which byte value prints: Qt may put black at either index of the colour table.
    const bool oneIsBlack = mono.colorCount() < 2 || qGray(mono.color(1)) < qGray(mono.color(0));
    const auto byteAt = [&](int y, int x) {
        const uchar byte = oneIsBlack ? mono.constScanLine(y)[x] : uchar(~mono.constScanLine(y)[x]);
        return x == rowBytes - 1 ? uchar(byte & lastMask) : byte;
    };

    // The bytes each row needs up to its last black dot, and the blank rows that start at each row.
    std::vector<int> needed(size_t(height), 0);
    std::vector<int> blankRun(size_t(height) + 1, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = rowBytes - 1; x >= 0; --x) {
            if (byteAt(y, x) != 0) {
                needed[size_t(y)] = x + 1;
                break;
            }
        }
        blankRun[size_t(y)] = needed[size_t(y)] == 0 ? blankRun[size_t(y) + 1] + 1 : 0;
    }
    const auto gap = [&](int y) { return blankRun[size_t(y)] >= minBlankRows; };

    QByteArray out;
    out.reserve(height * rowBytes / 2 + 1024);
    for (int top = 0; top < height;) {
        // A gap between lines travels as a band one byte wide; a band with black dots is as wide as its
        // rightmost one. Either way the paper moves one dot row per row.
        const bool blank = gap(top);
        int bottom = top;
        int bandBytes = 1;
        while (bottom < height && bottom - top < maxBandRows &&
               (blank ? needed[size_t(bottom)] == 0 : !gap(bottom))) {
            bandBytes = std::max(bandBytes, needed[size_t(bottom)]);
            ++bottom;
        }
        out.append(bytes({GS, 'v', '0', 0}));
        appendWord(out, bandBytes);
        appendWord(out, bottom - top);
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < bandBytes; ++x)
                out.append(char(byteAt(y, x)));
        }
        top = bottom;
    }
    return out;
}

QByteArray feedAndCut() {
    return bytes({ESC, 'd', 4, GS, 'V', 1});
}

QByteArray drawerKick() {
    return bytes({ESC, 'p', 0, 25, 250});
}

QByteArray receiptJob(const QImage& mono) {
    return initialize() + raster(mono) + feedAndCut();
}

QByteArray drawerJob() {
    return initialize() + drawerKick();
}

} // namespace qm::escpos
