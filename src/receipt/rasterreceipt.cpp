#include "receipt/rasterreceipt.h"

#include "receipt/paintersurface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qm {

namespace {

// Dots at least half covered print (a thinner stroke prints where it covers most, see threshold()).
constexpr int inkThreshold = 128;

// The layout's units are 0.1 mm: ten thousand to the metre.
void setResolution(QImage& image, double dotsPerUnit) {
    const int dotsPerMeter = int(std::lround(dotsPerUnit * 10000));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
}

// The printer surface on a picture: text as everywhere, pictures dithered in place so that the later
// threshold leaves their dots alone.
class RasterSurface : public PainterSurface {
public:
    RasterSurface(QImage* canvas, QPainter* painter, int width, double dotsPerUnit)
        : PainterSurface(canvas, painter, width, Kind::Printer, dotsPerUnit) {}

    void drawPicture(const QImage& picture, int x, int y, int w, int h) override {
        QPainter* p = painter();
        if (!p || picture.isNull())
            return;
        const double s = scale();
        const QPoint topLeft(int(std::lround(x * s)), int(std::lround(y * s)));
        const QSize size(int(std::lround((x + w) * s)) - topLeft.x(),
                         int(std::lround((y + h) * s)) - topLeft.y());
        if (size.isEmpty())
            return;
        p->save();
        p->resetTransform();
        p->drawImage(topLeft, ditherPicture(picture, size));
        p->restore();
    }
};

// How much of each dot is covered, 0 (white) to 255 (black), with a white frame around the page; and
// for each row of the page whether it holds any ink at all. Most of a receipt is white: a white dot
// costs one comparison, a white row nothing later on.
struct InkCover {
    int row = 0; // the width of a row of `ink`, frame included
    std::vector<uchar> ink;
    std::vector<bool> inked;
};

InkCover inkCover(const QImage& canvas) {
    const int width = canvas.width();
    const int height = canvas.height();
    InkCover cover;
    cover.row = width + 2;
    cover.ink.assign(size_t(cover.row) * size_t(height + 2), 0);
    cover.inked.assign(size_t(height), false);
    const std::vector<QRgb> white(size_t(width), 0xffffffffu);
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        if (std::memcmp(in, white.data(), white.size() * sizeof(QRgb)) == 0)
            continue;
        uchar* out = cover.ink.data() + size_t(y + 1) * size_t(cover.row) + 1;
        bool any = false;
        for (int x = 0; x < width; ++x) {
            const QRgb dot = in[x];
            if (dot == 0xffffffffu)
                continue;
            out[x] = uchar(255 - qGray(dot));
            any = any || out[x] != 0;
        }
        cover.inked[size_t(y)] = any;
    }
    return cover;
}

// Whether the middle of three dots across a stroke holds its ink: more than the one after it and no less
// than the one before, so that a stroke split evenly between two dots prints on one of them. Beside a
// stroke that prints anyway, only a clear peak counts (twice the ink of either neighbour): the even
// fringe along a printing stroke's edge stays white, a thin stroke meeting it still prints.
bool holdsStroke(int before, int cover, int after, bool besidePrinting) {
    if (besidePrinting)
        return cover >= 2 * std::max(before, after);
    return cover >= before && cover > after;
}

// A dot prints when it is at least half covered. A stroke thinner than a dot covers no dot that far, so
// it prints where it covers most: on the dot that holds its ink across the stroke (along a row for an
// upright stroke, along a column for a level one). Every stroke of the drawing thus keeps a dot.
QImage threshold(const QImage& canvas) {
    const int width = canvas.width();
    const int height = canvas.height();
    QImage mono(canvas.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0);
    const InkCover cover = inkCover(canvas);
    const ptrdiff_t row = cover.row;
    const auto printsAlone = [](int ink) { return ink >= inkThreshold; };
    for (int y = 0; y < height; ++y) {
        if (!cover.inked[size_t(y)])
            continue;
        const uchar* line = cover.ink.data() + (y + 1) * row + 1;
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < width; ++x) {
            // Eight white dots at a time.
            if ((x & 7) == 0 && x + 8 <= width) {
                std::uint64_t eight;
                std::memcpy(&eight, line + x, sizeof eight);
                if (eight == 0) {
                    x += 7;
                    continue;
                }
            }
            const uchar* c = line + x;
            if (*c == 0)
                continue;
            bool prints = printsAlone(*c);
            if (!prints) {
                const bool beside =
                    printsAlone(c[-1]) || printsAlone(c[1]) || printsAlone(c[-row]) || printsAlone(c[row]);
                prints = holdsStroke(c[-1], *c, c[1], beside) || holdsStroke(c[-row], *c, c[row], beside);
            }
            if (prints)
                out[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    return mono;
}

} // namespace

int rasterDots(int paperWidthMm) {
    return paperWidthMm >= 80 ? 576 : 384;
}

QImage ditherPicture(const QImage& picture, QSize size) {
    QImage flat(size, QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter painter(&flat);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    }

    const int w = size.width();
    // Two rows of grey levels in sixteenths; the error runs right and down.
    std::vector<int> current(size_t(w) + 2), next(size_t(w) + 2);
    for (int x = 0; x < w; ++x)
        current[size_t(x) + 1] = qGray(flat.pixel(x, 0)) * 16;
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(flat.scanLine(y));
        if (y + 1 < size.height()) {
            const auto* below = reinterpret_cast<const QRgb*>(flat.constScanLine(y + 1));
            for (int x = 0; x < w; ++x)
                next[size_t(x) + 1] = qGray(below[x]) * 16;
        }
        for (int x = 0; x < w; ++x) {
            const int old = current[size_t(x) + 1];
            const int value = old < 128 * 16 ? 0 : 255 * 16;
            const int error = old - value;
            line[x] = value == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
            current[size_t(x) + 2] += error * 7 / 16;
            next[size_t(x)] += error * 3 / 16;
            next[size_t(x) + 1] += error * 5 / 16;
            next[size_t(x) + 2] += error / 16;
        }
        std::swap(current, next);
    }
    return flat;
}

QImage drawRaster(const std::function<int(ReceiptSurface&)>& draw, int printWidth, int dots) {
    const double dotsPerUnit = double(dots) / std::max(1, printWidth);
    QImage probe(1, 1, QImage::Format_RGB32);
    setResolution(probe, dotsPerUnit);
    PainterSurface measure(&probe, nullptr, printWidth, ReceiptSurface::Kind::Printer, dotsPerUnit);
    const int height = draw(measure);

    const double rows = std::max(1.0, std::ceil(height * dotsPerUnit));
    if (rows > maxRasterRows)
        return {};
    QImage canvas(dots, int(rows), QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    setResolution(canvas, dotsPerUnit);
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        RasterSurface surface(&canvas, &painter, printWidth, dotsPerUnit);
        draw(surface);
    }
    return threshold(canvas);
}

} // namespace qm
