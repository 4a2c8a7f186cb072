#include "app/programdatabase.h"
#include "store/opendatabase.h"
#include "store/schema.h"
#include "store/settings.h"
#include "support/temphome.h"

#include "core/gbk.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

QStringList column(Database& db, const QString& sql) {
    QStringList out;
    QSqlQuery query = db.prepare(sql);
    if (query.exec()) {
        while (query.next())
            out << query.value(0).toString();
    }
    return out;
}

QVariant scalar(Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0) : QVariant();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class OpenDatabaseTest : public QObject {
    Q_OBJECT

private slots:
    void newHomeGetsSchemaAndFirstRunRows() {
        TempHome temp;
        Database& db = temp.db();
        QCOMPARE(QFile::exists(temp.home().databasePath()), !db.isServer());
        QCOMPARE(temp.quantityDecimals(), 1);

        QStringList dishes;
        QSqlQuery query =
            db.prepare(QStringLiteral("SELECT 代码, 字母, 菜名, 价格, 单位 FROM 菜单 ORDER BY ID"));
        QVERIFY(query.exec());
        while (query.next()) {
            dishes << QStringLiteral("%1 %2 %3 %4 %5")
                          .arg(query.value(0).toString(), query.value(1).toString(),
                               query.value(2).toString(), QString::number(query.value(3).toDouble()),
                               query.value(4).toString());
        }
        QCOMPARE(dishes.size(), 28);
        QCOMPARE(dishes.first(), QStringLiteral("001 hspgf 红烧排骨饭 18 份"));
        QCOMPARE(dishes.at(4), QStringLiteral("005 bcrsj 白菜肉水饺 15.5 份"));
        QCOMPARE(dishes.at(26), QStringLiteral("105 wlj 王老吉 3.5 瓶"));
        QCOMPARE(dishes.last(), QStringLiteral("108 kxc 空心菜 18 份"));
        QCOMPARE(column(db, QStringLiteral("SELECT 单位名称 FROM 单位 ORDER BY ID")).join(QLatin1Char(',')),
                 QStringLiteral("份,碗,碟,瓶,罐,包,箱,串,个,盒"));
        QCOMPARE(column(db, QStringLiteral("SELECT 店铺名称 FROM 店名 ORDER BY ID")).join(QLatin1Char(',')),
                 QStringLiteral("山东手工水饺,老北方饺子馆,农家大碗茶,白云快餐,微信外卖"));
        QCOMPARE(column(db, QStringLiteral("SELECT 减免名称 FROM 减免 ORDER BY ID")).join(QLatin1Char(',')),
                 QStringLiteral("立减优惠,整单折扣,开业酬宾,开学优惠"));
        QCOMPARE(
            column(db, QStringLiteral("SELECT 票头 FROM 票头设置 ORDER BY ID")).join(QLatin1Char(',')),
            QStringLiteral("饿了么(第1联),美团(第1联),百度外卖(第1联),淘点点,自助快餐,微信点餐,欢迎光临"));
        const QStringList tables =
            column(db, QStringLiteral("SELECT 代号 || '=' || 桌号名称 FROM 桌号 ORDER BY ID"));
        QCOMPARE(tables.size(), 18);
        QCOMPARE(tables.at(0), QStringLiteral("1=号牌 1"));
        QCOMPARE(tables.at(9), QStringLiteral("10=号牌 10"));
        QCOMPARE(tables.at(10), QStringLiteral("101=桌号 2楼1桌"));
        QCOMPARE(tables.last(), QStringLiteral("204=包厢 蓬莱阁"));
        QVERIFY(columnNames(db, QStringLiteral("存单")).contains(QStringLiteral("备注")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 存单")).toInt(), 0);

        const RecordStore records(db);
        QCOMPARE(records.read(QStringLiteral("数据库版本")), QStringLiteral("3.2"));
        QCOMPARE(records.read(QStringLiteral("小数位数")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("字体大小")), QStringLiteral("9|9|9|9|9|9|12|9|9|12|12"));
        QCOMPARE(records.read(QStringLiteral("勾选加粗")), QStringLiteral("0|0|0|0|0|0|1|0|0|1|1"));
        QCOMPARE(records.read(QStringLiteral("设置类型")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("票头")), QStringLiteral("微信点餐"));
        QCOMPARE(records.read(QStringLiteral("店铺名称")), QStringLiteral("白云快餐"));
        QCOMPARE(records.read(QStringLiteral("附带信息1")), QStringLiteral("订餐电话:1390000****"));
        QCOMPARE(records.read(QStringLiteral("附带信息2勾选")), QStringLiteral("0"));
        QCOMPARE(records.read(QStringLiteral("打印份数")), QStringLiteral("1"));
        QVERIFY(!QFile::exists(temp.home().configPath()));

        const QStringList indexes =
            db.isServer() ? column(db, QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = "
                                                      "current_schema() AND indexname NOT LIKE '%_pkey' "
                                                      "AND indexname NOT LIKE '%_key'"))
                          : column(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' "
                                                      "AND name NOT LIKE 'sqlite_%' ORDER BY name"));
        QCOMPARE(indexes.size(), 8);
    }

    void secondOpenKeepsEverything() {
        TempHome temp;
        temp.db().exec(QStringLiteral("INSERT INTO 单位 (单位名称) VALUES ('斤')"));
        RecordStore(temp.db()).write(QStringLiteral("小数位数"), QStringLiteral("0"));
        const OpenedDatabase again = openDatabase(temp.home());
        QVERIFY(again.db);
        QCOMPARE(again.quantityDecimals, 0); // already at 3.2: the decimals stay, 0 included
        QCOMPARE(scalar(*again.db, QStringLiteral("SELECT count(*) FROM 单位")).toInt(), 11);
        QCOMPARE(scalar(*again.db, QStringLiteral("SELECT count(*) FROM 菜单")).toInt(), 28);
    }

    // Counting the kept totals of stored lines afresh (after an upgrade, or when a trigger is gone) is told
    // before it starts, once; an ordinary opening and a new home tell nothing.
    void countingTheTotalsIsToldBeforehand() {
        TempHome temp;
        QStringList told;
        const LongStepNotice notice = [&told](const QString& text) { told << text; };
        QVERIFY(openDatabase(temp.home(), notice).db); // a new home
        QVERIFY(openDatabase(temp.home(), notice).db);
        QCOMPARE(told, QStringList());
        QVERIFY(temp.db().exec(QStringLiteral("INSERT INTO 存单详单 (存单ID, 菜名) VALUES (1, '空心菜')")));
        QVERIFY(temp.db().exec(QStringLiteral("DROP TABLE 销售汇总")));
        QVERIFY(openDatabase(temp.home(), notice).db);
        QCOMPARE(told, QStringList{countingTotalsNotice});
        QVERIFY(openDatabase(temp.home(), notice).db);
        QCOMPARE(told.size(), 1);
    }

    void legacyConfigurationSeedsExtraLines() {
        TempHome temp;
        QDir().mkpath(temp.path());
        const QByteArray config =
            toGbk(QStringLiteral("旧设置\r\nDHH = {订餐热线:8888}\r\ntx = {Y}\r\nQQ = {微信:abc}\r\n"));
        writeFile(temp.home().configPath(), config);
        const RecordStore records(temp.db());
        QCOMPARE(records.read(QStringLiteral("附带信息1")), QStringLiteral("订餐热线:8888"));
        QCOMPARE(records.read(QStringLiteral("附带信息2勾选")), QStringLiteral("1"));
        QCOMPARE(records.read(QStringLiteral("附带信息2")), QStringLiteral("微信:abc"));
        QCOMPARE(readFile(temp.home().configPath()), config); // read, never written
    }

    void oldDatabaseIsUpgradedKeepingRows() {
        QM_SKIP_ON_SERVER();
        TempHome temp;
        QDir().mkpath(temp.home().dataDir());
        {
            auto old = Database::connect(temp.home().databasePath());
            QVERIFY(old);
            QVERIFY(old->exec(QStringLiteral(
                "CREATE TABLE 存单 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 编号 INTEGER, 票头 VARCHAR(32), "
                "店铺名称 VARCHAR(32), 时间 DATETIME, 减免 VARCHAR(32), 减免份数 SMALLINT, 减免金额 "
                "DECIMAL(18,0), "
                "合计 SINGLE, 支付方式 VARCHAR(255), 已付 DECIMAL(18,0), 实付 DECIMAL(18,0), 桌号 "
                "VARCHAR(32), "
                "电话 VARCHAR(16), 姓名 VARCHAR(16), 地址 VARCHAR(255), 是否结算 BIT)")));
            QVERIFY(old->exec(
                QStringLiteral("CREATE TABLE 存单详单 (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                               "存单ID INTEGER, 销售时间 DATETIME, 菜名 VARCHAR(32), 数量 SMALLINT, "
                               "单位 VARCHAR(8), 小计 SINGLE)")));
            QVERIFY(
                old->exec(QStringLiteral("CREATE TABLE 记录 (记录内容 VARCHAR(16), 记录信息 VARCHAR(255))")));
            QVERIFY(old->exec(
                QStringLiteral("INSERT INTO 存单 (ID, 编号, 时间, 减免金额, 已付, 实付, 电话) VALUES "
                               "(7, 3, '2024-05-01 12:00:00', 2.5, 40.5, 40.5, '138')")));
            QVERIFY(old->exec(QStringLiteral(
                "INSERT INTO 存单详单 (存单ID, 菜名, 数量, 小计) VALUES (7, '空心菜', 2, 36)")));
            QVERIFY(old->exec(QStringLiteral("INSERT INTO 记录 VALUES ('小数位数', '0')")));
        }
        const OpenedDatabase opened = openProgramDatabase(temp.home());
        QVERIFY(opened.db);
        Database& db = *opened.db;
        QCOMPARE(opened.quantityDecimals, 1);
        QVERIFY(columnNames(db, QStringLiteral("存单")).contains(QStringLiteral("备注")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT 减免金额 FROM 存单 WHERE ID = 7")).toDouble(), 2.5);
        QCOMPARE(scalar(db, QStringLiteral("SELECT 电话 FROM 存单 WHERE ID = 7")).toString(),
                 QStringLiteral("138"));
        QCOMPARE(scalar(db, QStringLiteral("SELECT 数量 FROM 存单详单 WHERE 存单ID = 7")).toDouble(), 2.0);
        QCOMPARE(
            scalar(db, QStringLiteral("SELECT type FROM pragma_table_info('存单详单') WHERE name = '数量'"))
                .toString(),
            QStringLiteral("REAL"));
        const RecordStore records(db);
        QCOMPARE(records.read(QStringLiteral("数据库版本")), QStringLiteral("3.2"));
        QCOMPARE(records.read(QStringLiteral("小数位数")), QStringLiteral("1"));
        QVERIFY(records.exists(QStringLiteral("字体大小")));
        // A new order after the upgrade continues the old numbering of IDs.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单 (编号) VALUES (1)")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT max(ID) FROM 存单")).toInt(), 8);
    }

    // Rebuilding the order tables keeps the high-water mark of their IDs: the ID of a deleted order never
    // comes back, and a line a deleted order left behind is never joined to a new order.
    void upgradeKeepsDeletedIdsUnused() {
        QM_SKIP_ON_SERVER();
        TempHome temp;
        QDir().mkpath(temp.home().dataDir());
        {
            auto old = Database::connect(temp.home().databasePath());
            QVERIFY(old);
            QVERIFY(
                old->exec(QStringLiteral("CREATE TABLE 存单 (ID INTEGER PRIMARY KEY AUTOINCREMENT, 编号 "
                                         "INTEGER, 时间 DATETIME, 已付 DECIMAL(18,0), 实付 DECIMAL(18,0), "
                                         "减免金额 DECIMAL(18,0), 电话 VARCHAR(16), 姓名 VARCHAR(16))")));
            QVERIFY(
                old->exec(QStringLiteral("CREATE TABLE 存单详单 (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                         "存单ID INTEGER, 菜名 VARCHAR(32), 数量 SMALLINT, 小计 SINGLE)")));
            QVERIFY(
                old->exec(QStringLiteral("CREATE TABLE 记录 (记录内容 VARCHAR(16), 记录信息 VARCHAR(255))")));
            for (int id = 1; id <= 5; ++id) {
                QVERIFY(old->exec(QStringLiteral("INSERT INTO 存单 (ID, 编号, 电话) VALUES (?, ?, NULL)"),
                                  {id, id}));
                QVERIFY(old->exec(QStringLiteral("INSERT INTO 存单详单 (存单ID, 菜名) VALUES (?, '空心菜')"),
                                  {id}));
            }
            // Order 5 deleted without its line, order 4 deleted with it.
            QVERIFY(old->exec(QStringLiteral("DELETE FROM 存单 WHERE ID IN (4, 5)")));
            QVERIFY(old->exec(QStringLiteral("DELETE FROM 存单详单 WHERE 存单ID = 4")));
        }
        const OpenedDatabase opened = openProgramDatabase(temp.home());
        QVERIFY(opened.db);
        Database& db = *opened.db;
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 存单详单 WHERE 存单ID = 5")).toInt(), 1);
        // Texts older versions left NULL read as empty texts.
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 存单 WHERE 电话 IS NULL OR 姓名 IS NULL"))
                     .toInt(),
                 0);
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 存单 WHERE 电话 = ''")).toInt(), 3);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单 (编号) VALUES (6)")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT max(ID) FROM 存单")).toInt(), 6);
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单详单 (存单ID) VALUES (6)")));
        QCOMPARE(scalar(db, QStringLiteral("SELECT max(ID) FROM 存单详单")).toInt(), 6);
    }

    // A database of this version whose order IDs were lowered by an earlier upgrade: the next order ID is
    // raised above the lines left behind, and NULL texts become empty, once.
    void newerSchemaIsRefusedAndLeftAlone() {
        TempHome temp;
        RecordStore(temp.db()).write(QStringLiteral("数据库版本"), QStringLiteral("3.10"));
        const OpenedDatabase again = openDatabase(temp.home());
        QVERIFY(!again.db);
        QVERIFY2(again.error.contains(QStringLiteral("请先把本收银机的程序更新到最新版本")),
                 qPrintable(again.error));
        QCOMPARE(RecordStore(temp.db()).read(QStringLiteral("数据库版本")), QStringLiteral("3.10"));
    }

    void tillColumnsAreAddedOnce() {
        TempHome temp;
        const QStringList columns = columnNames(temp.db(), QStringLiteral("存单"));
        QVERIFY(columns.contains(QStringLiteral("收银机")));
        QVERIFY(columns.contains(QStringLiteral("版本")));
        QVERIFY(addTillColumns(temp.db()));
        QCOMPARE(columnNames(temp.db(), QStringLiteral("存单")), columns);
    }

    void repairsOfStoredDataRunOnce() {
        TempHome temp;
        Database& db = temp.db();
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单详单 (存单ID, 菜名) VALUES (9, '空心菜')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES ('138', NULL, NULL)")));
        RecordStore(db).write(QStringLiteral("数据修订"), QStringLiteral("0"));
        const OpenedDatabase reopened = openProgramDatabase(temp.home());
        QVERIFY(reopened.db);
        QCOMPARE(scalar(*reopened.db, QStringLiteral("SELECT 姓名 || '|' || 地址 FROM 客户")).toString(),
                 QStringLiteral("|"));
        QVERIFY(reopened.db->exec(QStringLiteral("INSERT INTO 存单 (编号) VALUES (1)")));
        QCOMPARE(scalar(*reopened.db, QStringLiteral("SELECT max(ID) FROM 存单")).toInt(), 10);
    }

    void failuresLeaveFilesAlone_data() {
        QTest::addColumn<QString>("what");
        QTest::newRow("home is a plain file") << "home-file";
        QTest::newRow("database is not SQLite") << "not-sqlite";
        QTest::newRow("database is a folder") << "folder";
    }
    void failuresLeaveFilesAlone() {
        QM_SKIP_ON_SERVER();
        QFETCH(QString, what);
        QTemporaryDir dir;
        const QByteArray bytes("This is a letter, not a database.\n");
        QString kept;
        QString root = dir.path();
        if (what == QLatin1String("home-file")) {
            root = dir.filePath(QStringLiteral("home"));
            kept = root;
        } else if (what == QLatin1String("not-sqlite")) {
            QDir().mkpath(Home(root).dataDir());
            kept = Home(root).databasePath();
        } else {
            QDir().mkpath(Home(root).databasePath());
        }
        if (!kept.isEmpty())
            writeFile(kept, bytes);
        const OpenedDatabase opened = openDatabase(Home(root));
        QVERIFY(!opened.db);
        QVERIFY(!opened.error.isEmpty());
        if (!kept.isEmpty())
            QCOMPARE(readFile(kept), bytes);
    }
};

QTEST_GUILESS_MAIN(OpenDatabaseTest)
#include "tst_opendatabase.moc"
