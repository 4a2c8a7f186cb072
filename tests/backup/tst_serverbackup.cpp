#include "app/programdatabase.h"
#include "app/ui/mainwindow.h"
#include "backup/autobackup.h"
#include "backup/backupfolder.h"
#include "backup/restore.h"
#include "backup/ui/backupcommands.h"
#include "core/home.h"
#include "store/databasecopy.h"
#include "store/orderstore.h"
#include "store/tillfile.h"
#include "support/fakeplatform.h"
#include "support/testserver.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

// Backups of the shop's shared PostgreSQL database: pg_dump files, and the restore told, not run.
namespace {

qint64 orderCount(Database& db) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT count(*) FROM 存单"));
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

bool storeOrder(Database& db, int number) {
    StoredOrder order;
    order.number = number;
    order.time = QDateTime(QDate(2026, 3, 14), QTime(12, number));
    order.total = 10;
    order.paid = 10;
    order.toPay = 10;
    order.tableName = QStringLiteral("号牌 %1").arg(number);
    return bool(insertOrder(db, order, {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 10}}));
}

// A till's home pointing at a new database on the test server, opened as at start-up, with one order.
struct ServerHome {
    QTemporaryDir dir;
    Home home{dir.path()};
    ServerSetting server;
    OpenedDatabase opened;

    explicit ServerHome(TestServer& testServer)
        : server(testServer.newDatabase()) {
        TillFile(home.tillPath()).setServer(server);
        opened = openProgramDatabase(home);
        if (opened.db)
            storeOrder(*opened.db, 1);
    }
    Database& db() { return *opened.db; }
};

} // namespace

class ServerBackupTest : public QObject {
    Q_OBJECT

    TestServer* m_server = nullptr;

private slots:
    void initTestCase() { QM_REQUIRE_TEST_SERVER(m_server); }

    void aBackupIsADumpListingTheTables() {
        ServerHome shop(*m_server);
        QVERIFY2(shop.opened.db, qPrintable(shop.opened.error));
        QTemporaryDir stick;
        const QString target = stick.filePath(QStringLiteral("data.dump"));
        QCOMPARE(writeBackup(copySourceOf(shop.db()), target), QString());
        QVERIFY(!QFile::exists(target + QStringLiteral(".part")));
        QString error;
        const std::optional<QStringList> tables = dumpTables(target, &error);
        QVERIFY2(tables, qPrintable(error));
        for (const char* table : {"存单", "存单详单", "存单汇总", "菜单", "记录"})
            QVERIFY2(tables->contains(QString::fromUtf8(table)), table);
        // A SQLite file is no dump: told, not listed.
        QFile notADump(stick.filePath(QStringLiteral("data.db")));
        QVERIFY(notADump.open(QIODevice::WriteOnly));
        notADump.write("SQLite format 3");
        notADump.close();
        QVERIFY(!dumpTables(notADump.fileName(), &error));
        QVERIFY(!error.isEmpty());
    }

    void aFailingDumpIsToldAndLeavesNoFile_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("cause");
        QTest::newRow("wrong database")
            << QStringLiteral("no_such_shop") << 0 << QStringLiteral("数据库或用户不存在");
        QTest::newRow("server not running") << QString() << 1 << QStringLiteral("服务器未运行或拒绝连接");
    }
    void aFailingDumpIsToldAndLeavesNoFile() {
        QFETCH(QString, database);
        QFETCH(int, port);
        QFETCH(QString, cause);
        ServerSetting server = m_server->newDatabase();
        if (!database.isEmpty())
            server.database = database;
        if (port)
            server.port = port;
        QTemporaryDir stick;
        const QString target = stick.filePath(QStringLiteral("data.dump"));
        const QString error = writeServerDump(server, target);
        QVERIFY2(error.startsWith(cause), qPrintable(error));
        QVERIFY(!QFile::exists(target));
        QCOMPARE(QDir(stick.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        // A backup already there under that name stays as it was.
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the backup of yesterday");
        old.close();
        QVERIFY(!writeServerDump(server, target).isEmpty());
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the backup of yesterday"));
    }

    void theDailyCopyIsADumpOncePerDay() {
        ServerHome shop(*m_server);
        QVERIFY(shop.opened.db);
        // A SQLite copy from before the shop moved to the server does not count as today's.
        QDir().mkpath(backupFolder(shop.home));
        const QDateTime morning(QDate(2026, 3, 14), QTime(9, 0));
        QFile before(QDir(backupFolder(shop.home)).filePath(backupFileName(morning.addSecs(-60))));
        QVERIFY(before.open(QIODevice::WriteOnly));
        before.close();

        const SafetyReport first = checkAndBackUp(shop.home, morning);
        QVERIFY(first.backupRan);
        QVERIFY2(first.backup, qPrintable(first.backup.error));
        QCOMPARE(QFileInfo(first.backup.path).fileName(), QStringLiteral("data-2026-03-14-090000.dump"));
        QVERIFY(dumpTables(first.backup.path));
        QVERIFY(!backUpOncePerDay(shop.home, morning.addSecs(3600)).backupRan);
        const QList<BackupCopy> copies = listBackups(backupFolder(shop.home));
        QCOMPARE(copies.size(), 2);
        QVERIFY(copies.first().serverDump);
    }

    // The restore is not run from a till: the message names the command, and that command, run with all
    // tills closed, puts the backup back in one transaction.
    void theRestoreIsToldAndTheToldCommandRestores() {
        ServerHome shop(*m_server);
        QVERIFY(shop.opened.db);
        FakePlatform platform;
        MainWindow window(shop.db(), platform, shop.home, shop.opened.quantityDecimals);
        BackupCommands backups(window, shop.db(), platform, shop.home);

        QTemporaryDir stick;
        platform.fileAnswers.enqueue(stick.path());
        window.entry(MainWindow::Entry::BackupData)->trigger();
        const QString dump = QDir(stick.path()).filePath(QStringLiteral("data-2026-03-14-123000.dump"));
        QCOMPARE(platform.texts().last(), QStringLiteral("数据已备份到：\n") + dump);
        QVERIFY(storeOrder(shop.db(), 2));

        platform.yesNoAnswers.enqueue(true);
        QVERIFY(!backups.restoreFile(dump));
        const QString told = platform.texts().last();
        const QString command = shellCommandLine(serverRestoreCommand(shop.server, dump));
        QVERIFY2(told.contains(command), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("当前数据未改变")), qPrintable(told));
        QCOMPARE(platform.yesNoAnswers.size(), 1); // nothing was asked: nothing is about to change
        QCOMPARE(orderCount(shop.db()), 2);

        shop.opened.db.reset();
        const QStringList restore = serverRestoreCommand(shop.server, dump);
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(restore.first(), restore.mid(1));
        QVERIFY(process.waitForFinished(60000));
        QVERIFY2(process.exitCode() == 0, process.readAll().constData());
        std::unique_ptr<Database> again = Database::connectServer(shop.server);
        QVERIFY(again);
        QCOMPARE(orderCount(*again), 1);
        // The totals kept by triggers came back with their triggers: the next order counts.
        QVERIFY(storeOrder(*again, 3));
        QSqlQuery totals = again->prepare(QStringLiteral("SELECT sum(单数) FROM 存单汇总"));
        QVERIFY(totals.exec() && totals.next());
        QCOMPARE(totals.value(0).toInt(), 2);
    }
};

QTEST_MAIN(ServerBackupTest)
#include "tst_serverbackup.moc"
