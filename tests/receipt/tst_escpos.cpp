#include "receipt/escpos.h"
#include "receipt/paintersurface.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptsurface.h"
#include "support/escposdecode.h"

#include <QPainter>
#include <QTest>

#include <cmath>

using namespace qm;

namespace {

QImage mono(int width, int height) {
    QImage image(width, height, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    return image;
}

double blackShare(const QImage& image) {
    int black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            black += qGray(image.pixel(x, y)) < 128;
    return double(black) / (image.width() * image.height());
}

// The 58 mm roll: 480 layout units over 384 dots.
constexpr int rollWidth = 480;
constexpr int rollDots = 384;
// The finer rendering stands for the PDF: four times the printer's dots each way.
constexpr int fine = 4;

int drawLine(ReceiptSurface& surface, const QString& text, int points, bool bold) {
    surface.setFont(points, bold);
    surface.drawText(40, 20, text);
    return 40 + surface.textHeight(text);
}

// The line drawn as the PDF is: antialiased at `fine` times the printer's resolution, then inked where
// darker than half grey.
QImage fineRendering(const QString& text, int points, bool bold, QSize dots) {
    const double dotsPerUnit = double(rollDots) / rollWidth * fine;
    QImage canvas(dots * fine, QImage::Format_RGB32);
    const int dotsPerMeter = int(std::lround(dotsPerUnit * 10000));
    canvas.setDotsPerMeterX(dotsPerMeter);
    canvas.setDotsPerMeterY(dotsPerMeter);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    PainterSurface surface(&canvas, &painter, rollWidth, ReceiptSurface::Kind::Printer, dotsPerUnit);
    drawLine(surface, text, points, bold);
    return canvas;
}

bool blackNear(const QImage& mono, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < mono.width() && ny < mono.height() && mono.pixelIndex(nx, ny) == 1)
                return true;
        }
    return false;
}

} // namespace

class EscPosTest : public QObject {
    Q_OBJECT

private slots:
    void commandBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("initialize") << escpos::initialize() << QByteArray::fromHex("1b40");
        QTest::newRow("feed 4 lines, partial cut")
            << escpos::feedAndCut() << QByteArray::fromHex("1b64041d5601");
        QTest::newRow("drawer pin 2, 50 ms on, 500 ms off")
            << escpos::drawerKick() << QByteArray::fromHex("1b700019fa");
        QTest::newRow("drawer job") << escpos::drawerJob() << QByteArray::fromHex("1b401b700019fa");
        QImage dot = mono(8, 1);
        dot.setPixel(0, 0, 1);
        QTest::newRow("receipt job") << escpos::receiptJob(dot)
                                     << QByteArray::fromHex("1b40"
                                                            "1d763000010001"
                                                            "00"
                                                            "80"
                                                            "1b64041d5601");
    }
    void commandBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
    }

    // Ten dots across take two bytes a row, the leftmost dot in the highest bit; the six dots past the
    // edge stay white even where the image holds black there.
    void tinyRaster() {
        QImage image = mono(10, 4);
        image.setPixel(0, 0, 1);
        image.setPixel(9, 0, 1);
        for (int x = 1; x <= 8; ++x)
            image.setPixel(x, 2, 1);
        std::fill_n(image.scanLine(3), image.bytesPerLine(), uchar(0xff));
        const QByteArray expected = QByteArray::fromHex("1d7630000200040080400000"
                                                        "7f80"
                                                        "ffc0");
        QCOMPARE(escpos::raster(image).toHex(' '), expected.toHex(' '));

        // The same dots from a colour picture, whatever colour table Qt's conversion chooses.
        QImage colour(10, 4, QImage::Format_RGB32);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 10; ++x)
                colour.setPixel(x, y, qGray(image.pixel(x, y)) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        QCOMPARE(escpos::raster(colour.convertToFormat(QImage::Format_Mono)).toHex(' '), expected.toHex(' '));
    }

    // A band is as wide as its rightmost dot; a long enough gap goes as a band one byte wide.
    void narrowBands() {
        QImage image = mono(24, 12);
        image.setPixel(9, 0, 1);
        image.setPixel(0, 11, 1);
        const QByteArray expected = QByteArray::fromHex("1d76300002000100"
                                                        "0040"
                                                        "1d76300001000a00"
                                                        "00000000000000000000"
                                                        "1d76300001000100"
                                                        "80");
        QCOMPARE(escpos::raster(image).toHex(' '), expected.toHex(' '));
        const DecodedJob job = decodeEscPos(expected, 24);
        QString where;
        QVERIFY2(sameDots(job.raster, image, &where), qPrintable(where));
    }

    void bandsOfAtMost255Rows_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<QList<int>>("bands");
        QTest::newRow("one row") << 1 << QList<int>{1};
        QTest::newRow("exactly one band") << 255 << QList<int>{255};
        QTest::newRow("one row more") << 256 << QList<int>{255, 1};
        QTest::newRow("long receipt") << 600 << QList<int>{255, 255, 90};
    }
    void bandsOfAtMost255Rows() {
        QFETCH(int, height);
        QFETCH(QList<int>, bands);
        QImage image = mono(384, height);
        for (int y = 0; y < height; ++y)
            image.setPixel((y * 7) % 384, y, 1);
        const DecodedJob job = decodeEscPos(escpos::receiptJob(image), 384);
        QVERIFY2(job.error.isEmpty(), qPrintable(job.error));
        QCOMPARE(job.bandRows, bands);
        QString where;
        QVERIFY2(sameDots(job.raster, image, &where), qPrintable(where));
        QCOMPARE(job.commands.first(), escpos::initialize());
        QCOMPARE(job.commands.last(), QByteArray::fromHex("1d5601"));
    }

    // Pictures keep their tone as a share of black dots; black and white stay pure.
    void picturesDithered_data() {
        QTest::addColumn<int>("grey");
        QTest::addColumn<double>("share");
        QTest::newRow("white") << 255 << 0.0;
        QTest::newRow("light grey") << 192 << 0.25;
        QTest::newRow("mid grey") << 128 << 0.5;
        QTest::newRow("black") << 0 << 1.0;
    }
    void picturesDithered() {
        QFETCH(int, grey);
        QFETCH(double, share);
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(qRgb(grey, grey, grey));
        const QImage dithered = ditherPicture(picture, QSize(80, 60));
        QCOMPARE(dithered.size(), QSize(80, 60));
        QVERIFY2(std::abs(blackShare(dithered) - share) < 0.03,
                 qPrintable(QString::number(blackShare(dithered))));
    }

    // The layout's width spans the printer's dots: a rule drawn edge to edge reaches the last dot, and a
    // receipt as tall as 100 mm takes 800 rows on either roll.
    void layoutWidthSpansTheDots_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<int>("printWidth");
        QTest::addColumn<int>("dots");
        QTest::addColumn<int>("rows");
        QTest::newRow("58 mm") << 58 << 480 << 384 << 800;
        QTest::newRow("80 mm") << 80 << 700 << 576 << 823;
    }
    void layoutWidthSpansTheDots() {
        QFETCH(int, paper);
        QFETCH(int, printWidth);
        QFETCH(int, dots);
        QFETCH(int, rows);
        QCOMPARE(rasterDots(paper), dots);
        const QImage raster = drawRaster(
            [](ReceiptSurface& surface) {
                QImage black(10, 10, QImage::Format_RGB32);
                black.fill(Qt::black);
                surface.drawPicture(black, 0, 500, surface.width(), 10);
                return 1000;
            },
            printWidth, dots);
        QCOMPARE(raster.width(), dots);
        QCOMPARE(raster.height(), rows);
        const int row = int(500.0 * dots / printWidth) + 2;
        QCOMPARE(qGray(raster.pixel(0, row)), 0);
        QCOMPARE(qGray(raster.pixel(dots - 1, row)), 0);
        QCOMPARE(qGray(raster.pixel(dots / 2, 10)), 255);
    }

    // Every stroke of small type reaches the paper: each inked spot of the finer rendering has a dot
    // within one dot of it on the roll, so no stroke thinner than a dot is lost ("#2" printing as "=2",
    // 下 as 卜), and the roll has no dot more than one dot away from the finer rendering's ink.
    void everyStrokePrints_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points");
        QTest::addColumn<bool>("bold");
        for (const QString& glyph :
             QStringLiteral("下云信名心时红量间骨").split(QString(), Qt::SkipEmptyParts))
            QTest::newRow(qPrintable(glyph)) << glyph << 9 << false;
        QTest::newRow("#2") << QStringLiteral("#2") << 9 << false;
        QTest::newRow("#2 bold") << QStringLiteral("#2") << 9 << true;
        QTest::newRow("量 bold") << QStringLiteral("量") << 9 << true;
        QTest::newRow("下 12 pt") << QStringLiteral("下") << 12 << false;
        QTest::newRow("间 7 pt") << QStringLiteral("间") << 7 << false;
    }
    void everyStrokePrints() {
        QFETCH(QString, text);
        QFETCH(int, points);
        QFETCH(bool, bold);
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
        const QImage raster =
            drawRaster([&](ReceiptSurface& surface) { return drawLine(surface, text, points, bold); },
                       rollWidth, rollDots);
        const QImage reference = fineRendering(text, points, bold, raster.size());
        int inked = 0;
        QStringList lost;
        for (int y = 0; y < reference.height(); ++y)
            for (int x = 0; x < reference.width(); ++x) {
                if (qGray(reference.pixel(x, y)) >= 128)
                    continue;
                ++inked;
                if (!blackNear(raster, x / fine, y / fine))
                    lost << QStringLiteral("(%1,%2)").arg(x / fine).arg(y / fine);
            }
        QVERIFY(inked > 0);
        lost.removeDuplicates();
        QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("no dot near ") + lost.join(' ')));

        QStringList stray;
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x) {
                if (raster.pixelIndex(x, y) != 1)
                    continue;
                bool near = false;
                for (int fy = (y - 1) * fine; fy < (y + 2) * fine && !near; ++fy)
                    for (int fx = (x - 1) * fine; fx < (x + 2) * fine && !near; ++fx)
                        near = reference.rect().contains(fx, fy) && qGray(reference.pixel(fx, fy)) < 128;
                if (!near)
                    stray << QStringLiteral("(%1,%2)").arg(x).arg(y);
            }
        QVERIFY2(stray.isEmpty(), qPrintable(QStringLiteral("dots without ink ") + stray.join(' ')));
    }

    // A page longer than ten metres is refused instead of taking gigabytes.
    void endlessPageRefused() {
        const auto page = [](int height) {
            return drawRaster([height](ReceiptSurface&) { return height; }, 480, 384);
        };
        QVERIFY(!page(100000).isNull());
        QVERIFY(page(200000).isNull());
    }
};

QTEST_MAIN(EscPosTest)
#include "tst_escpos.moc"
