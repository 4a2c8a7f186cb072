#include "core/gbk.h"
#include "history/csvexport.h"
#include "history/ui/historywindow.h"
#include "store/bulkorders.h"
#include "store/database.h"
#include "store/orderhistorystore.h"
#include "store/orderstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace qm;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

qint64 storeOrder(Database& db, const StoredOrder& order, const QList<StoredLine>& lines) {
    return insertOrder(db, order, lines).id.value_or(-1);
}

// Three orders: one with awkward texts and three lines (the third stored after the next order's line),
// one plain delivery, one without lines.
void addFixture(Database& db) {
    StoredOrder first;
    first.number = 1;
    first.ticketHeader = QStringLiteral("=HYPERLINK(\"x\")");
    first.shopName = QStringLiteral("白云快餐");
    first.time = QDateTime(QDate(2026, 3, 14), QTime(12, 30));
    first.total = 12.5;
    first.toPay = 12.5;
    first.tableName = QStringLiteral("桌号 2楼1桌");
    first.note = QStringLiteral("不要辣\r\n多放葱,谢谢");
    const qint64 id = storeOrder(db, first,
                                 {{QStringLiteral("鱼,香肉丝"), 1, QStringLiteral("份"), 13},
                                  {QStringLiteral("两行\n菜名"), 2.5, QStringLiteral("份"), 7.9}});
    StoredOrder second;
    second.number = 2;
    second.time = QDateTime(QDate(2026, 3, 14), QTime(12, 40));
    second.telephone = QStringLiteral("13902");
    second.customerName = QStringLiteral("-张三");
    second.address = QStringLiteral("幸福路 1 号");
    second.total = 7.9;
    second.toPay = 7.9;
    storeOrder(db, second, {{QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5}});
    QString error;
    QVERIFY(
        insertLines(db, id, first.time, {{QStringLiteral("@空心菜"), 1, QStringLiteral("份"), 18}}, error));
    StoredOrder third;
    third.number = 3;
    third.time = QDateTime(QDate(2026, 3, 14), QTime(13, 0));
    storeOrder(db, third, {});
}

struct Export {
    TempHome home;
    FakePlatform platform;
    QTemporaryDir folder;
    std::unique_ptr<HistoryWindow> window;

    Export() { window = std::make_unique<HistoryWindow>(home.db(), platform, OrderHandOff{}); }
    void reopen() { window = std::make_unique<HistoryWindow>(home.db(), platform, OrderHandOff{}); }
    QString path(const QString& name = QStringLiteral("订单.csv")) const { return folder.filePath(name); }
    void run(const QString& answer) {
        platform.fileAnswers.enqueue(answer);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);
    }
    QStringList lines(const QString& file) const {
        return fromGbk(readAll(file)).split(QStringLiteral("\r\n"));
    }
};

} // namespace

class TestCsvExport : public QObject {
    Q_OBJECT

private slots:
    void cleaning_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("plain") << "红烧鱼块"
                               << "红烧鱼块";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("comma") << "鱼,香肉丝"
                               << "鱼，香肉丝";
        QTest::newRow("line break") << "不要辣\r\n多放葱"
                                    << "不要辣\\n多放葱";
        QTest::newRow("lone carriage return") << "a\rb"
                                              << "ab";
        QTest::newRow("formula") << "=1+1"
                                 << "'=1+1";
        QTest::newRow("plus") << "+86 139"
                              << "'+86 139";
        QTest::newRow("minus") << "-5"
                               << "'-5";
        QTest::newRow("at") << "@SUM(A1)"
                            << "'@SUM(A1)";
        QTest::newRow("formula sign inside") << "a=b"
                                             << "a=b";
    }
    void cleaning() {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        QCOMPARE(cleanCsvText(text), clean);
    }

    // A small fixture read back: every record has 21 fields, each order is one block, the summary follows.
    void exportReadBack() {
        Export e;
        addFixture(e.home.db());
        e.reopen();
        e.run(e.path());
        QCOMPARE(e.platform.shown.last().text, QStringLiteral("导出完成。"));
        const QByteArray bytes = readAll(e.path());
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n")); // every line ends in CR LF
        QVERIFY(!bytes.endsWith("\r\n"));
        QCOMPARE(bytes.count("\r\n"), 9); // header, 4 lines, then the empty line and the summary
        QVERIFY(bytes.contains(toGbk(QStringLiteral("鱼，香肉丝"))));

        const QStringList lines = e.lines(e.path());
        QCOMPARE(lines.value(0), csvHeader.join(QLatin1Char(',')));
        const QStringList records = lines.mid(1, 4);
        for (const QString& record : records)
            QCOMPARE(record.split(QLatin1Char(',')).size(), 21);
        QCOMPARE(records[0],
                 QStringLiteral(
                     "1,1,'=HYPERLINK(\"x\"),白云快餐,2026年3月14日12时30分,,0,0,12.5,,0,12.5,桌号 2楼1桌,,,,"
                     "不要辣\\n多放葱，谢谢,鱼，香肉丝,1,份,13"));
        QCOMPARE(records[1], QString(17, QLatin1Char(',')) + QStringLiteral("两行\\n菜名,2.5,份,7.9"));
        QCOMPARE(records[2], QString(17, QLatin1Char(',')) + QStringLiteral("'@空心菜,1,份,18"));
        QVERIFY(records[3].startsWith(QStringLiteral("2,2,")));
        QVERIFY(records[3].contains(QStringLiteral(",13902,'-张三,幸福路 1 号,")));
        QCOMPARE(lines.mid(5), (QStringList{"", "全部数据", "共有数据,3条", "合计总额,20", "实付总额,20"}));
    }

    // More orders than the server's export takes at a time: each order once, in ID order, with its lines;
    // a stop asked for in the middle ends it.
    void exportGoesThroughEveryOrder() {
        TempHome home;
        {
            BulkOrderWriter writer(home.db());
            for (int i = 1; i <= 5003; ++i) {
                GeneratedOrder order;
                order.number = i;
                order.time = QDateTime(QDate(2026, 3, 14), QTime(12, 0));
                order.total = 10;
                order.lines = {{QStringLiteral("炒饭"), 1, QStringLiteral("份"), 6},
                               {QStringLiteral("汤"), 1, QStringLiteral("碗"), 4}};
                QVERIFY(writer.add(order));
            }
            QVERIFY(writer.finish());
        }
        qint64 previous = 0;
        int records = 0;
        bool ordered = true;
        QString error;
        QVERIFY(readExportRecords(
            home.db(), OrderFilter{},
            [&](const ExportRecord& record) {
                ordered = ordered && record.orderId >= previous;
                previous = record.orderId;
                ++records;
                return true;
            },
            error));
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(ordered);
        QCOMPARE(records, 2 * 5003);

        records = 0;
        QVERIFY(readExportRecords(
            home.db(), OrderFilter{}, [&](const ExportRecord&) { return ++records < 7000; }, error));
        QCOMPARE(records, 7000);
    }

    void summaryFollowsTheFilter() {
        Export e;
        addFixture(e.home.db());
        e.reopen();
        menuItem(e.window.get(), QStringLiteral("外卖订单"))->trigger();
        e.run(e.path());
        QStringList lines = e.lines(e.path());
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.mid(2), (QStringList{"", "外卖数据", "共有数据,1条", "合计总额,7", "实付总额,7"}));

        e.window = std::make_unique<HistoryWindow>(e.home.db(), e.platform, OrderHandOff{}, execModal,
                                                   QStringLiteral("13902"));
        e.run(e.path());
        QCOMPARE(e.lines(e.path()).value(3), QStringLiteral("客户13902 的数据"));
    }

    void emptyDatabase() {
        Export e;
        e.run(e.path());
        QCOMPARE(e.lines(e.path()), (QStringList{csvHeader.join(QLatin1Char(',')), "", "全部数据",
                                                 "共有数据,0条", "合计总额,0", "实付总额,0"}));
    }

    void existingFileIsReplacedWhole() {
        Export e;
        addFixture(e.home.db());
        e.reopen();
        writeFile(e.path(), QByteArray(100000, '#'));
        e.run(e.path());
        QVERIFY(!readAll(e.path()).contains('#'));
        QCOMPARE(QDir(e.folder.path()).entryList(QDir::Files), QStringList{"订单.csv"});
    }

    // A name without an extension gets ".csv".
    void extensionAdded() {
        Export e;
        e.run(e.path(QStringLiteral("订单")));
        QVERIFY(QFile::exists(e.path()));
    }

    void cancelLeavesNothingBehind() {
        Export e;
        addFixture(e.home.db());
        e.reopen();
        writeFile(e.path(QStringLiteral("旧.csv")), "old");
        e.platform.cancelProgressAt = 0;
        e.run(e.path());
        e.run(e.path(QStringLiteral("旧.csv")));
        QCOMPARE(e.platform.progressReached.size(), 2);
        QVERIFY(!e.platform.texts().contains(QStringLiteral("导出完成。")));
        QCOMPARE(QDir(e.folder.path()).entryList(QDir::Files), QStringList{"旧.csv"});
        QCOMPARE(readAll(e.path(QStringLiteral("旧.csv"))), QByteArray("old"));
    }

    void failedWriteIsTold() {
        Export e;
        e.run(e.folder.filePath(QStringLiteral("没有这个文件夹/订单.csv")));
        QCOMPARE(e.platform.shown.last().text, QStringLiteral("导出失败：此文件或文件夹不存在"));
        QVERIFY(!e.platform.texts().contains(QStringLiteral("导出完成。")));
    }

    // A full drive: an export small enough to sit in the write buffer fails only when the buffer goes out.
    // The limit on file size stands in for the full drive.
    void fullDriveKeepsTheOldFile() {
        Export e;
        addFixture(e.home.db());
        e.reopen();
        writeFile(e.path(), "old");
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        e.run(e.path());
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(e.platform.shown.last().text, QStringLiteral("导出失败：文件太大"));
        QCOMPARE(readAll(e.path()), QByteArray("old"));
        QCOMPARE(QDir(e.folder.path()).entryList(QDir::Files), QStringList{"订单.csv"});
    }

    void cancelledDialogDoesNothing() {
        Export e;
        e.platform.fileAnswers.clear();
        QTest::mouseClick(e.window->findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton);
        QCOMPARE(e.platform.shown.size(), 1);
        QCOMPARE(e.platform.shown.first().kind, FakePlatform::Kind::SaveFile);
        QCOMPARE(e.platform.shown.first().text, QStringLiteral("请选择需要导出的位置。"));
    }

private:
    static QAction* menuItem(QWidget* window, const QString& text) {
        for (QAction* action : window->findChild<QMenu*>(QStringLiteral("查询条件"))->actions()) {
            if (action->text() == text)
                return action;
        }
        qFatal("no menu item");
    }
};

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
