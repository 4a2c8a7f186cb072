#include "app/programdatabase.h"
#include "core/home.h"
#include "store/database.h"
#include "store/databasecopy.h"
#include "store/opendatabase.h"
#include "store/orderhistorystore.h"
#include "store/orderstore.h"
#include "store/servercopy.h"
#include "store/settings.h"
#include "support/salestotalscheck.h"
#include "support/testserver.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace qm;

// A till's SQLite home moved over to the shop's server: everything copied with its IDs, the file left as
// it was, and a server that already holds orders refused.
namespace {

const QStringList copiedTables = {
    QStringLiteral("存单"),    QStringLiteral("存单详单"), QStringLiteral("客户"), QStringLiteral("菜单"),
    QStringLiteral("单位"),    QStringLiteral("店名"),     QStringLiteral("减免"), QStringLiteral("票头设置"),
    QStringLiteral("桌号"),    QStringLiteral("出品部门"), QStringLiteral("记录"), QStringLiteral("员工"),
    QStringLiteral("操作记录")};

StoredOrder anOrder(int number, const QString& telephone) {
    StoredOrder order;
    order.number = number;
    order.time = QDateTime(QDate(2026, 3, 14), QTime(12, number));
    order.total = 21.5;
    order.paid = 30;
    order.toPay = 21.5;
    order.paymentMethod = QStringLiteral("现金支付");
    order.telephone = telephone;
    order.customerName = telephone.isEmpty() ? QString() : QStringLiteral("王'五");
    order.address = telephone.isEmpty() ? QString() : QStringLiteral("幸福路 1 号");
    order.tableName = telephone.isEmpty() ? QStringLiteral("号牌 3") : QString();
    order.note = QStringLiteral("少辣, \"加\\葱\"{}");
    return order;
}

const QList<StoredLine> twoLines = {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18},
                                    {QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5}};

qint64 scalar(const Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

QList<qint64> ids(const Database& db, const QString& table) {
    QList<qint64> out;
    QSqlQuery query = db.prepare(QStringLiteral("SELECT ID FROM %1 ORDER BY ID").arg(table));
    query.exec();
    while (query.next())
        out << query.value(0).toLongLong();
    return out;
}

// Every order as the record of changes writes it, with its till and version.
QStringList ordersText(const Database& db) {
    QStringList out;
    for (qint64 id : ids(db, QStringLiteral("存单"))) {
        const std::optional<StoredOrder> order = loadOrder(db, id);
        out << QStringLiteral("%1 %2 %3\n").arg(id).arg(order->till).arg(order->version) +
                   orderRecordText(*order, loadOrderLines(db, id));
    }
    return out;
}

QByteArray fileHash(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

// A till's home with its own SQLite file: orders (one deleted, one changed), a customer, a staff member
// and a number column holding a text.
struct SqliteHome {
    QTemporaryDir dir;
    Home home{dir.path()};

    SqliteHome() {
        OpenedDatabase opened = openProgramDatabase(home);
        QVERIFY2(opened.db, qPrintable(opened.error));
        Database& db = *opened.db;
        db.setTillName(QStringLiteral("柜台"));
        QVERIFY(insertOrder(db, anOrder(1, QStringLiteral("13900001111")), twoLines));
        QVERIFY(insertOrder(db, anOrder(2, QString()), twoLines));
        QVERIFY(insertOrder(db, anOrder(3, QStringLiteral("13900001111")), twoLines));
        const OrderWriteResult last = insertOrder(db, anOrder(4, QString()), twoLines);
        QVERIFY(last);
        QVERIFY(deleteOrder(db, *last.id));
        StoredOrder changed = *loadOrder(db, 2);
        changed.note = QStringLiteral("改过");
        QVERIFY(changeOrder(db, 2, changed, twoLines.mid(0, 1)));
        QVERIFY(db.exec(QStringLiteral("UPDATE 存单 SET 减免份数 = '两份' WHERE ID = 1")));
        QVERIFY(db.exec(
            QStringLiteral("INSERT INTO 员工 (姓名, 角色, 密码散列) VALUES ('小张', '收银员', 'x')")));
    }
    QString path() const { return home.databasePath(); }
};

} // namespace

class ServerCopyTest : public QObject {
    Q_OBJECT

    TestServer* m_server = nullptr;

    static QString programPath() {
        return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../quillmenu"));
    }

private slots:
    void initTestCase() { QM_REQUIRE_TEST_SERVER(m_server); }

    void everyTableIsCopiedWithItsIds() {
        SqliteHome shop;
        const QByteArray before = fileHash(shop.path());
        std::unique_ptr<Database> target = Database::connectServer(m_server->newDatabase());
        QVERIFY(target);
        const ServerCopyResult result = ServerCopy(shop.path(), *target).run();
        QVERIFY2(result, qPrintable(result.error));
        QCOMPARE(fileHash(shop.path()), before);
        QVERIFY(!QFile::exists(walPath(shop.path())) || QFile(walPath(shop.path())).size() == 0);

        std::unique_ptr<Database> file = Database::connectReadOnly(shop.path());
        QVERIFY(file);
        QStringList reported;
        for (const CopiedTable& table : result.tables)
            reported << table.name;
        QCOMPARE(reported, copiedTables);
        for (const CopiedTable& table : result.tables) {
            const QString count = QStringLiteral("SELECT count(*) FROM %1").arg(table.name);
            QCOMPARE(scalar(*target, count), scalar(*file, count));
            QCOMPARE(table.rows, scalar(*file, count));
            if (table.name != QStringLiteral("记录"))
                QCOMPARE(ids(*target, table.name), ids(*file, table.name));
        }
        QCOMPARE(ordersText(*target), ordersText(*file));
        QCOMPARE(loadOrder(*target, 2)->version, 1);
        QCOMPARE(loadOrder(*target, 1)->till, QStringLiteral("柜台"));
        QCOMPARE(result.emptiedNumbers, 1);
        QVERIFY(result.leftOut.isEmpty());
        QCOMPARE(scalar(*target, QStringLiteral("SELECT 订餐次数 FROM 客户")), 2);
        QCOMPARE(scalar(*target, QStringLiteral("SELECT count(*) FROM 记录 WHERE 记录内容 = '数据库版本'")),
                 1);

        // A till starting on the copy finds it current; the totals and the IDs go on from the file's.
        QVERIFY(prepareDatabase(*target));
        OrderHistoryTable history(*target);
        QCOMPARE(history.totals()->count, 3);
        QCOMPARE(scalar(*target, QStringLiteral("SELECT sum(单数) FROM 存单汇总")), 3);
        QCOMPARE(salesTotalsDifference(*target, QDate(2026, 3, 13), QDate(2026, 3, 15)), QString());
        const OrderWriteResult next = insertOrder(*target, anOrder(5, QString()), twoLines);
        QVERIFY2(next, qPrintable(next.error));
        QCOMPARE(*next.id, qint64(5)); // 4 was given out and deleted on the till

        const QString text = ServerCopy::report(result, shop.path(), target->describe());
        for (const QString& part : {QStringLiteral("存单：3 行"), QStringLiteral("存单详单：5 行"),
                                    QStringLiteral("行数都与文件中的一致"), QStringLiteral("存为空"),
                                    QStringLiteral("数据库文件本身没有改动")})
            QVERIFY2(text.contains(part), qPrintable(text));
    }

    // Nothing is copied, and the server stays as it was, when the server already holds orders or the file
    // is not one this program can copy as it is.
    void refusals_data() {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("message");
        QTest::newRow("server holds orders") << "orders" << QStringLiteral("目标数据库里已有 1 张订单");
        QTest::newRow("older file") << "older" << QStringLiteral("数据库文件是旧版本（3.1）");
        QTest::newRow("newer file") << "newer"
                                    << QStringLiteral("比本程序（%1）新").arg(currentDatabaseVersion());
        QTest::newRow("not a database of this program")
            << "foreign" << QStringLiteral("不是本程序的数据库文件");
    }
    void refusals() {
        QFETCH(QString, problem);
        QFETCH(QString, message);
        SqliteHome shop;
        const ServerSetting setting = m_server->newDatabase();
        std::unique_ptr<Database> target = Database::connectServer(setting);
        QVERIFY(target);
        QVERIFY(prepareDatabase(*target));
        if (problem == QStringLiteral("orders"))
            QVERIFY(insertOrder(*target, anOrder(9, QString()), twoLines));
        if (problem == QStringLiteral("older") || problem == QStringLiteral("newer")) {
            std::unique_ptr<Database> file = Database::connect(shop.path());
            RecordStore(*file).write(QStringLiteral("数据库版本"), problem == QStringLiteral("older")
                                                                       ? QStringLiteral("3.1")
                                                                       : QStringLiteral("99.0"));
        }
        if (problem == QStringLiteral("foreign")) {
            std::unique_ptr<Database> file = Database::connect(shop.path());
            QVERIFY(file->exec(QStringLiteral("DROP TABLE 存单")));
        }
        const qint64 dishes = scalar(*target, QStringLiteral("SELECT count(*) FROM 菜单"));
        const ServerCopyResult result = ServerCopy(shop.path(), *target).run();
        QCOMPARE(result.status, ServerCopyResult::Status::Refused);
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QCOMPARE(scalar(*target, QStringLiteral("SELECT count(*) FROM 存单")),
                 problem == QStringLiteral("orders") ? 1 : 0);
        QCOMPARE(scalar(*target, QStringLiteral("SELECT count(*) FROM 菜单")), dishes);
    }

    // The program itself: the copy is told on stdout with exit code 0; a second copy into the same
    // database is refused with a code that is not 0.
    void fromTheCommandLine() {
        SqliteHome shop;
        const ServerSetting setting = m_server->newDatabase();
        const auto run = [&](QProcess& process) {
            process.start(programPath(), {QStringLiteral("--home"), shop.dir.path(),
                                          QStringLiteral("--copy-to"), setting.url()});
            QVERIFY(process.waitForFinished(60000));
        };
        QProcess first;
        run(first);
        const QString out = QString::fromUtf8(first.readAllStandardOutput());
        QCOMPARE(first.exitCode(), 0);
        QVERIFY2(out.contains(QStringLiteral("存单：3 行")), qPrintable(out));
        QVERIFY2(out.contains(QStringLiteral("--database ") + setting.url()), qPrintable(out));
        QVERIFY(!TillFile(shop.home.tillPath()).server()); // the till itself keeps its file until told

        QProcess second;
        run(second);
        QVERIFY(second.exitCode() != 0);
        const QString refusal = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(refusal.startsWith(QStringLiteral("未复制：目标数据库里已有 3 张订单")),
                 qPrintable(refusal));
    }
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ServerCopyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_servercopy.moc"
