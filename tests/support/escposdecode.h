#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace qm {

// An ESC/POS job taken apart: the commands in order, the raster bands stacked into one picture, each
// band's rows starting at the left edge.
struct DecodedJob {
    QList<QByteArray> commands; // each command's bytes; a raster band as its 8-byte head only
    QList<int> bandRows;
    QImage raster; // Format_Mono, index 1 black; null without bands
    QString error; // empty when every byte was understood
};

// Narrow bands are widened with white to the widest band, or to `widthDots` when that is wider.
DecodedJob decodeEscPos(const QByteArray& job, int widthDots = 0);

// Whether two 1-bit pictures have the same size and the same black dots; `where` tells the first
// difference.
bool sameDots(const QImage& a, const QImage& b, QString* where = nullptr);

} // namespace qm
