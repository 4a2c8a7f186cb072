#include "escposbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/orderform.h"
#include "order/settle.h"
#include "receipt/escpos.h"
#include "receipt/printerchoice.h"
#include "receipt/printing.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptcontent.h"
#include "receipt/receiptlayout.h"
#include "receipt/receiptpictures.h"
#include "receipt/receiptsettings.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "store/tillfile.h"
#include "support/fakeescposprinter.h"

#include <QFont>

namespace qm::bench {

namespace {

// 30 dishes; with the heading, the rules, the total and the delivery lines the receipt has 47 lines.
ReceiptContent thirtyDishes() {
    ReceiptContent content;
    content.orderNumber = QStringLiteral("128");
    content.ticketHeader = QStringLiteral("微信点餐");
    content.shopName = QStringLiteral("白云快餐");
    content.paymentMethod = QStringLiteral("现金支付");
    content.orderTime = QStringLiteral("2026年3月14日12时30分");
    for (int i = 0; i < 30; ++i)
        content.lines.append({QStringLiteral("红烧排骨饭%1").arg(i + 1), QStringLiteral("2"),
                              QStringLiteral("份"), QStringLiteral("36")});
    content.total = QStringLiteral("1080");
    content.paid = QStringLiteral("1080");
    content.telephone = QStringLiteral("13900001111");
    content.address = QStringLiteral("幸福路1号3单元502室");
    return content;
}

} // namespace

void benchDirectPrinting(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "escpos bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    const RecordStore records(db);
    const ConfigFile config(home.configPath());
    const PrinterChoice before = loadPrinterChoice(records, TillFile(home.tillPath()));
    const QString typeBefore = records.read(QStringLiteral("小票类型"));
    const QString copiesBefore = records.read(QStringLiteral("打印份数"));

    // The raster job as it goes on the wire, on either roll, without pictures.
    ReceiptContent content = thirtyDishes();
    for (int dishes : {30, 13}) {
        content.lines = thirtyDishes().lines.mid(0, dishes);
        const QString what =
            dishes == 30 ? QStringLiteral("30 dishes (47 lines)") : QStringLiteral("30 lines (13 dishes)");
        for (const char* type : {"0", "1"}) {
            records.write(QStringLiteral("小票类型"), QString::fromLatin1(type));
            const ReceiptSettings settings = loadReceiptSettings(records, config, true);
            const int paper = settings.type == ReceiptType::Mm58 ? 58 : 80;
            QImage raster;
            const double ms = meanMs(20, [&] {
                raster = drawRaster(
                    [&](ReceiptSurface& s) { return drawReceipt(s, settings, content, nullptr, nullptr); },
                    settings.printWidth, rasterDots(paper));
            });
            const qsizetype job = escpos::receiptJob(raster).size();
            figure(QStringLiteral("raster job, %1, %2 mm").arg(what).arg(paper), job / 1024.0, "KB");
            figure(QStringLiteral("  full raster %1 × %2 dots").arg(raster.width()).arg(raster.height()),
                   raster.height() * (raster.width() / 8) / 1024.0, "KB");
            figure(QStringLiteral("  draw + threshold"), ms, "ms");
        }
    }

    // F12 on a three-line order: store, draw at 80 mm with both pictures, send over TCP until the printer
    // has acknowledged the last byte, reset the form.
    FakeEscPosPrinter printer;
    PrinterChoice network;
    network.kind = PrinterKind::Network;
    network.host = QStringLiteral("127.0.0.1");
    network.port = printer.port();
    savePrinterChoice(TillFile(home.tillPath()), network);
    records.write(QStringLiteral("小票类型"), QStringLiteral("1"));
    records.write(QStringLiteral("打印份数"), QStringLiteral("1"));
    records.write(QStringLiteral("设置类型"), QStringLiteral("1"));
    records.write(QStringLiteral("顶部图片勾选"), QStringLiteral("1"));
    records.write(QStringLiteral("底部图片勾选"), QStringLiteral("1"));
    loadPreviewPicture(home, PicturePlace::Top);
    loadPreviewPicture(home, PicturePlace::Bottom);

    QtPlatform platform;
    OrderForm form(db, platform, opened.quantityDecimals);
    form.refreshTodayTotals();
    form.loadDishCache();
    SettleCommands commands(form, [&](bool singleCopy) {
        return printReceipt(platform, records, config, home, receiptContentFrom(form.values()), singleCopy);
    });
    const int runs = 30;
    QList<qint64> stored;
    const double settleMs = timeSettles(form, commands, runs, stored, "escpos bench");
    const QList<QByteArray> jobs = printer.waitForJobs(runs);
    figure(QStringLiteral("F12 → last byte at the printer, 80 mm, both pictures"), settleMs, "ms");
    if (!jobs.isEmpty())
        figure(QStringLiteral("  job size"), jobs.first().size() / 1024.0, "KB");

    for (qint64 id : stored)
        deleteOrder(db, id);
    savePrinterChoice(TillFile(home.tillPath()), before);
    records.write(QStringLiteral("小票类型"), typeBefore);
    records.write(QStringLiteral("打印份数"), copiesBefore);
}

} // namespace qm::bench
