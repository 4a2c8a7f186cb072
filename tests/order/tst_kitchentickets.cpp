#include "app/ui/maincommands.h"
#include "app/ui/mainwindow.h"
#include "order/kitchenprinting.h"
#include "order/kitchentickets.h"
#include "order/orderform.h"
#include "receipt/escpos.h"
#include "receipt/kitchenprinters.h"
#include "receipt/kitchenslip.h"
#include "receipt/printerchoice.h"
#include "receipt/rasterreceipt.h"
#include "receipt/recordingsurface.h"
#include "store/catalogstore.h"
#include "store/schema.h"
#include "store/settings.h"
#include "support/escposdecode.h"
#include "support/fakeescposprinter.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

StoredLine line(const char* name, double quantity, const char* unit = "份") {
    return {QString::fromUtf8(name), quantity, QString::fromUtf8(unit), 10 * quantity};
}

// Two stations and a drink that goes to no kitchen.
const QHash<QString, QString> stations = {{QStringLiteral("红烧排骨饭"), QStringLiteral("热菜")},
                                          {QStringLiteral("空心菜"), QStringLiteral("热菜")},
                                          {QStringLiteral("白菜肉水饺"), QStringLiteral("面点")},
                                          {QStringLiteral("王老吉"), noSlipStation}};

StoredOrder order(const QString& table = {}) {
    StoredOrder o;
    o.number = 12;
    o.ticketHeader = QStringLiteral("美团(第1联)");
    o.time = QDateTime(QDate(2026, 3, 14), QTime(12, 30));
    o.tableName = table;
    o.telephone = QStringLiteral("13700000000");
    o.address = QStringLiteral("幸福路 1 号");
    o.total = 57.5;
    o.note = QStringLiteral("不要辣");
    return o;
}

// "name quantity" per line of a list, for comparing.
QStringList texts(const QList<KitchenSlipLine>& lines) {
    QStringList out;
    for (const KitchenSlipLine& l : lines)
        out << l.name + QLatin1Char(' ') + slipQuantity(l);
    return out;
}

// How far right a recorded text reaches, at the size it was drawn in.
int rightEdge(const RecordingSurface::Op& op) {
    return op.x + int(gbkLength(op.text)) * op.size * 2 / 3;
}

QImage slipRaster(const KitchenSlip& slip, int paperWidthMm) {
    return drawRaster([&](ReceiptSurface& s) { return drawKitchenSlip(s, slip); },
                      slipPrintWidth(paperWidthMm), rasterDots(paperWidthMm));
}

void compareSlip(const QByteArray& job, const KitchenSlip& slip, int paperWidthMm) {
    const QImage expected = slipRaster(slip, paperWidthMm);
    const DecodedJob decoded = decodeEscPos(job, expected.width());
    QVERIFY2(decoded.error.isEmpty(), qPrintable(decoded.error));
    QCOMPARE(decoded.commands.first(), escpos::initialize());
    QCOMPARE(decoded.commands.mid(decoded.commands.size() - 2).join(), escpos::feedAndCut());
    QString where;
    QVERIFY2(sameDots(decoded.raster, expected, &where), qPrintable(where));
}

StationPrinter networkPrinter(const QString& station, int port, int paper = 80) {
    StationPrinter p;
    p.station = station;
    p.printer.kind = PrinterKind::Network;
    p.printer.host = QStringLiteral("127.0.0.1");
    p.printer.port = port;
    p.paperWidthMm = paper;
    return p;
}

// The real window and commands, the seeded catalogue given two stations and a drink for the counter.
struct Shop {
    TempHome home;
    FakePlatform platform;
    MainWindow window{home.db(), platform, home.home(), home.quantityDecimals()};
    MainCommands commands{window, home.db(), platform, home.home()};

    Shop() {
        Database& db = home.db();
        db.exec(QStringLiteral("UPDATE 菜单 SET 出品部门 = '热菜' WHERE 菜名 IN ('空心菜', '红烧排骨饭')"));
        db.exec(QStringLiteral("UPDATE 菜单 SET 出品部门 = '面点' WHERE 菜名 = '白菜肉水饺'"));
        commands.kitchen().tickets().setLimits({1000, 800});
    }
    void addDish(const QString& code, const QString& quantity) {
        OrderForm& form = window.orderForm();
        form.setText(OrderField::DishCode, code);
        platform.textAnswers.enqueue(quantity);
        QVERIFY(form.pickDish());
    }
    void useReceiptPrinter(int port) {
        PrinterChoice choice;
        choice.kind = PrinterKind::Network;
        choice.host = QStringLiteral("127.0.0.1");
        choice.port = port;
        QVERIFY(savePrinterChoice(TillFile(home.home().tillPath()), choice));
    }
    int orders() {
        QSqlQuery q = home.db().prepare(QStringLiteral("SELECT count(*) FROM 存单"));
        return q.exec() && q.next() ? q.value(0).toInt() : -1;
    }
    QString status() { return window.findChild<QLabel*>(QStringLiteral("状态条1_后厨"))->text(); }
};

} // namespace

class KitchenTicketsTest : public QObject {
    Q_OBJECT

private slots:
    // Each station gets its own lines, added up per dish; the drink goes to none; the place is the table
    // or 外卖.
    void newOrderSplitsByStation() {
        const QList<StoredLine> lines = {line("空心菜", 1), line("白菜肉水饺", 2), line("王老吉", 1, "瓶"),
                                         line("空心菜", 1), line("红烧排骨饭", 1), line("未登记的菜", 1)};
        const QList<KitchenSlip> slips = slipsForOrder(order(), lines, stations, KitchenSlip::Kind::New);
        QCOMPARE(slips.size(), 3);
        QCOMPARE(slips[0].station, QStringLiteral("热菜"));
        QCOMPARE(texts(slips[0].added), (QStringList{"空心菜 2份", "红烧排骨饭 1份"}));
        QCOMPARE(slips[1].station, QStringLiteral("面点"));
        QCOMPARE(texts(slips[1].added), QStringList{"白菜肉水饺 2份"});
        // A dish the catalogue does not know is cooked rather than lost.
        QCOMPARE(slips[2].station, defaultStation);
        QCOMPARE(slips[0].place, takeAwayPlace);
        QCOMPARE(slips[0].time, QStringLiteral("12:30"));
        QCOMPARE(slipsForOrder(order(QStringLiteral("包厢 滕王阁")), lines, stations, KitchenSlip::Kind::New)
                     .first()
                     .place,
                 QStringLiteral("包厢 滕王阁"));
    }

    void changeSendsDifferences_data() {
        QTest::addColumn<QList<StoredLine>>("before");
        QTest::addColumn<QList<StoredLine>>("after");
        QTest::addColumn<QStringList>("expected"); // station: 加/退 lines

        const QList<StoredLine> base = {line("空心菜", 1), line("白菜肉水饺", 2), line("王老吉", 1, "瓶")};
        QTest::newRow("unchanged") << base << base << QStringList{};
        QTest::newRow("drink only") << base
                                    << QList<StoredLine>{line("空心菜", 1), line("白菜肉水饺", 2),
                                                         line("王老吉", 3, "瓶")}
                                    << QStringList{};
        QTest::newRow("added dish") << base << (base + QList<StoredLine>{line("红烧排骨饭", 1)})
                                    << QStringList{"热菜 加[红烧排骨饭 1份] 退[]"};
        QTest::newRow("more and fewer")
            << base << QList<StoredLine>{line("空心菜", 3), line("白菜肉水饺", 1), line("王老吉", 1, "瓶")}
            << QStringList{"热菜 加[空心菜 2份] 退[]", "面点 加[] 退[白菜肉水饺 1份]"};
        QTest::newRow("removed and swapped")
            << base << QList<StoredLine>{line("红烧排骨饭", 1), line("王老吉", 1, "瓶")}
            << QStringList{"热菜 加[红烧排骨饭 1份] 退[空心菜 1份]", "面点 加[] 退[白菜肉水饺 2份]"};
        QTest::newRow("unit changed")
            << base
            << QList<StoredLine>{line("空心菜", 1, "碗"), line("白菜肉水饺", 2), line("王老吉", 1, "瓶")}
            << QStringList{"热菜 加[空心菜 1碗] 退[空心菜 1份]"};
    }
    void changeSendsDifferences() {
        QFETCH(QList<StoredLine>, before);
        QFETCH(QList<StoredLine>, after);
        QFETCH(QStringList, expected);
        QStringList got;
        for (const KitchenSlip& slip :
             slipsForChange(order(), before, after, stations, QStringLiteral("13:05"))) {
            QCOMPARE(slip.kind, KitchenSlip::Kind::Change);
            got << QStringLiteral("%1 加[%2] 退[%3]")
                       .arg(slip.station, texts(slip.added).join(QLatin1Char(',')),
                            texts(slip.removed).join(QLatin1Char(',')));
        }
        QCOMPARE(got, expected);
    }

    // The slip holds the number, the place and time, the dishes in large type and the note; never a price,
    // the address or the telephone. A change is marked at its top and foot.
    void slipLayout() {
        KitchenSlip slip = slipsForOrder(order(), {line("空心菜", 2), line("白菜肉水饺", 1)}, stations,
                                         KitchenSlip::Kind::New)
                               .first();
        RecordingSurface surface(480, ReceiptSurface::Kind::Printer);
        const int height = drawKitchenSlip(surface, slip);
        QVERIFY(height > 0);
        const RecordingSurface::Op* number = surface.find(QStringLiteral("#12"));
        QVERIFY(number);
        QVERIFY(number->size >= 36 && number->bold);
        QVERIFY(surface.find(QStringLiteral("外卖  12:30")));
        const RecordingSurface::Op* dish = surface.find(QStringLiteral("空心菜"));
        QVERIFY(dish && dish->size >= 16 && dish->bold);
        QVERIFY(surface.find(QStringLiteral("2份")));
        QVERIFY(surface.find(QStringLiteral("不要辣")));
        QVERIFY(surface.find(QStringLiteral("美团(第1联)")));
        for (const char* absent : {"57.5", "幸福路", "13700000000", "加菜", "重打"})
            QVERIFY2(!surface.find(QString::fromUtf8(absent)), absent);
        for (const RecordingSurface::Op& op : surface.ops)
            QVERIFY2(rightEdge(op) <= 480, qPrintable(op.text));

        slip.kind = KitchenSlip::Kind::Change;
        slip.removed = {{QStringLiteral("白菜肉水饺"), 1, QStringLiteral("份")}};
        slip.sentTime = QStringLiteral("13:05");
        RecordingSurface changed(480, ReceiptSurface::Kind::Printer);
        drawKitchenSlip(changed, slip);
        QCOMPARE(changed.count(QStringLiteral("加菜 退菜")), 2);
        QVERIFY(changed.find(QStringLiteral("【退菜】")));
        QVERIFY(changed.find(QStringLiteral("-1份")));
        QVERIFY(changed.find(QStringLiteral("+2份")));
        QVERIFY(changed.find(QStringLiteral("13:05")));
    }

    // A name too long for the line is broken, and every piece stays inside the roll.
    void longNamesWrap() {
        KitchenSlip slip;
        slip.orderNumber = QStringLiteral("3");
        slip.added = {{QStringLiteral("特别特别长的招牌香菇猪肉大葱水饺"), 12, QStringLiteral("份")}};
        RecordingSurface surface(480, ReceiptSurface::Kind::Printer);
        drawKitchenSlip(surface, slip);
        QString name;
        for (const RecordingSurface::Op& op : surface.ops) {
            QVERIFY2(rightEdge(op) <= 480, qPrintable(op.text));
            if (op.size == 16 && op.text != QStringLiteral("12份"))
                name += op.text;
        }
        QVERIFY(name.contains(slip.added.first().name));
    }

    void stationPrintersRoundTrip() {
        TempHome home;
        QVERIFY(loadStationPrinters(home.home()).isEmpty());
        StationPrinter usb;
        usb.station = QStringLiteral("面点");
        usb.printer.kind = PrinterKind::Usb;
        usb.printer.device = QStringLiteral("/dev/usb/lp1");
        usb.paperWidthMm = 58;
        StationPrinter none;
        none.station = QStringLiteral("凉菜");
        QCOMPARE(saveStationPrinters(home.home(), {networkPrinter(QStringLiteral("热菜"), 9101), usb, none}),
                 QString());
        const QList<StationPrinter> loaded = loadStationPrinters(home.home());
        QCOMPARE(loaded.size(), 2);
        QCOMPARE(loaded[0].printer.describe(), QStringLiteral("网络打印机 127.0.0.1:9101"));
        QCOMPARE(loaded[1].printer.device, QStringLiteral("/dev/usb/lp1"));
        QCOMPARE(loaded[1].paperWidthMm, 58);
        const QList<StationPrinter> listed =
            stationPrintersFor({QStringLiteral("凉菜"), noSlipStation, QStringLiteral("面点")}, loaded);
        QCOMPARE(listed.size(), 3);
        QCOMPARE(listed[0].station, QStringLiteral("凉菜"));
        QVERIFY(!listed[0].printer.direct());
        QCOMPARE(listed[1].printer.kind, PrinterKind::Usb);
        QCOMPARE(listed[2].station, QStringLiteral("热菜"));
    }

    // A new database and an old one both have stations: the old dishes go to 厨房.
    void databaseHasStations() {
        TempHome home;
        const CatalogStore store(home.db());
        QCOMPARE(store.loadNamedList(NamedList::Stations).value(), (QStringList{"厨房", "不出单"}));
        const auto seeded = store.loadDishStations().value();
        QCOMPARE(seeded.value(QStringLiteral("空心菜")), QStringLiteral("厨房"));
        QCOMPARE(seeded.value(QStringLiteral("王老吉")), noSlipStation);

        Database& db = home.db();
        QVERIFY(db.exec(QStringLiteral("DROP TABLE 出品部门")));
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 菜单 DROP COLUMN 出品部门")));
        QVERIFY(ensureKitchenStations(db));
        QVERIFY(ensureKitchenStations(db));
        QCOMPARE(store.loadNamedList(NamedList::Stations).value(), (QStringList{"厨房", "不出单"}));
        const auto upgraded = store.loadDishStations().value();
        QCOMPARE(upgraded.value(QStringLiteral("王老吉")), defaultStation);
    }

    // F12 with two station printers and the receipt printer: each kitchen printer gets exactly its own
    // slip, the receipt prints, nothing goes for the drink. Changing the order sends only the difference.
    void settleSendsEachStationItsSlip() {
        Shop shop;
        FakeEscPosPrinter hot, dough, receipt;
        shop.useReceiptPrinter(receipt.port());
        QCOMPARE(
            saveStationPrinters(shop.home.home(), {networkPrinter(QStringLiteral("热菜"), hot.port()),
                                                   networkPrinter(QStringLiteral("面点"), dough.port(), 58)}),
            QString());
        shop.addDish(QStringLiteral("108"), QStringLiteral("2"));
        shop.addDish(QStringLiteral("005"), QStringLiteral("1"));
        shop.addDish(QStringLiteral("105"), QStringLiteral("1"));
        const QDateTime time = shop.platform.now();
        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        QCOMPARE(receipt.waitForJobs(1).size(), 1);
        const QList<QByteArray> hotJobs = hot.waitForJobs(1);
        const QList<QByteArray> doughJobs = dough.waitForJobs(1);
        QCOMPARE(hotJobs.size(), 1);
        QCOMPARE(doughJobs.size(), 1);

        const StoredOrder stored =
            loadOrder(shop.home.db(), *shop.commands.settleCommands().lastStoredId()).value();
        KitchenSlip expected =
            slipsForOrder(stored, {line("空心菜", 2)}, {{"空心菜", "热菜"}}, KitchenSlip::Kind::New).first();
        compareSlip(hotJobs[0], expected, 80);
        expected.station = QStringLiteral("面点");
        expected.added = {{QStringLiteral("白菜肉水饺"), 1, QStringLiteral("份")}};
        compareSlip(doughJobs[0], expected, 58);
        Q_UNUSED(time);

        // Reopened and changed: one more 空心菜, the drink gone. Only 热菜 hears of it.
        const QString id = QString::number(*shop.commands.settleCommands().lastStoredId());
        QVERIFY(shop.commands.settleCommands().openForChange(id, QString()));
        OrderForm& form = shop.window.orderForm();
        QList<OrderLine> lines = form.values().lines;
        shop.addDish(QStringLiteral("108"), QStringLiteral("1"));
        shop.platform.yesNoAnswers.enqueue(false);
        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        const QList<QByteArray> changed = hot.waitForJobs(2);
        QCOMPARE(changed.size(), 2);
        KitchenSlip change = expected;
        change.station = QStringLiteral("热菜");
        change.kind = KitchenSlip::Kind::Change;
        change.sentTime = shop.platform.now().toString(QStringLiteral("HH:mm"));
        change.added = {{QStringLiteral("空心菜"), 1, QStringLiteral("份")}};
        compareSlip(changed[1], change, 80);
        QTest::qWait(200);
        QCOMPARE(dough.waitForJobs(2, 200).size(), 1);
        QCOMPARE(shop.orders(), 1);
        Q_UNUSED(lines);
    }

    // A kitchen printer that is off or never reads: the order is stored once, the receipt prints, and
    // the status line names the station in red. Its next slip that gets through clears it.
    void deadKitchenPrinterNeverBlocksTheCounter_data() {
        QTest::addColumn<bool>("neverReads");
        QTest::newRow("closed port") << false;
        QTest::newRow("never reads") << true;
    }
    void deadKitchenPrinterNeverBlocksTheCounter() {
        QFETCH(bool, neverReads);
        Shop shop;
        FakeEscPosPrinter receipt;
        FakeEscPosPrinter stuck(FakeEscPosPrinter::Mode::NeverRead);
        shop.useReceiptPrinter(receipt.port());
        const int port = neverReads ? stuck.port() : closedPort();
        QCOMPARE(saveStationPrinters(shop.home.home(), {networkPrinter(QStringLiteral("热菜"), port)}),
                 QString());
        shop.addDish(QStringLiteral("108"), QStringLiteral("2"));
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        QCOMPARE(receipt.waitForJobs(1).size(), 1);
        QVERIFY(timer.elapsed() < 700);
        QCOMPARE(shop.orders(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(shop.status().startsWith(kitchenNotConnectedPrefix + QStringLiteral("热菜")),
                                 5000);
        QVERIFY(shop.window.findChild<QLabel*>(QStringLiteral("状态条1_后厨"))->isVisible() ||
                !shop.window.isVisible());
        // Only the quantity box was shown: no message holds up the cashier.
        QCOMPARE(shop.platform.shown.size(), 1);

        // Sent again from the history once the printer is back: the slip arrives marked 重打.
        FakeEscPosPrinter back;
        QCOMPARE(saveStationPrinters(shop.home.home(), {networkPrinter(QStringLiteral("热菜"), back.port())}),
                 QString());
        shop.commands.orderHandOff().reprintKitchen(
            QString::number(*shop.commands.settleCommands().lastStoredId()));
        const QList<QByteArray> jobs = back.waitForJobs(1);
        QCOMPARE(jobs.size(), 1);
        const StoredOrder stored =
            loadOrder(shop.home.db(), *shop.commands.settleCommands().lastStoredId()).value();
        compareSlip(jobs[0],
                    slipsForOrder(stored, {line("空心菜", 2)}, {{"空心菜", "热菜"}},
                                  KitchenSlip::Kind::Reprint,
                                  shop.platform.now().toString(QStringLiteral("HH:mm")))
                        .first(),
                    80);
        QTRY_VERIFY(shop.status().isEmpty());
        QCOMPARE(shop.orders(), 1);
    }

    // No station printer: nothing but the receipt, as before.
    void withoutStationPrintersOnlyTheReceipt() {
        Shop shop;
        FakeEscPosPrinter receipt;
        shop.useReceiptPrinter(receipt.port());
        shop.addDish(QStringLiteral("108"), QStringLiteral("2"));
        QCOMPARE(shop.commands.settleCommands().settle(), SettleOutcome::Completed);
        QCOMPARE(receipt.waitForJobs(1).size(), 1);
        QCOMPARE(shop.commands.kitchen().sender().pending(), 0);
        const qsizetype shown = shop.platform.shown.size();
        shop.commands.orderHandOff().reprintKitchen(QStringLiteral("1"));
        QCOMPARE(shop.platform.shown.size(), shown + 1);
        QVERIFY(shop.platform.texts().last().contains(QStringLiteral("后厨打印")));
    }
};

QTEST_MAIN(KitchenTicketsTest)
#include "tst_kitchentickets.moc"
