#include "receipt/rasterreceipt.h"

#include "receipt/paintersurface.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace qm {

namespace {

// Grey levels darker than this print. Half-way keeps the strokes of small type as wide as on screen.
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

QImage threshold(const QImage& canvas) {
    QImage mono(canvas.size(), QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0);
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* out = mono.scanLine(y);
        for (int x = 0; x < canvas.width(); ++x) {
            if (qGray(in[x]) < inkThreshold)
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
