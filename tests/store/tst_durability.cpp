#include "core/home.h"
#include "store/database.h"
#include "store/databasecopy.h"
#include "store/opendatabase.h"
#include "store/orderstore.h"
#include "store/staffstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

using namespace qm;

// A writer killed with SIGKILL (as by a power cut of the process) leaves every order whole or absent. The
// writer is this test program run again as a child with one of the modes below.
namespace {

const QList<StoredLine> threeLines{{QStringLiteral("酸菜鱼"), 1, QStringLiteral("份"), 16},
                                   {QStringLiteral("王老吉"), 2, QStringLiteral("瓶"), 7},
                                   {QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18}};

StoredOrder anOrder(const QString& table) {
    StoredOrder order;
    order.number = 1;
    order.time = QDateTime(QDate(2026, 3, 14), QTime(12, 0));
    order.tableName = table;
    order.telephone = QStringLiteral("13900000000");
    order.total = order.toPay = 41;
    order.settled = true;
    return order;
}

std::unique_ptr<Database> connectTo(const QString& path) {
    std::unique_ptr<Database> db = Database::connect(path);
    if (db && !prepareDatabase(*db))
        db.reset();
    return db;
}

// Child: settles orders one after another and reports each one stored, until it is killed.
int settleUntilKilled(const QString& path) {
    std::unique_ptr<Database> db = connectTo(path);
    if (!db)
        return 2;
    for (int i = 0;; ++i) {
        const OrderWriteResult written =
            insertOrder(*db, anOrder(QStringLiteral("单 %1").arg(i)), threeLines);
        if (!written)
            return 3;
        std::printf("STORED %lld\n", static_cast<long long>(*written.id));
        std::fflush(stdout);
    }
}

// Child: starts storing an order, writes its row and one line, says so and waits to be killed.
int holdHalfAnOrder(const QString& path) {
    std::unique_ptr<Database> db = connectTo(path);
    if (!db || !db->connection().transaction())
        return 2;
    if (!db->exec(
            QStringLiteral("INSERT INTO 存单 (编号, 桌号, 时间) VALUES (1, '半单', '2026-03-14 12:00:00')")))
        return 3;
    QSqlQuery id = db->prepare(QStringLiteral("SELECT max(ID) FROM 存单"));
    if (!id.exec() || !id.next())
        return 4;
    QString error;
    if (!insertLines(*db, id.value(0).toLongLong(), anOrder({}).time, threeLines.mid(0, 1), error))
        return 5;
    std::printf("MID\n");
    std::fflush(stdout);
    QThread::sleep(60);
    return 0;
}

// The record's event of a deletion, as staff mode makes it: the cashier with the owner's permission.
AuditEvent deletionEvent() {
    AuditEvent event;
    event.time = QDateTime(QDate(2026, 3, 14), QTime(13, 0));
    event.person = QStringLiteral("小张");
    event.authoriser = QStringLiteral("王店主");
    event.till = QStringLiteral("一号机");
    event.action = auditOrderDeleted;
    return event;
}

// Child: deletes the stored orders one after another, oldest first, each with its record row, and reports
// each one deleted, until it is killed.
int deleteUntilKilled(const QString& path) {
    std::unique_ptr<Database> db = connectTo(path);
    if (!db)
        return 2;
    QList<qint64> ids;
    QSqlQuery query = db->prepare(QStringLiteral("SELECT ID FROM 存单 ORDER BY ID"));
    if (!query.exec())
        return 3;
    while (query.next())
        ids << query.value(0).toLongLong();
    query.finish();
    for (qint64 id : ids) {
        if (!deleteOrder(*db, id, deletionEvent()))
            return 4;
        std::printf("DELETED %lld\n", static_cast<long long>(id));
        std::fflush(stdout);
    }
    QThread::sleep(60);
    return 0;
}

// Child: deletes an order and its lines as a deletion does, but is killed before the record's row is
// written in the same transaction.
int holdADeletionWithoutItsRecord(const QString& path) {
    std::unique_ptr<Database> db = connectTo(path);
    if (!db || !db->connection().transaction())
        return 2;
    QSqlQuery id = db->prepare(QStringLiteral("SELECT min(ID) FROM 存单"));
    if (!id.exec() || !id.next())
        return 3;
    const qint64 first = id.value(0).toLongLong();
    id.finish();
    if (!db->exec(QStringLiteral("DELETE FROM 存单详单 WHERE 存单ID = ?"), {first}) ||
        !db->exec(QStringLiteral("DELETE FROM 存单 WHERE ID = ?"), {first}))
        return 4;
    std::printf("MID\n");
    std::fflush(stdout);
    QThread::sleep(60);
    return 0;
}

qint64 scalar(Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace

class DurabilityTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

    QProcess* startChild(const char* mode) {
        auto* child = new QProcess(this);
        child->start(QCoreApplication::applicationFilePath(), {QString::fromUtf8(mode), m_path});
        return child;
    }
    // Reads the child's lines until `enough` says so; the child is then killed with SIGKILL.
    QStringList killWhen(QProcess* child, const std::function<bool(const QStringList&)>& enough) {
        QStringList lines;
        while (!enough(lines) && child->state() != QProcess::NotRunning) {
            child->waitForReadyRead(10000);
            while (child->canReadLine())
                lines << QString::fromUtf8(child->readLine()).trimmed();
        }
        child->kill();
        child->waitForFinished(10000);
        return lines;
    }

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("data.db"));
        QFile::remove(m_path);
        QFile::remove(walPath(m_path));
        QFile::remove(shmPath(m_path));
        QVERIFY(connectTo(m_path));
    }

    void commitsAreDurableAndTheLogIsEmptiedOnClose() {
        {
            std::unique_ptr<Database> db = connectTo(m_path);
            QSqlQuery mode = db->prepare(QStringLiteral("PRAGMA journal_mode"));
            QVERIFY(mode.exec() && mode.next());
            QCOMPARE(mode.value(0).toString(), QStringLiteral("wal"));
            mode.finish();
            QCOMPARE(scalar(*db, QStringLiteral("PRAGMA synchronous")), 2); // FULL
            const OrderWriteResult written = insertOrder(*db, anOrder(QStringLiteral("号牌 1")), threeLines);
            QVERIFY2(written, qPrintable(written.error));
            QVERIFY(QFileInfo(walPath(m_path)).size() > 0);
        }
        QVERIFY(!QFile::exists(walPath(m_path)) || QFileInfo(walPath(m_path)).size() == 0);
    }

    void killedInTheMiddleOfAnOrderLeavesNoPartOfIt() {
        QProcess* child = startChild("--hold-half-an-order");
        const QStringList lines =
            killWhen(child, [](const QStringList& seen) { return seen.contains("MID"); });
        QVERIFY2(lines.contains("MID"), qPrintable(lines.join('\n') + child->readAllStandardError()));

        std::unique_ptr<Database> db = connectTo(m_path);
        QVERIFY(db);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单")), 0);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单详单")), 0);
        QCOMPARE(checkDatabaseFile(m_path, false), QString());
    }

    // A deletion and its row in the record of changes are stored together or not at all: killed before
    // the row is written, the order is still there with its lines and the record holds nothing of it.
    void killedBetweenADeletionAndItsRecordKeepsTheOrder() {
        {
            std::unique_ptr<Database> db = connectTo(m_path);
            QVERIFY(insertOrder(*db, anOrder(QStringLiteral("号牌 1")), threeLines));
        }
        QProcess* child = startChild("--hold-a-deletion-without-its-record");
        const QStringList lines =
            killWhen(child, [](const QStringList& seen) { return seen.contains("MID"); });
        QVERIFY2(lines.contains("MID"), qPrintable(lines.join('\n') + child->readAllStandardError()));

        std::unique_ptr<Database> db = connectTo(m_path);
        QVERIFY(db);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单")), 1);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单详单")), 3);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 操作记录")), 0);
        QCOMPARE(checkDatabaseFile(m_path, false), QString());
    }

    void killedWhileDeletingKeepsEachDeletionWithItsRecord_data() {
        QTest::addColumn<int>("deletedBeforeKill");
        QTest::newRow("first deletion") << 1;
        QTest::newRow("a few") << 17;
        QTest::newRow("many") << 120;
    }
    void killedWhileDeletingKeepsEachDeletionWithItsRecord() {
        QFETCH(int, deletedBeforeKill);
        const int stored = 150;
        {
            std::unique_ptr<Database> db = connectTo(m_path);
            for (int i = 0; i < stored; ++i)
                QVERIFY(insertOrder(*db, anOrder(QStringLiteral("单 %1").arg(i)), threeLines));
        }
        QProcess* child = startChild("--delete-until-killed");
        const QStringList lines =
            killWhen(child, [&](const QStringList& seen) { return seen.size() >= deletedBeforeKill; });
        QVERIFY2(lines.size() >= deletedBeforeKill, qPrintable(child->readAllStandardError()));

        std::unique_ptr<Database> db = connectTo(m_path);
        QVERIFY(db);
        for (const QString& line : lines) {
            const QString id = line.section(QLatin1Char(' '), 1);
            QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单 WHERE ID = %1").arg(id)), 0);
            QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 操作记录 WHERE 存单ID = %1").arg(id)),
                     1);
        }
        // A deletion that committed after the last report (the kill came in between) has its row too: every
        // order is either there whole or gone with exactly one row naming it, whose text keeps its lines.
        const qint64 deleted = stored - scalar(*db, QStringLiteral("SELECT count(*) FROM 存单"));
        QVERIFY(deleted >= lines.size() && deleted <= lines.size() + 1);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 操作记录")), deleted);
        QCOMPARE(scalar(*db, QStringLiteral(
                                 "SELECT count(*) FROM 操作记录 WHERE 存单ID IN (SELECT ID FROM 存单)")),
                 0);
        QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 操作记录 WHERE 之前 NOT LIKE '%酸菜鱼%'")),
                 0);
        QCOMPARE(scalar(*db, QStringLiteral(
                                 "SELECT count(*) FROM 存单详单 WHERE 存单ID NOT IN (SELECT ID FROM 存单)")),
                 0);
        QVERIFY(!firstBrokenAuditRow(*db));
        QCOMPARE(checkDatabaseFile(m_path, false), QString());
    }

    void killedWhileSettlingKeepsEveryStoredOrderWhole_data() {
        QTest::addColumn<int>("storedBeforeKill");
        QTest::newRow("first order") << 1;
        QTest::newRow("a few") << 17;
        QTest::newRow("many") << 300;
    }
    void killedWhileSettlingKeepsEveryStoredOrderWhole() {
        QFETCH(int, storedBeforeKill);
        QProcess* child = startChild("--settle-until-killed");
        const QStringList lines =
            killWhen(child, [&](const QStringList& seen) { return seen.size() >= storedBeforeKill; });
        QVERIFY2(lines.size() >= storedBeforeKill, qPrintable(child->readAllStandardError()));

        std::unique_ptr<Database> db = connectTo(m_path);
        QVERIFY(db);
        for (const QString& line : lines) {
            const QString id = line.section(QLatin1Char(' '), 1);
            QCOMPARE(scalar(*db, QStringLiteral("SELECT count(*) FROM 存单详单 WHERE 存单ID = %1").arg(id)),
                     3);
        }
        // Orders stored after the last report (the kill came in between) are whole too.
        QCOMPARE(
            scalar(*db, QStringLiteral("SELECT count(*) FROM 存单 o WHERE (SELECT count(*) FROM 存单详单 l "
                                       "WHERE l.存单ID = o.ID) <> 3")),
            0);
        QCOMPARE(scalar(*db, QStringLiteral(
                                 "SELECT count(*) FROM 存单详单 WHERE 存单ID NOT IN (SELECT ID FROM 存单)")),
                 0);
        const qint64 orders = scalar(*db, QStringLiteral("SELECT count(*) FROM 存单"));
        QVERIFY(orders >= lines.size() && orders <= lines.size() + 1);
        // The customer was counted once for every order that is there.
        QCOMPARE(scalar(*db, QStringLiteral("SELECT 订餐次数 FROM 客户")), orders);
        QCOMPARE(checkDatabaseFile(m_path, false), QString());
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--settle-until-killed") == 0) {
        QCoreApplication app(argc, argv);
        return settleUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && qstrcmp(argv[1], "--delete-until-killed") == 0) {
        QCoreApplication app(argc, argv);
        return deleteUntilKilled(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && qstrcmp(argv[1], "--hold-a-deletion-without-its-record") == 0) {
        QCoreApplication app(argc, argv);
        return holdADeletionWithoutItsRecord(QString::fromLocal8Bit(argv[2]));
    }
    if (argc == 3 && qstrcmp(argv[1], "--hold-half-an-order") == 0) {
        QCoreApplication app(argc, argv);
        return holdHalfAnOrder(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    DurabilityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_durability.moc"
