#include "../receipt/recordingsurface.h"
#include "core/ui/qtplatform.h"
#include "reports/dayclosingsummary.h"
#include "reports/ui/dayclosing.h"
#include "staff/staffsession.h"
#include "store/closingstore.h"
#include "store/orderstore.h"
#include "store/settings.h"
#include "support/fakeplatform.h"
#include "support/heldlock.h"
#include "support/temphome.h"

#include <QFile>
#include <QFont>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

using namespace qm;

namespace {

const QDate day(2026, 3, 14);

struct Fixture {
    QString time; // on `day` unless it says otherwise
    QString header;
    QString payment;
    QString table;
    QString address;
    QString discount;
    double discountAmount;
    double toPay;
    QList<StoredLine> lines;
};

StoredLine line(const char* name, double quantity, double amount) {
    return {QString::fromUtf8(name), quantity, QStringLiteral("份"), amount};
}

StoredOrder orderFrom(const Fixture& f) {
    StoredOrder o;
    o.number = 1;
    o.ticketHeader = f.header;
    o.shopName = QStringLiteral("白云快餐");
    o.time = QDateTime::fromString(f.time, Qt::ISODate);
    o.discountName = f.discount;
    o.discountAmount = f.discountAmount;
    o.total = f.toPay;
    o.paymentMethod = f.payment;
    o.paid = f.toPay;
    o.toPay = f.toPay;
    o.tableName = f.table;
    o.address = f.address;
    o.settled = true;
    return o;
}

// A day whose totals are known: five orders on the day (one in its first minute, one stamped at the
// midnight that ends it), one of them changed after settling; one deleted; orders just before and just
// after the day (the midnight that starts it belongs to the day before).
void storeFixtureDay(Database& db) {
    const QList<Fixture> orders = {
        {"2026-03-14T00:01:00",
         "美团(第1联)",
         "微信支付",
         "",
         "幸福路1号",
         "立减优惠",
         5,
         31,
         {line("宫保鸡丁", 2, 36)}},
        {"2026-03-14T11:30:00",
         "自助快餐",
         "现金支付",
         "号牌 3",
         "",
         "",
         0,
         28.5,
         {line("扬州炒饭", 1, 15), line("酸梅汤", 3, 13.5)}},
        {"2026-03-14T12:10:00",
         "美团(第1联)",
         "微信支付",
         "",
         "人民路8号",
         "无",
         10,
         47,
         {line("Tom's 汤", 1, 20), line("宫保鸡丁", 1, 18), line("A&B 套餐", 1, 9)}},
        {"2026-03-14T18:45:00", "", "", "", "", "", 0, 12, {line("酸梅汤", 2, 12)}},
        {"2026-03-15T00:00:00",
         "自助快餐",
         "现金支付",
         "桌号 2楼1桌",
         "",
         "开业酬宾",
         2,
         16,
         {line("扬州炒饭", 1, 18)}},
        // Not on the day.
        {"2026-03-14T00:00:00", "自助快餐", "现金支付", "号牌 1", "", "", 0, 100, {line("宫保鸡丁", 9, 162)}},
        {"2026-03-15T00:01:00", "自助快餐", "现金支付", "号牌 1", "", "", 0, 200, {line("宫保鸡丁", 9, 162)}},
    };
    QList<qint64> ids;
    for (const Fixture& f : orders) {
        const OrderWriteResult stored = insertOrder(db, orderFrom(f), f.lines);
        QVERIFY2(stored, qPrintable(stored.error));
        ids.append(*stored.id);
    }
    // The 11:30 order changed after settling: one more drink, paid by Alipay.
    Fixture changed = orders[1];
    changed.payment = QStringLiteral("支付宝支付");
    changed.toPay = 33;
    changed.lines = {line("扬州炒饭", 1, 15), line("酸梅汤", 4, 18)};
    QVERIFY(changeOrder(db, ids[1], orderFrom(changed), changed.lines));
    // A settled and then deleted order counts nowhere.
    const Fixture gone{"2026-03-14T13:00:00",     "自助快餐", "现金支付", "号牌 2", "", "", 0, 500,
                       {line("宫保鸡丁", 1, 500)}};
    const OrderWriteResult deleted = insertOrder(db, orderFrom(gone), gone.lines);
    QVERIFY(deleted);
    QVERIFY(deleteOrder(db, *deleted.id));
}

QStringList groupTexts(const QList<ClosingGroup>& groups) {
    QStringList texts;
    for (const ClosingGroup& g : groups)
        texts << QStringLiteral("%1 %2 %3").arg(g.name).arg(g.count).arg(g.amount);
    return texts;
}

QString pdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class DayClosingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    }

    void figuresOfTheFixtureDay() {
        TempHome home;
        storeFixtureDay(home.db());
        QString error;
        const std::optional<ClosingRows> rows =
            loadClosingRows(home.db(), closingStart(day), closingEnd(day), &error);
        QVERIFY2(rows, qPrintable(error));
        const DayClosing c = computeDayClosing(*rows, day, QDateTime(day.addDays(1), QTime(0, 5)));

        QCOMPARE(c.orderCount, 5);
        QCOMPARE(c.income, 139.0); // 31 + 33 + 47 + 12 + 16
        QCOMPARE(groupTexts(c.byPayment),
                 (QStringList{"微信支付 2 78", "支付宝支付 1 33", "现金支付 1 16", "未选择 1 12"}));
        QCOMPARE(groupTexts(c.byTicketHeader),
                 (QStringList{"美团(第1联) 2 78", "自助快餐 2 49", "无票头 1 12"}));
        QCOMPARE(groupTexts(c.byPlace), (QStringList{"外卖 2 78", "堂食 2 49", "未注明 1 12"}));
        // "无" is no discount, whatever amount it carries.
        QCOMPARE(c.discountCount, 2);
        QCOMPARE(c.discountSum, 7.0);

        QStringList dishes;
        for (const ClosingDish& d : c.topDishes)
            dishes << QStringLiteral("%1 %2 %3").arg(d.name).arg(d.quantity).arg(d.amount);
        QCOMPARE(dishes, (QStringList{"酸梅汤 6 30", "宫保鸡丁 3 54", "扬州炒饭 2 33", "Tom's 汤 1 20",
                                      "A&B 套餐 1 9"}));
    }

    // Ten dishes at most, the best sellers by quantity; ties go to the larger amount.
    void tenBestSellers() {
        ClosingRows rows;
        rows.orders.append({1, {}, {}, {}, {}, {}, 0, 100, {}, {}});
        for (int i = 1; i <= 12; ++i)
            rows.lines.append({1, QStringLiteral("菜%1").arg(i), double(i % 6), double(i)});
        rows.lines.append({2, QStringLiteral("别的单"), 99, 99}); // an order not read: not counted
        const DayClosing c = computeDayClosing(rows, day, {});
        QCOMPARE(c.topDishes.size(), 10);
        QCOMPARE(c.topDishes.first().name, QStringLiteral("菜11")); // 5 pieces for 11 beats 5 for 5
        QCOMPARE(c.topDishes.at(1).name, QStringLiteral("菜5"));
        for (const ClosingDish& d : c.topDishes)
            QVERIFY(d.name != QStringLiteral("别的单"));
    }

    // Orders of several tills are counted per till as stored; one till's day shows no till at all.
    void countedPerTillOnlyWithSeveralTills() {
        TempHome home;
        Database& db = home.db();
        storeFixtureDay(db); // all stored by this till
        ClosingRows rows = *loadClosingRows(db, closingStart(day), closingEnd(day));
        DayClosing c = computeDayClosing(rows, day, {});
        QVERIFY(c.byTill.isEmpty());
        RecordingSurface oneTill(480);
        drawDayClosing(oneTill, c);
        QCOMPARE(oneTill.count(QStringLiteral("收银机")), 0);

        for (const char* till : {"二号机", "二号机", ""}) {
            StoredOrder order = orderFrom({"2026-03-14T20:00:00", "", "现金支付", "", "", "", 0, 10, {}});
            order.till = QString::fromUtf8(till);
            QVERIFY(insertOrder(db, order, {}));
        }
        QVERIFY(db.exec(QStringLiteral("UPDATE 存单 SET 收银机 = '' WHERE 实付 = 10 AND ID = "
                                       "(SELECT max(ID) FROM 存单)"))); // as an older program left it
        rows = *loadClosingRows(db, closingStart(day), closingEnd(day));
        c = computeDayClosing(rows, day, {});
        QCOMPARE(groupTexts(c.byTill), (QStringList{db.tillName() + QStringLiteral(" 5 139"),
                                                    QStringLiteral("二号机 2 20"), closingNoTill + " 1 10"}));
        RecordingSurface severalTills(480);
        drawDayClosing(severalTills, c);
        QCOMPARE(severalTills.count(QStringLiteral("二号机")), 1);
    }

    // Per cashier: the orders each stored, and what the record tells of them that day (deleted and changed
    // orders, reprints, the drawer opened without a sale); without staff nothing of it shows.
    void countedPerCashier() {
        TempHome home;
        Database& db = home.db();
        FakePlatform platform;
        StaffSession staff(db, platform);
        auto store = [&](const char* time, double toPay, const char* by) {
            StoredOrder order = orderFrom({time, "", "现金支付", "", "", "", 0, toPay, {}});
            order.staffName = QString::fromUtf8(by);
            const OrderWriteResult written = insertOrder(db, order, {line("米饭", 1, toPay)});
            return written.id.value_or(0);
        };
        auto closing = [&] {
            const ClosingRows rows = *loadClosingRows(db, closingStart(day), closingEnd(day));
            return computeDayClosing(rows, day, {}, staff.enabled());
        };
        store("2026-03-14T09:00:00", 20, "");
        QVERIFY(closing().byCashier.isEmpty());

        platform.clock = QDateTime(day, QTime(8, 0));
        QVERIFY(staff.enable(QStringLiteral("王店主"), QStringLiteral("owner-pass-2026")).isEmpty());
        QVERIFY(closing().byCashier.size() == 1); // staff mode on: counted although no order names anyone

        const qint64 deleted = store("2026-03-14T10:00:00", 30, "小张");
        const qint64 changed = store("2026-03-14T11:00:00", 41, "小张");
        const qint64 reprinted = store("2026-03-14T12:00:00", 15, "李店长");
        auto at = [&](int hour, const char* person, const QString& action) {
            platform.clock = QDateTime(day, QTime(hour, 30));
            return staff.event({QString::fromUtf8(person), QStringLiteral("王店主")}, action);
        };
        QVERIFY(deleteOrder(db, deleted, at(13, "小张", auditOrderDeleted)));
        StoredOrder lower = *loadOrder(db, changed);
        lower.toPay = 35;
        QVERIFY(changeOrder(db, changed, lower, {line("米饭", 1, 35)}, at(14, "小张", auditSettledChanged)));
        std::optional<AuditEvent> reprint = at(15, "李店长", auditReprint);
        reprint->orderId = reprinted;
        for (const std::optional<AuditEvent>& e :
             {reprint, at(16, "小张", auditDrawerOpened), at(17, "小张", auditDrawerOpened)})
            QVERIFY(db.transaction([&] { return appendAudit(db, *e); }));
        // The day before and the day after are other days' closings.
        for (const QDate other : {day.addDays(-1), day.addDays(1)}) {
            platform.clock = QDateTime(other, QTime(12, 0));
            QVERIFY(staff.record({QStringLiteral("小张"), {}}, auditDrawerOpened));
        }

        const DayClosing c = closing();
        QStringList texts;
        for (const ClosingCashier& k : c.byCashier) {
            texts << QStringLiteral("%1 %2 %3 删%4/%5 改%6/%7 重%8/%9 钱箱%10")
                         .arg(k.name)
                         .arg(k.orderCount)
                         .arg(k.income)
                         .arg(k.deletedCount)
                         .arg(k.deletedSum)
                         .arg(k.changedCount)
                         .arg(k.changedSum)
                         .arg(k.reprintCount)
                         .arg(k.reprintSum)
                         .arg(k.drawerCount);
        }
        QCOMPARE(texts, (QStringList{"小张 1 35 删1/30 改1/-6 重0/0 钱箱2",
                                     closingNoCashier + " 1 20 删0/0 改0/0 重0/0 钱箱0",
                                     "李店长 1 15 删0/0 改0/0 重1/15 钱箱0"}));
        RecordingSurface surface(480);
        drawDayClosing(surface, c);
        QCOMPARE(surface.count(QStringLiteral("收银员")), 2); // the heading and 未注明收银员
        QCOMPARE(surface.count(closingNoCashier), 1);
        QCOMPARE(surface.count(QStringLiteral("小张")), 1);
        QCOMPARE(surface.count(QStringLiteral("删除订单")), 3);

        // Staff mode off again: the orders that name their cashier still count per cashier.
        QVERIFY(staff.disable(QStringLiteral("owner-pass-2026")).isEmpty());
        QCOMPARE(closing().byCashier.size(), 3);
    }

    // Every text stays inside the paper, at either width, however long a name is.
    void layoutFitsThePaper_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("58 mm") << 480;
        QTest::newRow("80 mm") << 700;
        QTest::newRow("58 mm, large type") << 200;
        QTest::newRow("narrow") << 150;
    }
    void layoutFitsThePaper() {
        QFETCH(int, width);
        TempHome home;
        storeFixtureDay(home.db());
        ClosingRows rows = *loadClosingRows(home.db(), closingStart(day), closingEnd(day));
        rows.lines.append({rows.orders.first().id,
                           QStringLiteral("特别长的一道菜名字用来试试换行的效果").repeated(3), 50, 5});
        const DayClosing c = computeDayClosing(rows, day, QDateTime(QDate(2026, 12, 10), QTime(23, 59, 59)));
        RecordingSurface surface(width);
        const int height = drawDayClosing(surface, c);
        QVERIFY(height > 0);
        QStringList texts;
        int lastY = -1;
        for (const RecordingSurface::Op& op : surface.ops) {
            surface.setFont(op.size, op.bold);
            QVERIFY2(op.x >= 0 && op.x + surface.textWidth(op.text) <= width, qPrintable(op.text));
            QVERIFY(op.y >= lastY && op.y < height);
            lastY = op.y;
            texts << op.text;
        }
        // A date-time that fits on a line is never broken inside it.
        const QString printedAt = QStringLiteral("2026年12月10日23时59分59秒");
        surface.setFont(9, false);
        if (surface.textWidth(printedAt) <= width) {
            QVERIFY2(std::any_of(texts.cbegin(), texts.cend(),
                                 [&](const QString& text) { return text.contains(printedAt); }),
                     qPrintable(texts.join(QLatin1Char('|'))));
        }
        const QString all = texts.join(QString());
        for (const QString& expected :
             {QStringLiteral("营业日期：2026年3月14日"), QStringLiteral("营业收入：￥139"),
              QStringLiteral("打印时间：2026年12月10日23时59分59秒"), QStringLiteral("点单数量：5"),
              QStringLiteral("1. ") + QStringLiteral("特别长的一道菜名字用来试试换行的效果").repeated(3)})
            QVERIFY2(all.contains(expected), qPrintable(expected));
    }

    // Printed through the receipts' print path to a PDF file and read back.
    void printedToPdf_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<double>("paperMm");
        QTest::newRow("58 mm") << "0" << 58.0;
        QTest::newRow("80 mm") << "1" << 80.0;
    }
    void printedToPdf() {
        QFETCH(QString, type);
        QFETCH(double, paperMm);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext is not installed");
        TempHome home;
        storeFixtureDay(home.db());
        RecordStore(home.db()).write(QStringLiteral("小票类型"), type);
        const QString pdf = home.home().filePath(QStringLiteral("closing.pdf"));
        qputenv("QUILLMENU_PRINT_PDF", pdf.toLocal8Bit());
        QtPlatform platform;
        const bool printed = printDayClosing(nullptr, home.db(), platform, home.home(), day);
        qunsetenv("QUILLMENU_PRINT_PDF");
        QVERIFY(printed);

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QRegularExpression box(
            QStringLiteral(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])"));
        const QRegularExpressionMatch match = box.match(QString::fromLatin1(bytes));
        QVERIFY(match.hasMatch());
        QVERIFY(std::abs(match.captured(1).toDouble() * 25.4 / 72 - paperMm) < 0.5);

        const QString text = pdfText(pdf);
        for (const char* expected :
             {"日结单", "营业日期：2026年3月14日", "点单数量：5", "营业收入：￥139", "支付宝支付",
              "美团(第1联)", "未注明", "减免合计", "酸梅汤", "Tom's 汤"}) {
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        }
        if (qEnvironmentVariableIsSet("KEEP_CLOSING_PDF"))
            QFile::copy(pdf, qEnvironmentVariable("KEEP_CLOSING_PDF") + type + QStringLiteral(".pdf"));
    }

    // A cancelled print dialog prints nothing and says nothing; a database that cannot be read is told.
    void nothingPrinted() {
        QM_SKIP_ON_SERVER();
        TempHome home;
        storeFixtureDay(home.db());
        FakePlatform platform;
        QVERIFY(!printDayClosing(nullptr, home.db(), platform, home.home(), day));
        QCOMPARE(platform.printRequests.size(), 1);
        QCOMPARE(platform.printRequests.first().paperWidthMm, 58);
        QVERIFY(platform.texts().isEmpty());
        QVERIFY(!printDayClosing(nullptr, home.db(), platform, home.home(), QDate()));
        QCOMPARE(platform.printRequests.size(), 1);

        // A printer that fails the job: the user is told.
        struct FailingPrinter : ReceiptPrinter {
            bool printPage(const std::function<int(ReceiptSurface&)>&) override { return false; }
        };
        platform.printers.enqueue([](const PrintRequest&) { return std::make_unique<FailingPrinter>(); });
        QVERIFY(!printDayClosing(nullptr, home.db(), platform, home.home(), day));
        QCOMPARE(platform.shown.last().icon, MessageIcon::Warning);
        QCOMPARE(platform.shown.last().text, QStringLiteral("日结单没有打印出来，请检查打印机后再试。"));

        // Another program holding the database: the user is told why, after a bounded wait.
        {
            home.db().setBusyTime(200);
            HeldLock lock(home.db());
            FakePlatform locked;
            QVERIFY(!printDayClosing(nullptr, home.db(), locked, home.home(), day));
            QCOMPARE(locked.printRequests.size(), 0);
            QCOMPARE(locked.shown.size(), 1);
            QVERIFY2(locked.shown.first().text.contains(QStringLiteral("数据库被其他程序占用")),
                     qPrintable(locked.shown.first().text));
        }

        QVERIFY(home.db().exec(QStringLiteral("DROP TABLE 存单详单")));
        FakePlatform broken;
        QVERIFY(!printDayClosing(nullptr, home.db(), broken, home.home(), day));
        QCOMPARE(broken.printRequests.size(), 0);
        QCOMPARE(broken.shown.size(), 1);
        QCOMPARE(broken.shown.first().icon, MessageIcon::Stop);
        QVERIFY(broken.shown.first().text.startsWith(QStringLiteral("无法读取2026年3月14日的点单数据")));
    }
};

QTEST_MAIN(DayClosingTest)
#include "tst_dayclosing.moc"
