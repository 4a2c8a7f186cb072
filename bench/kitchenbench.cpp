#include "kitchenbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/kitchenprinting.h"
#include "order/orderform.h"
#include "order/settle.h"
#include "receipt/kitchenprinters.h"
#include "receipt/kitchenslip.h"
#include "receipt/printerchoice.h"
#include "receipt/printing.h"
#include "receipt/rasterreceipt.h"
#include "receipt/receiptcontent.h"
#include "store/catalogstore.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "store/tillfile.h"
#include "support/fakeescposprinter.h"

#include <QFile>
#include <QFont>

namespace qm::bench {

void benchKitchenTickets(const Home& home) {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));

    // A slip of six dishes with a note, drawn and thresholded on either roll.
    KitchenSlip slip;
    slip.station = QStringLiteral("热菜");
    slip.orderNumber = QStringLiteral("128");
    slip.place = QStringLiteral("包厢 滕王阁");
    slip.time = QStringLiteral("12:30");
    slip.ticketHeader = QStringLiteral("美团(第1联)");
    slip.note = QStringLiteral("不要辣，多放葱");
    for (int i = 0; i < 6; ++i)
        slip.added.append({QStringLiteral("红烧排骨饭%1").arg(i + 1), 2, QStringLiteral("份")});
    for (int paper : {58, 80}) {
        QImage raster;
        figure(QStringLiteral("kitchen slip, 6 dishes, %1 mm: draw + threshold").arg(paper),
               meanMs(50,
                      [&] {
                          raster = drawRaster([&](ReceiptSurface& s) { return drawKitchenSlip(s, slip); },
                                              slipPrintWidth(paper), rasterDots(paper));
                      }),
               "ms");
        figure(QStringLiteral("  job size"), kitchenSlipJob(slip, paper).size() / 1024.0, "KB");
    }

    OpenedDatabase opened = openBenchDatabase(home, "kitchen bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    const RecordStore records(db);
    const ConfigFile config(home.configPath());
    const PrinterChoice before = loadPrinterChoice(records, TillFile(home.tillPath()));
    const QString copiesBefore = records.read(QStringLiteral("打印份数"));

    // The bench's orders are 空心菜 and 王老吉: the drink goes to a bar station for the time of the run.
    db.exec(QStringLiteral("UPDATE 菜单 SET 出品部门 = ? WHERE 菜名 = ?"),
            {QStringLiteral("吧台"), QStringLiteral("王老吉")});
    FakeEscPosPrinter receipt, hot, bar;
    PrinterChoice network;
    network.kind = PrinterKind::Network;
    network.host = QStringLiteral("127.0.0.1");
    network.port = receipt.port();
    savePrinterChoice(TillFile(home.tillPath()), network);
    records.write(QStringLiteral("打印份数"), QStringLiteral("1"));
    StationPrinter kitchen{QStringLiteral("厨房"), network, 80};
    kitchen.printer.port = hot.port();
    StationPrinter drinks{QStringLiteral("吧台"), network, 58};
    drinks.printer.port = bar.port();
    saveStationPrinters(home, {kitchen, drinks});

    QtPlatform platform;
    OrderForm form(db, platform, opened.quantityDecimals);
    form.refreshTodayTotals();
    form.loadDishCache();
    int settled = 0;
    // The receipt goes out inside the command; the wait for both kitchen printers to have their slip
    // belongs to the time.
    SettleCommands commands(form, [&](bool singleCopy) {
        const bool printed =
            printReceipt(platform, records, config, home, receiptContentFrom(form.values()), singleCopy);
        ++settled;
        hot.waitForJobs(settled);
        bar.waitForJobs(settled);
        return printed;
    });
    KitchenPrinting printing(db, home, platform);
    printing.attach(commands);
    const int runs = 30;
    QList<qint64> stored;
    const double ms = timeSettles(form, commands, runs, stored, "kitchen bench");
    figure(QStringLiteral("F12 → last byte at 2 kitchen printers and the receipt printer"), ms, "ms");
    figure(QStringLiteral("  slips received"),
           hot.waitForJobs(runs, 100).size() + bar.waitForJobs(runs, 100).size(), "slips");

    for (qint64 id : stored)
        deleteOrder(db, id);
    db.exec(QStringLiteral("UPDATE 菜单 SET 出品部门 = ? WHERE 菜名 = ?"),
            {noSlipStation, QStringLiteral("王老吉")});
    QFile::remove(stationPrintersPath(home));
    savePrinterChoice(TillFile(home.tillPath()), before);
    records.write(QStringLiteral("打印份数"), copiesBefore);
}

} // namespace qm::bench
