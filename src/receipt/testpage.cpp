#include "receipt/testpage.h"

#include "core/platform.h"
#include "receipt/directprinter.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptsurface.h"

#include <QPainter>

#include <algorithm>

namespace qm {

namespace {

constexpr int dotsPerMm = 8;
constexpr int lineGap = 6; // as between the lines of a receipt

int centred(ReceiptSurface& surface, int y, const QString& text) {
    surface.drawText(std::max(0, (surface.width() - surface.textWidth(text)) / 2), y, text);
    return y + surface.textHeight(text) + lineGap;
}

// Left-aligned, broken between characters where the line runs out (a long queue or host name).
int left(ReceiptSurface& surface, int y, const QString& text) {
    QString rest = text;
    do {
        qsizetype fits = rest.size();
        while (fits > 1 && surface.textWidth(rest.left(fits)) > surface.width())
            --fits;
        surface.drawText(0, y, rest.left(fits));
        y += surface.textHeight(rest) + lineGap;
        rest = rest.mid(fits);
    } while (!rest.isEmpty());
    return y;
}

} // namespace

QImage rulerPicture(int millimetres) {
    const int width = std::max(1, millimetres) * dotsPerMm;
    const int height = 56;
    QImage ruler(width, height, QImage::Format_RGB32);
    ruler.setDotsPerMeterX(dotsPerMm * 1000);
    ruler.setDotsPerMeterY(dotsPerMm * 1000);
    ruler.fill(Qt::white);
    QPainter painter(&ruler);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(0, height - 2, width, 2);
    for (int mm = 0; mm <= millimetres; ++mm) {
        const int tick = mm % 10 == 0 ? 30 : mm % 5 == 0 ? 20 : 10;
        const int x = std::min(mm * dotsPerMm, width - 2);
        painter.drawRect(x, height - tick, 2, tick);
    }
    // Both ends run the full height, so a cut-off edge shows at once.
    painter.drawRect(0, 0, 2, height);
    painter.drawRect(width - 2, 0, 2, height);
    QFont font;
    font.setPixelSize(16);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int mm = 10; mm < millimetres; mm += 10)
        painter.drawText(QRect(mm * dotsPerMm - 20, 2, 40, 20), Qt::AlignCenter, QString::number(mm));
    return ruler;
}

int drawTestPage(ReceiptSurface& surface, const TestPage& page, const QImage& ruler) {
    int y = 0;
    surface.setFont(12, true);
    y = centred(surface, y, page.shopName.isEmpty() ? QStringLiteral("（没有店铺名称）") : page.shopName);
    surface.setFont(9, false);
    y = centred(surface, y, QStringLiteral("打印测试页"));
    y = left(surface, y, page.time);
    y = left(surface, y, page.printer);
    y = left(surface, y, QStringLiteral("纸宽 %1 mm，可打印 %2 mm").arg(page.paperWidthMm).arg(page.rulerMm));
    y = left(surface, y, QStringLiteral("汉字 ABCabc 0123456789 ￥"));

    const QSize size = surface.pictureSize(ruler);
    if (size.width() > 0) {
        const int w = surface.width();
        const int h = int(qint64(size.height()) * w / size.width());
        surface.drawPicture(ruler, 0, y, w, h);
        y += h + lineGap;
    }
    return left(surface, y, QStringLiteral("刻度每格 1 mm，两端为可打印宽度的边缘"));
}

bool printTestPage(Platform& platform, const PrinterChoice& choice, int paperWidthMm, int printWidth,
                   const QString& shopName, const SendLimits& limits) {
    TestPage page;
    page.shopName = shopName;
    page.time = platform.now().toString(QStringLiteral("yyyy年M月d日 HH:mm:ss"));
    page.printer = choice.describe();
    page.paperWidthMm = paperWidthMm;
    const int dots = rasterDots(paperWidthMm);
    page.rulerMm = choice.direct() ? dots / dotsPerMm : printWidth / 10;
    const QImage ruler = rulerPicture(page.rulerMm);
    const auto draw = [&](ReceiptSurface& surface) { return drawTestPage(surface, page, ruler); };

    if (!choice.direct()) {
        PrintRequest request;
        request.paperWidthMm = paperWidthMm;
        request.printWidth = printWidth;
        request.documentName = QStringLiteral("打印测试页");
        const std::unique_ptr<ReceiptPrinter> printer = platform.choosePrinter(request);
        return printer && printer->printPage(draw);
    }
    DirectPrinter printer(platform, makeSender(choice, limits), printWidth, dots);
    if (printer.printPage(draw))
        return true;
    tellSendFailure(platform, printer.lastResult());
    return false;
}

} // namespace qm
