#include "catalog/customers.h"
#include "store/customerstore.h"
#include "store/database.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QSqlQuery>
#include <QTest>

using namespace qm;

Q_DECLARE_METATYPE(qm::CustomerOutcome::Kind)

namespace {

using Kind = CustomerOutcome::Kind;

// Every customer as "电话|姓名|地址", in table order.
QStringList stored(const Database& db) {
    QStringList rows;
    for (const StoredCustomer& c : CustomerStore(db).loadAll().value_or(QList<StoredCustomer>()))
        rows << c.telephone + QLatin1Char('|') + c.name + QLatin1Char('|') + c.address;
    return rows;
}

StoredCustomer customer(const QString& row) {
    const QStringList parts = row.split(QLatin1Char('|'));
    return {parts.value(0), parts.value(1), parts.value(2)};
}

struct Shop {
    TempHome home;
    FakePlatform platform;
    CustomerActions actions{home.db(), platform};

    explicit Shop(const QStringList& rows = {}) {
        for (const QString& row : rows)
            CustomerStore(home.db()).insert(customer(row));
    }
};

const QStringList twoCustomers = {QStringLiteral("138|张三|幸福路 1 号"),
                                  QStringLiteral("139|李四|光明街 2 号")};

} // namespace

class CustomersTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsAreCheckedInOrder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("all empty") << "||" << QStringLiteral("地址不能为空，请输地址后重试。");
        QTest::newRow("no telephone") << "|张三|幸福路" << QStringLiteral("电话不能为空，请输入电话后重试。");
        QTest::newRow("blank telephone")
            << "  　|张三|幸福路" << QStringLiteral("电话不能为空，请输入电话后重试。");
        QTest::newRow("no name") << "138|　|幸福路" << QStringLiteral("姓名不能为空，请输入姓名后重试。");
        QTest::newRow("blank address") << "138|张三|  " << QStringLiteral("地址不能为空，请输地址后重试。");
        QTest::newRow("line breaks only") << "138|张三|\r\n\n"
                                          << QStringLiteral("地址不能为空，请输地址后重试。");
        QTest::newRow("complete") << "138|张三|幸福路" << QString();
    }
    void fieldsAreCheckedInOrder() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        StoredCustomer fields = customer(typed);
        QCOMPARE(customerRefusal(fields), message);

        // Both dialogs refuse the same way and store nothing.
        for (bool adding : {true, false}) {
            Shop shop;
            const CustomerOutcome outcome =
                adding ? shop.actions.add(customer(typed)) : shop.actions.saveChange(customer(typed));
            if (message.isEmpty())
                continue;
            QCOMPARE(outcome.kind, Kind::Refused);
            QCOMPARE(shop.platform.texts(), QStringList{message});
            QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Information);
            QVERIFY(stored(shop.home.db()).isEmpty());
        }
    }

    // Fields are stored trimmed and otherwise exactly as typed, apostrophes included.
    void addStoresANewTelephone() {
        Shop shop(twoCustomers);
        const CustomerOutcome outcome =
            shop.actions.add(customer(QStringLiteral(" 137'1\r\n |　O'\nNeil |路 '3' 号\r\n二楼\n ")));
        QCOMPARE(outcome.kind, Kind::Inserted);
        QCOMPARE(outcome.message, QStringLiteral("保存完成。"));
        QVERIFY(shop.platform.shown.isEmpty());
        QCOMPARE(stored(shop.home.db()).last(), QStringLiteral("137'1|O' Neil|路 '3' 号\r\n二楼"));
    }

    void addOffersToOverwriteAKnownTelephone_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("no") << false << Kind::Declined << twoCustomers;
        QTest::newRow("yes") << true << Kind::Updated
                             << QStringList{QStringLiteral("138|王五|新地址"), twoCustomers[1],
                                            QStringLiteral("138|王五|新地址")};
    }
    void addOffersToOverwriteAKnownTelephone() {
        QFETCH(bool, answer);
        QFETCH(Kind, kind);
        QFETCH(QStringList, after);
        Shop shop(twoCustomers + QStringList{QStringLiteral("138|张三丰|别处")});
        if (kind == Kind::Declined)
            after << QStringLiteral("138|张三丰|别处");
        shop.platform.yesNoAnswers.enqueue(answer);
        const CustomerOutcome outcome = shop.actions.add(customer(QStringLiteral("138|王五|新地址")));
        QCOMPARE(outcome.kind, kind);
        const FakePlatform::Shown question = shop.platform.shown.first();
        // The question names the first stored customer with the telephone.
        QCOMPARE(question.text,
                 QStringLiteral("客户电话已经存在，不能重复添加。\r\n电话：138\r\n姓名：张三\r\n"
                                "地址：幸福路 1 号\r\n是否修改该客户？\r\n\r\n修改请点 是\r\n返回请点 否"));
        QCOMPARE(question.icon, MessageIcon::Warning);
        QCOMPARE(question.caption, QStringLiteral("提示"));
        QVERIFY(question.defaultNo);
        QCOMPARE(shop.platform.shown.size(), 1);
        QCOMPARE(outcome.message, answer ? QStringLiteral("修改完成。") : QString());
        QCOMPARE(stored(shop.home.db()), after);
    }

    void changeKeepsTheTelephoneAsKey_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("known telephone")
            << QStringLiteral("139|李四四|光明街 9 号") << QList<bool>{} << Kind::Updated
            << QStringLiteral("修改完成。")
            << QStringList{twoCustomers[0], QStringLiteral("139|李四四|光明街 9 号")};
        QTest::newRow("new telephone, add")
            << QStringLiteral("137|李四|光明街 2 号") << QList<bool>{true} << Kind::Inserted
            << QStringLiteral("保存完成。")
            << twoCustomers + QStringList{QStringLiteral("137|李四|光明街 2 号")};
        QTest::newRow("new telephone, back") << QStringLiteral("137|李四|光明街 2 号") << QList<bool>{false}
                                             << Kind::Declined << QString() << twoCustomers;
    }
    void changeKeepsTheTelephoneAsKey() {
        QFETCH(QString, typed);
        QFETCH(QList<bool>, answers);
        QFETCH(Kind, kind);
        QFETCH(QString, message);
        QFETCH(QStringList, after);
        Shop shop(twoCustomers);
        for (bool answer : answers)
            shop.platform.yesNoAnswers.enqueue(answer);
        const CustomerOutcome outcome = shop.actions.saveChange(customer(typed));
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(outcome.message, message);
        QCOMPARE(shop.platform.shown.size(), answers.size());
        if (!answers.isEmpty()) {
            QCOMPARE(shop.platform.shown.first().text,
                     QStringLiteral("没有找到相关客户，是否添加该客户？\r\n\r\n添加请点 是\r\n返回请点 否"));
            QCOMPARE(shop.platform.shown.first().icon, MessageIcon::Question);
            QCOMPARE(shop.platform.shown.first().caption, QStringLiteral("提示"));
        }
        QCOMPARE(stored(shop.home.db()), after);
    }

    void deleteRemovesEveryRowOfTheTelephone() {
        Shop shop(twoCustomers + QStringList{QStringLiteral("138|张三丰|别处")});
        shop.home.db().exec(QStringLiteral("INSERT INTO 存单 (编号, 电话) VALUES (1, '138')"));

        QCOMPARE(shop.actions.remove(std::nullopt).kind, Kind::Refused);
        QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("请选择要删除的项目。")});
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Information);

        shop.platform.yesNoAnswers << false << true;
        QCOMPARE(shop.actions.remove(customer(twoCustomers[0])).kind, Kind::Declined);
        QCOMPARE(stored(shop.home.db()).size(), 3);
        const CustomerOutcome outcome = shop.actions.remove(customer(twoCustomers[0]));
        QCOMPARE(outcome.kind, Kind::Deleted);
        QCOMPARE(outcome.message, QStringLiteral("处理成功。"));
        QCOMPARE(shop.platform.shown.last().text,
                 QStringLiteral(
                     "客户电话：138\r\n客户姓名：张三\r\n客户地址：幸福路 1 号\r\n\r\n是否删除该客户？"));
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Question);
        QCOMPARE(stored(shop.home.db()), QStringList{twoCustomers[1]});
        // The customer's orders stay.
        QSqlQuery orders = shop.home.db().prepare(QStringLiteral("SELECT count(*) FROM 存单"));
        QVERIFY(orders.exec() && orders.next());
        QCOMPARE(orders.value(0).toInt(), 1);
    }

    // A statement the database refuses is told, and the action reports no success.
    void refusedStatementsAreTold() {
        QM_SKIP_ON_SERVER();
        Shop shop(twoCustomers);
        QVERIFY(shop.home.db().exec(QStringLiteral(
            "CREATE TRIGGER 只读 BEFORE INSERT ON 客户 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")));
        QVERIFY(shop.home.db().exec(QStringLiteral(
            "CREATE TRIGGER 只读2 BEFORE UPDATE ON 客户 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")));
        QVERIFY(shop.home.db().exec(QStringLiteral(
            "CREATE TRIGGER 只读3 BEFORE DELETE ON 客户 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")));
        shop.platform.yesNoAnswers << true << true;
        QCOMPARE(shop.actions.add(customer(QStringLiteral("137|王五|路"))).kind, Kind::Failed);
        QCOMPARE(shop.actions.saveChange(customer(QStringLiteral("138|王五|路"))).kind, Kind::Failed);
        QCOMPARE(shop.actions.remove(customer(twoCustomers[1])).kind, Kind::Failed);
        const QStringList texts = shop.platform.texts();
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].startsWith(QStringLiteral("保存失败：")) &&
                texts[0].contains(QStringLiteral("disk I/O")));
        QVERIFY(texts[1].startsWith(QStringLiteral("修改失败：")));
        QVERIFY(texts[3].startsWith(QStringLiteral("删除失败：")));
        QCOMPARE(stored(shop.home.db()), twoCustomers);
    }

    // A look-up that fails does not pass for "no such customer": the known telephone would be stored twice.
    void failedLookUpStoresNothing() {
        QM_SKIP_ON_SERVER();
        Shop shop(twoCustomers);
        Database& db = shop.home.db();
        // 客户 becomes a view whose telephone cannot be read, while inserts still reach the table.
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 客户 RENAME TO 客户表")));
        QVERIFY(
            db.exec(QStringLiteral("CREATE VIEW 客户 AS SELECT ID, CASE WHEN json('x') IS NULL THEN 电话 END "
                                   "AS 电话, 姓名, 地址 FROM 客户表")));
        QVERIFY(
            db.exec(QStringLiteral("CREATE TRIGGER 写入 INSTEAD OF INSERT ON 客户 BEGIN INSERT INTO 客户表 "
                                   "(电话, 姓名, 地址) VALUES (NEW.电话, NEW.姓名, NEW.地址); END")));
        QCOMPARE(shop.actions.add(customer(twoCustomers[0])).kind, Kind::Failed);
        QCOMPARE(shop.actions.saveChange(customer(twoCustomers[1])).kind, Kind::Failed);
        QCOMPARE(shop.platform.shown.size(), 2);
        QVERIFY(shop.platform.texts()[0].startsWith(QStringLiteral("保存失败：")));
        QVERIFY(shop.platform.texts()[1].startsWith(QStringLiteral("修改失败：")));
        QSqlQuery rows = db.prepare(QStringLiteral("SELECT count(*) FROM 客户表"));
        QVERIFY(rows.exec() && rows.next());
        QCOMPARE(rows.value(0).toInt(), 2);
    }

    void searchNeedsAText() {
        Shop shop;
        QCOMPARE(shop.actions.search(QString()), std::nullopt);
        QCOMPARE(shop.platform.texts(), QStringList{QStringLiteral("请输入需要查找的客户电话或姓名。")});
        QCOMPARE(shop.platform.shown.last().caption, QStringLiteral("提示"));
        QCOMPARE(shop.platform.shown.last().icon, MessageIcon::Information);
        // The text is taken as typed: blanks are part of it.
        QCOMPARE(shop.actions.search(QStringLiteral(" 张三")), QStringLiteral(" 张三"));
    }

    void searchMatchesWholeNamesAndTelephones_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("all") << QString()
                             << QStringList{"13'7|O'Neil|x", "139|李四|光明街 2 号", "138|张三|幸福路 1 号"};
        QTest::newRow("name") << QStringLiteral("张三") << QStringList{"138|张三|幸福路 1 号"};
        QTest::newRow("telephone") << QStringLiteral("139") << QStringList{"139|李四|光明街 2 号"};
        QTest::newRow("part of a name") << QStringLiteral("张") << QStringList{};
        QTest::newRow("trailing blank") << QStringLiteral("张三 ") << QStringList{};
        QTest::newRow("apostrophe") << QStringLiteral("O'Neil") << QStringList{"13'7|O'Neil|x"};
        QTest::newRow("apostrophe telephone") << QStringLiteral("13'7") << QStringList{"13'7|O'Neil|x"};
        QTest::newRow("injection") << QStringLiteral("' or '1'='1") << QStringList{};
    }
    void searchMatchesWholeNamesAndTelephones() {
        QFETCH(QString, search);
        QFETCH(QStringList, found);
        Shop shop(twoCustomers + QStringList{QStringLiteral("13'7|O'Neil|x")});
        const CustomerStore store(shop.home.db());
        QCOMPARE(store.count(search), qint64(found.size()));
        QStringList rows;
        const QList<CustomerRow> page = store.page(search, 0, 200).value();
        for (const CustomerRow& row : page)
            rows << row.customer.telephone + QLatin1Char('|') + row.customer.name + QLatin1Char('|') +
                        row.customer.address;
        QCOMPARE(rows, found);
    }

    // Page p holds the customers ranked (p-1)*200+1 .. p*200 by ID, newest first.
    void pagesRankByIdNewestFirst() {
        TempHome home;
        const CustomerStore store(home.db());
        for (int i = 1; i <= 201; ++i)
            store.insert({QString::number(1000 + i), QStringLiteral("客户"), QStringLiteral("地址")});
        const QList<CustomerRow> first = store.page(QString(), 0, 200).value();
        QCOMPARE(first.size(), 200);
        QCOMPARE(first.first().customer.telephone, QStringLiteral("1200"));
        QCOMPARE(first.last().customer.telephone, QStringLiteral("1001"));
        const QList<CustomerRow> second = store.page(QStringLiteral("客户"), 200, 200).value();
        QCOMPARE(second.size(), 1);
        QCOMPARE(second.first().customer.telephone, QStringLiteral("1201"));
    }
};

QTEST_MAIN(CustomersTest)
#include "tst_customers.moc"
