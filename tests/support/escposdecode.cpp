#include "support/escposdecode.h"

#include <algorithm>

namespace qm {

namespace {

bool black(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

DecodedJob decodeEscPos(const QByteArray& job, int widthDots) {
    DecodedJob out;
    QList<QByteArray> rows;
    int rowBytes = 0;
    qsizetype i = 0;
    const auto at = [&job](qsizetype k) { return int(uchar(job[k])); };
    while (i < job.size()) {
        const int lead = at(i);
        qsizetype length = 0;
        if (lead == 0x1b && i + 1 < job.size()) {
            switch (at(i + 1)) {
            case '@':
                length = 2;
                break;
            case 'd':
                length = 3;
                break;
            case 'p':
                length = 5;
                break;
            }
        } else if (lead == 0x1d && i + 1 < job.size()) {
            if (at(i + 1) == 'V')
                length = i + 2 < job.size() && at(i + 2) >= 65 ? 4 : 3;
            if (at(i + 1) == 'v' && i + 7 < job.size() && at(i + 2) == '0') {
                const int width = at(i + 4) | at(i + 5) << 8;
                const int height = at(i + 6) | at(i + 7) << 8;
                rowBytes = std::max(rowBytes, width);
                if (i + 8 + qsizetype(width) * height > job.size()) {
                    out.error = QStringLiteral("band cut short at byte %1").arg(i);
                    return out;
                }
                out.commands << job.mid(i, 8);
                out.bandRows << height;
                for (int r = 0; r < height; ++r)
                    rows << job.mid(i + 8 + qsizetype(r) * width, width);
                i += 8 + qsizetype(width) * height;
                continue;
            }
        }
        if (length == 0 || i + length > job.size()) {
            out.error = QStringLiteral("unknown byte 0x%1 at %2").arg(lead, 2, 16, QLatin1Char('0')).arg(i);
            return out;
        }
        out.commands << job.mid(i, length);
        i += length;
    }
    if (!rows.isEmpty()) {
        out.raster = QImage(std::max(rowBytes * 8, widthDots), int(rows.size()), QImage::Format_Mono);
        out.raster.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
        out.raster.fill(0);
        for (int y = 0; y < rows.size(); ++y)
            std::copy(rows[y].cbegin(), rows[y].cend(), reinterpret_cast<char*>(out.raster.scanLine(y)));
    }
    return out;
}

bool sameDots(const QImage& a, const QImage& b, QString* where) {
    if (a.size() != b.size()) {
        if (where)
            *where = QStringLiteral("sizes %1×%2 and %3×%4")
                         .arg(a.width())
                         .arg(a.height())
                         .arg(b.width())
                         .arg(b.height());
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (black(a, x, y) != black(b, x, y)) {
                if (where)
                    *where = QStringLiteral("dot (%1, %2)").arg(x).arg(y);
                return false;
            }
        }
    }
    return true;
}

} // namespace qm
