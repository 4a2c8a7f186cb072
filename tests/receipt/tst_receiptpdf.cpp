#include "core/ui/qtplatform.h"
#include "receipt/printing.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptpictures.h"
#include "store/settings.h"
#include "support/temphome.h"

#include <QFile>
#include <QFont>
#include <QRegularExpression>
#include <QTest>

using namespace qm;

namespace {

ReceiptContent settledOrder() {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("23");
    content.ticketHeader = QStringLiteral("微信点餐");
    content.shopName = QStringLiteral("白云快餐");
    content.paymentMethod = QStringLiteral("微信支付");
    content.orderTime = QStringLiteral("2026年3月14日12时30分");
    content.lines = {
        {QStringLiteral("宫保鸡丁"), QStringLiteral("2"), QStringLiteral("份"), QStringLiteral("36")},
        {QStringLiteral("扬州炒饭"), QStringLiteral("1"), QStringLiteral("份"), QStringLiteral("15")},
        {QStringLiteral("酸梅汤"), QStringLiteral("3"), QStringLiteral("杯"), QStringLiteral("18")}};
    content.discountName = QStringLiteral("满减");
    content.discountAmount = QStringLiteral("5");
    content.total = QStringLiteral("64");
    content.paid = QStringLiteral("64");
    content.tableName = QStringLiteral("外卖");
    content.customerName = QStringLiteral("张三");
    content.telephone = QStringLiteral("13900001111");
    content.address = QStringLiteral("幸福路1号3单元502室");
    content.note = QStringLiteral("少辣，不要香菜");
    return content;
}

// The media boxes of the pages of a PDF file, in points.
QList<QSizeF> pageSizes(const QByteArray& pdf) {
    QList<QSizeF> sizes;
    static const QRegularExpression box(
        QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"));
    auto it = box.globalMatch(QString::fromLatin1(pdf));
    while (it.hasNext()) {
        const auto match = it.next();
        sizes.append(QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()));
    }
    return sizes;
}

} // namespace

class ReceiptPdfTest : public QObject {
    Q_OBJECT

private slots:
    // As the program does at start-up.
    void initTestCase() {
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    }

    // Three copies of a settled order: one page each, 58 mm wide, the first longer by its two pictures.
    void settledOrderToPdf() {
        TempHome home;
        const RecordStore records(home.db());
        records.update(QStringLiteral("打印份数"), QStringLiteral("3"));
        loadPreviewPicture(home.home(), PicturePlace::Top);
        loadPreviewPicture(home.home(), PicturePlace::Bottom);
        const QString pdf = home.home().filePath(QStringLiteral("receipt.pdf"));
        qputenv("QUILLMENU_PRINT_PDF", pdf.toLocal8Bit());

        QtPlatform platform;
        QVERIFY(printReceipt(platform, records, ConfigFile(home.home().configPath()), home.home(),
                             settledOrder(), false));
        qunsetenv("QUILLMENU_PRINT_PDF");

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QSizeF> pages = pageSizes(file.readAll());
        QCOMPARE(pages.size(), 3);
        const double pointsPerMm = 72 / 25.4;
        for (const QSizeF& page : pages)
            QVERIFY2(std::abs(page.width() / pointsPerMm - 58) < 0.5,
                     qPrintable(QString::number(page.width())));
        // The pictures, 48 mm wide, add 48 × 189 / 430 + 48 mm to the first copy.
        const double pictures = (pages[0].height() - pages[1].height()) / pointsPerMm;
        QVERIFY2(std::abs(pictures - 69.1) < 2, qPrintable(QString::number(pictures)));
        QCOMPARE(pages[1], pages[2]);
        if (qEnvironmentVariableIsSet("KEEP_RECEIPT_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("KEEP_RECEIPT_PDF"));
    }
};

QTEST_MAIN(ReceiptPdfTest)
#include "tst_receiptpdf.moc"
