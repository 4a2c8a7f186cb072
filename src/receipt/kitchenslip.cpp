#include "receipt/kitchenslip.h"

#include "core/numtext.h"
#include "receipt/escpos.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptsurface.h"

#include <QImage>

#include <algorithm>

namespace qm {

namespace {

// Type sizes in points: the number is read across the pass, the dishes at arm's length.
constexpr int numberPoints = 40;
constexpr int bannerPoints = 22;
constexpr int placePoints = 16;
constexpr int linePoints = 16;
constexpr int notePoints = 14;
constexpr int smallPoints = 10;
constexpr int lineGap = 8;

// The text broken between characters into pieces no wider than `width` (at least one character each).
// A longer piece is never narrower than a shorter one, so the longest piece that fits is found by halving.
QStringList breakText(const ReceiptSurface& surface, const QString& text, int width) {
    QStringList pieces;
    QString rest = text;
    while (!rest.isEmpty()) {
        qsizetype fits = rest.size();
        if (fits > 1 && surface.textWidth(rest) > width) {
            qsizetype low = 1;     // fits, or is the least a piece holds
            qsizetype high = fits; // does not fit
            while (high - low > 1) {
                const qsizetype middle = low + (high - low) / 2;
                if (surface.textWidth(rest.left(middle)) > width)
                    high = middle;
                else
                    low = middle;
            }
            fits = low;
        }
        pieces << rest.left(fits);
        rest = rest.mid(fits);
    }
    if (pieces.isEmpty())
        pieces << QString();
    return pieces;
}

class SlipWriter {
public:
    explicit SlipWriter(ReceiptSurface& surface)
        : m_surface(surface)
        , m_width(surface.width()) {}

    int y() const { return m_y; }

    void left(const QString& text, int points, bool bold) {
        m_surface.setFont(points, bold);
        for (const QString& piece : breakText(m_surface, text, m_width)) {
            m_surface.drawText(0, m_y, piece);
            m_y += m_surface.textHeight(piece) + lineGap;
        }
    }

    void centred(const QString& text, int points, bool bold) {
        m_surface.setFont(points, bold);
        for (const QString& piece : breakText(m_surface, text, m_width)) {
            m_surface.drawText(std::max(0, (m_width - m_surface.textWidth(piece)) / 2), m_y, piece);
            m_y += m_surface.textHeight(piece) + lineGap;
        }
    }

    // A rule of the character across the whole width.
    void rule(const QString& character, int points) {
        m_surface.setFont(points, true);
        const int one = std::max(1, m_surface.textWidth(character));
        QString text = character.repeated(std::max(1, m_width / one));
        while (text.size() > 1 && m_surface.textWidth(text) > m_width)
            text.chop(1);
        m_surface.drawText(0, m_y, text);
        m_y += m_surface.textHeight(text) + lineGap;
    }

    // The dish name on the left, broken where it runs out; the quantity on the right of its first line.
    void dish(const QString& name, const QString& quantity) {
        m_surface.setFont(linePoints, true);
        const int quantityWidth = m_surface.textWidth(quantity);
        const int gap = m_surface.textWidth(QStringLiteral(" "));
        const int nameWidth = std::max(m_width / 3, m_width - quantityWidth - gap);
        const QStringList pieces = breakText(m_surface, name, nameWidth);
        for (int i = 0; i < pieces.size(); ++i) {
            m_surface.drawText(0, m_y, pieces[i]);
            if (i == 0)
                m_surface.drawText(std::max(0, m_width - quantityWidth), m_y, quantity);
            m_y += m_surface.textHeight(pieces[i]) + lineGap;
        }
    }

    void space(int units) { m_y += units; }

private:
    ReceiptSurface& m_surface;
    int m_width;
    int m_y = 0;
};

void section(SlipWriter& out, const QString& heading, const QList<KitchenSlipLine>& lines,
             const QString& sign) {
    if (!heading.isEmpty())
        out.left(QStringLiteral("【%1】").arg(heading), placePoints, true);
    for (const KitchenSlipLine& line : lines)
        out.dish(line.name, sign + slipQuantity(line));
}

} // namespace

QString slipBanner(const KitchenSlip& slip) {
    switch (slip.kind) {
    case KitchenSlip::Kind::New:
        return {};
    case KitchenSlip::Kind::Reprint:
        return reprintHeading;
    case KitchenSlip::Kind::Change: {
        QStringList words;
        if (!slip.added.isEmpty())
            words << addedHeading;
        if (!slip.removed.isEmpty())
            words << removedHeading;
        return words.join(QLatin1Char(' '));
    }
    }
    return {};
}

QString slipQuantity(const KitchenSlipLine& line) {
    return doubleText(line.quantity) + line.unit;
}

int drawKitchenSlip(ReceiptSurface& surface, const KitchenSlip& slip) {
    SlipWriter out(surface);
    const QString banner = slipBanner(slip);
    // A slip that is no new order says so at its top and its foot, in type as large as the dishes.
    if (!banner.isEmpty()) {
        out.rule(QStringLiteral("*"), smallPoints);
        out.centred(QStringLiteral("★ %1 ★").arg(banner), bannerPoints, true);
        out.rule(QStringLiteral("*"), smallPoints);
    }
    out.centred(QStringLiteral("#") + slip.orderNumber, numberPoints, true);
    out.left(slip.place + QStringLiteral("  ") + slip.time, placePoints, true);
    out.left(QStringLiteral("出品：") + slip.station, smallPoints, true);
    if (!slip.ticketHeader.isEmpty())
        out.left(slip.ticketHeader, smallPoints, false);
    out.rule(QStringLiteral("-"), smallPoints);

    if (slip.kind == KitchenSlip::Kind::Change) {
        if (!slip.added.isEmpty())
            section(out, addedHeading, slip.added, QStringLiteral("+"));
        if (!slip.removed.isEmpty())
            section(out, removedHeading, slip.removed, QStringLiteral("-"));
    } else {
        section(out, QString(), slip.added, QString());
    }

    out.rule(QStringLiteral("-"), smallPoints);
    if (!trimBlanks(slip.note).isEmpty())
        out.left(QStringLiteral("备注：") + oneLineText(slip.note), notePoints, true);
    if (!banner.isEmpty()) {
        out.left(QStringLiteral("%1 %2").arg(banner, slip.sentTime), smallPoints, false);
        out.rule(QStringLiteral("*"), smallPoints);
    }
    out.space(lineGap);
    return out.y();
}

int slipPrintWidth(int paperWidthMm) {
    // 8 dots per mm, the layout in 0.1 mm.
    return rasterDots(paperWidthMm) * 10 / 8;
}

QByteArray kitchenSlipJob(const KitchenSlip& slip, int paperWidthMm) {
    const QImage raster =
        drawRaster([&slip](ReceiptSurface& surface) { return drawKitchenSlip(surface, slip); },
                   slipPrintWidth(paperWidthMm), rasterDots(paperWidthMm));
    if (raster.isNull())
        return {};
    return escpos::receiptJob(raster);
}

} // namespace qm
